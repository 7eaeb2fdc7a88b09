#include "document/confineddocument.h"
#include "document/documentclean.h"

#include <QTest>
#include <QTextCursor>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QList>
#include <QTextTable>

#include "support/testmain.h"
#include "support/threadtime.h"

// What the cleaning leaves of what Qt parsed: every length in a paper's
// range whatever the markup's spelling, and of a costly document its front.
class DocumentCleanTest : public QObject
{
    Q_OBJECT

private slots:
    void formats_broughtIntoRange_data();
    void formats_broughtIntoRange();
    void costlyDocument_keepsItsFront_data();
    void costlyDocument_keepsItsFront();
    void pictureFormats_setInTimeForAnyParagraph_data();
    void pictureFormats_setInTimeForAnyParagraph();
};

namespace {

// The value of `property` on the first paragraph's format ("block"), on its
// first run of text ("char"), on the first table ("table") or its first cell,
// or on the page ("page").
QVariant probe(QTextDocument &document, const QString &where, int property)
{
    const QList<QTextFrame *> frames = document.rootFrame()->childFrames();
    auto *table = frames.isEmpty() ? nullptr : qobject_cast<QTextTable *>(frames.first());
    if (where == u"table")
        return table->format().property(property);
    if (where == u"cell")
        return table->cellAt(0, 0).format().property(property);
    if (where == u"page")
        return document.rootFrame()->frameFormat().property(property);
    const QTextBlock block = document.begin();
    return where == u"block" ? block.blockFormat().property(property)
                             : block.begin().fragment().charFormat().property(property);
}

} // namespace

void DocumentCleanTest::formats_broughtIntoRange_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("where");
    QTest::addColumn<int>("property");
    QTest::addColumn<QVariant>("expected");

    const auto row = [](const char *name, const char *html, const char *where, int property, QVariant value) {
        QTest::newRow(name) << QString::fromUtf8(html) << QString::fromLatin1(where) << property << value;
    };
    row("proportional line height", "<p style=\"line-height:60000000%\">x</p>", "block", QTextFormat::LineHeight,
        300.0);
    row("fixed line height", "<p style=\"line-height:10000000px\">x</p>", "block", QTextFormat::LineHeight, 200.0);
    row("margin", "<p style=\"margin-top:900000px\">x</p>", "block", QTextFormat::BlockTopMargin, 200.0);
    row("indent", "<p style=\"text-indent:-90000px\">x</p>", "block", QTextFormat::TextIndent, -200.0);
    row("point size", "<p><span style=\"font-size:9000pt\">x</span></p>", "char", QTextFormat::FontPointSize, 72.0);
    row("point sizes rounded", "<p><span style=\"font-size:10.26pt\">x</span></p>", "char", QTextFormat::FontPointSize,
        10.0);
    row("pixel size", "<p><span style=\"font-size:90000px\">x</span></p>", "char", QTextFormat::FontPixelSize, 96);
    row("tool tip as plain text", "<p><span title=\"&lt;img src=x&gt;\">x</span></p>", "char", QTextFormat::TextToolTip,
        QStringLiteral("<p style=\"white-space:pre-wrap\">&lt;img src=x&gt;</p>"));
    row("background picture dropped", "<p style=\"background-image:url(a.png)\">x</p>", "block",
        QTextFormat::BackgroundImageUrl, QVariant());
    // Parsed as the pane parses, a background picture is the placeholder's
    // brush, which would be drawn tiled over its paragraph, cell or page.
    row("background brush of a paragraph", "<p style=\"background-image:url(a.png)\">x</p>", "block",
        QTextFormat::BackgroundBrush, QVariant());
    row("background brush from a style sheet", "<style>p { background-image: url(a.png) }</style><p>x</p>", "block",
        QTextFormat::BackgroundBrush, QVariant());
    row("background brush of a table", "<table style=\"background-image:url(a.png)\"><tr><td>x</td></tr></table>",
        "table", QTextFormat::BackgroundBrush, QVariant());
    row("background brush of a cell", "<table><tr><td style=\"background-image:url(a.png)\">x</td></tr></table>",
        "cell", QTextFormat::BackgroundBrush, QVariant());
    row("background brush of the page", "<body style=\"background-image:url(a.png)\"><p>x</p></body>", "page",
        QTextFormat::BackgroundBrush, QVariant());
    row("table border", "<table border=\"90000\"><tr><td>x</td></tr></table>", "table", QTextFormat::FrameBorder, 10.0);
    row("cell spacing", "<table cellspacing=\"90000\"><tr><td>x</td></tr></table>", "table",
        QTextFormat::TableCellSpacing, 50.0);
    row("cell padding", "<table><tr><td style=\"padding:90000px\">x</td></tr></table>", "cell",
        QTextFormat::TableCellTopPadding, 50.0);
}

