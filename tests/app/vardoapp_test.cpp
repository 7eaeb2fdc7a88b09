#include "app/vardoapp.h"
#include "exam/answerkey.h"
#include "exam/examwindow.h"
#include "widgets/tabpages.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "support/examcontrols.h"
#include <QTextEdit>
#include <QTimer>

#include <set>
#include "support/testmain.h"

namespace {

QStringList openWindows()
{
    QStringList names;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->windowType() == Qt::Window)
            names << widget->objectName();
    }
    names.sort();
    return names;
}

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
    void start_opensMainWindowAloneCentredAndIdle();
    void passRate_emptyScore_opensNothing();
    void passRate_opensTheBandsWindow_data();
    void passRate_opensTheBandsWindow();
    void passRate_sameBandAgain_raisesTheOneWindow();
    void passRate_otherBand_opensBesideTheFirst();
    void passRate_afterClose_rebuildsAtFirstLineCentred();
    void about_twice_raisesTheOneHelpWindow();
    void about_afterClose_rebuildsAtFirstLine();
    void minimizedWindow_comesBackWhenAskedForAgain_data();
    void minimizedWindow_comesBackWhenAskedForAgain();
    void exit_closesEveryWindowAndEndsTheProgram();
    void exit_withOnlyMainWindow_endsTheProgram();
    void closeMainWindow_leavesHelpOpenAndProgramRunning();
    void ctrlT_saysTheTimeInEveryWindow_data();
    void ctrlT_saysTheTimeInEveryWindow();

private:
    template<typename T>
    T *find(const QString &name) const { return examcontrols::find<T>(m_app->examWindow(), name); }
    void click(const QString &button) { examcontrols::click(m_app->examWindow(), button); }
    void toggleCorrectChoice(int group);
    // Ticks the correct choice of every group not in `wrong`, then marks.
    void markAllRightExcept(const std::set<int> &wrong);
    QWidget *passLine(int band) const { return m_app->passLineWindow(band); }

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

void VardoAppTest::start_opensMainWindowAloneCentredAndIdle()
{
    QCOMPARE(openWindows(), QStringList{QStringLiteral("frmVardo")});
    // Nothing else is built before its first use, not even hidden.
    for (QWidget *widget : QApplication::topLevelWidgets())
        QVERIFY2(!widget->objectName().startsWith(u"frm") || widget == m_app->examWindow(),
                 qPrintable(widget->objectName()));
    QVERIFY(centredOnScreen(m_app->examWindow()));
    QVERIFY(find<QPushButton>(QStringLiteral("cmdスタート"))->isEnabled());
    QVERIFY(find<QLabel>(QStringLiteral("lbl得点"))->text().isEmpty());
    QVERIFY(find<QLabel>(QStringLiteral("lbl秒"))->text().isEmpty());
}

void VardoAppTest::passRate_emptyScore_opensNothing()
{
    click(QStringLiteral("cmd合格率"));
    click(QStringLiteral("cmd合格率"));
    QCOMPARE(openWindows(), QStringList{QStringLiteral("frmVardo")});
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

void VardoAppTest::passRate_sameBandAgain_raisesTheOneWindow()
{
    markAllRightExcept({});
    click(QStringLiteral("cmd合格率"));
    QPointer<QWidget> first = passLine(1);
    QVERIFY(first);
    m_app->examWindow()->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), m_app->examWindow());

    click(QStringLiteral("cmd合格率"));
    click(QStringLiteral("cmd合格率"));
    QCOMPARE(passLine(1), first.data());
    QCOMPARE(openWindows().count(QStringLiteral("frm合格ライン1")), 1);
    QTRY_COMPARE(QApplication::activeWindow(), first.data());
}

void VardoAppTest::passRate_otherBand_opensBesideTheFirst()
{
    markAllRightExcept({1}); // 96
    click(QStringLiteral("cmd合格率"));
    QWidget *first = passLine(2);

    toggleCorrectChoice(1); // now ticked: every group right
    click(QStringLiteral("cmd得点"));
    QCOMPARE(m_app->examWindow()->scoreText(), QStringLiteral("100"));
    click(QStringLiteral("cmd合格率"));
    QCOMPARE(openWindows(), (QStringList{QStringLiteral("frmVardo"), QStringLiteral("frm合格ライン1"),
                                         QStringLiteral("frm合格ライン2")}));
    QCOMPARE(passLine(2), first);

    // A new attempt empties the score: the click opens nothing, the verdicts stay.
    click(QStringLiteral("cmdスタート"));
    click(QStringLiteral("cmd合格率"));
    QCOMPARE(openWindows().size(), 3);
}

