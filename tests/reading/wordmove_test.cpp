#include <QAccessible>
#include <QTest>
#include <QTextBrowser>

#include <algorithm>

#include "support/caretpane.h"
#include "support/testmain.h"

// What a screen reader says after Ctrl+Right and Ctrl+Left in the pane.
class WordMoveTest : public QObject
{
    Q_OBJECT

private slots:
    void ctrlArrows_hearTheWholeWordPassedOrLandedOn_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QStringList>("words");  // landed on at each stop, from the start
        QTest::addColumn<QStringList>("passed"); // passed over to each stop, where other
        const auto row = [](const char *name, const QString &html, const QStringList &words,
                            const QStringList &passed = {}) {
            QTest::newRow(name) << html << words << (passed.isEmpty() ? words : passed);
        };
        // A sign that ends the text is heard with the word before it.
        row("kanji words and a particle", "物理の問題です。", {"物理", "の", "問題", "です。"});
        row("a particle after kanji", "<b>解答のしかた</b>", {"解答", "の", "しかた"});
        row("katakana with its long vowel", "エネルギーを保存", {"エネルギー", "を", "保存"});
        row("a unit read in words", "10 m/s で", {"10", "メートル毎秒", "で"});
        row("a sign read in words", "q ＞ 0 とする", {"q", "大なり", "0", "とする"});
        // A link's name is heard passing into it.
        row("a link, its name no stop", "次は<a href=\"a.html\">問題にもどる</a>", {"次", "は", "問題", "に", "もどる"},
            {"次", "はリンク", "問題", "に", "もどる"});
        row("a raised power", "2.0×10<sup>3</sup> N", {"2.0", "かける", "10", "の3乗", "ニュートン"});
        row("over a paragraph's end", "<p>甲乙</p><p>丙丁</p>", {"甲乙", "丙丁"});
        // A sign with no space after it is heard with the word after it:
        // Orca reads a word after a character from one before the caret
        // when a sign stands there, and would say the sign alone.
        row("a full stop against the next sentence", "甲乙。丙丁", {"甲乙", "。丙丁"});
        row("a comma after a particle", "ある。次に、力を", {"ある", "。次", "に", "、力", "を"});
        // Where Orca's two readings parted, one word heard twice and the next lost.
        row("a space before a stop", "ラジウム 226 原子が", {"ラジウム", "226", "原子", "が"});
        row("a full stop at a line's end", "<p>一つ選べ。</p><p>次</p>", {"一", "つ", "選", "べ", "。", "次"});
    }

    // Orca takes a word move for a character move when Ctrl is let go before
    // it hears of the move, and asks for the character at the caret; held,
    // it says what a move to the right passed over, and asks for the word
    // at the caret after one to the left, spaces after it and all (see
    // below). Either way the same whole word is heard: to the right the one
    // passed over, ending at the caret; to the left the one the caret now
    // starts. Right and Left after it hear single characters again.
    void ctrlArrows_hearTheWholeWordPassedOrLandedOn()
    {
        QFETCH(QString, html);
        QFETCH(QStringList, words);
        QFETCH(QStringList, passed);
        QTextBrowser view;
        QAccessibleTextInterface *text = showCaretPane(view, html);
        QVERIFY(text);
        const auto heard = [text](bool right) {
            const int caret = text->cursorPosition();
            int start = 0, end = 0;
            const QString character = text->textAtOffset(caret, QAccessible::CharBoundary, &start, &end);
            const QString word = text->textAtOffset(-2, QAccessible::WordBoundary, &start, &end);
            if ((right ? end != caret : start != caret) || end <= start || character != word.trimmed())
                return QStringLiteral("%1 | %2 [%3, %4) at %5").arg(character, word).arg(start).arg(end).arg(caret);
            return character;
        };
        const auto key = [&view](Qt::Key key, Qt::KeyboardModifiers modifiers) { return moved(view, key, modifiers); };

        QStringList forward;
        while (key(Qt::Key_Right, Qt::ControlModifier) && forward.size() <= passed.size())
            forward << heard(true);
        QCOMPARE(forward, passed);

        QStringList back;
        while (key(Qt::Key_Left, Qt::ControlModifier) && back.size() < words.size())
            back.prepend(heard(false));
        QCOMPARE(back, words);

        // Back onto the stop by characters: the first character alone.
        QVERIFY(key(Qt::Key_Right, Qt::NoModifier));
        QVERIFY(key(Qt::Key_Left, Qt::NoModifier));
        int start = 0, end = 0;
        QCOMPARE(text->textAtOffset(-2, QAccessible::CharBoundary, &start, &end), words.first().left(1));
    }

    // From a word's end, as Down or Right can leave the caret, Ctrl+Right
    // passes the spaces and the whole word after them: never a stop on
    // spaces alone, which Orca says as 「space」 or 「blank」.
    void ctrlRightFromAWordsEnd_passesTheNextWordWhole_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<int>("rights"); // plain Right presses first
        QTest::addColumn<QString>("passed");
        QTest::newRow("after a choice's number") << "<p>① 5.04 u</p>" << 1 << "5.04";
        QTest::newRow("at a line's end") << "<p>甲乙</p><p>丙丁</p>" << 2 << "丙丁";
    }

    void ctrlRightFromAWordsEnd_passesTheNextWordWhole()
    {
        QFETCH(QString, html);
        QFETCH(int, rights);
        QFETCH(QString, passed);
        QTextBrowser view;
        QAccessibleTextInterface *text = showCaretPane(view, html);
        QVERIFY(text);
        for (int i = 0; i < rights; ++i)
            QVERIFY(moved(view, Qt::Key_Right, Qt::NoModifier));
        QVERIFY(moved(view, Qt::Key_Right, Qt::ControlModifier));
        int start = 0, end = 0;
        QCOMPARE(text->textAtOffset(-2, QAccessible::WordBoundary, &start, &end).trimmed(), passed);
    }

    void ctrlLeftHeld_hearsTheWordLandedOn_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QStringList>("words"); // at each stop back from the end
        QTest::newRow("a closing bracket before a space") << "第4版） 次" << QStringList{"第", "4", "版", "）", "次"};
        QTest::newRow("a full stop before a line break") << "<p>甲乙。</p><p>丙</p>" << QStringList{"甲乙", "。", "丙"};
        QTest::newRow("a unit read in words") << "10 m/s で" << QStringList{"10", "メートル毎秒", "で"};
        QTest::newRow("a link, its name no stop")
            << "次は<a href=\"a.html\">問題にもどる</a>" << QStringList{"次", "は", "問題", "に", "もどる"};
        // At the end of the text no space follows a sign: alone it would be
        // dropped and nothing heard at all, as a paper ending in a link did.
        QTest::newRow("a closing bracket that ends the text") << "第4版）" << QStringList{"第", "4", "版"};
        QTest::newRow("two signs that end the text") << "甲乙。」" << QStringList{"甲乙。"};
        QTest::newRow("a space and a sign that end the text") << "<pre>甲乙 。</pre>" << QStringList{"甲乙"};
        // A sign that stands against the next word is heard with it.
        QTest::newRow("brackets against words")
            << "問（4点）と「図1」を見よ" << QStringList{"問", "（4", "点", "）と", "「図", "1", "」を", "見", "よ"};
        QTest::newRow("a full stop against the next sentence") << "甲乙。丙丁" << QStringList{"甲乙", "。丙丁"};
        QTest::newRow("a link that ends the text in a sign")
            << "<p>甲</p><p><a href=\"a.html\">問題にもどる。</a></p>" << QStringList{"甲", "問題", "に", "もどる"};
    }

    // With Ctrl still down when it hears of a move back, Orca asks for the
    // word at the caret and says from the caret to that word's end, less a
    // last character that is neither a space nor a letter or digit (taken
    // for where a word move would have stopped), spaces trimmed.
    void ctrlLeftHeld_hearsTheWordLandedOn()
    {
        QFETCH(QString, html);
        QFETCH(QStringList, words);
        QTextBrowser view;
        QAccessibleTextInterface *text = showCaretPane(view, html);
        QVERIFY(text);
        const auto heard = [text] {
            const int caret = text->cursorPosition();
            int start = 0, end = 0;
            const QString word = text->textAtOffset(caret, QAccessible::WordBoundary, &start, &end);
            if (!word.isEmpty() && !word.back().isSpace() && !word.back().isLetterOrNumber())
                --end;
            return text->text(caret, std::max(caret, end)).trimmed();
        };
        QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
        QStringList back;
        while (moved(view, Qt::Key_Left, Qt::ControlModifier) && back.size() < words.size())
            back.prepend(heard());
        QCOMPARE(back, words);
    }

private:
    // Presses `key` in `view`; whether its caret moved.
    static bool moved(QTextBrowser &view, Qt::Key key, Qt::KeyboardModifiers modifiers)
    {
        const int was = view.textCursor().position();
        QTest::keyClick(&view, key, modifiers);
        return view.textCursor().position() != was;
    }
};

VARDO_TEST_MAIN(WordMoveTest)
#include "wordmove_test.moc"
