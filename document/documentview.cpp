#include "document/documentview.h"

#include "document/documentclean.h"
#include "document/firstscreen.h"
#include "document/paperzoom.h"
#include "document/selectiondata.h"
#include "markup/limits.h"
#include "reading/caretbrowsing.h"
#include "reading/spokenreading.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QWheelEvent>

namespace {

QString escaped(const QString &text)
{
    return text.toHtmlEscaped();
}

const char backScheme[] = "vardo-back";

// The link back to the document a link left, on the pages below.
QString backLink()
{
    return QStringLiteral("<p><a href=\"%1:\">問題にもどる</a></p>").arg(QLatin1String(backScheme));
}

QString refusedPage(const QString &path, const QString &reason, const QString &back)
{
    return QStringLiteral("<p>次の文書は表示できません（%1）。</p><p>%2</p>%3")
        .arg(escaped(reason), escaped(QDir::toNativeSeparators(path)), back);
}

QString loadingPage(const QString &path, const QString &back)
{
    return QStringLiteral("<p>文書を読み込んでいます…</p><p>%1</p>%2")
        .arg(escaped(QDir::toNativeSeparators(path)), back);
}

// Pages a link may open in the pane; a link to a picture or anything else
// does nothing.
bool isPage(const QString &name)
{
    static const QStringList suffixes = {QStringLiteral("htm"), QStringLiteral("html"), QStringLiteral("tx"),
                                         QStringLiteral("txt")};
    return suffixes.contains(QFileInfo(name).suffix().toLower());
}

bool isSamePageAnchor(const QUrl &url)
{
    return url.scheme().isEmpty() && url.path().isEmpty() && url.hasFragment();
}

QString pathOf(const ResourceGate &gate)
{
    return QDir(gate.folderPath()).filePath(gate.documentName());
}

// The file by its own name in its folder's real place: a symbolic link
// named as the document is refused where the folder reads it, never
// followed to make the link's folder the document's.
QString confinedPath(const QFileInfo &file)
{
    return QDir(QFileInfo(file.absolutePath()).canonicalFilePath()).filePath(file.fileName());
}

// What a page is called to a reader: its title, or its first line.
QString titleOf(const QTextDocument &document)
{
    constexpr int longest = 60;
    QString title = document.metaInformation(QTextDocument::DocumentTitle).simplified();
    for (QTextBlock block = document.begin(); title.isEmpty() && block.isValid(); block = block.next())
        title = block.text().simplified();
    return title.left(longest);
}

} // namespace

DocumentView::DocumentView(QWidget *parent) : QTextBrowser(parent)
{
    // Left on, the browser would try to load unknown schemes as documents.
    setOpenLinks(false);
    setOpenExternalLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &DocumentView::onAnchorClicked);
    // A text to move through by keys and to hear, not a picture of one.
    caretbrowsing::enable(this);
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

DocumentView::~DocumentView() = default;

DocumentJob::Request DocumentView::request(const ResourceGate &gate) const
{
    return {gate, font(), devicePixelRatioF()};
}

std::unique_ptr<DocumentJob> DocumentView::startJob(const QString &path, const QFont &font, qreal scale)
{
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable())
        return nullptr;
    ResourceGate gate = ResourceGate::forFile(confinedPath(info));
    if (!gate.isOpen())
        return nullptr;
    return std::make_unique<DocumentJob>(
        DocumentJob::Request{gate, font, scale > 0 ? scale : qApp->devicePixelRatio()});
}

bool DocumentView::openFile(const QString &path, Wait wait, std::unique_ptr<DocumentJob> started)
{
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable())
        return false;
    const QString confined = confinedPath(info);
    const bool same = started && pathOf(started->request().gate) == confined && started->request().font == font()
        && started->request().scale == devicePixelRatioF();
    std::unique_ptr<DocumentJob> job = same ? std::move(started) : startJob(confined, font(), devicePixelRatioF());
    if (!job)
        return false;
    m_gate = job->request().gate;
    m_back.clear();
    const bool hold = wait == Wait::BeforeFirstShow && !isVisible();
    if (wait == Wait::ForDocument && job->wait(openWaitMs)) {
        m_job = std::move(job);
        m_jobAnchor.clear();
        m_jobCaret = -1;
        m_jobFollowed = false;
        finishJob();
        return true;
    }
    load(std::move(job), hold);
    return true;
}

