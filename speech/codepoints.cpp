#include "speech/codepoints.h"

namespace codepoints {

CodePoint at(QStringView text, qsizetype i)
{
    const QChar c = text.at(i);
    if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
        return {QChar::surrogateToUcs4(c, text.at(i + 1)), 2};
    return {c.unicode(), 1};
}

CodePoint before(QStringView text, qsizetype i)
{
    const QChar c = text.at(i - 1);
    if (c.isLowSurrogate() && i > 1 && text.at(i - 2).isHighSurrogate())
        return {QChar::surrogateToUcs4(text.at(i - 2), c), 2};
    return {c.unicode(), 1};
}

} // namespace codepoints
