#include <QApplication>
#include <gtest/gtest.h>

#ifdef SPRAV_HAVE_PLATFORM
#include "application.h"
#endif

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
#ifdef SPRAV_HAVE_PLATFORM
    platform::prepareApplication();
#endif
    QApplication app(argc, argv);
#ifdef SPRAV_HAVE_PLATFORM
    platform::setUpApplication(app);
#endif
    return RUN_ALL_TESTS();
}
