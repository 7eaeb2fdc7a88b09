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
// their limits. A job that is given up stops at its next stage, and its
// thread is waited for before it is freed (at the latest by settle(), which
// the application runs as it ends).
class DocumentJob
{
public:
    // Bytes read from one document at most; the page says when a file was cut.
    static constexpr qint64 maxBytes = 8 * 1024 * 1024;

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

    // Starts the job; the document comes to the thread that calls this.
    explicit DocumentJob(Request request);
    // Gives the job up: it stops at its next stage, and whatever it made is
    // thrown away.
    ~DocumentJob();
    DocumentJob(const DocumentJob &) = delete;
    DocumentJob &operator=(const DocumentJob &) = delete;

    const Request &request() const { return m_request; }

    // Waits at most `ms` for the job; true once it has finished.
    bool wait(int ms);
    // Runs `done` in `context`'s thread once the job has finished (queued,
    // also when it already has), unless the job is given up first.
    void whenDone(QObject *context, std::function<void()> done);
    // The outcome; only once the job has finished, and only once.
    Result take();

    // Waits at most `ms` (-1: as long as it takes) for the threads of every
    // job, given up or not, to end, and frees them; true when none runs.
    static bool settle(int ms);

    struct State;

private:
    Request m_request;
    std::shared_ptr<State> m_state;
};
