#include "document/documentview.h"
#include "document/paperzoom.h"
#include "markup/limits.h"
#include "document/selectiondata.h"
#include "reading/spokenreading.h"
#include "support/watchedfifo.h"

#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QBuffer>
#include <QClipboard>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QToolTip>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>
#include "support/testpictures.h"
#include "support/openfiles.h"
#include "support/threadtime.h"
#include "support/testmain.h"

namespace {

using testfiles::write;
using testfiles::png;

// The longest the GUI thread went without running a 10 ms timer, less any
// time it only waited for a CPU.
struct StallMonitor
{
    StallMonitor()
    {
        QObject::connect(&ticker, &QTimer::timeout, [this] { most = std::max(most, since.restart()); });
        ticker.start(10);
    }
    qint64 longest() { return std::max(most, since.elapsed()); }
    QTimer ticker;
    ThreadTime since;
    qint64 most = 0;
};

QTextImageFormat firstPicture(const QTextDocument *document)
{
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().isImageFormat())
                return it.fragment().charFormat().toImageFormat();
        }
    }
    return QTextImageFormat();
}

// The pane's own mime data, as a selection or a drag takes it.
class OpenView : public DocumentView
{
public:
    using DocumentView::canInsertFromMimeData;
    using DocumentView::createMimeDataFromSelection;
};

} // namespace

class DocumentViewTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void eventLink_raisesNameAndData_data();
    void eventLink_raisesNameAndData();
    void otherLinks_leaveThePage_data();
    void otherLinks_leaveThePage();
    void pageLinkInsideFolder_opensThatPage();
    void pictures_readOnlyInsideTheFolder_data();
    void pictures_readOnlyInsideTheFolder();
    void fifo_isNeverOpened_data();
    void fifo_isNeverOpened();
    void hostileDocument_neverStallsTheWindow_data();
    void hostileDocument_neverStallsTheWindow();
    void pageSwappedForALinkOut_neverShowsTheOutside();
    void documentNamedByALinkOut_isNeverShown();
    void paneShownLate_showsTheDocumentItHeld();
    void givenUpJob_neverCallsBack_data();
    void givenUpJob_neverCallsBack();
    void startedJob_takenOverOnlyForItsFileAndFont_data();
    void startedJob_takenOverOnlyForItsFileAndFont();
    void selectionGivenAway_readsAndNamesNoPicture_data();
    void selectionGivenAway_readsAndNamesNoPicture();
    void pageOfThePanes_leadsBackToThePaper_data();
    void pageOfThePanes_leadsBackToThePaper();
    void shownDocument_wrapsAtThePanesWidth_data();
    void shownDocument_wrapsAtThePanesWidth();
    void longDocument_laidOutToTheEndOnceShown_data();
    void longDocument_laidOutToTheEndOnceShown();
    void wayBack_keepsTheLastBackSteps_data();
    void wayBack_keepsTheLastBackSteps();
    void zoomKeys_stepTheTextsSize_data();
    void zoomKeys_stepTheTextsSize();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    void openPage(const QString &body);
    void clickText(const QString &text);

    QTemporaryDir m_dir;
    QString m_folder;
    DocumentView *m_view = nullptr;
};

// The document lives in "paper/"; "secret.png" and "outside.html" lie
// beside that folder, where the pane must not reach.
void DocumentViewTest::init()
{
    QVERIFY(m_dir.isValid());
    QDir(m_dir.path()).mkpath(QStringLiteral("paper/sub"));
    m_folder = path(QStringLiteral("paper"));
    QVERIFY(write(path(QStringLiteral("paper/mark.png")), png()));
    QVERIFY(write(path(QStringLiteral("paper/sub/deep.png")), png()));
    QVERIFY(write(path(QStringLiteral("secret.png")), png()));
    QVERIFY(write(path(QStringLiteral("outside.html")), "<p>outside</p>"));
    QVERIFY(write(path(QStringLiteral("paper/next.html")), "<p>next page</p>"));
    QFile::link(path(QStringLiteral("secret.png")), path(QStringLiteral("paper/link.png")));
    QFile::link(m_dir.path(), path(QStringLiteral("paper/out")));
    QDir(m_dir.path()).mkpath(QStringLiteral("paper-old"));
    QVERIFY(write(path(QStringLiteral("paper-old/secret.png")), png()));

    m_view = new DocumentView;
    m_view->resize(400, 200);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view));
}

// Whatever path a test took, its documents' files and folders and its
// threads are let go once the pane and its jobs are gone.
void DocumentViewTest::cleanup()
{
    delete m_view;
    m_view = nullptr;
    QVERIFY(DocumentJob::settle(60000));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QTRY_COMPARE(leftBehind(m_dir.path()), QStringList());
}

void DocumentViewTest::openPage(const QString &body)
{
    const QString file = path(QStringLiteral("paper/page.html"));
    QVERIFY(write(file, QStringLiteral("<html><body>%1</body></html>").arg(body).toUtf8()));
    QVERIFY(m_view->openFile(file));
    // The open waits a while at most; a sanitized build on a busy machine
    // may parse a long page for longer.
    QTRY_VERIFY_WITH_TIMEOUT(m_view->state() == DocumentView::State::Showing, 60000);
}

// Clicks the middle of the first place `text` is shown, as a reader does.
void DocumentViewTest::clickText(const QString &text)
{
    const QTextCursor found = m_view->document()->find(text);
    QVERIFY2(!found.isNull(), qPrintable(text));
    QTextCursor middle(m_view->document());
    middle.setPosition((found.selectionStart() + found.selectionEnd()) / 2);
    m_view->setTextCursor(middle);
    m_view->ensureCursorVisible();
    const QPoint at = m_view->cursorRect(middle).center();
    QTest::mouseClick(m_view->viewport(), Qt::LeftButton, {}, at);
}

// clang-format off
void DocumentViewTest::eventLink_raisesNameAndData_data()
{
    QTest::addColumn<QString>("href");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("data");

    QTest::newRow("name and data") << "event:cue?1" << "cue" << QVariant(QStringLiteral("1"));
    QTest::newRow("name alone") << "event:cue" << "cue" << QVariant();
    QTest::newRow("upper-case scheme") << "EVENT:Cue?x" << "Cue" << QVariant(QStringLiteral("x"));
    QTest::newRow("escaped") << "event:%E9%9F%B3?a%20b" << "音" << QVariant(QStringLiteral("a b"));
}
// clang-format on

void DocumentViewTest::eventLink_raisesNameAndData()
{
    QFETCH(QString, href);
    QFETCH(QString, name);
    QFETCH(QVariant, data);
    openPage(QStringLiteral("<p>before</p><p><a href=\"%1\">sound the cue</a></p>").arg(href));
    QSignalSpy raised(m_view, &DocumentView::eventRaised);

    clickText(QStringLiteral("sound the cue"));

    QCOMPARE(raised.count(), 1);
    QCOMPARE(raised.at(0).at(0).toString(), name);
    QCOMPARE(raised.at(0).at(1), data);
    QVERIFY(m_view->toPlainText().contains(QStringLiteral("before"))); // the page stays
}

void DocumentViewTest::otherLinks_leaveThePage_data()
{
    QTest::addColumn<QString>("href");

    QTest::newRow("web") << "http://example.com/";
    QTest::newRow("mail") << "mailto:someone@example.com";
    QTest::newRow("file outside by ..") << "../outside.html";
    QTest::newRow("file outside by absolute URL")
        << QUrl::fromLocalFile(path(QStringLiteral("outside.html"))).toString();
    QTest::newRow("picture inside") << "mark.png";
    QTest::newRow("missing page inside") << "nothing.html";
    QTest::newRow("program") << "file:///bin/sh";
}

void DocumentViewTest::otherLinks_leaveThePage()
{
    QFETCH(QString, href);
    openPage(QStringLiteral("<p>before</p><p><a href=\"%1\">follow me</a></p>").arg(href));
    QSignalSpy raised(m_view, &DocumentView::eventRaised);
    QSignalSpy followed(m_view, &DocumentView::pageFollowed);

    clickText(QStringLiteral("follow me"));

    QVERIFY(raised.isEmpty());
    QVERIFY(followed.isEmpty()); // nothing to tell a reader of
    QVERIFY(m_view->toPlainText().startsWith(QStringLiteral("before")));
}

