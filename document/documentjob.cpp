#include "document/documentjob.h"

#include "document/documentclean.h"
#include "document/picturedecoder.h"
#include "files/regularfile.h"
#include "markup/htmldecode.h"
#include "markup/htmlguard.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QList>
#include <QSet>
#include <QTextCursor>
#include <QThread>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <utility>

struct DocumentJob::State
{
    std::mutex mutex;
    std::condition_variable finished;
    std::atomic_bool cancelled{false};
    bool done = false;
    Result result;
    QObject *context = nullptr;
    std::function<void()> onDone;
};

namespace {

// Every thread a job started. A thread is freed only once it has ended:
// by the next job that finds it so, or by settle().
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

QString notice(const QString &text)
{
    return QStringLiteral("<p style=\"background-color:#ffffc0\">%1</p>").arg(text);
}

QString bytesCutNotice()
{
    return notice(QStringLiteral("この文書は大きすぎるため、先頭の %1 MiB だけを表示しています。")
                      .arg(DocumentJob::maxBytes / (1024 * 1024)));
}

QString cleanCutNotice(documentclean::Cut cut)
{
    return notice(cut == documentclean::Cut::Long
                      ? QStringLiteral("この文書は長すぎるため、先頭の一部だけを表示しています。")
                      : QStringLiteral("この文書は複雑すぎるため、先頭の一部だけを表示しています。"));
}

// Style sheets are the one resource Qt asks for while it parses; pictures
// come later, from the picture decoder, and anything else is refused.
// Qt takes every distinct address for a new sheet, so that a sheet importing
// "a.css?1", "a.css?2", ... would have it read and parse the same file, with
// all of its imports, again and again: each file is given once, and all the
// sheets of one document together at most styleSheetBytes.
constexpr qint64 styleSheetBytes = 256 * 1024;

ConfinedDocument::Grant styleSheets(const ResourceGate &gate)
{
    struct Given
    {
        QSet<QString> names;
        qint64 bytes = 0;
    };
    auto given = std::make_shared<Given>();
    return [gate, given](int type, const QUrl &address) -> QVariant {
        if (type != QTextDocument::StyleSheetResource)
            return QVariant();
        const QString name = gate.nameOf(address);
        const qint64 left = styleSheetBytes - given->bytes;
        if (name.isEmpty() || left <= 0 || given->names.contains(name))
            return QString();
        given->names.insert(name);
        const auto front = gate.read(name, left);
        if (!front)
            return QString();
        given->bytes += front->bytes.size();
        return htmldecode::decode(front->bytes, front->cut);
    };
}

DocumentJob::Result load(const DocumentJob::Request &request, const std::atomic_bool &cancelled)
{
    using Kind = DocumentJob::Result::Kind;
    const ResourceGate &gate = request.gate;
    const auto file = gate.read(gate.documentName(), DocumentJob::maxBytes);
    if (!file)
        return {Kind::Unreadable, nullptr, QString()};
    const QString text = htmldecode::decode(file->bytes, file->cut);
    if (const QString problem = htmlguard::problem(text); !problem.isEmpty())
        return {Kind::Refused, nullptr, problem};
    if (cancelled)
        return {};

    auto document = std::make_unique<ConfinedDocument>();
    document->setDefaultFont(request.font);
    QTextOption option = document->defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere); // as the pane wraps
    document->setDefaultTextOption(option);
    document->setBaseUrl(gate.base());
    document->setGrant(styleSheets(gate));
    document->setHtml(text);
    document->setGrant(nullptr);
    if (cancelled)
        return {};

    documentclean::Outcome cleaned = documentclean::clean(*document, cancelled);
    if (cleaned.empty)
        return {Kind::Refused, nullptr, QStringLiteral("複雑すぎます")};
    if (cancelled)
        return {};
    document->setPictures(picturedecoder::decode(gate, cleaned.pictures, request.scale, cancelled));
    documentclean::setPictures(*document, cleaned.pictures);
    if (cancelled)
        return {};

    QString notices;
    if (file->cut)
        notices += bytesCutNotice();
    if (cleaned.cut != documentclean::Cut::None)
        notices += cleanCutNotice(cleaned.cut);
    if (!notices.isEmpty()) {
        QTextCursor cursor(document.get());
        cursor.insertHtml(notices);
        cursor.insertBlock();
    }
    return {Kind::Document, std::move(document), QString()};
}

// Runs the caller's done function in its context's thread, unless the job
// is given up before that turn comes. Called with the state's mutex held.
void postDone(const std::shared_ptr<DocumentJob::State> &state)
{
    QMetaObject::invokeMethod(state->context, [state] {
        std::function<void()> done;
        {
            std::lock_guard lock(state->mutex);
            if (!state->cancelled)
                done = state->onDone;
        }
        if (done)
            done();
    }, Qt::QueuedConnection);
}

void finish(const std::shared_ptr<DocumentJob::State> &state, DocumentJob::Result result, QThread *home)
{
    std::unique_lock lock(state->mutex);
    if (state->cancelled)
        return; // the document, if any, dies here, on the thread it lives in
    if (result.document)
        result.document->moveToThread(home);
    state->result = std::move(result);
    state->done = true;
    state->finished.notify_all();
    if (state->context)
        postDone(state);
}

} // namespace

DocumentJob::DocumentJob(Request request)
    : m_request(std::move(request)), m_state(std::make_shared<State>())
{
    // Jobs given up may still be parsing as the application ends: it waits
    // for them, since they use its fonts.
    static const bool settleAtExit = (qAddPostRoutine([] { settle(-1); }), true);
    Q_UNUSED(settleAtExit);
    reapThreads();
    QThread *home = QThread::currentThread();
    QThread *thread = QThread::create([state = m_state, request = m_request, home] {
        Result result = load(request, state->cancelled);
        finish(state, std::move(result), home);
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
        m_state->cancelled = true;
        m_state->context = nullptr;
        unused = std::move(m_state->result.document); // lives in this thread
    }
}

bool DocumentJob::wait(int ms)
{
    std::unique_lock lock(m_state->mutex);
    return m_state->finished.wait_for(lock, std::chrono::milliseconds(std::max(ms, 0)),
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

bool DocumentJob::settle(int ms)
{
    const QDeadlineTimer deadline = ms < 0 ? QDeadlineTimer(QDeadlineTimer::Forever) : QDeadlineTimer(ms);
    bool ended = true;
    {
        std::lock_guard lock(threadsMutex);
        for (QThread *thread : std::as_const(threads))
            ended = thread->wait(deadline) && ended;
    }
    reapThreads();
    return ended;
}
