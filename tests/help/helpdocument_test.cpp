#include "help/helpdocument.h"
#include "help/helpwindow.h"

#include <QAccessible>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

#include "support/testmain.h"

class HelpDocumentTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_lines = HelpDocument().split(u'\n'); }
    void document_has42LinesFromSpacesToEmptyEnd();
    void line_keepsItsExactCharactersAndIsHeardAsWords_data();
    void line_keepsItsExactCharactersAndIsHeardAsWords();

private:
    QStringList m_lines;
};

void HelpDocumentTest::document_has42LinesFromSpacesToEmptyEnd()
{
    QCOMPARE(m_lines.size(), 42);
    QCOMPARE(m_lines.first(), QString(10, u'\u3000'));
    QVERIFY(m_lines.last().isEmpty());
    QVERIFY(m_lines.at(40).endsWith(QStringLiteral("「得点」ボタンをクリックする。")));
}

// Each line as shown, and as a screen reader gets it in the window: as
// shown, but for the title's rings, which a reader would name one by one,
// the signs a synthesizer names in English (★, a face of ＾), the sizes'
// units (KB) and a line of spaces alone, which a reader would count aloud.
void HelpDocumentTest::line_keepsItsExactCharactersAndIsHeardAsWords_data()
{
    QTest::addColumn<int>("line"); // 1-based
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("heard"); // null: as shown
    QTest::newRow("top line of spaces") << 1 << QString(10, u'\u3000') << QStringLiteral("");
    QTest::newRow("title, indent 8") << 2
                                     << QString::fromUtf16(
                                            u"\u3000\u3000\u3000\u3000○○○○○\u3000ソフトの説明\u3000○○○○○")
                                     << QString::fromUtf16(u"\u3000\u3000\u3000\u3000 \u3000ソフトの説明\u3000 ");
    QTest::newRow("a heading's star") << 5 << QStringLiteral("★はじめに") << QStringLiteral(" はじめに");
    QTest::newRow("a face after the apology")
        << 10 << QStringLiteral("[もっといい方法があると思いますが、自分の技量では限界でした（＾＾；]")
        << QStringLiteral("[もっといい方法があると思いますが、自分の技量では限界でした（苦笑]");
    QTest::newRow("full-width opening parenthesis") << 19
                                                    << QString(8, u'\u3000')
            + QString::fromUtf16(u"・Mci32.ocx\u3000\u3000\u3000\uFF08  194KB\u3000\u300098/06/24 )")
                                                    << QString(8, u'\u3000')
            + QString::fromUtf16(u"・Mci32.ocx\u3000\u3000\u3000\uFF08  194キロバイト\u3000\u300098/06/24 )");
    QTest::newRow("mixed blanks before size")
        << 22 << QString(8, u'\u3000') + QString::fromUtf16(u"・Vardo.exe\u3000 \u3000  (  804KB\u3000\u300000/06/24 )")
        << QString(8, u'\u3000')
            + QString::fromUtf16(u"・Vardo.exe\u3000 \u3000  (  804キロバイト\u3000\u300000/06/24 )");
}

void HelpDocumentTest::line_keepsItsExactCharactersAndIsHeardAsWords()
{
    QFETCH(int, line);
    QFETCH(QString, text);
    QFETCH(QString, heard);
    QCOMPARE(m_lines.at(line - 1), text);
    HelpWindow window;
    auto *box = window.findChild<QTextEdit *>(QStringLiteral("RichTextBox1"));
    QCOMPARE(box->toPlainText(), HelpDocument()); // nothing changed on screen
    box->setTextCursor(QTextCursor(box->document()->findBlockByNumber(line - 1)));
    QAccessibleTextInterface *reader = QAccessible::queryAccessibleInterface(box)->textInterface();
    int start = 0, end = 0;
    QCOMPARE(reader->textAtOffset(reader->cursorPosition(), QAccessible::LineBoundary, &start, &end),
             (heard.isNull() ? text : heard) + u'\n');
}

VARDO_TEST_MAIN(HelpDocumentTest)
#include "helpdocument_test.moc"
