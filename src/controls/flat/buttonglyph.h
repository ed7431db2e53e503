#pragma once

#include <QColor>
#include <QImage>
#include <QSize>

#include <array>

namespace flat {

enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

class TGlyphList;

// The picture strip of a button and the images it yields for each state,
// built on first use and kept in the shared list of their size. A strip
// drawn for a device pixel ratio above 1 keeps its layout size and yields
// images at that ratio.
class TButtonGlyph {
public:
    TButtonGlyph() = default;
    ~TButtonGlyph();
    TButtonGlyph(const TButtonGlyph &) = delete;
    TButtonGlyph &operator=(const TButtonGlyph &) = delete;

    void setGlyph(const QImage &strip);
    const QImage &glyph() const { return strip_; }
    int numGlyphs() const { return numGlyphs_; }
    QColor transparentColor() const { return transparentColor_; }
    QSize imageSize() const; // 0 x 0 without a glyph

    // The image for a state, with its transparent pixels cleared.
    QImage stateImage(TButtonState state);
    void releaseImages();

private:
    QImage buildImage(TButtonState state) const;
    QImage disabledImage(const QImage &source) const;

    QImage strip_;
    QColor transparentColor_{128, 128, 0};
    int numGlyphs_ = 1;
    std::array<int, 4> slots_{-1, -1, -1, -1}; // in list_, -1 while not built
    TGlyphList *list_ = nullptr;
};

} // namespace flat
