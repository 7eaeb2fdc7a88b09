#include "exam/answerkey.h"
#include "exam/examwindow.h"
#include "widgets/tabpages.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include "support/examcontrols.h"
#include "support/heardevents.h"
#include "support/testmain.h"

namespace {

QAccessibleInterface *accessibleOf(QWidget *widget)
{
    return QAccessible::queryAccessibleInterface(widget);
}

// The children of `object` that events of `type` were raised for.
QList<int> childrenOf(const HeardEvents &heard, QObject *object, QAccessible::Event type)
{
    QList<int> children;
    for (const HeardEvents::Event &event : heard.of(object, type))
        children.append(event.child);
    return children;
}

QString spokenName(QWidget *widget)
{
    QAccessibleInterface *face = accessibleOf(widget);
    return face ? face->text(QAccessible::Name) : QStringLiteral("<no interface>");
}

} // namespace

// What a screen reader hears, and a paper marked without the mouse.
class AccessibilityTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void controls_haveSpokenNames_data();
    void controls_haveSpokenNames();
    void strips_speakCaptionWithItsUnit_data();
    void strips_speakCaptionWithItsUnit();
    void answerTabs_speakTheCurrentPage();
    void tabContainers_listTheirTabs_data();
    void tabContainers_listTheirTabs();
    void tabChange_raisesFocusAndSelection();
    void keyboardOnly_marksOneGroup();
    void marking_raisesOnePagesWordsBeforeItsNotice_data();
    void marking_raisesOnePagesWordsBeforeItsNotice();
    void keys_keepTheFocusWhereTheCandidateIs_data();
    void keys_keepTheFocusWhereTheCandidateIs();
    void menus_openByAccessKeys_data();
    void menus_openByAccessKeys();

private:
    template<typename T = QWidget>
    T *find(const QString &name) const
    {
        return examcontrols::find<T>(m_window, name);
    }
    QWidget *focused() const { return QApplication::focusWidget(); }
    bool tabTo(const QString &name, int mostPresses);
    void verifyOnePageThenNotice(const HeardEvents &heard, int shown) const;
    void verifyMarkHeardOnShownPageOnly(const QList<int> &correct) const;

    ExamWindow *m_window = nullptr;
};

void AccessibilityTest::init()
{
    m_window = new ExamWindow;
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
}

void AccessibilityTest::cleanup()
{
    delete m_window;
    m_window = nullptr;
}

void AccessibilityTest::controls_haveSpokenNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("spoken");
    const int box = QAccessible::CheckBox;
    QTest::newRow("first box of the first page") << "chkVardo1(1)" << box << QStringLiteral("1-問1-1 の ①");
    QTest::newRow("third box of the first page") << "chkVardo1(3)" << box << QStringLiteral("1-問1-1 の ③");
    QTest::newRow("sixth box of the six-choice page") << "chkVardo10(6)" << box << QStringLiteral("2A-問3 の ⑥");
    QTest::newRow("last box of the eight-choice page") << "chkVardo17(8)" << box << QStringLiteral("3B-問4 の ⑧");
    QTest::newRow("last page") << "chkVardo27(5)" << box << QStringLiteral("5-問5 の ⑤");
    QTest::newRow("mark") << "pctマル(1)" << int(QAccessible::Graphic) << QStringLiteral("正解");
    QTest::newRow("last mark") << "pctマル(27)" << int(QAccessible::Graphic) << QStringLiteral("正解");
    // Every answer page repeats it: a reader passes over it as layout, or
    // would say 「答え パネル」 again on each change of page.
    QTest::newRow("answer frame") << "Frame2" << int(QAccessible::Client) << QStringLiteral("答え");
    QTest::newRow("question tabs") << "SSTab1" << int(QAccessible::PageTabList) << QStringLiteral("問題");
    QTest::newRow("answer tabs") << "SSTab2" << int(QAccessible::PageTabList) << QStringLiteral("1-問1-1");
    QTest::newRow("empty time strip") << "lbl秒" << int(QAccessible::StaticText) << QString();
    QTest::newRow("empty score strip") << "lbl得点" << int(QAccessible::StaticText) << QString();
    // Their words are in the strips' names: heard once, not again beside them.
    QTest::newRow("words round the time") << "Label1" << int(QAccessible::StaticText) << QString();
    QTest::newRow("unit of the score") << "Label2" << int(QAccessible::StaticText) << QString();
    // Its comma is a decimal mark: heard as one number, not 55 and 91.
    QTest::newRow("average") << "Label4" << int(QAccessible::StaticText) << QStringLiteral("平均 55.91 点");
}

