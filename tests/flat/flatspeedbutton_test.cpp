#include "controls/flat/flatframe.h"
#include "controls/flat/flatspeedbutton.h"
#include "platform/colors.h"
#include "platform/fonts.h"

#include <QTest>
#include <gtest/gtest.h>

namespace colors = platform::colors;

namespace {

QColor pixel(QWidget &w, int x, int y)
{
    return w.grab().toImage().pixelColor(x, y);
}

// A window with one 89 x 22 caption button, as the search windows have.
struct ButtonHost : ::testing::Test {
    QWidget window;
    TFlatSpeedButton *button = new TFlatSpeedButton(&window);
    int clicks = 0;

    void SetUp() override
    {
        window.resize(200, 100);
        button->setGeometry(50, 40, 89, 22);
        button->setCaption(QStringLiteral("Поиск"));
        button->setFont(platform::boldFont());
        button->OnClick = [this](TFlatSpeedButton &) { ++clicks; };
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        QTest::mouseMove(&window, {5, 5});
    }
    void hover() { QTest::mouseMove(button, {40, 10}); }
    void unhover() { QTest::mouseMove(&window, {5, 5}); }
};

QImage pictureStrip()
{
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(QColor(0, 255, 0));
    for (int i = 4; i < 28; ++i)
        image.setPixelColor(i, 16, Qt::black);
    return image;
}

} // namespace

