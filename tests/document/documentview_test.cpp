#include "document/documentview.h"
#include "support/watchedfifo.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include "support/testmain.h"

namespace {

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray png()
{
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

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
    void resources_readOnlyInsideTheFolder_data();
    void resources_readOnlyInsideTheFolder();
    void pictures_neverLoadedByQtItself_data();
    void pictures_neverLoadedByQtItself();
    void fifo_isNeverOpened_data();
    void fifo_isNeverOpened();
    void badFile_showsSomethingQuickly_data();
    void badFile_showsSomethingQuickly();
    void oversizedFile_showsItsFrontAndSaysSo();
    void paneShownLate_showsTheDocumentItHeld();
    void prefetch_takenOverOnlyForItsFileAndFont_data();
    void prefetch_takenOverOnlyForItsFileAndFont();
    void costlyLayout_givesUpInTimeAndStaysResponsive_data();
    void costlyLayout_givesUpInTimeAndStaysResponsive();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    void openPage(const QString &body);
    qint64 openTimed(const QByteArray &bytes);
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
    QVERIFY(writeFile(path(QStringLiteral("paper/mark.png")), png()));
    QVERIFY(writeFile(path(QStringLiteral("paper/sub/deep.png")), png()));
    QVERIFY(writeFile(path(QStringLiteral("secret.png")), png()));
    QVERIFY(writeFile(path(QStringLiteral("outside.html")), "<p>outside</p>"));
    QVERIFY(writeFile(path(QStringLiteral("paper/next.html")), "<p>next page</p>"));
    QFile::link(path(QStringLiteral("secret.png")), path(QStringLiteral("paper/link.png")));

    m_view = new DocumentView;
    m_view->resize(400, 200);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view));
}

void DocumentViewTest::cleanup()
{
    delete m_view;
    m_view = nullptr;
}

void DocumentViewTest::openPage(const QString &body)
{
    const QString file = path(QStringLiteral("paper/page.html"));
    QVERIFY(writeFile(file, QStringLiteral("<html><body>%1</body></html>").arg(body).toUtf8()));
    QVERIFY(m_view->openFile(file));
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

    clickText(QStringLiteral("follow me"));

    QVERIFY(raised.isEmpty());
    QVERIFY(m_view->toPlainText().startsWith(QStringLiteral("before")));
}

void DocumentViewTest::pageLinkInsideFolder_opensThatPage()
{
    openPage(QStringLiteral("<p><a href=\"next.html\">next</a></p>"));
    clickText(QStringLiteral("next"));
    QCOMPARE(m_view->toPlainText(), QStringLiteral("next page"));
}

void DocumentViewTest::resources_readOnlyInsideTheFolder_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("readable");

    QTest::newRow("beside the document") << "mark.png" << true;
    QTest::newRow("in a subfolder") << "sub/deep.png" << true;
    QTest::newRow("down and back up") << "sub/../mark.png" << true;
    QTest::newRow("up out of the folder") << "../secret.png" << false;
    QTest::newRow("up and back in by name") << "../paper/../secret.png" << false;
    QTest::newRow("absolute path outside") << path(QStringLiteral("secret.png")) << false;
    QTest::newRow("file URL outside")
        << QUrl::fromLocalFile(path(QStringLiteral("secret.png"))).toString() << false;
    QTest::newRow("symbolic link out") << "link.png" << false;
    QTest::newRow("web") << "http://127.0.0.1:1/x.png" << false;
    QTest::newRow("program resource") << "qrc:/pictures/mark.ico" << false;
}

void DocumentViewTest::resources_readOnlyInsideTheFolder()
{
    QFETCH(QString, name);
    QFETCH(bool, readable);
    openPage(QStringLiteral("<p>x</p>"));

    const QVariant data = m_view->document()->resource(QTextDocument::ImageResource, QUrl(name));

    QCOMPARE(data.value<QPixmap>().size() == QSize(4, 4), readable);
}

// Qt's picture handler loads a picture itself, from the working folder or
// anywhere, whenever the pane gives it nothing it can decode.
void DocumentViewTest::pictures_neverLoadedByQtItself_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("readable");

    QTest::newRow("beside the document") << "mark.png" << true;
    QTest::newRow("absolute path outside") << path(QStringLiteral("secret.png")) << false;
    QTest::newRow("up out of the folder") << "../secret.png" << false;
    QTest::newRow("in the working folder") << "here.png" << false;
    QTest::newRow("not a picture") << "next.html" << false;
}

