#include "document/documentview.h"
#include "document/paperzoom.h"
#include "support/accessibletext.h"
#include "support/caretpane.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QInputMethodEvent>
#include <QTextBlock>
#include <QTextLayout>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

#include "support/testmain.h"

// The pane's text as a screen reader asks for it: characters, words,
// sentences, lines, paragraphs and the whole text, at every offset.
class AccessibleTextTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void everyOffset_answeredAtOnceAndInOrder_data();
    void everyOffset_answeredAtOnceAndInOrder();
    void shippedPages_leaveNoSignToTheSynthesizer_data();
    void shippedPages_leaveNoSignToTheSynthesizer();
    void shippedPaper_downAndUpHearEveryScreenLine();
    void pieces_areWhatAReaderExpects_data();
    void pieces_areWhatAReaderExpects();
    void ctrlArrows_stopAtEachWordAReaderHears_data();
    void ctrlArrows_stopAtEachWordAReaderHears();
    void shippedPages_wordStopsTheSameBothWaysAndLinesCutNoLabel_data();
    void shippedPages_wordStopsTheSameBothWaysAndLinesCutNoLabel();

private:
    QAccessibleTextInterface *text() const { return QAccessible::queryAccessibleInterface(m_view)->textInterface(); }
    QString write(const QString &name, const QByteArray &bytes);

    QTemporaryDir m_dir;
    DocumentView *m_view = nullptr;
};

void AccessibleTextTest::init()
{
    m_view = new DocumentView;
    m_view->resize(500, 300);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view));
}

void AccessibleTextTest::cleanup()
{
    delete m_view;
    m_view = nullptr;
    QVERIFY(DocumentJob::settle(5000));
}

QString AccessibleTextTest::write(const QString &name, const QByteArray &bytes)
{
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    return path;
}

// Each kind of page the pane shows: the paper and its working, and the
// pages the program writes itself, many of which begin with a kanji.
// clang-format off
void AccessibleTextTest::everyOffset_answeredAtOnceAndInOrder_data()
{
    QTest::addColumn<QString>("how");   // file, loading or page
    QTest::addColumn<QString>("what");  // a path or the page's HTML
    QTest::addColumn<QString>("shown"); // part of the text shown

    QByteArray binary(4096, '\0');
    for (int i = 0; i < binary.size(); ++i)
        binary[i] = char((i * 7919) >> 3);
    QByteArray rows;
    for (int i = 0; i < 7000; ++i)
        rows += "<tr><td>" + QByteArray::number(i) + "</td><td>表</td></tr>";
    QTest::newRow("shipped paper") << "file" << VARDO_SOURCE_DIR "/assets/00Vardo.tx" << "問";
    QTest::newRow("answers page") << "file" << VARDO_SOURCE_DIR "/assets/00Vardo-answers.html" << "問題にもどる";
    QTest::newRow("refused page") << "file" << write("binary.html", binary) << "表示できません";
    QTest::newRow("loading page") << "loading" << VARDO_SOURCE_DIR "/assets/00Vardo.tx" << "読み込んでいます";
    QTest::newRow("cut notice") << "file" << write("rows.html", "<table>" + rows + "</table>") << "この文書は";
    QTest::newRow("kanji first") << "page" << "物理の問題。第1問 次の問いに答えよ。" << "物理";
    QTest::newRow("hiragana first") << "page" << "<p>これは図です。</p><p>ア</p>" << "これは";
    QTest::newRow("katakana first, sentence at the end") << "page" << "エネルギー保存則。" << "エネルギー";
    QTest::newRow("Latin, a stop at the end") << "page" << "<p>It is 2.5 m/s. Fine!</p><p>x.</p>" << "Fine";
    QTest::newRow("link, power and picture") << "page"
        << "<p><a href=\"a.html\">解答</a>へ 9.8 m/s<sup>2</sup><img src=\"x.png\"></p>" << "解答";
    QTest::newRow("blank lines and spaces") << "page" << "<p> </p><p>　</p><br><br><p>あ  い</p>" << "い";
    QTest::newRow("one character") << "page" << "字" << "字";
    QTest::newRow("empty") << "page" << "" << "";
}
// clang-format on

