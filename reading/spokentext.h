#pragma once

#include <QList>
#include <QString>

class QTextDocument;

// The text a screen reader gets for a document: its characters as shown,
// except where the look carries a meaning the characters lose. A raised
// exponent is read in words (2.0×10 with a raised 3 is 「2.0かける10の3乗」,
// 10 with a raised −34 「10のマイナス34乗」), a squared or cubed unit by its name
// (m/s with a raised 2 is 「メートル毎秒毎秒」), a minus sign as 「マイナス」, a
// picture as 「（画像）」, and a link is named as one before its text. Line
// and paragraph breaks become "\n".
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
    int toSpoken(int position) const;
    int toDocument(int offset) const;

    // A unit written before a raised exponent, read as words ("m" and 2 is
    // 「平方メートル」, "m/s" and 2 「メートル毎秒毎秒」); empty when the unit is
    // not one this knows.
    static QString unitInWords(const QString &unit, int exponent);

private:
    struct Run
    {
        int position;     // first document position
        int length;       // document positions covered (0: words inserted)
        int offset;       // first spoken offset
        int spokenLength; // spoken characters
        bool verbatim;    // read character for character
    };

    void verbatim(int position, const QString &characters);
    void inWords(int position, int length, const QString &words);

    QList<Run> m_runs;
    QString m_text;
    int m_documentLength = 0;
};
