#include "files/folder.h"
#include "files/regularfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "support/openfiles.h"
#include "support/watchedfifo.h"

#include <optional>

#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

using files::Fallbacks;

struct Way
{
    const char *name;
    Fallbacks fallbacks;
};

// The way of the kernels the program meets, and each fallback; the last two
// are what a kernel without /proc gets with and without openat2.
constexpr Way ways[] = {
    {"openat2", {}},
    {"by components", {.byComponents = true}},
    {"without /proc", {.withoutProc = true}},
    {"by components without /proc", {.byComponents = true, .withoutProc = true}},
};

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Bytes that tell their own place, so that a cut in the wrong place shows.
QByteArray counting(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char('a' + i % 26);
    return bytes;
}

} // namespace

class FolderTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void read_staysBeneathTheFolder_data();
    void read_staysBeneathTheFolder();
    void read_keepsAtMostTheBound_data();
    void read_keepsAtMostTheBound();

private:
    QString path(const QString &name) const { return m_dir.filePath(QStringLiteral("tree/") + name); }
    QTemporaryDir m_dir;
};

// "paper" is the folder opened; "secret.txt" and "paper-old" lie beside it.
void FolderTest::init()
{
    QVERIFY(m_dir.isValid());
    QDir tree(path(QString()));
    QVERIFY(tree.removeRecursively());
    QVERIFY(tree.mkpath(QStringLiteral("paper/sub")));
    QVERIFY(tree.mkpath(QStringLiteral("paper-old")));
    QVERIFY(writeFile(path(QStringLiteral("paper/a.txt")), "inside"));
    QVERIFY(writeFile(path(QStringLiteral("paper/sub/b.txt")), "below"));
    QVERIFY(writeFile(path(QStringLiteral("secret.txt")), "secret"));
    QVERIFY(writeFile(path(QStringLiteral("paper-old/c.txt")), "sibling"));
    QVERIFY(QFile::link(QStringLiteral("a.txt"), path(QStringLiteral("paper/link-in"))));
    QVERIFY(QFile::link(QStringLiteral("../secret.txt"), path(QStringLiteral("paper/link-out"))));
    QVERIFY(QFile::link(QStringLiteral("sub"), path(QStringLiteral("paper/dir-in"))));
    QVERIFY(QFile::link(QStringLiteral(".."), path(QStringLiteral("paper/dir-out"))));
}

// Whatever a read found, on every path through the folder and the kernel's
// ways of opening, nothing it opened stays open.
void FolderTest::cleanup()
{
    QCOMPARE(openFilesUnder(m_dir.path()), QStringList());
}

void FolderTest::read_staysBeneathTheFolder_data()
{
    QTest::addColumn<Fallbacks>("fallbacks");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("read"); // empty: refused
    QTest::addColumn<bool>("renamed");    // the folder renamed, a decoy in its place

    const struct
    {
        const char *name;
        QString relative;
        QByteArray read;
        bool renamed = false;
    } cases[] = {
        {"a file", "a.txt", "inside"},
        {"a file below", "sub/b.txt", "below"},
        {"renamed after opening", "a.txt", "inside", true},
        {"up out", "../secret.txt", ""},
        {"down and up out", "sub/../../secret.txt", ""},
        {"sibling sharing the prefix", "../paper-old/c.txt", ""},
        {"absolute, even inside", path(QStringLiteral("paper/a.txt")), ""},
        {"link inside", "link-in", ""},
        {"link out", "link-out", ""},
        {"through a link inside", "dir-in/b.txt", ""},
        {"through a link out", "dir-out/secret.txt", ""},
        {"a FIFO", "fifo", ""},
        {"a device", "null", ""},
        {"a directory", "sub", ""},
        {"the folder itself", ".", ""},
        {"no name", "", ""},
    };
    for (const Way &way : ways) {
        for (const auto &c : cases) {
            QTest::addRow("%s: %s", way.name, c.name) << way.fallbacks << c.relative << c.read << c.renamed;
        }
    }
}

// Whichever way the kernel lets the folder open names, nothing but the
// regular files beneath it is read, and a FIFO is never opened to wait on.
void FolderTest::read_staysBeneathTheFolder()
{
    QFETCH(Fallbacks, fallbacks);
    QFETCH(QString, name);
    QFETCH(QByteArray, read);
    QFETCH(bool, renamed);
    const WatchedFifo fifo(path(QStringLiteral("paper/fifo")));
    QVERIFY(fifo.isValid());
    if (name == u"null"
        && ::mknod(QFile::encodeName(path(QStringLiteral("paper/null"))).constData(), S_IFCHR | 0666, makedev(1, 3))
            != 0)
        QSKIP("no device can be made here");

    const auto folder = files::Folder::open(path(QStringLiteral("paper")), fallbacks);
    QVERIFY(folder);
    if (renamed) {
        QVERIFY(QDir(path(QString())).rename(QStringLiteral("paper"), QStringLiteral("moved")));
        QVERIFY(QDir(path(QString())).mkdir(QStringLiteral("paper")));
        QVERIFY(writeFile(path(QStringLiteral("paper/a.txt")), "decoy"));
    }

    const std::optional<files::Front> front = folder->read(name, 100);
    QCOMPARE(front ? front->bytes : QByteArray(), read);
    QCOMPARE(folder->holdsFile(name), !read.isEmpty());
    // Opened without /proc, a FIFO is opened at once and turned away.
    if (!fallbacks.withoutProc)
        QVERIFY(!fifo.wasOpened());
}

void FolderTest::read_keepsAtMostTheBound_data()
{
    QTest::addColumn<qsizetype>("size");
    QTest::addColumn<qint64>("bound");
    QTest::newRow("empty") << qsizetype(0) << qint64(0);
    QTest::newRow("shorter") << qsizetype(5) << qint64(6);
    QTest::newRow("exactly the bound") << qsizetype(6) << qint64(6);
    QTest::newRow("one byte over") << qsizetype(7) << qint64(6);
    QTest::newRow("nothing kept of a byte") << qsizetype(1) << qint64(0);
    // Read in chunks of a MiB.
    QTest::newRow("a chunk and a byte, whole") << qsizetype((1 << 20) + 1) << qint64((1 << 20) + 1);
    QTest::newRow("a chunk and a byte, cut") << qsizetype((1 << 20) + 2) << qint64((1 << 20) + 1);
    QTest::newRow("a negative bound") << qsizetype(3) << qint64(-1);
}

// A file is kept up to the bound and said to be cut only when it is longer,
// by path and beneath a folder alike.
void FolderTest::read_keepsAtMostTheBound()
{
    QFETCH(qsizetype, size);
    QFETCH(qint64, bound);
    const QByteArray bytes = counting(size);
    QVERIFY(writeFile(path(QStringLiteral("paper/a.txt")), bytes));
    const auto folder = files::Folder::open(path(QStringLiteral("paper")));
    QVERIFY(folder);

    const std::optional<files::Front> fronts[] = {
        files::read(path(QStringLiteral("paper/a.txt")), bound),
        folder->read(QStringLiteral("a.txt"), bound),
    };
    for (const std::optional<files::Front> &front : fronts) {
        QCOMPARE(front.has_value(), bound >= 0);
        if (!front)
            continue;
        QCOMPARE(front->bytes, bytes.left(bound));
        QCOMPARE(front->cut, size > bound);
    }
}

QTEST_GUILESS_MAIN(FolderTest)
#include "folder_test.moc"
