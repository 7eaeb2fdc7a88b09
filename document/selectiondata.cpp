#include "document/selectiondata.h"

#include "document/confineddocument.h"
#include "markup/limits.h"
#include "speech/spokenwords.h"

#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QTextCursor>

#include <algorithm>

namespace {

const QString plainType = QStringLiteral("text/plain");
const QString htmlType = QStringLiteral("text/html");

QTextCursor capped(QTextCursor selection)
{
    const int start = selection.selectionStart();
    int end = std::min(selection.selectionEnd(), start + DocumentLimits::selectionChars);
    int items = 0;
    for (QTextBlock block = selection.document()->findBlock(start); block.isValid() && block.position() < end;
         block = block.next()) {
        if (block.textList() && ++items > DocumentLimits::selectionListItems)
            end = block.position();
    }
    selection.setPosition(start);
    selection.setPosition(end, QTextCursor::KeepAnchor);
    return selection;
}

const QString pictureWords = QStringLiteral("（画像）");

// The plain text with each picture in words. A picture is an object
// character in the text, but a page may hold that character as text too,
// which is copied as it is.
QString plainTextInWords(const QTextDocument &document)
{
    const QString text = document.toPlainText(); // a character for each position
    QString words;
    qsizetype from = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat())
                continue;
            for (int at = fragment.position(); at < fragment.position() + fragment.length(); ++at) {
                words += QStringView(text).mid(from, at - from);
                words += pictureWords;
                from = at + 1;
            }
        }
    }
    words += QStringView(text).mid(from);
    return words;
}

} // namespace

SelectionData::SelectionData(const QTextCursor &selection) : m_fragment(capped(selection))
{}

QStringList SelectionData::formats() const
{
    return {plainType, htmlType};
}

bool SelectionData::hasFormat(const QString &mimeType) const
{
    return mimeType == plainType || mimeType == htmlType;
}

QVariant SelectionData::retrieveData(const QString &mimeType, QMetaType) const
{
    if (!hasFormat(mimeType))
        return QVariant();
    build();
    return mimeType == plainType ? m_text : m_html;
}

// In a document that grants nothing, in case anything in it still asked.
void SelectionData::build() const
{
    if (m_built)
        return;
    m_built = true;
    ConfinedDocument copy;
    QTextCursor(&copy).insertFragment(m_fragment);
    // The words put in place of each picture in the finished text, not in
    // the document: an edit per picture took seconds for a few thousand.
    // A picture is an <img> element in the HTML, whose attributes Qt escapes.
    // The word joiners that keep a label on one line would only hinder
    // whoever searches or compares the copy.
    using spokenwords::wordJoiner;
    m_text = plainTextInWords(copy).remove(wordJoiner);
    static const QRegularExpression picture(QStringLiteral("<img\\b[^>]*>"));
    m_html = copy.toHtml().replace(picture, pictureWords).remove(wordJoiner);
}
