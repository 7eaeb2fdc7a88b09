#include "results/passlinedocument.h"
#include "results/passlinelayout.h"
#include "results/passlinewindow.h"

#include <QAccessible>
#include <QLabel>
#include <QScrollBar>
#include <QTest>
#include <QTextEdit>
#include "support/testmain.h"

#include "support/labelink.h"

class PassLineWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void window_opensAtDocumentTopWithFocusClearOfTheLabels_data();
    void window_opensAtDocumentTopWithFocusClearOfTheLabels();
    void labels_showTheirTextWholeInEitherGothic_data();
    void labels_showTheirTextWholeInEitherGothic();
    void window_everyBuildDrawsWithTheSamePalette();
};

void PassLineWindowTest::window_opensAtDocumentTopWithFocusClearOfTheLabels_data()
{
    QTest::addColumn<int>("band");
    for (int band = 1; band <= 6; ++band)
        QTest::addRow("band %d", band) << band;
}

void PassLineWindowTest::window_opensAtDocumentTopWithFocusClearOfTheLabels()
{
    QFETCH(int, band);
    PassLineWindow window(band);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.objectName(), QStringLiteral("frm合格ライン%1").arg(band));
    QVERIFY(window.isWindow());
    auto *document = window.findChild<QTextEdit *>(QStringLiteral("RichTextBox1"));
    QVERIFY(document);
    QCOMPARE(document->toPlainText(), PassLineDocument());
    QVERIFY(document->isReadOnly());
    QCOMPARE(document->verticalScrollBar()->value(), 0);
    QVERIFY(document->verticalScrollBar()->maximum() > 0); // 128 lines need scrolling
    QCOMPARE(document->textCursor().position(), 0);
    QTRY_COMPARE(window.focusWidget(), document);
    // The verdict labels the table a screen reader lands on.
    const auto labels = QAccessible::queryAccessibleInterface(document)->relations(QAccessible::Label);
    QCOMPARE(labels.size(), 1);
    QVERIFY(labels.first().first->text(QAccessible::Name).contains(QString::fromUtf16(passLineLayouts.at(band - 1).comment)));
    // The longest line (124 cells of the 9 pt face) must not need sideways scrolling.
    QCOMPARE(document->horizontalScrollBar()->maximum(), 0);
    QVERIFY(window.rect().contains(document->geometry().adjusted(0, 0, -1, -1)));
    for (QLabel *label : window.findChildren<QLabel *>()) {
        QCOMPARE(label->focusPolicy(), Qt::NoFocus);
        QVERIFY2(label->geometry().bottom() < document->geometry().top(), qPrintable(label->objectName()));
    }
}

void PassLineWindowTest::labels_showTheirTextWholeInEitherGothic_data()
{
    QTest::addColumn<int>("band");
    QTest::addColumn<QString>("family");
    for (const QString &family : labelink::gothicFaces) {
        for (int band = 1; band <= 6; ++band)
            QTest::addRow("%s, band %d", qPrintable(family), band) << band << family;
    }
}

void PassLineWindowTest::labels_showTheirTextWholeInEitherGothic()
{
    QFETCH(int, band);
    QFETCH(QString, family);
    if (!labelink::installed(family))
        QSKIP("font not installed");
    PassLineWindow window(band);
    for (const char *name : {"Label1", "Label2"}) {
        auto *label = window.findChild<QLabel *>(QLatin1String(name));
        const auto [shown, whole] = labelink::shownAndWhole(label, family);
        QVERIFY2(whole > 0 && shown >= whole * 98 / 100,
                 qPrintable(QStringLiteral("%1: %2 of %3").arg(name).arg(shown).arg(whole)));
    }
}

// The style caches its pictures of scroll bars under the palette's key: a new
// palette at every opening would leave another set behind each time, for as
// long as the program runs. The ground must still be the window's own colour.
void PassLineWindowTest::window_everyBuildDrawsWithTheSamePalette()
{
    auto scrollBarPalette = [](int band) {
        PassLineWindow window(band);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            return qint64(0);
        if (window.grab().toImage().pixelColor(0, 0) != QColor(passLineGround))
            return qint64(-1);
        auto *document = window.findChild<QTextEdit *>(QStringLiteral("RichTextBox1"));
        return document->verticalScrollBar()->palette().cacheKey();
    };
    const qint64 first = scrollBarPalette(1);
    QVERIFY(first > 0);
    for (int band = 1; band <= 6; ++band)
        QCOMPARE(scrollBarPalette(band), first);
}

VARDO_TEST_MAIN(PassLineWindowTest)
#include "passlinewindow_test.moc"
