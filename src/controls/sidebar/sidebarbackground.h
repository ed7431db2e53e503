#pragma once

#include "controls/sidebar/sidebartypes.h"
#include "platform/colors.h"
#include "platform/rect.h"

#include <QColor>
#include <QPainter>
#include <QSize>
#include <functional>

// Gradient settings of the bar's background; each change notifies the bar.
class TSideBarBackGround {
public:
    QColor beginColor() const { return beginColor_; }
    void setBeginColor(const platform::colors::Color &color);
    QColor endColor() const { return endColor_; }
    void setEndColor(const platform::colors::Color &color);
    TSideBarFillStyle fillStyle() const { return fillStyle_; }
    void setFillStyle(TSideBarFillStyle style);
    int step() const { return step_; }
    void setStep(int step); // 0 or less is ignored

    // A gradient is only drawn when it would show.
    bool isActive() const { return fillStyle_ != bfsNone && beginColor_ != endColor_; }
    // Bands of Step pixels, aligned to multiples of Step across the client.
    void FillGradient(QPainter &painter, const platform::Rect &r, QSize client) const;

    std::function<void()> OnChange;

private:
    void changed();

    platform::colors::Color beginColor_ = platform::colors::clGrayText;
    platform::colors::Color endColor_ = platform::colors::clGrayText;
    TSideBarFillStyle fillStyle_ = bfsNone;
    int step_ = 2;
};
