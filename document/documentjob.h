#pragma once

#include "document/confineddocument.h"
#include "document/resourcegate.h"

#include <QFont>
#include <QString>

#include <functional>
#include <memory>

class QObject;

// Reads, decodes, checks, parses and cleans one document, and decodes its
// pictures, on a thread of its own, so that no document can hold up the
// thread that shows it. Every stage is bounded: the file by its size, the
// parse by the markup guard's first cut, the cleaning and the pictures by
// their limits. A job that is given up stops at its next stage. Its thread
// is freed once it has ended; a parse still running as the application ends
// ends with the process, which then exits at once instead of waiting.
//
// Jobs started on one lane run one after another on one thread: a job that
// joins a lane while another runs there waits for it, and one still waiting
// there is given up for it. A pane's links share a lane, so that links
// followed while a parse runs add no thread and no memory.
class DocumentJob
{
public:
    struct Request
    {
        // The document is gate.documentName(), read through the gate, as are
        // the style sheets and pictures it names.
        ResourceGate gate;
        QFont font;
        // Pictures are decoded at this many pixels to one shown pixel.
        qreal scale = 1;
    };

    struct Result
    {
        enum class Kind { Document, Refused, Unreadable };
        Kind kind = Kind::Unreadable;
        // Kind::Document: parsed and cleaned, living in the caller's thread,
        // not laid out.
        std::unique_ptr<ConfinedDocument> document;
        // Kind::Refused: why the document is not shown.
        QString reason;
    };

    class Lane;
    static std::shared_ptr<Lane> newLane();

    // Starts the job, on `lane` or on a lane of its own; the document comes
    // to the thread that calls this.
    explicit DocumentJob(Request request, std::shared_ptr<Lane> lane = nullptr);
    // Gives the job up: it stops at its next stage, and whatever it made is
    // thrown away.
    ~DocumentJob();
    DocumentJob(const DocumentJob &) = delete;
    DocumentJob &operator=(const DocumentJob &) = delete;

    const Request &request() const { return m_request; }

    // Waits at most `ms` for the job; true once it has finished.
    bool wait(int ms);
    // Runs `done` in `context`'s thread once the job has finished (queued,
    // also when it already has), unless the job is given up first. The job
    // keeps `context` as a plain pointer: it must outlive the job, or the
    // job be given up (destroyed) before it goes, as a pane that owns its
    // job does.
    void whenDone(QObject *context, std::function<void()> done);
    // The outcome; only once the job has finished, and only once.
    Result take();

    // Waits at most `ms` (-1: as long as it takes) for the threads of every
    // job, given up or not, to end, and frees them; true when none runs.
    static bool settle(int ms);
    // Threads of jobs that have not ended yet.
    static int running();

    struct State;

private:
    Request m_request;
    std::shared_ptr<State> m_state;
};
