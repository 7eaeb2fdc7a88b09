#include "platform/htmlguard.h"

#include <QList>
#include <QSet>

namespace htmlguard {

namespace {

struct Tag
{
    QString name;
    bool closing = false;
    bool selfClosing = false;
};

// Elements that never hold content, and those whose end tag may be left out
// (the engine closes them itself): neither deepens the nesting.
const QSet<QString> &flatElements()
{
    static const QSet<QString> set = {
        QStringLiteral("area"), QStringLiteral("base"), QStringLiteral("br"),
        QStringLiteral("col"), QStringLiteral("embed"), QStringLiteral("hr"),
        QStringLiteral("img"), QStringLiteral("input"), QStringLiteral("link"),
        QStringLiteral("meta"), QStringLiteral("param"), QStringLiteral("source"),
        QStringLiteral("track"), QStringLiteral("wbr"), QStringLiteral("p"),
        QStringLiteral("li"), QStringLiteral("dt"), QStringLiteral("dd"),
        QStringLiteral("tr"), QStringLiteral("td"), QStringLiteral("th"),
        QStringLiteral("thead"), QStringLiteral("tbody"), QStringLiteral("tfoot"),
        QStringLiteral("option"), QStringLiteral("colgroup"),
    };
    return set;
}

// Elements that start a new paragraph of the laid-out text.
const QSet<QString> &blockElements()
{
    static const QSet<QString> set = {
        QStringLiteral("p"), QStringLiteral("div"), QStringLiteral("li"),
        QStringLiteral("tr"), QStringLiteral("td"), QStringLiteral("th"),
        QStringLiteral("h1"), QStringLiteral("h2"), QStringLiteral("h3"),
        QStringLiteral("h4"), QStringLiteral("h5"), QStringLiteral("h6"),
        QStringLiteral("table"), QStringLiteral("ul"), QStringLiteral("ol"),
        QStringLiteral("dl"), QStringLiteral("dt"), QStringLiteral("dd"),
        QStringLiteral("pre"), QStringLiteral("blockquote"), QStringLiteral("hr"),
        QStringLiteral("center"), QStringLiteral("body"),
    };
    return set;
}

bool startsTag(QStringView html, qsizetype at)
{
    if (html[at] != u'<' || at + 1 >= html.size())
        return false;
    const QChar next = html[at + 1];
    return next.isLetter() || next == u'/' || next == u'!' || next == u'?';
}

Tag parseTag(QStringView inside)
{
    Tag tag;
    tag.closing = inside.startsWith(u'/');
    tag.selfClosing = inside.endsWith(u'/');
    qsizetype i = tag.closing ? 1 : 0;
    const qsizetype start = i;
    while (i < inside.size() && inside[i].isLetterOrNumber())
        ++i;
    tag.name = inside.mid(start, i - start).toString().toLower();
    return tag;
}

// The elements open at the current point, with a count of open tables.
class OpenElements
{
public:
    void open(const QString &name)
    {
        m_names.append(name);
        if (name == u"table")
            ++m_tables;
    }
    void close(const QString &name)
    {
        const qsizetype at = m_names.lastIndexOf(name);
        if (at < 0)
            return; // a stray end tag closes nothing
        while (m_names.size() > at) {
            if (m_names.takeLast() == u"table")
                --m_tables;
        }
    }
    qsizetype depth() const { return m_names.size(); }
    int tables() const { return m_tables; }

private:
    QList<QString> m_names;
    int m_tables = 0;
};

} // namespace

QString problem(QStringView html, const Limits &limits)
{
    if (html.contains(QChar(u'\0')))
        return QStringLiteral("文書ではなくバイナリファイルです");

    OpenElements open;
    int tags = 0;
    qsizetype paragraph = 0;
    qsizetype i = 0;
    while (i < html.size()) {
        if (!startsTag(html, i)) {
            if (++paragraph > limits.paragraphChars)
                return QStringLiteral("段落が長すぎます");
            ++i;
            continue;
        }
        if (html.mid(i).startsWith(u"<!--")) {
            const qsizetype end = html.indexOf(u"-->", i + 4);
            i = end < 0 ? html.size() : end + 3;
            continue;
        }
        const qsizetype end = html.indexOf(u'>', i);
        if (end < 0)
            break;
        const Tag tag = parseTag(html.mid(i + 1, end - i - 1));
        i = end + 1;
        if (++tags > limits.tags)
            return QStringLiteral("要素が多すぎます");
        if (blockElements().contains(tag.name))
            paragraph = 0;
        if (tag.closing)
            open.close(tag.name);
        else if (!tag.selfClosing && !tag.name.isEmpty() && !flatElements().contains(tag.name))
            open.open(tag.name);
        if (open.depth() > limits.depth)
            return QStringLiteral("入れ子が深すぎます");
        if (open.tables() > limits.tableDepth)
            return QStringLiteral("表の入れ子が深すぎます");
    }
    return QString();
}

} // namespace htmlguard
