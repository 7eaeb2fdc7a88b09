#pragma once

#include <QStringView>

// Width of text in the cells of a Japanese monospaced font: single-byte
// characters (ASCII, half-width katakana) take one cell, all others two.
namespace cellwidth {

constexpr int of(char16_t c)
{
    const bool singleByte = c < 0x80 || (c >= 0xFF61 && c <= 0xFF9F);
    return singleByte ? 1 : 2;
}

inline int of(QStringView text)
{
    int cells = 0;
    for (QChar c : text)
        cells += of(c.unicode());
    return cells;
}

} // namespace cellwidth
