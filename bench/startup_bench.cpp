// Start-up and return-from-window timings of the whole program.
//   startup_bench app        print the wall-clock nanoseconds at the main window's first paint
//   startup_bench minimal    the same for a plain Qt window (the peer)
//   startup_bench return N   seconds of N returns from a modal window: activation, unpack, repaint
// Run it through run-startup.sh, which starts each as a fresh process.
#include "app/form1.h"
#include "app/program.h"
#include "platform/application.h"
#include "platform/guardedapplication.h"
#include "windows/firstform.h"
#include "windows/forms.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <ctime>

namespace {

long long wallNanoseconds()
{
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

// Prints the time of the watched window's first paint and ends the program.
class FirstPaint : public QObject {
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            QTimer::singleShot(0, [] {
                std::printf("%lld\n", wallNanoseconds());
                std::fflush(stdout);
                std::_Exit(0);
            });
        }
        return false;
    }

private:
    bool seen_ = false;
};

int returns(int count)
{
    Program program;
    program.mainForm().show();
    for (int i = 0; i < 10; ++i)
        QApplication::processEvents();
    QElapsedTimer timer;
    qint64 total = 0;
    for (int i = 0; i < count; ++i) {
        QTimer::singleShot(0, [&] {
            timer.start();
            FirstForm->close();
        });
        FirstForm->ShowModal();
        program.mainForm().repaint();
        total += timer.nsecsElapsed();
    }
    std::printf("%.4f\n", double(total) / 1e9 / count);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    const QString mode = argc > 1 ? QString::fromLatin1(argv[1]) : QString();
    if (mode == QLatin1String("minimal")) {
        QApplication app(argc, argv);
        QWidget window;
        FirstPaint watch;
        window.installEventFilter(&watch);
        window.resize(811, 501);
        window.show();
        return app.exec();
    }
    platform::GuardedApplication app(argc, argv);
    platform::setUpApplication(app);
    if (mode == QLatin1String("return"))
        return returns(argc > 2 ? std::atoi(argv[2]) : 5);
    Program program;
    FirstPaint watch;
    program.mainForm().installEventFilter(&watch);
    program.mainForm().show();
    return app.exec();
}
