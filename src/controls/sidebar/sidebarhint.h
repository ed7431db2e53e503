#pragma once

#include <QLabel>
#include <QTimer>
#include <functional>

// The small window that shows an item's short hint under the item for a
// few seconds.
class TSideItemHint {
public:
    static constexpr int ShowTime = 3000; // milliseconds

    explicit TSideItemHint(QWidget *bar);

    // `anchor` is in screen coordinates: its top is the hint's top, its
    // horizontal centre the hint's centre (or its left, when `centred` is
    // false), its width the widest the hint may get.
    void Show(const QString &text, const QRect &anchor, bool centred);
    void Hide();
    bool isShowing() const { return window_.isVisible(); }

    std::function<void()> OnHidden;

private:
    QLabel window_;
    QTimer timer_;
};
