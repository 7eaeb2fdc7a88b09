#pragma once

#include "document/documentjob.h"

#include <QElapsedTimer>
#include <QTextBrowser>
#include <QTimer>
#include <QVariant>

#include <memory>

// An HTML pane for a document that lies outside the program. It shows the
// document and scrolls; a link "event:NAME?DATA" raises eventRaised(NAME,
// DATA). Nothing else leaves the pane: it follows no link of its own accord,
// touches no network, starts no program, and reads only files inside the
// folder of the document it was opened on.
//
// A file is read, checked, parsed and laid out on a thread of its own, so
// that no document can freeze the window: the pane never waits for it past
// deadlineMs (past the time a large file takes to read and parse), and a
// document not ready by then is given up as too complex to display. A pane
// shown while its document is on the way waits for it at most firstScreenMs,
// then shows a page saying it is loading.
class DocumentView : public QTextBrowser
{
    Q_OBJECT

public:
    // Bytes read from one file at most; the page says when a file was cut.
    static constexpr qint64 maxBytes = 8 * 1024 * 1024;
    static constexpr int firstScreenMs = 300;
    static constexpr int deadlineMs = 2000;
    // A document's trial layout stops here and keeps what it has: the pane
    // lays the document out once more itself.
    static constexpr int layoutBudgetMs = deadlineMs / 4;
    // Reading and parsing grow with the file alone, which maxBytes bounds:
    // the deadline waits for them, up to this long in all.
    static constexpr int readingMs = 10000;

    // When openFile() holds up its caller: until the document is shown (at
    // most deadlineMs), or not at all, the pane waiting instead before it is
    // first shown, so that the caller can build other things meanwhile.
    enum class Wait { ForDocument, BeforeFirstShow };

    explicit DocumentView(QWidget *parent = nullptr);
    ~DocumentView() override;

    // Shows the file at `path`; its folder becomes the only one the pane
    // reads from. False, changing nothing, when there is no readable file.
    bool openFile(const QString &path, Wait wait = Wait::ForDocument);
    // Starts reading and parsing `path` for a pane in `font` before any pane
    // exists, so that the work overlaps whatever is built first: the next
    // openFile() of that path in that font takes it over, and any other
    // openFile() or showPage() throws it away.
    static void prefetch(const QString &path, const QFont &font);
    // Shows a page of the program's own; no file is readable afterwards.
    void showPage(const QString &html);
    // The folder the pane may read from; empty when none.
    QString folder() const { return m_folder; }

signals:
    void eventRaised(const QString &name, const QVariant &data);

protected:
    QVariant loadResource(int type, const QUrl &name) override;
    void showEvent(QShowEvent *event) override;

private:
    void onAnchorClicked(const QUrl &url);
    static std::unique_ptr<DocumentJob> &prefetched();
    static DocumentJob::Request request(const QString &path, const QString &folder,
                                        const QFont &font);
    void startJob(const QString &path);
    void waitForJob(int ms);
    void finishJob();
    void onDeadline();
    void showHtml(const QString &html);
    void replaceDocument(QTextDocument *document);
    QString fileInside(const QUrl &url) const;
    int textWidthToExpect() const;

    QString m_folder;
    QUrl m_base;
    std::unique_ptr<DocumentJob> m_job;
    QString m_jobPath;
    QString m_jobAnchor;
    QElapsedTimer m_jobClock;
    QTimer m_deadline;
    bool m_holdUntilShown = false;
};
