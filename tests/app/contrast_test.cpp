#include "appfixture.h"

#include "app/form1.h"
#include "archive/passworddlg.h"
#include "controls/combo/dbcomboboxex.h"
#include "controls/combo/popuplistbox.h"
#include "controls/grid/dbgridex.h"
#include "controls/sidebar/sidebar.h"
#include "platform/colors.h"
#include "support/desktopscheme.h"
#include "windows/aboutform.h"
#include "windows/addredform.h"
#include "windows/clickablelabel.h"
#include "windows/firstform.h"
#include "windows/forms.h"
#include "windows/knigaform.h"
#include "windows/kodform.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPaintEngine>
#include <QTest>
#include <map>
#include <sqlite3.h>

namespace colors = platform::colors;

namespace {

struct DrawnText {
    QString text;
    QColor color;
    QRect box; // in the painted window's coordinates
    const QWidget *painter;
};

// A paint device that keeps every text drawn on it, with the colour the
// painting code gave it, and draws nothing else. The windows draw no text
// through an off-screen picture, so it sees all of them.
class TextRecorder : public QPaintDevice {
public:
    explicit TextRecorder(QSize size) : size_(size) {}
    QPaintEngine *paintEngine() const override { return &engine_; }
    const std::vector<DrawnText> &texts() const { return engine_.texts; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth: return size_.width();
        case PdmHeight: return size_.height();
        case PdmWidthMM: return size_.width() * 254 / 960;
        case PdmHeightMM: return size_.height() * 254 / 960;
        case PdmNumColors: return INT_MAX;
        case PdmDepth: return 32;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
        default: return 96; // the resolutions
        }
    }

private:
    struct Engine : QPaintEngine {
        Engine() : QPaintEngine(AllFeatures) {}
        bool begin(QPaintDevice *) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState &) override {}
        Type type() const override { return User; }
        void drawPath(const QPainterPath &) override {}
        void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
        void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
        void drawImage(const QRectF &, const QImage &, const QRectF &, Qt::ImageConversionFlags) override {}
        void drawTiledPixmap(const QRectF &, const QPixmap &, const QPointF &) override {}
        void drawTextItem(const QPointF &p, const QTextItem &item) override
        {
            const QRectF box(p.x(), p.y() - item.ascent(), item.width(), item.ascent() + item.descent());
            texts.push_back({item.text(), state->pen().color(), state->transform().mapRect(box).toAlignedRect(),
                             dynamic_cast<const QWidget *>(painter()->device())});
        }
        std::vector<DrawnText> texts;
    };
    QSize size_;
    mutable Engine engine_;
};

// What a text is drawn on: the colour most of the pixels under it have.
QColor background(const QImage &picture, const QRect &box)
{
    std::map<QRgb, int> counts;
    const QRect inside = box & picture.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            ++counts[picture.pixel(x, y)];
    const auto most = std::max_element(counts.begin(), counts.end(),
                                       [](const auto &a, const auto &b) { return a.second < b.second; });
    return most == counts.end() ? QColor() : QColor(most->first);
}

// Whether some pixel under the text has its colour (within what smoothing
// leaves of thin strokes): the text recorded is the text on screen.
bool showsIn(const QImage &picture, const QRect &box, const QColor &color)
{
    const QRect inside = box & picture.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QColor pixel = picture.pixelColor(x, y);
            if (std::max({std::abs(pixel.red() - color.red()), std::abs(pixel.green() - color.green()),
                          std::abs(pixel.blue() - color.blue())}) <= 16)
                return true;
        }
    return false;
}

// A fixed text colour a control is given: its texts may have any contrast.
struct FixedTextColour {
    const QWidget *control;
    QColor color;
};

bool isFixed(const DrawnText &text, const std::vector<FixedTextColour> &fixed)
{
    return std::any_of(fixed.begin(), fixed.end(), [&](const FixedTextColour &f) {
        return text.color == f.color && (text.painter == f.control || f.control->isAncestorOf(text.painter));
    });
}

// Every text the window draws, checked against what it is drawn on. Texts
// of disabled controls are exempt, as accessibility guidelines exempt them.
void expectReadable(QWidget &window, const std::vector<FixedTextColour> &fixed, const char *scheme)
{
    QImage picture(window.size(), QImage::Format_RGB32);
    window.render(&picture);
    TextRecorder recorder(window.size());
    window.render(&recorder);
    int checked = 0;
    for (const DrawnText &text : recorder.texts()) {
        if (text.text.trimmed().isEmpty() || !(text.box & picture.rect()).isValid() ||
            (text.painter && !text.painter->isEnabled()) || isFixed(text, fixed))
            continue;
        ++checked;
        const QColor behind = background(picture, text.box);
        EXPECT_GE(colors::contrast(text.color, behind), 4.5)
            << scheme << ", " << window.windowTitle().toStdString() << ": \"" << text.text.toStdString() << "\" in "
            << text.color.name().toStdString() << " on " << behind.name().toStdString() << " at (" << text.box.x()
            << ", " << text.box.y() << ")";
        EXPECT_TRUE(showsIn(picture, text.box, text.color)) << text.text.toStdString();
    }
    EXPECT_GT(checked, 0) << window.windowTitle().toStdString();
}

