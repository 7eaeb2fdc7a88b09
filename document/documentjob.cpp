#include "document/documentjob.h"

#include "markup/htmldecode.h"
#include "markup/htmlguard.h"
#include "files/regularfile.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextFrame>
#include <QThread>

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <utility>

struct DocumentJob::State
{
    std::mutex mutex;
    std::condition_variable finished;
    std::condition_variable told; // the layout is given, or the job given up
    std::optional<Layout> layout;
    std::atomic_bool cancelled{false};
    std::atomic_bool laying{false};
    bool done = false;
    bool abandoned = false;
    Result result;
    QObject *context = nullptr;
    std::function<void()> onDone;
};

namespace {

// Every thread a job started, deleted once it has ended; a thread still
// running is never deleted.
std::mutex threadsMutex;
QList<QThread *> threads;

void reapThreads()
{
    std::lock_guard lock(threadsMutex);
    for (auto it = threads.begin(); it != threads.end();) {
        if ((*it)->isFinished()) {
            delete *it;
            it = threads.erase(it);
        } else {
            ++it;
        }
    }
}

// How far a trial layout got: up to `end`, and whether that is all of it.
struct Reach
{
    int end = 0;
    bool complete = false;
};

// Lays the document out one piece of its top level at a time (a paragraph,
// a whole table), so that a job given up, or over its time, stops at the
// next piece.
Reach layOut(QTextDocument &document, qreal width, const std::atomic_bool &cancelled,
             const QDeadlineTimer &budget)
{
    document.setTextWidth(width);
    QAbstractTextDocumentLayout *layout = document.documentLayout();
    Reach reach;
    for (auto it = document.rootFrame()->begin(); !it.atEnd(); ++it) {
        if (cancelled || budget.hasExpired())
            return reach;
        const int last = it.currentFrame() ? it.currentFrame()->lastPosition()
                                           : it.currentBlock().position();
        layout->blockBoundingRect(document.findBlock(last));
        reach.end = it.currentFrame() ? last + 1 : it.currentBlock().position() + it.currentBlock().length() - 1;
    }
    reach.complete = true;
    return reach;
}

QString partNotice()
{
    return QStringLiteral("<p style=\"background-color:#ffffc0\">この文書は複雑すぎて全体を"
                          "表示できないため、先頭の一部だけを表示しています。</p>");
}

// Keeps the document up to `end`, under a notice saying so.
void keepFront(QTextDocument &document, int end)
{
    QTextCursor cursor(&document);
    cursor.setPosition(end);
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    cursor.movePosition(QTextCursor::Start);
    cursor.insertHtml(partNotice());
    cursor.insertBlock();
}

// The layout to try, once the caller has given it; none when the job was
// given up first.
std::optional<DocumentJob::Layout> awaitLayout(DocumentJob::State &state)
{
    std::unique_lock lock(state.mutex);
    state.told.wait(lock, [&state] { return state.layout || state.cancelled; });
    return state.cancelled ? std::nullopt : state.layout;
}

DocumentJob::Result load(const DocumentJob::Request &request, DocumentJob::State &state)
{
    const std::atomic_bool &cancelled = state.cancelled;
    using Kind = DocumentJob::Result::Kind;
    const auto file = DocumentJob::readText(request.path, request.maxBytes);
    if (!file)
        return {Kind::Unreadable, nullptr, QString()};
    const QString problem = htmlguard::problem(file->text);
    if (!problem.isEmpty())
        return {Kind::Refused, nullptr, problem};
    if (cancelled)
        return {};

    auto document = std::make_unique<ConfinedDocument>(request.resources);
    document->setDefaultFont(request.font);
    QTextOption option = document->defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere); // as the pane wraps
    document->setDefaultTextOption(option);
    document->setBaseUrl(request.base);
    document->setHtml(file->cut ? DocumentJob::cutNotice(request.maxBytes) + file->text : file->text);
    // The layout is tried on a copy: a layout keeps this thread's fonts,
    // which die with it. The copy asks the document for its resources.
    std::unique_ptr<QTextDocument> trial(document->clone(document.get()));
    const std::optional<DocumentJob::Layout> layout = awaitLayout(state);
    if (!layout)
        return {};
    state.laying = true;
    const Reach reach = layOut(*trial, layout->textWidth, cancelled, layout->budget);
    trial.reset();
    if (cancelled)
        return {};
    if (!reach.complete && reach.end == 0)
        return {Kind::TooComplex, nullptr, QString()};
    if (!reach.complete)
        keepFront(*document, reach.end);
    return {Kind::Document, std::move(document), QString()};
}

