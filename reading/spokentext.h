#pragma once

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
// picture as 「（画像）」, and a link is named as one before its text. A
// table row is one line, its cells joined by 「、」; other line and paragraph
// breaks become "\n".
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

    void readRows(const QTextFrame &frame, const QString &shown, QList<spokenwords::Replacement> *words,
                  bool inTable);
    void verbatim(int position, const QString &characters);
    void inWords(int position, int length, const QString &words);

    QList<Run> m_runs;
    QList<Row> m_rows; // in document order, outermost tables only
    QString m_text;
    int m_documentLength = 0;
};
