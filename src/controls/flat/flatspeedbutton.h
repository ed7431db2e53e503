#pragma once

#include "controls/flat/buttonglyph.h"
#include "controls/flat/buttonlayout.h"
#include "controls/flat/flatlook.h"

#include "platform/colors.h"
#include <QString>
#include <QWidget>

#include <functional>

// The flat command button: a thin border while idle, a raised frame under the
// pointer, a sunken one while pressed. It never takes the keyboard focus and
// clicks when the left button is released over it.
class TFlatSpeedButton : public QWidget, public FlatLook {
    Q_OBJECT
    Q_PROPERTY(bool Activate READ activate WRITE setActivate)
    Q_PROPERTY(QColor BorderColor READ borderColor WRITE setBorderColor)
    Q_PROPERTY(bool Flat READ isFlat WRITE setFlat)
    Q_PROPERTY(bool ShowBorder READ showBorder WRITE setShowBorder)
    Q_PROPERTY(QString Version READ version WRITE setVersion)
    Q_PROPERTY(QImage Glyph READ glyph WRITE setGlyph)
    Q_PROPERTY(int GroupIndex READ groupIndex WRITE setGroupIndex)
    Q_PROPERTY(int NumGlyphs READ numGlyphs WRITE setNumGlyphs)
    Q_PROPERTY(TButtonBorderKind BorderStyle READ borderStyle WRITE setBorderStyle)
    Q_PROPERTY(TButtonLayout Layout READ buttonLayout WRITE setButtonLayout)
    Q_PROPERTY(int Margin READ margin WRITE setMargin)
    Q_PROPERTY(int Spacing READ spacing WRITE setSpacing)
    Q_PROPERTY(bool Down READ isDown WRITE setDown)
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
    Q_PROPERTY(bool Transparent READ isTransparent WRITE setTransparent)
    Q_PROPERTY(QColor Color READ color WRITE setColor)
    Q_PROPERTY(bool AllowAllUp READ allowAllUp WRITE setAllowAllUp)
public:
    enum TButtonBorderKind { bbFlat, bbStandard };
    using TButtonLayout = flat::TButtonLayout;
    using TButtonState = flat::TButtonState;
    using NotifyEvent = std::function<void(TFlatSpeedButton &sender)>;

    explicit TFlatSpeedButton(QWidget *parent = nullptr);

    const QImage &glyph() const { return glyph_.glyph(); }
    void setGlyph(const QImage &strip);
    int groupIndex() const { return groupIndex_; }
    void setGroupIndex(int value);
    int numGlyphs() const { return numGlyphs_; }
    void setNumGlyphs(int value);
    TButtonBorderKind borderStyle() const { return borderStyle_; }
    void setBorderStyle(TButtonBorderKind value);
    TButtonLayout buttonLayout() const { return layout_; }
    void setButtonLayout(TButtonLayout value);
    int margin() const { return margin_; }
    void setMargin(int value);
    int spacing() const { return spacing_; }
    void setSpacing(int value);
    bool isDown() const { return down_; }
    void setDown(bool value);
    QString caption() const { return caption_; }
    void setCaption(const QString &value);
    bool isTransparent() const { return transparent_; }
    void setTransparent(bool value);
    QColor color() const { return color_; }
    void setColor(const platform::colors::Color &value);
    bool allowAllUp() const { return allowAllUp_; }
    void setAllowAllUp(bool value);

    NotifyEvent OnClick;
    // Runs the click handler as a mouse click would, also while disabled.
    void Click();

    TButtonState state() const { return state_; }
    bool isHovered() const { return hover_; }
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
    platform::colors::Color color_;
    bool allowAllUp_ = false;

    TButtonState state_ = flat::bsUp;
    bool tracking_ = false;
    bool hover_ = false;
};
