#include "exam/appfolder.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Names are bytes here: not every folder name is text.
bool writeFile(const QByteArray &path, const QByteArray &bytes, mode_t mode)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    const bool written = fd >= 0 && ::write(fd, bytes.constData(), bytes.size()) == bytes.size();
    return fd >= 0 && ::close(fd) == 0 && written;
}

} // namespace

class AppFolderTest : public QObject
{
    Q_OBJECT

private slots:
    void trailingSeparator_addedOnlyWhenMissing_data();
    void trailingSeparator_addedOnlyWhenMissing();
    void programFolder_foundWhateverItsName_data();
    void programFolder_foundWhateverItsName();
};

void AppFolderTest::trailingSeparator_addedOnlyWhenMissing_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("expected");

    const QChar back('\\');
    const QChar slash('/');
    QTest::newRow("windows folder") << QStringLiteral("C:\\Exam") << back << QStringLiteral("C:\\Exam\\");
    QTest::newRow("windows drive root") << QStringLiteral("C:\\") << back << QStringLiteral("C:\\");
    QTest::newRow("posix folder") << QStringLiteral("/opt/vardo") << slash << QStringLiteral("/opt/vardo/");
    QTest::newRow("posix root") << QStringLiteral("/") << slash << QStringLiteral("/");
}

void AppFolderTest::trailingSeparator_addedOnlyWhenMissing()
{
    QFETCH(QString, folder);
    QFETCH(QChar, separator);
    QFETCH(QString, expected);
    QCOMPARE(withTrailingSeparator(folder, separator), expected);
}

void AppFolderTest::programFolder_foundWhateverItsName_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("printed");
    QTest::newRow("spaces and kana") << QByteArray("ミラト 試験 2000") << QByteArray("beside");
    QTest::newRow("a byte that is not UTF-8, entered") << QByteArray("p\xffq") << QByteArray("beside|here");
}

// A copy of a program that prints its paper, in a folder of that name with
// a paper beside it, run from elsewhere, prints that paper; from a folder
// without a name it then works in that folder.
void AppFolderTest::programFolder_foundWhateverItsName()
{
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, printed);
    QTemporaryDir root;
    const QByteArray folder = QFile::encodeName(root.path()) + '/' + name;
    const QByteArray program = folder + "/probe", paper = folder + "/00Vardo.tx";
    QFile probe(QStringLiteral(APPFOLDER_PROBE));
    QVERIFY(probe.open(QIODevice::ReadOnly));
    QVERIFY(::mkdir(folder.constData(), 0700) == 0);
    const bool made = writeFile(program, probe.readAll(), 0700) && writeFile(paper, "beside", 0600);
    QByteArray out(64, '\0');
    FILE *run = made ? ::popen(("'" + program + "'").constData(), "r") : nullptr;
    out.truncate(run ? qsizetype(std::fread(out.data(), 1, out.size(), run)) : 0);
    const int status = run ? ::pclose(run) : -1;
    ::unlink(program.constData());
    ::unlink(paper.constData());
    ::rmdir(folder.constData());
    QVERIFY(made);
    QCOMPARE(status, 0);
    QCOMPARE(out, printed);
}

QTEST_GUILESS_MAIN(AppFolderTest)
#include "appfolder_test.moc"
