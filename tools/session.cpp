// A scripted session through the real event loop, clock and sound control,
// for tools/memcheck.sh: tick answers, Start, a real clock tick, Score,
// Pass-rate, a figure page, About, Exit. Exits 0 when the program ended by
// itself after Exit, 1 when a step was left unfinished.

#include "app/startup.h"
#include "app/vardoapp.h"
#include "exam/examwindow.h"
#include "widgets/tabpages.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTest>

#include "support/examcontrols.h"
#include <QTimer>

#include <functional>
#include <vector>

namespace {

void clickTab(TabPages *tabs, int page)
{
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(page).center());
}

void clickBox(QWidget *exam, int group, int choice)
{
    clickTab(examcontrols::find<TabPages>(exam, QStringLiteral("SSTab2")), group - 1);
    auto *box = examcontrols::find<QCheckBox>(exam, QStringLiteral("chkVardo%1(%2)").arg(group).arg(choice));
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
}

void clickButton(QWidget *exam, const char *name)
{
    QTest::mouseClick(examcontrols::find<QPushButton>(exam, QString::fromUtf8(name)), Qt::LeftButton);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    setUpProcess();
    QCoreApplication::addLibraryPath(QStringLiteral(VARDO_MODULE_DIR));
    VardoApp vardo;
    vardo.start();
    QWidget *exam = vardo.examWindow();

    // Each step runs from the event loop, a pause after the one before.
    const std::vector<std::pair<int, std::function<void()>>> steps = {
        {200,
         [&] {
             clickBox(exam, 1, 3);
             clickBox(exam, 10, 2);
             clickBox(exam, 17, 1);
         }},
        {100, [&] { clickButton(exam, "cmdスタート"); }},
        {1500, [&] { clickTab(examcontrols::find<TabPages>(exam, QStringLiteral("SSTab1")), 3); }}, // a tick has run
        {100, [&] { clickButton(exam, "cmd得点"); }},
        {100, [&] { clickButton(exam, "cmd合格率"); }},
        {200, [&] { examcontrols::find<QAction>(exam, QStringLiteral("mnuAbout"))->trigger(); }},
        {300, [&] { exam->findChild<QAction *>(QStringLiteral("mnuExit"))->trigger(); }},
    };
    int delay = 0;
    for (const auto &[pause, step] : steps) {
        delay += pause;
        QTimer::singleShot(delay, &application, step);
    }
    // Exit must end the program; a session still running later has failed.
    QTimer::singleShot(delay + 30000, &application, [] { QCoreApplication::exit(1); });
    return application.exec();
}
