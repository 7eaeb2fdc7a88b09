#include "exam/answerkey.h"
#include "exam/examwindow.h"
#include "widgets/tabpages.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "support/examcontrols.h"
#include "support/labelink.h"
#include <QTimer>
#include "support/testmain.h"

class ExamWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void opens_idleWithNothingTickedOrMarked();
    void boxes_matchTheAnswerPages();
    void ticks_surviveSwitchingPages();
    void score_marksRightGroupsAndKeepsTicks();
    void score_overwritesEarlierMarks();
    void score_stopsClockAndEnablesStart();
    void scoreLabel_widthFollowsText();
    void mark_showsOnlyOnItsOwnPage();
    void labels_showTheirTextWholeInEitherGothic_data();
    void labels_showTheirTextWholeInEitherGothic();

private:
    template<typename T>
    T *find(const QString &name) const { return examcontrols::find<T>(m_window, name); }
    QCheckBox *box(int group, int choice) const { return examcontrols::box(m_window, group, choice); }
    QLabel *mark(int group) const { return examcontrols::mark(m_window, group); }
    void tick(int group, int choice) { examcontrols::tickBox(m_window, group, choice); }
    void clickScore() { examcontrols::click(m_window, QStringLiteral("cmd得点")); }

    ExamWindow *m_window = nullptr;
};

void ExamWindowTest::init()
{
    m_window = new ExamWindow;
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void ExamWindowTest::cleanup()
{
    delete m_window;
    m_window = nullptr;
}


void ExamWindowTest::opens_idleWithNothingTickedOrMarked()
{
    QCOMPARE(m_window->objectName(), QStringLiteral("frmVardo"));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("問題 （Vardo）"));
    QVERIFY(find<QPushButton>(QStringLiteral("cmdスタート"))->isEnabled());
    QVERIFY(!find<QTimer>(QStringLiteral("tmr時間"))->isActive());
    QCOMPARE(find<QTimer>(QStringLiteral("tmr時間"))->interval(), 1000);
    QVERIFY(find<QLabel>(QStringLiteral("lbl秒"))->text().isEmpty());
    QVERIFY(m_window->scoreText().isEmpty());
    for (int g = 1; g <= groupCount; ++g)
        QVERIFY(mark(g)->isHidden());
    for (QCheckBox *each : m_window->findChildren<QCheckBox *>())
        QVERIFY(!each->isChecked());
    QCOMPARE(find<TabPages>(QStringLiteral("SSTab1"))->currentIndex(), 0);
    QCOMPARE(find<TabPages>(QStringLiteral("SSTab2"))->currentIndex(), 0);
    QVERIFY(find<QWidget>(QStringLiteral("MMControl1"))->isHidden());
    QTRY_COMPARE(QApplication::focusWidget(), find<QWidget>(QStringLiteral("SSTab1")));
}

// 130 boxes, each group's boxes numbered from 1 with circled digits, and
// group 1 living in Frame2 (the frames of groups 1 and 2 are swapped).
void ExamWindowTest::boxes_matchTheAnswerPages()
{
    QCOMPARE(m_window->findChildren<QCheckBox *>().size(), 130);
    QCOMPARE(box(10, 6)->text(), QStringLiteral("⑥"));
    QCOMPARE(box(17, 8)->text(), QStringLiteral("⑧"));
    QVERIFY(!m_window->findChild<QCheckBox *>(examcontrols::element(QStringLiteral("chkVardo3"), 5)));
    QCOMPARE(box(1, 1)->parent()->objectName(), QStringLiteral("Frame2"));
    QCOMPARE(box(2, 1)->parent()->objectName(), QStringLiteral("Frame1"));
    QCOMPARE(find<QWidget>(QStringLiteral("Frame27"))->x() + 8,
             find<QWidget>(QStringLiteral("Frame26"))->x());
}

void ExamWindowTest::ticks_surviveSwitchingPages()
{
    tick(4, 2);
    tick(4, 5);
    tick(20, 1);
    auto *answers = find<TabPages>(QStringLiteral("SSTab2"));
    answers->setCurrentIndex(26);
    answers->setCurrentIndex(3);
    QVERIFY(box(4, 2)->isChecked());
    QVERIFY(box(4, 5)->isChecked());
    QVERIFY(box(20, 1)->isChecked());
    QVERIFY(box(4, 2)->isVisible());
    QVERIFY(!box(20, 1)->isVisible());
}