void DocumentViewTest::pictures_neverLoadedByQtItself()
{
    QFETCH(QString, name);
    QFETCH(bool, readable);
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("work")));
    QVERIFY(writeFile(path(QStringLiteral("work/here.png")), png()));
    QVERIFY(writeFile(path(QStringLiteral("work/next.html")), png()));
    const QString previous = QDir::currentPath();
    QDir::setCurrent(path(QStringLiteral("work")));
    openPage(QStringLiteral("<p><img src=\"%1\"></p>").arg(name));
    m_view->viewport()->grab();

    QTextImageFormat format;
    format.setName(name);
    QTextDocument *document = m_view->document();
    const QSizeF shown = document->documentLayout()
                             ->handlerForObject(QTextFormat::ImageObject)
                             ->intrinsicSize(document, 0, format);
    QDir::setCurrent(previous);

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
    QTest::newRow("table background")
        << QStringLiteral("<table background=\"pipe.png\"><tr><td>x</td></tr></table>");
    QTest::newRow("cell background")
        << QStringLiteral("<table><tr><td background=\"%1\">x</td></tr></table>").arg(inside);
    QTest::newRow("style background")
        << QStringLiteral("<p style=\"background-image:url(%1)\">x</p>").arg(beside);
    QTest::newRow("style sheet")
        << QStringLiteral("<link rel=\"stylesheet\" type=\"text/css\" href=\"pipe.png\"><p>x</p>");
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
    QDir::setCurrent(previous);

    QVERIFY(!inside.wasOpened());
    QVERIFY(!beside.wasOpened());
}

void DocumentViewTest::badFile_showsSomethingQuickly_data()
{
    QTest::addColumn<QByteArray>("bytes");

    QByteArray binary(256 * 1024, '\0');
    for (int i = 0; i < binary.size(); ++i)
        binary[i] = char((i * 7919) >> 3);
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("binary") << binary;
    QTest::newRow("binary without NUL") << binary.replace('\0', '\x01');
    QTest::newRow("bytes invalid for the declared encoding")
        << QByteArray("<meta charset=utf-8><p>\xFF\xFE\x82\xFF</p>");
    QTest::newRow("unclosed tags") << QByteArray("<html><body><table><tr><td><p><b><i><a href=");
    QTest::newRow("deeply nested") << QByteArray("<div>").repeated(100000);
    QTest::newRow("deeply nested inline") << QByteArray("<b>x").repeated(200000);
    QTest::newRow("nested tables") << QByteArray("<table><tr><td>").repeated(60);
    QTest::newRow("stray end tags keep nesting")
        << QByteArray("<span></i>").repeated(50000);
    QTest::newRow("many elements") << QByteArray("x<br>").repeated(1500000);
    QTest::newRow("one huge paragraph") << QByteArray("abcdefgh ").repeated(800000);
    QTest::newRow("unclosed comment") << QByteArray("<p>a</p><!-- ") + QByteArray("x").repeated(1000);
}

// Opens `bytes` as a file beside the document; the milliseconds it took.
qint64 DocumentViewTest::openTimed(const QByteArray &bytes)
{
    const QString file = path(QStringLiteral("paper/opened.html"));
    if (!writeFile(file, bytes))
        qFatal("cannot write %s", qPrintable(file));
    QElapsedTimer clock;
    clock.start();
    if (!m_view->openFile(file))
        return -1;
    return clock.elapsed();
}

void DocumentViewTest::badFile_showsSomethingQuickly()
{
    QFETCH(QByteArray, bytes);
    QElapsedTimer clock;
    clock.start();

    QVERIFY(openTimed(bytes) >= 0);
    m_view->verticalScrollBar()->setValue(m_view->verticalScrollBar()->maximum());
    QCoreApplication::processEvents();

    QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
}

