#include <QApplication>
#include <gtest/gtest.h>

#ifdef SPRAV_HAVE_PLATFORM
#include "application.h"
#include "guardedapplication.h"
using TestApplication = platform::GuardedApplication;
#else
using TestApplication = QApplication;
#endif

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // Pixel-exact tests compare with the 96-dpi layout drawn unscaled, so
    // they run at scale factor 1 whatever the desktop says; the scaling tests
    // ask for their own factor.
    const QByteArray factor = qgetenv("SPRAV_TEST_SCALE_FACTOR");
    qputenv("QT_SCALE_FACTOR", factor.isEmpty() ? QByteArray("1") : factor);
    qunsetenv("QT_SCREEN_SCALE_FACTORS");
    TestApplication app(argc, argv);
#ifdef SPRAV_HAVE_PLATFORM
    platform::setUpApplication(app);
#endif
    return RUN_ALL_TESTS();
}
