#include "controls/flat/buttonglyph.h"

#include "controls/flat/glyphcache.h"
#include "platform/colors.h"

#include <utility>

namespace flat {

namespace colors = platform::colors;

namespace {

// Pictures may carry an alpha channel: a transparent colour is matched with
// its alpha, and only mostly opaque pixels count as a given colour.
QRgb bottomLeft(const QImage &image)
{
    return image.pixel(0, image.height() - 1);
}

bool hasColor(QRgb pixel, const QColor &color)
{
    return qAlpha(pixel) >= 128 && (pixel & RGB_MASK) == (color.rgb() & RGB_MASK);
}

// Clears every pixel of the colour of the image's bottom-left pixel.
QImage withTransparentBottomLeft(QImage image)
{
    const QRgb key = bottomLeft(image);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == key)
                image.setPixel(x, y, 0);
    return image;
}

} // namespace

void TButtonGlyph::setGlyph(const QImage &strip)
{
    strip_ = strip.convertToFormat(QImage::Format_ARGB32);
    if (!strip_.isNull()) {
        transparentColor_ = QColor::fromRgba(bottomLeft(strip_));
        if (strip_.width() % strip_.height() == 0) {
            const int count = strip_.width() / strip_.height();
            numGlyphs_ = count > 4 ? 1 : count;
        } else if (strip_.width() < numGlyphs_) {
            numGlyphs_ = 1; // the count kept from a wider strip would give empty images
        }
    }
    releaseImages();
}

QSize TButtonGlyph::imageSize() const
{
    if (strip_.isNull())
        return {0, 0};
    const QSize logical = strip_.deviceIndependentSize().toSize();
    return {logical.width() / numGlyphs_, logical.height()};
}

TButtonGlyph::~TButtonGlyph()
{
    releaseImages();
}

QImage TButtonGlyph::stateImage(TButtonState state)
{
    int &slot = slots_[state];
    if (slot == -1 && !strip_.isNull()) {
        const QImage image = buildImage(state);
        if (!list_)
            list_ = &TGlyphCache::GetList(image.size());
        slot = list_->Add(image);
    }
    return slot == -1 ? QImage() : list_->image(slot);
}

void TButtonGlyph::releaseImages()
{
    for (int &slot : slots_)
        if (slot != -1)
            TGlyphCache::Release(*list_, std::exchange(slot, -1));
    list_ = nullptr;
}

QImage TButtonGlyph::buildImage(TButtonState state) const
{
    const int width = strip_.width() / numGlyphs_;
    const int index = state < numGlyphs_ ? state : 0;
    QImage source = strip_.copy(index * width, 0, width, strip_.height());
    source.setDevicePixelRatio(strip_.devicePixelRatio());
    if (state == bsDisabled)
        return withTransparentBottomLeft(disabledImage(source));
    return withTransparentBottomLeft(source);
}

QImage TButtonGlyph::disabledImage(const QImage &source) const
{
    QImage image(source.size(), QImage::Format_ARGB32);
    image.setDevicePixelRatio(source.devicePixelRatio());
    if (numGlyphs_ > 1) {
        // The strip carries its own disabled picture: map its white, grey
        // and transparent pixels onto the system colours.
        const QRgb transparent = transparentColor_.rgba();
        for (int y = 0; y < source.height(); ++y)
            for (int x = 0; x < source.width(); ++x) {
                const QRgb p = source.pixel(x, y);
                QRgb out = p;
                if (hasColor(p, Qt::white))
                    out = colors::clBtnHighlight.rgb();
                else if (hasColor(p, QColor(128, 128, 128)))
                    out = colors::clBtnShadow.rgb();
                else if (p == transparent)
                    out = colors::clBtnFace.rgb();
                image.setPixel(x, y, out);
            }
        return image;
    }
    // Embossed silhouette of the black pixels: highlight shifted by one
    // pixel of the layout down and right, shadow on top at the original place.
    image.fill(colors::clBtnFace);
    const int shift = qRound(source.devicePixelRatio());
    const auto paintSilhouette = [&](int dx, int dy, const QColor &color) {
        for (int y = 0; y < source.height(); ++y)
            for (int x = 0; x < source.width(); ++x)
                if (hasColor(source.pixel(x, y), Qt::black) && image.valid(x + dx, y + dy))
                    image.setPixel(x + dx, y + dy, color.rgb());
    };
    paintSilhouette(shift, shift, colors::clBtnHighlight);
    paintSilhouette(0, 0, colors::clBtnShadow);
    return image;
}

} // namespace flat
