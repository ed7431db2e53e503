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
