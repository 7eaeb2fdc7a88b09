#include "widgets/announcer.h"

#include <QTest>

#include "support/heardevents.h"
#include "support/testmain.h"

// A screen reader hears each announcement as a notification appearing,
// named by the message, however often the same words come.
class AnnouncerTest : public QObject
{
    Q_OBJECT

private slots:
    void announce_raisesANotificationEachTime_data();
    void announce_raisesANotificationEachTime();
};

void AnnouncerTest::announce_raisesANotificationEachTime_data()
{
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("one") << QStringList{QStringLiteral("開始 残り時間 60 分")};
    QTest::newRow("two in turn") << QStringList{QStringLiteral("残り時間 10 分"), QStringLiteral("残り時間 5 分")};
    QTest::newRow("the same twice") << QStringList{QStringLiteral("得点 85 点"), QStringLiteral("得点 85 点")};
}

void AnnouncerTest::announce_raisesANotificationEachTime()
{
    QFETCH(QStringList, messages);
    QWidget window;
    auto *announcer = new Announcer(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(QAccessible::queryAccessibleInterface(announcer)->role(), QAccessible::Notification);

    HeardEvents heard;
    for (const QString &message : messages)
        announcer->announce(message);

    QStringList said;
    for (const HeardEvents::Event &event : heard.of(announcer, QAccessible::ObjectShow))
        said.append(event.name);
    QCOMPARE(said, messages);
    QVERIFY(!announcer->isVisible()); // heard, never seen or clicked
}

VARDO_TEST_MAIN(AnnouncerTest)
#include "announcer_test.moc"
