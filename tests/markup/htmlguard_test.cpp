#include "markup/htmlguard.h"

#include <QTest>

// The guard reads markup as Qt's HTML reader does, so each row is checked
// against what the reader builds: how many tags, how deep, how many tables
// inside each other, how long a paragraph. Each limit at its bound and one
// past it is in tests/document/limits_test.cpp.
class HtmlGuardTest : public QObject
{
    Q_OBJECT

private slots:
    void problem_data();
    void problem();
    void styleSheets_costedAsQtMatchesThem_data();
    void styleSheets_costedAsQtMatchesThem();
};

namespace {

void row(const char *name, const QString &html, bool refused, const htmlguard::Limits &limits = {})
{
    QTest::newRow(name) << html << refused << limits.tags << limits.depth << limits.tableDepth << limits.paragraphChars
                        << limits.formats << limits.styleDeclarations << limits.pictureReach;
}

QString times(const char *piece, int count)
{
    return QString::fromUtf8(piece).repeated(count);
}

} // namespace

void HtmlGuardTest::problem_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<int>("tags");
    QTest::addColumn<int>("depth");
    QTest::addColumn<int>("tableDepth");
    QTest::addColumn<qsizetype>("paragraphChars");
    QTest::addColumn<int>("formats");
    QTest::addColumn<int>("styleDeclarations");
    QTest::addColumn<qint64>("pictureReach");

    const htmlguard::Limits oneTable{.tableDepth = 1};
    const htmlguard::Limits noTable{.tableDepth = 0};

    row("tables in sequence", times("<table><tr><td>x</td></tr></table>", 20), false, oneTable);
    row("an end tag closes what opened since", times("<table><tr><td><b><i>x</table>", 20), false,
        {.depth = 5, .tableDepth = 1});
    row("an end tag in capitals closes its element", times("<TABLE><tr><td>x</TaBle >", 20), false, oneTable);
    row("stray end tags close nothing", times("</table></td>", 50) + "<table><table>", true, oneTable);
    row("an unclosed end tag runs to the next >", "<table>x</table<table>y</table>", false, oneTable);
    row("a cell outside a table gets one", "<table><td>x", true, oneTable);
    row("a comment hides tags", "<!-- <table><table> -->x", false, noTable);
    row("one dash opens no comment", "<!-xy> <table><table> -->x", true, oneTable);
    row("an unclosed comment runs to the end", "<p>a<!-- <table><table>", false, noTable);
    row("CDATA ends at the first >", "<![CDATA[<table>]]>", false, noTable);
    row("CDATA hides only up to its first >", "<![CDATA[<table><table><table>]]>", true, oneTable);
    row("an attribute holding <table", "<p title=\"<table><table>\">x</p>", false, noTable);
    row("an unquoted attribute stops at <", "<p title=a<table>x", false, noTable);
    row("a / in a quoted attribute", times("<table title=\"a/b\">", 2), true, oneTable);
    row("a / before > holds nothing", times("<table/>", 5), false, oneTable);
    row("upper case", "<TABLE><TR><TD><Table>", true, oneTable);
    // Qt's reader takes these for tags; HTML, and the page mended, for text.
    row("a < no name follows", "< table>\n<\ttable><\ntable><&#116;able><\"table\"><'table'>", false, oneTable);
    row("each such < counts as a tag, for its repair", times("0 < 1", 3), true, {.tags = 2});
    row("character references inside a name", "<ta&#x62;le><ta&#x62;le>", true, oneTable);
    row("NUL bytes", QStringLiteral("<p>a") + QChar(u'\0') + "b</p>", true);
    row("unknown elements nest", times("<input>", 6), true, {.depth = 5});
    row("a paragraph closes the one before", times("<p>x", 50), false, {.depth = 1});
    row("a list item behind inline text nests", times("<li><b>", 3), true, {.depth = 5});
    row("paragraphs split by a block", times("x", 10) + "<p>" + times("x", 10), false, {.paragraphChars = 10});
    QString sizes, nested;
    for (int i = 0; i < 4; ++i) {
        sizes += QStringLiteral("<span style=\"font-size:%1pt\">x</span>").arg(9 + i);
        nested += QStringLiteral("<b><span class=\"c%1\">x</span></b><i>y</i>").arg(i % 2);
    }
    row("font sizes past the limit", sizes, true, {.formats = 3});
    row("formats told apart by what lies around them", nested, true, {.formats = 2});
    row("a line break does not split", times("x", 6) + "<br>" + times("x", 5), true, {.paragraphChars = 10});
    // Each picture reaches back over its paragraph so far, the pictures in it
    // weighing 9 letters each: 10, then 10 + 9.
    const QString twoPictures = times("x", 10) + times("<img src=\"a.png\">", 2);
    row("pictures reach back over their paragraph", "<p>" + twoPictures, true, {.pictureReach = 28});
    row("a line break is no new paragraph", "<p>" + times("x", 10) + "<br><IMG src=a.png><img>", true,
        {.pictureReach = 28});
    row("a new paragraph is reached from its start", "<p>" + times("x", 10) + "<img><p>" + times("x", 10) + "<img>",
        false, {.pictureReach = 28});
    row("the reach of all paragraphs adds up", ("<p>" + twoPictures).repeated(2), true, {.pictureReach = 57});
}

