#pragma once

#include <QStringView>

// A text's code points, a surrogate pair read as the one it encodes and a
// lone surrogate as itself.
namespace codepoints {

struct CodePoint
{
    char32_t value;
    int size; // UTF-16 units: 1, or 2 for a pair
};

// The code point that starts at `i`, which lies inside `text`.
CodePoint at(QStringView text, qsizetype i);
// The code point that ends right before `i`, which lies in 1 .. text.size().
CodePoint before(QStringView text, qsizetype i);

} // namespace codepoints
