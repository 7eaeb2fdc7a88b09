#include "markup/htmlguard.h"

#include <QHash>
#include <QList>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <limits>

namespace htmlguard {

namespace {

// What Qt's HTML reader takes as a tag is what counts here: every "<" opens
// one, white space may follow it, a name may be quoted or spelled with
// character references, and "<!--" opens a comment. Its elements nest as the
// reader nests them (see OpenElements).

// Elements the reader never lets hold anything.
const QSet<QString> &voidElements()
{
    static const QSet<QString> set = {QStringLiteral("img"), QStringLiteral("hr"), QStringLiteral("br"),
                                      QStringLiteral("meta")};
    return set;
}

// What a head holds in HTML; anything else shown ends it.
bool belongsInHead(const QString &name)
{
    static const QSet<QString> set = {QStringLiteral("title"), QStringLiteral("style"), QStringLiteral("script"),
                                      QStringLiteral("meta"),  QStringLiteral("link"),  QStringLiteral("base")};
    return set.contains(name);
}

// Elements the reader lays out as blocks; a new <p> closes an open one only
// when no other block lies between them.
const QSet<QString> &blockElements()
{
    static const QSet<QString> set = {
        QStringLiteral("blockquote"), QStringLiteral("body"), QStringLiteral("caption"), QStringLiteral("center"),
        QStringLiteral("dd"),         QStringLiteral("div"),  QStringLiteral("dl"),      QStringLiteral("dt"),
        QStringLiteral("h1"),         QStringLiteral("h2"),   QStringLiteral("h3"),      QStringLiteral("h4"),
        QStringLiteral("h5"),         QStringLiteral("h6"),   QStringLiteral("hr"),      QStringLiteral("li"),
        QStringLiteral("ol"),         QStringLiteral("p"),    QStringLiteral("pre"),     QStringLiteral("qt"),
        QStringLiteral("td"),         QStringLiteral("th"),   QStringLiteral("ul"),
    };
    return set;
}

// Elements that start a new paragraph of the laid-out text.
bool startsParagraph(const QString &name)
{
    static const QSet<QString> tables = {QStringLiteral("table"), QStringLiteral("tbody"), QStringLiteral("thead"),
                                         QStringLiteral("tfoot"), QStringLiteral("tr")};
    return blockElements().contains(name) || tables.contains(name);
}

// Where the reader allows an element: the parent it climbs up to.
bool allowedIn(const QString &name, const QString &parent)
{
    if (name == u"dd" || name == u"dt")
        return parent == u"dl";
    if (name == u"tr")
        return parent == u"table" || parent == u"thead" || parent == u"tbody" || parent == u"tfoot";
    if (name == u"td" || name == u"th")
        return parent == u"tr";
    if (name == u"thead" || name == u"tbody" || name == u"tfoot" || name == u"caption")
        return parent == u"table";
    if (name == u"body")
        return parent != u"head";
    return true;
}

// The rows and columns a table cell spans, as the reader takes them.
struct Spans
{
    qint64 rows = 1;
    qint64 columns = 1;
};

// The reader never lets a cell span more columns than this.
constexpr int mostColumnsSpanned = 20480;

// A table's grid as the reader lays it out: a row's next cell goes to the
// first column, from where the row has reached, that no cell of an earlier
// row still spans, and the table is as wide as its widest row reaches. Qt
// makes a cell for every place of that grid before it merges those a span
// covers, so the places are what a table costs to read.
class TableGrid
{
public:
    void row()
    {
        ++m_rows;
        m_column = 0;
    }
    void cell(const Spans &spans)
    {
        const qint64 row = m_rows - 1;
        while (m_column < m_lastCell.size() && m_lastCell[m_column].row + m_lastCell[m_column].spans.rows > row)
            m_column += m_lastCell[m_column].spans.columns;
        const qint64 first = m_column;
        m_column += spans.columns;
        m_columns = std::max(m_columns, m_column);
        if (m_lastCell.size() < m_column)
            m_lastCell.resize(m_column);
        for (qint64 column = first; column < m_column; ++column)
            m_lastCell[column] = {row, spans};
    }
    qint64 places() const { return m_rows * m_columns; }
    qint64 rows() const { return m_rows; }
    bool rowHasCell() const { return m_column > 0; }

private:
    struct Placed
    {
        qint64 row = 0;
        Spans spans{0, 0};
    };
    QList<Placed> m_lastCell; // by column, the cell last placed there
    qint64 m_rows = 0;
    qint64 m_column = 0; // where the current row has reached
    qint64 m_columns = 0;
};

// The elements open at the current point, as the reader's tree has them.
class OpenElements
{
public:
    // `attributes`: the tag's text after its name, which decides the format
    // of the text inside it along with every element around it; `spans`:
    // what a cell spans.
    void open(const QString &name, bool holdsNothing, QStringView attributes = {}, const Spans &spans = {})
    {
        // A cell or row outside a table gets one made around it.
        if ((name == u"td" || name == u"th") && !m_names.contains(QStringLiteral("tr"))) {
            push(QStringLiteral("table"));
            push(QStringLiteral("tr"));
        } else if (name == u"tr" && m_tables == 0) {
            push(QStringLiteral("table"));
        }
        if (name == u"p")
            closeOpenParagraph();
        else if (name == u"li" && !m_names.isEmpty() && m_names.last() == u"li")
            pop();
        while (!m_names.isEmpty() && !allowedIn(name, m_names.last()))
            pop();
        if (!holdsNothing)
            push(name, attributes);
        else if (name == u"tr" && !m_grids.isEmpty())
            m_grids.last().row(); // an empty row is a row still
        if ((name == u"td" || name == u"th") && !m_grids.isEmpty())
            m_grids.last().cell(spans);
    }
    // A stray end tag closes nothing; an end tag closes what opened since.
    void close(const QString &name)
    {
        const qsizetype at = m_names.lastIndexOf(name);
        if (at < 0)
            return;
        while (m_names.size() > at)
            pop();
    }
    bool holds(const QString &name) const { return m_names.contains(name); }
    // The reader drops text that lies in a table before its first row, or
    // in a row before its first cell: what to write before it to keep it.
    QString cellForText() const
    {
        if (m_names.isEmpty() || m_grids.isEmpty())
            return QString();
        if (m_names.last() == u"table" && m_grids.last().rows() == 0)
            return QStringLiteral("<tr><td>");
        if (m_names.last() == u"tr" && !m_grids.last().rowHasCell())
            return QStringLiteral("<td>");
        return QString();
    }
    qsizetype depth() const { return m_names.size(); }
    int tables() const { return m_tables; }
    // Tells apart the chains of open elements with their attributes.
    size_t format() const { return m_formats.isEmpty() ? 0 : m_formats.last(); }
    // The places of the grids of every table so far.
    qint64 tableCells() const
    {
        qint64 places = m_closedTableCells;
        for (const TableGrid &grid : m_grids)
            places += grid.places();
        return places;
    }

private:
    void push(const QString &name, QStringView attributes = {})
    {
        m_formats.append(qHashMulti(format(), name, attributes));
        m_names.append(name);
        if (name == u"table") {
            ++m_tables;
            m_grids.append(TableGrid());
        } else if (name == u"tr" && !m_grids.isEmpty()) {
            m_grids.last().row();
        }
    }
    void pop()
    {
        m_formats.removeLast();
        if (m_names.takeLast() == u"table") {
            --m_tables;
            m_closedTableCells += m_grids.takeLast().places();
        }
    }
    void closeOpenParagraph()
    {
        for (qsizetype i = m_names.size() - 1; i >= 0; --i) {
            if (!blockElements().contains(m_names[i]))
                continue;
            if (m_names[i] == u"p")
                close(QStringLiteral("p"));
            return;
        }
    }

