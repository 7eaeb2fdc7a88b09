#include "exam/examwindow.h"
#include "exam/questiondocument.h"
#include "document/documentview.h"
#include "widgets/tabpages.h"
#include "support/accessibletext.h"
#include "support/examfixture.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include "support/testmain.h"

#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString storedLocation = QStringLiteral("c:\\Program Files\\ミラト試験\\2000\\00Vardo.tx");
const QString sample = QStringLiteral(VARDO_SOURCE_DIR "/tests/exam/sample/00Vardo.tx");

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class QuestionDocumentTest : public QObject
{
    Q_OBJECT

private slots:
    void candidates_storedPlaceFirstThenBesideTheProgram();
    void showIn_takesFirstPlaceThatHoldsTheDocument_data();
    void showIn_takesFirstPlaceThatHoldsTheDocument();
    void showIn_nothingFound_namesThePlacesLookedIn();
    void showIn_unreadable_saysSo_data();
    void showIn_unreadable_saysSo();
    void eventLink_playsTheCueOnlyOnceOpened();
    void switchingPages_keepsTheDocument();

private:
    static QPoint linkPoint(DocumentView *view, const QString &text);
};

void QuestionDocumentTest::candidates_storedPlaceFirstThenBesideTheProgram()
{
    const QStringList places = questiondocument::candidates();
    QCOMPARE(places.size(), 2);
    QCOMPARE(places.at(0), storedLocation);
    QCOMPARE(QDir::fromNativeSeparators(places.at(1)),
             QCoreApplication::applicationDirPath() + QStringLiteral("/00Vardo.tx"));
}

void QuestionDocumentTest::showIn_takesFirstPlaceThatHoldsTheDocument_data()
{
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QString>("shown");

    QTest::newRow("stored place and beside") << QStringList{"stored", "beside"} << "stored";
    QTest::newRow("beside only") << QStringList{"beside"} << "beside";
    QTest::newRow("stored only") << QStringList{"stored"} << "stored";
    // A folder of that name is no document.
    QTest::newRow("folder in the stored place") << QStringList{"stored/", "beside"} << "beside";
}

// Each candidate is a file named after its place, holding that name.
void QuestionDocumentTest::showIn_takesFirstPlaceThatHoldsTheDocument()
{
    QFETCH(QStringList, present);
    QFETCH(QString, shown);
    QTemporaryDir dir;
    const QStringList places = {dir.filePath(QStringLiteral("stored")), dir.filePath(QStringLiteral("beside"))};
    for (const QString &name : present) {
        if (name.endsWith(QLatin1Char('/')))
            QVERIFY(QDir(dir.path()).mkdir(name));
        else
            QVERIFY(writeFile(dir.filePath(name), QStringLiteral("<p>%1</p>").arg(name).toUtf8()));
    }
    DocumentView view;

    QCOMPARE(questiondocument::showIn(&view, places), dir.filePath(shown));
    QCOMPARE(view.toPlainText(), shown);
}

// The stored Windows path is a bare file name on this system; a file of that
// very name in the working folder must not be taken for the document.
void QuestionDocumentTest::showIn_nothingFound_namesThePlacesLookedIn()
{
    QTemporaryDir dir;
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    QVERIFY(writeFile(storedLocation, "<p>decoy</p>"));
    const QStringList places = {storedLocation, dir.filePath(QStringLiteral("missing/00Vardo.tx"))};
    DocumentView view;

    const QString shown = questiondocument::showIn(&view, places);

    QDir::setCurrent(before);
    QVERIFY(shown.isEmpty());
    const QString page = view.toPlainText();
    QVERIFY(!page.contains(QStringLiteral("decoy")));
    for (const QString &place : places)
        QVERIFY2(page.contains(place), qPrintable(page));
    // It begins with a kanji, which once held a screen reader's word query for ever.
    accessibletext::checkEveryOffset(QAccessible::queryAccessibleInterface(&view)->textInterface());
}

void QuestionDocumentTest::showIn_unreadable_saysSo_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("no read rights") << "no rights";
    QTest::newRow("a FIFO") << "fifo";
    QTest::newRow("a folder") << "folder";
}

