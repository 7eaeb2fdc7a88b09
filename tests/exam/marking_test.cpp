#include "exam/answerkey.h"

#include <QTest>

#include <algorithm>
#include <vector>

namespace {

struct Tick
{
    int group, choice;
};

AnswerSheet sheetOf(const std::vector<Tick> &ticks)
{
    AnswerSheet sheet;
    for (const Tick &tick : ticks)
        sheet.setTicked(tick.group, tick.choice, true);
    return sheet;
}

std::vector<Tick> keyTicks(int onlyPoints = 0)
{
    std::vector<Tick> ticks;
    for (const GroupKey &key : AnswerKey) {
        if (onlyPoints == 0 || key.points == onlyPoints)
            ticks.push_back({key.group, key.correctChoice});
    }
    return ticks;
}

} // namespace

Q_DECLARE_METATYPE(std::vector<Tick>)

class MarkingTest : public QObject
{
    Q_OBJECT

private slots:
    void markAnswers_totals_data();
    void markAnswers_totals();
    void groupVerdict_data();
    void groupVerdict();
    void unticking_lowersScoreByGroupPoints();
};

void MarkingTest::markAnswers_totals_data()
{
    QTest::addColumn<std::vector<Tick>>("ticks");
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("correctGroups");

    QTest::newRow("nothing ticked") << std::vector<Tick>{} << 0 << 0;
    QTest::newRow("the whole key") << keyTicks() << 100 << 27;
    QTest::newRow("only the 3-point groups") << keyTicks(3) << 24 << 8;
    QTest::newRow("only the 4-point groups") << keyTicks(4) << 76 << 19;

    std::vector<Tick> allBoxes;
    for (int g = 1; g <= groupCount; ++g) {
        for (int k = 1; k <= maxChoices; ++k)
            allBoxes.push_back({g, k});
    }
    QTest::newRow("every box ticked") << allBoxes << 0 << 0;

    std::vector<Tick> keyWithExtra = keyTicks();
    keyWithExtra.push_back({1, 1});
    QTest::newRow("a second tick in group 1") << keyWithExtra << 96 << 26;
}

void MarkingTest::markAnswers_totals()
{
    QFETCH(std::vector<Tick>, ticks);
    QFETCH(int, total);
    QFETCH(int, correctGroups);

    const Marking marking = MarkAnswers(sheetOf(ticks));
    QCOMPARE(marking.total, total);
    QCOMPARE(int(std::count(marking.correct.begin(), marking.correct.end(), true)),
             correctGroups);
    for (int i = 0; i < groupCount; ++i)
        QCOMPARE(marking.points[i], marking.correct[i] ? AnswerKey[i].points : 0);
}

void MarkingTest::groupVerdict_data()
{
    QTest::addColumn<int>("group");
    QTest::addColumn<std::vector<int>>("choices");
    QTest::addColumn<bool>("correct");

    QTest::newRow("group 10: 2 alone") << 10 << std::vector<int>{2} << true;
    QTest::newRow("group 10: 2 and the unexamined 6") << 10 << std::vector<int>{2, 6} << true;
    QTest::newRow("group 10: 6 alone") << 10 << std::vector<int>{6} << false;
    QTest::newRow("group 10: 2 and 5") << 10 << std::vector<int>{2, 5} << false;
    QTest::newRow("group 17: 6 alone") << 17 << std::vector<int>{6} << true;
    QTest::newRow("group 17: 6 and 8") << 17 << std::vector<int>{6, 8} << false;
    QTest::newRow("group 17: 8 alone") << 17 << std::vector<int>{8} << false;
    QTest::newRow("group 3: 1 alone") << 3 << std::vector<int>{1} << true;
    QTest::newRow("group 3: 1 and 4") << 3 << std::vector<int>{1, 4} << false;
    QTest::newRow("group 18: 4 and 6") << 18 << std::vector<int>{4, 6} << false;
    QTest::newRow("group 22: 6 alone") << 22 << std::vector<int>{6} << false;
    QTest::newRow("group 1: nothing") << 1 << std::vector<int>{} << false;
}

void MarkingTest::groupVerdict()
{
    QFETCH(int, group);
    QFETCH(std::vector<int>, choices);
    QFETCH(bool, correct);

    AnswerSheet sheet;
    for (int choice : choices)
        sheet.setTicked(group, choice, true);
    const Marking marking = MarkAnswers(sheet);
    QCOMPARE(marking.correct[group - 1], correct);
    QCOMPARE(marking.total, correct ? AnswerKey[group - 1].points : 0);
}

void MarkingTest::unticking_lowersScoreByGroupPoints()
{
    AnswerSheet sheet = sheetOf(keyTicks());
    QCOMPARE(MarkAnswers(sheet).total, 100);
    sheet.setTicked(7, 5, false);
    const Marking second = MarkAnswers(sheet);
    QCOMPARE(second.total, 97);
    QVERIFY(!second.correct[6]);
}

QTEST_APPLESS_MAIN(MarkingTest)
#include "marking_test.moc"