    QList<QString> m_names;
    QList<size_t> m_formats;
    int m_tables = 0;
    QList<TableGrid> m_grids; // of the open tables, the innermost last
    qint64 m_closedTableCells = 0;
};

// White space between the markup's tokens, as Qt's reader skips it: a
// paragraph separator is text to it.
bool isMarkupSpace(QChar c)
{
    return c.isSpace() && c != QChar::ParagraphSeparator;
}

// Whether what follows a "<" makes it markup in HTML: a letter, or "/",
// "!" or "?". Qt's reader takes any "<" for a tag's start, so "0 < x < 1"
// would lose its middle, and "p < b" in a sheet the rest of the page; such
// a "<" is written as a reference instead.
bool opensMarkup(QStringView rest)
{
    if (rest.isEmpty())
        return false;
    const char16_t c = rest.front().unicode();
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'/' || c == u'!' || c == u'?';
}

bool isAsciiHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// Reads the markup the way the reader does, one token at a time.
class Reader
{
public:
    // Comments the reader would end elsewhere than HTML are mended in `report`.
    Reader(QStringView html, Report &report) : m_html(html), m_report(report) {}

    bool atEnd() const { return m_pos >= m_html.size(); }
    QChar next() { return m_html[m_pos++]; }
    // What lies after the current point.
    QStringView rest() const { return m_html.mid(std::min(m_pos, m_html.size())); }
    // Declarations of every style attribute read so far.
    int styleDeclarations() const { return m_styleDeclarations; }

