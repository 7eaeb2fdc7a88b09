#include "app/vardoapp.h"
#include "exam/answerkey.h"
#include "exam/examwindow.h"
#include "support/examcontrols.h"
#include "support/openfiles.h"
#include "support/testmain.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>

#include <set>

namespace {

using examcontrols::openWindows;

// The frame is not known until a window is first shown, so centring may be
// off by the frame's margins, no more.
bool centredOnScreen(const QWidget *window)
{
    const QRect frame = window->frameGeometry();
    const QPoint offset = frame.center() - window->screen()->availableGeometry().center();
    const QSize margins = frame.size() - window->size();
    return std::abs(offset.x()) <= margins.width() + 1 && std::abs(offset.y()) <= margins.height() + 1;
}

QTextEdit *documentOf(const QWidget *window)
{
    return window->findChild<QTextEdit *>(QStringLiteral("RichTextBox1"));
}

// Runs the event loop until the program quits or `limitMs` passes; the exit
// code is 0 when it quit by itself and -1 when the limit was reached.
int runEventLoop(int limitMs)
{
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, [] { QCoreApplication::exit(-1); });
    limit.start(limitMs);
    return QCoreApplication::exec();
}

} // namespace

class VardoAppTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void start_opensMainWindowAloneAndCentred();
    void passRate_opensTheBandsWindow_data();
    void passRate_opensTheBandsWindow();
    void askedAgain_raisesTheOneWindow_data();
    void askedAgain_raisesTheOneWindow();
    void afterClose_rebuildsAtFirstLineCentred_data();
    void afterClose_rebuildsAtFirstLineCentred();
    void exit_closesEveryWindowAndEndsTheProgram_data();
    void exit_closesEveryWindowAndEndsTheProgram();
    void closeMainWindow_leavesHelpOpenAndProgramRunning();
    void ctrlT_saysTheTimeInEveryWindow_data();
    void ctrlT_saysTheTimeInEveryWindow();

private:
    template<typename T>
    T *find(const QString &name) const
    {
        return examcontrols::find<T>(m_app->examWindow(), name);
    }
    void click(const QString &button) { examcontrols::click(m_app->examWindow(), button); }
    void toggleCorrectChoice(int group);
    // Ticks the correct choice of every group not in `wrong`, then marks.
    void markAllRightExcept(const std::set<int> &wrong);
    QWidget *passLine(int band) const { return m_app->passLineWindow(band); }
    // Asks for the help or the first band's verdict, as the candidate does.
    void ask(bool help);
    QWidget *secondary(bool help) const { return help ? m_app->helpWindow() : passLine(1); }

    VardoApp *m_app = nullptr;
};

void VardoAppTest::init()
{
    m_app = new VardoApp;
    m_app->start();
    QVERIFY(QTest::qWaitForWindowExposed(m_app->examWindow()));
}

void VardoAppTest::cleanup()
{
    delete m_app;
    m_app = nullptr;
    QTest::qWait(0); // lets closed windows finish their deferred delete
    QCOMPARE(openWindows(), QStringList());
    QTRY_COMPARE(leftBehind(), QStringList());
}

void VardoAppTest::toggleCorrectChoice(int group)
{
    examcontrols::tickBox(m_app->examWindow(), group, AnswerKey.at(group - 1).correctChoice);
}

void VardoAppTest::markAllRightExcept(const std::set<int> &wrong)
{
    for (int group = 1; group <= groupCount; ++group) {
        if (!wrong.contains(group))
            toggleCorrectChoice(group);
    }
    click(QStringLiteral("cmd得点"));
}

void VardoAppTest::ask(bool help)
{
    if (help)
        find<QAction>(QStringLiteral("mnuAbout"))->trigger();
    else
        click(QStringLiteral("cmd合格率"));
}

void VardoAppTest::start_opensMainWindowAloneAndCentred()
{
    QCOMPARE(openWindows(), QStringList{QStringLiteral("frmVardo")});
    // Nothing else is built before its first use, not even hidden.
    for (QWidget *widget : QApplication::topLevelWidgets())
        QVERIFY2(!widget->objectName().startsWith(u"frm") || widget == m_app->examWindow(),
                 qPrintable(widget->objectName()));
    QVERIFY(centredOnScreen(m_app->examWindow()));
}

