#pragma once

#include "document/documentjob.h"
#include "document/resourcegate.h"

#include <QElapsedTimer>
#include <QTextBrowser>
#include <QVariant>

#include <memory>

// An HTML pane for a document that lies outside the program. It shows the
// document and scrolls; a link "event:NAME?DATA" raises eventRaised(NAME,
// DATA). Nothing else leaves the pane: it follows no link of its own accord,
// touches no network, starts no program, and reads only files beneath the
// folder of the document it was opened on.
//
// Documents are read, parsed, cleaned and their pictures decoded by a
// DocumentJob, one at a time, so that nothing the pane does on its own
// thread grows with what a document holds; a link to another page loads it
// the same way, with a page saying so meanwhile. Ctrl+plus, Ctrl+minus and
// Ctrl+0 step the text's size (see paperzoom.h); the wheel does not zoom.
//
// Alt+Left, the link 「問題にもどる」 on the pages the pane writes itself
// while a page a link opened is loading or cannot be shown, or a link to the
// document shown before that link, goes back to it, read again the same
// way, with the caret where the reader left it.
//
// What the pane gives away of its text is built by its own code: the
// selection as plain text and HTML (see SelectionData), and the text a
// screen reader reads (see reading/documentaccessible.h).
class DocumentView : public QTextBrowser
{
    Q_OBJECT

public:
    // A pane shown while its document is on the way waits this long for it
    // before it shows the page saying it is loading.
    static constexpr int firstScreenMs = 300;
    // openFile() with Wait::ForDocument holds its caller this long at most.
    static constexpr int openWaitMs = 5000;

    // When openFile() holds up its caller: until the document is shown (at
    // most openWaitMs); not at all, a pane not yet shown waiting instead
    // before it is first shown (firstScreenMs), so that the caller can build
    // other things meanwhile; or not at all, the loading page showing until
    // the document comes.
    enum class Wait { ForDocument, BeforeFirstShow, No };

    // Where the pane is. Every change of state goes through enter().
    enum class State {
        Empty,   // no document: Qt's own, or a page of the program's
        Held,    // a job runs for a pane not shown yet; shown, it waits firstScreenMs
        Loading, // a job runs; the loading page is shown
        Showing, // a document, or the page saying why it is not shown
    };

    explicit DocumentView(QWidget *parent = nullptr);
    ~DocumentView() override;

    // A job for the document at `path`, in `font`, for a pane to take over:
    // its owner starts it early, so that the work overlaps whatever it
    // builds before the pane. Its pictures are decoded for `scale` device
    // pixels to a pixel, the application's when 0. None when there is no
    // readable file.
    static std::unique_ptr<DocumentJob> startJob(const QString &path, const QFont &font, qreal scale = 0);

    // Shows the file at `path`; its folder becomes the only one the pane
    // reads from. `started`, a job from startJob(), is taken over when it is
    // for this file in this pane's font and at this pane's device pixel ratio
    // (its pictures decoded for the screen the pane is on), and thrown away
    // otherwise. False, changing nothing, when there is no readable file.
    bool openFile(const QString &path, Wait wait = Wait::ForDocument, std::unique_ptr<DocumentJob> started = nullptr);
    // Shows a page of the program's own; no file is readable afterwards.
    void showPage(const QString &html);
    // The folder the pane may read from; empty when none.
    QString folder() const { return m_gate.folderPath(); }
    State state() const { return m_state; }
    // The text's size, in per cent of the document's own: every page the
    // pane shows is at it, and every start at 100.
    int zoom() const { return m_zoom; }

public slots:
    // Back to the document shown before the last link followed, if any.
    void backward() override;

signals:
    void eventRaised(const QString &name, const QVariant &data);
    // A link, or Alt+Left, put another page in place of the one shown; its
    // title, or failing one its first line.
    void pageFollowed(const QString &title);
    // A zoom key was pressed: the text is now at `percent`, or stayed there
    // when `changed` is false: at either end of the sizes, or for a document
    // with more runs in sizes of their own than a step may lay out.
    void zoomed(int percent, bool changed);

protected:
    // Grants nothing: the pane's documents load what they need themselves.
    QVariant loadResource(int type, const QUrl &name) override;
    void showEvent(QShowEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    bool event(QEvent *event) override;
    // No input method: its text would go into the document, read only or not.
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    QMimeData *createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    void onAnchorClicked(const QUrl &url);
    void load(std::unique_ptr<DocumentJob> job, bool hold);
    void enter(State next);
    void finishJob();
    void follow(const ResourceGate &gate, int caret = -1);
    QString wayBack() const;
    void showHtml(const QString &html);
    void replaceDocument(QTextDocument *document);
    void zoomBy(int ask);
    DocumentJob::Request request(const ResourceGate &gate) const;

    State m_state = State::Empty;
    ResourceGate m_gate;
    // The document on show, when the pane shows one; and where Alt+Left goes.
    ResourceGate m_shown;
    // A document a link left, and where its caret was.
    struct Step
    {
        ResourceGate gate;
        int caret = 0;
    };
    QList<Step> m_back; // documents a link left, that Alt+Left goes back to, last first
    // Where the caret goes in the document a job brings, when it is one
    // gone back to; and whether a link or Alt+Left asked for the job.
    int m_jobCaret = -1;
    bool m_jobFollowed = false;
    std::unique_ptr<DocumentJob> m_job;
    // The pages links open are parsed one at a time.
    std::shared_ptr<DocumentJob::Lane> m_links = DocumentJob::newLane();
    int m_zoom = 100;
    QString m_jobAnchor;
    QElapsedTimer m_jobClock;
};