    struct Tag
    {
        QString name;
        bool closing = false;
        bool holdsNothing = false;
        bool isTag = true;  // false for comments and declarations
        qsizetype end = -1; // where its ">" stands; -1 for none
        QStringView attributes;
        Spans spans; // a cell's, when the tag is one
    };

    // After a "<".
    Tag tag()
    {
        skipSpace();
        Tag tag;
        if (at(u'!')) {
            declaration();
            tag.isTag = false;
            return tag;
        }
        if (at(u'/')) {
            ++m_pos;
            tag.closing = true;
            tag.name = word().toLower().trimmed();
            skipPast(u'>');
            return tag;
        }
        tag.name = word().toLower();
        const qsizetype attributesStart = m_pos;
        if (!atEnd() && isMarkupSpace(m_html[m_pos]))
            attributes(tag.spans);
        // Up to the ">", a "/" anywhere closes the element at once.
        while (!atEnd() && m_html[m_pos] != u'>') {
            if (m_html[m_pos] == u'/')
                tag.holdsNothing = true;
            ++m_pos;
        }
        tag.attributes = m_html.mid(attributesStart, std::min(m_pos, m_html.size()) - attributesStart);
        tag.end = atEnd() ? -1 : m_pos;
        ++m_pos;
        tag.holdsNothing = tag.holdsNothing || voidElements().contains(tag.name);
        return tag;
    }

private:
    bool at(QChar c) const { return !atEnd() && m_html[m_pos] == c; }
    void skipSpace()
    {
        while (!atEnd() && isMarkupSpace(m_html[m_pos]))
            ++m_pos;
    }
    void skipPast(QChar c)
    {
        while (!atEnd() && next() != c) {}
    }

    // "<!--" opens a comment, which the reader ends at the next "-->" only;
    // anything else after "<!" runs to the first ">", CDATA included. HTML
    // also ends a comment at "--!>", and "<!-->" and "<!--->" at once: those
    // are mended, so that the reader shows what follows them too.
    void declaration()
    {
        ++m_pos;
        if (!at(u'-') || m_pos + 1 >= m_html.size() || m_html[m_pos + 1] != u'-') {
            skipPast(u'>');
            return;
        }
        m_pos += 2;
        const QStringView body = m_html.mid(m_pos);
        if (body.startsWith(u'>') || body.startsWith(u"->")) {
            m_report.repairs.append({m_pos, body.startsWith(u'>') ? QStringLiteral("--") : QStringLiteral("-")});
            m_pos += body.indexOf(u'>') + 1;
            return;
        }
        // The next "-->" is looked for once for all the comments before it.
        if (m_nextClose < m_pos) {
            const qsizetype close = m_html.indexOf(u"-->", m_pos);
            m_nextClose = close < 0 ? m_html.size() : close;
        }
        const qsizetype bang = m_html.mid(m_pos, m_nextClose - m_pos).indexOf(u"--!>");
        if (bang >= 0) {
            m_report.repairs.append({m_pos + bang + 2, QString(), 1});
            m_pos += bang + 4;
        } else if (m_nextClose < m_html.size()) {
            m_pos = m_nextClose + 3;
        } else {
            m_report.hidesTheRest = m_report.hidesTheRest || !body.trimmed().isEmpty();
            m_pos = m_html.size();
        }
    }

