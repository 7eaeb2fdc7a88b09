#pragma once

#include "markup/limits.h"

#include <QList>
#include <QString>
#include <QTextImageFormat>

#include <atomic>

class QTextDocument;

// What Qt parsed out of an author's HTML, cut down to what a question paper
// needs. Whatever the markup's spelling, the parsed document holds every
// length, size and resource Qt will act on, so this is where they are
// bounded: line heights, font sizes, spacings, margins, paddings, indents,
// borders, table, cell and picture sizes are brought into ranges a paper
// uses; tool tips become plain text; background pictures are dropped; and a
// document that would cost too much to lay out is cut after the last piece
// that fits.
namespace documentclean {

struct Limits
{
    // The layout cost kept, in units of about one character of plain Latin
    // text; see cost() in documentclean.cpp.
    qint64 cost = DocumentLimits::layoutCost;
    // The height kept, in pixels at 100 % in the narrowest pane.
    qreal height = DocumentLimits::documentHeight;
    // Distinct fonts kept, a family list counting once per family; past
    // them text is set in the document's default font.
    int fonts = DocumentLimits::fonts;
};

enum class Cut {
    None,
    Long,    // plain text past the limit: the front is kept
    Complex, // tables, formats or long lines cost the limit: the front is kept
};

// A picture the document shows, at `position`, with its format as parsed.
struct Picture
{
    int position = 0;
    QTextImageFormat format;
};

struct Outcome
{
    Cut cut = Cut::None;
    // Nothing at all was kept: not even the first piece fitted.
    bool empty = false;
    QList<Picture> pictures;
};

// Cleans `document` in place; stops early, with the document half cleaned,
// once `cancelled` is set.
Outcome clean(QTextDocument &document, const std::atomic_bool &cancelled, const Limits &limits = {});

// Takes off the spaces Qt's reader leaves closing a paragraph (a line break
// before </p> is read as one): End and Ctrl+End then leave the caret right
// after the last word, and a reader asking for the character before it
// hears that word's last letter. Preformatted paragraphs keep theirs.
void dropClosingSpaces(QTextDocument &document, const std::atomic_bool &cancelled = false);

// Gives the picture at each `pictures` position the format it holds.
void setPictureFormats(QTextDocument &document, const QList<Picture> &pictures);

} // namespace documentclean
