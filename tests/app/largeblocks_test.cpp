#include "app/startup.h"
#include "support/testmain.h"

#include <QTest>

#include <cstdlib>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

// Under AddressSanitizer its own allocator stands in for the C library's.
#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
#define VARDO_GLIBC_MALLOC 1
#endif

class LargeBlocksTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { setUpProcess(); }
    void windowSizedBlocks_leaveTheHeapWhenFreed();
};

// Keeps the compiler from leaving out a block nothing reads.
void *volatile held = nullptr;

// As the program is set up: a window's backing store, freed, goes back to the
// system, and so does the next one of that size, not just the first.
void LargeBlocksTest::windowSizedBlocks_leaveTheHeapWhenFreed()
{
#if defined(VARDO_GLIBC_MALLOC)
    constexpr size_t windowSized = 792 * 573 * 4; // a pass-line window
    for (int round = 1; round <= 3; ++round) {
        const size_t mappedBefore = mallinfo2().hblkhd;
        held = std::malloc(windowSized);
        const size_t mappedWhileHeld = mallinfo2().hblkhd;
        std::free(held);
        QVERIFY2(mappedWhileHeld >= mappedBefore + windowSized, qPrintable(QString::number(round)));
        QCOMPARE(mallinfo2().hblkhd, mappedBefore);
    }
#else
    QSKIP("blocks come from another allocator than glibc's");
#endif
}

VARDO_TEST_MAIN(LargeBlocksTest)
#include "largeblocks_test.moc"
