#pragma once

#include <QMimeData>
#include <QTextDocumentFragment>

class QTextCursor;

// The pane's selection as the clipboard, a drag and the X11 selection take
// it: plain text and HTML alone, built here from a copy of the selection
// when first asked for. Pictures become the words 「（画像）」, so that no
// picture is read, and no picture's name is left to be resolved, by the pane
// or by the program that takes the data. Qt's own data would also offer an
// ODF export, which reads every picture by its name from the working
// directory, whole.
class SelectionData : public QMimeData
{
public:
    explicit SelectionData(const QTextCursor &selection);

    QStringList formats() const override;
    bool hasFormat(const QString &mimeType) const override;

protected:
    QVariant retrieveData(const QString &mimeType, QMetaType type) const override;

private:
    void build() const;

    QTextDocumentFragment m_fragment;
    mutable bool m_built = false;
    mutable QString m_text;
    mutable QString m_html;
};