void DocumentView::showPage(const QString &html)
{
    m_job.reset();
    m_gate = ResourceGate();
    m_shown = ResourceGate();
    m_back.clear();
    showHtml(html);
    enter(State::Empty);
}

void DocumentView::load(std::unique_ptr<DocumentJob> job, bool hold)
{
    m_job = std::move(job);
    m_jobAnchor.clear();
    m_jobCaret = -1;
    m_jobFollowed = false;
    m_jobClock.start();
    m_job->whenDone(this, [this] {
        if (m_state == State::Loading)
            finishJob();
    });
    enter(hold ? State::Held : State::Loading);
}

// The one place the state changes:
//   Empty, Showing, Loading -> Held     a job for a pane not yet shown
//   any                     -> Loading  a job for a shown pane (the loading page)
//   Held                    -> Loading  first shown before the job is done
//   Held, Loading           -> Showing  the job's outcome is shown
//   any                     -> Empty    a page of the program's own
// Only Held and Loading have a job.
void DocumentView::enter(State next)
{
    m_state = next;
    if (next == State::Loading)
        showHtml(loadingPage(pathOf(m_job->request().gate), wayBack()));
    Q_ASSERT((m_job != nullptr) == (next == State::Held || next == State::Loading));
}

void DocumentView::finishJob()
{
    DocumentJob::Result result = m_job->take();
    const QString path = pathOf(m_job->request().gate);
    m_job.reset();
    m_shown = ResourceGate();
    switch (result.kind) {
    case DocumentJob::Result::Kind::Document:
        m_shown = m_gate;
        result.document->setParent(this);
        replaceDocument(result.document.release());
        if (m_jobCaret >= 0) {
            QTextCursor caret(document());
            caret.setPosition(std::min(m_jobCaret, document()->characterCount() - 1));
            setTextCursor(caret);
            ensureCursorVisible();
        }
        if (!m_jobAnchor.isEmpty())
            scrollToAnchor(m_jobAnchor);
        break;
    case DocumentJob::Result::Kind::Refused: showHtml(refusedPage(path, result.reason, wayBack())); break;
    case DocumentJob::Result::Kind::Unreadable:
        showHtml(refusedPage(path, QStringLiteral("読み込めません"), wayBack()));
        break;
    }
    m_jobCaret = -1;
    enter(State::Showing);
    if (std::exchange(m_jobFollowed, false))
        emit pageFollowed(titleOf(*document()));
}

void DocumentView::showEvent(QShowEvent *event)
{
    QTextBrowser::showEvent(event);
    if (m_state != State::Held)
        return;
    if (m_job->wait(firstScreenMs - int(m_jobClock.elapsed())))
        finishJob();
    else
        enter(State::Loading);
}

// Ctrl+wheel would zoom by a point a notch, a layout of the whole document
// each: the size is stepped by the keys alone.
void DocumentView::wheelEvent(QWheelEvent *event)
{
    if (event->modifiers() & Qt::ControlModifier) {
        event->accept();
        return;
    }
    QTextBrowser::wheelEvent(event);
}

// The zoom keys are the pane's own, before any shortcut of the window.
bool DocumentView::event(QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const paperzoom::Ask ask = paperzoom::asked(key);
        if (ask != paperzoom::Ask::None) {
            if (event->type() == QEvent::KeyPress)
                zoomBy(int(ask));
            event->accept();
            return true;
        }
    }
    return QTextBrowser::event(event);
}

// The document is laid out again at the new size, in Qt's steps after the
// screen shown; the caret stays on its character, and in view.
void DocumentView::zoomBy(int ask)
{
    const int percent = paperzoom::next(m_zoom, paperzoom::Ask(ask));
    const bool changed = percent != m_zoom && paperzoom::apply(*document(), percent);
    if (changed) {
        m_zoom = percent;
        ensureCursorVisible();
    }
    emit zoomed(m_zoom, changed);
}

