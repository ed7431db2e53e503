#include "controls/flat/buttonglyph.h"
#include "controls/flat/glyphcache.h"
#include "platform/colors.h"

#include <gtest/gtest.h>
#include <memory>

using namespace flat;
namespace colors = platform::colors;

namespace {

const QColor kOlive{128, 128, 0};

// A strip of `count` square images of side `side`, background olive, each
// image with a black pixel at (1, 1) and its own marker colour at (2, 2).
QImage strip(int count, int side = 8)
{
    QImage image(count * side, side, QImage::Format_RGB32);
    image.fill(kOlive);
    for (int i = 0; i < count; ++i) {
        image.setPixelColor(i * side + 1, 1, Qt::black);
        image.setPixelColor(i * side + 2, 2, QColor(10 * (i + 1), 0, 0));
    }
    return image;
}

QColor at(const QImage &image, int x, int y)
{
    return image.pixelColor(x, y);
}

} // namespace

TEST(ButtonGlyph, ImageCountFollowsTheStripShape)
{
    TButtonGlyph glyph;
    EXPECT_EQ(glyph.numGlyphs(), 1);
    EXPECT_EQ(glyph.transparentColor(), kOlive);
    EXPECT_EQ(glyph.imageSize(), QSize(0, 0));

    glyph.setGlyph(strip(3));
    EXPECT_EQ(glyph.numGlyphs(), 3);
    EXPECT_EQ(glyph.imageSize(), QSize(8, 8));

    // Width not a multiple of the height: the count stays as it was.
    glyph.setGlyph(QImage(20, 8, QImage::Format_RGB32));
    EXPECT_EQ(glyph.numGlyphs(), 3);

    // A strip too narrow for the count it would keep is one picture.
    glyph.setGlyph(strip(4));
    glyph.setGlyph(QImage(3, 8, QImage::Format_RGB32));
    EXPECT_EQ(glyph.numGlyphs(), 1);
    EXPECT_EQ(glyph.imageSize(), QSize(3, 8));
    EXPECT_EQ(glyph.stateImage(bsUp).size(), QSize(3, 8));

    // More than four images in the strip count as one picture.
    glyph.setGlyph(strip(5));
    EXPECT_EQ(glyph.numGlyphs(), 1);
    EXPECT_EQ(glyph.imageSize(), QSize(40, 8));
}

TEST(ButtonGlyph, TransparentColourIsTheBottomLeftPixel)
{
    QImage image = strip(1);
    image.fill(QColor(0, 255, 0));
    image.setPixelColor(3, 3, Qt::blue);
    TButtonGlyph glyph;
    glyph.setGlyph(image);
    EXPECT_EQ(glyph.transparentColor(), QColor(0, 255, 0));

    const QImage &up = glyph.stateImage(bsUp);
    EXPECT_EQ(qAlpha(up.pixel(0, 0)), 0);
    EXPECT_EQ(at(up, 3, 3), QColor(Qt::blue));
}

TEST(ButtonGlyph, StateImagesComeFromTheirSlotOrTheFirst)
{
    TButtonGlyph glyph;
    glyph.setGlyph(strip(4));
    EXPECT_EQ(at(glyph.stateImage(bsUp), 2, 2), QColor(10, 0, 0));
    EXPECT_EQ(at(glyph.stateImage(bsDown), 2, 2), QColor(30, 0, 0));
    EXPECT_EQ(at(glyph.stateImage(bsExclusive), 2, 2), QColor(40, 0, 0));

    // With two images the pressed look falls back to the up image.
    glyph.setGlyph(strip(2));
    EXPECT_EQ(at(glyph.stateImage(bsDown), 2, 2), QColor(10, 0, 0));
    EXPECT_EQ(at(glyph.stateImage(bsExclusive), 2, 2), QColor(10, 0, 0));
}

TEST(ButtonGlyph, DisabledSingleImageIsAnEmbossedSilhouetteOfItsBlackPixels)
{
    TButtonGlyph glyph;
    glyph.setGlyph(strip(1));
    const QImage &disabled = glyph.stateImage(bsDisabled);
    EXPECT_EQ(at(disabled, 1, 1), colors::clBtnShadow);
    EXPECT_EQ(at(disabled, 2, 2), colors::clBtnHighlight); // the shifted copy, over the marker
    EXPECT_EQ(qAlpha(disabled.pixel(5, 5)), 0);            // everything else drops out
    EXPECT_EQ(qAlpha(disabled.pixel(3, 3)), 0);
}

