#include "reading/spokentext.h"

#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

namespace {

struct Replacement
{
    int position;
    int length;
    QString words;
};

struct Unit
{
    const char *symbol;
    const char *name;
    bool length;
};

constexpr Unit units[] = {
    {"m", "メートル", true},       {"cm", "センチメートル", true}, {"mm", "ミリメートル", true},
    {"km", "キロメートル", true},  {"s", "秒", false},             {"kg", "キログラム", false},
    {"g", "グラム", false},        {"N", "ニュートン", false},     {"J", "ジュール", false},
    {"W", "ワット", false},        {"Pa", "パスカル", false},      {"V", "ボルト", false},
    {"A", "アンペア", false},      {"C", "クーロン", false},       {"K", "ケルビン", false},
    {"Hz", "ヘルツ", false},       {"T", "テスラ", false},         {"mol", "モル", false},
    {"F", "ファラド", false},      {"H", "ヘンリー", false},       {"Ω", "オーム", false},
    {"L", "リットル", false},
};

const Unit *unitOf(const QString &symbol)
{
    for (const Unit &unit : units) {
        if (symbol == QString::fromUtf8(unit.symbol))
            return &unit;
    }
    return nullptr;
}

QString minus()
{
    return QStringLiteral("マイナス");
}

// One unit raised to `exponent`, read on its own or after 「毎」.
QString unitPower(const Unit &unit, int exponent, bool per)
{
    if (exponent < 0)
        return unitPower(unit, -exponent, !per);
    const QString name = QString::fromUtf8(unit.name);
    QString words;
    if (exponent == 1)
        words = name;
    else if (unit.length && exponent == 2)
        words = QStringLiteral("平方") + name;
    else if (unit.length && exponent == 3)
        words = QStringLiteral("立方") + name;
    else if (per && exponent == 2)
        words = name + QStringLiteral("毎") + name; // 毎秒毎秒
    else
        words = QStringLiteral("%1の%2乗").arg(name).arg(exponent);
    return per ? QStringLiteral("毎") + words : words;
}

// Line and paragraph ends, frame edges and pictures as a reader gets them.
QChar plain(QChar c)
{
    switch (c.unicode()) {
    case QChar::ParagraphSeparator:
    case QChar::LineSeparator:
    case 0xfdd0: // a table or frame begins
    case 0xfdd1: // and ends
        return QLatin1Char('\n');
    case QChar::Nbsp:
        return QLatin1Char(' ');
    default:
        return c;
    }
}

bool isSign(QChar c)
{
    return QStringLiteral("-−‐–－").contains(c);
}

// A raised "3", "-34", "−2" or "n": the exponent in words, without the base.
QString exponentInWords(const QString &raised, int *value)
{
    static const QRegularExpression shape(QStringLiteral("^\\s*([-−‐–－+]?)\\s*(\\d+|[A-Za-z])\\s*$"));
    const QRegularExpressionMatch match = shape.match(raised);
    if (!match.hasMatch())
        return QString();
    const bool negative = !match.captured(1).isEmpty() && isSign(match.captured(1).front());
    bool number = false;
    const int magnitude = match.captured(2).toInt(&number);
    *value = number ? (negative ? -magnitude : magnitude) : 0;
    return QStringLiteral("の%1%2乗").arg(negative ? minus() : QString(), match.captured(2));
}

bool isUnitCharacter(QChar c)
{
    return (c.unicode() < 0x80 && c.isLetter()) || c == QLatin1Char('/') || c == QChar(0x03a9)
           || c == QChar(0x2126);
}

} // namespace

QString SpokenText::unitInWords(const QString &unit, int exponent)
{
    const QStringList parts = unit.split(QLatin1Char('/'));
    if (parts.size() > 2 || exponent == 0)
        return QString();
    QString words;
    for (int i = 0; i < parts.size(); ++i) {
        const Unit *known = unitOf(QString(parts.at(i)).replace(QChar(0x2126), QChar(0x03a9)));
        if (!known)
            return QString();
        const bool last = i == parts.size() - 1;
        words += unitPower(*known, last ? exponent : 1, i > 0);
    }
    return words;
}

