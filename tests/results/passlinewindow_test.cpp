#include "results/passlinedocument.h"
#include "results/passlinewindow.h"

#include <QLabel>
#include <QScrollBar>
#include <QTest>
#include <QTextEdit>
#include "support/testmain.h"

class PassLineWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void window_opensAtDocumentTopWithFocus_data();
    void window_opensAtDocumentTopWithFocus();
    void window_documentFitsItsWidthAndClearsTheLabels_data();
    void window_documentFitsItsWidthAndClearsTheLabels();
};

static void addBands()
{
    QTest::addColumn<int>("band");
    for (int band = 1; band <= 6; ++band)
        QTest::addRow("band %d", band) << band;
}

void PassLineWindowTest::window_opensAtDocumentTopWithFocus_data()
{
    addBands();
}

void PassLineWindowTest::window_opensAtDocumentTopWithFocus()
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
    for (QLabel *label : window.findChildren<QLabel *>())
        QCOMPARE(label->focusPolicy(), Qt::NoFocus);
}

void PassLineWindowTest::window_documentFitsItsWidthAndClearsTheLabels_data()
{
    addBands();
}

void PassLineWindowTest::window_documentFitsItsWidthAndClearsTheLabels()
{
    QFETCH(int, band);
    PassLineWindow window(band);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *document = window.findChild<QTextEdit *>(QStringLiteral("RichTextBox1"));
    // The longest line (124 cells of the 9 pt face) must not need sideways scrolling.
    QCOMPARE(document->horizontalScrollBar()->maximum(), 0);
    QVERIFY(window.rect().contains(document->geometry().adjusted(0, 0, -1, -1)));
    for (QLabel *label : window.findChildren<QLabel *>())
        QVERIFY2(label->geometry().bottom() < document->geometry().top(), qPrintable(label->objectName()));
}

VARDO_TEST_MAIN(PassLineWindowTest)
#include "passlinewindow_test.moc"