    void attributes(Spans &spans)
    {
        while (!atEnd()) {
            skipSpace();
            if (at(u'>') || at(u'/'))
                return;
            const QString name = word();
            if (name.isEmpty())
                return;
            skipSpace();
            if (at(u'=')) {
                ++m_pos;
                skipSpace();
                const QString value = word();
                if (name.compare(u"style", Qt::CaseInsensitive) == 0)
                    m_styleDeclarations += declarations(value);
                else if (name.compare(u"rowspan", Qt::CaseInsensitive) == 0)
                    spans.rows = span(value, spans.rows, std::numeric_limits<int>::max());
                else if (name.compare(u"colspan", Qt::CaseInsensitive) == 0)
                    spans.columns = span(value, spans.columns, mostColumnsSpanned);
            }
        }
    }

    QString word()
    {
        QString word;
        if (at(u'"')) {
            ++m_pos;
            while (!atEnd()) {
                const QChar c = next();
                if (c == u'"')
                    break;
                word += c == u'&' ? entity() : QString(c);
            }
        } else if (at(u'\'')) {
            ++m_pos;
            while (!atEnd()) {
                const QChar c = next();
                if (c == u'\'' && m_html[m_pos - 2] != u'\\')
                    break;
                word += c;
            }
        } else {
            while (!atEnd()) {
                const QChar c = m_html[m_pos];
                if (c == u'>' || c == u'<' || c == u'=' || isMarkupSpace(c)
                    || (c == u'/' && m_pos + 1 < m_html.size() && m_html[m_pos + 1] == u'>'))
                    break;
                ++m_pos;
                word += c == u'&' ? entity() : QString(c);
            }
        }
        return word;
    }

    // After an "&": a numeric reference as its character; a named one as a
    // stand-in, since no name the reader knows is spelled with one.
    QString entity()
    {
        const qsizetype start = m_pos;
        // Looked for only as far as a reference reaches: a search to the
        // end for each "&" made a page of them quadratic.
        const qsizetype semicolon = m_html.mid(start, 9).indexOf(u';');
        const qsizetype end = start + semicolon;
        if (semicolon <= 0)
            return QStringLiteral("&");
        QStringView body = m_html.mid(start, end - start);
        for (QChar c : body) {
            if (c.isSpace())
                return QStringLiteral("&");
        }
        m_pos = end + 1;
        if (!body.startsWith(u'#'))
            return QString(QChar::ReplacementCharacter);
        body = body.mid(1);
        int base = 10;
        if (body.startsWith(u'x') || body.startsWith(u'X')) {
            body = body.mid(1);
            base = 16;
        }
        bool ok = false;
        const uint code = body.toUInt(&ok, base);
        if (!ok) {
            m_pos = start;
            return QStringLiteral("&");
        }
        return QString::fromUcs4(reinterpret_cast<const char32_t *>(&code), 1);
    }

    // A span the reader reads as a number keeps it, at least 1 and at most
    // `most`; any other leaves the one before.
    static qint64 span(const QString &value, qint64 before, int most)
    {
        bool ok = false;
        const int number = value.toInt(&ok);
        return ok ? std::clamp(number, 1, most) : before;
    }