TEST(FlatSpeedButton, NewButtonDefaults)
{
    TFlatSpeedButton button;
    EXPECT_EQ(button.size(), QSize(23, 22));
    EXPECT_EQ(button.focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(button.borderColor(), colors::clBtnShadow);
    EXPECT_TRUE(button.isFlat());
    EXPECT_TRUE(button.showBorder());
    EXPECT_TRUE(button.activate());
    EXPECT_EQ(button.margin(), -1);
    EXPECT_EQ(button.spacing(), 4);
}

TEST(FlatSpeedButton, SettersRefuseOutOfRangeValues)
{
    TFlatSpeedButton button;
    button.setVersion(QStringLiteral("2.0"));
    EXPECT_EQ(button.version(), QStringLiteral("1.26"));
    button.setMargin(-2);
    EXPECT_EQ(button.margin(), -1);
    button.setMargin(3);
    EXPECT_EQ(button.margin(), 3);
    button.setNumGlyphs(5);
    EXPECT_EQ(button.numGlyphs(), 1);
    button.setNumGlyphs(4);
    EXPECT_EQ(button.numGlyphs(), 4);
}

TEST(FlatSpeedButton, DownLatchesOnlyInAGroup)
{
    TFlatSpeedButton button;
    button.setDown(true);
    EXPECT_FALSE(button.isDown());
    button.setGroupIndex(1);
    button.setDown(true);
    EXPECT_TRUE(button.isDown());
    EXPECT_EQ(button.state(), flat::bsExclusive);
    button.setDown(false); // latched buttons stay down unless all may be up
    EXPECT_TRUE(button.isDown());
    button.setAllowAllUp(true);
    button.setDown(false);
    EXPECT_FALSE(button.isDown());
    EXPECT_EQ(button.state(), flat::bsUp);
}

TEST_F(ButtonHost, ClickFiresOnceOnReleaseInside)
{
    QTest::mousePress(button, Qt::LeftButton, {}, {40, 10});
    EXPECT_EQ(button->state(), flat::bsDown);
    EXPECT_EQ(clicks, 0);
    QTest::mouseRelease(button, Qt::LeftButton, {}, {40, 10});
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(button->state(), flat::bsUp);
}

TEST_F(ButtonHost, DraggingOffLiftsAndReleasingOutsideDoesNotClick)
{
    QTest::mousePress(button, Qt::LeftButton, {}, {40, 10});
    QTest::mouseMove(button, {40, 40});
    EXPECT_EQ(button->state(), flat::bsUp);
    QTest::mouseRelease(button, Qt::LeftButton, {}, {40, 40});
    EXPECT_EQ(clicks, 0);

    // Dragging back before releasing clicks; the bottom edge row is inside.
    QTest::mousePress(button, Qt::LeftButton, {}, {40, 10});
    QTest::mouseMove(button, {40, 40});
    QTest::mouseMove(button, {40, 22});
    EXPECT_EQ(button->state(), flat::bsDown);
    QTest::mouseRelease(button, Qt::LeftButton, {}, {40, 22});
    EXPECT_EQ(clicks, 1);
}

TEST_F(ButtonHost, DisabledButtonClicksByCodeOnly)
{
    button->setEnabled(false);
    QTest::mouseClick(button, Qt::LeftButton, {}, {40, 10});
    EXPECT_EQ(clicks, 0);
    button->Click();
    EXPECT_EQ(clicks, 1);
}

TEST_F(ButtonHost, IdleBorderFollowsShowBorderAndBorderColor)
{
    EXPECT_EQ(pixel(*button, 0, 0), colors::clBtnShadow);
    EXPECT_EQ(pixel(*button, 88, 21), colors::clBtnShadow);
    EXPECT_EQ(pixel(*button, 1, 1), colors::clBtnFace); // nothing else around the caption

    button->setBorderColor(colors::clRed);
    EXPECT_EQ(pixel(*button, 0, 0), colors::clRed);
    button->setShowBorder(false);
    EXPECT_EQ(pixel(*button, 0, 0), colors::clBtnFace);
}

TEST_F(ButtonHost, HoverFrameAppearsAndGoes)
{
    hover();
    ASSERT_TRUE(button->isHovered());
    EXPECT_EQ(pixel(*button, 0, 0), colors::clWindowFrame);
    EXPECT_EQ(pixel(*button, 88, 21), colors::clWindowFrame);
    EXPECT_EQ(pixel(*button, 2, 2), colors::clBtnHighlight); // raised edge inside
    EXPECT_EQ(pixel(*button, 87, 20), colors::cl3DDkShadow);
    EXPECT_EQ(pixel(*button, 86, 19), colors::clBtnShadow);

    unhover();
    EXPECT_FALSE(button->isHovered());
    EXPECT_EQ(pixel(*button, 0, 0), colors::clBtnShadow);
    EXPECT_EQ(pixel(*button, 2, 2), colors::clBtnFace);
}

TEST_F(ButtonHost, NoHoverFrameWithoutActivate)
{
    button->setActivate(false);
    hover();
    EXPECT_TRUE(button->isHovered());
    EXPECT_EQ(pixel(*button, 0, 0), colors::clBtnShadow);
}

TEST_F(ButtonHost, PressedLookIsSunken)
{
    hover();
    QTest::mousePress(button, Qt::LeftButton, {}, {40, 10});
    EXPECT_EQ(pixel(*button, 0, 0), colors::clBtnShadow);
    EXPECT_EQ(pixel(*button, 1, 1), colors::cl3DDkShadow);
    EXPECT_EQ(pixel(*button, 88, 21), colors::clBtnHighlight);
    QTest::mouseRelease(button, Qt::LeftButton, {}, {40, 10});
}

TEST_F(ButtonHost, ButtonDisabledByItsOwnClickKeepsTheHoverFrame)
{
    button->OnClick = [](TFlatSpeedButton &sender) { sender.setEnabled(false); };
    hover();
    QTest::mouseClick(button, Qt::LeftButton, {}, {40, 10});
    EXPECT_FALSE(button->isEnabled());
    EXPECT_TRUE(button->isHovered());
    EXPECT_EQ(pixel(*button, 0, 0), colors::clWindowFrame);
    unhover();
    EXPECT_FALSE(button->isHovered());
    EXPECT_EQ(pixel(*button, 0, 0), colors::clBtnShadow);
}

TEST_F(ButtonHost, DisabledCaptionIsEmbossed)
{
    const auto place = button->contentLayout().captionRect;
    button->setEnabled(false);
    const QImage image = button->grab().toImage();
    bool shadow = false, highlight = false, black = false;
    for (int y = place.top; y < place.bottom + 1; ++y)
        for (int x = place.left; x < place.right + 1; ++x) {
            const QColor c = image.pixelColor(x, y);
            shadow |= c == colors::clBtnShadow;
            highlight |= c == colors::clBtnHighlight;
            black |= c == QColor(Qt::black);
        }
    EXPECT_TRUE(shadow);
    EXPECT_TRUE(highlight);
    EXPECT_FALSE(black);
}

TEST_F(ButtonHost, PictureButtonGlyphAndDisabledSilhouette)
{
    button->setGeometry(8, 8, 41, 41);
    button->setCaption({});
    button->setGlyph(pictureStrip());
    EXPECT_EQ(button->contentLayout().glyphPos, QPoint(5, 5));
    EXPECT_EQ(pixel(*button, 5 + 10, 5 + 16), QColor(Qt::black));
    EXPECT_EQ(pixel(*button, 5 + 10, 5 + 10), colors::clBtnFace); // transparent green shows the face

    button->setEnabled(false);
    EXPECT_EQ(pixel(*button, 5 + 10, 5 + 16), colors::clBtnShadow);
    EXPECT_EQ(pixel(*button, 5 + 10, 5 + 17), colors::clBtnHighlight);
    EXPECT_EQ(pixel(*button, 0, 0), colors::clBtnShadow);
}

TEST_F(ButtonHost, ClassicLookWhenNotFlat)
{
    button->setFlat(false);
    EXPECT_EQ(pixel(*button, 0, 0), colors::clBtnHighlight);
    EXPECT_EQ(pixel(*button, 88, 21), colors::clWindowFrame);
    EXPECT_EQ(pixel(*button, 87, 20), colors::clBtnShadow);
    EXPECT_EQ(pixel(*button, 1, 1), colors::clBtnFace);
    // The standard border kind of a flat button looks the same while idle.
    button->setFlat(true);
    button->setBorderStyle(TFlatSpeedButton::bbStandard);
    EXPECT_EQ(pixel(*button, 0, 0), colors::clBtnHighlight);
    EXPECT_EQ(pixel(*button, 87, 20), colors::clBtnShadow);

    button->setFlat(false);
    QTest::mousePress(button, Qt::LeftButton, {}, {40, 10});
    EXPECT_EQ(pixel(*button, 0, 0), colors::clBtnShadow);
    EXPECT_EQ(pixel(*button, 1, 1), colors::cl3DDkShadow);
    QTest::mouseRelease(button, Qt::LeftButton, {}, {40, 10});
}

TEST_F(ButtonHost, LatchedButtonShowsACheckeredFace)
{
    button->setGroupIndex(1);
    button->setDown(true);
    const QColor a = pixel(*button, 4, 4);
    const QColor b = pixel(*button, 5, 4);
    EXPECT_NE(a, b);
    EXPECT_TRUE(a == colors::clBtnFace || a == colors::clBtnHighlight);
    EXPECT_TRUE(b == colors::clBtnFace || b == colors::clBtnHighlight);
    EXPECT_EQ(pixel(*button, 4, 5), b);
    // A click leaves it latched.
    QTest::mouseClick(button, Qt::LeftButton, {}, {40, 10});
    EXPECT_EQ(button->state(), flat::bsExclusive);
    EXPECT_EQ(clicks, 1);
}

// The button calls a copy of its handler, so a handler that replaces
// itself can still read its own captured data.
TEST_F(ButtonHost, AClickHandlerMayReplaceItself)
{
    QStringList seen;
    button->OnClick = [this, &seen, name = QStringLiteral("первый обработчик")](TFlatSpeedButton &) {
        button->OnClick = [&seen](TFlatSpeedButton &) { seen << QStringLiteral("второй"); };
        seen << name;
    };
    button->Click();
    QTest::mouseClick(button, Qt::LeftButton, {}, {40, 10});
    EXPECT_EQ(seen, (QStringList{QStringLiteral("первый обработчик"), QStringLiteral("второй")}));
}