void DocumentCleanTest::formats_broughtIntoRange()
{
    QFETCH(QString, html);
    QFETCH(QString, where);
    QFETCH(int, property);
    QFETCH(QVariant, expected);
    ConfinedDocument document; // answers pictures as the pane's documents do
    document.setHtml(html);

    const documentclean::Outcome outcome = documentclean::clean(document, std::atomic_bool(false));

    QCOMPARE(outcome.cut, documentclean::Cut::None);
    const QVariant value = probe(document, where, property);
    QCOMPARE(value.isValid(), expected.isValid());
    if (expected.isValid())
        QCOMPARE(value.toString(), expected.toString());
}

void DocumentCleanTest::costlyDocument_keepsItsFront_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<int>("limit");
    QTest::addColumn<documentclean::Cut>("cut");
    QTest::addColumn<QString>("kept"); // the plain text left, "" when nothing is

    const QString paragraphs = QStringLiteral("<p>aaaaaaaaa</p>").repeated(10); // 40 each
    const QString rows = QStringLiteral("<table><tr><td>r</td></tr>%1</table>")
                             .arg(QStringLiteral("<tr><td>r</td></tr>").repeated(9)); // about 400 each
    QTest::newRow("within the limit") << paragraphs << 500 << documentclean::Cut::None
                                      << QStringLiteral("aaaaaaaaa\n").repeated(10).chopped(1);
    QTest::newRow("plain, past the limit: long")
        << paragraphs << 100 << documentclean::Cut::Long << QStringLiteral("aaaaaaaaa\naaaaaaaaa\n");
    // Reckoned at 24,212 pixels each in the narrowest pane: 16 fit.
    const QString large = QStringLiteral("W ").repeated(250).chopped(1);
    QTest::newRow("large type past the height: long")
        << QStringLiteral("<p style=\"font-size:96px;line-height:200px\">%1</p>").arg(large).repeated(200) << 400000
        << documentclean::Cut::Long << (large + u'\n').repeated(16);
    QTest::newRow("a table past the limit keeps its first rows")
        << rows << 1000 << documentclean::Cut::Complex << QStringLiteral("\nr\nr\n");
    // Spans: a cut never leaves a cell spanning rows that go (Qt's layout
    // crashes on the table left), and places a span covers cost too.
    QTest::newRow("spans as a paper has them")
        << QStringLiteral("<table><tr><td rowspan=\"2\">m〔g〕</td><td colspan=\"3\">x</td></tr>"
                          "<tr><td>50</td><td>100</td><td>150</td></tr></table>")
        << 400000 << documentclean::Cut::None << QStringLiteral("\nm〔g〕\nx\n50\n100\n150\n");
    QTest::newRow("a cell spanning rows across the cut takes its table")
        << QStringLiteral("<p>front</p><table><tr><td rowspan=3>a</td><td>b</td></tr>"
                          "<tr><td>c</td></tr><tr><td>d</td></tr></table>")
        << 1000 << documentclean::Cut::Complex << QStringLiteral("front");
    QTest::newRow("a cell spanning rows that go takes its table")
        << QStringLiteral("<p>front</p><table><tr><td>a</td></tr><tr><td>b</td></tr>"
                          "<tr><td rowspan=2>c</td></tr><tr><td>d</td></tr></table>")
        << 1000 << documentclean::Cut::Complex << QStringLiteral("front");
    QTest::newRow("a cell spanning rows that stay")
        << QStringLiteral("<table><tr><td rowspan=2>a</td><td>b</td></tr><tr><td>c</td></tr>%1</table>")
               .arg(QStringLiteral("<tr><td>r</td><td>r</td></tr>").repeated(8))
        << 2500 << documentclean::Cut::Complex << QStringLiteral("\na\nb\nc\nr\nr\n");
    QTest::newRow("places a span covers are costed")
        << QStringLiteral("<table>%1</table>").arg(QStringLiteral("<tr><td colspan=200>a</td></tr>").repeated(20))
        << 20000 << documentclean::Cut::Complex << QStringLiteral("\na\na\na\n");
    // What Qt's reader leaves closing a paragraph goes; the author's own stays.
    QTest::newRow("closing spaces dropped")
        << QStringLiteral("<p>a\n</p><table><tr><td>c </td></tr></table><p><a href=\"x\">b</a></p>\n") << 100000
        << documentclean::Cut::None << QStringLiteral("a\nc\n\nb");
    QTest::newRow("preformatted spaces kept")
        << QStringLiteral("<pre>a  </pre>") << 100000 << documentclean::Cut::None << QStringLiteral("a  ");
    // Qt lays Korean out broken at spaces only: syllables with none are one run.
    QTest::newRow("Korean with no space, one run") << QStringLiteral("<p>%1</p>").arg(QString(3000, QChar(0xAC00)))
                                                   << 30000 << documentclean::Cut::Complex << QString();
    QTest::newRow("Korean in words") << QStringLiteral("<p>%1</p>").arg(QStringLiteral("가나다라 ").repeated(600))
                                     << 30000 << documentclean::Cut::None
                                     << QStringLiteral("가나다라 ").repeated(600).chopped(1);
    QTest::newRow("one paragraph too long")
        << QStringLiteral("<p>%1</p>").arg(QString(30000, u'x')) << 1000 << documentclean::Cut::Complex << QString();
}

