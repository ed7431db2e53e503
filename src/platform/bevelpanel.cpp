#include "bevelpanel.h"

#include "colors.h"
#include "drawing.h"

namespace platform {

BevelPanel::BevelPanel(QWidget *parent, Bevel outer, Bevel inner) : QWidget(parent), outer_(outer), inner_(inner)
{
    setAutoFillBackground(false);
}

void BevelPanel::setBevels(Bevel outer, Bevel inner)
{
    if (outer == outer_ && inner == inner_)
        return;
    outer_ = outer;
    inner_ = inner;
    update();
}

void BevelPanel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    Rect r = Rect::fromQRect(rect());
    // Both rings use the highlight and shadow pair, as panels always have.
    auto ring = [&](Bevel bevel) {
        if (bevel == bvNone)
            return;
        const bool raised = bevel == bvRaised;
        r = drawEdge(p, r, raised ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
    };
    ring(outer_);
    ring(inner_);
    fillRect(p, r, colors::clBtnFace);
}

} // namespace platform
