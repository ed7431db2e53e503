#include "appfixture.h"

#include "app/form1.h"
#include "controls/flat/flatspeedbutton.h"

#include <QAccessibleInterface>
#include <QApplication>
#include <QLabel>
#include <QPixmap>
#include <QRegion>
#include <QScrollBar>
#include <algorithm>

// The program on a scaled desktop. The factor comes from the test's
// SPRAV_TEST_SCALE_FACTOR (2 and 1.5), set by ctest.

namespace {

// Where text is drawn: every named part that shows its name, as a screen
// reader finds it, in the window's logical coordinates.
void addTextAreas(QAccessibleInterface *node, QPoint origin, QRegion &areas)
{
    static const QAccessible::Role textRoles[] = {
        QAccessible::StaticText, QAccessible::Button,       QAccessible::ColumnHeader, QAccessible::Cell,
        QAccessible::Footer,     QAccessible::EditableText, QAccessible::Heading};
    if (std::find(std::begin(textRoles), std::end(textRoles), node->role()) != std::end(textRoles))
        areas += node->rect().translated(-origin);
    for (int i = 0; i < node->childCount(); ++i)
        addTextAreas(node->child(i), origin, areas);
}

int channelDistance(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

} // namespace

TEST_F(AppFixture, AtFactorTwoTheMainWindowIsItsPictureAtTwiceTheSize)
{
    if (qApp->devicePixelRatio() != 2)
        GTEST_SKIP() << "runs at factor 2";
    start();
    main().FlatSpeedButton1->Click(); // rows, highlight and footer in the grids
    const QImage twice = main().grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(twice.size(), QSize(1622, 1002));
    QImage once(main().size(), QImage::Format_RGB32);
    main().render(&once);
    const QImage expected = once.scaled(twice.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);

    QRegion text;
    addTextAreas(QAccessible::queryAccessibleInterface(&main()), main().mapToGlobal(QPoint(0, 0)), text);
    // So are the scroll bars: the style draws their gradients for each size.
    for (QScrollBar *bar : main().findChildren<QScrollBar *>())
        if (bar->isVisible())
            text += QRect(bar->mapTo(&main(), QPoint(0, 0)), bar->size());
    int compared = 0, differing = 0;
    for (int y = 0; y < twice.height(); ++y)
        for (int x = 0; x < twice.width(); ++x) {
            if (text.contains(QPoint(x / 2, y / 2)))
                continue;
            ++compared;
            differing += channelDistance(twice.pixel(x, y), expected.pixel(x, y)) > 32;
        }
    EXPECT_GT(compared, twice.width() * twice.height() / 4);
    EXPECT_LE(differing, compared / 1000) << differing << " of " << compared << " pixels differ";
}

TEST_F(AppFixture, EveryLabelsTextFitsItsBox)
{
    start();
    for (QWidget *window : QApplication::topLevelWidgets())
        for (QLabel *label : window->findChildren<QLabel *>()) {
            if (label->text().isEmpty() || label->wordWrap())
                continue;
            const qreal needed = QFontMetricsF(label->font()).horizontalAdvance(label->text());
            EXPECT_LE(needed, label->contentsRect().width()) << label->text().toStdString();
        }
}
