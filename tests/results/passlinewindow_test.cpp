#include "results/passlinedocument.h"
#include "results/passlinelayout.h"
#include "results/passlinewindow.h"
#include "widgets/richtextbox.h"

#include <QAccessible>
#include <QLabel>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
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
    void tableLine_isHeardAsARowUnderItsColumns_data();
    void tableLine_isHeardAsARowUnderItsColumns();
    void tableLine_wordsChangeNothingOnScreen();
};

void PassLineWindowTest::window_opensAtDocumentTopWithFocusClearOfTheLabels_data()
{
    QTest::addColumn<int>("band");
    QTest::addColumn<QString>("comment"); // as a screen reader hears it, with the badge before it
    // Middle dots trailing off are a pause, as the table's bars are.
    QTest::addRow("band 1") << 1 << "　あなたはカンニングの天才です、 バレなければ一流大学に合格します。";
    QTest::addRow("band 2") << 2 << "　たいへんよくできました、　合コン生活までもう少しです。";
    QTest::addRow("band 3") << 3 << "　三流大学まであとちょっと。 一生懸命お祈りしましょう。";
    QTest::addRow("band 4") << 4 << "　浪人生活にリーチです。 裏口入学を考えましょう。";
    QTest::addRow("band 5") << 5 << " 神頼みも通じません。 金属バットを持たないようにしましょう。";
    QTest::addRow("band 6") << 6 << " 大学生になるには自分で経営しましょう。";
}

void PassLineWindowTest::window_opensAtDocumentTopWithFocusClearOfTheLabels()
{
    QFETCH(int, band);
    QFETCH(QString, comment);
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
    const QString badge = window.findChild<QLabel *>(QStringLiteral("Label1"))->text();
    QCOMPARE(labels.first().first->text(QAccessible::Name), badge + u' ' + comment);
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("Label2"))->accessibleName(), comment);
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

// A screen reader's line of the table, in the window the candidate gets: the
// gaps that line the columns up are heard as the names that head them, a
// line under a university's or faculty's cell (shown once, above) with it
// too, and Up and Down go from row to row past the blank lines between.
void PassLineWindowTest::tableLine_isHeardAsARowUnderItsColumns_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QList<int>>("keys"); // pressed there before listening
    QTest::addColumn<QString>("heard");
    const QList<int> none, down{Qt::Key_Down}, up{Qt::Key_Up};
    const QString header = QStringLiteral("　旧帝国大学、学部名、受験科目、合格ライン（１科目平均）\n");
    const QString hokkaidoLaw = QStringLiteral(
        "旧帝国大学 北海道、学部名 法、受験科目 国　、　国語Ⅰ・Ⅱ、合格ライン（１科目平均） ８０．３％\n");
    const QString lawLast = QStringLiteral("旧帝国大学 北海道、学部名 法、受験科目 外\n");
    const QString hokkaidoEngineering = QStringLiteral(
        "旧帝国大学 北海道、学部名 工、受験科目 国　、　国語Ⅰ・Ⅱ、合格ライン（１科目平均） ８１．５％\n");
    QTest::newRow("header") << 0 << none << header;
    QTest::newRow("blank") << 1 << none << "\n";
    QTest::newRow("a university's first faculty") << 2 << none << hokkaidoLaw;
    QTest::newRow("a subject") << 3 << none
                               << "旧帝国大学 北海道、学部名 法、受験科目 地歴　、　世B、日B、地理Bから１つ\n";
    QTest::newRow("a faculty's last subject") << 6 << none << lawLast;
    QTest::newRow("a faculty under the same university") << 8 << none << hokkaidoEngineering;
    QTest::newRow("a subject of the university's last faculty")
        << 18 << none << "旧帝国大学 北海道、学部名 医、受験科目 外\n";
    QTest::newRow("the next university")
        << 20 << none << "旧帝国大学 東北、学部名 法、受験科目 国　、　国語Ⅰ・Ⅱ、合格ライン（１科目平均） ８６．９％\n";
    QTest::newRow("the last university's last faculty")
        << 122 << none
        << "旧帝国大学 九州、学部名 医、受験科目 国　、　国語Ⅰ・Ⅱ、合格ライン（１科目平均） ９４．０％\n";
    QTest::newRow("the last line") << 127 << none << "";
    QTest::newRow("Down from the header, past the blank") << 0 << down << hokkaidoLaw;
    QTest::newRow("Up to the header, past the blank") << 2 << up << header;
    QTest::newRow("Down to the next faculty, past the blank") << 6 << down << hokkaidoEngineering;
    QTest::newRow("Up to the faculty before, past the blank") << 8 << up << lawLast;
    QTest::newRow("Down within a faculty")
        << 2 << down << "旧帝国大学 北海道、学部名 法、受験科目 地歴　、　世B、日B、地理Bから１つ\n";
    QTest::newRow("Down onto the end, no row beyond") << 126 << down << "";
    QTest::newRow("Down twice from the header")
        << 0 << (down + down) << "旧帝国大学 北海道、学部名 法、受験科目 地歴　、　世B、日B、地理Bから１つ\n";
}

void PassLineWindowTest::tableLine_isHeardAsARowUnderItsColumns()
{
    QFETCH(int, line);
    QFETCH(QList<int>, keys);
    QFETCH(QString, heard);
    PassLineWindow window(1);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *document = window.findChild<QTextEdit *>(QStringLiteral("RichTextBox1"));
    QCOMPARE(document->toPlainText(), PassLineDocument()); // nothing changed on screen
    document->setTextCursor(QTextCursor(document->document()->findBlockByNumber(line)));
    for (int key : keys)
        QTest::keyClick(document, Qt::Key(key));
    QAccessibleTextInterface *text = QAccessible::queryAccessibleInterface(document)->textInterface();
    int start = 0, end = 0;
    QCOMPARE(text->textAtOffset(text->cursorPosition(), QAccessible::LineBoundary, &start, &end), heard);
}

// The words ride in the text's format: the box draws as one only filled.
void PassLineWindowTest::tableLine_wordsChangeNothingOnScreen()
{
    PassLineWindow window(1);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *document = window.findChild<QTextEdit *>(QStringLiteral("RichTextBox1"));
    auto *plain = new QTextEdit(&window);
    richtextbox::setUp(plain, document->geometry());
    plain->setPlainText(PassLineDocument());
    plain->show();
    document->clearFocus(); // no caret in either
    QCOMPARE(plain->grab().toImage(), document->grab().toImage());
}

VARDO_TEST_MAIN(PassLineWindowTest)
#include "passlinewindow_test.moc"