void AccessibleTextTest::everyOffset_answeredAtOnceAndInOrder()
{
    QFETCH(QString, how);
    QFETCH(QString, what);
    QFETCH(QString, shown);
    if (how == u"page")
        m_view->showPage(what);
    else
        QVERIFY(m_view->openFile(what, how == u"loading" ? DocumentView::Wait::No : DocumentView::Wait::ForDocument));
    QVERIFY2(m_view->toPlainText().contains(shown), qPrintable(m_view->toPlainText().left(200)));
    accessibletext::checkEveryOffset(text());
    // Nor do input methods ask for the text, or put any in.
    const QString before = m_view->toPlainText();
    QInputMethodEvent typed;
    typed.setCommitString(QStringLiteral("入力"));
    QCoreApplication::sendEvent(m_view, &typed);
    QCOMPARE(m_view->toPlainText(), before);
    QInputMethodQueryEvent asked(Qt::ImEnabled | Qt::ImSurroundingText);
    QCoreApplication::sendEvent(m_view, &asked);
    QVERIFY(!asked.value(Qt::ImEnabled).toBool());
    QVERIFY(asked.value(Qt::ImSurroundingText).toString().isEmpty());
}

namespace {

// What a Japanese synthesizer says or pauses on: letters, digits, marks,
// spaces, a choice's number and ordinary punctuation. A sign beyond these
// (½, —, 〜, ⟨) is dropped or named in English.
bool sayable(QChar c)
{
    static const QString pauses = QStringLiteral("、。，．,.：:；;・「」『』（）()〔〕【】[]!?！？%％'\"-");
    return c.isLetter() || c.isMark() || c.isDigit() || c.isSpace() || c.category() == QChar::Number_Letter
        || (c >= u'①' && c <= u'⑳') || pauses.contains(c);
}

} // namespace

// The shipped pages as a reader gets them: every sign and unit in words, so
// that the next sign a page brings is found here, not by a candidate. A
// letter after a number or a power and a space, before 「の単位」 or 「に直」,
// after 「単位は」 in its clause, alone in （）, or a number is read in
// (「0.60 を mm の値」), is a unit the table missed (1.25 N/(m²/s²), J の単位,
// kg に直して, 単位は V/mA, 重さ（N）); the pages never write a variable or a
// label so.
void AccessibleTextTest::shippedPages_leaveNoSignToTheSynthesizer_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("paper") << VARDO_SOURCE_DIR "/assets/00Vardo.tx";
    QTest::newRow("answers page") << VARDO_SOURCE_DIR "/assets/00Vardo-answers.html";
}

void AccessibleTextTest::shippedPages_leaveNoSignToTheSynthesizer()
{
    QFETCH(QString, path);
    QVERIFY(m_view->openFile(path));
    const QString heard = text()->text(0, text()->characterCount());
    QString left;
    for (QChar c : heard) {
        if (!sayable(c) && !left.contains(c))
            left += c;
    }
    QVERIFY2(left.isEmpty(), qPrintable(left));
    static const QRegularExpression unit(QStringLiteral("[\\d乗][ \u00a0]+[A-Za-zμΩ]+|[A-Za-zμΩ]+ ?(の単位|に直)"
                                                        "|単位は[^（()）〔〕、，,。\\n]*[A-Za-zμΩ]|（[A-Za-zμΩ/・]+）"
                                                        "|\\d *を *[A-Za-zμΩ]+ *の値"));
    const QRegularExpressionMatch letters = unit.match(heard);
    QVERIFY2(!letters.hasMatch(), qPrintable(letters.captured()));
}

// The paper in a pane of the exam window's size, whose lines end inside
// units such as J/(g・K): Down and Up hear each screen line once.
void AccessibleTextTest::shippedPaper_downAndUpHearEveryScreenLine()
{
    m_view->resize(625, 353); // the exam window's paper pane
    QVERIFY(m_view->openFile(VARDO_SOURCE_DIR "/assets/00Vardo.tx"));
    m_view->setFocus();
    for (bool up : {false, true}) {
        const QList<caretpane::HeardLine> heard = caretpane::linesHeard(*m_view, up);
        const qsizetype amiss = caretpane::firstAmiss(heard, text()->characterCount());
        QVERIFY2(amiss < 0, caretpane::around(text(), heard, amiss).constData());
    }
}

