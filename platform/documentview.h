#pragma once

#include <QTextBrowser>
#include <QVariant>

// An HTML pane for a document that lies outside the program. It shows the
// document and scrolls; a link "event:NAME?DATA" raises eventRaised(NAME,
// DATA). Nothing else leaves the pane: it follows no link of its own accord,
// touches no network, starts no program, and reads only files inside the
// folder of the document it was opened on.
class DocumentView : public QTextBrowser
{
    Q_OBJECT

public:
    // Bytes read from one file at most; the page says when a file was cut.
    static constexpr qint64 maxBytes = 8 * 1024 * 1024;

    explicit DocumentView(QWidget *parent = nullptr);

    // Shows the file at `path`; its folder becomes the only one the pane
    // reads from. False, changing nothing, when the file cannot be read.
    bool openFile(const QString &path);
    // Shows a page of the program's own; no file is readable afterwards.
    void showPage(const QString &html);
    // The folder the pane may read from; empty when none.
    QString folder() const { return m_folder; }

signals:
    void eventRaised(const QString &name, const QVariant &data);

protected:
    QVariant loadResource(int type, const QUrl &name) override;

private:
    void onAnchorClicked(const QUrl &url);
    bool showFile(const QString &path);
    QString fileInside(const QUrl &url) const;

    QString m_folder;
    QUrl m_base;
};
