// Times the result grid on a 1,000,000-record and a 1,000-record table and
// Qt's own QTableView over a plain model of the same sizes, doing the same
// moves; counts the summary list's walks. Prints one line per figure.
#include "controls/grid/dbgridex.h"
#include "data/datasource.h"
#include "data/table.h"
#include "platform/application.h"
#include "platform/fonts.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTableView>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>
#include <memory>
#include <sqlite3.h>
#include <vector>

namespace {

void makeTable(const QString &file, int rows)
{
    sqlite3 *db = nullptr;
    sqlite3_open(file.toUtf8().constData(), &db);
    QString name = QFileInfo(file).completeBaseName();
    sqlite3_exec(db, QStringLiteral("CREATE TABLE %1 (Tel VARCHAR(5), Abon VARCHAR(150))").arg(name).toUtf8(), nullptr,
                 nullptr, nullptr);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db, QStringLiteral("INSERT INTO %1 VALUES (?, ?)").arg(name).toUtf8(), -1, &st, nullptr);
    for (int i = 1; i <= rows; ++i) {
        QByteArray tel = QByteArray::number(i % 100000), abon = "Абонент " + QByteArray::number(i);
        sqlite3_bind_text(st, 1, tel.constData(), int(tel.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 2, abon.constData(), int(abon.size()), SQLITE_TRANSIENT);
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

class PlainModel : public QAbstractTableModel {
public:
    explicit PlainModel(int rows) : rows_(rows) {}
    int rowCount(const QModelIndex &) const override { return rows_; }
    int columnCount(const QModelIndex &) const override { return 2; }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole)
            return {};
        int i = index.row() + 1;
        return index.column() == 0 ? QString::number(i % 100000) : QStringLiteral("Абонент %1").arg(i);
    }

private:
    int rows_;
};

struct GridUnderTest {
    data::Table table;
    data::DataSource source{&table};
    grid::TDBGridEx grid;
    int walks = 0;

    explicit GridUnderTest(const QString &file)
    {
        using namespace grid;
        table.setTableName(file);
        grid.resize(697, 215);
        grid.beginLoading();
        grid.setFont(platform::makeFont());
        grid.setFlat(true);
        grid.setReadOnly(true);
        grid.setOptions({dgTitles, dgIndicator, dgColLines, dgRowLines, dgTabs, dgRowSelect, dgAlwaysShowSelection,
                         dgConfirmDelete, dgCancelOnExit});
        grid.setOptionsEx({dgxFixed3D, dgxHighlightFocus, dgxClearSelection, dgxRowHighlight});
        grid.setUseMultiTitle(true);
        grid.setAutoFitColWidths(true);
        grid.setFooterRowCount(1);
        grid.sumList().setActive(true);
        grid.sumList().OnRecalcAll = [this](TDBGridExSumList &) { ++walks; };
        auto &tel = grid.columns().add();
        tel.setFieldName("Tel");
        tel.setWidth(68);
        tel.footer().setValueType(fvtStaticText);
        tel.footer().setValue("Записей");
        auto &abon = grid.columns().add();
        abon.setFieldName("Abon");
        abon.setWidth(604);
        abon.footer().setValueType(fvtCount);
        grid.setDataSource(&source);
        grid.loaded();
    }
};

// No subject may hold the focus: a focused grid also draws a focus
// rectangle, which would make the figures depend on the order of creation.
void showInactive(QWidget &w)
{
    w.setAttribute(Qt::WA_ShowWithoutActivating);
    w.setFocusPolicy(Qt::NoFocus);
    w.show();
}

void flush()
{
    QCoreApplication::sendPostedEvents();
    QApplication::processEvents();
}

void key(QWidget *w, int k, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, k, mods);
    QApplication::sendEvent(w, &press);
}

void wheelDown(QWidget *w)
{
    QPoint pos(100, 100);
    QWheelEvent event(pos, w->mapToGlobal(pos), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &event);
}

// Microseconds per run of `op` followed by painting what it invalidated.
double timePerOp(int runs, const std::function<void(int)> &op)
{
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < runs; ++i) {
        op(i);
        flush();
    }
    return timer.nsecsElapsed() / 1000.0 / runs;
}

// One widget doing the four moves. A full paint covers the cells, each
// widget's own drawing, and leaves out the scroll bar both take from Qt.
struct Subject {
    std::function<void(int)> paint;
    std::function<void(int)> moves[3]; // page down, one step, end / home
};

