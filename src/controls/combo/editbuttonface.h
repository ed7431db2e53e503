#pragma once

#include <QColor>
#include <QImage>
#include <QSize>

#include <vector>

namespace combo {

enum TEditButtonStyleEx { ebsDropDownEx, ebsEllipsisEx, ebsGlyphEx, ebsUpDownEx, ebsPlusEx, ebsMinusEx };

// One look of the edit's button.
struct ButtonFaceKey {
    QSize size;
    bool pressed = false;
    bool enabled = true;
    qreal devicePixelRatio = 1;
    TEditButtonStyleEx style = ebsDropDownEx;
    QImage glyph{}; // drawn by ebsGlyphEx; told apart by its cache key
    friend bool operator==(const ButtonFaceKey &a, const ButtonFaceKey &b)
    {
        return a.size == b.size && a.pressed == b.pressed && a.enabled == b.enabled &&
               a.devicePixelRatio == b.devicePixelRatio && a.style == b.style &&
               a.glyph.cacheKey() == b.glyph.cacheKey();
    }
};

// Button faces are painted once per look into an off-screen image shared by
// every edit of the program; a paint only copies the image.
class ButtonFaceCache {
public:
    static ButtonFaceCache &instance();

    // A shared copy: the cache may grow under a reference.
    QImage face(const ButtonFaceKey &key);
    int count() const { return int(faces_.size()); }
    void clear() { faces_.clear(); }

private:
    struct Entry {
        ButtonFaceKey key;
        QImage image;
    };
    std::vector<Entry> faces_;
    QRgb scheme_[4] = {}; // the system colours the faces were drawn in
};

// The classic raised button face with the style's sign (the combo box's
// down arrow, three dots, the glyph, two arrows, plus or minus), flat and
// shifted while pressed, the sign embossed while disabled.
QImage paintButtonFace(const ButtonFaceKey &key);

} // namespace combo
