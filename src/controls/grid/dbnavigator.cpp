#include "controls/grid/dbnavigator.h"

#include "data/dataset.h"
#include "platform/colors.h"
#include "platform/drawing.h"

#include <QPainter>
#include <QPolygon>

namespace grid {

namespace cl = platform::colors;

void NavigatorDataLink::activeChanged()
{
    navigator_.updateButtons();
}

void NavigatorDataLink::dataSetChanged()
{
    navigator_.updateButtons();
}

void NavigatorDataLink::dataSetScrolled(int)
{
    navigator_.updateButtons();
}

void NavigatorDataLink::editingChanged()
{
    navigator_.updateButtons();
}

// ---- button

NavigatorButton::NavigatorButton(Kind kind, QWidget *parent) : QAbstractButton(parent), kind_(kind)
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    static const char *const hints[] = {"Первая запись", "Предыдущая запись", "Следующая запись", "Последняя запись"};
    setToolTip(QString::fromUtf8(hints[kind]));
    setAccessibleName(toolTip()); // a reader announces a picture button by its hint
}

void NavigatorButton::enterEvent(QEnterEvent *event)
{
    hovered_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void NavigatorButton::leaveEvent(QEvent *event)
{
    hovered_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void NavigatorButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    platform::Rect r{0, 0, width(), height()};
    platform::fillRect(p, r, cl::clBtnFace);
    if (isEnabled() && isDown())
        platform::drawEdge(p, r, platform::BDR_SUNKENOUTER);
    else if (isEnabled() && hovered_)
        platform::drawEdge(p, r, platform::BDR_RAISEDINNER);

    // A triangle of height 7 pointing left or right, with a bar at the far
    // end for first and last. The triangle is a polygon rather than columns
    // of pixels, so a scaled desktop gets its slope at its own resolution;
    // unscaled, it covers the same columns of 1, 3, 5 and 7 pixels.
    const bool left = kind_ == First || kind_ == Prior;
    const bool bar = kind_ == First || kind_ == Last;
    const int shift = isDown() ? 1 : 0;
    const int cy = height() / 2 + shift;
    const int width = bar ? 6 : 4;
    const int x0 = this->width() / 2 - width / 2 + shift;
    auto draw = [&](int ox, int oy, const QColor &color) {
        int barX = left ? x0 + ox : x0 + width - 2 + ox;
        int tipX = left ? x0 + (bar ? 2 : 0) + ox : x0 + 3 + ox;
        if (bar)
            p.fillRect(barX, cy - 3 + oy, 2, 7, color);
        const qreal tip = left ? tipX : tipX + 1;
        const qreal base = left ? tip + 4 : tip - 4;
        const qreal axis = cy + oy + 0.5;
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        // Slightly under a slope of 1, so that no pixel centre falls on an edge.
        p.drawPolygon(QPolygonF({{tip, axis}, {base, axis - 3.75}, {base, axis + 3.75}}));
    };
    if (isEnabled()) {
        draw(0, 0, cl::clBlack);
    } else {
        draw(1, 1, cl::clBtnHighlight);
        draw(0, 0, cl::clGrayText);
    }
}

// ---- navigator

TDBNavigator::TDBNavigator(QWidget *parent) : QWidget(parent)
{
    for (int kind = NavigatorButton::First; kind <= NavigatorButton::Last; ++kind) {
        auto *button = new NavigatorButton(static_cast<NavigatorButton::Kind>(kind), this);
        connect(button, &QAbstractButton::clicked, this,
                [this, kind] { move(static_cast<NavigatorButton::Kind>(kind)); });
        buttons_[kind] = button;
    }
    setCursor(Qt::PointingHandCursor);
    resize(DefaultWidth, DefaultHeight);
    placeButtons();
    updateButtons();
}

void TDBNavigator::setDataSource(data::DataSource *source)
{
    link_.setDataSource(source);
    updateButtons();
}

void TDBNavigator::updateButtons()
{
    data::DataSet *ds = link_.active() ? link_.dataSet() : nullptr;
    const bool atBegin = !ds || ds->bof() || ds->recNo() <= 1;
    const bool atEnd = !ds || ds->eof() || ds->recNo() >= ds->recordCount();
    buttons_[NavigatorButton::First]->setEnabled(!atBegin);
    buttons_[NavigatorButton::Prior]->setEnabled(!atBegin);
    buttons_[NavigatorButton::Next]->setEnabled(!atEnd);
    buttons_[NavigatorButton::Last]->setEnabled(!atEnd);
}

void TDBNavigator::move(NavigatorButton::Kind kind)
{
    if (!link_.active())
        return;
    data::DataSet &ds = *link_.dataSet();
    switch (kind) {
    case NavigatorButton::First: ds.first(); break;
    case NavigatorButton::Prior: ds.prior(); break;
    case NavigatorButton::Next: ds.next(); break;
    case NavigatorButton::Last: ds.last(); break;
    }
    updateButtons();
}

void TDBNavigator::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeButtons();
}

// Equal shares; the last button takes the remainder.
void TDBNavigator::placeButtons()
{
    const int share = width() / 4;
    for (int i = 0; i < 4; ++i)
        buttons_[i]->setGeometry(i * share, 0, i == 3 ? width() - 3 * share : share, height());
}

} // namespace grid