void VardoAppTest::passRate_opensTheBandsWindow_data()
{
    QTest::addColumn<QList<int>>("wrong");
    QTest::addColumn<QString>("score");
    QTest::addColumn<int>("band");
    QList<int> all;
    for (int group = 1; group <= groupCount; ++group)
        all << group;
    QTest::newRow("100") << QList<int>{} << QStringLiteral("100") << 1;
    QTest::newRow("44") << all.mid(12) << QStringLiteral("44") << 4;
    QTest::newRow("0") << all << QStringLiteral("0") << 6;
}

void VardoAppTest::passRate_opensTheBandsWindow()
{
    QFETCH(QList<int>, wrong);
    QFETCH(QString, score);
    QFETCH(int, band);
    markAllRightExcept(std::set<int>(wrong.begin(), wrong.end()));
    QCOMPARE(m_app->examWindow()->scoreText(), score);

    click(QStringLiteral("cmd合格率"));
    const QString name = QStringLiteral("frm合格ライン%1").arg(band);
    QCOMPARE(openWindows(), (QStringList{QStringLiteral("frmVardo"), name}));
    QWidget *window = passLine(band);
    QVERIFY(window->isWindow());
    QCOMPARE(window->parentWidget(), nullptr);
    QVERIFY(centredOnScreen(window));
    // Modeless: the main window stays usable.
    QVERIFY(!window->isModal());
    QVERIFY(find<QPushButton>(QStringLiteral("cmdスタート"))->isEnabled());
}

// clang-format off
void VardoAppTest::askedAgain_raisesTheOneWindow_data()
{
    QTest::addColumn<bool>("help");
    QTest::addColumn<bool>("minimized");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("title");
    QTest::newRow("pass line") << false << false << "frm合格ライン1" << " 合格ライン";
    QTest::newRow("pass line, minimized") << false << true << "frm合格ライン1" << " 合格ライン";
    QTest::newRow("help") << true << false << "frmヘルプ" << "バージョン情報";
    QTest::newRow("help, minimized") << true << true << "frmヘルプ" << "バージョン情報";
}
// clang-format on

void VardoAppTest::askedAgain_raisesTheOneWindow()
{
    QFETCH(bool, help);
    QFETCH(bool, minimized);
    QFETCH(QString, name);
    QFETCH(QString, title);
    markAllRightExcept({});
    ask(help);
    QPointer<QWidget> first = secondary(help);
    QVERIFY(first);
    QCOMPARE(first->objectName(), name);
    QCOMPARE(first->windowTitle(), title);
    QCOMPARE(first->parentWidget(), nullptr);
    if (minimized) {
        first->showMinimized();
        QVERIFY(first->isMinimized());
    }
    m_app->examWindow()->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), m_app->examWindow());

    ask(help);
    ask(help);
    QCOMPARE(secondary(help), first.data());
    QCOMPARE(openWindows(), (QStringList{QStringLiteral("frmVardo"), name}));
    QVERIFY(!first->isMinimized());
    QTRY_COMPARE(QApplication::activeWindow(), first.data());
}

void VardoAppTest::afterClose_rebuildsAtFirstLineCentred_data()
{
    QTest::addColumn<bool>("help");
    QTest::newRow("pass line") << false;
    QTest::newRow("help") << true;
}

