#pragma once

#include <QLabel>
#include <QTimer>
#include <functional>

// The small window that shows an item's short hint under the item for a
// few seconds. It goes at once on any key the application gets, on a
// shortcut and when the bar's window is minimised, closed or hidden.
class TSideItemHint : public QObject {
    Q_OBJECT
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

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget &bar_;
    QLabel window_;
    QTimer timer_;
};
