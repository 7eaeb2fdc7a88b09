#pragma once

#include <QList>
#include <QString>

// Where a reader's characters, words, sentences and paragraphs begin and end
// in a text. Each unit cuts the whole text into pieces that follow one
// another without gaps, as a text box answers a screen reader:
// - a character is a code point with the marks that follow it;
// - a word is a run of one script (kanji, hiragana, katakana with its long
//   vowel mark, or letters and digits, with a point or comma between digits
//   as in 2.5 or 1,000); a run of spaces, a line break and each other sign
//   are pieces of their own, and so is a particle after a word (の in
//   解答のしかた); a character made of words is a word;
// - a sentence runs through 。．！？.!? with the closing brackets and spaces
//   after them, or through a line break; a point between digits ends none;
// - a paragraph runs through its line break.
class TextBoundaries
{
public:
    enum class Unit { Character, Word, Sentence, Paragraph };
    struct Range
    {
        int start = 0;
        int end = 0;
    };

    TextBoundaries() = default;
    // `characters`: ranges, in order, each one character and one word
    // however long, as words read for a sign are.
    explicit TextBoundaries(const QString &text, const QList<Range> &characters = {});

    // The piece holding `offset`, which runs from 0 to the text's size. At
    // the end, no character, and the last piece of the other units unless a
    // line break ends the text.
    Range at(int offset, Unit unit) const;

private:
    // The pieces' starts, then the text's size.
    QList<int> m_starts[4];
    int m_size = 0;
    bool m_endsWithBreak = false;
};