void AccessibilityTest::controls_haveSpokenNames()
{
    QFETCH(QString, name);
    QFETCH(int, role);
    QFETCH(QString, spoken);
    QWidget *widget = find(name);
    QCOMPARE(spokenName(widget), spoken);
    QCOMPARE(int(accessibleOf(widget)->role()), role);
    // A reader reviewing the window passes by what has nothing to say.
    const bool passedBy = name.startsWith(QStringLiteral("Label")) && spoken.isEmpty();
    QCOMPARE(bool(accessibleOf(widget)->state().invisible), passedBy || !widget->isVisible());
}

// clang-format off
void AccessibilityTest::strips_speakCaptionWithItsUnit_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("spoken");
    // The clock's minutes as minutes: "0:59" is not fifty-nine seconds.
    QTest::newRow("time at start") << "lbl秒" << "1:00" << QStringLiteral("残り 60 分");
    QTest::newRow("time running") << "lbl秒" << "0:59" << QStringLiteral("残り 59 分");
    QTest::newRow("time up") << "lbl秒" << "0:00" << QStringLiteral("残り 0 分");
    QTest::newRow("time emptied") << "lbl秒" << "" << QString();
    QTest::newRow("score") << "lbl得点" << "85" << QStringLiteral("85 点");
    QTest::newRow("full score") << "lbl得点" << "100" << QStringLiteral("100 点");
    QTest::newRow("score emptied") << "lbl得点" << "" << QString();
}
// clang-format on

// The caption is set here as the clock and marking set it; the spoken name
// must follow whoever writes it.
void AccessibilityTest::strips_speakCaptionWithItsUnit()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, spoken);
    auto *strip = find<QLabel>(name);
    strip->setText(QStringLiteral("9:99"));
    QVERIFY(!spokenName(strip).isEmpty());
    strip->setText(caption);
    QCOMPARE(spokenName(strip), spoken);
    QCOMPARE(strip->text(), caption);
}

void AccessibilityTest::answerTabs_speakTheCurrentPage()
{
    auto *tabs = find<TabPages>(QStringLiteral("SSTab2"));
    tabs->setCurrentIndex(16);
    QCOMPARE(spokenName(tabs), QStringLiteral("3B-問4"));
    tabs->setCurrentIndex(26);
    QCOMPARE(spokenName(tabs), QStringLiteral("5-問5"));
}

void AccessibilityTest::tabContainers_listTheirTabs_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("choose");
    QTest::addColumn<QString>("chosen");
    QTest::newRow("question tabs") << "SSTab1" << 12 << 3 << QStringLiteral("図３");
    QTest::newRow("answer tabs") << "SSTab2" << 27 << 9 << QStringLiteral("2A-問3");
}

// Each tab is a named page tab where it is drawn; the pages and their
// controls follow the tabs, still reachable.
void AccessibilityTest::tabContainers_listTheirTabs()
{
    QFETCH(QString, name);
    QFETCH(int, count);
    QFETCH(int, choose);
    QFETCH(QString, chosen);
    auto *tabs = find<TabPages>(name);
    QAccessibleInterface *list = accessibleOf(tabs);
    QCOMPARE(list->childCount(), 2 * count);
    QAccessibleInterface *tab = list->child(choose);
    QCOMPARE(tab->role(), QAccessible::PageTab);
    QCOMPARE(tab->text(QAccessible::Name), chosen);
    QCOMPARE(tab->parent(), list);
    QCOMPARE(list->indexOfChild(tab), choose);
    QVERIFY(!tab->state().selected);
    QCOMPARE(tab->rect(), QRect(tabs->mapToGlobal(tabs->tabRect(choose).topLeft()), tabs->tabRect(choose).size()));
    QCOMPARE(list->childAt(tab->rect().center().x(), tab->rect().center().y()), tab);

    tab->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(tabs->currentIndex(), choose);
    for (int i = 0; i < count; ++i) {
        QCOMPARE(list->child(i)->role(), QAccessible::PageTab);
        QCOMPARE(list->child(i)->text(QAccessible::Name), tabs->tabText(i));
        QCOMPARE(bool(list->child(i)->state().selected), i == choose);
    }
    QAccessibleInterface *page = list->child(count + choose);
    QCOMPARE(page->object(), tabs->page(choose));
    QCOMPARE(list->indexOfChild(page), count + choose);
    QVERIFY(page->childCount() > 0);
}