    // "a:b; c:d" holds two.
    static int declarations(QStringView style)
    {
        int count = 0;
        for (QStringView part : style.tokenize(u';'))
            count += !part.trimmed().isEmpty();
        return count;
    }

    QStringView m_html;
    Report &m_report;
    qsizetype m_pos = 0;
    qsizetype m_nextClose = -1; // of "-->", past m_pos: none, the text's size
    int m_styleDeclarations = 0;
};

bool isCombinator(QChar c)
{
    return c.isSpace() || c == u'>' || c == u'+' || c == u'~';
}

// One selector list, the part of a rule before its "{".
void addSelectors(QStringView prelude, SheetShape &shape)
{
    for (QStringView selector : prelude.tokenize(u',')) {
        qint64 compounds = 0;
        bool inCompound = false;
        for (QChar c : selector) {
            const bool separator = isCombinator(c);
            compounds += !separator && !inCompound;
            inCompound = !separator;
        }
        shape.simple += compounds == 1;
        shape.complex += compounds > 1;
    }
}

} // namespace

// Comments go; at-rules ("@media screen {", "@import ...;") hold no selector
// of their own, though a block they open holds rules; a rule's declarations
// run to its "}".
SheetShape sheetShape(QStringView css)
{
    SheetShape shape;
    QString prelude;
    int declarationDepth = 0; // braces open inside a rule's declarations
    for (qsizetype i = 0; i < css.size(); ++i) {
        const QChar c = css[i];
        if (c == u'/' && i + 1 < css.size() && css[i + 1] == u'*') {
            const qsizetype end = css.indexOf(u"*/", i + 2);
            i = end < 0 ? css.size() : end + 1;
            continue;
        }
        if (declarationDepth > 0) {
            declarationDepth += c == u'{' ? 1 : c == u'}' ? -1 : 0;
            continue;
        }
        if (c == u'{') {
            const QString rule = prelude.trimmed();
            if (!rule.startsWith(u'@')) {
                addSelectors(rule, shape);
                declarationDepth = 1;
            }
            prelude.clear();
        } else if (c == u'}' || (c == u';' && prelude.trimmed().startsWith(u'@'))) {
            prelude.clear();
        } else {
            prelude += c;
        }
    }
    return shape;
}

namespace {

// Where the reader's "-qt-paragraph-type" begins in `text`, each of its
// characters also as its style sheets may escape it (\71, \q). Character
// references are decoded before (see decodedReferences()).
QList<qsizetype> emptyingProperties(QStringView text)
{
    static const QRegularExpression property = [] {
        QString pattern;
        for (QChar c : QStringLiteral("-qt-paragraph-type")) {
            const QString plain = QRegularExpression::escape(QString(c));
            const QString code =
                QStringLiteral("(?:%1|%2)").arg(int(c.unicode()), 0, 16).arg(int(c.toUpper().unicode()), 0, 16);
            QStringList forms = {plain, QStringLiteral("\\\\0{0,4}%1\\s?").arg(code)};
            if (!QStringLiteral("abcdef").contains(c)) // else a backslash begins a code
                forms << QStringLiteral("\\\\") + plain;
            pattern += QStringLiteral("(?:%1)").arg(forms.join(u'|'));
        }
        return QRegularExpression(pattern, QRegularExpression::CaseInsensitiveOption);
    }();
    QList<qsizetype> found;
    // Every form of its first character, "-", begins with one of these.
    if (!text.contains(u'-') && !text.contains(u'\\'))
        return found;
    // A copy: the view's overload is deprecated from Qt 6.8, its successor new in 6.5.
    for (auto it = property.globalMatch(text.toString()); it.hasNext();)
        found.append(it.next().capturedStart());
    return found;
}

// Text as the reader gives it to its style parser, with, for each of its
// characters, where it is spelled in the page and in how many: numeric
// character references decoded (an attribute's, and a <style> element's
// too), a comment or a tag inside a <style> left out.
struct Css
{
    QString text;
    QList<qsizetype> from;
    QList<qsizetype> spelled;
    void append(QChar c, qsizetype at, qsizetype length = 1)
    {
        text += c;
        from.append(at);
        spelled.append(length);
    }
};

// The characters of a numeric reference at `i`, written in one piece; 0 for none.
qsizetype reference(const Css &raw, qsizetype i, char32_t &code)
{
    const QStringView text = raw.text;
    if (i + 3 >= text.size() || text[i] != u'&' || text[i + 1] != u'#')
        return 0;
    const bool hex = text[i + 2] == u'x' || text[i + 2] == u'X';
    const qsizetype digits = i + (hex ? 3 : 2);
    qsizetype end = digits;
    while (end < text.size() && (hex ? isAsciiHexDigit(text[end]) : text[end] >= u'0' && text[end] <= u'9'))
        ++end;
    if (end == digits || end >= text.size() || text[end] != u';' || raw.from[end] - raw.from[i] != end - i)
        return 0;
    bool ok = false;
    const uint value = text.mid(digits, end - digits).toUInt(&ok, hex ? 16 : 10);
    if (!ok || value == 0 || value > 0x10FFFF)
        return 0;
    code = value;
    return end - i + 1;
}

Css decodedReferences(const Css &raw)
{
    Css css;
    for (qsizetype i = 0; i < raw.text.size(); ++i) {
        char32_t code = 0;
        if (const qsizetype length = reference(raw, i, code)) {
            for (QChar c : QString::fromUcs4(&code, 1))
                css.append(c, raw.from[i], length);
            i += length - 1;
        } else {
            css.append(raw.text[i], raw.from[i]);
        }
    }
    return css;
}

// Makes the property unknown wherever `raw` spells it: its first character,
// or the reference spelling it, is written as an "x".
void repairProperties(const Css &raw, Report &report)
{
    const Css css = decodedReferences(raw);
    for (qsizetype at : emptyingProperties(css.text))
        report.repairs.append({css.from[at], QStringLiteral("x"), css.spelled[at]});
}

// Whether an element's content, `rest` on from its start tag, is no more
// than one line break before its end tag: what a Qt editor writes for a
// blank line, marked with the property. The reader shows it as one empty
// line, as HTML shows it without the property, so it is left as written.
bool holdsOnlyALineBreak(QStringView rest, QStringView name)
{
    static const QRegularExpression blank(QStringLiteral("^\\s*(?:<br\\s*/?\\s*>\\s*)?</([a-z0-9]+)\\s*>"),
                                          QRegularExpression::CaseInsensitiveOption);
    const auto match = blank.match(rest.left(64).toString());
    return match.hasMatch() && match.capturedView(1).compare(name, Qt::CaseInsensitive) == 0;
}

Css plain(QStringView html, QStringView text)
{
    Css css;
    const qsizetype offset = text.isEmpty() ? 0 : text.data() - html.data();
    for (qsizetype i = 0; i < text.size(); ++i)
        css.append(text[i], offset + i);
    return css;
}

// The reader hides whatever lies in a head, a <link>, a title, a style or a
// script, and where HTML shows more it is mended, not lost:
// - a <link> in the body, empty in HTML, holds the rest of the page unless
//   its tag closes itself (in a head, the head's end closes it, and a closed
//   one there would hide the text after the head, as below);
// - a head holds all up to its end tag, where HTML ends it at the first
//   thing shown (text in a title, a style or a script is hidden in HTML
//   too);
// - text right after a head's end that follows an element closed in the
//   head goes where that element's hidden remains are, and is hidden too:
//   an empty element before it makes the reader start anew.
bool inHeadOutsideText(const OpenElements &open)
{
    return open.holds(QStringLiteral("head")) && !open.holds(QStringLiteral("title"))
        && !open.holds(QStringLiteral("style")) && !open.holds(QStringLiteral("script"));
}

struct HeadRepairs
{
    bool inHead = false;    // a head is open (looked at after each tag)
    bool justEnded = false; // no tag since a head ended