void DocumentView::showHtml(const QString &html)
{
    auto *page = new ConfinedDocument(this);
    page->setDefaultFont(font());
    page->setHtml(html);
    documentclean::dropClosingSpaces(*page);
    SpokenReading::prepare(*page);
    replaceDocument(page);
}

void DocumentView::replaceDocument(QTextDocument *document)
{
    // The pane's first document belongs to Qt, which deletes it itself.
    QTextDocument *previous = QTextBrowser::document();
    const bool ours = previous->parent() == this;
    // Laid out once, by setDocument(), at the width it is shown in, with room
    // for the scroll bar: not at its own width first (a null page size lays
    // nothing out), nor again without the bar.
    document->setPageSize(QSizeF(0, 0));
    // Read only: an undo history would only keep every edit the cleaning and
    // the zoom make.
    document->setUndoRedoEnabled(false);
    // At the pane's size, or at its own when it has too many runs for that.
    paperzoom::apply(*document, m_zoom);
    if (auto *confined = qobject_cast<ConfinedDocument *>(document))
        confined->attachPictures();
    const Qt::ScrollBarPolicy policy = verticalScrollBarPolicy();
    if (policy == Qt::ScrollBarAsNeeded)
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setDocument(document);
    setVerticalScrollBarPolicy(policy);
    FirstScreen::holdLayout(document, viewport());
    if (ours)
        delete previous;
}

QVariant DocumentView::loadResource(int type, const QUrl &)
{
    if (type == QTextDocument::ImageResource)
        return ConfinedDocument::placeholder();
    return QByteArray();
}

void DocumentView::onAnchorClicked(const QUrl &url)
{
    if (url.scheme() == QLatin1String("event")) {
        const QVariant data = url.hasQuery() ? QVariant(url.query(QUrl::FullyDecoded)) : QVariant();
        emit eventRaised(url.path(QUrl::FullyDecoded), data);
        return;
    }
    if (url.scheme() == QLatin1String(backScheme)) {
        backward();
        return;
    }
    if (isSamePageAnchor(url)) {
        scrollToAnchor(url.fragment(QUrl::FullyDecoded));
        return;
    }
    // Another page beside this one opens in its place, read as the first was.
    const QString name = m_gate.nameOf(url);
    if (!isPage(name) || !m_gate.holdsFile(name))
        return;
    // A link to the document the reader came from is the way back to it.
    if (!url.hasFragment() && !m_back.isEmpty() && pathOf(m_back.last().gate) == pathOf(m_gate.at(name))) {
        backward();
        return;
    }
    if (m_state == State::Showing && m_shown.isOpen()) {
        m_back.append({m_shown, textCursor().position()});
        if (m_back.size() > DocumentLimits::backSteps)
            m_back.removeFirst();
    }
    follow(m_gate.at(name));
    if (url.hasFragment())
        m_jobAnchor = url.fragment(QUrl::FullyDecoded);
}

// The document is read again from the same folder, as the link read it.
void DocumentView::backward()
{
    if (m_back.isEmpty())
        return;
    const Step step = m_back.takeLast();
    follow(step.gate, step.caret);
}

void DocumentView::follow(const ResourceGate &gate, int caret)
{
    m_gate = gate;
    load(std::make_unique<DocumentJob>(request(m_gate), m_links), false);
    m_jobCaret = caret;
    m_jobFollowed = true;
}

QString DocumentView::wayBack() const
{
    return m_back.isEmpty() ? QString() : backLink();
}

QVariant DocumentView::inputMethodQuery(Qt::InputMethodQuery query) const
{
    return query == Qt::ImEnabled ? QVariant(false) : QVariant();
}

void DocumentView::inputMethodEvent(QInputMethodEvent *event)
{
    event->ignore();
}

QMimeData *DocumentView::createMimeDataFromSelection() const
{
    return new SelectionData(textCursor());
}

// The pane is read only: nothing dropped or pasted goes in.
bool DocumentView::canInsertFromMimeData(const QMimeData *) const
{
    return false;
}

void DocumentView::insertFromMimeData(const QMimeData *)
{}
