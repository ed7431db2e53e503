#pragma once

#include "platform/colors.h"
#include "platform/rect.h"
#include "controls/sidebar/sidebartypes.h"

#include <QColor>
#include <QPainter>
#include <QSize>
#include <functional>

// Gradient settings of the bar's background; each change notifies the bar.
class TSideBarBackGround {
public:
    QColor BeginColor() const { return beginColor_; }
    void SetBeginColor(const QColor &color);
    QColor EndColor() const { return endColor_; }
    void SetEndColor(const QColor &color);
    TSideBarFillStyle FillStyle() const { return fillStyle_; }
    void SetFillStyle(TSideBarFillStyle style);
    int Step() const { return step_; }
    void SetStep(int step);   // 0 or less is ignored

    // A gradient is only drawn when it would show.
    bool IsActive() const { return fillStyle_ != bfsNone && beginColor_ != endColor_; }
    // Bands of Step pixels, aligned to multiples of Step across the client.
    void FillGradient(QPainter &painter, const platform::Rect &r, QSize client) const;

    std::function<void()> OnChange;

private:
    void changed();

    QColor beginColor_ = platform::colors::clGrayText;
    QColor endColor_ = platform::colors::clGrayText;
    TSideBarFillStyle fillStyle_ = bfsNone;
    int step_ = 2;
};