void DocumentViewTest::pageLinkInsideFolder_opensThatPage()
{
    openPage(QStringLiteral("<p><a href=\"next.html\">next</a></p>"));
    QSignalSpy followed(m_view, &DocumentView::pageFollowed);
    clickText(QStringLiteral("next"));
    QTRY_COMPARE(m_view->toPlainText(), QStringLiteral("next page"));
    // The window says the page changed, and which it is.
    QTRY_COMPARE(followed.count(), 1);
    QCOMPARE(followed.first().first().toString(), QStringLiteral("next page"));
}

// A picture is shown only when it lies inside the document's folder, read
// by the pane itself: Qt's own picture handler would read any name, from the
// working folder too, whenever it is given nothing it can decode.
void DocumentViewTest::pictures_readOnlyInsideTheFolder_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("readable");

    QTest::newRow("beside the document") << "mark.png" << true;
    QTest::newRow("in a subfolder") << "sub/deep.png" << true;
    QTest::newRow("down and back up") << "sub/../mark.png" << true;
    QTest::newRow("with a query") << "mark.png?3" << true;
    QTest::newRow("absolute path inside") << path(QStringLiteral("paper/mark.png")) << true;
    QTest::newRow("up out of the folder") << "../secret.png" << false;
    QTest::newRow("up and back in by name") << "../paper/../secret.png" << false;
    QTest::newRow("sibling folder sharing the prefix") << "../paper-old/secret.png" << false;
    QTest::newRow("absolute path outside") << path(QStringLiteral("secret.png")) << false;
    QTest::newRow("file URL outside") << QUrl::fromLocalFile(path(QStringLiteral("secret.png"))).toString() << false;
    QTest::newRow("symbolic link out") << "link.png" << false;
    QTest::newRow("through a linked folder out") << "out/secret.png" << false;
    QTest::newRow("in the working folder") << "here.png" << false;
    QTest::newRow("not a picture") << "next.html" << false;
    QTest::newRow("web") << "http://127.0.0.1:1/x.png" << false;
    QTest::newRow("program resource") << "qrc:/pictures/mark.ico" << false;
}

void DocumentViewTest::pictures_readOnlyInsideTheFolder()
{
    QFETCH(QString, name);
    QFETCH(bool, readable);
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("work")));
    QVERIFY(write(path(QStringLiteral("work/here.png")), png()));
    const QString previous = QDir::currentPath();
    QDir::setCurrent(path(QStringLiteral("work")));
    openPage(QStringLiteral("<p><img src=\"%1\"></p>").arg(name));
    m_view->viewport()->grab();
    QDir::setCurrent(previous);

    auto *document = qobject_cast<ConfinedDocument *>(m_view->document());
    QVERIFY(document);
    const QTextImageFormat format = firstPicture(document);
    const QSizeF shown =
        document->documentLayout()->handlerForObject(QTextFormat::ImageObject)->intrinsicSize(document, 0, format);
    QCOMPARE(document->picture(format.name()).size() == QSize(4, 4), readable);
    QCOMPARE(shown == QSizeF(4, 4), readable);
}

// A FIFO blocks whoever opens it for reading until a writer comes.
void DocumentViewTest::fifo_isNeverOpened_data()
{
    QTest::addColumn<QString>("body");

    const QString inside = path(QStringLiteral("paper/pipe.png"));
    const QString beside = path(QStringLiteral("pipe.png"));
    QTest::newRow("picture inside, by absolute path") << QStringLiteral("<img src=\"%1\">").arg(inside);
    QTest::newRow("picture inside, by name") << QStringLiteral("<img src=\"pipe.png\">");
    QTest::newRow("picture outside") << QStringLiteral("<img src=\"%1\">").arg(beside);
    QTest::newRow("table background") << QStringLiteral("<table background=\"pipe.png\"><tr><td>x</td></tr></table>");
    QTest::newRow("cell background")
        << QStringLiteral("<table><tr><td background=\"%1\">x</td></tr></table>").arg(inside);
    QTest::newRow("style background") << QStringLiteral("<p style=\"background-image:url(%1)\">x</p>").arg(beside);
    QTest::newRow("style sheet") << QStringLiteral(
        "<link rel=\"stylesheet\" type=\"text/css\" href=\"pipe.png\"><p>x</p>");
    QTest::newRow("tool tip holding a picture, hovered")
        << QStringLiteral("<p><span title=\"&lt;img src=&quot;%1&quot;&gt;\">%2</span></p>")
               .arg(beside, QStringLiteral("hover ").repeated(200));
}

void DocumentViewTest::fifo_isNeverOpened()
{
    QFETCH(QString, body);
    const WatchedFifo inside(path(QStringLiteral("paper/pipe.png")));
    const WatchedFifo beside(path(QStringLiteral("pipe.png")));
    QVERIFY(inside.isValid() && beside.isValid());
    const QString previous = QDir::currentPath();
    QDir::setCurrent(m_folder);

    openPage(body);
    m_view->viewport()->grab();
    QHelpEvent hover(QEvent::ToolTip, QPoint(20, 10), m_view->viewport()->mapToGlobal(QPoint(20, 10)));
    QCoreApplication::sendEvent(m_view->viewport(), &hover);
    inside.waitForALook();
    beside.waitForALook();
    QToolTip::hideText();
    QDir::setCurrent(previous);

    QVERIFY(!inside.wasOpened());
    QVERIFY(!beside.wasOpened());
}