enum { Paint, PageDown, Step, End, Operations };
const char *const operationNames[Operations] = {"paint", "page down", "one step", "end/home"};

// Best of several rounds, the subjects interleaved so that load from other
// processes on the machine touches all of them alike.
std::vector<std::array<double, Operations>> measure(const std::vector<Subject> &subjects)
{
    std::vector<std::array<double, Operations>> best(subjects.size());
    for (auto &b : best)
        b.fill(1e18);
    for (int round = 0; round < 7; ++round)
        for (size_t s = 0; s < subjects.size(); ++s) {
            const Subject &subject = subjects[s];
            best[s][Paint] = std::min(best[s][Paint], timePerOp(60, subject.paint));
            for (int op = 0; op < 3; ++op)
                best[s][op + 1] = std::min(best[s][op + 1], timePerOp(60, subject.moves[op]));
        }
    return best;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    platform::setUpApplication(app);

    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    std::printf("making tables...\n");
    makeTable("large.db", 1000000);
    makeTable("small.db", 1000);

    const int sizes[2] = {1000000, 1000};
    const char *files[2] = {"large.db", "small.db"};
    std::unique_ptr<GridUnderTest> grids[2];
    std::unique_ptr<PlainModel> models[2];
    std::unique_ptr<QTableView> views[2];
    std::vector<Subject> subjects;
    for (int n = 0; n < 2; ++n) {
        grids[n] = std::make_unique<GridUnderTest>(files[n]);
        GridUnderTest &g = *grids[n];
        showInactive(g.grid);
        QElapsedTimer openTimer;
        openTimer.start();
        g.table.open();
        flush();
        std::printf("%7d records: open %lld ms; summary walks: first open %d", sizes[n], openTimer.elapsed(), g.walks);
        g.walks = 0;
        g.table.close();
        g.table.open();
        std::printf(", reopen %d", g.walks);
        g.walks = 0;
        g.table.append();
        g.table.fieldByName("Tel").setAsString("1");
        g.table.post();
        g.table.edit();
        g.table.fieldByName("Abon").setAsString("x");
        g.table.post();
        g.table.deleteRecord();
        std::printf(", insert+edit+delete %d\n", g.walks);
        flush();
        grid::TDBGridEx *w = &g.grid;
        subjects.push_back({[w](int) { w->invalidateGrid(); },
                            {[w](int i) { key(w, i % 50 == 49 ? Qt::Key_Home : Qt::Key_PageDown); },
                             [w](int) { wheelDown(w); }, [w](int i) { key(w, i % 2 ? Qt::Key_Home : Qt::Key_End); }}});

        models[n] = std::make_unique<PlainModel>(sizes[n]);
        views[n] = std::make_unique<QTableView>();
        QTableView &view = *views[n];
        view.setModel(models[n].get());
        view.resize(697, 215);
        view.setSelectionBehavior(QAbstractItemView::SelectRows);
        view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        view.verticalHeader()->setDefaultSectionSize(16);
        view.horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        showInactive(view);
        view.setCurrentIndex(models[n]->index(0, 0));
        flush();
        QTableView *v = &view;
        subjects.push_back({[v](int) { v->viewport()->update(); },
                            {[v](int i) {
                                 bool back = i % 50 == 49;
                                 key(v, back ? Qt::Key_Home : Qt::Key_PageDown,
                                     back ? Qt::ControlModifier : Qt::NoModifier);
                             },
                             [v](int) { key(v, Qt::Key_Down); },
                             [v](int i) { key(v, i % 2 ? Qt::Key_Home : Qt::Key_End, Qt::ControlModifier); }}});
    }

    auto best = measure(subjects); // grid 1M, view 1M, grid 1k, view 1k
    std::printf("microseconds per operation, its paint included (best of 7 rounds of 60)\n");
    for (int op = 0; op < Operations; ++op) {
        double g1m = best[0][op], v1m = best[1][op], g1k = best[2][op], v1k = best[3][op];
        std::printf("%-10s grid 1M %7.1f  grid 1k %7.1f  1M/1k %.2f | QTableView 1M %7.1f  1k %7.1f | "
                    "grid/view 1M %.2f  1k %.2f\n",
                    operationNames[op], g1m, g1k, g1m / g1k, v1m, v1k, g1m / v1m, g1k / v1k);
    }
    return 0;
}