void AccessibilityTest::tabChange_raisesFocusAndSelection()
{
    auto *tabs = find<TabPages>(QStringLiteral("SSTab2"));
    tabs->setFocus();
    const HeardEvents heard;
    QTest::keyClick(tabs, Qt::Key_Right);

    QVERIFY(childrenOf(heard, tabs, QAccessible::Focus).contains(1));
    QVERIFY(childrenOf(heard, tabs, QAccessible::Selection).contains(1));
    QVERIFY(accessibleOf(tabs)->child(1)->state().focused);
    QVERIFY(!accessibleOf(tabs)->child(0)->state().focused);
}

// Presses Tab on whatever has the focus until `name` has it.
bool AccessibilityTest::tabTo(const QString &name, int mostPresses)
{
    for (int i = 0; i < mostPresses; ++i) {
        if (focused() && focused()->objectName() == name)
            return true;
        QTest::keyClick(focused(), Qt::Key_Tab);
    }
    return focused() && focused()->objectName() == name;
}

void AccessibilityTest::keyboardOnly_marksOneGroup()
{
    QCOMPARE(focused()->objectName(), QStringLiteral("SSTab1"));
    QTest::keyClick(focused(), Qt::Key_Tab);
    QCOMPARE(focused()->objectName(), QStringLiteral("SSTab2"));
    for (int i = 0; i < 9; ++i)
        QTest::keyClick(focused(), Qt::Key_Right);
    QCOMPARE(
        find<TabPages>(QStringLiteral("SSTab2"))->tabText(find<TabPages>(QStringLiteral("SSTab2"))->currentIndex()),
        QStringLiteral("2A-問3"));

    QVERIFY(tabTo(QStringLiteral("chkVardo10(2)"), 12));
    QTest::keyClick(focused(), Qt::Key_Space);
    QVERIFY(find<QCheckBox>(QStringLiteral("chkVardo10(2)"))->isChecked());

    QVERIFY(tabTo(QStringLiteral("cmd得点"), 12));
    QTest::keyClick(focused(), Qt::Key_Space);

    auto *mark = find<QLabel>(QStringLiteral("pctマル(10)"));
    QTRY_VERIFY(mark->isVisible());
    QCOMPARE(find<QLabel>(QStringLiteral("pctマル(1)"))->isVisibleTo(m_window), false);
    QCOMPARE(m_window->scoreText(), QStringLiteral("4"));
    QCOMPARE(spokenName(find(QStringLiteral("lbl得点"))), QStringLiteral("4 点"));
    QCOMPARE(spokenName(find(QStringLiteral("announcer"))),
             QStringLiteral("得点 4 点 27 問中 1 問正解。正解の問は Ctrl+R で聞けます"));
    // The mark is heard with the boxes of its page, and only there.
    auto nameOf = [this](const char *box) {
        return accessibleOf(find(QString::fromUtf8(box)))->text(QAccessible::Name);
    };
    QCOMPARE(nameOf("chkVardo10(1)"), QStringLiteral("2A-問3 の ①、") + ExamWindow::correctGroupWords());
    QCOMPARE(nameOf("chkVardo10(6)"), QStringLiteral("2A-問3 の ⑥、") + ExamWindow::correctGroupWords());
    QCOMPARE(nameOf("chkVardo1(1)"), QStringLiteral("1-問1-1 の ①"));
    QTest::mouseClick(find<QPushButton>(QStringLiteral("cmdスタート")), Qt::LeftButton);
    QCOMPARE(nameOf("chkVardo10(1)"), QStringLiteral("2A-問3 の ①"));
}

void AccessibilityTest::marking_raisesOnePagesWordsBeforeItsNotice_data()
{
    QTest::addColumn<QList<int>>("correct"); // groups ticked right
    QTest::addColumn<int>("shown");          // the answer page shown at Score
    QTest::addColumn<int>("next");           // the page shown after it
    QList<int> all;
    for (int g = 1; g <= groupCount; ++g)
        all.append(g);
    QTest::newRow("none correct") << QList<int>{} << 0 << 9;
    QTest::newRow("one correct, its page shown") << QList<int>{10} << 9 << 0;
    QTest::newRow("one correct, another page shown") << QList<int>{10} << 0 << 9;
    QTest::newRow("all correct") << all << 26 << 16;
    QTest::newRow("all but the shown page") << all.mid(1) << 0 << 1;
}

