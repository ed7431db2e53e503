// Start-up and return-from-window timings of the whole program.
//   startup_bench app        print the wall-clock nanoseconds at each phase of the start-up, one
//                            "phase NANOSECONDS" a line, the main window's first paint last
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
#include <utility>
#include <vector>

namespace {

long long wallNanoseconds()
{
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

std::vector<std::pair<const char *, long long>> &phases()
{
    static std::vector<std::pair<const char *, long long>> list;
    return list;
}

void phaseEnds(const char *name)
{
    phases().emplace_back(name, wallNanoseconds());
}

// Prints the phases when the watched window's first paint is done and ends
// the program.
class FirstPaint : public QObject {
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            QTimer::singleShot(0, [] {
                phaseEnds("paint");
                for (const auto &[name, time] : phases())
                    std::printf("%s %lld\n", name, time);
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
    phaseEnds("exec");
    const QString mode = argc > 1 ? QString::fromLatin1(argv[1]) : QString();
    if (mode == QLatin1String("minimal")) {
        QApplication app(argc, argv);
        phaseEnds("application");
        QWidget window;
        FirstPaint watch;
        window.installEventFilter(&watch);
        window.resize(811, 501);
        window.show();
        return app.exec();
    }
    platform::GuardedApplication app(argc, argv);
    phaseEnds("application");
    platform::setUpApplication(app);
    phaseEnds("style");
    if (mode == QLatin1String("return"))
        return returns(argc > 2 ? std::atoi(argv[2]) : 5);
    Program program;
    phaseEnds("windows");
    FirstPaint watch;
    program.mainForm().installEventFilter(&watch);
    program.mainForm().show();
    phaseEnds("show");
    // The activation (search fields, keyboard layout, unpack) runs from the
    // event loop; the first paint follows.
    return app.exec();
}
