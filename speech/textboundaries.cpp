#include "speech/textboundaries.h"

#include "speech/codepoints.h"

#include <QTextBoundaryFinder>

#include <algorithm>

namespace {

enum class Kind { Break, Space, Kanji, Hiragana, Katakana, Alphanumeric, Other };

Kind kindOf(char32_t c)
{
    if (c == U'\n')
        return Kind::Break;
    if (QChar::isSpace(c))
        return Kind::Space;
    switch (QChar::script(c)) {
    case QChar::Script_Han: return Kind::Kanji;
    case QChar::Script_Hiragana: return Kind::Hiragana;
    case QChar::Script_Katakana: return Kind::Katakana;
    default: break;
    }
    if (QChar::isLetter(c) || QChar::category(c) == QChar::Number_DecimalDigit)
        return Kind::Alphanumeric;
    return Kind::Other;
}

// Marks, variation selectors and joiners belong to what they follow.
bool extendsPrevious(char32_t c)
{
    return QChar::isMark(c) || c == U'\u200D';
}

// The long vowel and voicing marks, written in kana of either kind.
bool isKanaSign(char32_t c)
{
    return c == U'ー' || c == U'ｰ' || c == U'゛' || c == U'゜' || c == U'ﾞ' || c == U'ﾟ';
}

bool isKana(Kind kind)
{
    return kind == Kind::Hiragana || kind == Kind::Katakana;
}

// Joins the letters or digits on either side: 2.5, 1,000, don't.
bool isInsideNumberOrWord(char32_t c)
{
    return c == U'.' || c == U',' || c == U'\'' || c == U'’' || c == U'．' || c == U'，';
}

// A particle written after a word is a word of its own, as a reader stops
// at it: 解答|の|しかた, 問題|に|もどる. です, でし(た) and でき(る) are not
// particles.
bool startsWithParticle(const QString &text, int i, Kind previous)
{
    static const QString particles = QStringLiteral("をがにへのとではも");
    static const QStringList notParticles = {QStringLiteral("です"), QStringLiteral("でし"), QStringLiteral("でき")};
    if (previous != Kind::Kanji && previous != Kind::Katakana && previous != Kind::Alphanumeric)
        return false;
    if (i + 1 >= text.size() || !particles.contains(text.at(i)) || kindOf(text.at(i + 1).unicode()) != Kind::Hiragana)
        return false;
    const QStringView two = QStringView(text).mid(i, 2);
    return std::none_of(notParticles.begin(), notParticles.end(), [two](const QString &word) { return two == word; });
}

bool isRun(Kind kind)
{
    return kind != Kind::Break && kind != Kind::Other;
}

// Characters as the caret steps over them: a letter with its marks, a
// pair of surrogates, an emoji sequence or a flag is one.
QList<int> characterStarts(const QString &text, const QList<TextBoundaries::Range> &wholes)
{
    QList<int> starts;
    auto whole = wholes.begin();
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    for (qsizetype at = finder.position(); at >= 0 && at < text.size(); at = finder.toNextBoundary()) {
        while (whole != wholes.end() && whole->end <= at)
            ++whole;
        if (whole != wholes.end() && whole->start < at)
            continue;
        starts.append(int(at));
    }
    return starts;
}

QList<int> wordStarts(const QString &text)
{
    QList<int> starts;
    Kind previous = Kind::Break;
    for (int i = 0; i < text.size();) {
        const codepoints::CodePoint c = codepoints::at(text, i);
        Kind kind = kindOf(c.value);
        bool joins = false;
        if (i > 0 && previous != Kind::Break && extendsPrevious(c.value)) {
            joins = true;
            kind = previous;
        } else if (isKanaSign(c.value)) {
            kind = isKana(previous) ? previous : Kind::Katakana;
            joins = i > 0 && kind == previous;
        } else if (i > 0 && kind == previous && isRun(kind)) {
            joins = true;
        } else if (previous == Kind::Alphanumeric && isInsideNumberOrWord(c.value) && i + c.size < text.size()
                   && kindOf(codepoints::at(text, i + c.size).value) == Kind::Alphanumeric) {
            joins = true;
            kind = Kind::Alphanumeric;
        }
        if (!joins) {
            starts.append(i);
            if (kind == Kind::Hiragana && startsWithParticle(text, i, previous))
                starts.append(i + 1);
        }
        previous = kind;
        i += c.size;
    }
    return starts;
}

// A stretch read in words is one word, as the caret stops at it once: no
// word starts inside it, one starts at it and after it.
QList<int> keepWhole(QList<int> starts, const QList<TextBoundaries::Range> &wholes, int size)
{
    for (const TextBoundaries::Range &whole : wholes) {
        starts.append(whole.start);
        if (whole.end < size)
            starts.append(whole.end);
    }
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
    QList<int> kept;
    auto whole = wholes.begin();
    for (int start : std::as_const(starts)) {
        while (whole != wholes.end() && whole->end <= start)
            ++whole;
        if (whole == wholes.end() || whole->start >= start)
            kept.append(start);
    }
    return kept;
}

bool isClosing(QChar c)
{
    static const QString closers = QStringLiteral("」』）)］]】〕〉》”’\"'");
    return closers.contains(c);
}

// Whether the stop at `i` ends a sentence: a point between digits does not.
bool endsSentence(const QString &text, int i)
{
    static const QString stops = QStringLiteral("。！？!?");
    const QChar c = text.at(i);
    if (stops.contains(c))
        return true;
    if (c != u'.' && c != u'．')
        return false;
    return i + 1 == text.size() || kindOf(text.at(i + 1).unicode()) != Kind::Alphanumeric;
}

QList<int> sentenceStarts(const QString &text)
{
    static const QString stops = QStringLiteral("。．！？.!?");
    QList<int> starts;
    const int size = text.size();
    for (int i = 0; i < size;) {
        starts.append(i);
        while (i < size && text.at(i) != u'\n' && !endsSentence(text, i))
            ++i;
        if (i < size && text.at(i) != u'\n') {
            while (i < size && (stops.contains(text.at(i)) || isClosing(text.at(i))))
                ++i;
            while (i < size && text.at(i) != u'\n' && text.at(i).isSpace())
                ++i;
        }
        if (i < size && text.at(i) == u'\n')
            ++i;
    }
    return starts;
}

QList<int> paragraphStarts(const QString &text)
{
    QList<int> starts;
    for (int i = 0; i < text.size();) {
        starts.append(i);
        const int lineBreak = text.indexOf(u'\n', i);
        i = lineBreak < 0 ? text.size() : lineBreak + 1;
    }
    return starts;
}

} // namespace

TextBoundaries::TextBoundaries(const QString &text, const QList<Range> &characters)
    : m_size(text.size()), m_endsWithBreak(text.endsWith(u'\n'))
{
    m_starts[int(Unit::Character)] = characterStarts(text, characters);
    m_starts[int(Unit::Word)] = keepWhole(wordStarts(text), characters, m_size);
    m_starts[int(Unit::Sentence)] = sentenceStarts(text);
    m_starts[int(Unit::Paragraph)] = paragraphStarts(text);
    for (QList<int> &starts : m_starts)
        starts.append(m_size);
}

TextBoundaries::Range TextBoundaries::at(int offset, Unit unit) const
{
    const QList<int> &starts = m_starts[int(unit)];
    if (m_size == 0)
        return {0, 0};
    if (offset >= m_size) {
        if (unit == Unit::Character || m_endsWithBreak)
            return {m_size, m_size};
        return {starts.at(starts.size() - 2), m_size};
    }
    const auto next = std::upper_bound(starts.begin(), starts.end(), std::max(offset, 0));
    return {*(next - 1), *next};
}
