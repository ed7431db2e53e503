#include "controls/combo/popuplistbox.h"

#include "controls/combo/dropdowngeometry.h"
#include "platform/colors.h"
#include "platform/drawing.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QWheelEvent>

namespace {

// Rows as plain single-line text, 2 pixels from the left, "&" drawn as is.
class RowDelegate : public QStyledItemDelegate {
public:
    explicit RowDelegate(TPopupListboxEx *list) : QStyledItemDelegate(list), list_(list) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        namespace colors = platform::colors;
        const platform::Rect row = platform::Rect::fromQRect(option.rect);
        const bool selected = option.state & QStyle::State_Selected;
        platform::fillRect(*painter, row, selected ? colors::clHighlight : list_->palette().color(QPalette::Base));
        painter->setFont(list_->font());
        painter->setPen(selected ? colors::clHighlightText : list_->palette().color(QPalette::Text));
        platform::Rect text{row.left + 2, row.top, row.right, row.bottom};
        platform::drawText(*painter, index.data().toString(), text,
                           platform::DT_LEFT | platform::DT_VCENTER | platform::DT_SINGLELINE | platform::DT_NOPREFIX);
        if (index.row() == list_->currentRow())
            platform::drawFocusRect(*painter, row);
    }

    QSize sizeHint(const QStyleOptionViewItem &, const QModelIndex &index) const override
    {
        return {platform::textWidth(list_->font(), index.data().toString()) + 2, list_->itemHeight()};
    }

private:
    TPopupListboxEx *list_;
};

} // namespace

TPopupListboxEx::TPopupListboxEx(QWidget *owner) : QListWidget(owner)
{
    // A tool-tip window is placed exactly where asked and is never activated.
    setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(combo::kEdgeWidth);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    viewport()->setMouseTracking(true);
    setItemDelegate(new RowDelegate(this));
}

void TPopupListboxEx::setItemHeight(int height)
{
    itemHeight_ = height;
    doItemsLayout();
}

void TPopupListboxEx::setTexts(const QStringList &texts)
{
    clear();
    addItems(texts);
}

int TPopupListboxEx::widestText() const
{
    int widest = 0;
    for (int i = 0; i < count(); ++i)
        widest = std::max(widest, platform::textWidth(font(), item(i)->text()));
    return widest;
}

bool TPopupListboxEx::clientContains(QPoint global) const
{
    return viewport()->rect().contains(viewport()->mapFromGlobal(global));
}

void TPopupListboxEx::selectRowAt(QPoint global)
{
    selectRowAtViewport(viewport()->mapFromGlobal(global));
}

void TPopupListboxEx::selectRowAtViewport(QPoint pos)
{
    if (!viewport()->rect().contains(pos))
        return;
    const int row = indexAt(pos).row();
    if (row >= 0 && row != currentRow())
        setCurrentRow(row);
}

void TPopupListboxEx::mousePressEvent(QMouseEvent *event)
{
    selectRowAtViewport(event->position().toPoint());
}

void TPopupListboxEx::mouseMoveEvent(QMouseEvent *event)
{
    selectRowAtViewport(event->position().toPoint());
}

bool TPopupListboxEx::event(QEvent *event)
{
    // The scroll area drops a release on its own frame: that is a release
    // outside the client area.
    if (event->type() == QEvent::MouseButtonRelease) {
        mouseReleaseEvent(static_cast<QMouseEvent *>(event));
        return true;
    }
    return QListWidget::event(event);
}

void TPopupListboxEx::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (auto handler = OnRelease)
        handler(clientContains(event->globalPosition().toPoint()));
}

void TPopupListboxEx::wheelEvent(QWheelEvent *event)
{
    // One row per notch.
    verticalScrollBar()->setValue(verticalScrollBar()->value() - wheelNotches_.take(event->angleDelta().y()));
    event->accept();
}
