#pragma once

#include "controls/flat/buttonglyph.h"
#include "controls/flat/buttonlayout.h"
#include "controls/flat/flatlook.h"

#include <QColor>
#include <QString>
#include <QWidget>

#include <functional>

// The flat command button: a thin border while idle, a raised frame under the
// pointer, a sunken one while pressed. It never takes the keyboard focus and
// clicks when the left button is released over it.
class TFlatSpeedButton : public QWidget, public FlatLook {
public:
    enum TButtonBorderKind { bbFlat, bbStandard };
    using TButtonLayout = flat::TButtonLayout;
    using TButtonState = flat::TButtonState;
    using NotifyEvent = std::function<void(TFlatSpeedButton &sender)>;

    explicit TFlatSpeedButton(QWidget *parent = nullptr);

    const QImage &Glyph() const { return glyph_.glyph(); }
    void setGlyph(const QImage &strip);
    int GroupIndex() const { return groupIndex_; }
    void setGroupIndex(int value);
    int NumGlyphs() const { return numGlyphs_; }
    void setNumGlyphs(int value);
    TButtonBorderKind BorderStyle() const { return borderStyle_; }
    void setBorderStyle(TButtonBorderKind value);
    TButtonLayout Layout() const { return layout_; }
    void setLayout(TButtonLayout value);
    int Margin() const { return margin_; }
    void setMargin(int value);
    int Spacing() const { return spacing_; }
    void setSpacing(int value);
    bool Down() const { return down_; }
    void setDown(bool value);
    QString Caption() const { return caption_; }
    void setCaption(const QString &value);
    bool Transparent() const { return transparent_; }
    void setTransparent(bool value);
    QColor Color() const { return color_; }
    void setColor(const QColor &value);
    bool AllowAllUp() const { return allowAllUp_; }
    void setAllowAllUp(bool value);

    NotifyEvent OnClick;
    // Runs the click handler as a mouse click would, also while disabled.
    void Click();

    TButtonState state() const { return state_; }
    bool hovered() const { return hover_; }
    // Glyph and caption places for the current state and size.
    flat::ButtonContent contentLayout() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    bool latched() const { return groupIndex_ != 0 && down_; }
    TButtonState pressedState() const;
    TButtonState releasedState() const;
    bool insideForTracking(QPoint pos) const;
    void setState(TButtonState value);
    void syncStateWithEnabled();
    platform::Rect drawFrame(QPainter &painter) const;
    void drawCaption(QPainter &painter, const platform::Rect &where) const;

    flat::TButtonGlyph glyph_;
    int groupIndex_ = 0;
    int numGlyphs_ = 1;
    TButtonBorderKind borderStyle_ = bbFlat;
    TButtonLayout layout_ = flat::blGlyphLeft;
    int margin_ = -1;
    int spacing_ = 4;
    bool down_ = false;
    QString caption_;
    bool transparent_ = true;
    QColor color_;
    bool allowAllUp_ = false;

    TButtonState state_ = flat::bsUp;
    bool tracking_ = false;
    bool hover_ = false;
};
