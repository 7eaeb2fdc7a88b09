// Cost of a Score click and of a Pass-rate click on the real windows.
//
//   click_bench [COUNT]   (default 200 clicks of each kind)
//
// Each figure is the click's handler plus the repaint it causes (the posted
// events run before the clock stops). Score is clicked with a full paper, so
// every mark changes. Pass-rate is timed three ways: the very first open in
// the process (window, fonts and document built cold), an open after the
// window was closed (a rebuild) and a click while it is open (a raise).
// Run with QT_QPA_PLATFORM=offscreen on a machine without a display.
#include "app/startup.h"
#include "app/vardoapp.h"
#include "exam/answerkey.h"
#include "exam/examwindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

QPushButton *button(QWidget *window, const char *name)
{
    return window->findChild<QPushButton *>(QString::fromUtf8(name));
}

// Runs what the click left posted (layout, repaint, deferred deletes).
void settle()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

qint64 timed(const std::function<void()> &action)
{
    QElapsedTimer watch;
    watch.start();
    action();
    settle();
    return watch.nsecsElapsed();
}

void report(const char *what, std::vector<qint64> ns)
{
    std::sort(ns.begin(), ns.end());
    std::printf("%-28s n=%4zu  median %7.3f ms  p90 %7.3f ms  worst %7.3f ms\n", what, ns.size(),
                ns[ns.size() / 2] / 1e6, ns[ns.size() * 9 / 10] / 1e6, ns.back() / 1e6);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    setUpProcess();
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;

    VardoApp vardo;
    vardo.start();
    ExamWindow *exam = vardo.examWindow();
    if (!QTest::qWaitForWindowExposed(exam))
        qFatal("the exam window was never shown");
    for (const GroupKey &key : AnswerKey)
        exam->findChild<QCheckBox *>(QStringLiteral("chkVardo%1(%2)").arg(key.group).arg(key.correctChoice))
            ->setChecked(true);
    QPushButton *start = button(exam, "cmdスタート");
    QPushButton *score = button(exam, "cmd得点");
    QPushButton *passRate = button(exam, "cmd合格率");
    settle();

    // Start hides the marks, so that every Score shows all 27 again.
    std::vector<qint64> scoreNs;
    for (int i = 0; i < count; ++i) {
        timed([&] { QTest::mouseClick(start, Qt::LeftButton); });
        scoreNs.push_back(timed([&] { QTest::mouseClick(score, Qt::LeftButton); }));
    }
    report("Score", scoreNs);

    const qint64 cold = timed([&] { QTest::mouseClick(passRate, Qt::LeftButton); });
    std::printf("%-28s        %7.3f ms\n", "Pass-rate, first open", cold / 1e6);
    std::vector<qint64> rebuildNs, raiseNs;
    for (int i = 0; i < count; ++i) {
        raiseNs.push_back(timed([&] { QTest::mouseClick(passRate, Qt::LeftButton); }));
        vardo.passLineWindow(1)->close();
        settle();
        rebuildNs.push_back(timed([&] { QTest::mouseClick(passRate, Qt::LeftButton); }));
    }
    report("Pass-rate, rebuild", rebuildNs);
    report("Pass-rate, raise", raiseNs);
    return 0;
}
