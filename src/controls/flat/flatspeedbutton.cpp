#include "controls/flat/flatspeedbutton.h"

#include "controls/flat/flataccessible.h"
#include "controls/flat/flatframe.h"
#include "platform/accessibility.h"
#include "platform/colors.h"
#include "platform/drawing.h"
#include "platform/keyboardreach.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPainter>

using flat::DrawFlatFrame;
using platform::Rect;
namespace colors = platform::colors;

TFlatSpeedButton::TFlatSpeedButton(QWidget *parent)
    : QWidget(parent), FlatLook(static_cast<QWidget &>(*this)), color_(colors::clBtnFace)
{
    platform::registerAccessible<TFlatSpeedButton>(flat::createButtonAccessible);
    setFocusPolicy(Qt::NoFocus);
    platform::reachableWhileAccessible(this, [this] { Click(); });
    resize(23, 22);
}

void TFlatSpeedButton::setGroupIndex(int value)
{
    assign(groupIndex_, value);
}
void TFlatSpeedButton::setBorderStyle(TButtonBorderKind value)
{
    assign(borderStyle_, value);
}
void TFlatSpeedButton::setButtonLayout(TButtonLayout value)
{
    assign(layout_, value);
}
void TFlatSpeedButton::setSpacing(int value)
{
    assign(spacing_, value);
}
void TFlatSpeedButton::setCaption(const QString &value)
{
    assign(caption_, value);
}
void TFlatSpeedButton::setTransparent(bool value)
{
    assign(transparent_, value);
}
void TFlatSpeedButton::setColor(const platform::colors::Color &value)
{
    assign(color_, value);
}
void TFlatSpeedButton::setAllowAllUp(bool value)
{
    assign(allowAllUp_, value);
}

void TFlatSpeedButton::setGlyph(const QImage &strip)
{
    glyph_.setGlyph(strip);
    update();
}

void TFlatSpeedButton::setNumGlyphs(int value)
{
    if (value >= 1 && value <= 4)
        assign(numGlyphs_, value);
}

void TFlatSpeedButton::setMargin(int value)
{
    if (value >= -1)
        assign(margin_, value);
}

void TFlatSpeedButton::setDown(bool value)
{
    if (value == down_ || (value && groupIndex_ == 0) || (!value && !allowAllUp_))
        return;
    down_ = value;
    setState(value ? flat::bsExclusive : flat::bsUp);
}

void TFlatSpeedButton::Click()
{
    if (auto handler = OnClick)
        handler(*this);
}

TFlatSpeedButton::TButtonState TFlatSpeedButton::pressedState() const
{
    return latched() ? flat::bsExclusive : flat::bsDown;
}

TFlatSpeedButton::TButtonState TFlatSpeedButton::releasedState() const
{
    return latched() ? flat::bsExclusive : flat::bsUp;
}

bool TFlatSpeedButton::insideForTracking(QPoint pos) const
{
    // The bottom edge row counts as inside.
    return pos.x() >= 0 && pos.x() < width() && pos.y() >= 0 && pos.y() <= height();
}

void TFlatSpeedButton::setState(TButtonState value)
{
    if (state_ == value)
        return;
    state_ = value;
    update();
}

void TFlatSpeedButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (!latched())
        setState(flat::bsDown);
    tracking_ = true;
}

void TFlatSpeedButton::mouseMoveEvent(QMouseEvent *event)
{
    if (tracking_)
        setState(insideForTracking(event->position().toPoint()) ? pressedState() : releasedState());
}

void TFlatSpeedButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !tracking_)
        return;
    tracking_ = false;
    setState(releasedState());
    if (insideForTracking(event->position().toPoint()))
        Click();
}

void TFlatSpeedButton::enterEvent(QEnterEvent *)
{
    if (!isFlat() || hover_ || !isEnabled() || QWidget::mouseGrabber())
        return;
    hover_ = true;
    if (activate())
        update();
}

void TFlatSpeedButton::leaveEvent(QEvent *)
{
    hover_ = false;
    if (isFlat() && activate())
        update();
}

