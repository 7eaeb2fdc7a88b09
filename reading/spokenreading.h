#pragma once

#include "reading/spokentext.h"
#include "speech/textboundaries.h"

#include <QStringView>

#include <memory>

class QTextDocument;

// Where the signs and spaces that end `text` begin: after its last letter,
// digit or mark, what a screen reader says as part of a word; 0 when it is
// signs and spaces alone. Orca with Ctrl held drops a sign from the end of a
// word it is given.
qsizetype signsAtTheEnd(QStringView text);

// All a screen reader is answered from for one text of a document: its
// SpokenText, that text's pieces, and where the signs that end it begin.
// Working it out takes a quarter of a second for a long page, so the thread
// that parses a page prepares it there, and the document carries it to the
// pane; a reader meets it ready on its first question or key.
class SpokenReading
{
public:
    explicit SpokenReading(const QTextDocument &document);

    const SpokenText &spoken() const { return m_spoken; }
    const TextBoundaries &boundaries() const { return m_boundaries; }
    // Where the signs and spaces that end the text begin: after its last
    // letter, digit or mark.
    qsizetype signsFrom() const { return m_signsFrom; }
    // Whether `document` still holds the text this was worked out from.
    bool isFor(const QTextDocument &document) const;

    // Works out `document`'s reading and keeps it with the document, which
    // may then move to another thread.
    static std::shared_ptr<const SpokenReading> prepare(QTextDocument &document);
    // The reading kept with `document` while it holds the text it was
    // worked out for; null once that text changed or none was prepared.
    static std::shared_ptr<const SpokenReading> kept(const QTextDocument &document);
    // The kept reading, or one worked out now and kept.
    static std::shared_ptr<const SpokenReading> of(QTextDocument &document);
    // Keeps `before`, worked out for `document` before an edit that changed
    // formats alone, as the reading of the text it still holds.
    static void keepAfterFormatEdit(QTextDocument &document, const SpokenReading &before);

private:
    SpokenText m_spoken;
    TextBoundaries m_boundaries;
    qsizetype m_signsFrom = 0;
    int m_revision = 0;
};