// A screen reader with a long queue of events drops the notices in it: a
// marking and the Start after it must raise no more than the shown page's
// events, all of them before the notice, however many groups are correct.
void AccessibilityTest::marking_raisesOnePagesWordsBeforeItsNotice()
{
    QFETCH(QList<int>, correct);
    QFETCH(int, shown);
    QFETCH(int, next);
    for (int group : correct)
        examcontrols::box(m_window, group, AnswerKey[group - 1].correctChoice)->setChecked(true);
    auto *tabs = find<TabPages>(QStringLiteral("SSTab2"));
    tabs->setCurrentIndex(shown);

    HeardEvents heard;
    examcontrols::click(m_window, QStringLiteral("cmd得点"));
    verifyOnePageThenNotice(heard, shown);
    verifyMarkHeardOnShownPageOnly(correct);
    if (QTest::currentTestFailed())
        return;

    tabs->setCurrentIndex(next);
    verifyMarkHeardOnShownPageOnly(correct);

    heard.clear();
    examcontrols::click(m_window, QStringLiteral("cmdスタート"));
    verifyOnePageThenNotice(heard, next);
    verifyMarkHeardOnShownPageOnly({});
}

// No event from the controls of a page not shown, and none from the shown
// page's controls after the notice.
void AccessibilityTest::verifyOnePageThenNotice(const HeardEvents &heard, int shown) const
{
    auto *tabs = find<TabPages>(QStringLiteral("SSTab2"));
    QObject *announcer = find(QStringLiteral("announcer"));
    qsizetype notice = -1;
    for (qsizetype i = 0; i < heard.events().size(); ++i) {
        const HeardEvents::Event &event = heard.events().at(i);
        if (event.object == announcer && event.type == QAccessible::ObjectShow)
            notice = i;
    }
    QVERIFY2(notice >= 0, "no notice");
    for (qsizetype i = 0; i < heard.events().size(); ++i) {
        auto *widget = qobject_cast<QWidget *>(heard.events().at(i).object);
        for (int page = 0; widget && page < tabs->count(); ++page) {
            if (!tabs->page(page)->isAncestorOf(widget))
                continue;
            QVERIFY2(page == shown, qPrintable(widget->objectName() + " on a page not shown"));
            QVERIFY2(i < notice, qPrintable(widget->objectName() + " after the notice"));
        }
    }
}

void AccessibilityTest::verifyMarkHeardOnShownPageOnly(const QList<int> &correct) const
{
    const int shown = find<TabPages>(QStringLiteral("SSTab2"))->currentIndex();
    for (int group = 1; group <= groupCount; ++group) {
        const bool said = group - 1 == shown && correct.contains(group);
        // The mark itself, for a reader's review of the window.
        QAccessibleInterface *mark = accessibleOf(examcontrols::mark(m_window, group));
        QCOMPARE(mark->text(QAccessible::Name), QStringLiteral("正解"));
        QCOMPARE(bool(mark->state().invisible), !said);
        for (QCheckBox *box :
             m_window->findChildren<QCheckBox *>(QRegularExpression(QStringLiteral("^chkVardo%1\\(").arg(group)))) {
            const QString name = accessibleOf(box)->text(QAccessible::Name);
            QCOMPARE(name.endsWith(ExamWindow::correctGroupWords()), said);
            QCOMPARE(accessibleOf(box)->text(QAccessible::Description), QString());
        }
    }
}