// Exact answers, as a text box gives them: the piece at, before and after
// an offset, and nothing, -1 to -1, outside the text.
void AccessibleTextTest::pieces_areWhatAReaderExpects_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<int>("boundary");
    QTest::addColumn<int>("query"); // accessibletext::Query
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("start"); // -1: nothing

    const int at = int(accessibletext::Query::At), before = int(accessibletext::Query::Before),
              after = int(accessibletext::Query::After);
    const int word = QAccessible::WordBoundary, sentence = QAccessible::SentenceBoundary,
              character = QAccessible::CharBoundary, paragraph = QAccessible::ParagraphBoundary,
              line = QAccessible::LineBoundary, whole = QAccessible::NoBoundary;
    const QString physics = QStringLiteral("物理の問題");
    QTest::newRow("kanji run first") << physics << word << at << 0 << "物理" << 0;
    QTest::newRow("inside a kanji run") << physics << word << at << 1 << "物理" << 0;
    QTest::newRow("hiragana between kanji") << physics << word << at << 2 << "の" << 2;
    QTest::newRow("word at the end") << physics << word << at << 5 << "問題" << 3;
    QTest::newRow("word before") << physics << word << before << 3 << "の" << 2;
    QTest::newRow("word after") << physics << word << after << 0 << "の" << 2;
    QTest::newRow("no word before the first") << physics << word << before << 1 << "" << 0;
    QTest::newRow("no word after the last") << physics << word << after << 4 << "" << 5;
    QTest::newRow("digit between kanji") << "第1問" << word << at << 1 << "1" << 1;
    QTest::newRow("kanji after a digit") << "第1問" << word << at << 2 << "問" << 2;
    QTest::newRow("hiragana run first") << "これは図です。" << word << at << 0 << "これは" << 0;
    QTest::newRow("stop alone") << "これは図です。" << word << at << 6 << "。" << 6;
    QTest::newRow("katakana with long vowel") << "エネルギーの値" << word << at << 4 << "エネルギー" << 0;
    QTest::newRow("decimal number") << "v = 2.5 m/s" << word << at << 8 << "2.5" << 7; // v イコール 2.5
    QTest::newRow("spaces between words") << "<pre>ab  cd</pre>" << word << at << 3 << "  " << 2;
    QTest::newRow("ideographic space") << "<pre>甲　乙</pre>" << word << at << 1 << "　" << 1;
    QTest::newRow("Latin word") << "Hello, world" << word << at << 2 << "Hello" << 0;
    QTest::newRow("comma alone") << "Hello, world" << word << at << 5 << "," << 5;
    QTest::newRow("number in words") << "2.0×10<sup>3</sup>" << word << at << 7 << "10" << 6;
    QTest::newRow("link named") << "<a href=\"a.html\">解答</a>" << word << at << 0 << "リンク" << 0;

    const QString two = QStringLiteral("一つ目。二つ目！");
    QTest::newRow("first sentence") << two << sentence << at << 0 << "一つ目。" << 0;
    QTest::newRow("second sentence") << two << sentence << at << 4 << "二つ目！" << 4;
    QTest::newRow("sentence at the end") << two << sentence << at << 8 << "二つ目！" << 4;
    QTest::newRow("sentence after the last") << two << sentence << after << 8 << "" << 8;
    QTest::newRow("sentence before") << two << sentence << before << 8 << "一つ目。" << 0;
    QTest::newRow("closing bracket kept") << "「はい。」と言う" << sentence << at << 0 << "「はい。」" << 0;
    QTest::newRow("decimal point ends none")
        << "It is 2.5 m. Next" << sentence << at << 3 << "It is 2.5 メートル. " << 0;
    QTest::newRow("paragraph ends a sentence") << "<p>見出し</p><p>本文。</p>" << sentence << at << 1 << "見出し\n"
                                               << 0;

    QTest::newRow("paragraph through its break") << "<p>見出し</p><p>本文。</p>" << paragraph << at << 0 << "見出し\n"
                                                 << 0;
    QTest::newRow("last paragraph at the end") << "<p>見出し</p><p>本文。</p>" << paragraph << at << 7 << "本文。" << 4;
    QTest::newRow("line at the end") << "<p>見出し</p><p>本文。</p>" << line << at << 7 << "本文。" << 4;
    QTest::newRow("whole text") << "<p>見出し</p><p>本文。</p>" << whole << at << 3 << "見出し\n本文。" << 0;

    // Qt's reader leaves a space closing a paragraph: the caret at the end
    // stood after it, and the character before the caret was that space.
    const QString lastLink = QStringLiteral("<p>見出し</p><p><a href=\"a.html\">問題にもどる</a></p>\n");
    QTest::newRow("line at the end, a link's") << lastLink << line << at << -1 << "リンク 問題にもどる" << 4;
    QTest::newRow("character before the end, the link's last") << lastLink << character << before << -1 << "る" << 13;
    QTest::newRow("line closing a paragraph") << "<p>甲 \n</p><p>乙</p>" << line << at << 0 << "甲\n" << 0;
    QTest::newRow("preformatted spaces stay") << "<pre>ab  </pre>" << character << before << -1 << " " << 3;

    QTest::newRow("surrogate pair one character") << "𠮷野家" << character << at << 1 << "𠮷" << 0;
    QTest::newRow("character after a pair") << "𠮷野家" << character << after << 0 << "野" << 2;
    QTest::newRow("emoji sequence one character")
        << "👨‍👩‍👧あ" << character << at << 3 << "👨‍👩‍👧" << 0;
    QTest::newRow("flag one character") << "🇯🇵あ" << character << at << 2 << "🇯🇵" << 0;
    QTest::newRow("skin tone with its emoji") << "👍🏽あ" << character << after << 0 << "あ" << 4;
    QTest::newRow("no character at the end") << "𠮷野家" << character << at << 4 << "" << 4;
    QTest::newRow("character before the end") << "𠮷野家" << character << before << 4 << "家" << 3;
    QTest::newRow("end of text by -1") << "𠮷野家" << character << before << -1 << "家" << 3;
    QTest::newRow("a pair inside a word") << "𠮷野家" << word << at << 0 << "𠮷野家" << 0;
    QTest::newRow("a joiner after a pair") << "𠮷&#x2060;野" << word << at << 0 << "𠮷" << 0;
    QTest::newRow("before the text") << "𠮷野家" << word << at << -5 << "" << -1;
    QTest::newRow("past the text") << "𠮷野家" << sentence << after << 5 << "" << -1;
}

