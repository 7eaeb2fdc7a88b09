#include "document/documentview.h"
#include "document/spokentext.h"

#include <QAccessible>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "support/testmain.h"

// What a screen reader gets from the pane, and that its offsets and the
// pane's caret stay one place whatever the keys do.
class SpokenTextTest : public QObject
{
    Q_OBJECT

private slots:
    void readsWhatTheLookMeans_data();
    void readsWhatTheLookMeans();
    void caretAndReaderAgree_data();
    void caretAndReaderAgree();
};

void SpokenTextTest::readsWhatTheLookMeans_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("spoken");
    QTest::newRow("power of ten") << "2.0×10<sup>3</sup> N/m" << "2.0かける10の3乗 N/m";
    QTest::newRow("negative power") << "6.6×10<sup>-34</sup> J・s" << "6.6かける10のマイナス34乗 J・s";
    QTest::newRow("minus sign power") << "10<sup>−9</sup>" << "10のマイナス9乗";
    QTest::newRow("per second squared") << "9.8 m/s<sup>2</sup> と" << "9.8 メートル毎秒毎秒 と";
    QTest::newRow("cubed after a power") << "2.0×10<sup>-3</sup> m<sup>3</sup>"
                                         << "2.0かける10のマイナス3乗 立方メートル";
    QTest::newRow("area") << "<p>1.0 m<sup>2</sup></p>" << "1.0 平方メートル";
    QTest::newRow("a quantity squared") << "mv<sup>2</sup>" << "mvの2乗";
    QTest::newRow("raised non-number kept") << "x<sup>*</sup>" << "x*";
    QTest::newRow("minus sign") << "−20 V" << "マイナス20 V";
    QTest::newRow("links named") << "<a href=\"a.html\">解答</a>と<a href=\"event:cue\">音</a>"
                                 << "リンク 解答とリンク 音";
    QTest::newRow("breaks") << "<p>一</p><p>二<br>三</p>" << "一\n二\n三";
    QTest::newRow("table") << "<table><tr><td>甲</td><td>乙</td></tr></table>" << "\n甲\n乙\n";
    QTest::newRow("picture") << "<img src=\"x.png\">図" << "（画像）図";
}

// Offsets must also map both ways without going back: each document
// position to a spoken offset no earlier than the last, and back to no later.
void SpokenTextTest::readsWhatTheLookMeans()
{
    QFETCH(QString, html);
    QFETCH(QString, spoken);
    QTextDocument document;
    document.setHtml(html);
    const SpokenText text(document);
    QCOMPARE(text.text(), spoken);
    int last = 0;
    for (int p = 0; p <= text.documentLength(); ++p) {
        const int o = text.toSpoken(p);
        QVERIFY(o >= last);
        QVERIFY(text.toDocument(o) <= p);
        QCOMPARE(text.toSpoken(text.toDocument(o)), o);
        last = o;
    }
    QCOMPARE(text.toSpoken(text.documentLength()), spoken.size());
}

void SpokenTextTest::caretAndReaderAgree_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("link");
    const int ctrlEnd = (Qt::ControlModifier | Qt::Key_End).toCombined();
    QTest::newRow("start") << QList<int>{} << "2.0×10の3乗 N/m\n" << "";
    QTest::newRow("right into the power") << QList<int>{Qt::Key_Right, Qt::Key_Right, Qt::Key_Right,
                                                        Qt::Key_Right, Qt::Key_Right, Qt::Key_Right}
                                          << "2.0×10の3乗 N/m\n" << "";
    QTest::newRow("down") << QList<int>{Qt::Key_Down} << "リンク 解答へ\n" << "a.html";
    QTest::newRow("end of the link") << QList<int>{Qt::Key_Down, Qt::Key_End} << "リンク 解答へ\n"
                                     << "";
    QTest::newRow("last line") << QList<int>{ctrlEnd} << "おわり" << "";
    QTest::newRow("back to the top") << QList<int>{ctrlEnd, (Qt::ControlModifier | Qt::Key_Home).toCombined()}
                                     << "2.0×10の3乗 N/m\n" << "";
}

// The caret the keys move, the offset a reader gets, the line it reads, and
// Enter on a link, which follows it, while the Menu key leaves the scroll.
void SpokenTextTest::caretAndReaderAgree()
{
    QFETCH(QList<int>, keys);
    QFETCH(QString, line);
    QFETCH(QString, link);
    DocumentView view;
    view.resize(400, 60);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.showPage(QStringLiteral("<p>2.0×10<sup>3</sup> N/m</p><p><a href=\"a.html\">解答</a>へ</p>"
                                 "%1<p>おわり</p>").arg(QStringLiteral("<p>行</p>").repeated(20)));
    view.setFocus();
    QSignalSpy followed(&view, &QTextBrowser::anchorClicked);
    for (int key : keys)
        QTest::keyClick(&view, Qt::Key(key & ~Qt::KeyboardModifierMask),
                        Qt::KeyboardModifiers(key & Qt::KeyboardModifierMask));

    QAccessibleTextInterface *text = QAccessible::queryAccessibleInterface(&view)->textInterface();
    QVERIFY(text);
    const SpokenText spoken(*view.document());
    QCOMPARE(text->cursorPosition(), spoken.toSpoken(view.textCursor().position()));
    int start = 0, end = 0;
    QCOMPARE(text->textAtOffset(text->cursorPosition(), QAccessible::LineBoundary, &start, &end)
                 .replace(QStringLiteral("かける"), QStringLiteral("×")),
             line);
    QCOMPARE(text->text(0, text->characterCount()), spoken.text());
    QTest::keyClick(&view, Qt::Key_Return);
    QCOMPARE(followed.count(), link.isEmpty() ? 0 : 1);
    text->setCursorPosition(end);
    QCOMPARE(text->cursorPosition(), std::min(end, text->characterCount()));

    QScrollBar *bar = view.verticalScrollBar();
    bar->setValue(bar->value() > 0 ? 0 : bar->maximum()); // away from the caret
    const int scrolled = bar->value();
    QTest::keyClick(&view, Qt::Key_Menu);
    QTest::qWait(50);
    QCOMPARE(bar->value(), scrolled);
    if (QWidget *menu = QApplication::activePopupWidget())
        menu->close();
}

VARDO_TEST_MAIN(SpokenTextTest)
#include "spokentext_test.moc"