// Each class of document that once froze the window or a core: while it is
// opened and used (hover, zoom, scroll, links, copying, closing), the window
// answers a 10 ms timer within the limit, no job runs on afterwards, and
// the page shows what it should.
void DocumentViewTest::hostileDocument_neverStallsTheWindow_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<QString>("shown"); // a pattern the text shown at the end holds

    const auto page = [this](const char *name, const QByteArray &bytes) {
        QDir(m_dir.path()).mkpath(QStringLiteral("paper"));
        QVERIFY(write(path(QStringLiteral("paper/") + QLatin1String(name)), bytes));
    };
    const QStringList use = {"hover", "zoom", "end", "pagedown", "copy"};
    const QByteArray words = QByteArray("word ").repeated(40);
    QByteArray tables17 = QByteArray("&lt;table&gt;&lt;tr&gt;&lt;td&gt;").repeated(17);
    const QByteArray pictures = QByteArray("<p><img src=\"wide.png\"></p>").repeated(12);
    QByteArray sizes, rows, bigPictures, anchors;
    for (int i = 0; i < 16000; ++i)
        sizes += QStringLiteral("<span style=\"font-size:%1pt\">x</span>").arg(4 + (i % 4000) * 0.01).toUtf8();
    for (int i = 0; i < 7000; ++i)
        rows += "<tr><td>" + QByteArray::number(i) + "</td><td>cell</td></tr>";
    for (int i = 0; i < 30; ++i)
        bigPictures += "<img src=\"big.png?" + QByteArray::number(i) + "\" width=\"8\" height=\"8\">";
    for (int i = 0; i < 20000; ++i)
        anchors += "<a name=\"a" + QByteArray::number(i) + "\">x</a> ";
    page("big.png", png(QSize(4096, 4096), QImage::Format_Grayscale16));
    page("wide.png", png(QSize(300, 200)));
    page("anchors.html", anchors);
    page("long.html", ("<p>" + words + "</p>").repeated(12500) + "<p><a name=\"last\">last</a></p>");
    const QByteArray thai = QStringLiteral("ภาษาไทยเป็นภาษาที่").repeated(11).toUtf8();
    page("thai.html", ("<p>" + thai + "</p>").repeated(12000) + "<p><a name=\"last\">last</a></p>");
    QByteArray fonts, rules, cells;
    for (int i = 0; i < 1900; ++i)
        fonts += QStringLiteral("<span style=\"font-family:'F%1', serif; font-weight:%2; font-style:%3\">x</span> ")
                     .arg(i / 3)
                     .arg(100 + i % 9 * 100)
                     .arg(i % 2 ? "italic" : "normal")
                     .toUtf8();
    for (int i = 0; rules.size() < 140 * 1024; ++i)
        rules += "div div span.c" + QByteArray::number(i) + " > div { color: red }\n";
    for (int i = 0; i < 300; ++i)
        cells += "<div><div><div>" + words + "</div></div></div>";

    QTest::newRow("tool tip of 17 nested tables")
        << "<p><span title=\"" + tables17 + "x\">" + words.repeated(20) + "</span></p>" << use << "word";
    QTest::newRow("a text ending in 30,000 signs")
        << "<p>word " + QStringLiteral("〓").toUtf8().repeated(30000) + "</p>" << QStringList{"end", "wordback"}
        << "word";
    QTest::newRow("line height 60000000%")
        << ("<p style=\"line-height:60000000%\">" + words + "</p>").repeated(50) << use << "word";
    QTest::newRow("line height 10000000px")
        << ("<p style=\"line-height:10000000px\">" + words + "</p>").repeated(50) << use << "word";
    const QString picture(QChar::ObjectReplacementCharacter);
    QTest::newRow("30 pictures of one 4096x4096 16-bit file") << bigPictures << use << picture.repeated(30);
    QTest::newRow("12 pictures of 300x200") << pictures << use << picture;
    // Qt's reader goes back over the paragraph for each picture in it.
    QTest::newRow("40,000 pictures in one paragraph") << "<p>" + QByteArray("<img src=\"wide.png\">").repeated(20000)
            + QByteArray("<img src=\"none.png\">").repeated(20000)
            + "</p>" << use << "画像が多すぎます";
    QTest::newRow("16,000 spans in 4,000 font sizes") << sizes << use << "書式が多すぎます";
    QTest::newRow("7,000-row table") << "<table>" + rows + "</table>" << use << "複雑すぎる";
    QTest::newRow("6,000 pictures 2,000 pixels tall")
        << QByteArray("<p><img width=500 height=2000 src=\"wide.png\"></p>").repeated(6000) + "<p>the end</p>" << use
        << "the end";
    QTest::newRow("8,000 floating pictures")
        << QByteArray("<p><img align=left src=\"wide.png\" width=4 height=4>x</p>").repeated(8000) << use
        << "複雑すぎる";
    QTest::newRow("picture 30,000,000 pixels tall in a table")
        << QByteArray("<table><tr><td><img width=1 height=30000000></td></tr></table><p>the end</p>") << use
        << "the end";
    QTest::newRow("link to a page of 20,000 anchors")
        << QByteArray("<p><a href=\"anchors.html#a19999\">go</a></p>") << QStringList{"click"} << "書式が多すぎます";
    QTest::newRow("link to #last of a 2.5 MB page")
        << QByteArray("<p><a href=\"long.html#last\">go</a></p>") << QStringList{"click", "end"} << "長すぎる";
    QTest::newRow("49,000 anchors") << anchors.repeated(3).left(49000 * 12) << use << "書式が多すぎます";
    QTest::newRow("link to #last of a long Thai page")
        << QByteArray("<p><a href=\"thai.html#last\">go</a></p>") << QStringList{"click", "end"} << "長すぎる";
    QTest::newRow("1,900 distinct fonts") << fonts << use << "x x x";
    QTest::newRow("140 KB style sheet") << "<html><head><style>" + rules + "</style></head><body>" + cells
            + "</body></html>" << use << "word";
    QTest::newRow("40 link activations during a parse")
        << QByteArray("<p><a href=\"long.html#last\">go</a></p>") << QStringList{"click40", "end"} << "長すぎる";
    QTest::newRow("9 MiB of plain paragraphs")
        << ("<p>" + words + "</p>").repeated(9 * 1024 * 1024 / 211) << use << "8 MiB";
    QTest::newRow("nested tables around much text")
        << QByteArray("<table><tr><td>").repeated(6) + words.repeated(500) << use << "複雑すぎる";
    QTest::newRow("one unbreakable line")
        << "<p>" + QByteArray("x").repeated(200000) + "</p>" << use << "表示できません";
    // Spans Qt's table layout cannot take: cut through, a cell spanning rows
    // left the table broken (a crash); spanned columns were made and walked
    // on every paint though no cell starts in them (seconds of stall).
    QTest::newRow("100 rows, each cell spanning 100,000 rows")
        << "<table>" + QByteArray("<tr><td rowspan=\"100000\">a</td><td>b</td></tr>").repeated(100) + "</table>" << use
        << "複雑すぎる";
    QTest::newRow("200 rows, each cell spanning 100,000 columns")
        << "<table>" + QByteArray("<tr><td colspan=\"100000\">a</td></tr>").repeated(200) + "</table>" << use
        << "表示できません";
    QTest::newRow("8,000 marks on one letter")
        << "<p>a" + QString(8000, QChar(0x0301)).toUtf8() + "</p>" << use << "表示できません";
    // What the caret keys and a screen reader walk through: units read in
    // words, run together and wrapped over several screen lines; texts with
    // no word to stop at; surrogates and marks where the text ends.
    const QStringList storm = {"narrow", "keys"};
    const QByteArray unit = QStringLiteral("J/(g・K)").toUtf8();
    QTest::newRow("3,000 units run together, each wrapped over lines")
        << "<p>" + unit.repeated(3000) + "</p>" << storm << "J/\\(g・K\\)";
    QTest::newRow("units named before the value, wrapped")
        << "<p>" + QStringLiteral("4.2 を J/(g・K) の値と").toUtf8().repeated(2000) + "</p>" << storm << "の値と";
    QTest::newRow("a text of signs only")
        << "<p>" + QByteArray("!?/()-").repeated(5000) + "</p>" << storm << "^[!?/()-]+$";
    QTest::newRow("a text of spaces only")
        << "<pre>" + QStringLiteral("\u3000 \t").toUtf8().repeated(3000) + "</pre>" << storm << "^[\u3000 \t]+$";
    QTest::newRow("surrogates and marks at the end")
        << "<p>" + unit + " " + QStringLiteral("\U0001D400").toUtf8().repeated(3000)
            + QStringLiteral("e\u0301").toUtf8().repeated(3000) + QStringLiteral("\U0001F600").toUtf8() + "</p>"
        << storm << "\U0001F600$";
    QTest::newRow("a units page of 1.5 MB") << ("<p>" + (unit + " ").repeated(200) + "</p>").repeated(900)
                                            << QStringList{"keys", "end", "wordback"} << "g・K";
    // Unit symbols chained past any unit, in paragraphs as long as the pane
    // keeps: the page is shown, read and stepped through as soon as a plain
    // page of its size, however the chain is joined or begun.
    const auto chained = [](const char *first, const char *link, const char *last) {
        return ("<p>" + QByteArray(first) + (QByteArray("m") + link).repeated(15000) + last + "</p>").repeated(8);
    };
    QTest::newRow("units chained by products") << chained("", "・", "mZ") << storm << "m・m・m";
    QTest::newRow("units chained by slashes") << chained("", "/", "m2") << storm << "m/m/m";
    QTest::newRow("units chained after a number") << chained("1 ", "・", "m-") << storm << "m・m・m";
    QTest::newRow("units chained in unit brackets") << chained("〔", "/", "mZ〕") << storm << "m/m/m";
    // Word joiners: each one heard with what comes before it; a run they
    // hold together is scanned again for each line it wraps over.
    QTest::newRow("labels and units held together")
        << ("<p>" + QStringLiteral("1-\u2060問\u20601 m/\u2060s ").toUtf8().repeated(5000) + "</p>").repeated(8)
        << storm << "問\u20601 m/\u2060s";
    QTest::newRow("40,000 letters held together")
        << "<p>" + QStringLiteral("m\u2060").toUtf8().repeated(20000) + "</p>" << storm << "表示できません";
    // Files that are no document, or that the guard turns away at once.
    QByteArray binary(256 * 1024, '\0');
    for (int i = 0; i < binary.size(); ++i)
        binary[i] = char((i * 7919) >> 3);
    const QStringList end = {"end"};
    QTest::newRow("empty") << QByteArray() << end << "^$";
    QTest::newRow("binary") << binary << end << "バイナリ";
    QTest::newRow("binary without NUL") << QByteArray(binary).replace('\0', '\x01') << end << "表示できません";
    QTest::newRow("bytes invalid for the declared encoding")
        << QByteArray("<meta charset=utf-8><p>\xFF\xFE\x82\xFF</p>") << end << "^\uFFFD{4}$";
    QTest::newRow("unclosed tags") << QByteArray("<html><body><table><tr><td><p><b><i><a href=") << end
                                   << "^\n\n$"; // a table of one empty cell
    QTest::newRow("deeply nested") << QByteArray("<div>").repeated(100000) << end << "表示できません";
    QTest::newRow("stray end tags keep nesting") << QByteArray("<span></i>").repeated(50000) << end << "表示できません";
    QTest::newRow("many elements") << QByteArray("x<br>").repeated(1500000) << end << "表示できません";
    const QByteArray digits = QByteArray("1234567890").repeated(450);
    QTest::newRow("a fraction of long numbers, read as written")
        << "<p>" + digits + "/" + digits + "</p>" << QStringList{"extents"} << "^1234";
    // Latin letters cost the layout least, so their page is the longest kept.
    const QByteArray latin = "<p>" + QByteArray("The motion of a body along a line, in metres. ").repeated(20) + "</p>";
    QTest::newRow("the longest page, its extents asked whole")
        << latin.repeated(900) << QStringList{"extents"} << "The motion of a body";
    const QByteArray runs = QByteArray("<b>a</b>b").repeated(3000);
    QTest::newRow("lines of 6,000 runs of format, their extents asked")
        << "<pre>" + runs + "\n" + runs + "</pre>" << QStringList{"extents"} << "^abab";
    // What HTML shows after a <link> or inside a head left open, shown.
    QTest::newRow("style sheet linked in the body")
        << QByteArray("<p>one</p><link rel=\"stylesheet\" href=\"in.css\"><p>two</p>") << end << "one\ntwo$";
    QTest::newRow("head left open") << QByteArray("<head><title>t</title><p>one</p>") << end << "^one$";
    QTest::newRow("head in the body") << QByteArray("<p>one</p><head><p>two</p></head><p>3</p>") << end
                                      << "one\ntwo\n3$";
    QTest::newRow("text right after a head") << QByteArray("<head><title>t</title></head>text") << end << "^text$";
    QTest::newRow("text after a head's sheet")
        << QByteArray("<head><meta charset=utf-8><link rel=stylesheet href=a.css></head>one") << end << "^one$";
    QTest::newRow("markup in a title") << QByteArray("<head><title>a <b>b</b> c</title></head><p>one</p>") << end
                                       << "^one$";
    QTest::newRow("unclosed comment") << QByteArray("<p>a</p><!-- ") + QByteArray("x").repeated(1000) << end
                                      << "閉じていない注釈.*\na$";
    QTest::newRow("unclosed title") << QByteArray("<h2>one</h2><title>t<p>two</p>") << end
                                    << "閉じていない注釈.*\none$";
    // What HTML shows and the reader alone would drop.
    QTest::newRow("comments HTML ends early")
        << QByteArray("<p>1</p><!--><p>2</p><!---><p>3</p><!-- c --!><p>4</p><!-x><p>5</p>") << end
        << "^1\n2\n3\n4\n5$";
    QTest::newRow("a \"<\" no markup begins with")
        << QByteArray("<p>0 < x < 1</p><p>a < !-- b --> c <</p><style>p < b {}</style><p>d</p>") << end
        << "^0 < x < 1\na < !-- b --> c <\nd$";
    QTest::newRow("text before a table's first row and a row's first cell")
        << QByteArray("<table>one<tr>two<td>three</td></tr></table>") << end << "one\n+two\n+three\n";
    QTest::newRow("the reader's own property that empties a paragraph")
        << QByteArray("<style>.e{-QT-paragraph-typ\\65:empty}</style><p class=e>one</p>"
                      "<link rel=stylesheet href=none.css style=\"-qt-paragraph-type:empty\">"
                      "<p style=\"&#45;qt-paragraph-type:empty\">two</p>")
        << end << "^one\ntwo$";
    QTest::newRow("the property past an end tag a comment hides, split by one, or its backslash a reference")
        << QByteArray("<style><!-- </style> -->.e{-qt-para<!-- -->graph-type:empty}</style><p class=e>one</p>"
                      "<p style=\"-&#92;71t-paragraph-type:empty\">two</p>")
        << end << "^one\ntwo$";
    QTest::newRow("a Qt editor's blank line one line, text after a break kept")
        << QByteArray("<p>one</p><p style=\"-qt-paragraph-type:empty; margin-top:0px;\"><br /></p><p>two</p>"
                      "<p style=\"-qt-paragraph-type:empty\"><br>three</p>")
        << end << "^one\n\ntwo\n\nthree$";
    QTest::newRow("repairs where style texts overlap, each written once")
        << QByteArray("<style/><style/><style><b style=\"-qt-paragraph-type:x\"></style><p>one</p>") << end << "^one$";
    QTest::newRow("closed while it is parsed") << ("<p>" + words + "</p>").repeated(40000) << QStringList{"exit"} << "";
    QTest::newRow("program ended while it parses")
        << ("<p>" + words + "</p>").repeated(40000) << QStringList{"quit", "exit"} << "";
}

