#include <QApplication>
#include <QTemporaryFile>
#include <gtest/gtest.h>

#include "platform/application.h"
#include "platform/guardedapplication.h"

namespace {

// The offscreen platform's own screen is 800x600, smaller than the main
// window with its frame; a desktop's full-HD screen, even at factor 2, holds
// every window at its designed size, as the layout tests expect.
void giveOffscreenALargeScreen(QTemporaryFile &config)
{
    if (qgetenv("QT_QPA_PLATFORM") != "offscreen" || !config.open())
        return;
    config.write(R"({"screens": [{"name": "test", "width": 1920, "height": 1200}]})");
    config.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toLocal8Bit());
}

} // namespace

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // Pixel-exact tests compare with the 96-dpi layout drawn unscaled, so
    // they run at scale factor 1 whatever the desktop says; the scaling tests
    // ask for their own factor.
    const QByteArray factor = qgetenv("SPRAV_TEST_SCALE_FACTOR");
    qputenv("QT_SCALE_FACTOR", factor.isEmpty() ? QByteArray("1") : factor);
    qunsetenv("QT_SCREEN_SCALE_FACTORS");
    QTemporaryFile screenConfig;
    giveOffscreenALargeScreen(screenConfig);
    platform::GuardedApplication app(argc, argv);
    platform::setUpApplication(app);
    return RUN_ALL_TESTS();
}
