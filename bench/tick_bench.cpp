// Exam clock cost, on the real window with the real sound control.
//
//   tick_bench ticks [COUNT]   median and worst time of one clock tick, after
//                              a first tick has opened Zarod.wav (default 2000)
//   tick_bench cpu [SECONDS]   CPU used by a running clock over SECONDS of
//                              wall time (default 60), as % of one core
//   tick_bench idle [SECONDS]  the same with the clock stopped, for comparison
//
// Zarod.wav is copied beside this program, as beside Vardo. Run with
// QT_QPA_PLATFORM=offscreen on a machine without a display.
#include "app/startup.h"
#include "exam/examwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void startClock(ExamWindow &window)
{
    window.findChild<QPushButton *>(QStringLiteral("cmdスタート"))->click();
}

QTimer *clockTimer(ExamWindow &window)
{
    return window.findChild<QTimer *>(QStringLiteral("tmr時間"));
}

int benchTicks(ExamWindow &window, int count)
{
    startClock(window);
    QTimer *timer = clockTimer(window);
    QMetaObject::invokeMethod(timer, "timeout"); // opens the cue
    std::vector<qint64> ns;
    ns.reserve(count);
    QElapsedTimer watch;
    for (int i = 0; i < count; ++i) {
        watch.start();
        QMetaObject::invokeMethod(timer, "timeout");
        ns.push_back(watch.nsecsElapsed());
    }
    std::sort(ns.begin(), ns.end());
    std::printf("ticks %d  median %.1f us  p90 %.1f us  worst %.1f us\n", count, ns[ns.size() / 2] / 1e3,
                ns[ns.size() * 9 / 10] / 1e3, ns.back() / 1e3);
    return 0;
}

void runEventLoop(int ms)
{
    QTimer::singleShot(ms, Qt::PreciseTimer, qApp, &QCoreApplication::quit);
    qApp->exec();
}

int benchCpu(ExamWindow &window, int seconds, bool running)
{
    runEventLoop(1000); // let the first paint and start-up settle
    if (running)
        startClock(window);
    const double cpuBefore = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    runEventLoop(seconds * 1000);
    const double cpu = cpuSeconds() - cpuBefore;
    const double elapsed = wall.nsecsElapsed() / 1e9;
    std::printf("%s clock: %.1f s wall, %.1f ms CPU, %.4f %% of one core\n", running ? "running" : "stopped", elapsed,
                cpu * 1e3, 100.0 * cpu / elapsed);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    setUpProcess();
    QCoreApplication::addLibraryPath(QStringLiteral(VARDO_MODULE_DIR));
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("ticks");
    const int amount = argc > 2 ? std::atoi(argv[2]) : 0;
    ExamWindow window;
    window.show();
    if (mode == QLatin1String("cpu") || mode == QLatin1String("idle"))
        return benchCpu(window, amount > 0 ? amount : 60, mode == QLatin1String("cpu"));
    if (mode == QLatin1String("ticks"))
        return benchTicks(window, amount > 0 ? amount : 2000);
    std::fprintf(stderr, "usage: tick_bench ticks [COUNT] | cpu [SECONDS] | idle [SECONDS]\n");
    return 2;
}