SpokenText::SpokenText(const QTextDocument &document)
{
    m_documentLength = std::max(0, document.characterCount() - 1);
    QString shown(m_documentLength, QLatin1Char('\n'));
    QList<bool> raised(m_documentLength, false);
    QList<Replacement> replacements;

    QString openLink;
    for (QTextBlock block = document.firstBlock(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            const QString characters = fragment.text();
            const int start = fragment.position();
            const int end = std::min(start + int(characters.size()), m_documentLength);
            for (int p = start; p < end; ++p) {
                shown[p] = plain(characters.at(p - start));
                raised[p] = format.verticalAlignment() == QTextCharFormat::AlignSuperScript;
            }
            const QString link = format.isAnchor() ? format.anchorHref() : QString();
            if (!link.isEmpty() && link != openLink && start < m_documentLength)
                replacements.append({start, 0, QStringLiteral("リンク ")});
            openLink = link;
        }
        openLink.clear();
    }

    for (int p = 0; p < m_documentLength; ++p) {
        const QChar c = shown.at(p);
        if (raised.at(p)) {
            int end = p;
            while (end < m_documentLength && raised.at(end))
                ++end;
            int exponent = 0;
            const QString words = exponentInWords(shown.mid(p, end - p), &exponent);
            if (!words.isEmpty()) {
                int unitStart = p;
                while (unitStart > 0 && !raised.at(unitStart - 1)
                       && isUnitCharacter(shown.at(unitStart - 1)))
                    --unitStart;
                const bool afterWord = unitStart > 0 && shown.at(unitStart - 1).isLetterOrNumber();
                const QString unit = afterWord ? QString()
                                               : unitInWords(shown.mid(unitStart, p - unitStart), exponent);
                if (!unit.isEmpty())
                    replacements.append({unitStart, end - unitStart, unit});
                else
                    replacements.append({p, end - p, words});
            }
            p = end - 1;
        } else if (c == QChar(0x00d7)) {
            replacements.append({p, 1, QStringLiteral("かける")});
        } else if (c == QChar(0x2212)) {
            replacements.append({p, 1, minus()});
        } else if (c == QChar::ObjectReplacementCharacter) {
            replacements.append({p, 1, QStringLiteral("（画像）")});
        }
    }

    // A unit read in words starts before its exponent, and so after any
    // replacement already listed inside it; insertions come first at a place.
    std::stable_sort(replacements.begin(), replacements.end(),
                     [](const Replacement &a, const Replacement &b) {
                         return a.position != b.position ? a.position < b.position
                                                         : a.length < b.length;
                     });
    int done = 0;
    for (const Replacement &r : std::as_const(replacements)) {
        if (r.position < done)
            continue;
        verbatim(done, shown.mid(done, r.position - done));
        inWords(r.position, r.length, r.words);
        done = r.position + r.length;
    }
    verbatim(done, shown.mid(done));
}

void SpokenText::verbatim(int position, const QString &characters)
{
    if (characters.isEmpty())
        return;
    if (!m_runs.isEmpty() && m_runs.last().verbatim
        && m_runs.last().position + m_runs.last().length == position) {
        m_runs.last().length += characters.size();
        m_runs.last().spokenLength += characters.size();
    } else {
        m_runs.append({position, int(characters.size()), int(m_text.size()),
                       int(characters.size()), true});
    }
    m_text += characters;
}

void SpokenText::inWords(int position, int length, const QString &words)
{
    m_runs.append({position, length, int(m_text.size()), int(words.size()), false});
    m_text += words;
}

int SpokenText::toSpoken(int position) const
{
    position = std::clamp(position, 0, m_documentLength);
    // The first run that ends after the position, or words inserted there.
    auto run = std::partition_point(m_runs.begin(), m_runs.end(), [position](const Run &r) {
        return !(r.position + r.length > position || (r.length == 0 && r.position == position));
    });
    if (run == m_runs.end())
        return int(m_text.size());
    if (run->verbatim)
        return run->offset + (position - run->position);
    return run->offset;
}

int SpokenText::toDocument(int offset) const
{
    offset = std::clamp(offset, 0, int(m_text.size()));
    auto run = std::upper_bound(m_runs.begin(), m_runs.end(), offset,
                                [](int o, const Run &r) { return o < r.offset; });
    if (run == m_runs.begin())
        return 0;
    --run;
    if (offset >= run->offset + run->spokenLength)
        return std::min(run->position + run->length, m_documentLength);
    if (run->verbatim)
        return run->position + (offset - run->offset);
    return run->position;
}