void AccessibleTextTest::pieces_areWhatAReaderExpects()
{
    QFETCH(QString, html);
    QFETCH(int, boundary);
    QFETCH(int, query);
    QFETCH(int, offset);
    QFETCH(QString, expected);
    QFETCH(int, start);
    m_view->showPage(html);
    accessibletext::Watchdog watchdog(std::chrono::seconds(10));
    const auto type = QAccessible::TextBoundaryType(boundary);
    watchdog.asking(accessibletext::Query(query), type, offset);
    const accessibletext::Answer answer = accessibletext::ask(text(), accessibletext::Query(query), offset, type);
    QCOMPARE(answer.text, expected);
    QCOMPARE(answer.start, start);
    QCOMPARE(answer.end, start < 0 ? -1 : start + int(expected.size()));
}

// Qt's own word moves run over a whole Japanese sentence; the caret stops
// at the start of each word, spaces and breaks passed, and the reader says
// the word moved past to the right, the word landed on to the left.
void AccessibleTextTest::ctrlArrows_stopAtEachWordAReaderHears_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<QList<QKeyCombination>>("keys");
    QTest::addColumn<QString>("word"); // the word heard, and the spaces after it

    const QKeyCombination right(Qt::ControlModifier, Qt::Key_Right), left(Qt::ControlModifier, Qt::Key_Left);
    const QKeyCombination end(Qt::ControlModifier, Qt::Key_End);
    // The words themselves are walked in wordmove_test; here the spaces
    // and line breaks a reader is given with them.
    const QString sentence = QStringLiteral("物理の問題です。次");
    QTest::newRow("before a stop against the next word") << sentence << QList{right, right, right, right} << "です";
    QTest::newRow("to a stop before a space") << "甲乙。 丙" << QList{right, right} << "。 ";
    QTest::newRow("back onto a stop against the next word") << sentence << QList{end, left} << "。次";
    QTest::newRow("over spaces") << "It is 2.5 m." << QList{right, right} << "is ";
    QTest::newRow("to a particle after a letter") << "Aにもどる" << QList{right} << "A";
    QTest::newRow("over a paragraph's end") << "<p>甲</p><p>乙</p>" << QList{right} << "甲\n";
    QTest::newRow("back over a paragraph's end") << "<p>甲</p><p>乙</p>" << QList{end, left, left} << "甲\n";
    QTest::newRow("past a unit") << "10 m/s で" << QList{right, right} << "メートル毎秒 ";
    QTest::newRow("back onto a unit") << "10 m/s で" << QList{end, left, left} << "メートル毎秒 ";
    QTest::newRow("a unit before kanji") << "10 m/s速い" << QList{right, right} << "メートル毎秒";
}