// What a user would call a freeze. A sanitized debug build does the same work
// several times slower, so it is held to a looser bound; under the thread
// sanitizer, which runs these for the races, only a hang fails.
#if defined(__SANITIZE_THREAD__)
constexpr qint64 stallLimitMs = 20000;
#elif defined(__SANITIZE_ADDRESS__)
constexpr qint64 stallLimitMs = 2000;
#else
constexpr qint64 stallLimitMs = 500;
#endif

void DocumentViewTest::hostileDocument_neverStallsTheWindow()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, actions);
    QFETCH(QString, shown);
    const QString file = path(QStringLiteral("paper/hostile.html"));
    QVERIFY(write(file, bytes));
    QWidget *viewport = m_view->viewport();
    const auto ready = [this] { return !m_view || m_view->state() == DocumentView::State::Showing; };
    StallMonitor monitor;

    // A shown page comes with what a reader is told of it: none of that is
    // worked out on this thread, at the first key or question.
    const auto readingKept = [this] { return !m_view || SpokenReading::kept(*m_view->document()); };
    QVERIFY(m_view->openFile(file, DocumentView::Wait::No));
    for (const QString &action : actions) {
        QTRY_VERIFY_WITH_TIMEOUT(ready() || action == u"exit", 60000);
        QVERIFY(!ready() || readingKept());
        if (action == u"hover") {
            for (int y = 5; y < viewport->height(); y += 40) {
                QHelpEvent hover(QEvent::ToolTip, QPoint(30, y), viewport->mapToGlobal(QPoint(30, y)));
                QCoreApplication::sendEvent(viewport, &hover);
                QTest::qWait(20);
            }
            QToolTip::hideText();
        } else if (action == u"zoom") {
            // Ctrl+wheel does nothing; the keys take the text to its largest.
            for (int i = 1; i < int(paperzoom::steps.size()); ++i) {
                QWheelEvent wheel(QPointF(50, 50), viewport->mapToGlobal(QPointF(50, 50)), {}, {0, 120}, Qt::NoButton,
                                  Qt::ControlModifier, Qt::NoScrollPhase, false);
                QCoreApplication::sendEvent(viewport, &wheel);
                QTest::keyClick(m_view, Qt::Key_Plus, Qt::ControlModifier);
            }
        } else if (action == u"end") {
            QTest::keyClick(m_view, Qt::Key_End, Qt::ControlModifier);
            m_view->verticalScrollBar()->setValue(m_view->verticalScrollBar()->maximum());
        } else if (action == u"extents") {
            // What a magnifier, mouse review and flat review ask: the boxes
            // of a range of characters from the middle, then of the whole
            // page, each character in turn as Qt's bridge asks them.
            QAccessibleTextInterface *reader = QAccessible::queryAccessibleInterface(m_view)->textInterface();
            const int count = reader->characterCount(), middle = count / 2;
            for (int i = middle; i <= middle + 100 && i < count; ++i)
                reader->characterRect(i);
            for (int ask = 0; ask < 2; ++ask) {
                for (int i = 0; i <= count; ++i)
                    reader->characterRect(i);
            }
            // A reader's own calls, one character each, are each answered
            // however many follow in turn (on lines of many runs, past what
            // one run of asks may cost).
            QRect alone;
            const int asked = std::min(count, 2000);
            for (int i = 0; i < asked; ++i) {
                alone = reader->characterRect(i);
                QCoreApplication::processEvents();
            }
            QCOMPARE(alone, reader->characterRect(asked - 1));
        } else if (action == u"wordback") {
            QTest::keyClick(m_view, Qt::Key_End, Qt::ControlModifier);
            for (int i = 0; i < 3; ++i)
                QTest::keyClick(m_view, Qt::Key_Left, Qt::ControlModifier);
        } else if (action == u"narrow") {
            // A unit of seven characters wraps over three lines.
            m_view->resize(40, m_view->height());
            viewport->grab();
        } else if (action == u"keys") {
            // Keys held down from the top, each caret heard as a reader asks.
            QAccessibleInterface *face = QAccessible::queryAccessibleInterface(m_view);
            QAccessibleTextInterface *reader = face ? face->textInterface() : nullptr;
            QVERIFY(reader);
            QTest::keyClick(m_view, Qt::Key_Home, Qt::ControlModifier);
            const std::pair<Qt::Key, Qt::KeyboardModifiers> held[] = {
                {Qt::Key_Right, {}}, {Qt::Key_Down, {}}, {Qt::Key_Right, Qt::ControlModifier},
                {Qt::Key_Up, {}},    {Qt::Key_Left, {}}, {Qt::Key_Left, Qt::ControlModifier}};
            int heard = reader->cursorPosition();
            for (const auto &[key, modifiers] : held) {
                const bool forward = key == Qt::Key_Right || key == Qt::Key_Down;
                for (int i = 0; i < 150; ++i) {
                    const int from = m_view->textCursor().position();
                    QTest::keyClick(m_view, key, modifiers);
                    const int to = m_view->textCursor().position();
                    // Left and Right, by letter or word, never stall short of the
                    // end; no key turns back, in the pane or in what a reader is told.
                    const bool across = key == Qt::Key_Left || key == Qt::Key_Right;
                    const bool atEnd = forward ? m_view->textCursor().atEnd() : m_view->textCursor().atStart();
                    QVERIFY2(forward ? to > from || atEnd || !across : to < from || atEnd || !across,
                             qPrintable(QStringLiteral("key %1: %2 to %3").arg(key, 0, 16).arg(from).arg(to)));
                    int start = 0, end = 0;
                    const int caret = reader->cursorPosition();
                    QVERIFY(caret >= 0 && caret <= reader->characterCount());
                    QVERIFY2(
                        forward ? caret >= heard : caret <= heard,
                        qPrintable(QStringLiteral("key %1: heard %2 then %3").arg(key, 0, 16).arg(heard).arg(caret)));
                    heard = caret;
                    reader->textAtOffset(caret, QAccessible::WordBoundary, &start, &end);
                    reader->textAtOffset(caret, QAccessible::LineBoundary, &start, &end);
                    reader->characterRect(caret);
                    QCoreApplication::processEvents(); // as between repeats of a held key
                }
            }
        } else if (action == u"pagedown") {
            m_view->verticalScrollBar()->setValue(0);
            for (int i = 0; i < 10; ++i) {
                QTest::keyClick(m_view, Qt::Key_PageDown);
                viewport->grab();
            }
        } else if (action == u"copy") {
            QTest::keyClick(m_view, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(m_view, Qt::Key_C, Qt::ControlModifier);
        } else if (action == u"click") {
            clickText(QStringLiteral("go"));
        } else if (action == u"click40") {
            // Enter held down on the link: each repeat asks for the page again.
            clickText(QStringLiteral("go"));
            const QUrl link(QStringLiteral("long.html#last"));
            for (int i = 0; i < 40; ++i) {
                emit m_view->anchorClicked(link);
                QTest::qWait(30);
                QVERIFY2(DocumentJob::running() <= 1, qPrintable(QString::number(DocumentJob::running())));
            }
        } else if (action == u"quit") {
            // The same file in a program of its own, ended while it parses.
            QProcess program;
            program.start(QStringLiteral(EXIT_PROBE), {file});
            QTRY_VERIFY_WITH_TIMEOUT(program.canReadLine() || program.state() == QProcess::NotRunning, 10000);
            QCOMPARE(program.readLine(), QByteArray("quit\n"));
            QTRY_VERIFY_WITH_TIMEOUT(program.state() == QProcess::NotRunning, 10 * stallLimitMs);
            // The probe's own measure, from its quitting to its last breath.
            const QByteArray ended = program.readAll().trimmed().split('\n').last();
            std::printf("%s\n", ended.constData());
            QVERIFY2(ended.startsWith("ended ") && ended.split(' ').value(1).toLongLong() < 2 * stallLimitMs,
                     ended.constData());
            QCOMPARE(program.exitStatus(), QProcess::NormalExit);
            QCOMPARE(program.exitCode(), 0);
        } else if (action == u"exit") {
            delete m_view;
            m_view = nullptr;
        }
        viewport = m_view ? m_view->viewport() : nullptr;
        if (viewport)
            viewport->grab();
        QCoreApplication::processEvents();
    }
    QTRY_VERIFY_WITH_TIMEOUT(ready(), 60000);
    QVERIFY(readingKept());
    const qint64 stall = monitor.longest();
    std::printf("longest stall %lld ms: %s\n", stall, QTest::currentDataTag());
    QVERIFY2(stall < stallLimitMs, qPrintable(QString::number(stall)));
    QVERIFY(DocumentJob::settle(10 * stallLimitMs));
    if (m_view) {
        QVERIFY2(m_view->toPlainText().contains(QRegularExpression(shown)),
                 qPrintable(m_view->toPlainText().left(200)));
        // A notice's look stays on the notices above the page.
        const QTextBlock notice = m_view->document()->begin();
        for (QTextBlock block = notice.next(); notice.text().startsWith(u"この文書") && block.isValid();
             block = block.next())
            QVERIFY(block.text().startsWith(u"この文書") || block.blockFormat() != notice.blockFormat());
        // Whatever a picture's size, the end of the page can be reached.
        QScrollBar *bar = m_view->verticalScrollBar();
        const QSizeF size = m_view->document()->documentLayout()->documentSize();
        QVERIFY(size.height() <= viewport->height() || bar->maximum() > 0);
    }
}

