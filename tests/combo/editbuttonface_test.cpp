#include "controls/combo/editbuttonface.h"
#include "platform/colors.h"

#include <gtest/gtest.h>

using namespace combo;
namespace colors = platform::colors;

TEST(ButtonFaceCache, PaintsEachLookOnce)
{
    auto &cache = ButtonFaceCache::instance();
    cache.clear();
    const QImage &first = cache.face({{16, 17}, false, true});
    const qint64 key = first.cacheKey();
    EXPECT_EQ(cache.count(), 1);
    EXPECT_EQ(cache.face({{16, 17}, false, true}).cacheKey(), key);
    EXPECT_EQ(cache.count(), 1);
    cache.face({{16, 17}, true, true});
    cache.face({{16, 17}, false, false});
    cache.face({{16, 16}, false, true});
    EXPECT_EQ(cache.count(), 4);
    EXPECT_EQ(first.cacheKey(), key) << "a face handed out outlives later misses";
    cache.clear();
    EXPECT_EQ(cache.count(), 0);
}

TEST(ButtonFace, ArrowRaisedPressedAndDisabled)
{
    const QImage idle = paintButtonFace({{16, 17}, false, true});
    // Raised edge: highlight inside the top-left, dark shadow on the far edge.
    EXPECT_EQ(idle.pixelColor(1, 1), colors::clBtnHighlight);
    EXPECT_EQ(idle.pixelColor(15, 16), colors::cl3DDkShadow);
    // The arrow's wide top row starts at ((16 - 7) / 2, (17 - 4) / 2).
    EXPECT_EQ(idle.pixelColor(4, 6), colors::clBtnText);
    EXPECT_EQ(idle.pixelColor(10, 6), colors::clBtnText);
    EXPECT_EQ(idle.pixelColor(7, 9), colors::clBtnText);
    EXPECT_EQ(idle.pixelColor(6, 9), colors::clBtnFace);

    const QImage pressed = paintButtonFace({{16, 17}, true, true});
    EXPECT_EQ(pressed.pixelColor(0, 0), colors::clBtnShadow);
    EXPECT_EQ(pressed.pixelColor(1, 1), colors::clBtnFace);
    EXPECT_EQ(pressed.pixelColor(4, 6), colors::clBtnFace); // arrow moved by (1, 1)
    EXPECT_EQ(pressed.pixelColor(5, 7), colors::clBtnText);

    const QImage disabled = paintButtonFace({{16, 17}, false, false});
    EXPECT_EQ(disabled.pixelColor(4, 6), colors::clBtnShadow);
    EXPECT_EQ(disabled.pixelColor(8, 10), colors::clBtnHighlight);
}

TEST(ButtonFace, EachStyleHasItsOwnSign)
{
    QImage glyph(6, 6, QImage::Format_RGB32);
    glyph.fill(Qt::red);
    struct Row {
        TEditButtonStyleEx style;
        QPoint sign; // a pixel of the sign
        QColor color;
    };
    // A 16 x 17 face: its sign is centred, (7, 8) is the middle.
    for (const Row &row : {Row{ebsEllipsisEx, {7, 7}, colors::clBtnText}, Row{ebsGlyphEx, {7, 8}, Qt::red},
                           Row{ebsUpDownEx, {7, 2}, colors::clBtnText}, Row{ebsPlusEx, {7, 5}, colors::clBtnText},
                           Row{ebsMinusEx, {4, 8}, colors::clBtnText}}) {
        const QImage face = paintButtonFace({{16, 17}, false, true, 1, row.style, glyph});
        EXPECT_EQ(face.pixelColor(row.sign), row.color) << row.style;
        EXPECT_NE(face, paintButtonFace(ButtonFaceKey{QSize(16, 17)})) << row.style;
    }
    EXPECT_EQ(paintButtonFace({{16, 17}, false, true, 1, ebsMinusEx}).pixelColor(7, 5), colors::clBtnFace)
        << "minus has no upright";
}
