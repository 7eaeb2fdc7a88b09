#pragma once

#include "document/confineddocument.h"

#include <QDeadlineTimer>
#include <QFont>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>

class QObject;

// Reads, decodes, checks, parses and lays out one document on a thread of
// its own, so that no document can hold up the thread that shows it: the
// caller waits only as long as it chooses, and a job it gives up on is left
// to finish (or not) by itself.
class DocumentJob
{
public:
    // Answers the document's requests for pictures and style sheets; called
    // on the job's thread, so it must touch nothing the caller may change.
    using Resources = ConfinedDocument::Resources;

    struct Request
    {
        QString path;
        QUrl base;
        QFont font;
        qint64 maxBytes = 0;
        Resources resources;
    };

    // How the parsed document is tried: at what width, and for how long; past
    // the budget, the job keeps what it has laid out, or nothing.
    struct Layout
    {
        qreal textWidth = 0;
        QDeadlineTimer budget;
    };

    struct Result
    {
        // TooComplex: not even the first piece could be laid out in time.
        enum class Kind { Document, Refused, Unreadable, TooComplex };
        Kind kind = Kind::Unreadable;
        // Kind::Document: parsed and laid out, living in the caller's thread.
        std::unique_ptr<QTextDocument> document;
        // Kind::Refused: why the document was not parsed at all.
        QString reason;
    };

    // Starts reading and parsing; the document comes to the thread that calls
    // this. The job lays the document out once it is told how, by layOut().
    explicit DocumentJob(Request request);
    // Gives the job up: it is told to stop, and whatever it makes is thrown
    // away on its own thread.
    ~DocumentJob();
    DocumentJob(const DocumentJob &) = delete;
    DocumentJob &operator=(const DocumentJob &) = delete;

    // Lets the job go on from parsing to trying the layout; once only.
    void layOut(Layout layout);
    // The request the job was started with.
    const Request &request() const { return m_request; }

    // Waits at most `ms` for the job; true once it has finished.
    bool wait(int ms);
    // Runs `done` in `context`'s thread once the job has finished (at once,
    // queued, when it already has), unless the job was given up before.
    void whenDone(QObject *context, std::function<void()> done);
    // The outcome; only once the job has finished, and only once.
    Result take();
    // Still reading and parsing: work that grows with the file's size alone.
    bool isReading() const;

    // A file's text decoded, at most `maxBytes` of it; `cut` when there was more.
    struct FileText
    {
        QString text;
        bool cut = false;
    };
    static std::optional<FileText> readText(const QString &path, qint64 maxBytes);
    static QString cutNotice(qint64 maxBytes);

    // Waits at most `ms` for every job's thread to end and frees those that
    // have; true when none runs any more.
    static bool settle(int ms);
    // For the end of main(): gives running jobs `graceMs` to notice they were
    // given up; if one is still running, it may be inside the text engine the
    // process is about to tear down, so the process ends here with `status`.
    static void leaveStragglers(int status, int graceMs = 250);

    struct State;

private:
    Request m_request;
    std::shared_ptr<State> m_state;
};