void VardoAppTest::passRate_afterClose_rebuildsAtFirstLineCentred()
{
    markAllRightExcept({});
    click(QStringLiteral("cmd合格率"));
    QPointer<QWidget> first = passLine(1);
    first->move(0, 0);
    documentOf(first)->verticalScrollBar()->setValue(300);
    first->close();
    QCOMPARE(passLine(1), nullptr);

    click(QStringLiteral("cmd合格率")); // before the closed one is even deleted
    QWidget *again = passLine(1);
    QVERIFY(again && again != first.data());
    QVERIFY(again->isVisible());
    QTRY_VERIFY(first.isNull());
    QVERIFY(centredOnScreen(again));
    QCOMPARE(documentOf(again)->verticalScrollBar()->value(), 0);
    QTRY_COMPARE(again->focusWidget(), documentOf(again));
}

void VardoAppTest::about_twice_raisesTheOneHelpWindow()
{
    auto *about = find<QAction>(QStringLiteral("mnuAbout"));
    about->trigger();
    QPointer<QWidget> help = m_app->helpWindow();
    QVERIFY(help);
    QCOMPARE(help->objectName(), QStringLiteral("frmヘルプ"));
    QCOMPARE(help->windowTitle(), QStringLiteral("バージョン情報"));
    QCOMPARE(help->parentWidget(), nullptr);
    m_app->examWindow()->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), m_app->examWindow());

    about->trigger();
    QCOMPARE(m_app->helpWindow(), help.data());
    QCOMPARE(openWindows(), (QStringList{QStringLiteral("frmVardo"), QStringLiteral("frmヘルプ")}));
    QTRY_COMPARE(QApplication::activeWindow(), help.data());
}

void VardoAppTest::about_afterClose_rebuildsAtFirstLine()
{
    auto *about = find<QAction>(QStringLiteral("mnuAbout"));
    about->trigger();
    QPointer<QWidget> first = m_app->helpWindow();
    documentOf(first)->verticalScrollBar()->setValue(200);
    first->close();
    QTRY_VERIFY(first.isNull());

    about->trigger();
    QWidget *again = m_app->helpWindow();
    QVERIFY(again && again->isVisible());
    QVERIFY(centredOnScreen(again));
    QTextEdit *document = documentOf(again);
    QCOMPARE(document->verticalScrollBar()->value(), 0);
    QTRY_COMPARE(again->focusWidget(), document);
    QVERIFY(document->isReadOnly());
}

void VardoAppTest::minimizedWindow_comesBackWhenAskedForAgain_data()
{
    QTest::addColumn<bool>("help");
    QTest::newRow("pass line") << false;
    QTest::newRow("help") << true;
}

void VardoAppTest::minimizedWindow_comesBackWhenAskedForAgain()
{
    QFETCH(bool, help);
    markAllRightExcept({});
    auto *about = find<QAction>(QStringLiteral("mnuAbout"));
    const auto ask = [&] { help ? about->trigger() : click(QStringLiteral("cmd合格率")); };
    const auto window = [&] { return help ? m_app->helpWindow() : passLine(1); };
    ask();
    QPointer<QWidget> first = window();
    first->showMinimized();
    QVERIFY(first->isMinimized());
    m_app->examWindow()->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), m_app->examWindow());

    ask();
    QCOMPARE(window(), first.data());
    QVERIFY(!first->isMinimized());
    QVERIFY(first->isVisible());
    QTRY_COMPARE(QApplication::activeWindow(), first.data());
}

void VardoAppTest::exit_closesEveryWindowAndEndsTheProgram()
{
    find<QAction>(QStringLiteral("mnuAbout"))->trigger();
    markAllRightExcept({1}); // band 2
    click(QStringLiteral("cmd合格率"));
    toggleCorrectChoice(1);
    click(QStringLiteral("cmd得点")); // band 1
    click(QStringLiteral("cmd合格率"));
    click(QStringLiteral("cmdスタート")); // a running clock ends with its window
    QCOMPARE(openWindows().size(), 4);

    QSignalSpy quitting(qApp, &QGuiApplication::lastWindowClosed);
    QTimer::singleShot(0, find<QAction>(QStringLiteral("mnuExit")), &QAction::trigger);
    QCOMPARE(runEventLoop(5000), 0);
    QCOMPARE(quitting.count(), 1);
    QCOMPARE(openWindows(), QStringList());
    QVERIFY(!m_app->examWindow());
}

void VardoAppTest::exit_withOnlyMainWindow_endsTheProgram()
{
    QSignalSpy quitting(qApp, &QGuiApplication::lastWindowClosed);
    QTimer::singleShot(0, find<QAction>(QStringLiteral("mnuExit")), &QAction::trigger);
    QCOMPARE(runEventLoop(5000), 0);
    QCOMPARE(quitting.count(), 1);
    QCOMPARE(m_app->helpWindow(), nullptr); // passed over, never opened
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
    if (help)
        find<QAction>(QStringLiteral("mnuAbout"))->trigger();
    else
        click(QStringLiteral("cmd合格率"));
    QWidget *window = help ? m_app->helpWindow() : passLine(1);
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
