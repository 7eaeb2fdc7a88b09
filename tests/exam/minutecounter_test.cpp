#include "exam/minutecounter.h"

#include <QTest>

#include "support/testtime.h"

class MinuteCounterTest : public QObject
{
    Q_OBJECT

private slots:
    void secondTicks_countEachMinuteOnce_data();
    void secondTicks_countEachMinuteOnce();
    void irregularTicks_countBoundariesPassed_data();
    void irregularTicks_countBoundariesPassed();
};

// One tick a second from one second after Start, as the timer delivers them.
void MinuteCounterTest::secondTicks_countEachMinuteOnce_data()
{
    QTest::addColumn<QDateTime>("start");
    QTest::addColumn<QDateTime>("firstDrop");
    QTest::addColumn<QDateTime>("timeUp");

    QTest::newRow("mid-minute") << at("2026-03-02T10:15:42.000") << at("2026-03-02T10:16:00.000")
                                << at("2026-03-02T11:15:00.000");
    QTest::newRow("just after second 0") << at("2026-03-02T10:15:00.300") << at("2026-03-02T10:16:00.300")
                                         << at("2026-03-02T11:15:00.300");
    QTest::newRow("half a second before the boundary")
        << at("2026-03-02T10:15:59.500") << at("2026-03-02T10:16:00.500") << at("2026-03-02T11:15:00.500");
    QTest::newRow("across midnight and new year")
        << at("2026-12-31T23:30:10.000") << at("2026-12-31T23:31:00.000") << at("2027-01-01T00:30:00.000");
}

void MinuteCounterTest::secondTicks_countEachMinuteOnce()
{
    QFETCH(QDateTime, start);
    QFETCH(QDateTime, firstDrop);
    QFETCH(QDateTime, timeUp);

    MinuteCounter counter;
    counter.start(start);
    QDateTime dropped, ended;
    int expected = MinuteCounter::attemptMinutes;
    for (QDateTime now = start.addSecs(1); counter.remaining() > 0; now = now.addSecs(1)) {
        const bool changed = counter.advance(now);
        QCOMPARE(changed, counter.remaining() != expected);
        if (changed) {
            QCOMPARE(counter.remaining(), expected - 1); // never two at once
            expected = counter.remaining();
            if (!dropped.isValid())
                dropped = now;
        }
        ended = now;
    }
    QCOMPARE(dropped, firstDrop);
    QCOMPARE(ended, timeUp);
}

void MinuteCounterTest::irregularTicks_countBoundariesPassed_data()
{
    QTest::addColumn<QDateTime>("start");
    QTest::addColumn<QList<QDateTime>>("ticks");
    QTest::addColumn<QStringList>("shown");

    QTest::newRow("stall across one boundary")
        << at("2026-03-02T10:15:42.000")
        << QList<QDateTime>{at("2026-03-02T10:15:58.000"), at("2026-03-02T10:16:03.000"), at("2026-03-02T10:16:04.000")}
        << QStringList{"1:00", "0:59", "0:59"};
    QTest::newRow("stall across five boundaries")
        << at("2026-03-02T10:15:42.000")
        << QList<QDateTime>{at("2026-03-02T10:15:43.000"), at("2026-03-02T10:20:30.000"), at("2026-03-02T10:21:00.100")}
        << QStringList{"1:00", "0:55", "0:54"};
    QTest::newRow("two ticks in one second 0")
        << at("2026-03-02T10:15:42.000")
        << QList<QDateTime>{at("2026-03-02T10:16:00.100"), at("2026-03-02T10:16:00.900"), at("2026-03-02T10:16:01.000")}
        << QStringList{"0:59", "0:59", "0:59"};
    QTest::newRow("midnight is an ordinary boundary")
        << at("2026-03-02T23:59:30.000")
        << QList<QDateTime>{at("2026-03-02T23:59:59.600"), at("2026-03-03T00:00:00.600")}
        << QStringList{"1:00", "0:59"};
    QTest::newRow("clock set back counts nothing, then counts on")
        << at("2026-03-02T10:15:42.000")
        << QList<QDateTime>{at("2026-03-02T10:16:00.500"), at("2026-03-02T10:05:30.000"), at("2026-03-02T10:05:59.000"),
                            at("2026-03-02T10:06:00.000")}
        << QStringList{"0:59", "0:59", "0:59", "0:58"};
    QTest::newRow("stall past the end stops at zero")
        << at("2026-03-02T10:15:42.000")
        << QList<QDateTime>{at("2026-03-02T11:14:30.000"), at("2026-03-02T11:20:00.000"), at("2026-03-02T11:21:00.000")}
        << QStringList{"0:01", "0:00", "0:00"};
    QTest::newRow("tick at the very start counts nothing")
        << at("2026-03-02T10:15:00.000") << QList<QDateTime>{at("2026-03-02T10:15:00.000")} << QStringList{"1:00"};
}

void MinuteCounterTest::irregularTicks_countBoundariesPassed()
{
    QFETCH(QDateTime, start);
    QFETCH(QList<QDateTime>, ticks);
    QFETCH(QStringList, shown);

    MinuteCounter counter;
    counter.start(start);
    QStringList seen;
    for (const QDateTime &now : ticks) {
        counter.advance(now);
        seen.append(counter.text());
    }
    QCOMPARE(seen, shown);
}

QTEST_APPLESS_MAIN(MinuteCounterTest)
#include "minutecounter_test.moc"
