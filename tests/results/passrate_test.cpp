#include "results/passrate.h"

#include <QTest>

#include <climits>

class PassRateTest : public QObject
{
    Q_OBJECT

private slots:
    void judge_scoreFallsInItsBand_data();
    void judge_scoreFallsInItsBand();
};

// Every edge of every band, and numbers no marking gives, which judge to none.
void PassRateTest::judge_scoreFallsInItsBand_data()
{
    QTest::addColumn<int>("score");
    QTest::addColumn<std::optional<int>>("band");
    const std::pair<int, std::optional<int>> cases[] = {
        {100, 1},
        {99, 2},
        {80, 2},
        {79, 3},
        {60, 3},
        {59, 4},
        {40, 4},
        {39, 5},
        {9, 5},
        {1, 5},
        {0, 6},
        {-1, std::nullopt},
        {101, std::nullopt},
        {INT_MAX, std::nullopt},
        {INT_MIN, std::nullopt},
    };
    for (const auto &[score, band] : cases)
        QTest::addRow("%d", score) << score << band;
}

void PassRateTest::judge_scoreFallsInItsBand()
{
    QFETCH(int, score);
    QFETCH(std::optional<int>, band);
    QCOMPARE(JudgePassRate(score), band);
}

QTEST_APPLESS_MAIN(PassRateTest)
#include "passrate_test.moc"