// Runs the caller's done function in its context's thread, unless the job
// is given up before that turn comes. Called with the state's mutex held.
void postDone(const std::shared_ptr<DocumentJob::State> &state)
{
    QMetaObject::invokeMethod(state->context, [state] {
        if (!state->abandoned && state->onDone)
            state->onDone();
    }, Qt::QueuedConnection);
}

void finish(DocumentJob::State &state, DocumentJob::Result result, QThread *home,
            const std::shared_ptr<DocumentJob::State> &self)
{
    std::unique_lock lock(state.mutex);
    if (state.abandoned) {
        lock.unlock();
        return; // the document, if any, dies here, on the thread it lives in
    }
    if (result.document)
        result.document->moveToThread(home);
    state.result = std::move(result);
    state.done = true;
    state.finished.notify_all();
    if (state.context)
        postDone(self);
}

} // namespace

DocumentJob::DocumentJob(Request request)
    : m_request(std::move(request)), m_state(std::make_shared<State>())
{
    // Whatever main() does, the threads that have ended are freed with the
    // application.
    static const bool reapAtExit = (qAddPostRoutine([] { settle(0); }), true);
    Q_UNUSED(reapAtExit);
    reapThreads();
    QThread *home = QThread::currentThread();
    QThread *thread = QThread::create([state = m_state, request = m_request, home] {
        Result result = load(request, *state);
        finish(*state, std::move(result), home, state);
    });
    thread->setObjectName(QStringLiteral("document job"));
    {
        std::lock_guard lock(threadsMutex);
        threads.append(thread);
    }
    thread->start();
}

DocumentJob::~DocumentJob()
{
    std::unique_ptr<QTextDocument> unused;
    {
        std::lock_guard lock(m_state->mutex);
        m_state->abandoned = true;
        m_state->cancelled = true;
        m_state->told.notify_all();
        m_state->context = nullptr;
        unused = std::move(m_state->result.document); // lives in this thread
    }
}

void DocumentJob::layOut(Layout layout)
{
    std::lock_guard lock(m_state->mutex);
    m_state->layout = std::move(layout);
    m_state->told.notify_all();
}

bool DocumentJob::wait(int ms)
{
    std::unique_lock lock(m_state->mutex);
    return m_state->finished.wait_for(lock, std::chrono::milliseconds(ms),
                                      [this] { return m_state->done; });
}

void DocumentJob::whenDone(QObject *context, std::function<void()> done)
{
    std::lock_guard lock(m_state->mutex);
    m_state->context = context;
    m_state->onDone = std::move(done);
    if (m_state->done)
        postDone(m_state);
}

DocumentJob::Result DocumentJob::take()
{
    std::lock_guard lock(m_state->mutex);
    return std::move(m_state->result);
}

std::optional<DocumentJob::FileText> DocumentJob::readText(const QString &path, qint64 maxBytes)
{
    const auto front = regularfile::read(path, maxBytes);
    if (!front)
        return std::nullopt;
    return FileText{htmldecode::decode(front->bytes, front->cut), front->cut};
}

QString DocumentJob::cutNotice(qint64 maxBytes)
{
    return QStringLiteral("<p style=\"background-color:#ffffc0\">この文書は大きすぎるため、"
                          "先頭の %1 MiB だけを表示しています。</p>")
        .arg(maxBytes / (1024 * 1024));
}

bool DocumentJob::isReading() const
{
    std::lock_guard lock(m_state->mutex);
    return !m_state->done && !m_state->laying;
}

bool DocumentJob::settle(int ms)
{
    const QDeadlineTimer deadline(ms);
    bool ended = true;
    {
        std::lock_guard lock(threadsMutex);
        for (QThread *thread : std::as_const(threads))
            ended = thread->wait(deadline) && ended;
    }
    reapThreads();
    return ended;
}

void DocumentJob::leaveStragglers(int status, int graceMs)
{
    if (settle(graceMs))
        return;
    std::fflush(nullptr);
    std::_Exit(status);
}
