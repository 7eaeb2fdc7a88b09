#include "exam/pictures.h"
#include "speech/spokenwords.h"

#include <QTest>

#include "support/testmain.h"

// A quantity is heard one way: in a figure's description as the paper's
// text is read through the pane's table of signs and units.
class FigureWordsTest : public QObject
{
    Q_OBJECT

private slots:
    void figureSaysEachQuantityAsThePaperIsRead_data()
    {
        QTest::addColumn<int>("figure");
        QTest::addColumn<QString>("written"); // as the paper writes it
        QTest::newRow("height of the ramp") << 1 << "5.1 m";
        QTest::newRow("height") << 1 << "19.6 m";
        QTest::newRow("temperature") << 2 << "527 ℃";
        QTest::newRow("distance") << 3 << "15 cm";
        QTest::newRow("negative potential") << 4 << "−20 V";
        QTest::newRow("electromotive force") << 6 << "6.0 V";
        QTest::newRow("unit of a current") << 7 << "〔mA〕";
        QTest::newRow("unit of a time") << 7 << "〔s〕";
        QTest::newRow("length") << 11 << "0.40 m";
    }

    void figureSaysEachQuantityAsThePaperIsRead()
    {
        QFETCH(int, figure);
        QFETCH(QString, written);
        const QString description = pictures::figureDescription(figure);
        QString heard = spokenwords::spoken(written);
        heard.remove(u' ').remove(u'〔').remove(u'〕');
        QVERIFY2(description.contains(heard), qPrintable(heard));
        QCOMPARE(spokenwords::spoken(description), description);
    }
};

VARDO_TEST_MAIN(FigureWordsTest)
#include "figurewords_test.moc"
