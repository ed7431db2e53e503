#pragma once

namespace platform {

// Whole wheel notches (120 units of rotation each) out of the deltas a
// high-resolution wheel or touch pad sends; the rest waits for the next.
class WheelNotches {
public:
    static constexpr int Notch = 120;

    // Adds a delta and takes the whole notches it completes: positive when
    // the wheel turned up (away from the user).
    int take(int delta)
    {
        remainder_ += delta;
        const int notches = remainder_ / Notch;
        remainder_ -= notches * Notch;
        return notches;
    }

private:
    int remainder_ = 0;
};

} // namespace platform
