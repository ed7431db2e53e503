#include "controls/flat/buttonlayout.h"

#include <gtest/gtest.h>

using namespace flat;
using platform::Rect;

namespace {

// The content rectangle of an 89 x 22 caption button and of a 41 x 41
// picture button: 3 pixels inside the button.
const Rect kCaptionButton{3, 3, 86, 19};
const Rect kPictureButton{3, 3, 38, 38};

} // namespace

TEST(ButtonLayout, CaptionAloneIsCentred)
{
    const auto place = layoutButtonContent({.client = kCaptionButton, .caption = {40, 13}});
    EXPECT_EQ(place.captionRect, (Rect{25, 5, 65, 18}));
}

TEST(ButtonLayout, PictureButtonGlyphStandsAtFiveAndMovesWhenPressed)
{
    const auto idle = layoutButtonContent({.client = kPictureButton, .glyph = {32, 32}});
    EXPECT_EQ(idle.glyphPos, QPoint(5, 5));
    const auto pressed = layoutButtonContent({.client = kPictureButton, .glyph = {32, 32}, .offset = {1, 1}});
    EXPECT_EQ(pressed.glyphPos, QPoint(6, 6));
    // The edit button's 28 x 33 picture.
    const auto edit = layoutButtonContent({.client = kPictureButton, .glyph = {28, 33}});
    EXPECT_EQ(edit.glyphPos, QPoint(7, 4));
}

TEST(ButtonLayout, GlyphAndCaptionSideBySide)
{
    const Rect client{0, 0, 100, 20};
    const auto left = layoutButtonContent({.client = client, .glyph = {16, 16}, .caption = {30, 13}});
    // margin = (100 - (16 + 4 + 30) + 1) / 2 = 25
    EXPECT_EQ(left.glyphPos, QPoint(25, 2));
    EXPECT_EQ(left.captionRect, (Rect{45, 4, 75, 17}));

    const auto right = layoutButtonContent(
        {.client = client, .glyph = {16, 16}, .caption = {30, 13}, .layout = blGlyphRight, .margin = 5});
    EXPECT_EQ(right.glyphPos, QPoint(79, 2));
    EXPECT_EQ(right.captionRect.left, 45);
}

TEST(ButtonLayout, SpreadMarginAndSpacing)
{
    const auto spread =
        layoutButtonContent({.client = {0, 0, 100, 20}, .glyph = {16, 16}, .caption = {30, 13}, .spacing = -1});
    // (100 - 16 - 30) / 3 = 18 for both margin and spacing.
    EXPECT_EQ(spread.glyphPos.x(), 18);
    EXPECT_EQ(spread.captionRect.left, 18 + 16 + 18);

    const auto fixedMargin = layoutButtonContent(
        {.client = {0, 0, 100, 20}, .glyph = {16, 16}, .caption = {30, 13}, .margin = 10, .spacing = -1});
    // ((100 - 10 - 16) - 30) / 2 = 22
    EXPECT_EQ(fixedMargin.captionRect.left, 10 + 16 + 22);
}

TEST(ButtonLayout, VerticalLayoutsCentreAcross)
{
    const Rect client{0, 0, 60, 60};
    const auto top =
        layoutButtonContent({.client = client, .glyph = {16, 16}, .caption = {30, 13}, .layout = blGlyphTop});
    // margin = (60 - (16 + 4 + 13) + 1) / 2 = 14
    EXPECT_EQ(top.glyphPos, QPoint(22, 14));
    EXPECT_EQ(top.captionRect, (Rect{15, 34, 45, 47}));

    const auto bottom =
        layoutButtonContent({.client = client, .glyph = {16, 16}, .caption = {30, 13}, .layout = blGlyphBottom});
    EXPECT_EQ(bottom.glyphPos.y(), 60 - 14 - 16);
    EXPECT_EQ(bottom.captionRect.top, 60 - 14 - 16 - 4 - 13);
}

TEST(ButtonLayout, RightToLeftSwapsSides)
{
    const auto place =
        layoutButtonContent({.client = {0, 0, 100, 20}, .glyph = {16, 16}, .caption = {30, 13}, .rightToLeft = true});
    EXPECT_GT(place.glyphPos.x(), place.captionRect.left);
}
