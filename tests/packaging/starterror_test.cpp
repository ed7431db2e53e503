#include "launcher/starterror.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TEST(StartError, MessageBoxShowsTheReasonUntilClosed)
{
    QString shownReason;
    QMessageBox::Icon shownIcon = QMessageBox::NoIcon;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shownReason = box->informativeText();
        shownIcon = box->icon();
        box->accept();
    });
    starterror::showMessageBox(QStringLiteral("Не удалось создать папку «/home/u»."));
    EXPECT_EQ(shownReason, QStringLiteral("Не удалось создать папку «/home/u»."));
    EXPECT_EQ(shownIcon, QMessageBox::Critical);
}

TEST(StartError, WindowsNeedADisplayThatIsNotOffscreen)
{
    struct Row {
        const char *platform;
        const char *display;
        const char *wayland;
        bool expected;
    };
    const Row rows[] = {
        {"", ":0", "", true},           {"", "", "wayland-0", true},  {"xcb", ":1", "", true},
        {"offscreen", ":0", "", false}, {"minimal", ":0", "", false}, {"", "", "", false},
    };
    const QByteArray saved[] = {qgetenv("QT_QPA_PLATFORM"), qgetenv("DISPLAY"), qgetenv("WAYLAND_DISPLAY")};
    for (const Row &row : rows) {
        qputenv("QT_QPA_PLATFORM", row.platform);
        qputenv("DISPLAY", row.display);
        qputenv("WAYLAND_DISPLAY", row.wayland);
        EXPECT_EQ(starterror::canShowWindows(), row.expected)
            << row.platform << " | " << row.display << " | " << row.wayland;
    }
    qputenv("QT_QPA_PLATFORM", saved[0]);
    qputenv("DISPLAY", saved[1]);
    qputenv("WAYLAND_DISPLAY", saved[2]);
}

} // namespace