// The paper itself a symbolic link out of its folder: refused where the
// folder reads it, its target's folder never taken for the paper's.
void DocumentViewTest::documentNamedByALinkOut_isNeverShown()
{
    const QString linked = path(QStringLiteral("paper/linked.html"));
    QVERIFY(QFile::link(path(QStringLiteral("outside.html")), linked));
    if (m_view->openFile(linked))
        QTRY_VERIFY(m_view->state() == DocumentView::State::Showing);
    QVERIFY2(!m_view->toPlainText().contains(QStringLiteral("outside")), qPrintable(m_view->toPlainText()));
}

// A page's name swapped back and forth between a page of the folder and a
// symbolic link out of it: whatever the moment of the click, the outside
// file is never shown.
void DocumentViewTest::pageSwappedForALinkOut_neverShowsTheOutside()
{
    const QByteArray real = QFile::encodeName(path(QStringLiteral("paper/next.html")));
    const QByteArray swap = QFile::encodeName(path(QStringLiteral("paper/swap.html")));
    const QByteArray spare = swap + ".new";
    const QByteArray outside = QFile::encodeName(path(QStringLiteral("outside.html")));
    std::atomic_bool stop{false};
    std::thread swapper([&] {
        for (bool link = false; !stop; link = !link) {
            if (link ? ::symlink(outside.constData(), spare.constData()) == 0
                     : ::link(real.constData(), spare.constData()) == 0)
                ::rename(spare.constData(), swap.constData());
        }
    });
    openPage(QStringLiteral("<p>first</p>"));
    int inside = 0;
    for (int i = 0; i < 300; ++i) {
        emit m_view->anchorClicked(QUrl(QStringLiteral("swap.html")));
        QTRY_VERIFY(m_view->state() == DocumentView::State::Showing);
        QVERIFY(!m_view->toPlainText().contains(QStringLiteral("outside")));
        inside += m_view->toPlainText() == u"next page";
        QTest::qWait(1); // a click the link turns down takes no time: spread them out
    }
    stop = true;
    swapper.join();
    QVERIFY(inside > 0);
}

