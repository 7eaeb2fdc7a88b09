#include "exam/answerkey.h"
#include "exam/examwindow.h"
#include "widgets/tabpages.h"
#include "support/examfixture.h"
#include "support/labelink.h"
#include "support/testmain.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

class ExamWindowTest : public QObject, ExamFixture
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(open()); }
    void cleanup() { close(); }
    void opens_idleWithNothingTickedOrMarked();
    void boxes_matchTheAnswerPages();
    void pages_keepTheirTicksAndShowTheirOwnMark();
    void scoreLabel_widthFollowsText();
    void labels_showTheirTextWholeInEitherGothic_data();
    void labels_showTheirTextWholeInEitherGothic();

private:
    void clickScore() { click(QStringLiteral("cmd得点")); }
};

void ExamWindowTest::opens_idleWithNothingTickedOrMarked()
{
    QCOMPARE(window->objectName(), QStringLiteral("frmVardo"));
    QCOMPARE(window->windowTitle(), QStringLiteral("問題 （Vardo）"));
    QVERIFY(find<QPushButton>(QStringLiteral("cmdスタート"))->isEnabled());
    QVERIFY(!timer()->isActive());
    QCOMPARE(timer()->interval(), 1000);
    QVERIFY(display().isEmpty());
    QVERIFY(window->scoreText().isEmpty());
    for (int g = 1; g <= groupCount; ++g)
        QVERIFY(mark(g)->isHidden());
    for (QCheckBox *each : window->findChildren<QCheckBox *>())
        QVERIFY(!each->isChecked());
    QCOMPARE(find<TabPages>(QStringLiteral("SSTab1"))->currentIndex(), 0);
    QCOMPARE(find<TabPages>(QStringLiteral("SSTab2"))->currentIndex(), 0);
    QVERIFY(find(QStringLiteral("MMControl1"))->isHidden());
    QTRY_COMPARE(QApplication::focusWidget(), find(QStringLiteral("SSTab1")));
}

// 130 boxes, each group's boxes numbered from 1 with circled digits, and
// group 1 living in Frame2 (the frames of groups 1 and 2 are swapped).
void ExamWindowTest::boxes_matchTheAnswerPages()
{
    QCOMPARE(window->findChildren<QCheckBox *>().size(), 130);
    QCOMPARE(box(10, 6)->text(), QStringLiteral("⑥"));
    QCOMPARE(box(17, 8)->text(), QStringLiteral("⑧"));
    QVERIFY(!window->findChild<QCheckBox *>(examcontrols::element(QStringLiteral("chkVardo3"), 5)));
    QCOMPARE(box(1, 1)->parent()->objectName(), QStringLiteral("Frame2"));
    QCOMPARE(box(2, 1)->parent()->objectName(), QStringLiteral("Frame1"));
    QCOMPARE(find(QStringLiteral("Frame27"))->x() + 8, find(QStringLiteral("Frame26"))->x());
}

// Ticks stay through page changes; a mark shows on its own page only.
void ExamWindowTest::pages_keepTheirTicksAndShowTheirOwnMark()
{
    tick(4, 2);
    tick(4, 5);
    tick(5, 3); // right
    tick(20, 1);
    clickScore();
    auto *answers = find<TabPages>(QStringLiteral("SSTab2"));
    answers->setCurrentIndex(26);
    answers->setCurrentIndex(3);
    QVERIFY(box(4, 2)->isChecked());
    QVERIFY(box(4, 5)->isChecked());
    QVERIFY(box(20, 1)->isChecked());
    QVERIFY(box(4, 2)->isVisible());
    QVERIFY(!box(20, 1)->isVisible());
    QVERIFY(!mark(5)->isVisible());
    answers->setCurrentIndex(4);
    QVERIFY(mark(5)->isVisible());
    QVERIFY(box(5, 3)->isChecked());
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
    QCOMPARE(window->scoreText(), QStringLiteral("100"));
    QVERIFY(score->width() > 2 * oneDigit);
    QCOMPARE(score->height(), height);
    QVERIFY(score->x() + score->width() <= find<QLabel>(QStringLiteral("Label2"))->geometry().right());
}

// clang-format off
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
// clang-format on

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
    QVERIFY2(whole > 0 && shown >= whole * 98 / 100, qPrintable(QStringLiteral("%1 of %2").arg(shown).arg(whole)));
}

VARDO_TEST_MAIN(ExamWindowTest)
#include "examwindow_test.moc"
