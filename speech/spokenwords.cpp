#include "speech/spokenwords.h"

#include "markup/limits.h"
#include "speech/codepoints.h"
#include "speech/spokentables.h"

#include <QRegularExpression>
#include <QTextBoundaryFinder>

#include <algorithm>

namespace {

using spokentables::Quantity;
using spokentables::Sign;
using spokentables::Unit;

QString minus()
{
    return QStringLiteral("マイナス");
}

// The longest sign of the table at `i` in words, and its `length`; empty
// when none is there.
QString signWords(QStringView text, int i, int *length)
{
    const QStringView rest = text.sliced(i);
    QString words;
    *length = 0;
    for (const Sign &sign : spokentables::signs()) {
        const QStringView symbol(sign.sign);
        if (symbol.size() > *length && rest.startsWith(symbol)) {
            words = QString::fromUtf8(sign.words);
            *length = int(symbol.size());
        }
    }
    // ½ is 1⁄2 to Unicode: read as 1/2 is, 「2ぶんの1」.
    if (*length == 0 && !rest.isEmpty() && rest.front().decompositionTag() == QChar::Fraction) {
        const QStringList parts = rest.front().decomposition().split(u'\u2044');
        if (parts.size() == 2) {
            words = parts.at(1) + QStringLiteral("ぶんの") + parts.at(0);
            *length = 1;
        }
    }
    return words;
}

bool isAsciiLetter(QChar c)
{
    return c.unicode() < 0x80 && c.isLetter();
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Letters and digits of a word: a minus never follows one.
bool isWordCharacter(QChar c)
{
    return c.isLetter() || c.isDigit();
}

// Spaces that may stand inside a quantity, between a number and its unit:
// the ASCII one, the no-break one, thin ones.
bool isSpaceInQuantity(QChar c)
{
    return c == u' ' || c == QChar::Nbsp || c == u'\u2009' || c == u'\u202f';
}

// Spaces that stand between words, the ideographic one too.
bool isSpaceBetweenWords(QChar c)
{
    return isSpaceInQuantity(c) || c == u'\u3000';
}

// ① to ⑳ as their numbers; 0 for any other character.
int circledNumber(QChar c)
{
    return c >= u'\u2460' && c <= u'\u2473' ? c.unicode() - 0x2460 + 1 : 0;
}

// μ and Ω have two code points each; the table holds the Greek letters.
QChar folded(QChar c)
{
    if (c == u'\u00b5')
        return u'\u03bc';
    if (c == u'\u2126')
        return u'\u03a9';
    return c;
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

// A raised "3", "-34", "−2" or "n": the exponent in words, without the base.
QString exponentInWords(const QString &raised, int *value, bool *number)
{
    static const QRegularExpression shape(QStringLiteral("^\\s*([-−‐–－+]?)\\s*(\\d+|[A-Za-z])\\s*$"));
    const QRegularExpressionMatch match = shape.match(raised);
    if (!match.hasMatch())
        return QString();
    const bool negative = !match.captured(1).isEmpty() && match.captured(1) != QStringLiteral("+");
    const int magnitude = match.captured(2).toInt(number);
    *value = *number ? (negative ? -magnitude : magnitude) : 0;
    return QStringLiteral("の%1%2乗").arg(negative ? minus() : QString(), match.captured(2));
}

class Scanner
{
public:
    Scanner(const QString &text, const QList<bool> &raised) : m_text(text), m_raised(raised) {}

    QList<spokenwords::Replacement> run()
    {
        for (int i = 0; i < m_text.size();) {
            noteStatement(i);
            if (const int date = dateEnd(i); date > i) {
                i = date;
                continue;
            }
            spokenwords::Replacement r{i, 0, QString()};
            if (unitAt(i, &r) || exponentAt(i, &r) || fractionAt(i, &r) || choiceAt(i, &r) || signAt(i, &r)) {
                // Longer than any quantity, it is read as written: a reader
                // asks its words and boxes whole.
                if (r.length <= DocumentLimits::spokenStretchChars)
                    m_found.append(r);
                i = r.position + r.length;
            } else {
                // Raised text that is no exponent is read as it is, whole:
                // each step stays linear in the text however long it is.
                i = isRaised(i) ? raisedEnd(i) : i + 1;
            }
        }
        return m_found;
    }

private:
    QChar at(int i) const { return i >= 0 && i < m_text.size() ? m_text.at(i) : QChar(); }
    bool isRaised(int i) const { return i >= 0 && i < m_raised.size() && m_raised.at(i); }

    int raisedEnd(int i) const
    {
        while (isRaised(i))
            ++i;
        return i;
    }

    // Whether a unit may start at `i`: after a number (its exponent
    // included), 「何」 as in 約何 N/m, or a unit just read, with or without
    // spaces between.
    bool afterQuantity(int i, bool *spaced) const
    {
        int j = i - 1;
        while (j >= 0 && isSpaceInQuantity(at(j)) && !isRaised(j))
            --j;
        *spaced = j < i - 1;
        if (j < 0)
            return false;
        if (j + 1 == m_lastUnitEnd)
            return *spaced;
        if (isRaised(j)) {
            while (isRaised(j))
                --j;
        }
        return j >= 0 && (at(j).isDigit() || at(j) == u'何');
    }

    // The paper's unit brackets: 〔 right before `i`.
    bool inBrackets(int i) const { return at(i - 1) == u'〔'; }

    // The longest unit symbol at `i` that no ASCII letter follows.
    const Unit *symbolAt(int i, int *end) const
    {
        static const QStringList symbols = [] {
            QStringList list;
            for (const Unit &unit : spokentables::units())
                list.append(QString::fromUtf8(unit.symbol));
            return list;
        }();
        const Unit *best = nullptr;
        int bestSize = 0;
        const std::span<const Unit> units = spokentables::units();
        for (const Unit &unit : units) {
            const QString &symbol = symbols.at(&unit - units.data());
            if (symbol.size() <= bestSize || i + symbol.size() > m_text.size())
                continue;
            bool same = true;
            for (int k = 0; k < symbol.size() && same; ++k)
                same = folded(m_text.at(i + k)) == symbol.at(k);
            if (same && !isAsciiLetter(at(i + symbol.size()))) {
                best = &unit;
                bestSize = int(symbol.size());
            }
        }
        *end = i + bestSize;
        return best;
    }

    // A symbol with its exponent (raised, or ² ³), read with 毎 when `per`.
    bool factorAt(int *i, bool per, bool brackets, QString *words) const
    {
        int end = *i;
        const Unit *unit = symbolAt(*i, &end);
        if (!unit) {
            // A counted thing in the brackets: 〔回/分〕.
            while (
                brackets && end < m_text.size() && !isRaised(end)
                && (m_text.at(end).script() == QChar::Script_Han || m_text.at(end).script() == QChar::Script_Hiragana))
                ++end;
            if (end == *i)
                return false;
            *words += (per ? QStringLiteral("毎") : QString()) + m_text.mid(*i, end - *i);
            *i = end;
            return true;
        }
        int exponent = 1;
        if (at(end) == u'²' || at(end) == u'³') {
            exponent = at(end) == u'²' ? 2 : 3;
            ++end;
        } else if (isRaised(end)) {
            bool number = false;
            int value = 0;
            const int raised = raisedEnd(end);
            if (!exponentInWords(m_text.mid(end, raised - end), &value, &number).isEmpty() && number && value != 0) {
                exponent = value;
                end = raised;
            }
        }
        *words += unitPower(*unit, exponent, per);
        *i = end;
        return true;
    }

    bool isProduct(QChar c) const { return c == u'・' || c == u'·' || c == u'⋅'; }

    // Symbols joined by products, and by "/" where `divide`: J・s, m/s², g・K.
    // Every factor after a "/" is read with 毎, and every one when `per`.
    // A unit has a few factors: a longer chain is none, given up within its
    // first few, as each symbol along it is tried again as a unit's start.
    bool termsAt(int *i, bool per, bool brackets, bool divide, QString *words) const
    {
        constexpr int maxFactors = 8;
        int end = *i;
        if (!factorAt(&end, per, brackets, words))
            return false;
        for (int factors = 1;; ++factors) {
            int next = end;
            if (isProduct(at(next)) && factorAt(&++next, per, brackets, words)) {
                end = next;
            } else if (divide && at(next) == u'/' && at(next + 1) != u'(' && factorAt(&++next, true, brackets, words)) {
                end = next;
                per = true;
            } else {
                break;
            }
            if (factors == maxFactors)
                return false;
        }
        *i = end;
        return true;
    }

    // A denominator in brackets, from just inside "(" past ")": a product is
    // each factor per (J/(g・K) 「ジュール毎グラム毎ケルビン」), a quotient per as
    // a whole, its brackets kept (N/(m²/s²) 「ニュートン毎（平方メートル毎秒毎秒）」).
    bool denominatorAt(int *i, bool brackets, QString *words) const
    {
        int end = *i;
        QString product;
        if (termsAt(&end, true, brackets, false, &product) && at(end) == u')') {
            *words += product;
            *i = end + 1;
            return true;
        }
        end = *i;
        QString quotient;
        if (!termsAt(&end, false, brackets, true, &quotient) || at(end) != u')')
            return false;
        *words += QStringLiteral("毎（") + quotient + u'）';
        *i = end + 1;
        return true;
    }

    int pastSpaces(int i) const
    {
        while (isSpaceInQuantity(at(i)))
            ++i;
        return i;
    }

    // The last character before `i` that is not a space.
    int beforeSpaces(int i) const
    {
        int j = i - 1;
        while (isSpaceInQuantity(at(j)))
            --j;
        return j;
    }

    // Whether a number, or a unit read after one, ends right before `i`,
    // spaces passed over.
    bool quantityBefore(int i) const
    {
        const int j = beforeSpaces(i);
        return j >= 0 && (j + 1 == m_lastUnitEnd || at(j).isDigit());
    }

    // 「J の単位」, 「kg に直して」, 「mm を m に直さず」, 「0.60 を mm の値と」:
    // a symbol named as a unit, with no number right before it. A value is
    // read in a unit after a number; 「x を m の値と」 gives a variable one.
    bool namedAsUnit(int i, int end) const
    {
        end = pastSpaces(end);
        const QStringView rest = QStringView(m_text).mid(end, 3);
        if (rest == u"の単位" || rest.startsWith(u"に直"))
            return true;
        if (rest.startsWith(u"の値")) {
            const int particle = beforeSpaces(i);
            return at(particle) == u'を' && quantityBefore(particle);
        }
        if (at(end) != u'を')
            return false;
        int unitEnd = 0;
        return symbolAt(pastSpaces(end + 1), &unitEnd) && QStringView(m_text).mid(pastSpaces(unitEnd), 2) == u"に直";
    }

    // A unit filling brackets after the quantity it measures, 重さ（N）, or
    // after a single variable, x（m）. A lone capital there may be a point's
    // name (A（C）), and a variable's round brackets an argument (f(s)).
    bool headedUnit(int i, int end, const QString &words) const
    {
        const QChar open = at(i - 1);
        const QChar close = open == u'（' ? u'）' : open == u'(' ? u')' : QChar();
        if (close.isNull() || at(end) != close)
            return false;
        const QStringView before = QStringView(m_text).first(i - 1);
        const Quantity *measured = nullptr;
        for (const Quantity &quantity : spokentables::quantities()) {
            const QStringView word(quantity.word);
            if (before.endsWith(word) && (!measured || word.size() > QStringView(measured->word).size()))
                measured = &quantity;
        }
        if (measured)
            return QString::fromUtf8(measured->units).split(u' ').contains(words);
        const QChar variable = at(i - 2);
        const bool single = variable.isLetter() && variable.script() != QChar::Script_Han
            && variable.script() != QChar::Script_Hiragana && variable.script() != QChar::Script_Katakana
            && !isWordCharacter(at(i - 3));
        const bool capital = end - i == 1 && at(i).isUpper();
        return single && open == u'（' && !capital;
    }

    // 「（単位は V/mA = kΩ）」: the symbols after 「単位は」 up to the end of
    // its clause are units.
    void noteStatement(int i)
    {
        if (QStringView(m_text).mid(i, 3) != u"単位は")
            return;
        m_statedFrom = i + 3;
        m_statedTo = m_statedFrom;
        // A clause is short: the search stays linear in the text.
        constexpr int maxClauseChars = 64;
        static const QString ends = QStringLiteral("（()）〔〕、，,。\n");
        while (m_statedTo < m_text.size() && m_statedTo < m_statedFrom + maxClauseChars
               && !ends.contains(at(m_statedTo)))
            ++m_statedTo;
    }

    bool stated(int i) const
    {
        return i >= m_statedFrom && i < m_statedTo && (i == m_statedFrom || !isWordCharacter(at(i - 1)));
    }

    // A unit such as m/s², J・s or J/(g・K) where one may stand.
    bool unitAt(int i, spokenwords::Replacement *r)
    {
        if (isRaised(i) || isSpaceInQuantity(at(i)))
            return false;
        bool spaced = false;
        const bool brackets = inBrackets(i);
        const bool quantity = !brackets && afterQuantity(i, &spaced);
        const bool statement = !brackets && !quantity && stated(i);
        const bool named = !brackets && !quantity && !statement && !isWordCharacter(at(i - 1));
        if (!brackets && !quantity && !statement && !named)
            return false;
        QString words;
        int end = i;
        if (!termsAt(&end, false, brackets, true, &words))
            return false;
        if (at(end) == u'/' && at(end + 1) == u'(') {
            end += 2;
            if (!denominatorAt(&end, brackets, &words))
                return false;
        }
        const QChar after = at(end);
        // 2A-問1 is a question's name, 3T a product, 5 mx no unit.
        if (isAsciiLetter(after) || isAsciiDigit(after) || after == u'-' || (brackets && after != u'〕'))
            return false;
        if (named && !namedAsUnit(i, end) && !headedUnit(i, end, words))
            return false;
        if (quantity && !spaced && end - i == 1 && isAsciiLetter(at(i)))
            return false;
        if (words == m_text.mid(i, end - i)) // 〔回〕
            return false;
        *r = {i, end - i, words};
        m_lastUnitEnd = end;
        return true;
    }

    bool exponentAt(int i, spokenwords::Replacement *r) const
    {
        if (!isRaised(i))
            return false;
        const int end = raisedEnd(i);
        int value = 0;
        bool number = false;
        const QString words = exponentInWords(m_text.mid(i, end - i), &value, &number);
        *r = {i, end - i, words};
        return !words.isEmpty();
    }

    // Where a date such as 2000/06/26 that starts at `i` ends; `i` when none
    // does. A date is read as written: its slashes divide nothing.
    int dateEnd(int i) const
    {
        const QChar before = at(i - 1);
        if (isAsciiLetter(before) || isAsciiDigit(before) || before == u'.' || before == u'/')
            return i;
        int end = i;
        for (int part = 0; part < 3; ++part) {
            if (part > 0 && at(end++) != u'/')
                return i;
            const int digits = end;
            while (isAsciiDigit(at(end)))
                ++end;
            if (end == digits)
                return i;
        }
        const QChar after = at(end);
        return isAsciiLetter(after) || isAsciiDigit(after) || after == u'/' ? i : end;
    }

    // A number or a single letter, with a root before it in a denominator.
    int termEnd(int i, bool denominator) const
    {
        if (denominator && at(i) == u'√')
            ++i;
        if (isAsciiLetter(at(i)))
            return isAsciiLetter(at(i + 1)) ? -1 : i + 1;
        int end = i;
        while (isAsciiDigit(at(end)) || (at(end) == u'.' && end > i && isAsciiDigit(at(end + 1))))
            ++end;
        return end > i ? end : -1;
    }

    QString termWords(int from, int to) const
    {
        const QString term = m_text.mid(from, to - from);
        int root = 0;
        const QString words = term.startsWith(u'√') ? signWords(term, 0, &root) : QString();
        return words + term.mid(root);
    }

    // 1/16 and T/N as 「16ぶんの1」 and 「NぶんのT」.
    bool fractionAt(int i, spokenwords::Replacement *r) const
    {
        const QChar before = at(i - 1);
        if (isAsciiLetter(before) || isAsciiDigit(before) || before == u'.' || before == u'/')
            return false;
        const int over = termEnd(i, false);
        if (over < 0 || at(over) != u'/')
            return false;
        const int end = termEnd(over + 1, true);
        if (end < 0)
            return false;
        const QChar after = at(end);
        if (isAsciiLetter(after) || isAsciiDigit(after) || after == u'/' || after == u'(' || isRaised(end))
            return false;
        *r = {i, end - i, termWords(over + 1, end) + QStringLiteral("ぶんの") + termWords(i, over)};
        return true;
    }

    // An ASCII "-" before a number, a letter or a bracket after no word
    // (「① -4.0」, 「(-2」), or between spaces.
    bool minusAt(int i) const
    {
        if (at(i) != u'-' || isWordCharacter(at(i - 1)))
            return false;
        const QChar next = at(i + 1);
        return isAsciiDigit(next) || isAsciiLetter(next) || next == u'(' || next == u'.' || next == u'√'
            || (isSpaceInQuantity(next) && isSpaceInQuantity(at(i - 1)));
    }

    // Whether a number starts at `i`: a digit, or a minus before one.
    bool numberAt(int i) const
    {
        const QChar c = at(i);
        const bool sign = c == u'-' || c == u'−' || c == u'－';
        return sign ? at(i + 1).isDigit() : c.isDigit();
    }

    // A choice's number standing alone before its value, at a line's start
    // or after a space (「① 16 時間」), or before a number after anything
    // (「値、⑤ 154 J」): the synthesizer says ① as a bare 1, which runs into
    // the number after it; 「、」 keeps them apart. ① inside a sentence
    // (①から⑤, 道すじ①) is read as it is.
    bool choiceAt(int i, spokenwords::Replacement *r) const
    {
        const int number = circledNumber(at(i));
        if (number == 0 || !isSpaceBetweenWords(at(i + 1)))
            return false;
        int value = i + 1;
        while (isSpaceBetweenWords(at(value)))
            ++value;
        if (!(i == 0 || at(i - 1) == u'\n' || isSpaceBetweenWords(at(i - 1)) || numberAt(value)))
            return false;
        *r = {i, 1, QString::number(number) + u'、'};
        return true;
    }

    bool signAt(int i, spokenwords::Replacement *r) const
    {
        int length = 1;
        const QString words = minusAt(i) ? minus() : signWords(m_text, i, &length);
        if (words.isEmpty())
            return false;
        *r = {i, length, words};
        return true;
    }

    const QString &m_text;
    const QList<bool> &m_raised;
    QList<spokenwords::Replacement> m_found;
    int m_lastUnitEnd = -1;
    int m_statedFrom = -1; // 「単位は」's clause
    int m_statedTo = -1;
};

} // namespace

namespace spokenwords {

namespace {

int pastJoiners(const QString &text, int position)
{
    while (position < text.size() && text.at(position) == wordJoiner)
        ++position;
    return position;
}

// Whether, the joiners from `p` to `runEnd` gone, the character after them
// would make one character with the one from `start` (a mark on it, the
// second half of a pair split by a joiner, a jamo, a flag's second letter).
// The pane's caret stops between the two, so a reader must not hear them as
// one: the joiners are then left as they are.
bool mergesAcross(const QString &text, int start, int p, int runEnd)
{
    if (start < 0 || runEnd >= text.size())
        return false;
    const QChar after = text.at(runEnd);
    if (after.unicode() < 0x300 || (after.isLetterOrNumber() && after.script() != QChar::Script_Hangul))
        return false;
    const QString pair = text.mid(start, p - start) + text.mid(runEnd, 2);
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, pair);
    graphemes.setPosition(p - start);
    return !graphemes.isAtBoundary();
}

// The joiners from `done` up to `end`, each run heard with the character
// before it (a label's 問 with the joiner after it is one caret step).
// A run after a line break or at the text's start is left as it is.
// `next` is where the first joiner at or after `done` stands (text.size()
// when none): each joiner is looked for once, not again for every sign
// found before it, which took seconds on a page of signs with one joiner.
void joinToCharacterBefore(const QString &text, int end, int *done, int *next, QList<Replacement> *found)
{
    const auto nextFrom = [&text](int from) {
        const qsizetype at = text.indexOf(wordJoiner, from);
        return at < 0 ? int(text.size()) : int(at);
    };
    if (*next < *done)
        *next = nextFrom(*done);
    for (int p = *next; p < end; p = *next) {
        const int runEnd = pastJoiners(text, p);
        int start = p - 1;
        if (start > *done)
            start = p - codepoints::before(text, p).size;
        if (start >= *done && text.at(start) != u'\n' && !mergesAcross(text, start, p, runEnd))
            found->append({start, runEnd - start, text.mid(start, p - start)});
        *done = runEnd;
        *next = nextFrom(runEnd);
    }
}

// A word joiner (U+2060) keeps a label or a quantity on one line and says
// nothing: signs and units are found as if it were not there, and it goes
// with the character or the words before it.
QList<Replacement> findAroundJoiners(const QString &text, const QList<bool> &raised)
{
    QString kept;
    QList<bool> keptRaised;
    QList<int> at; // where each kept character stands in `text`
    kept.reserve(text.size());
    at.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) == wordJoiner)
            continue;
        kept += text.at(i);
        at.append(i);
        if (!raised.isEmpty())
            keptRaised.append(raised.value(i));
    }
    at.append(int(text.size()));
    QList<Replacement> found;
    int done = 0;
    int next = -1;
    for (const Replacement &r : Scanner(kept, keptRaised).run()) {
        const int start = at.at(r.position);
        joinToCharacterBefore(text, start, &done, &next, &found);
        int end = start;
        if (r.length > 0) {
            const int last = at.at(r.position + r.length - 1);
            const int first = last + 1 - codepoints::before(text, last + 1).size;
            end = pastJoiners(text, last + 1);
            if (end > last + 1 && mergesAcross(text, first, last + 1, end))
                end = last + 1;
        }
        found.append({start, end - start, r.words});
        done = std::max(done, end);
    }
    joinToCharacterBefore(text, int(text.size()), &done, &next, &found);
    return found;
}

} // namespace

QList<Replacement> find(const QString &text, const QList<bool> &raised)
{
    if (!text.contains(wordJoiner))
        return Scanner(text, raised).run();
    return findAroundJoiners(text, raised);
}

QString spoken(const QString &text)
{
    QString words;
    int done = 0;
    for (const Replacement &r : find(text)) {
        words += text.mid(done, r.position - done) + r.words;
        done = r.position + r.length;
    }
    return words + text.mid(done);
}

} // namespace spokenwords