void ExamWindowTest::score_marksRightGroupsAndKeepsTicks()
{
    tick(1, 3);   // right, 4 points
    tick(7, 5);   // right, 3 points
    tick(10, 2);  // right with the unexamined sixth box
    tick(10, 6);
    tick(17, 6);  // two ticks: wrong
    tick(17, 1);
    clickScore();

    QCOMPARE(m_window->scoreText(), QStringLiteral("11"));
    QVERIFY(!mark(1)->isHidden());
    QVERIFY(!mark(7)->isHidden());
    QVERIFY(!mark(10)->isHidden());
    QVERIFY(mark(17)->isHidden());
    QVERIFY(mark(2)->isHidden());
    QVERIFY(box(17, 6)->isChecked());
    QVERIFY(box(10, 6)->isChecked());
}

void ExamWindowTest::score_overwritesEarlierMarks()
{
    tick(3, 1);
    clickScore();
    QCOMPARE(m_window->scoreText(), QStringLiteral("4"));
    tick(3, 1); // unticks it
    clickScore();
    QCOMPARE(m_window->scoreText(), QStringLiteral("0"));
    QVERIFY(mark(3)->isHidden());
}

void ExamWindowTest::score_stopsClockAndEnablesStart()
{
    auto *start = find<QPushButton>(QStringLiteral("cmdスタート"));
    auto *timer = find<QTimer>(QStringLiteral("tmr時間"));
    auto *seconds = find<QLabel>(QStringLiteral("lbl秒"));
    start->setEnabled(false);
    timer->start();
    seconds->setText(QStringLiteral("0:42"));
    clickScore();
    QVERIFY(start->isEnabled());
    QVERIFY(!timer->isActive());
    QVERIFY(seconds->text().isEmpty());
}

void ExamWindowTest::scoreLabel_widthFollowsText()
{
    auto *score = find<QLabel>(QStringLiteral("lbl得点"));
    const int height = score->height();
    tick(1, 3);
    clickScore();
    const int oneDigit = score->width();
    for (const GroupKey &key : AnswerKey) {
        if (key.group != 1)
            tick(key.group, key.correctChoice);
    }
    clickScore();
    QCOMPARE(m_window->scoreText(), QStringLiteral("100"));
    QVERIFY(score->width() > 2 * oneDigit);
    QCOMPARE(score->height(), height);
    QVERIFY(score->x() + score->width() <= find<QLabel>(QStringLiteral("Label2"))->geometry().right());
}

void ExamWindowTest::mark_showsOnlyOnItsOwnPage()
{
    tick(5, 3);
    clickScore();
    auto *answers = find<TabPages>(QStringLiteral("SSTab2"));
    answers->setCurrentIndex(4);
    QVERIFY(mark(5)->isVisible());
    answers->setCurrentIndex(5);
    QVERIFY(!mark(5)->isVisible());
    answers->setCurrentIndex(4);
    QVERIFY(mark(5)->isVisible());
}

void ExamWindowTest::labels_showTheirTextWholeInEitherGothic_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    for (const QString &family : labelink::gothicFaces) {
        const QByteArray face = family.toUtf8();
        QTest::addRow("%s, time", face.data()) << family << "lbl秒" << "0:59";
        QTest::addRow("%s, score", face.data()) << family << "lbl得点" << "100";
        QTest::addRow("%s, unit", face.data()) << family << "Label2" << "";
        QTest::addRow("%s, average", face.data()) << family << "Label4" << "";
        QTest::addRow("%s, time frame", face.data()) << family << "Label1" << "";
    }
}

void ExamWindowTest::labels_showTheirTextWholeInEitherGothic()
{
    QFETCH(QString, family);
    QFETCH(QString, name);
    QFETCH(QString, caption);
    if (!labelink::installed(family))
        QSKIP("font not installed");
    auto *label = find<QLabel>(name);
    if (!caption.isEmpty())
        label->setText(caption);
    label->resize(qMax(label->width(), 200), label->height()); // the score strip's grows with its text
    const auto [shown, whole] = labelink::shownAndWhole(label, family);
    QVERIFY2(whole > 0 && shown >= whole * 98 / 100,
             qPrintable(QStringLiteral("%1 of %2").arg(shown).arg(whole)));
}

VARDO_TEST_MAIN(ExamWindowTest)
#include "examwindow_test.moc"
