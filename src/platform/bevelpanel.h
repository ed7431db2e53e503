#pragma once

#include <QWidget>

namespace platform {

// The framework's plain panel: a face-coloured area with an optional outer
// and inner bevel, each lowered or raised, one pixel wide.
class BevelPanel : public QWidget {
    Q_OBJECT
public:
    enum Bevel { bvNone, bvLowered, bvRaised };

    explicit BevelPanel(QWidget *parent = nullptr, Bevel outer = bvNone, Bevel inner = bvNone);

    Bevel bevelOuter() const { return outer_; }
    Bevel bevelInner() const { return inner_; }
    void setBevels(Bevel outer, Bevel inner);
    int bevelWidth() const { return (outer_ != bvNone) + (inner_ != bvNone); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Bevel outer_;
    Bevel inner_;
};

} // namespace platform