// A window built long before it is shown: the document it waited for is
// no less ready for that.
void DocumentViewTest::paneShownLate_showsTheDocumentItHeld()
{
    const QString file = path(QStringLiteral("paper/page.html"));
    QVERIFY(write(file, "<p>held page</p>"));
    DocumentView pane;
    pane.resize(400, 200);

    QVERIFY(pane.openFile(file, DocumentView::Wait::BeforeFirstShow));
    QTest::qWait(500);
    pane.show();

    QCOMPARE(pane.toPlainText(), QStringLiteral("held page"));
}

// A job given up, or whose caller has gone, never calls back: its callback
// would reach a pane that has moved on to another page, or none at all.
void DocumentViewTest::givenUpJob_neverCallsBack_data()
{
    QTest::addColumn<QString>("when");
    QTest::newRow("kept") << "kept";
    QTest::newRow("given up once done, before its turn") << "done";
    QTest::newRow("given up while it runs") << "running";
    QTest::newRow("its context deleted") << "context";
    QTest::newRow("replaced on its lane before it started") << "replaced";
}

void DocumentViewTest::givenUpJob_neverCallsBack()
{
    QFETCH(QString, when);
    const QString file = path(QStringLiteral("paper/page.html"));
    QVERIFY(write(file, "<p>called back</p>"));
    const QString slow = path(QStringLiteral("paper/slow.html"));
    QVERIFY(write(slow, ("<p>" + QByteArray("word ").repeated(40) + "</p>").repeated(40000)));
    const DocumentJob::Request request{ResourceGate::forFile(file), m_view->font(), 1};
    auto lane = DocumentJob::newLane();
    std::unique_ptr<DocumentJob> first;
    if (when == u"replaced" || when == u"running")
        first =
            std::make_unique<DocumentJob>(DocumentJob::Request{ResourceGate::forFile(slow), m_view->font(), 1}, lane);
    auto *context = new QObject;
    int calls = 0;
    auto job = std::make_unique<DocumentJob>(request, when == u"replaced" ? lane : nullptr);
    job->whenDone(context, [&calls] { ++calls; });
    if (when == u"done") {
        QVERIFY(job->wait(10000));
        job.reset();
    } else if (when == u"running") {
        first->whenDone(context, [&calls] { calls += 100; });
        QTest::qWait(100);
        first.reset(); // while it parses
        QVERIFY(job->wait(10000));
    } else if (when == u"context") {
        QVERIFY(job->wait(10000));
        delete context;
        context = nullptr;
    } else if (when == u"replaced") {
        auto newest = std::make_unique<DocumentJob>(request, lane);
        job.reset();
        first.reset();
        QVERIFY(newest->wait(20000));
    }
    QTest::qWait(100);
    QVERIFY(DocumentJob::settle(20000));
    QCoreApplication::processEvents();
    QCOMPARE(calls, int(when == u"kept" || when == u"running"));
    delete context;
}

void DocumentViewTest::startedJob_takenOverOnlyForItsFileAndFont_data()
{
    QTest::addColumn<QString>("started");
    QTest::addColumn<int>("scale"); // of the pane's font size
    QTest::newRow("another file") << QStringLiteral("paper/next.html") << 1;
    QTest::newRow("another font") << QStringLiteral("paper/page.html") << 3;
}

void DocumentViewTest::startedJob_takenOverOnlyForItsFileAndFont()
{
    QFETCH(QString, started);
    QFETCH(int, scale);
    const QString file = path(QStringLiteral("paper/page.html"));
    QVERIFY(write(file, "<p>this page</p>"));
    QFont font = m_view->font();
    font.setPointSize(scale * font.pointSize());

    QVERIFY(m_view->openFile(file, DocumentView::Wait::ForDocument, DocumentView::startJob(path(started), font)));

    QCOMPARE(m_view->toPlainText(), QStringLiteral("this page"));
    QCOMPARE(m_view->document()->defaultFont(), m_view->font());
}

// Whoever takes the selection (Ctrl+C, a drag, the X11 selection that a
// middle click pastes) gets text and HTML alone, its pictures in words: no
// picture is read by its name from the working folder, none named for the
// taker to resolve, and a long document gives bounded data at once. Nothing
// dropped goes in.
void DocumentViewTest::selectionGivenAway_readsAndNamesNoPicture_data()
{
    QTest::addColumn<QString>("how"); // copy, select or drop
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("text"); // part of the plain text given

    // Each picture but the last is in the paper's folder and shown; each name
    // is also a FIFO under the working folder.
    const QByteArray pictures = "<p>前<img src=\"mark.png\">後</p><p><img src=\"dev/zero\"><img src=\"sub/deep.png\">"
                                "<img src=\"mark.png\" width=\"3\"><img src=\"../outside.png\"></p>";
    const QByteArray long_ = ("<p>" + QByteArray("word ").repeated(40) + "</p>").repeated(9 * 1024 * 1024 / 211);
    QTest::newRow("Ctrl+C") << "copy" << pictures << "前（画像）後";
    QTest::newRow("context menu's Copy") << "menu" << pictures << "前（画像）後";
    QTest::newRow("X11 selection or drag") << "select" << pictures << "前（画像）後";
    QTest::newRow("Ctrl+C, 9 MiB document") << "copy" << long_ << "word word";
    QTest::newRow("X11 selection, 9 MiB document") << "select" << long_ << "word word";
    QTest::newRow("Ctrl+C, 5,000 pictures")
        << "copy" << QByteArray("<p>前<img src=\"mark.png\"></p>").repeated(5000) << "前（画像）\n前";
    const QByteArray list = "<ol>" + QByteArray("<li>item</li>").repeated(7000) + "</ol>";
    QTest::newRow("Ctrl+C, 7,000 list items") << "copy" << list << "item\nitem";
    QTest::newRow("Ctrl+C, the page's own object character")
        << "copy" << QByteArray("<p>前&#xFFFC;後<img src=\"mark.png\"><img src=\"mark.png\"></p>")
        << "前\uFFFC後（画像）（画像）";
    QTest::newRow("Ctrl+C, a label held on one line")
        << "copy" << QByteArray("<p>1-&#x2060;問&#x2060;1</p>") << "1-問1";
    QTest::newRow("text dropped in") << "drop" << pictures << "";
}

