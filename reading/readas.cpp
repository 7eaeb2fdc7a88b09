#include "reading/readas.h"

#include <QTextCursor>
#include <QTextDocument>

namespace {

constexpr int readAsProperty = QTextFormat::UserProperty + 1;

} // namespace

namespace readas {

void mark(QTextDocument *document, const QList<Stretch> &stretches)
{
    QTextCursor cursor(document);
    for (const Stretch &stretch : stretches) {
        cursor.setPosition(stretch.position);
        cursor.setPosition(stretch.position + stretch.length, QTextCursor::KeepAnchor);
        QTextCharFormat format;
        format.setProperty(readAsProperty, stretch.words);
        cursor.mergeCharFormat(format);
    }
}

bool marked(const QTextCharFormat &format)
{
    return format.hasProperty(readAsProperty);
}

QString words(const QTextCharFormat &format)
{
    return format.stringProperty(readAsProperty);
}

} // namespace readas
