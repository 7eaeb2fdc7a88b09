#pragma once

#include "speech/textboundaries.h"

#include <QList>
#include <QString>

class QTextDocument;
class QTextFrame;
namespace spokenwords {
struct Replacement;
}

// The text a screen reader gets for a document: its characters as shown,
// except where the look carries a meaning the characters lose. Signs, units
// and raised exponents are read in words (spokenwords.h: 2.0×10 with a raised
// 3 is 「2.0かける10の3乗」, 9.8 m/s with a raised 2 「9.8 メートル毎秒毎秒」), a
// picture as 「（画像）」, a stretch marked to be read as words as them
// (readas.h), and a link is named as one before its text. A table row is
// one line, its cells joined by 「、」, empty ones left out; other line and
// paragraph breaks become "\n".
//
// Offsets map both ways, so that the caret a reader moves and the pane's own
// cursor stay together: a document position inside a stretch read in words
// maps to the start of its words, and an offset inside the words back to the
// start of the stretch.
class SpokenText
{
public:
    SpokenText() = default;
    explicit SpokenText(const QTextDocument &document);

    const QString &text() const { return m_text; }
    // Document positions run 0 .. documentLength(): the last paragraph's end
    // is not part of the text.
    int documentLength() const { return m_documentLength; }
    // `pastWords`: a position inside a stretch read in words maps past them,
    // as a line that wraps inside 1/16 ends: the words belong to the line the
    // stretch starts on.
    int toSpoken(int position, bool pastWords = false) const;
    int toDocument(int offset) const;

    // Where a reader's caret is for the pane's caret at `position`: on the
    // character there, past words inserted before it. A link's name is heard
    // with its line, and Right onto the link's first character hears it.
    int caretOffset(int position) const;
    // The stretch read in words that `position` lies strictly inside: the
    // caret steps over it in one move, so that its words are heard once.
    bool insideWords(int position, int *from, int *to) const;
    // The spoken ranges, [start, end), of each stretch read in words: to a
    // reader each is one character, heard whole (＞ is 「大なり」).
    QList<TextBoundaries::Range> wordRanges() const;

    // The document positions of the table row holding `position`, through
    // the break that ends it; false outside tables.
    bool rowAt(int position, int *from, int *to) const;

private:
    struct Run
    {
        int position;     // first document position
        int length;       // document positions covered (0: words inserted)
        int offset;       // first spoken offset
        int spokenLength; // spoken characters
        bool verbatim;    // read character for character
    };

    struct Row
    {
        int from;
        int to;
    };

    void readRows(const QTextFrame &frame, const QString &shown, QList<spokenwords::Replacement> *words, bool inTable);
    // The first run that ends after `position`; words inserted at it end there.
    QList<Run>::const_iterator runAfter(int position) const;
    void verbatim(int position, const QString &characters);
    void inWords(int position, int length, const QString &words);

    QList<Run> m_runs;
    QList<Row> m_rows; // in document order, outermost tables only
    QString m_text;
    int m_documentLength = 0;
};