void DocumentViewTest::selectionGivenAway_readsAndNamesNoPicture()
{
    QFETCH(QString, how);
    QFETCH(QByteArray, body);
    QFETCH(QString, text);
    for (const char *folder : {"elsewhere/work/dev", "elsewhere/work/sub", "paper/dev"})
        QVERIFY(QDir(m_dir.path()).mkpath(QLatin1String(folder)));
    QVERIFY(write(path(QStringLiteral("paper/dev/zero")), png()));
    const WatchedFifo byName(path(QStringLiteral("elsewhere/work/mark.png")));
    const WatchedFifo device(path(QStringLiteral("elsewhere/work/dev/zero")));
    const WatchedFifo deep(path(QStringLiteral("elsewhere/work/sub/deep.png")));
    const WatchedFifo beside(path(QStringLiteral("elsewhere/outside.png")));
    QVERIFY(byName.isValid() && device.isValid() && deep.isValid() && beside.isValid());
    delete m_view;
    auto *view = new OpenView;
    m_view = view;
    view->resize(400, 200);
    view->show();
    openPage(QString::fromUtf8(body));
    const QString shown = view->toPlainText();
    const QString previous = QDir::currentPath();
    QDir::setCurrent(path(QStringLiteral("elsewhere/work")));

    ThreadTime clock;
    QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
    std::unique_ptr<QMimeData> own;
    const QMimeData *data = nullptr;
    if (how == u"copy") {
        QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
        data = QGuiApplication::clipboard()->mimeData();
    } else if (how == u"menu") {
        // Copy, Copy Link Location (its address as text) and Select All:
        // nothing that edits, prints or opens.
        const std::unique_ptr<QMenu> menu(view->createStandardContextMenu());
        QStringList names;
        for (QAction *action : menu->actions()) {
            if (!action->isSeparator())
                names.append(action->objectName());
        }
        QCOMPARE(names.join(u' '), QStringLiteral("edit-copy link-copy select-all"));
        menu->actions().constFirst()->trigger();
        data = QGuiApplication::clipboard()->mimeData();
    } else if (how == u"select") {
        own.reset(view->createMimeDataFromSelection());
        data = own.get();
    } else {
        own = std::make_unique<QMimeData>();
        own->setText(QStringLiteral("dropped"));
        own->setHtml(QStringLiteral("<img src=\"mark.png\">dropped"));
        QVERIFY(!view->canInsertFromMimeData(own.get()));
        const QPoint at = view->viewport()->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, own.get(), Qt::LeftButton, {});
        QCoreApplication::sendEvent(view->viewport(), &enter);
        QDropEvent drop(at, Qt::CopyAction, own.get(), Qt::LeftButton, {});
        QCoreApplication::sendEvent(view->viewport(), &drop);
    }
    QByteArray given;
    QString plain;
    const QStringList formats = data ? data->formats() : QStringList();
    for (const QString &format : formats)
        given += data->data(format);
    if (data)
        plain = data->text();
    const qint64 took = clock.elapsed();
    QDir::setCurrent(previous);

    QVERIFY(!byName.wasOpened() && !device.wasOpened() && !deep.wasOpened() && !beside.wasOpened());
    for (const char *name : {"<img", "deep.png", "dev/zero", "outside.png", "mark.png"})
        QVERIFY2(!given.contains(name), name);
    QVERIFY2(took < stallLimitMs, qPrintable(QString::number(took)));
    QCOMPARE(view->toPlainText(), shown);
    if (data) {
        QCOMPARE(formats, QStringList({QStringLiteral("text/plain"), QStringLiteral("text/html")}));
        QVERIFY2(plain.contains(text), qPrintable(plain.left(200)));
        QVERIFY(plain.size() <= DocumentLimits::selectionChars + 1000);
    }
}

// The pages the pane writes while a page a link opened loads, or when it
// cannot be shown, lead back to the document the link left, by their link
// 「問題にもどる」 (caret and Enter) or by Alt+Left; a document opened first has
// nothing to go back to. The paper's own way back from its working stays.
// clang-format off
void DocumentViewTest::pageOfThePanes_leadsBackToThePaper_data()
{
    QTest::addColumn<QString>("target"); // what the paper's link opens
    QTest::addColumn<bool>("loading");   // act on the loading page
    QTest::addColumn<QString>("key");    // enter on the link, or alt+left
    QTest::addColumn<QString>("page");   // part of the page acted on

    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("paper")));
    QByteArray binary(4096, '\0');
    for (int i = 0; i < binary.size(); ++i)
        binary[i] = char((i * 7919) >> 3);
    QVERIFY(write(path(QStringLiteral("paper/binary.html")), binary));
    QVERIFY(write(path(QStringLiteral("paper/working.html")),
                  "<p>working</p><p><a href=\"page.html\">問題にもどる</a></p>"));
    QTest::newRow("refused page, its link") << "binary.html" << false << "enter" << "表示できません";
    QTest::newRow("refused page, Alt+Left") << "binary.html" << false << "alt+left" << "表示できません";
    QVERIFY(write(path(QStringLiteral("paper/slow.html")), QByteArray("<p>slow</p>").repeated(100000)));
    QTest::newRow("loading page, its link") << "slow.html" << true << "enter" << "読み込んでいます";
    QTest::newRow("loading page, Alt+Left") << "slow.html" << true << "alt+left" << "読み込んでいます";
    QTest::newRow("a page shown, Alt+Left") << "next.html" << false << "alt+left" << "next page";
    QTest::newRow("working's own link") << "working.html" << false << "enter" << "working";
    QTest::newRow("first document refused") << "" << false << "alt+left" << "表示できません";
}
// clang-format on

void DocumentViewTest::pageOfThePanes_leadsBackToThePaper()
{
    QFETCH(QString, target);
    QFETCH(bool, loading);
    QFETCH(QString, key);
    QFETCH(QString, page);
    const QString paper = QStringLiteral("paper\n→ go");
    if (target.isEmpty())
        QVERIFY(m_view->openFile(path(QStringLiteral("paper/binary.html"))));
    else
        openPage(QStringLiteral("<p>paper</p><p><a href=\"%1\">→ go</a></p>").arg(target));
    const auto showing = [this] { return m_view->state() == DocumentView::State::Showing; };
    int caret = 0;
    if (!target.isEmpty()) {
        QCOMPARE(m_view->toPlainText(), paper);
        // The reader's caret on the link, which Enter follows.
        QTextCursor go = m_view->document()->find(QStringLiteral("go"));
        caret = go.selectionStart() + 1;
        go.setPosition(caret);
        m_view->setTextCursor(go);
        QTest::keyClick(m_view, Qt::Key_Return);
        if (!loading)
            QTRY_VERIFY(showing());
    }
    QVERIFY2(m_view->toPlainText().contains(page), qPrintable(m_view->toPlainText()));
    const bool back = !target.isEmpty();
    QCOMPARE(m_view->toPlainText().contains(QStringLiteral("問題にもどる")), back && page != u"next page");

    if (key == u"enter") {
        const QTextCursor link = m_view->document()->find(QStringLiteral("問題にもどる"));
        QVERIFY(!link.isNull());
        QTextCursor caret(m_view->document());
        caret.setPosition(link.selectionStart() + 1);
        m_view->setTextCursor(caret);
        m_view->setFocus();
        // The keypad's Enter, as the link out was followed by the main one.
        QTest::keyClick(m_view, Qt::Key_Enter, Qt::KeypadModifier);
    } else {
        QTest::keyClick(m_view, Qt::Key_Left, Qt::AltModifier);
    }
    QTRY_VERIFY(showing());
    if (back) {
        QCOMPARE(m_view->toPlainText(), paper);
        QCOMPARE(m_view->textCursor().position(), caret); // where the reader left it
    } else
        QVERIFY(m_view->toPlainText().contains(page));
    QCOMPARE(m_view->folder(), m_folder);
}

// The pane lays a new document out once, at the width it is shown in: the
// page and the scroll bar are settled before it is set, whatever the path
// that brings it (opened at once, held until the pane is shown, a picture's
// handler attached to its layout).
void DocumentViewTest::shownDocument_wrapsAtThePanesWidth_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("held");
    QTest::addColumn<bool>("scrolls");
    const QByteArray line = "<p>" + QByteArray("word ").repeated(60) + "</p>";
    QTest::newRow("short") << line << false << false;
    QTest::newRow("long, past the pane") << line.repeated(40) << false << true;
    QTest::newRow("held until shown") << line.repeated(40) << true << true;
    QTest::newRow("with a picture") << "<img src=\"mark.png\" width=\"40\">" + line << false << false;
}

void DocumentViewTest::shownDocument_wrapsAtThePanesWidth()
{
    QFETCH(QByteArray, body);
    QFETCH(bool, held);
    QFETCH(bool, scrolls);
    const QString file = path(QStringLiteral("paper/page.html"));
    QVERIFY(write(file, body));
    DocumentView pane;
    pane.resize(400, 200);
    if (!held) {
        pane.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pane));
    }
    QVERIFY(pane.openFile(file, held ? DocumentView::Wait::BeforeFirstShow : DocumentView::Wait::ForDocument));
    if (held) {
        pane.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pane));
    }
    QCOMPARE(pane.state(), DocumentView::State::Showing);

    QTextDocument *document = pane.document();
    QCOMPARE(pane.verticalScrollBar()->isVisible(), scrolls);
    QCOMPARE(document->pageSize().width(), qreal(pane.viewport()->width()));
    QVERIFY(document->idealWidth() <= pane.viewport()->width());
    // Wrapped, not one line as wide as the text.
    QVERIFY(document->documentLayout()->documentSize().height() > 2 * pane.fontMetrics().height());
}

// The layout past the first screen waits for the first frame, then runs
// to the end by itself: the last line gets laid out and the scroll bar
// reaches it, with nothing asking for the layout, whichever way the document
// came to the pane.
void DocumentViewTest::longDocument_laidOutToTheEndOnceShown_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("opened in a shown pane") << QStringLiteral("open");
    QTest::newRow("held until the pane is shown") << QStringLiteral("held");
    QTest::newRow("a link followed") << QStringLiteral("link");
    QTest::newRow("pane hidden and shown again") << QStringLiteral("hidden");
}