void DocumentViewTest::oversizedFile_showsItsFrontAndSaysSo()
{
    const QByteArray paragraph = "<p>" + QStringLiteral("問").repeated(1000).toUtf8() + "</p>\n";
    const QByteArray head = "<html><body><p>first line</p>";
    const QString file = path(QStringLiteral("paper/big.html"));
    QVERIFY(writeFile(file, head + paragraph.repeated(int(DocumentView::maxBytes / paragraph.size()) + 500)));

    QVERIFY(m_view->openFile(file));

    // Too long to lay out while the caller waits: it comes in the background.
    QTRY_VERIFY_WITH_TIMEOUT(m_view->toPlainText().contains(QStringLiteral("8 MiB")),
                             DocumentView::readingMs + DocumentView::deadlineMs);
    const QString shown = m_view->toPlainText();
    QVERIFY(shown.contains(QStringLiteral("first line")));
    QVERIFY(!shown.contains(QChar::ReplacementCharacter)); // still read as UTF-8
    QVERIFY(shown.size() < DocumentView::maxBytes / 3 + 1000);
}

// A window built long before it is shown: the document it waited for is
// no less ready for that.
void DocumentViewTest::paneShownLate_showsTheDocumentItHeld()
{
    const QString file = path(QStringLiteral("paper/page.html"));
    QVERIFY(writeFile(file, "<p>held page</p>"));
    DocumentView pane;
    pane.resize(400, 200);

    QVERIFY(pane.openFile(file, DocumentView::Wait::BeforeFirstShow));
    QTest::qWait(DocumentView::deadlineMs + 300);
    pane.show();

    QCOMPARE(pane.toPlainText(), QStringLiteral("held page"));
}

void DocumentViewTest::prefetch_takenOverOnlyForItsFileAndFont_data()
{
    QTest::addColumn<QString>("prefetched");
    QTest::addColumn<int>("scale"); // of the pane's font size
    QTest::newRow("another file") << QStringLiteral("paper/next.html") << 1;
    QTest::newRow("another font") << QStringLiteral("paper/page.html") << 3;
}

void DocumentViewTest::prefetch_takenOverOnlyForItsFileAndFont()
{
    QFETCH(QString, prefetched);
    QFETCH(int, scale);
    const QString file = path(QStringLiteral("paper/page.html"));
    QVERIFY(writeFile(file, "<p>this page</p>"));
    QFont font = m_view->font();
    font.setPointSize(scale * font.pointSize());

    DocumentView::prefetch(path(prefetched), font);
    QVERIFY(m_view->openFile(file));

    QCOMPARE(m_view->toPlainText(), QStringLiteral("this page"));
    QCOMPARE(m_view->document()->defaultFont(), m_view->font());
}

// Documents within the guard's limits, or past a guard that misread their
// tags, whose layout takes Qt many seconds.
void DocumentViewTest::costlyLayout_givesUpInTimeAndStaysResponsive_data()
{
    QTest::addColumn<QByteArray>("bytes");

    QByteArray sizes;
    for (int i = 0; i < 2000; ++i)
        sizes += QStringLiteral("<span style=\"font-size:%1px\">問x</span>").arg(8 + i * 0.5).toUtf8();
    QTest::newRow("nested tables around much text")
        << QByteArray("<table><tr><td>").repeated(6) + QByteArray("word ").repeated(20000);
    QTest::newRow("one unbreakable line") << "<p>" + QByteArray("x").repeated(200000) + "</p>";
    QTest::newRow("thousands of font sizes") << sizes;
    QTest::newRow("tables opened with a space after <")
        << QByteArray("< table><tr><td>").repeated(12) + QByteArray("word ").repeated(2000);
}

void DocumentViewTest::costlyLayout_givesUpInTimeAndStaysResponsive()
{
    QFETCH(QByteArray, bytes);

    const qint64 took = openTimed(bytes);

    QVERIFY2(took >= 0 && took < DocumentView::deadlineMs + 500, qPrintable(QString::number(took)));
    // The page comes at the deadline, or, on a machine so busy that the job
    // is still reading then, a deadline later; the window answers meanwhile.
    qint64 longestGap = 0;
    QElapsedTimer sinceTick;
    sinceTick.start();
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, [&] { longestGap = std::max(longestGap, sinceTick.restart()); });
    ticker.start(10);
    QTRY_VERIFY_WITH_TIMEOUT(m_view->toPlainText().contains(QStringLiteral("表示できません")),
                             DocumentView::readingMs + DocumentView::deadlineMs);
    QTest::qWait(300);
    QVERIFY2(longestGap < 200, qPrintable(QString::number(longestGap)));
}

VARDO_TEST_MAIN(DocumentViewTest)
#include "documentview_test.moc"
