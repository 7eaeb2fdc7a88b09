#pragma once

#include <QList>
#include <QString>

class QTextCharFormat;
class QTextDocument;

// Stretches of a document shown one way and read another: a gap of spaces
// in a table drawn by character position is read as a column's name. The
// words ride in the stretch's character format, so nothing on screen
// changes; a pane's spoken text reads them in place of the characters.
namespace readas {

struct Stretch
{
    int position;
    int length;
    QString words;
};

// Empty words read a stretch as nothing: a line of spaces alone is then
// heard as an empty line is, not as a count of spaces.
void mark(QTextDocument *document, const QList<Stretch> &stretches);

// Whether a stretch in `format` is read as words() rather than as shown.
bool marked(const QTextCharFormat &format);
QString words(const QTextCharFormat &format);

} // namespace readas