void HtmlGuardTest::problem()
{
    QFETCH(QString, html);
    QFETCH(bool, refused);
    QFETCH(int, tags);
    QFETCH(int, depth);
    QFETCH(int, tableDepth);
    QFETCH(qsizetype, paragraphChars);
    QFETCH(int, formats);
    QFETCH(int, styleDeclarations);
    QFETCH(qint64, pictureReach);

    htmlguard::Limits limits{tags, depth, tableDepth, paragraphChars, formats, styleDeclarations};
    limits.pictureReach = pictureReach;
    const QString problem = htmlguard::problem(html, limits);

    QVERIFY2(problem.isEmpty() != refused, qPrintable(problem));
}

// What a style sheet costs: its selectors, simple or complex, against the
// elements and the chains of elements they are matched along.
void HtmlGuardTest::styleSheets_costedAsQtMatchesThem_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<qint64>("simple");
    QTest::addColumn<qint64>("complex");
    QTest::addColumn<qint64>("elementDepths");
    QTest::addColumn<qint64>("ancestorDepths");

    const auto sheet = [](const char *css) { return QStringLiteral("<style>%1</style>").arg(QLatin1String(css)); };
    QTest::newRow("no sheet, three nested") << "<div><div><div>x" << 0ll << 0ll << 6ll << 10ll;
    QTest::newRow("a list of selectors") << sheet("p, .a, div#b { color: red }") << 3ll << 0ll << 1ll << 1ll;
    QTest::newRow("combinators") << sheet("div p, a>b, a + b ~ c { x: y }") << 0ll << 3ll << 1ll << 1ll;
    QTest::newRow("comments and braces in declarations")
        << sheet("/* p, q { } */ p { a: b; c: {d} } q {}") << 2ll << 0ll << 1ll << 1ll;
    QTest::newRow("at-rules hold the rules of their block")
        << sheet("@import url(a.css); @media screen { p, q { x: y } }") << 2ll << 0ll << 1ll << 1ll;
    QTest::newRow("unclosed style runs to the end") << "<style>p {} q" << 1ll << 0ll << 1ll << 1ll;
    QTest::newRow("end tag in capitals") << "<style>p {}</STYLE><style>q, r {}" << 3ll << 0ll << 2ll << 2ll;
    QTest::newRow("a comment hides an end tag") << "<style><!-- </style> -->p {}</style>" << 1ll << 0ll << 1ll << 1ll;
    QTest::newRow("a void element lies in its parent") << "<p><br></p>" << 0ll << 0ll << 3ll << 4ll;
}

void HtmlGuardTest::styleSheets_costedAsQtMatchesThem()
{
    QFETCH(QString, html);
    QFETCH(qint64, simple);
    QFETCH(qint64, complex);
    QFETCH(qint64, elementDepths);
    QFETCH(qint64, ancestorDepths);

    const htmlguard::Report report = htmlguard::check(html);
    htmlguard::SheetShape shape;
    for (const htmlguard::Report::Style &style : report.styles) {
        shape.simple += style.shape.simple;
        shape.complex += style.shape.complex;
    }
    QCOMPARE(shape.simple, simple);
    QCOMPARE(shape.complex, complex);
    QCOMPARE(report.elementDepths, elementDepths);
    QCOMPARE(report.ancestorDepths, ancestorDepths);
    QCOMPARE(report.matches(shape), simple * elementDepths + complex * ancestorDepths / 3);

    // Past the budget a sheet is blanked, keeping every other character in place.
    QString dropped = html;
    htmlguard::dropCostlyStyles(dropped, report, report.matches(shape) - 1);
    QCOMPARE(dropped.size(), html.size());
    qint64 left = 0;
    for (const htmlguard::Report::Style &style : htmlguard::check(dropped).styles)
        left += style.shape.simple + style.shape.complex;
    QVERIFY(simple + complex == 0 || left < simple + complex);
}

QTEST_GUILESS_MAIN(HtmlGuardTest)
#include "htmlguard_test.moc"
