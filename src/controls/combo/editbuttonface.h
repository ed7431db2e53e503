#pragma once

#include <QImage>
#include <QSize>

#include <vector>

namespace combo {

// One look of the drop-down button.
struct ButtonFaceKey {
    QSize size;
    bool pressed = false;
    bool enabled = true;
    qreal devicePixelRatio = 1;
    friend bool operator==(const ButtonFaceKey &, const ButtonFaceKey &) = default;
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
};

// The classic combo-box drop-down face: a raised button with a down arrow,
// flat and shifted while pressed, the arrow embossed while disabled.
QImage paintButtonFace(const ButtonFaceKey &key);

} // namespace combo
