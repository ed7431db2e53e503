#include "app/program.h"
#include "platform/application.h"
#include "platform/guardedapplication.h"

int main(int argc, char **argv)
{
    platform::GuardedApplication app(argc, argv);
    platform::setUpApplication(app);
    Program program;
    return program.run();
}
