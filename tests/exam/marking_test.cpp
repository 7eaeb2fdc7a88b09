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

std::vector<Tick> keyWithout(Tick left)
{
    std::vector<Tick> ticks = keyTicks();
    std::erase_if(ticks, [&](const Tick &t) { return t.group == left.group && t.choice == left.choice; });
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
};

// A group is right when its correct choice alone, of those examined, is ticked.
void MarkingTest::markAnswers_totals_data()
{
    QTest::addColumn<std::vector<Tick>>("ticks");
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("correctGroups");

    QTest::newRow("nothing ticked") << std::vector<Tick>{} << 0 << 0;
    QTest::newRow("the whole key") << keyTicks() << 100 << 27;
    QTest::newRow("only the 3-point groups") << keyTicks(3) << 24 << 8;
    QTest::newRow("only the 4-point groups") << keyTicks(4) << 76 << 19;
    QTest::newRow("the whole key but 7(5)") << keyWithout({7, 5}) << 97 << 26;

    std::vector<Tick> allBoxes;
    for (int g = 1; g <= groupCount; ++g) {
        for (int k = 1; k <= maxChoices; ++k)
            allBoxes.push_back({g, k});
    }
    QTest::newRow("every box ticked") << allBoxes << 0 << 0;

    std::vector<Tick> keyWithExtra = keyTicks();
    keyWithExtra.push_back({1, 1});
    QTest::newRow("a second tick in group 1") << keyWithExtra << 96 << 26;

    using T = std::vector<Tick>;
    QTest::newRow("group 10: 2 alone") << T{{10, 2}} << 4 << 1;
    QTest::newRow("group 10: 2 and the unexamined 6") << T{{10, 2}, {10, 6}} << 4 << 1;
    QTest::newRow("group 10: 6 alone") << T{{10, 6}} << 0 << 0;
    QTest::newRow("group 10: 2 and 5") << T{{10, 2}, {10, 5}} << 0 << 0;
    QTest::newRow("group 17: 6 alone") << T{{17, 6}} << 3 << 1;
    QTest::newRow("group 17: 6 and 8") << T{{17, 6}, {17, 8}} << 0 << 0;
    QTest::newRow("group 17: 8 alone") << T{{17, 8}} << 0 << 0;
    QTest::newRow("group 3: 1 alone") << T{{3, 1}} << 4 << 1;
    QTest::newRow("group 3: 1 and 4") << T{{3, 1}, {3, 4}} << 0 << 0;
    QTest::newRow("group 18: 4 and 6") << T{{18, 4}, {18, 6}} << 0 << 0;
    QTest::newRow("group 22: 6 alone") << T{{22, 6}} << 0 << 0;
}

void MarkingTest::markAnswers_totals()
{
    QFETCH(std::vector<Tick>, ticks);
    QFETCH(int, total);
    QFETCH(int, correctGroups);

    const Marking marking = MarkAnswers(sheetOf(ticks));
    QCOMPARE(marking.total, total);
    QCOMPARE(int(std::count(marking.correct.begin(), marking.correct.end(), true)), correctGroups);
    for (int i = 0; i < groupCount; ++i)
        QCOMPARE(marking.points[i], marking.correct[i] ? AnswerKey[i].points : 0);
}

QTEST_APPLESS_MAIN(MarkingTest)
#include "marking_test.moc"
