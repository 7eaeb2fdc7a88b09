#include "reading/caretbrowsing.h"
#include "reading/spokentext.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBrowser>

#include "support/caretpane.h"
#include "support/heardevents.h"
#include "support/testmain.h"

// What a screen reader gets from the pane, its offsets one with the pane's caret.
class SpokenTextTest : public QObject
{
    Q_OBJECT

private slots:
    // clang-format off
    void readsWhatTheLookMeans_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QString>("spoken");
        QTest::newRow("power of ten") << "2.0×10<sup>3</sup> N/m" << "2.0かける10の3乗 ニュートン毎メートル";
        QTest::newRow("negative power") << "6.6×10<sup>-34</sup>" << "6.6かける10のマイナス34乗";
        QTest::newRow("minus sign power") << "10<sup>−9</sup>" << "10のマイナス9乗";
        QTest::newRow("per second squared") << "9.8 m/s<sup>2</sup> と" << "9.8 メートル毎秒毎秒 と";
        QTest::newRow("cubed after a power") << "10<sup>-3</sup> m<sup>3</sup>" << "10のマイナス3乗 立方メートル";
        QTest::newRow("a quantity squared") << "mv<sup>2</sup>" << "mvの2乗";
        QTest::newRow("signs before the number and the power") << "−1.6×10<sup>−19</sup> C"
                                                               << "マイナス1.6かける10のマイナス19乗 クーロン";
        QTest::newRow("plus sign power") << "10<sup>+3</sup>" << "10の3乗";
        QTest::newRow("full-width minus power") << "10<sup>－5</sup>" << "10のマイナス5乗";
        QTest::newRow("letter power") << "10<sup>n</sup>" << "10のn乗";
        QTest::newRow("per second by a negative power") << "3.0 m s<sup>-1</sup>" << "3.0 メートル 毎秒";
        QTest::newRow("per second squared by a negative power") << "9.8 m s<sup>−2</sup>" << "9.8 メートル 毎秒毎秒";
        QTest::newRow("square centimetre") << "4.0 cm<sup>2</sup>" << "4.0 平方センチメートル";
        QTest::newRow("per cubic metre") << "1.0 kg/m<sup>3</sup>" << "1.0 キログラム毎立方メートル";
        QTest::newRow("a mass squared is no area") << "2 kg<sup>2</sup>" << "2 キログラムの2乗";
        QTest::newRow("an unknown unit keeps its power") << "5 x<sup>2</sup>" << "5 xの2乗";
        QTest::newRow("links named") << "<a href=\"a.html\">解答</a>と<a href=\"event:x\">音</a>"
                                     << "リンク 解答とリンク 音";
        QTest::newRow("a link again in the next paragraph")
            << "<p><a href=\"a.html\">前</a></p><p><a href=\"a.html\">後</a></p>" << "リンク 前\nリンク 後";
        QTest::newRow("breaks") << "<p>一<br>二</p><p>三</p>" << "一\n二\n三";
        QTest::newRow("a link opening with a joiner") << "問<a href=\"a.html\">&#x2060;1</a>" << "問リンク 1";
        // Signs a synthesizer drops, units it spells, fractions it misreads.
        QTest::newRow("relations") << "q ＞ 0, x &lt; 1, a ≧ b ≦ c ≠ d"
                                   << "q 大なり 0, x 小なり 1, a 大なりイコール b 小なりイコール c ノットイコール d";
        // A choice's number is heard apart from its value; inside a sentence it is a number.
        QTest::newRow("choice numbers")
            << "<p>① 16 時間</p><p style=\"white-space:pre\">　⑳　T：大きく</p><p>①から⑤、道すじ① と②、の ③</p>"
            << "1、 16 時間\n　20、　T：大きく\n①から⑤、道すじ① と②、の ③";
        QTest::newRow("units after a number")
            << "10 m/s, 50 μF, 2.0 kΩ, 12 V, 0.40 T, 127 ℃, 6.6×10<sup>-34</sup> J・s, 4.2 J/(g・K), 5.0 mA"
            << "10 メートル毎秒, 50 マイクロファラド, 2.0 キロオーム, 12 ボルト, 0.40 テスラ, 127 セルシウス度, "
               "6.6かける10のマイナス34乗 ジュール秒, 4.2 ジュール毎グラム毎ケルビン, 5.0 ミリアンペア";
        QTest::newRow("units filling the brackets")
            << "v〔m/s〕 t〔s〕 計数率〔回/分〕 T<sup>2</sup>〔s<sup>2</sup>〕 ν〔×10<sup>14</sup> Hz〕 〔回〕"
            << "v〔メートル毎秒〕 t〔秒〕 計数率〔回毎分〕 Tの2乗〔秒の2乗〕 ν〔かける10の14乗 ヘルツ〕 〔回〕";
        QTest::newRow("picture") << "<img src=\"x.png\">図" << "（画像）図";
        // The working's signs, each class read as the paper's are.
        QTest::newRow("fraction signs") << "19.6 = ½ × 9.8 × t<sup>2</sup>、½CE<sup>2</sup>、⅓ と ¾"
                                        << "19.6 イコール 2ぶんの1 かける 9.8 かける tの2乗、2ぶんの1CEの2乗、"
                                           "3ぶんの1 と 4ぶんの3";
        QTest::newRow("ranges, means, runs and subscripts")
            << "1.19〜1.35、0.1～0.2 s、½m⟨v<sup>2</sup>⟩、n = 1, 2, …、f<sub>1</sub> と fₙ、V_C"
            << "1.19から1.35、0.1から0.2 秒、2ぶんの1m（vの2乗）の平均、n イコール 1, 2, など、f1 と fn、V C";
        // Units built of units, and a unit named with no number before it.
        QTest::newRow("a quotient in a denominator's brackets")
            << "1.25 N/(m<sup>2</sup>/s<sup>2</sup>)（6 点、2 N/(m²/s²)、4.2 J/(g・K)、10 m/(2 s)"
            << "1.25 ニュートン毎（平方メートル毎秒毎秒）（6 点、2 ニュートン毎（平方メートル毎秒毎秒）、"
               "4.2 ジュール毎グラム毎ケルビン、10 mわる(2 秒)";
        // A number read as a value in a unit; a letter after no number is a variable.
        QTest::newRow("a number read as a unit's value")
            << "0.60 を mm の値と読んで、10<sup>3</sup> を m の値と、2.0 を kg の値、x を m の値と、"
               "0.60 を m と、0.60 を m のとき、0.60 を mx の値、0.60 m を cm の値で、0.60 を ΔN の値"
            << "0.60 を ミリメートル の値と読んで、10の3乗 を メートル の値と、2.0 を キログラム の値、"
               "x を m の値と、0.60 を m と、0.60 を m のとき、0.60 を mx の値、0.60 メートル を センチメートル "
               "の値で、"
               "0.60 を ΔN の値";
    }
    // clang-format on

    // Offsets map both ways, never going back: spoken no earlier, document no later.
    void readsWhatTheLookMeans()
    {
        QFETCH(QString, html);
        QFETCH(QString, spoken);
        QTextDocument document;
        document.setHtml(html);
        const SpokenText text(document);
        QCOMPARE(text.text(), spoken);
        for (int p = 0, last = 0; p <= text.documentLength(); last = text.toSpoken(p++)) {
            QVERIFY(text.toSpoken(p) >= last);
            QVERIFY(text.toDocument(text.toSpoken(p)) <= p);
            QCOMPARE(text.toSpoken(text.toDocument(text.toSpoken(p))), text.toSpoken(p));
        }
        QCOMPARE(text.toSpoken(text.documentLength()), spoken.size());
    }

    // clang-format off
    void tableRowIsOneLine_data()
    {
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QString>("at");   // text the caret is put before
        QTest::addColumn<QString>("line"); // the line heard there
        QTest::addColumn<QString>("down"); // and after Down, when it stays in the table
        const QString measured = QStringLiteral("<tr><th>m〔g〕</th><td>50</td><td>100</td></tr>"
                                                "<tr><th>t〔s〕</th><td>5.52</td><td>7.04</td></tr>");
        QTest::newRow("header column, a value") << measured << "100" << "m〔グラム〕、50、100\n"
                                                << "t〔秒〕、5.52、7.04\n";
        QTest::newRow("header column, the header") << measured << "t〔" << "t〔秒〕、5.52、7.04\n" << "";
        QTest::newRow("header row") << "<tr><th>時間〔s〕</th><th>電圧〔V〕</th></tr><tr><td>0.02</td><td>2.1</td></tr>"
                                    << "時間" << "時間〔秒〕、電圧〔ボルト〕\n" << "0.02、2.1\n";
        QTest::newRow("breaks in a cell") << "<tr><td>一<br>二<p>三</p></td><td>四</td></tr><tr><td>五</td></tr>"
                                          << "三" << "一 二 三、四\n" << "五\n";
        QTest::newRow("a cell over two rows") << "<tr><td rowspan=\"2\">甲</td><td>乙</td></tr><tr><td>丙</td></tr>"
                                              << "乙" << "甲、乙\n" << "丙\n";
        QTest::newRow("cells spanning into an empty row") << "<tr><td rowspan=\"2\">甲</td><td rowspan=\"2\">乙</td></tr><tr></tr>" << "乙" << "甲、乙\n" << "";
        // An empty cell is passed over, not heard as a second pause.
        QTest::newRow("empty cells") << "<tr><td></td><td>空</td><td></td></tr>" << "空" << "空\n" << "";
        QTest::newRow("an empty cell between")
            << "<tr><td>合計</td><td></td><td>100 点</td></tr><tr><td> </td><td>　</td><td>2</td><td></td></tr>"
            << "合計" << "合計、100 点\n" << "2\n";
        QTest::newRow("a row of empty cells") << "<tr><td>甲</td><td>乙</td></tr><tr><td></td><td></td></tr>" << "乙"
                                              << "甲、乙\n" << "\n";
        QTest::newRow("a table in a cell")
            << "<tr><td>外<table><tr><td>内一</td><td>内二</td></tr></table></td><td>右</td></tr>" << "内二"
            << "外 内一、内二 、右\n" << "";
    }
    // clang-format on

    // A line in a table is its row: Down and Up hear a header with its values,
    // and the lines of the whole text still follow one another without gaps,
    // however a line wraps.
    void tableRowIsOneLine()
    {
        QFETCH(QString, rows);
        QFETCH(QString, at);
        QFETCH(QString, line);
        QFETCH(QString, down);
        QTextBrowser view;
        caretbrowsing::enable(&view);
        view.resize(600, 400);
        // The last paragraph wraps inside fractions read in words (after a "/").
        view.setHtml(QStringLiteral("<p>前</p><table border=\"1\">%1</table><p>後%2</p>")
                         .arg(rows, QStringLiteral("1/a、").repeated(200)));
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QAccessibleTextInterface *text = QAccessible::queryAccessibleInterface(&view)->textInterface();
        const auto lineAt = [text](int offset, int *start, int *end) {
            return text->textAtOffset(offset, QAccessible::LineBoundary, start, end);
        };
        int start = 0, end = 0;
        for (int offset = 0; offset < text->characterCount(); offset = end) {
            lineAt(offset, &start, &end);
            QCOMPARE(start, offset);
            QVERIFY(end > start);
            for (int inside = start + 1; inside < end; ++inside) {
                int s = 0, e = 0;
                lineAt(inside, &s, &e);
                QCOMPARE(QList({s, e}), QList({start, end}));
            }
        }

        view.setTextCursor(view.document()->find(at));
        QTextCursor cursor = view.textCursor();
        cursor.setPosition(cursor.selectionStart());
        view.setTextCursor(cursor);
        QCOMPARE(lineAt(text->cursorPosition(), &start, &end), line);
        QTest::keyClick(&view, Qt::Key_Down);
        if (!down.isEmpty())
            QCOMPARE(lineAt(text->cursorPosition(), &start, &end), down);
    }

    void downAndUp_hearEveryScreenLine_data()
    {
        QTest::addColumn<QString>("stretch"); // read in words, the wrap to fall inside it
        QTest::addColumn<QString>("around");  // the paragraphs' markup around them
        const QString paragraphs = QStringLiteral("%1");
        QTest::newRow("a unit") << "約何 J/(g・K) か。" << paragraphs;
        QTest::newRow("a unit with a power") << "約 9.8 m/s<sup>2</sup> か。" << paragraphs;
        QTest::newRow("a unit of units") << "約 1.25 N/(m<sup>2</sup>/s<sup>2</sup>) か。" << paragraphs;
        QTest::newRow("a table row") << "約何 J/(g・K) か。"
                                     << "<table border=\"1\"><tr><td>%1</td><td>右</td></tr></table><p>後</p>";
    }

    // A stretch read in words that a screen line ends inside is heard whole
    // with that line, and the next line from after it: Down and Up hear
    // every screen line, none twice or lost, and Right goes on from each.
    void downAndUp_hearEveryScreenLine()
    {
        QFETCH(QString, stretch);
        QFETCH(QString, around);
        // The stretch further along each paragraph, so that some line ends
        // inside it whatever the font.
        QString html;
        for (int k = 0; k < 48; ++k)
            html += QStringLiteral("<p>%1%2最も適当なものを、次のうちから一つ選べ。</p>")
                        .arg(QString(k, QChar(u'あ')), stretch);
        QTextBrowser view;
        QAccessibleTextInterface *text = showCaretPane(view, around.arg(html));
        QVERIFY(text);
        QVERIFY(caretpane::linesStartingInWords(view) > 0);
        for (bool up : {false, true}) {
            const QList<caretpane::HeardLine> heard = caretpane::linesHeard(view, up);
            const qsizetype amiss = caretpane::firstAmiss(heard, text->characterCount());
            QVERIFY2(amiss < 0, caretpane::around(text, heard, amiss).constData());
        }
    }

    void rightAndLeft_hearEachCharacterOnce_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QStringList>("heard"); // at each stop of Right from the start
        QTest::newRow("a link in a line")
            << "前の<a href=\"a.html\">問題</a>へ" << QStringList{"前", "の", "問", "題", "へ"};
        QTest::newRow("a link opening a paragraph")
            << "<p><a href=\"a.html\">戻る</a></p><p>次</p>" << QStringList{"戻", "る", "\n", "次"};
        QTest::newRow("a link opening with a sign") << "<a href=\"a.html\">−3</a>" << QStringList{"マイナス", "3"};
        QTest::newRow("a sign") << "q ＞ 0" << QStringList{"q", " ", "大なり", " ", "0"};
        QTest::newRow("a unit of symbols") << "10 m/s で" << QStringList{"1", "0", " ", "メートル毎秒", " ", "で"};
        QTest::newRow("a raised power") << "2×10<sup>3</sup>" << QStringList{"2", "かける", "1", "0", "の3乗"};
        QTest::newRow("a picture") << "<img src=\"x.png\">図" << QStringList{"（画像）", "図"};
        QTest::newRow("a choice's number") << "① 16 時" << QStringList{"1、", " ", "1", "6", " ", "時"};
        QTest::newRow("a mean's brackets")
            << "⟨v<sup>2</sup>⟩ と" << QStringList{"（", "v", "の2乗", "）の平均", " ", "と"};
        // The caret cannot stand between a letter and its mark.
        QTest::newRow("a mark on a unit's last letter")
            << "10 m/s\u0301 で" << QStringList{"1", "0", " ", "メートル毎秒\u0301", " ", "で"};
        // Joiners that keep a label or a quantity on one line are not heard.
        QTest::newRow("a label held together") << "1-&#x2060;問&#x2060;1" << QStringList{"1", "-", "問", "1"};
        QTest::newRow("a unit held together") << "10&nbsp;m/&#x2060;s −&#x2060;&#x2060;2"
                                              << QStringList{"1", "0", " ", "メートル毎秒", " ", "マイナス", "2"};
        // Nor do they join what the caret keeps apart: a letter and its mark.
        QTest::newRow("a joiner before a mark") << "e&#x2060;&#x301;x" << QStringList{"e", "\u2060", "\u0301", "x"};
        QTest::newRow("a table row") << "<table><tr><td>m〔g〕</td><td>5</td></tr></table>"
                                     << QStringList{"\n", "m", "〔", "グラム", "〕", "、", "5", "\n"};
    }

    // Right and Left reach every character shown, each once, and the reader
    // hears each once where words were inserted or signs read in words: the
    // stops tile the document, and Left hears what Right did, backwards.
    void rightAndLeft_hearEachCharacterOnce()
    {
        QFETCH(QString, html);
        QFETCH(QStringList, heard);
        QTextBrowser view;
        QAccessibleTextInterface *text = showCaretPane(view, html);
        QVERIFY(text);
        const SpokenText spoken(*view.document());
        // What a reader says after each key: the character at the caret.
        const auto pieceAtCaret = [text](int *start, int *end) {
            return text->textAtOffset(text->cursorPosition(), QAccessible::CharBoundary, start, end);
        };
        QStringList right;
        int start = 0, end = 0;
        for (QString piece = pieceAtCaret(&start, &end); !piece.isEmpty(); piece = pieceAtCaret(&start, &end)) {
            QCOMPARE(start, text->cursorPosition());
            right << piece;
            QTest::keyClick(&view, Qt::Key_Right);
            // Where the piece heard ends: no character twice, none passed over.
            QCOMPARE(view.textCursor().position(), spoken.toDocument(end));
            QVERIFY(right.size() <= spoken.documentLength());
        }
        QCOMPARE(right, heard);
        QCOMPARE(view.textCursor().position(), spoken.documentLength());

        QStringList left;
        while (view.textCursor().position() > 0 && left.size() < heard.size()) {
            const int was = view.textCursor().position();
            QTest::keyClick(&view, Qt::Key_Left);
            left.prepend(pieceAtCaret(&start, &end));
            QCOMPARE(spoken.toDocument(end), was);
        }
        QCOMPARE(left, heard);
    }

    // clang-format off
    void caretAndReaderAgree_data()
    {
        QTest::addColumn<QList<QKeyCombination>>("keys");
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("linksFollowed");
        const QKeyCombination right(Qt::Key_Right), down(Qt::Key_Down);
        const QKeyCombination ctrlEnd(Qt::ControlModifier, Qt::Key_End);
        QTest::newRow("start") << QList<QKeyCombination>{} << "2.0×10の3乗 ニュートン毎メートル\n" << 0;
        QTest::newRow("into the power") << QList{right, right, right, right, right}
                                        << "2.0×10の3乗 ニュートン毎メートル\n" << 0;
        QTest::newRow("down to a link") << QList{down} << "リンク 解答 へ\n" << 1;
        QTest::newRow("just after the link") << QList{down, right, right} << "リンク 解答 へ\n" << 1;
        QTest::newRow("on a word after the link's space") << QList{down, right, right, right} << "リンク 解答 へ\n"
                                                          << 0;
        QTest::newRow("end of the line") << QList{down, QKeyCombination(Qt::Key_End)} << "リンク 解答 へ\n" << 0;
        QTest::newRow("the text's end, after a link") << QList{ctrlEnd} << "おわりはリンク 解説 " << 1;
        QTest::newRow("back to the top") << QList{ctrlEnd, QKeyCombination(Qt::ControlModifier, Qt::Key_Home)}
                                         << "2.0×10の3乗 ニュートン毎メートル\n" << 0;
    }
    // clang-format on

    // The caret, the offset and line a reader gets and is told of, Enter on
    // links, the Menu key's scroll.
    void caretAndReaderAgree()
    {
        QFETCH(QList<QKeyCombination>, keys);
        QFETCH(QString, line);
        QFETCH(int, linksFollowed);
        QTextBrowser view;
        view.setOpenLinks(false);
        caretbrowsing::enable(&view);
        view.resize(400, 60);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        // The last line ends in a space after its link, as a line break after
        // the last paragraph leaves it.
        view.setHtml(QStringLiteral("<p>2.0×10<sup>3</sup> N/m</p><p><a href=\"a.html\">解答</a> へ</p>"
                                    "%1<p>おわりは<a href=\"b.html\">解説</a></p>\n")
                         .arg(QStringLiteral("<p>行</p>").repeated(20)));
        view.setFocus();
        QSignalSpy followed(&view, &QTextBrowser::anchorClicked);
        QCoreApplication::processEvents(); // what the new page told
        HeardEvents heard;
        for (QKeyCombination key : keys)
            QTest::keyClick(&view, key.key(), key.keyboardModifiers());
        QCoreApplication::processEvents(); // the caret's notice follows the pane's own

        QAccessibleTextInterface *text = QAccessible::queryAccessibleInterface(&view)->textInterface();
        const SpokenText spoken(*view.document());
        QCOMPARE(text->cursorPosition(), spoken.caretOffset(view.textCursor().position()));
        const QList<HeardEvents::Event> moves = heard.of(&view, QAccessible::TextCaretMoved);
        QCOMPARE(moves.isEmpty(), keys.isEmpty());
        if (!moves.isEmpty())
            QCOMPARE(moves.last().caret, text->cursorPosition());
        int start = 0, end = 0;
        QCOMPARE(text->textAtOffset(text->cursorPosition(), QAccessible::LineBoundary, &start, &end)
                     .replace(QStringLiteral("かける"), QStringLiteral("×")),
                 line);
        QCOMPARE(text->text(0, text->characterCount()), spoken.text());
        QTest::keyClick(&view, Qt::Key_Return);
        QCOMPARE(followed.count(), linksFollowed);
        text->setCursorPosition(end); // the next line's start, which may be a link's name
        QCOMPARE(view.textCursor().position(), spoken.toDocument(end));

        QScrollBar *bar = view.verticalScrollBar();
        bar->setValue(bar->value() > 0 ? 0 : bar->maximum()); // away from the caret
        const int scrolled = bar->value();
        // What the platform sends for the Menu key; the pane scrolls to the caret first.
        QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(), view.mapToGlobal(QPoint()));
        QApplication::sendEvent(&view, &menuKey);
        QCoreApplication::processEvents();
        QCOMPARE(bar->value(), scrolled);
        if (QWidget *menu = QApplication::activePopupWidget())
            menu->close();
    }
};

VARDO_TEST_MAIN(SpokenTextTest)
#include "spokentext_test.moc"
