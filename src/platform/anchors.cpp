#include "platform/anchors.h"

#include <QEvent>
#include <QWidget>
#include <algorithm>

namespace platform {

namespace {

struct Span {
    int start, length;
};

// One axis: the span `declared` had in a parent of size `was`, placed in a
// parent of size `now`.
Span follow(Span declared, bool nearAnchored, bool farAnchored, int was, int now)
{
    const int grown = now - was;
    if (nearAnchored && farAnchored)
        return {declared.start, std::max(0, declared.length + grown)};
    if (farAnchored)
        return {declared.start + grown, declared.length};
    if (nearAnchored || was <= 0)
        return declared;
    const int centre = (2 * declared.start + declared.length) * now / (2 * was);
    return {centre - declared.length / 2, declared.length};
}

} // namespace

void setAnchors(QWidget *control, Anchors anchors)
{
    QWidget *parent = control->parentWidget();
    if (!parent)
        return;
    auto *keeper = parent->findChild<AnchorKeeper *>(QString(), Qt::FindDirectChildrenOnly);
    if (!keeper)
        keeper = new AnchorKeeper(parent);
    keeper->add(control, anchors);
}

AnchorKeeper::AnchorKeeper(QWidget *parent) : QObject(parent), parent_(parent)
{
    parent->installEventFilter(this);
}

void AnchorKeeper::add(QWidget *control, Anchors anchors)
{
    std::erase_if(controls_, [control](const Anchored &a) { return a.control == control || a.control.isNull(); });
    controls_.push_back({control, anchors, control->geometry(), parent_->size()});
}

bool AnchorKeeper::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parent_ && event->type() == QEvent::Resize)
        relayout();
    return false;
}

void AnchorKeeper::relayout()
{
    const QSize now = parent_->size();
    for (const Anchored &a : controls_) {
        if (!a.control)
            continue;
        const Span x = follow({a.declared.x(), a.declared.width()}, a.anchors.testFlag(akLeft),
                              a.anchors.testFlag(akRight), a.parentSize.width(), now.width());
        const Span y = follow({a.declared.y(), a.declared.height()}, a.anchors.testFlag(akTop),
                              a.anchors.testFlag(akBottom), a.parentSize.height(), now.height());
        a.control->setGeometry(x.start, y.start, x.length, y.length);
    }
}

} // namespace platform
