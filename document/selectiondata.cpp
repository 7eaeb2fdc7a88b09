#include "document/selectiondata.h"

#include "document/confineddocument.h"

#include <QTextBlock>
#include <QTextCursor>

#include <algorithm>

namespace {

const QString plainType = QStringLiteral("text/plain");
const QString htmlType = QStringLiteral("text/html");

QTextCursor capped(QTextCursor selection)
{
    const int start = selection.selectionStart();
    const int end = std::min(selection.selectionEnd(), start + SelectionData::maxCharacters);
    selection.setPosition(start);
    selection.setPosition(end, QTextCursor::KeepAnchor);
    return selection;
}

// Puts the words for a picture where each picture was, last first so that
// the positions still to replace stay where they were.
void replacePictures(QTextDocument *document)
{
    QList<int> pictures;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().isImageFormat()) {
                for (int i = 0; i < fragment.length(); ++i)
                    pictures.append(fragment.position() + i);
            }
        }
    }
    QTextCursor cursor(document);
    for (auto it = pictures.crbegin(); it != pictures.crend(); ++it) {
        cursor.setPosition(*it);
        cursor.setPosition(*it + 1, QTextCursor::KeepAnchor);
        cursor.insertText(QStringLiteral("（画像）"), QTextCharFormat());
    }
}

} // namespace

SelectionData::SelectionData(const QTextCursor &selection) : m_fragment(capped(selection))
{
}

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
    replacePictures(&copy);
    m_text = copy.toPlainText();
    m_html = copy.toHtml();
}
