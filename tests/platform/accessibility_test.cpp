#include "accessibility.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

class ClickCounter : public QWidget {
public:
    int clicks = 0;

protected:
    void mouseReleaseEvent(QMouseEvent *event) override { clicks += event->button() == Qt::LeftButton; }
};

} // namespace

// A press action clicks through the event queue, after the caller returned,
// and like the mouse it cannot reach a window under a modal one.
TEST(ClickAsMouse, ArrivesLaterAndNeverPastAModalWindow)
{
    ClickCounter target;
    target.show();
    platform::clickAsMouse(&target, target.rect().center());
    EXPECT_EQ(target.clicks, 0);
    QApplication::processEvents();
    EXPECT_EQ(target.clicks, 1);

    QWidget modal;
    modal.setWindowModality(Qt::ApplicationModal);
    modal.show();
    platform::clickAsMouse(&target, target.rect().center());
    QApplication::processEvents();
    EXPECT_EQ(target.clicks, 1);
}
