#include <QApplication>
#include <gtest/gtest.h>

#include "platform/application.h"

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    platform::prepareApplication();
    QApplication app(argc, argv);
    platform::setUpApplication(app);
    return RUN_ALL_TESTS();
}
