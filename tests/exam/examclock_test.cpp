#include "document/documentview.h"
#include "exam/answerkey.h"
#include "support/examfixture.h"
#include "support/testmain.h"

#include <QPushButton>
#include <QTest>

class ExamClockTest : public QObject, ExamFixture
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(open()); }
    void cleanup() { close(); }
    void announcements_sayWhatChanged_data();
    void announcements_sayWhatChanged();
    void ctrlR_saysTheGroupsRight_data();
    void ctrlR_saysTheGroupsRight();
};

// clang-format off
void ExamClockTest::announcements_sayWhatChanged_data()
{
    QTest::addColumn<int>("minutes");
    QTest::addColumn<QString>("then"); // a control pressed after the minutes
    QTest::addColumn<QString>("said");
    QTest::addColumn<QString>("onCtrlT");
    const QString noScore = QStringLiteral("まだ採点していません。得点を押すと採点します");
    const QString started = QStringLiteral("開始 残り時間 60 分。残り時間は Ctrl+T で聞けます");
    QTest::newRow("start") << 0 << "" << started << "残り時間 60 分";
    QTest::newRow("eleven left: nothing new") << 49 << "" << started << "残り時間 11 分";
    QTest::newRow("ten left") << 50 << "" << "残り 10 分" << "残り時間 10 分";
    QTest::newRow("five left") << 55 << "" << "残り 5 分" << "残り時間 5 分";
    QTest::newRow("time up: the boxes stay open") << 60 << "" << "時間です。終了です。解答はまだ変えられます"
                                                  << "時間切れです";
    QTest::newRow("score stops the clock") << 10 << "cmd得点" << "得点 0 点 27 問中 0 問正解。時間を止めました"
                                           << "時間は計っていません";
    QTest::newRow("score after time-up stops nothing") << 60 << "cmd得点" << "得点 0 点 27 問中 0 問正解"
                                                       << "時間は計っていません";
    QTest::newRow("pass rate before marking") << 1 << "cmd合格率" << noScore << "残り時間 59 分";
    QTest::newRow("pass rate after marking") << 1 << "cmd得点,cmd合格率"
                                             << "得点 0 点 27 問中 0 問正解。時間を止めました"
                                             << "時間は計っていません";
    QTest::newRow("a link swaps the page") << 1 << "Scriptlet1" << "ページが変わりました。解答と解説"
                                           << "残り時間 59 分";
    QTest::newRow("a zoom step") << 1 << "Scriptlet1+" << "文字の大きさ 125 パーセント" << "残り時間 59 分";
    QTest::newRow("a zoom past the largest") << 1 << QStringLiteral("Scriptlet1+,").repeated(7)
                                             << "文字の大きさは 300 パーセントのままです" << "残り時間 59 分";
}
// clang-format on

// Said to a screen reader without moving the focus, minutes passing at once.
void ExamClockTest::announcements_sayWhatChanged()
{
    QFETCH(int, minutes);
    QFETCH(QString, then);
    QFETCH(QString, said);
    QFETCH(QString, onCtrlT);
    auto *announcer = find(QStringLiteral("announcer"));
    QTest::keyClick(window, Qt::Key_T, Qt::ControlModifier);
    QCOMPARE(announcer->accessibleName(), QStringLiteral("時間は計っていません"));
    click(QStringLiteral("cmdスタート"));
    tickAt(now.addSecs(60 * minutes));
    for (const QString &name : then.split(u',', Qt::SkipEmptyParts)) {
        if (name.endsWith(u'+')) // Ctrl++ on the pane
            QTest::keyClick(find(name.chopped(1)), Qt::Key_Plus, Qt::ControlModifier);
        else if (auto *pane = qobject_cast<DocumentView *>(find(name)))
            emit pane->pageFollowed(QStringLiteral("解答と解説")); // as a followed link tells it
        else
            QTest::mouseClick(find<QPushButton>(name), Qt::LeftButton);
    }
    QCOMPARE(announcer->accessibleName(), said);
    QTest::keyClick(window, Qt::Key_T, Qt::ControlModifier);
    QCOMPARE(announcer->accessibleName(), onCtrlT);
}

// The groups ticked right (by the key) before Score; Ctrl+R then names
// those the marking found right, as their pages are named.
void ExamClockTest::ctrlR_saysTheGroupsRight_data()
{
    QTest::addColumn<QList<int>>("right");
    QTest::addColumn<bool>("marked");
    QTest::addColumn<QString>("said");
    QTest::newRow("before marking") << QList<int>{1} << false << "まだ採点していません";
    QTest::newRow("none right") << QList<int>{} << true << "正解の問はありません";
    QTest::newRow("first and last") << QList<int>{1, 27} << true << "正解 1-問1-1、5-問5";
}

void ExamClockTest::ctrlR_saysTheGroupsRight()
{
    QFETCH(QList<int>, right);
    QFETCH(bool, marked);
    QFETCH(QString, said);
    for (int group : right)
        tick(group, AnswerKey[group - 1].correctChoice);
    if (marked)
        click(QStringLiteral("cmd得点"));
    auto *announcer = find(QStringLiteral("announcer"));
    if (marked)
        QCOMPARE(announcer->accessibleName().endsWith(QStringLiteral("正解の問は Ctrl+R で聞けます")),
                 !right.isEmpty());
    QTest::keyClick(window, Qt::Key_R, Qt::ControlModifier);
    QCOMPARE(announcer->accessibleName(), said);
}

VARDO_TEST_MAIN(ExamClockTest)

#include "examclock_test.moc"
