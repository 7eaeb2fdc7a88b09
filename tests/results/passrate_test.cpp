#include "results/passrate.h"

#include <QTest>

class PassRateTest : public QObject
{
    Q_OBJECT

private slots:
    void judge_scoreFallsInItsBand_data();
    void judge_scoreFallsInItsBand();
    void judge_textThatIsNoScore_givesNone_data();
    void judge_textThatIsNoScore_givesNone();
};

void PassRateTest::judge_scoreFallsInItsBand_data()
{
    QTest::addColumn<QString>("score");
    QTest::addColumn<int>("band");
    const std::pair<const char *, int> cases[] = {
        {"100", 1}, {"99", 2}, {"80", 2}, {"79", 3}, {"60", 3}, {"59", 4}, {"40", 4},
        {"39", 5}, {"9", 5},   {"3", 5},  {"1", 5},  {"0", 6},
    };
    for (const auto &[score, band] : cases)
        QTest::newRow(score) << QString::fromLatin1(score) << band;
}

void PassRateTest::judge_scoreFallsInItsBand()
{
    QFETCH(QString, score);
    QFETCH(int, band);
    QCOMPARE(JudgePassRate(score), std::optional<int>(band));
}

void PassRateTest::judge_textThatIsNoScore_givesNone_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("negative") << QStringLiteral("-1");
    QTest::newRow("above 100") << QStringLiteral("101");
    QTest::newRow("far above") << QStringLiteral("99999999999");
    QTest::newRow("trailing letter") << QStringLiteral("1a");
    QTest::newRow("leading blank") << QStringLiteral(" 5");
    QTest::newRow("trailing blank") << QStringLiteral("5 ");
    QTest::newRow("plus sign") << QStringLiteral("+5");
    QTest::newRow("leading zero") << QStringLiteral("007");
    QTest::newRow("double zero") << QStringLiteral("00");
    QTest::newRow("full-width digits") << QStringLiteral("１００");
    QTest::newRow("decimal") << QStringLiteral("50.0");
}

void PassRateTest::judge_textThatIsNoScore_givesNone()
{
    QFETCH(QString, text);
    QCOMPARE(JudgePassRate(text), std::nullopt);
}

QTEST_APPLESS_MAIN(PassRateTest)
#include "passrate_test.moc"