void AccessibilityTest::keys_keepTheFocusWhereTheCandidateIs_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("to");
    QTest::addColumn<int>("answerPage");
    const int ctrlTab = (Qt::ControlModifier | Qt::Key_Tab).toCombined();
    QTest::newRow("Space on Start") << "cmdスタート" << int(Qt::Key_Space) << "chkVardo1(1)" << 0;
    QTest::newRow("Ctrl+Tab on a box") << "chkVardo1(3)" << ctrlTab << "chkVardo2(3)" << 1;
    QTest::newRow("Ctrl+Shift+Tab on a box")
        << "chkVardo2(1)" << (Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_Backtab).toCombined() << "chkVardo1(1)"
        << 0;
    QTest::newRow("Ctrl+Tab to fewer boxes") << "chkVardo17(8)" << ctrlTab << "chkVardo18(6)" << 17;
    QTest::newRow("Ctrl+Tab on the last page") << "chkVardo27(2)" << ctrlTab << "chkVardo1(2)" << 0;
    // Arrows walk one group's boxes and stop at its ends, whatever its count.
    QTest::newRow("Down on a group's last of 4") << "chkVardo3(4)" << int(Qt::Key_Down) << "chkVardo3(4)" << 2;
    QTest::newRow("Right on a group's last of 5") << "chkVardo1(5)" << int(Qt::Key_Right) << "chkVardo1(5)" << 0;
    QTest::newRow("Down on a group's last of 8") << "chkVardo17(8)" << int(Qt::Key_Down) << "chkVardo17(8)" << 16;
    QTest::newRow("Up on a group's first") << "chkVardo10(1)" << int(Qt::Key_Up) << "chkVardo10(1)" << 9;
    QTest::newRow("Left on a group's first") << "chkVardo27(1)" << int(Qt::Key_Left) << "chkVardo27(1)" << 26;
    QTest::newRow("Down within a group of 6") << "chkVardo18(3)" << int(Qt::Key_Down) << "chkVardo18(4)" << 17;
    QTest::newRow("Up within a group of 8") << "chkVardo17(8)" << int(Qt::Key_Up) << "chkVardo17(7)" << 16;
    QTest::newRow("Right within a group of 6") << "chkVardo22(5)" << int(Qt::Key_Right) << "chkVardo22(6)" << 21;
    QTest::newRow("Home to a group's first") << "chkVardo17(5)" << int(Qt::Key_Home) << "chkVardo17(1)" << 16;
    QTest::newRow("End to a group's last of 8") << "chkVardo17(2)" << int(Qt::Key_End) << "chkVardo17(8)" << 16;
    QTest::newRow("keypad End to a group's last of 4")
        << "chkVardo3(1)" << (Qt::KeypadModifier | Qt::Key_End).toCombined() << "chkVardo3(4)" << 2;
}

void AccessibilityTest::keys_keepTheFocusWhereTheCandidateIs()
{
    QFETCH(QString, from);
    QFETCH(int, key);
    QFETCH(QString, to);
    QFETCH(int, answerPage);
    auto *answers = find<TabPages>(QStringLiteral("SSTab2"));
    for (int page = 0; page < answers->count(); ++page)
        answers->setCurrentIndex(answers->page(page)->findChild<QWidget *>(from) ? page : answers->currentIndex());
    QVERIFY(m_window->testAttribute(Qt::WA_KeyboardFocusChange)); // focus drawn from the start
    find(from)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(focused(), Qt::Key(key & ~Qt::KeyboardModifierMask),
                    Qt::KeyboardModifiers(key & Qt::KeyboardModifierMask));
    QCOMPARE(focused()->objectName(), to);
    QCOMPARE(answers->currentIndex(), answerPage);
    QVERIFY(m_window->testAttribute(Qt::WA_KeyboardFocusChange));
}

void AccessibilityTest::menus_openByAccessKeys_data()
{
    QTest::addColumn<int>("menuKey");
    QTest::addColumn<QString>("menu");
    QTest::addColumn<int>("itemKey");
    QTest::addColumn<QString>("item");
    QTest::newRow("game, exit") << int(Qt::Key_G) << "mnuGame" << int(Qt::Key_Q) << "mnuExit";
    QTest::newRow("help, about") << int(Qt::Key_H) << "mnuHelp" << int(Qt::Key_A) << "mnuAbout";
}

void AccessibilityTest::menus_openByAccessKeys()
{
    QFETCH(int, menuKey);
    QFETCH(QString, menu);
    QFETCH(int, itemKey);
    QFETCH(QString, item);
    auto *action = m_window->findChild<QAction *>(item);
    QVERIFY(action);
    QSignalSpy triggered(action, &QAction::triggered);

    QTest::keyClick(m_window, Qt::Key(menuKey), Qt::AltModifier);
    auto *popup = find<QMenu>(menu);
    QTRY_VERIFY(popup->isVisible());
    QTest::keyClick(popup, Qt::Key(itemKey));
    QTRY_COMPARE(triggered.count(), 1);
}

VARDO_TEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