void addPhoneBookRecords(const QString &file)
{
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(file).constData(), &db);
    sqlite3_exec(db,
                 "INSERT INTO basamy VALUES ('Иванов Иван', 'ул. Садовая, 3', '22-33-44', 'ivanov@example.org'),"
                 "('Петрова Анна', 'ул. Лесная, 10', '55-66-77', '')",
                 nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

// The pointer over the side menu's first item, which lights it up.
void hoverFirstMenuItem(TSideBar &bar)
{
    for (int y = 0; y < bar.height(); ++y)
        if (bar.itemAt({bar.width() / 2, y})) {
            QTest::mouseMove(&bar, {bar.width() / 2, y + 4});
            return;
        }
}

} // namespace

// Under a dark and a high-contrast desktop scheme every text each window of
// the program draws, in each of its states, keeps a contrast of at least
// 4.5:1 with what it is drawn on.
TEST_F(AppFixture, EveryDrawnTextStaysReadableUnderDarkAndHighContrastSchemes)
{
    start();
    addPhoneBookRecords(path(QStringLiteral("basamy.db")));
    main().Edit1->setText(QStringLiteral("123"));
    main().FlatSpeedButton1Click(); // rows, the current row and footers
    FirstForm->FormActivate();
    FirstForm->ListBox1->setCurrentRow(0);
    FirstForm->ListBox1Click();
    KnigaForm->FormActivate();
    KodForm->FormActivate();
    KodForm->DBComboBoxEx1->setItemIndex(0);
    KodForm->FlatSpeedButton1Click();
    KodForm->Edit1->setText(QStringLiteral("М"));
    KodForm->FlatSpeedButton2Click();
    settle();

    // The texts whose colours the windows fix whatever the scheme: the main
    // window's heading and footers, the side menu's item captions, the
    // emergency numbers' prompt and values, the dialing examples, the about
    // window's links.
    const std::vector<FixedTextColour> fixed = {
        {main().Label6, colors::clRed},      {main().DBGridEx1, colors::clRed},   {main().DBGridEx2, colors::clRed},
        {main().SideBar, colors::clBlack},   {FirstForm->Label7, colors::clRed},  {FirstForm->Label2, colors::clRed},
        {FirstForm->Label4, colors::clTeal}, {FirstForm->Label6, colors::clTeal}, {KodForm->Label7, colors::clRed},
        {KodForm->Label8, colors::clRed},    {AboutForm->Label4, colors::clRed},  {AboutForm->Label2, colors::clRed},
    };
    using Check = std::function<void(QWidget &)>;
    const std::function<void(const Check &)> scenes[] = {
        [&](const Check &check) {
            main().activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&main()));
            main().DBGridEx1->setFocus();
            check(main());
            main().Edit1->setFocus();
            hoverFirstMenuItem(*main().SideBar);
            check(main());
        },
        [&](const Check &check) { check(*FirstForm); },
        [&](const Check &check) { check(*KnigaForm); },
        [&](const Check &check) { check(*AddRedForm); },
        [&](const Check &check) {
            check(*KodForm);
            KodForm->DBComboBoxEx1->OpenList();
            check(*KodForm->DBComboBoxEx1->findChild<TPopupListboxEx *>());
            KodForm->DBComboBoxEx1->CloseList(false);
        },
        [&](const Check &check) { check(*AboutForm); },
        [&](const Check &check) {
            TPasswordDlg dialog(TPasswordDlg::pbOk | TPasswordDlg::pbCancel | TPasswordDlg::pbCancelAll |
                                    TPasswordDlg::pbAbort,
                                QStringLiteral("Пароль"), QStringLiteral("Введите пароль архива"),
                                {QStringLiteral("ОК"), QStringLiteral("Отмена"), QStringLiteral("Отменить все"),
                                 QStringLiteral("Прервать")});
            dialog.show();
            check(dialog);
        },
        [&](const Check &check) {
            answer = [&](const platform::ShownMessage &) {
                for (QWidget *box : QApplication::topLevelWidgets())
                    if (qobject_cast<QMessageBox *>(box)) {
                        box->show();
                        check(*box);
                    }
                return platform::idOk;
            };
            platform::showPlainMessage(QStringLiteral("Архив повреждён"));
        },
    };
    for (const auto &[name, palette] :
         {std::pair("dark", darkScheme()), std::pair("high contrast", highContrastScheme())}) {
        DesktopScheme scheme(palette);
        settle();
        for (const auto &scene : scenes)
            scene([&](QWidget &window) {
                settle();
                expectReadable(window, fixed, name);
            });
    }
}
