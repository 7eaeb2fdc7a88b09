#pragma once

#include <QAccessible>
#include <QElapsedTimer>
#include <QTest>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

// Every question a screen reader asks of a text, at every offset and for
// every boundary, answered at once and in order. A query that never returns
// ends the test with what it was asked, rather than holding the suite.
namespace accessibletext {

inline const QList<QAccessible::TextBoundaryType> &boundaries()
{
    static const QList<QAccessible::TextBoundaryType> all = {QAccessible::CharBoundary,      QAccessible::WordBoundary,
                                                             QAccessible::SentenceBoundary,  QAccessible::LineBoundary,
                                                             QAccessible::ParagraphBoundary, QAccessible::NoBoundary};
    return all;
}

struct Answer
{
    QString text;
    int start = 0;
    int end = 0;
};

enum class Query { At, Before, After };

inline Answer ask(QAccessibleTextInterface *text, Query query, int offset, QAccessible::TextBoundaryType type)
{
    Answer a;
    switch (query) {
    case Query::At: a.text = text->textAtOffset(offset, type, &a.start, &a.end); break;
    case Query::Before: a.text = text->textBeforeOffset(offset, type, &a.start, &a.end); break;
    case Query::After: a.text = text->textAfterOffset(offset, type, &a.start, &a.end); break;
    }
    return a;
}

// Ends the process, saying what was being asked, when one question goes
// unanswered for `limit`: a hang, however slow the machine or the build.
class Watchdog
{
public:
    explicit Watchdog(std::chrono::milliseconds limit)
        : m_asked(now()), m_thread([this, limit] {
            std::unique_lock lock(m_mutex);
            while (!m_finished.wait_for(lock, std::chrono::milliseconds(200), [this] { return m_done; })) {
                if (now() - m_asked.load() < limit.count())
                    continue;
                std::fprintf(stderr, "FAIL: no answer: query %d, boundary %d, offset %d\n", m_query.load(),
                             m_type.load(), m_offset.load());
                std::fflush(stderr);
                std::_Exit(EXIT_FAILURE);
            }
        })
    {}
    ~Watchdog()
    {
        {
            std::lock_guard lock(m_mutex);
            m_done = true;
        }
        m_finished.notify_all();
        m_thread.join();
    }
    void asking(Query query, QAccessible::TextBoundaryType type, int offset)
    {
        m_query = int(query);
        m_type = int(type);
        m_offset = offset;
        m_asked = now();
    }

private:
    static qint64 now()
    {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }

    std::atomic<int> m_query{0}, m_type{0}, m_offset{0};
    std::atomic<qint64> m_asked;
    std::mutex m_mutex;
    std::condition_variable m_finished;
    bool m_done = false;
    std::thread m_thread;
};

// Checks one offset: the piece at it holds it, the pieces before and after
// touch it, all inside the text and spelled as the text spells them.
inline void checkOffset(QAccessibleTextInterface *text, Watchdog &watchdog, int offset,
                        QAccessible::TextBoundaryType type, qint64 *slowest)
{
    const int count = text->characterCount();
    Answer answers[3];
    for (Query query : {Query::At, Query::Before, Query::After}) {
        watchdog.asking(query, type, offset);
        QElapsedTimer clock;
        clock.start();
        const Answer a = ask(text, query, offset, type);
        *slowest = std::max(*slowest, clock.elapsed());
        const QByteArray where = QStringLiteral("query %1, boundary %2, offset %3 of %4: [%5, %6)")
                                     .arg(int(query))
                                     .arg(int(type))
                                     .arg(offset)
                                     .arg(count)
                                     .arg(a.start)
                                     .arg(a.end)
                                     .toUtf8();
        QVERIFY2(0 <= a.start && a.start <= a.end && a.end <= count, where);
        QVERIFY2(a.text == text->text(a.start, a.end), where);
        answers[int(query)] = a;
    }
    // No attributes, but a run that holds the offset.
    int runStart = -1, runEnd = -1;
    text->attributes(offset, &runStart, &runEnd);
    QVERIFY2(runStart == 0 && runEnd == count,
             qPrintable(
                 QStringLiteral("attributes at %1 of %2: [%3, %4)").arg(offset).arg(count).arg(runStart).arg(runEnd)));
    const Answer &at = answers[int(Query::At)], &before = answers[int(Query::Before)],
                 &after = answers[int(Query::After)];
    const QByteArray where =
        QStringLiteral("boundary %1, offset %2 of %3: at [%4, %5), before [%6, %7), after [%8, %9)")
            .arg(int(type))
            .arg(offset)
            .arg(count)
            .arg(at.start)
            .arg(at.end)
            .arg(before.start)
            .arg(before.end)
            .arg(after.start)
            .arg(after.end)
            .toUtf8();
    QVERIFY2(at.start <= offset && (offset < at.end || offset == count), where);
    QVERIFY2(at.start < at.end || offset == count, where);
    if (at.start > 0)
        QVERIFY2(before.end == at.start && before.start < before.end, where);
    else
        QVERIFY2(before.start == 0 && before.end == 0, where);
    if (at.end < count)
        QVERIFY2(after.start == at.end && after.start < after.end, where);
    else
        QVERIFY2(after.start == count && after.end == count, where);
}

// Offsets outside the text are answered with nothing, -1 to -1.
inline void checkOutside(QAccessibleTextInterface *text, Watchdog &watchdog)
{
    const int count = text->characterCount();
    for (int offset : {-3, count + 1, count + 1000}) {
        for (QAccessible::TextBoundaryType type : boundaries()) {
            for (Query query : {Query::At, Query::Before, Query::After}) {
                watchdog.asking(query, type, offset);
                const Answer a = ask(text, query, offset, type);
                QVERIFY2(
                    a.text.isEmpty() && a.start == -1 && a.end == -1,
                    qPrintable(
                        QStringLiteral("query %1, boundary %2, offset %3").arg(int(query)).arg(int(type)).arg(offset)));
            }
        }
        int runStart = 0, runEnd = 0;
        text->attributes(offset, &runStart, &runEnd);
        QVERIFY2(runStart == -1 && runEnd == -1,
                 qPrintable(QStringLiteral("attributes at %1: [%2, %3)").arg(offset).arg(runStart).arg(runEnd)));
    }
}

// Every offset from 0 to the character count; at most `slowestMs` a query.
inline void checkEveryOffset(QAccessibleTextInterface *text, qint64 slowestMs = 100)
{
    QVERIFY(text);
    Watchdog watchdog(std::chrono::seconds(10));
    qint64 slowest = 0;
    for (QAccessible::TextBoundaryType type : boundaries()) {
        for (int offset = 0; offset <= text->characterCount(); ++offset) {
            checkOffset(text, watchdog, offset, type, &slowest);
            if (QTest::currentTestFailed())
                return;
        }
    }
    checkOutside(text, watchdog);
    QVERIFY2(slowest <= slowestMs, qPrintable(QStringLiteral("slowest query %1 ms").arg(slowest)));
}

} // namespace accessibletext
