#include "app/vardoapp.h"
#include "exam/examwindow.h"

#include <QAction>
#include <QScreen>
#include <QTest>

#include "support/examcontrols.h"
#include "support/testmain.h"

// Run on a 1366x768 screen at scale 1.5 (see CMakeLists.txt): every window is
// taller than the screen's 512 logical pixels.
class SmallScreenTest : public QObject
{
    Q_OBJECT

private slots:
    void windows_keepTheirTopLeftOnTheScreen();
};

void SmallScreenTest::windows_keepTheirTopLeftOnTheScreen()
{
    VardoApp app;
    app.start();
    ExamWindow *exam = app.examWindow();
    const QRect screen = exam->screen()->availableGeometry();
    QVERIFY2(exam->height() > screen.height(), "the screen is not small enough to test");

    examcontrols::click(exam, QStringLiteral("cmd得点"));
    examcontrols::click(exam, QStringLiteral("cmd合格率"));
    exam->findChild<QAction *>(QStringLiteral("mnuAbout"))->trigger();
    const QList<QWidget *> windows = {exam, app.passLineWindow(6), app.helpWindow()};
    for (const QWidget *window : windows) {
        QVERIFY(window);
        const QRect frame = window->frameGeometry();
        QCOMPARE(frame.top(), screen.top());
        // Still centred across, where it fits.
        QVERIFY2(qAbs(frame.center().x() - screen.center().x()) <= 1, qPrintable(window->objectName()));
    }
}

VARDO_TEST_MAIN(SmallScreenTest)
#include "smallscreen_test.moc"