TEST(ButtonGlyph, DisabledImageOfAStripIsRecoloured)
{
    QImage image = strip(2);
    image.setPixelColor(8 + 4, 4, Qt::white);
    image.setPixelColor(8 + 5, 5, QColor(128, 128, 128));
    TButtonGlyph glyph;
    glyph.setGlyph(image);
    const QImage &disabled = glyph.stateImage(bsDisabled);
    EXPECT_EQ(at(disabled, 4, 4), colors::clBtnHighlight);
    EXPECT_EQ(at(disabled, 5, 5), colors::clBtnShadow);
    EXPECT_EQ(at(disabled, 2, 2), QColor(20, 0, 0)); // the second image's own pixel
    EXPECT_EQ(qAlpha(disabled.pixel(6, 6)), 0);      // olive became face, then transparent
}

TEST(ButtonGlyph, NewGlyphReleasesTheBuiltImages)
{
    TButtonGlyph glyph;
    glyph.setGlyph(strip(1));
    EXPECT_EQ(at(glyph.stateImage(bsUp), 2, 2), QColor(10, 0, 0));
    QImage other = strip(1);
    other.setPixelColor(2, 2, Qt::red);
    glyph.setGlyph(other);
    EXPECT_EQ(at(glyph.stateImage(bsUp), 2, 2), QColor(Qt::red));
}

TEST(ButtonGlyph, PictureWithAlphaKeepsItsBlackPixels)
{
    QImage image(8, 8, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    image.setPixelColor(3, 3, Qt::black);
    image.setPixelColor(4, 4, Qt::red);
    TButtonGlyph glyph;
    glyph.setGlyph(image);

    const QImage &up = glyph.stateImage(bsUp);
    EXPECT_EQ(up.pixelColor(3, 3), QColor(Qt::black));
    EXPECT_EQ(up.pixelColor(4, 4), QColor(Qt::red));
    EXPECT_EQ(qAlpha(up.pixel(0, 0)), 0);

    const QImage &disabled = glyph.stateImage(bsDisabled);
    EXPECT_EQ(disabled.pixelColor(3, 3), colors::clBtnShadow);
    EXPECT_EQ(disabled.pixelColor(4, 4), colors::clBtnHighlight);
    EXPECT_EQ(qAlpha(disabled.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(disabled.pixel(5, 5)), 0);
}

// A strip drawn for a scaled desktop keeps its layout size; its images keep
// the device resolution, and the disabled emboss moves by one layout pixel.
TEST(ButtonGlyph, StripForDevicePixelRatioTwoYieldsSharpImages)
{
    QImage twice = strip(1, 16);
    twice.setDevicePixelRatio(2);
    TButtonGlyph glyph;
    glyph.setGlyph(twice);
    EXPECT_EQ(glyph.imageSize(), QSize(8, 8));
    const QImage &up = glyph.stateImage(bsUp);
    EXPECT_EQ(up.size(), QSize(16, 16));
    EXPECT_EQ(up.devicePixelRatio(), 2);
    const QImage &disabled = glyph.stateImage(bsDisabled);
    EXPECT_EQ(disabled.devicePixelRatio(), 2);
    EXPECT_EQ(at(disabled, 1, 1), colors::clBtnShadow);
    EXPECT_EQ(at(disabled, 3, 3), colors::clBtnHighlight);
}

// Buttons share one image list per size; a freed slot is taken again first,
// and the last button to go takes the list and the cache with it.
TEST(GlyphCache, OneListPerSizeWithTheLowestFreeSlotReused)
{
    ASSERT_EQ(TGlyphCache::instance(), nullptr);
    auto first = std::make_unique<TButtonGlyph>();
    auto second = std::make_unique<TButtonGlyph>();
    TButtonGlyph wide;
    first->setGlyph(strip(2));
    second->setGlyph(strip(1));
    wide.setGlyph(strip(1, 16));
    first->stateImage(bsUp);
    first->stateImage(bsDisabled);
    second->stateImage(bsUp);
    wide.stateImage(bsUp);
    TGlyphList &eights = TGlyphCache::GetList({8, 8});
    EXPECT_EQ(eights.count(), 3);
    EXPECT_EQ(TGlyphCache::instance()->listCount(), 2);

    first.reset(); // frees slots 0 and 1
    EXPECT_EQ(eights.count(), 1);
    const QImage marker = strip(1);
    EXPECT_EQ(eights.Add(marker), 0);
    TGlyphCache::Release(eights, 0);

    wide.setGlyph(QImage());
    EXPECT_EQ(TGlyphCache::instance()->listCount(), 1) << "the 16 x 16 list went with its last image";
    EXPECT_EQ(at(second->stateImage(bsUp), 2, 2), QColor(10, 0, 0)) << "kept in slot 2";
    second.reset();
    EXPECT_EQ(TGlyphCache::instance(), nullptr);
}
