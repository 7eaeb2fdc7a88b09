#include "app/vardoapp.h"
#include "exam/examwindow.h"

#include <QAccessible>
#include <QAction>
#include <QKeyCombination>
#include <QScreen>
#include <QScrollArea>
#include <QTest>
#include <QTextEdit>

#include "support/examcontrols.h"
#include "support/testmain.h"

// Run on a 1366x768 screen at scale 2 and at 1.5 (see CMakeLists.txt): no
// window's design fits the screen's 384 or 512 logical pixels in height.
class SmallScreenTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void focusMoves_keepTheFocusInView_data();
    void focusMoves_keepTheFocusInView();

private:
    VardoApp *m_app = nullptr;
};

void SmallScreenTest::init()
{
    m_app = new VardoApp;
    m_app->start();
    ExamWindow *exam = m_app->examWindow();
    QVERIFY(QTest::qWaitForWindowExposed(exam));
    examcontrols::click(exam, QStringLiteral("cmd得点"));
    examcontrols::click(exam, QStringLiteral("cmd合格率"));
    exam->aboutAction()->trigger();
}

void SmallScreenTest::cleanup()
{
    delete m_app;
}

// Each window opens within the screen; each key, pressed `times` in the
// window named from the control named, leaves the focused control (the
// caret of a text box) wholly in view.
void SmallScreenTest::focusMoves_keepTheFocusInView_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QKeyCombination>("key");
    QTest::addColumn<int>("times");
    const QString exam = QStringLiteral("frmVardo"), table = QStringLiteral("RichTextBox1");
    QTest::newRow("Tab round every stop") << exam << "SSTab1" << QKeyCombination(Qt::Key_Tab) << 150;
    QTest::newRow("Shift+Tab back round") << exam << "SSTab1" << (Qt::ShiftModifier | Qt::Key_Backtab) << 150;
    QTest::newRow("Ctrl+Tab over the pages") << exam << "chkVardo1(1)" << (Qt::ControlModifier | Qt::Key_Tab) << 30;
    QTest::newRow("verdict: Down to the end") << "frm合格ライン6" << table << QKeyCombination(Qt::Key_Down) << 130;
    QTest::newRow("verdict: End of a line") << "frm合格ライン6" << table << QKeyCombination(Qt::Key_End) << 1;
    QTest::newRow("help: Ctrl+End") << "frmヘルプ" << table << (Qt::ControlModifier | Qt::Key_End) << 1;
}

void SmallScreenTest::focusMoves_keepTheFocusInView()
{
    QFETCH(QString, window);
    QFETCH(QString, from);
    QFETCH(QKeyCombination, key);
    QFETCH(int, times);
    QWidget *target = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets())
        target = top->objectName() == window && top->isVisible() ? top : target;
    // Opened within the screen, its design scrolled.
    QVERIFY(target && target->screen()->availableGeometry().contains(target->frameGeometry()));
    target->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(target));
    examcontrols::find(target, from)->setFocus(Qt::OtherFocusReason);
    auto *area = target->findChild<QScrollArea *>();
    QVERIFY(area);
    const QRect view = area->viewport()->rect();
    for (int i = 0; i < times; ++i) {
        QTest::keyClick(target->focusWidget(), key.key(), key.keyboardModifiers());
        QWidget *focus = target->focusWidget();
        QVERIFY(focus && focus != area);
        QRect wanted = focus->rect();
        if (auto *text = qobject_cast<QTextEdit *>(focus))
            wanted = text->cursorRect().translated(text->viewport()->pos());
        if (wanted.width() > view.width() || wanted.height() > view.height())
            wanted.setSize(QSize(1, 1)); // larger than the view: its top-left shows
        const QRect shown(area->viewport()->mapFromGlobal(focus->mapToGlobal(wanted.topLeft())), wanted.size());
        const QString where = focus->objectName() + QStringLiteral(" after key %1").arg(i + 1);
        QVERIFY2(view.contains(shown), qPrintable(where));
        // A magnifier told where the focus (the caret's character) lies
        // looks where it is drawn, in the screen's pixels.
        const QRect drawn = QRectF(QPointF(focus->mapToGlobal(wanted.topLeft())) * focus->devicePixelRatio(),
                                   QSizeF(wanted.size()) * focus->devicePixelRatio())
                                .toRect();
        QAccessibleInterface *heard = QAccessible::queryAccessibleInterface(focus);
        for (int tab = 0; heard->role() == QAccessible::PageTabList && tab < heard->childCount(); ++tab) {
            if (heard->child(tab)->state().selected)
                heard = heard->child(tab); // the page's tab, where the tabs start
        }
        QAccessibleTextInterface *text = heard->textInterface();
        if (text && text->cursorPosition() >= text->characterCount())
            continue; // no character at the end
        const QRect told = text ? text->characterRect(text->cursorPosition()) : heard->rect();
        QVERIFY2(qAbs(told.left() - drawn.left()) <= 3 && told.top() >= drawn.top() - 3 && told.top() <= drawn.bottom(),
                 qPrintable(where
                            + QStringLiteral(": told %1,%2, drawn %3,%4")
                                  .arg(told.left())
                                  .arg(told.top())
                                  .arg(drawn.left())
                                  .arg(drawn.top())));
    }
}

VARDO_TEST_MAIN(SmallScreenTest)
#include "smallscreen_test.moc"
