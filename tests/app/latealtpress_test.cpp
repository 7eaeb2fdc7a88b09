#include "app/startup.h"
#include "app/vardoapp.h"
#include "exam/examwindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QTest>
#include <QWindow>

#include "support/testmain.h"

namespace {
struct AltSeen : QObject
{
    bool seen = false;
    bool eventFilter(QObject *, QEvent *e) override
    {
        seen |= e->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(e)->key() == Qt::Key_Alt;
        return false;
    }
};
} // namespace

// Under a screen reader Qt posts each key press again, once the reader has
// seen it, to the window it was first meant for: so an Alt pressed before a
// menu opened can come after it.
class LateAltPressTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { setUpProcess(); }
    void postedAltPress_closesOnlyAMenuItWasPressedIn_data();
    void postedAltPress_closesOnlyAMenuItWasPressedIn();
};

void LateAltPressTest::postedAltPress_closesOnlyAMenuItWasPressedIn_data()
{
    QTest::addColumn<bool>("menuOpen");
    QTest::addColumn<bool>("toTheMenu"); // else to the main window
    QTest::addColumn<bool>("reachesAControl");
    QTest::addColumn<bool>("menuOpenAfter");
    QTest::newRow("Alt of Alt+G, late: the menu stays") << true << false << false << true;
    QTest::newRow("Alt pressed in the open menu closes it") << true << true << true << false;
    QTest::newRow("Alt with no menu open goes on") << false << false << true << false;
}

void LateAltPressTest::postedAltPress_closesOnlyAMenuItWasPressedIn()
{
    QFETCH(bool, menuOpen);
    QFETCH(bool, toTheMenu);
    VardoApp app;
    app.start();
    ExamWindow *exam = app.examWindow();
    QVERIFY(QTest::qWaitForWindowExposed(exam));
    auto *menu = exam->findChild<QMenu *>(QStringLiteral("mnuGame"));
    if (menuOpen) {
        QTest::keyClick(exam, Qt::Key_G, Qt::AltModifier);
        QTRY_VERIFY(menu->isVisible());
    }
    AltSeen spy;
    for (QWidget *widget : QApplication::allWidgets())
        widget->installEventFilter(&spy);

    QWindow *to = toTheMenu ? menu->windowHandle() : exam->windowHandle();
    QCoreApplication::postEvent(to, new QKeyEvent(QEvent::KeyPress, Qt::Key_Alt, Qt::NoModifier));
    QCoreApplication::sendPostedEvents();

    QTEST(spy.seen, "reachesAControl");
    QTEST(menu->isVisible(), "menuOpenAfter");
    menu->close();
}

VARDO_TEST_MAIN(LateAltPressTest)
#include "latealtpress_test.moc"