    void endHead(OpenElements &open, qsizetype at, Report &report)
    {
        report.repairs.append({at, QStringLiteral("</head>")});
        open.close(QStringLiteral("head"));
        inHead = false;
        justEnded = true;
    }
    // For each character shown: nothing to look up outside a head.
    void text(OpenElements &open, qsizetype at, Report &report)
    {
        if (inHead && inHeadOutsideText(open))
            endHead(open, at, report);
        if (justEnded)
            report.repairs.append({at, QStringLiteral("<span></span>")});
        justEnded = false;
    }
    void afterTag(const OpenElements &open) { inHead = open.holds(QStringLiteral("head")); }
    void tag(OpenElements &open, Reader::Tag &tag, qsizetype at, Report &report)
    {
        justEnded = tag.closing && tag.name == u"head" && open.holds(QStringLiteral("head"));
        if (tag.closing)
            return;
        if (inHeadOutsideText(open) && !belongsInHead(tag.name))
            endHead(open, at, report);
        justEnded = false;
        if (tag.name == u"link" && !tag.holdsNothing && tag.end >= 0 && !open.holds(QStringLiteral("head"))) {
            report.repairs.append({tag.end, QStringLiteral("/")});
            tag.holdsNothing = true;
        }
    }
};

QString firstProblem(QStringView html, const Limits &limits, Report &report)
{
    if (html.contains(QChar(u'\0')))
        return QStringLiteral("文書ではなくバイナリファイルです");

    OpenElements open;
    Reader reader(html, report);
    int tags = 0;
    qsizetype paragraph = 0;
    qint64 paragraphPictures = 0;
    qint64 pictureReach = 0;
    QSet<size_t> formats;
    bool newFormat = true; // no text seen since the last tag
    HeadRepairs head;
    // The <style> element being read: where its text begins (-1: none), and
    // that text as the reader takes it, for the property. Its text ends
    // where the reader closes it, not at the first "</style" (a comment can
    // hide that one); a <style> inside it adds nothing of its own.
    qsizetype styleStart = -1;
    Css css;
    const auto endStyle = [&](qsizetype end) {
        if (styleStart < 0)
            return;
        report.styles.append({styleStart, end - styleStart, sheetShape(css.text)});
        repairProperties(css, report);
        styleStart = -1;
        css = Css();
    };
    while (!reader.atEnd()) {
        const QChar c = reader.next();
        const bool lessThan = c == u'<' && !opensMarkup(reader.rest());
        if (c != u'<' || lessThan) {
            if (++paragraph > limits.paragraphChars)
                return QStringLiteral("段落が長すぎます");
            const qsizetype at = html.size() - reader.rest().size() - 1;
            // Each counts as the tag Qt would have read, which bounds the repairs.
            if (lessThan) {
                if (++tags > limits.tags)
                    return QStringLiteral("要素が多すぎます");
                report.repairs.append({at, QStringLiteral("&lt;"), 1});
            }
            if (styleStart >= 0)
                css.append(c, at);
            if (!isMarkupSpace(c))
                head.text(open, at, report);
            if (newFormat && !isMarkupSpace(c)) {
                newFormat = false;
                if (const QString cell = open.cellForText(); !cell.isEmpty()) {
                    report.repairs.append({at, cell});
                    if (cell.startsWith(u"<tr>"))
                        open.open(QStringLiteral("tr"), false);
                    open.open(QStringLiteral("td"), false);
                }
                formats.insert(open.format());
                if (formats.size() > limits.formats)
                    return QStringLiteral("書式が多すぎます");
            }
            continue;
        }
        newFormat = true;
        const qsizetype tagStart = html.size() - reader.rest().size() - 1;
        Reader::Tag tag = reader.tag();
        if (!tag.isTag)
            continue;
        if (++tags > limits.tags)
            return QStringLiteral("要素が多すぎます");
        if (startsParagraph(tag.name))
            paragraph = paragraphPictures = 0;
        if (!tag.closing && tag.name == u"img") {
            pictureReach += paragraph + DocumentLimits::pictureWeight * paragraphPictures++;
            if (pictureReach > limits.pictureReach)
                return QStringLiteral("画像が多すぎます");
        }
        head.tag(open, tag, tagStart, report);
        // The look ahead only for a tag that may hold the property.
        if (!tag.attributes.isEmpty() && (tag.closing || !holdsOnlyALineBreak(reader.rest(), tag.name)))
            repairProperties(plain(html, tag.attributes), report);
        if (tag.closing)
            open.close(tag.name);
        else
            open.open(tag.name, tag.holdsNothing, tag.attributes, tag.spans);
        head.afterTag(open);
        if (!open.holds(QStringLiteral("style")))
            endStyle(tagStart);
        if (!tag.closing) {
            const qint64 depth = open.depth() + (tag.holdsNothing ? 1 : 0);
            report.elementDepths += depth;
            report.ancestorDepths += depth * (depth + 1) / 2;
            if (tag.name == u"style" && !tag.holdsNothing && styleStart < 0)
                styleStart = html.size() - reader.rest().size();
        }
        if (reader.styleDeclarations() > limits.styleDeclarations)
            return QStringLiteral("書式が多すぎます");
        if (open.depth() > limits.depth)
            return QStringLiteral("入れ子が深すぎます");
        if (open.tables() > limits.tableDepth)
            return QStringLiteral("表の入れ子が深すぎます");
        report.tableCells = open.tableCells();
        if (report.tableCells > limits.tableCells)
            return QStringLiteral("表が大きすぎます");
    }
    endStyle(html.size());
    for (const char16_t *hiding : {u"title", u"style", u"script"})
        report.hidesTheRest = report.hidesTheRest || open.holds(QString::fromUtf16(hiding));
    return QString();
}

} // namespace

QString problem(QStringView html, const Limits &limits)
{
    return check(html, limits).problem;
}

Report check(QStringView html, const Limits &limits)
{
    Report report;
    report.problem = firstProblem(html, limits, report);
    return report;
}

// Measured on Qt 6.4: about 0.9 microseconds for a simple selector against
// one element's chain, 0.3 for a complex one climbing from one ancestor.
qint64 Report::matches(const SheetShape &shape) const
{
    return shape.simple * elementDepths + shape.complex * ancestorDepths / 3;
}

qint64 dropCostlyStyles(QString &html, const Report &report, qint64 budget)
{
    qint64 spent = 0;
    for (const Report::Style &style : report.styles) {
        const qint64 cost = report.matches(style.shape);
        if (spent + cost <= budget)
            spent += cost;
        else
            html.replace(style.start, style.length, QString(style.length, u' '));
    }
    return spent;
}

void repair(QString &html, const Report &report)
{
    if (report.repairs.isEmpty())
        return;
    // A tag's properties are found after what is written before the tag,
    // and before what is written at its end.
    QList<Report::Repair> repairs = report.repairs;
    // At one place, what is written before it comes before what replaces it.
    std::stable_sort(repairs.begin(), repairs.end(), [](const auto &a, const auto &b) {
        return a.at < b.at || (a.at == b.at && a.replaced < b.replaced);
    });
    // In one pass: an insertion each would move the rest of the page each time.
    QString mended;
    qsizetype from = 0;
    for (const Report::Repair &repair : repairs) {
        // Already replaced. No reading writes two repairs over one place, but
        // one that did would have the rest of the page written again.
        if (repair.at < from)
            continue;
        mended += QStringView(html).mid(from, repair.at - from);
        mended += repair.text;
        from = repair.at + repair.replaced;
    }
    mended += QStringView(html).mid(from);
    html = std::move(mended);
}

void keepParagraphsShown(QString &css)
{
    for (qsizetype at : emptyingProperties(css))
        css[at] = u'x';
}

} // namespace htmlguard
