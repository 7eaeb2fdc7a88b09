#include "widgets/designfont.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QTest>
#include "support/testmain.h"

// The layouts and the pass-line table rely on a Gothic face in which a
// full-width character is exactly two half-width cells.
class DesignFontTest : public QObject
{
    Q_OBJECT

private slots:
    void designFamilies_resolveToInstalledJapaneseFaces_data();
    void designFamilies_resolveToInstalledJapaneseFaces();
    void gothic_fullWidthIsTwoCells();
};

void DesignFontTest::designFamilies_resolveToInstalledJapaneseFaces_data()
{
    QTest::addColumn<QString>("family");
    QTest::newRow("monospaced") << designfont::gothic;
    QTest::newRow("proportional") << designfont::proportionalGothic;
}

void DesignFontTest::designFamilies_resolveToInstalledJapaneseFaces()
{
    QFETCH(QString, family);
    const QFontInfo info(designfont::make(family, 9));
    QVERIFY2(info.family().contains(QStringLiteral("Gothic")) || info.family().contains(QStringLiteral("CJK")),
             qPrintable(info.family()));
}

void DesignFontTest::gothic_fullWidthIsTwoCells()
{
    for (qreal points : {9.0, 12.0, 14.25}) {
        const QFontMetricsF metrics(designfont::make(designfont::gothic, points));
        const qreal half = metrics.horizontalAdvance(QStringLiteral("A"));
        QCOMPARE(metrics.horizontalAdvance(QStringLiteral("国")), 2 * half);
        QCOMPARE(metrics.horizontalAdvance(QStringLiteral("　")), 2 * half);
        QCOMPARE(metrics.horizontalAdvance(QStringLiteral("①")), 2 * half);
    }
}

VARDO_TEST_MAIN(DesignFontTest)
#include "designfont_test.moc"