void TFlatSpeedButton::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange) {
        // A button enabled again under a still pointer shows its hover frame
        // at once; one disabled under the pointer keeps it until it leaves.
        if (isFlat() && isEnabled())
            hover_ = QApplication::widgetAt(QCursor::pos()) == this;
        update();
    }
    QWidget::changeEvent(event);
}

void TFlatSpeedButton::syncStateWithEnabled()
{
    if (!isEnabled())
        state_ = flat::bsDisabled;
    else if (state_ == flat::bsDisabled)
        state_ = releasedState();
}

platform::Rect TFlatSpeedButton::drawFrame(QPainter &painter) const
{
    Rect r{0, 0, width(), height()};
    const bool pressed = state_ == flat::bsDown || state_ == flat::bsExclusive;
    if (!isFlat()) {
        DrawFlatFrame(color_, borderColor(), pressed ? flat::ffSunken : flat::ffClassicRaised, r, painter);
        return r.inflated(-1, -1);
    }
    if (pressed) {
        DrawFlatFrame(color_, borderColor(), hover_ ? flat::ffSunken : flat::ffThinRaised, r, painter);
    } else if (hover_ && activate()) {
        platform::frameRect(painter, r, colors::clWindowFrame);
        DrawFlatFrame(color_, borderColor(), flat::ffRaised, r.inflated(-1, -1), painter);
    } else if (borderStyle_ == bbStandard) {
        platform::frameRect(painter, r, colors::clWindowFrame);
        DrawFlatFrame(color_, borderColor(), flat::ffClassicRaised, r, painter);
    } else if (showBorder()) {
        DrawFlatFrame(color_, borderColor(), flat::ffBorder, r, painter);
    }
    return r.inflated(-3, -3);
}

flat::ButtonContent TFlatSpeedButton::contentLayout() const
{
    const Rect whole{0, 0, width(), height()};
    const bool pressed = state_ == flat::bsDown || state_ == flat::bsExclusive;
    const QSize caption =
        caption_.isEmpty() ? QSize(0, 0) : QSize(platform::textWidth(font(), caption_), platform::textHeight(font()));
    return flat::layoutButtonContent({.client = whole.inflated(isFlat() ? -3 : -1, isFlat() ? -3 : -1),
                                      .glyph = glyph_.imageSize(),
                                      .caption = caption,
                                      .layout = layout_,
                                      .margin = margin_,
                                      .spacing = spacing_,
                                      .offset = pressed ? QPoint(1, 1) : QPoint(0, 0),
                                      .rightToLeft = layoutDirection() == Qt::RightToLeft});
}

void TFlatSpeedButton::paintEvent(QPaintEvent *)
{
    syncStateWithEnabled();
    QPainter painter(this);
    painter.setFont(font());
    if (!transparent_)
        platform::fillRect(painter, {0, 0, width(), height()}, color_);
    const Rect content = drawFrame(painter);

    if (state_ == flat::bsExclusive && (!isFlat() || !hover_)) {
        platform::fillRect(painter, content, colors::clBtnFace);
        painter.fillRect(content.toQRect(), QBrush(colors::clBtnHighlight, Qt::Dense4Pattern));
    }

    const flat::ButtonContent place = contentLayout();
    const QImage image = glyph_.stateImage(state_);
    if (!image.isNull()) {
        if (!transparent_ && state_ != flat::bsExclusive)
            painter.fillRect(QRect(place.glyphPos, image.size()), colors::clBtnFace);
        painter.drawImage(place.glyphPos, image);
    }
    drawCaption(painter, place.captionRect);
}

void TFlatSpeedButton::drawCaption(QPainter &painter, const Rect &where) const
{
    if (caption_.isEmpty())
        return;
    const platform::TextFormat format = platform::DT_CENTER | platform::DT_VCENTER | platform::DT_SINGLELINE;
    const auto draw = [&](Rect r, const QColor &color) {
        painter.setPen(color);
        platform::drawText(painter, caption_, r, format);
    };
    if (state_ == flat::bsDisabled) {
        draw(where.offset(1, 1), colors::clBtnHighlight);
        draw(where, colors::clBtnShadow);
    } else {
        draw(where, palette().color(foregroundRole()));
    }
}