void QuestionDocumentTest::showIn_unreadable_saysSo()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    QVERIFY(QFile::setPermissions(
        dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
    const QString there = dir.filePath(QStringLiteral("00Vardo.tx"));
    if (kind == QLatin1String("fifo"))
        QVERIFY(::mkfifo(QFile::encodeName(there).constData(), 0644) == 0);
    else if (kind == QLatin1String("folder"))
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("00Vardo.tx")));
    else
        QVERIFY(writeFile(there, "<p>paper</p>") && QFile::setPermissions(there, {}));
    const QStringList places = {there, dir.filePath(QStringLiteral("missing/00Vardo.tx"))};
    DocumentView view;

    // Root reads a file without rights: look at it as another user would.
    const uid_t user = geteuid();
    if (user == 0)
        ::setfsuid(65534);
    const QString shown = questiondocument::showIn(&view, places);
    if (user == 0)
        ::setfsuid(0);

    QVERIFY(shown.isEmpty());
    const QString page = view.toPlainText();
    QVERIFY2(page.contains(QStringLiteral("00Vardo.tx を読み込めません")), qPrintable(page));
    QVERIFY2(page.contains(there + QStringLiteral("（読み込めません）")), qPrintable(page));
    QVERIFY2(page.contains(places.at(1) + QStringLiteral("（見つかりません）")), qPrintable(page));
}

QPoint QuestionDocumentTest::linkPoint(DocumentView *view, const QString &text)
{
    const QTextCursor found = view->document()->find(text);
    QTextCursor middle(view->document());
    middle.setPosition((found.selectionStart() + found.selectionEnd()) / 2);
    return view->cursorRect(middle).center();
}

void QuestionDocumentTest::eventLink_playsTheCueOnlyOnceOpened()
{
    ExamFixture exam;
    QVERIFY(exam.open());
    auto *view = exam.find<DocumentView>(QStringLiteral("Scriptlet1"));
    QCOMPARE(questiondocument::showIn(view, {sample}), sample);
    QVERIFY(view->toPlainText().contains(QStringLiteral("①～⑧")));
    const QPoint link = linkPoint(view, QStringLiteral("合図の音"));
    auto clickLink = [&] { QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, link); };
    const QStringList play = {QStringLiteral("Prev"), QStringLiteral("Play")};

    clickLink(); // before the first Start nothing has been opened: silence
    QCOMPARE(exam.media.log, play);

    exam.click(QStringLiteral("cmdスタート"));
    exam.tickAt(exam.now.addSecs(1));
    QVERIFY(exam.media.log.contains(QStringLiteral("Open")));
    const QString display = exam.display();
    exam.media.log.clear();

    clickLink();
    clickLink(); // a second event rewinds the cue again
    QCOMPARE(exam.media.log, play + play);
    QCOMPARE(exam.display(), display);

    exam.click(QStringLiteral("cmd得点"));
    exam.media.log.clear();
    clickLink(); // the cue stays open after scoring
    QCOMPARE(exam.media.log, play);
}

void QuestionDocumentTest::switchingPages_keepsTheDocument()
{
    ExamFixture exam;
    QVERIFY(exam.open());
    auto *view = exam.find<DocumentView>(QStringLiteral("Scriptlet1"));
    auto *tabs = exam.find<TabPages>(QStringLiteral("SSTab1"));
    QCOMPARE(questiondocument::showIn(view, {sample}), sample);
    QTRY_VERIFY(view->verticalScrollBar()->maximum() > 0);
    view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum() / 2);
    const int scrolled = view->verticalScrollBar()->value();
    QTextDocument *document = view->document();

    tabs->setCurrentIndex(3);
    QTRY_VERIFY(!view->isVisible());
    tabs->setCurrentIndex(0);
    QTRY_VERIFY(view->isVisible());

    QCOMPARE(view->document(), document);
    QCOMPARE(view->verticalScrollBar()->value(), scrolled);
}

VARDO_TEST_MAIN(QuestionDocumentTest)
#include "questiondocument_test.moc"
