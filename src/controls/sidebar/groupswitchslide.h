#pragma once

#include <QPoint>
#include <QRect>

// The slide that shows a change of the active group: the old picture of the
// region below the headers that stay in place moves down (the new group lies
// above the old one) or up, in steps that start at one pixel and grow by two
// whenever more than 50 milliseconds have passed since the last growth. The
// strip it leaves shows the background; the slide ends once what is left of
// the old picture is no higher than one header.
class GroupSwitchSlide {
public:
    GroupSwitchSlide(const QRect &region, bool downward, int headerHeight)
        : region_(region), downward_(downward), headerHeight_(headerHeight)
    {}

    // Takes the step due `elapsed` milliseconds after the start; false once
    // the slide is over.
    bool advance(qint64 elapsed);

    const QRect &region() const { return region_; }
    int distance() const { return distance_; }
    // The part of the old picture still shown, and where it stands now.
    QRect source() const;
    QPoint target() const;
    // What the slide has uncovered.
    QRect uncovered() const;

private:
    QRect region_;
    bool downward_;
    int headerHeight_;
    int step_ = 1;
    qint64 lastGrowth_ = 0;
    int distance_ = 0;
};
