#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <vector>

class QWidget;

namespace platform {

enum Anchor { akLeft = 0x1, akTop = 0x2, akRight = 0x4, akBottom = 0x8 };
Q_DECLARE_FLAGS(Anchors, Anchor)

// Keeps a control's distances to the anchored edges of its parent as they
// were when anchored: anchored on both sides it stretches, on the far side
// only it moves, on neither it keeps its centre at the same proportion.
// Anchor after the declared layout is in place.
void setAnchors(QWidget *control, Anchors anchors);

// One per parent: follows the parent's resizes.
class AnchorKeeper : public QObject {
    Q_OBJECT
public:
    explicit AnchorKeeper(QWidget *parent);
    void add(QWidget *control, Anchors anchors);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Anchored {
        QPointer<QWidget> control;
        Anchors anchors;
        QRect declared;
        QSize parentSize; // the parent's size when the control was anchored
    };
    void relayout();

    QWidget *parent_;
    std::vector<Anchored> controls_;
};

} // namespace platform

Q_DECLARE_OPERATORS_FOR_FLAGS(platform::Anchors)
