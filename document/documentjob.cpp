#include "document/documentjob.h"

#include "document/documentclean.h"
#include "document/documentlog.h"
#include "document/picturedecoder.h"
#include "files/regularfile.h"
#include "markup/htmldecode.h"
#include "markup/htmlguard.h"
#include "reading/spokenreading.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QList>
#include <QSet>
#include <QTextCursor>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <utility>

struct DocumentJob::State
{
    DocumentJob::Request request;
    QThread *home = nullptr;
    std::mutex mutex;
    std::condition_variable finished;
    std::atomic_bool cancelled{false};
    bool done = false;
    Result result;
    QObject *context = nullptr;
    std::function<void()> onDone;
};

class DocumentJob::Lane
{
public:
    std::mutex mutex;
    bool running = false;
    std::shared_ptr<State> waiting;
};

Q_LOGGING_CATEGORY(documentLog, "vardo.document", QtWarningMsg)

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
                      .arg(DocumentLimits::documentBytes / (1024 * 1024)));
}

QString hiddenNotice()
{
    return notice(QStringLiteral("この文書の一部は、閉じていない注釈や要素の中にあるため表示していません。"));
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
// all of its imports, again and again: each file is given once, all the
// sheets of one document together at most styleSheetBytes, and a sheet whose
// matching would take the document past styleMatches is left out.
ConfinedDocument::Grant styleSheets(const ResourceGate &gate, const htmlguard::Report &report, qint64 matchesLeft)
{
    struct Given
    {
        QSet<QString> names;
        qint64 bytes = 0;
        qint64 matchesLeft = 0;
    };
    auto given = std::make_shared<Given>(Given{{}, 0, matchesLeft});
    return [gate, report, given](int type, const QUrl &address) -> QVariant {
        if (type != QTextDocument::StyleSheetResource)
            return QVariant();
        const QString name = gate.nameOf(address);
        const qint64 left = DocumentLimits::styleSheetBytes - given->bytes;
        if (name.isEmpty() || given->names.contains(name))
            return QString();
        if (left <= 0) {
            qCInfo(documentLog) << "style sheet left out, past the bytes of all sheets:" << name;
            return QString();
        }
        given->names.insert(name);
        const auto front = gate.read(name, left);
        if (!front) {
            qCInfo(documentLog) << "style sheet left out, no regular file beneath the folder:" << name;
            return QString();
        }
        given->bytes += front->bytes.size();
        QString sheet = htmldecode::decode(front->bytes, front->cut);
        htmlguard::keepParagraphsShown(sheet);
        const qint64 matches = report.matches(htmlguard::sheetShape(sheet));
        if (matches > given->matchesLeft) {
            qCInfo(documentLog) << "style sheet left out, its matching would cost too much:" << name;
            return QString();
        }
        given->matchesLeft -= matches;
        return sheet;
    };
}

DocumentJob::Result load(const DocumentJob::Request &request, const std::atomic_bool &cancelled)
{
    using Kind = DocumentJob::Result::Kind;
    const ResourceGate &gate = request.gate;
    const auto file = gate.read(gate.documentName(), DocumentLimits::documentBytes);
    if (!file)
        return {Kind::Unreadable, nullptr, QString()};
    QString text = htmldecode::decode(file->bytes, file->cut);
    const htmlguard::Report report = htmlguard::check(text);
    if (!report.problem.isEmpty())
        return {Kind::Refused, nullptr, report.problem};
    const qint64 styleMatches = htmlguard::dropCostlyStyles(text, report, DocumentLimits::styleMatches);
    htmlguard::repair(text, report);
    // The page as the reader will get it, read again: what the repairs write
    // and the styles left out take away may not take it past a limit.
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
    document->setGrant(styleSheets(gate, report, DocumentLimits::styleMatches - styleMatches));
    document->setHtml(text);
    document->setGrant(nullptr);
    if (cancelled)
        return {};

    documentclean::Outcome cleaned = documentclean::clean(*document, cancelled);
    if (cleaned.empty)
        return {Kind::Refused, nullptr, QStringLiteral("複雑すぎます")};
    if (cancelled)
        return {};
    document->setDecodedPictures(picturedecoder::decode(gate, cleaned.pictures, request.scale, cancelled));
    documentclean::setPictureFormats(*document, cleaned.pictures);
    if (cancelled)
        return {};

    QString notices;
    if (file->cut)
        notices += bytesCutNotice();
    if (report.hidesTheRest)
        notices += hiddenNotice();
    if (cleaned.cut != documentclean::Cut::None)
        notices += cleanCutNotice(cleaned.cut);
    if (!notices.isEmpty()) {
        // The page's first block keeps its own format (a heading's size and
        // margins), not the notice's it was written into.
        QTextCursor cursor(document.get());
        const QTextBlockFormat first = cursor.blockFormat();
        const QTextCharFormat firstChar = cursor.blockCharFormat();
        cursor.insertHtml(notices);
        cursor.insertBlock(first, firstChar);
    }
    // What a screen reader is told of the page, and what the caret keys step
    // over, worked out here and not at the first key.
    SpokenReading::prepare(*document);
    return {Kind::Document, std::move(document), QString()};
}

// Runs the caller's done function in its context's thread, unless the job
// is given up before that turn comes. Called with the state's mutex held.
void postDone(const std::shared_ptr<DocumentJob::State> &state)
{
    QMetaObject::invokeMethod(
        state->context,
        [state] {
            std::function<void()> done;
            {
                std::lock_guard lock(state->mutex);
                if (!state->cancelled)
                    done = state->onDone;
            }
            if (done)
                done();
        },
        Qt::QueuedConnection);
}

void finish(const std::shared_ptr<DocumentJob::State> &state, DocumentJob::Result result)
{
    std::unique_lock lock(state->mutex);
    if (state->cancelled)
        return; // the document, if any, dies here, on the thread it lives in
    if (result.document)
        result.document->moveToThread(state->home);
    state->result = std::move(result);
    state->done = true;
    state->finished.notify_all();
    if (state->context)
        postDone(state);
}

// Runs `state`'s job, then each job that joins the lane meanwhile.
void runLane(const std::shared_ptr<DocumentJob::Lane> &lane, std::shared_ptr<DocumentJob::State> state)
{
    while (state) {
        if (!state->cancelled)
            finish(state, load(state->request, state->cancelled));
        std::lock_guard lock(lane->mutex);
        state = std::exchange(lane->waiting, nullptr);
        lane->running = state != nullptr;
    }
}

void startThread(const std::shared_ptr<DocumentJob::Lane> &lane, const std::shared_ptr<DocumentJob::State> &state)
{
    QThread *thread = QThread::create(runLane, lane, state);
    thread->setObjectName(QStringLiteral("document job"));
    {
        std::lock_guard lock(threadsMutex);
        threads.append(thread);
    }
    thread->start();
}

// A parse given up as the application ends may run on for seconds: waiting
// for it would hold the process that long, and the application cannot be
// torn down under it, since it uses the application's fonts. So the process
// ends at once then; otherwise (the usual case, and every test that gives
// nothing up) it ends as usual, every thread freed.
void endAtExit()
{
    if (DocumentJob::settle(0))
        return;
    std::fflush(nullptr);
    std::_Exit(EXIT_SUCCESS);
}

} // namespace

std::shared_ptr<DocumentJob::Lane> DocumentJob::newLane()
{
    return std::make_shared<Lane>();
}

DocumentJob::DocumentJob(Request request, std::shared_ptr<Lane> lane)
    : m_request(std::move(request)), m_state(std::make_shared<State>())
{
    static const bool endsAtExit = (qAddPostRoutine(endAtExit), true);
    Q_UNUSED(endsAtExit);
    reapThreads();
    m_state->request = m_request;
    m_state->home = QThread::currentThread();
    if (!lane)
        lane = newLane();
    std::shared_ptr<State> replaced;
    {
        std::lock_guard lock(lane->mutex);
        if (lane->running) {
            replaced = std::exchange(lane->waiting, m_state);
        } else {
            lane->running = true;
            startThread(lane, m_state);
        }
    }
    if (replaced) {
        std::lock_guard lock(replaced->mutex);
        replaced->cancelled = true;
    }
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

int DocumentJob::running()
{
    std::lock_guard lock(threadsMutex);
    return int(std::count_if(threads.cbegin(), threads.cend(), [](QThread *thread) { return !thread->isFinished(); }));
}