void DocumentCleanTest::costlyDocument_keepsItsFront()
{
    QFETCH(QString, html);
    QFETCH(int, limit);
    QFETCH(documentclean::Cut, cut);
    QFETCH(QString, kept);
    QTextDocument document;
    document.setHtml(html);

    const documentclean::Outcome outcome = documentclean::clean(document, std::atomic_bool(false), {.cost = limit});

    QCOMPARE(outcome.cut, cut);
    QCOMPARE(outcome.empty, kept.isEmpty());
    QVERIFY(kept.isEmpty() || document.toPlainText().replace(QChar::ObjectReplacementCharacter, u'\n') == kept);
}

// A paragraph of many pictures, or of long text with pictures after it, as a
// hostile page may hold: each picture is given its size in passing, not with
// its paragraph laid out again for it.
void DocumentCleanTest::pictureFormats_setInTimeForAnyParagraph_data()
{
    QTest::addColumn<int>("textBefore");
    QTest::addColumn<int>("pictures");
    QTest::addColumn<int>("paragraphs");

    QTest::newRow("20,000 pictures in one paragraph") << 0 << 20000 << 1;
    QTest::newRow("8,000 pictures after 100,000 characters") << 100000 << 8000 << 1;
    QTest::newRow("pictures and text in 10 paragraphs") << 20000 << 2000 << 10;
}

void DocumentCleanTest::pictureFormats_setInTimeForAnyParagraph()
{
    QFETCH(int, textBefore);
    QFETCH(int, pictures);
    QFETCH(int, paragraphs);
    QTextDocument document;
    QList<documentclean::Picture> given;
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    for (int p = 0; p < paragraphs; ++p) {
        if (p > 0)
            cursor.insertBlock();
        cursor.insertText(QStringLiteral("ab ").repeated(textBefore / 3));
        for (int i = 0; i < pictures; ++i) {
            QTextImageFormat format;
            format.setName(QStringLiteral("p%1.png").arg(i % 7));
            given.append({cursor.position(), format});
            cursor.insertImage(QTextImageFormat());
        }
    }
    cursor.endEditBlock();
    for (documentclean::Picture &picture : given) {
        picture.format.setWidth(16);
        picture.format.setHeight(16);
    }

    ThreadTime clock;
    documentclean::setPictureFormats(document, given);
    const qint64 spent = clock.elapsed();

    QVERIFY2(spent < 2000, qPrintable(QString::number(spent)));
    for (const int at : {0, int(given.size()) / 2, int(given.size()) - 1}) {
        QTextCursor picture(&document);
        picture.setPosition(given.at(at).position + 1);
        QCOMPARE(picture.charFormat().toImageFormat().name(), given.at(at).format.name());
        QCOMPARE(picture.charFormat().toImageFormat().width(), 16.0);
    }
}

VARDO_TEST_MAIN(DocumentCleanTest)
#include "documentclean_test.moc"
