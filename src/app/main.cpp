#include "application.h"
#include "guardedapplication.h"
#include "program.h"

int main(int argc, char **argv)
{
    platform::GuardedApplication app(argc, argv);
    platform::setUpApplication(app);
    Program program;
    return program.run();
}