void VardoAppTest::afterClose_rebuildsAtFirstLineCentred()
{
    QFETCH(bool, help);
    markAllRightExcept({});
    ask(help);
    QPointer<QWidget> first = secondary(help);
    first->move(0, 0);
    documentOf(first)->verticalScrollBar()->setValue(200);
    first->close();
    QCOMPARE(secondary(help), nullptr);

    ask(help); // before the closed one is even deleted
    QWidget *again = secondary(help);
    QVERIFY(again && again != first.data());
    QVERIFY(again->isVisible());
    QTRY_VERIFY(first.isNull());
    QVERIFY(centredOnScreen(again));
    QTextEdit *document = documentOf(again);
    QCOMPARE(document->verticalScrollBar()->value(), 0);
    QTRY_COMPARE(again->focusWidget(), document);
    QVERIFY(document->isReadOnly());
    // The caret opens on the first line with words, the one a screen reader says.
    const QTextCursor caret = document->textCursor();
    QCOMPARE(caret.positionInBlock(), 0);
    QVERIFY(!caret.block().text().trimmed().isEmpty());
    for (QTextBlock line = document->document()->begin(); line != caret.block(); line = line.next())
        QVERIFY(line.text().trimmed().isEmpty());
}

void VardoAppTest::exit_closesEveryWindowAndEndsTheProgram_data()
{
    QTest::addColumn<bool>("othersOpen");
    QTest::newRow("every window open") << true;
    QTest::newRow("only the main window") << false;
}

void VardoAppTest::exit_closesEveryWindowAndEndsTheProgram()
{
    QFETCH(bool, othersOpen);
    if (othersOpen) {
        ask(true);
        markAllRightExcept({1}); // band 2
        click(QStringLiteral("cmd合格率"));
        toggleCorrectChoice(1);
        click(QStringLiteral("cmd得点")); // band 1
        click(QStringLiteral("cmd合格率"));
        click(QStringLiteral("cmdスタート")); // a running clock ends with its window
        QCOMPARE(openWindows().size(), 4);
    }

    QSignalSpy quitting(qApp, &QGuiApplication::lastWindowClosed);
    QTimer::singleShot(0, find<QAction>(QStringLiteral("mnuExit")), &QAction::trigger);
    QCOMPARE(runEventLoop(5000), 0);
    QCOMPARE(quitting.count(), 1);
    QCOMPARE(openWindows(), QStringList());
    QVERIFY(!m_app->examWindow());
    QCOMPARE(m_app->helpWindow(), nullptr); // closed, or passed over and never opened
}

void VardoAppTest::closeMainWindow_leavesHelpOpenAndProgramRunning()
{
    find<QAction>(QStringLiteral("mnuAbout"))->trigger();
    QSignalSpy quitting(qApp, &QGuiApplication::lastWindowClosed);
    QTimer::singleShot(0, m_app->examWindow(), &QWidget::close);
    QCOMPARE(runEventLoop(300), -1); // still running when the limit came
    QCOMPARE(quitting.count(), 0);
    QCOMPARE(openWindows(), QStringList{QStringLiteral("frmヘルプ")});
    QVERIFY(!m_app->examWindow());

    // Closing the last window ends it.
    QTimer::singleShot(0, m_app->helpWindow(), &QWidget::close);
    QCOMPARE(runEventLoop(5000), 0);
}

void VardoAppTest::ctrlT_saysTheTimeInEveryWindow_data()
{
    QTest::addColumn<bool>("help");
    QTest::addColumn<bool>("clockRuns");
    QTest::addColumn<QString>("said");
    QTest::newRow("verdict, clock stopped") << false << false << QStringLiteral("時間は計っていません");
    QTest::newRow("verdict, clock running") << false << true << QStringLiteral("残り時間 60 分");
    QTest::newRow("help, clock running") << true << true << QStringLiteral("残り時間 60 分");
}

// Said by the window the candidate is in; Escape closes none of them.
void VardoAppTest::ctrlT_saysTheTimeInEveryWindow()
{
    QFETCH(bool, help);
    QFETCH(bool, clockRuns);
    QFETCH(QString, said);
    markAllRightExcept({});
    ask(help);
    QWidget *window = secondary(help);
    if (clockRuns)
        click(QStringLiteral("cmdスタート"));
    window->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), window);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_T, Qt::ControlModifier);
    auto *announcer = window->findChild<QWidget *>(QStringLiteral("announcer"));
    QVERIFY(announcer);
    QCOMPARE(announcer->accessibleName(), said);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(window->isVisible());
}

VARDO_TEST_MAIN(VardoAppTest)
#include "vardoapp_test.moc"
