#include "controls/flat/flatframe.h"
#include "controls/flat/flatpanel.h"
#include "platform/colors.h"

#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

namespace colors = platform::colors;

namespace {

QColor pixel(QWidget &w, int x, int y)
{
    return w.grab().toImage().pixelColor(x, y);
}

// The about window's picture frame: a 169 x 297 panel with a picture filling
// it inside its 2-pixel border.
struct PanelHost : ::testing::Test {
    QWidget window;
    TFlatPanel *panel = new TFlatPanel(&window);
    QLabel *picture = new QLabel(panel);

    void SetUp() override
    {
        window.resize(300, 320);
        panel->setGeometry(8, 8, 169, 297);
        panel->setActivate(false);
        picture->setGeometry(2, 2, 165, 293);
        picture->setAutoFillBackground(true);
        QPalette pal = picture->palette();
        pal.setColor(QPalette::Window, Qt::blue);
        picture->setPalette(pal);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        QTest::mouseMove(&window, {250, 5});
    }
};

} // namespace

TEST(FlatPanel, NewPanelDefaults)
{
    TFlatPanel panel;
    EXPECT_EQ(panel.contentsMargins(), QMargins(2, 2, 2, 2));
    EXPECT_EQ(panel.borderColor(), colors::clBtnShadow);
    panel.setVersion(QStringLiteral("9"));
    EXPECT_EQ(panel.version(), QStringLiteral("1.26"));
}

TEST_F(PanelHost, AboutPanelShowsThinBorderAndOneBackgroundPixelEvenUnderThePointer)
{
    for (bool over : {false, true}) {
        if (over)
            QTest::mouseMove(panel, {1, 100});
        EXPECT_EQ(pixel(*panel, 0, 0), colors::clBtnShadow) << over;
        EXPECT_EQ(pixel(*panel, 168, 296), colors::clBtnShadow) << over;
        EXPECT_EQ(pixel(*panel, 1, 1), colors::clBtnFace) << over;
        EXPECT_EQ(pixel(*panel, 2, 2), QColor(Qt::blue)) << over;
    }
}

TEST_F(PanelHost, ActivePanelShowsThinSunkenEdgeUnderThePointer)
{
    panel->setActivate(true);
    QTest::mouseMove(panel, {1, 100});
    ASSERT_TRUE(panel->isHovered());
    EXPECT_EQ(pixel(*panel, 0, 0), colors::clBtnShadow);
    EXPECT_EQ(pixel(*panel, 168, 296), colors::clBtnHighlight);
    QTest::mouseMove(&window, {250, 5});
    EXPECT_FALSE(panel->isHovered());
    EXPECT_EQ(pixel(*panel, 168, 296), colors::clBtnShadow);
}

TEST_F(PanelHost, NoBorderWithoutShowBorder)
{
    panel->setShowBorder(false);
    EXPECT_EQ(pixel(*panel, 0, 0), colors::clBtnFace);
    EXPECT_EQ(pixel(*panel, 168, 296), colors::clBtnFace);
    panel->setFlat(false);
    panel->setColor(colors::clWhite);
    EXPECT_EQ(pixel(*panel, 0, 0), colors::clWhite);
}

// Qt sends the panel no leave when the pointer moves onto a child; the
// panel is lit only while the pointer is over its own area.
TEST_F(PanelHost, PointerOnAChildIsNotOverThePanel)
{
    panel->setActivate(true);
    QTest::mouseMove(panel, {1, 100});
    ASSERT_TRUE(panel->isHovered());
    QTest::mouseMove(panel, {80, 100}); // on the picture
    EXPECT_FALSE(panel->isHovered());
    EXPECT_EQ(pixel(*panel, 168, 296), colors::clBtnShadow) << "the thin border, not the sunken edge";
    QTest::mouseMove(panel, {1, 100});
    EXPECT_TRUE(panel->isHovered());
}
