#include "controls/sidebar/groupswitchslide.h"

#include <algorithm>

bool GroupSwitchSlide::advance(qint64 elapsed)
{
    if (region_.height() - distance_ <= headerHeight_)
        return false;
    if (elapsed - lastGrowth_ > 50) {
        step_ += 2;
        lastGrowth_ = elapsed;
    }
    distance_ = std::min(distance_ + step_, region_.height());
    return true;
}

QRect GroupSwitchSlide::source() const
{
    const int height = region_.height() - distance_;
    const int top = downward_ ? region_.top() : region_.top() + distance_;
    return {region_.left(), top, region_.width(), height};
}

QPoint GroupSwitchSlide::target() const
{
    return {region_.left(), downward_ ? region_.top() + distance_ : region_.top()};
}

QRect GroupSwitchSlide::uncovered() const
{
    const int top = downward_ ? region_.top() : region_.bottom() + 1 - distance_;
    return {region_.left(), top, region_.width(), distance_};
}
