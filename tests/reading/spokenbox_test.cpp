#include "reading/documentaccessible.h"
#include "reading/readas.h"

#include <QTest>
#include <QTextEdit>

#include "support/heardevents.h"
#include "support/testmain.h"

// The verdict's and the help's document boxes, filled as their windows fill
// them while a screen reader listens.
class SpokenBoxTest : public QObject
{
    Q_OBJECT

private slots:
    void everyEvent_namesTheInterfaceTheBoxKeeps_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("gapAt"); // a stretch read in words, or none
        QTest::newRow("plain lines") << "合格ライン\n東京大学  80" << -1;
        QTest::newRow("a gap read as its column") << "大学    点\n東京大学  80" << 4;
        QTest::newRow("empty") << QString() << -1;
    }

    // A reader told of an interface that is then replaced keeps asking the
    // old one, in vain, for as long as the window lives (Orca 48 made
    // thousands of such calls on the verdict window): every event about the
    // box must name the interface it keeps.
    void everyEvent_namesTheInterfaceTheBoxKeeps()
    {
        QFETCH(QString, text);
        QFETCH(int, gapAt);
        QList<readas::Stretch> gaps;
        if (gapAt >= 0)
            gaps.append({gapAt, 4, QStringLiteral("点")});
        QWidget window;
        const HeardEvents heard;
        QTextEdit *box = documentaccessible::makeBox(&window, QRect(0, 0, 400, 300), text, gaps);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        box->setFocus();

        QAccessibleInterface *kept = QAccessible::queryAccessibleInterface(box);
        QVERIFY(kept && kept->textInterface());
        int told = 0;
        for (const HeardEvents::Event &event : heard.events()) {
            if (event.object != box)
                continue;
            ++told;
            QCOMPARE(event.id, QAccessible::uniqueId(kept));
        }
        QVERIFY(told > 0);
    }

    // A box Qt made an interface for before it was installed (filled first,
    // while a reader listened) answers with the words all the same.
    void filledBeforeInstall_answersInWords()
    {
        const HeardEvents heard;
        QTextEdit box;
        box.setPlainText(QStringLiteral("q ＞ 0"));
        QVERIFY(QAccessible::queryAccessibleInterface(&box));
        documentaccessible::install(&box);
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(&box);
        QVERIFY(face && face->textInterface());
        QCOMPARE(face->textInterface()->text(0, face->textInterface()->characterCount()), QStringLiteral("q 大なり 0"));
    }
};

VARDO_TEST_MAIN(SpokenBoxTest)
#include "spokenbox_test.moc"