void DocumentViewTest::longDocument_laidOutToTheEndOnceShown()
{
    QFETCH(QString, way);
    QByteArray body = "<p><a href=\"long.html\">on</a></p>";
    for (int i = 0; i < 400; ++i)
        body += "<p>paragraph " + QByteArray::number(i) + ' ' + QByteArray("word ").repeated(40) + "</p>";
    body += "<p>the end</p>";
    QVERIFY(write(path(QStringLiteral("paper/long.html")), body));
    QVERIFY(write(path(QStringLiteral("paper/start.html")), "<p><a href=\"long.html\">on</a></p>"));

    DocumentView pane;
    pane.resize(400, 200);
    if (way == QLatin1String("held")) {
        QVERIFY(pane.openFile(path(QStringLiteral("paper/long.html")), DocumentView::Wait::BeforeFirstShow));
        pane.show();
    } else if (way == QLatin1String("link")) {
        pane.show();
        QVERIFY(pane.openFile(path(QStringLiteral("paper/start.html"))));
        QVERIFY(QTest::qWaitForWindowExposed(&pane));
        QTextCursor link(pane.document());
        link.setPosition(1); // inside "on"
        QTest::mouseClick(pane.viewport(), Qt::LeftButton, {}, pane.cursorRect(link).center());
        QTRY_COMPARE(pane.state(), DocumentView::State::Showing);
    } else {
        pane.show();
        QVERIFY(pane.openFile(path(QStringLiteral("paper/long.html"))));
        if (way == QLatin1String("hidden")) {
            pane.hide();
            QTest::qWait(50);
            pane.show();
        }
    }
    QVERIFY(QTest::qWaitForWindowExposed(&pane));
    QTRY_VERIFY(pane.toPlainText().endsWith(QStringLiteral("the end")));

    const QTextBlock last = pane.document()->lastBlock();
    QTRY_VERIFY_WITH_TIMEOUT(last.layout()->lineCount() > 0, 5000);
    QScrollBar *bar = pane.verticalScrollBar();
    QTRY_COMPARE(bar->maximum(), int(pane.document()->size().height()) - pane.viewport()->height());
}

// The zoom keys step every font, the document's own and a run's, from the
// sizes parsed; the text wraps at the pane's width, a screen reader's text
// stays worked out, and the next page comes at the same size.
void DocumentViewTest::zoomKeys_stepTheTextsSize_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("percent");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<int>("runs"); // in sizes of their own besides 「十二」
    const int ctrl = Qt::ControlModifier, pad = Qt::KeypadModifier;
    const int plus = ctrl | Qt::Key_Plus;
    QTest::newRow("Ctrl+plus") << QList<int>{plus} << 125 << true << 0;
    QTest::newRow("Ctrl+= unshifted") << QList<int>{ctrl | Qt::Key_Equal} << 125 << true << 0;
    QTest::newRow("keypad plus") << QList<int>{ctrl | pad | Qt::Key_Plus} << 125 << true << 0;
    QTest::newRow("a step back") << QList<int>{plus, plus, ctrl | Qt::Key_Minus} << 125 << true << 0;
    QTest::newRow("minus at the smallest") << QList<int>{ctrl | pad | Qt::Key_Minus} << 100 << false << 0;
    QTest::newRow("plus at the largest") << QList<int>(7, plus) << 300 << false << 0;
    QTest::newRow("Ctrl+0 from the largest") << QList<int>(6, plus) + QList<int>{ctrl | Qt::Key_0} << 100 << true << 0;
    QTest::newRow("keypad Ctrl+0 from larger") << QList<int>{plus, ctrl | pad | Qt::Key_0} << 100 << true << 0;
    QTest::newRow("no modifier") << QList<int>{int(Qt::Key_Plus), int(Qt::Key_0)} << 100 << false << 0;
    // A step would lay out more runs than the limit: the size stays.
    QTest::newRow("runs at the limit") << QList<int>{plus} << 125 << true << DocumentLimits::zoomRuns - 1;
    QTest::newRow("runs past the limit") << QList<int>{plus} << 100 << false << DocumentLimits::zoomRuns;
}

void DocumentViewTest::zoomKeys_stepTheTextsSize()
{
    QFETCH(QList<int>, keys);
    QFETCH(int, percent);
    QFETCH(bool, changed);
    QFETCH(int, runs);
    QString sized;
    for (int i = 0; i < runs; ++i)
        sized += QStringLiteral("<span style=\"font-size:%1pt\">x</span>").arg(13 + i % 2);
    openPage(QStringLiteral("<p>本文 %1</p><p><span style=\"font-size:12pt\">十二</span>%2</p>"
                            "<p><a href=\"next.html\">next</a></p>")
                 .arg(QStringLiteral("言葉 ").repeated(200), sized));
    const QFont own = m_view->document()->defaultFont();
    QSignalSpy zoomed(m_view, &DocumentView::zoomed);
    for (int key : keys)
        QTest::keyClick(m_view, Qt::Key(key & ~Qt::KeyboardModifierMask),
                        Qt::KeyboardModifiers(key & Qt::KeyboardModifierMask));
    const bool anyZoomKey = !zoomed.isEmpty();
    QCOMPARE(m_view->zoom(), percent);
    if (anyZoomKey)
        QCOMPARE(zoomed.last(), (QVariantList{percent, changed}));
    QCOMPARE(zoomed.size(), anyZoomKey ? keys.size() : 0);
    QCOMPARE(m_view->document()->defaultFont().pointSizeF(), own.pointSizeF() * percent / 100);
    const QTextCursor twelve = m_view->document()->find(QStringLiteral("十二"));
    QCOMPARE(twelve.charFormat().fontPointSize(), 12.0 * percent / 100);
    QVERIFY(m_view->document()->size().width() <= m_view->viewport()->width());
    QVERIFY(SpokenReading::kept(*m_view->document()));
    QCOMPARE(m_view->document()->availableUndoSteps(), 0); // no history of edits kept

    clickText(QStringLiteral("next"));
    QTest::keyClick(m_view, Qt::Key_Return);
    QTRY_VERIFY(m_view->toPlainText().contains(QStringLiteral("next page")));
    QCOMPARE(m_view->document()->defaultFont().pointSizeF(), own.pointSizeF() * percent / 100);
}

// Alt+Left goes back over the last backSteps documents a link left, no more.
void DocumentViewTest::wayBack_keepsTheLastBackSteps_data()
{
    QTest::addColumn<int>("links"); // followed from page 0, one page to the next
    QTest::newRow("as many as kept") << DocumentLimits::backSteps;
    QTest::newRow("one more: the first forgotten") << DocumentLimits::backSteps + 1;
}

void DocumentViewTest::wayBack_keepsTheLastBackSteps()
{
    QFETCH(int, links);
    for (int i = 0; i <= links; ++i)
        QVERIFY(write(path(QStringLiteral("paper/p%1.html").arg(i)),
                      QStringLiteral("<p>page %1</p><p><a href=\"p%2.html\">next</a></p>").arg(i).arg(i + 1).toUtf8()));
    QVERIFY(m_view->openFile(path(QStringLiteral("paper/p0.html"))));
    const auto shows = [this](int page) {
        return m_view->state() == DocumentView::State::Showing
            && m_view->toPlainText().startsWith(QStringLiteral("page %1\n").arg(page));
    };
    for (int i = 1; i <= links; ++i) {
        clickText(QStringLiteral("next"));
        QTRY_VERIFY(shows(i));
    }
    const int oldest = links - DocumentLimits::backSteps;
    for (int i = links - 1; i >= oldest; --i) {
        QTest::keyClick(m_view, Qt::Key_Left, Qt::AltModifier);
        QTRY_VERIFY2(shows(i), qPrintable(m_view->toPlainText()));
    }
    QTest::keyClick(m_view, Qt::Key_Left, Qt::AltModifier); // nothing left: no load starts
    QVERIFY(shows(oldest));
}

VARDO_TEST_MAIN(DocumentViewTest)
#include "documentview_test.moc"
