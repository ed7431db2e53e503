#include "application.h"
#include "program.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    platform::setUpApplication(app);
    Program program;
    return program.run();
}
