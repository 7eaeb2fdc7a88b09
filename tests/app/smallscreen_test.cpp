#include "app/vardoapp.h"
#include "exam/examwindow.h"

#include <QAction>
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
    ExamWindow *m_exam = nullptr;
};

void SmallScreenTest::init()
{
    m_app = new VardoApp;
    m_app->start();
    m_exam = m_app->examWindow();
    QVERIFY(QTest::qWaitForWindowExposed(m_exam));
    examcontrols::click(m_exam, QStringLiteral("cmd得点"));
    examcontrols::click(m_exam, QStringLiteral("cmd合格率"));
    m_exam->findChild<QAction *>(QStringLiteral("mnuAbout"))->trigger();
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
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("times");
    const int ctrl = Qt::ControlModifier;
    const QString tab1 = QStringLiteral("SSTab1"), box = QStringLiteral("chkVardo1(1)");
    const QString exam = QStringLiteral("frmVardo"), table = QStringLiteral("RichTextBox1");
    QTest::newRow("Tab round every stop") << exam << tab1 << int(Qt::Key_Tab) << 0 << 150;
    QTest::newRow("Shift+Tab back round") << exam << tab1 << int(Qt::Key_Backtab) << int(Qt::ShiftModifier) << 150;
    QTest::newRow("Ctrl+Tab over the answer pages") << exam << box << int(Qt::Key_Tab) << ctrl << 30;
    QTest::newRow("verdict: Down to the table's end") << "frm合格ライン6" << table << int(Qt::Key_Down) << 0 << 130;
    QTest::newRow("verdict: End of a line") << "frm合格ライン6" << table << int(Qt::Key_End) << 0 << 1;
    QTest::newRow("help: Ctrl+End") << "frmヘルプ" << table << int(Qt::Key_End) << ctrl << 1;
}

void SmallScreenTest::focusMoves_keepTheFocusInView()
{
    QFETCH(QString, window);
    QFETCH(QString, from);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, times);
    QWidget *target = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (top->objectName() == window && top->isVisible())
            target = top;
    }
    // Opened within the screen, its design scrolled.
    QVERIFY(target && target->screen()->availableGeometry().contains(target->frameGeometry()));
    target->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(target));
    examcontrols::find(target, from)->setFocus(Qt::OtherFocusReason);
    auto *area = target->findChild<QScrollArea *>();
    QVERIFY(area);
    const QRect view = area->viewport()->rect();
    for (int i = 0; i < times; ++i) {
        QTest::keyClick(target->focusWidget(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QWidget *focus = target->focusWidget();
        QVERIFY(focus && focus != area);
        QRect wanted = focus->rect();
        if (auto *text = qobject_cast<QTextEdit *>(focus))
            wanted = text->cursorRect().translated(text->viewport()->pos());
        if (wanted.width() > view.width() || wanted.height() > view.height())
            wanted.setSize(QSize(1, 1)); // larger than the view: its top-left shows
        const QRect shown(area->viewport()->mapFromGlobal(focus->mapToGlobal(wanted.topLeft())), wanted.size());
        QVERIFY2(view.contains(shown), qPrintable(QStringLiteral("%1 after %2 keys: %3,%4 %5x%6")
                                                      .arg(focus->objectName()).arg(i + 1)
                                                      .arg(shown.x()).arg(shown.y())
                                                      .arg(shown.width()).arg(shown.height())));
    }
}

VARDO_TEST_MAIN(SmallScreenTest)
#include "smallscreen_test.moc"