void AccessibleTextTest::ctrlArrows_stopAtEachWordAReaderHears()
{
    QFETCH(QString, html);
    QFETCH(QList<QKeyCombination>, keys);
    QFETCH(QString, word);
    const QKeyCombination right(Qt::ControlModifier, Qt::Key_Right);
    m_view->showPage(html);
    m_view->setFocus();
    for (QKeyCombination key : keys)
        QTest::keyClick(m_view, key.key(), key.keyboardModifiers());

    int start = 0, end = 0;
    const int caret = text()->cursorPosition();
    QCOMPARE(text()->textAtOffset(caret, QAccessible::WordBoundary, &start, &end), word);
    QCOMPARE(keys.last() == right ? end : start, caret);
}

// A reader walking a shipped page by words, Ctrl+Right to its end and
// Ctrl+Left back, stops at the same words both ways, each heard from where
// the caret lands, none twice. Reading by lines, a label, a number with its
// unit or a unit is never cut in two (「1-問 / 1-1」, 「50 / μF」, 「m/ / s」),
// at the pane's width and at every size the text is enlarged to.
void AccessibleTextTest::shippedPages_wordStopsTheSameBothWaysAndLinesCutNoLabel_data()
{
    shippedPages_leaveNoSignToTheSynthesizer_data();
}

void AccessibleTextTest::shippedPages_wordStopsTheSameBothWaysAndLinesCutNoLabel()
{
    QFETCH(QString, path);
    m_view->resize(625, 353); // the exam window's paper pane
    QVERIFY(m_view->openFile(path));
    m_view->setFocus();
    QList<int> stops[2];
    for (int way = 0; way < 2; ++way) {
        QTest::keyClick(m_view, way ? Qt::Key_End : Qt::Key_Home, Qt::ControlModifier);
        for (int last = -1; text()->cursorPosition() != last;) {
            last = text()->cursorPosition();
            stops[way].append(last);
            QTest::keyClick(m_view, way ? Qt::Key_Left : Qt::Key_Right, Qt::ControlModifier);
        }
    }
    std::reverse(stops[1].begin(), stops[1].end());
    QCOMPARE(stops[0], stops[1]);
    for (int stop : stops[0]) {
        int start = 0, end = 0;
        const QString word = text()->textAtOffset(stop, QAccessible::WordBoundary, &start, &end);
        QVERIFY2(start == stop || stop == text()->characterCount(), qPrintable(QString::number(stop) + word));
    }

    static const QRegularExpression together(QStringLiteral(            //
        "\\d[AB]?-\u2060?問\u2060?\\d"                                  // a label: 2A-問3
        "|\\d[ \u00a0](?:[A-Za-zμΩ℃]|\\p{Han}|か所)"                    // a number and its unit
        "|[A-Za-z0-9)μΩ]/\u2060?[A-Za-z(μΩ√]|[A-Za-z]・\u2060?[A-Za-z]" // inside a unit
        "|[−－×]\u2060?\\d|の[ \u00a0]\\d+[ \u00a0]?乗"                 // a term: ×10, −2.0, T の 2 乗
        "|(?<![A-Za-z])[A-Za-zα-ω][ \u00a0][一-鿿]|[A-Za-z]\u2060?[一-鿿]|（[ \u00a0]\\S[ \u00a0]）")); // α
                                                                                                                // 粒子,
                                                                                                                // U字形,
                                                                                                                // （ ア
                                                                                                                // ）
    for (int zoom : paperzoom::steps) {
        for (QTextBlock block = m_view->document()->begin(); block.isValid(); block = block.next()) {
            m_view->document()->documentLayout()->blockBoundingRect(block);
            for (auto match = together.globalMatch(block.text()); match.hasNext();) {
                const QRegularExpressionMatch span = match.next();
                const QTextLine line = block.layout()->lineForTextPosition(int(span.capturedStart()));
                QVERIFY2(line.textStart() + line.textLength() >= span.capturedEnd(),
                         qPrintable(QStringLiteral("%1 %: %2").arg(zoom).arg(span.captured())));
            }
        }
        QTest::keyClick(m_view, Qt::Key_Plus, Qt::ControlModifier);
    }
}

VARDO_TEST_MAIN(AccessibleTextTest)
#include "accessibletext_test.moc"
