#pragma once

#include <QList>
#include <QString>

// Signs, relations and units in the words a Japanese speech synthesizer
// says: it drops 「＞」, reads "-" as a dash and "N" or "m" as letters. One
// table serves the document pane and the figures' descriptions, so that a
// quantity is heard one way wherever it is written.
//
// - A sign or relation is read as its word: ＞ 大なり, ≦ 小なりイコール,
//   → から, − and － マイナス; an ASCII "-" only where it is a minus (not
//   between a letter and a word, as in 2A-問1).
// - A unit is read in words where it is one: after a number (10 m/s is
//   「10 メートル毎秒」), filling the paper's unit brackets (〔cm〕), named
//   before 「の単位」 or 「に直」 (「J の単位」, 「kg に直して」), as the unit a
//   number is read in (「0.60 を mm の値と」, where 「x を m の値と」 is a
//   variable's), after 「単位は」 to its clause's end, or alone in brackets
//   after a quantity measured in it or a single variable (重さ（N）, x（m）),
//   with a raised or ²/³ exponent on its last symbol. A denominator in
//   brackets is per each unit when a product (J/(g・K)
//   「ジュール毎グラム毎ケルビン」), per the whole when a quotient
//   (N/(m²/s²) 「ニュートン毎（平方メートル毎秒毎秒）」). A single letter right
//   after a digit (2m) and any symbol elsewhere (the variables N, V, T, 質量（m）,
//   a label such as 点（A）) stay letters.
// - A fraction of numbers or single letters is read 「16ぶんの1」, 「NぶんのT」,
//   a fraction sign too (½ is 「2ぶんの1」); a date (2000/06/26) is read as
//   written.
// - A dash or bar between parts (—, ―) is a pause, 「、」, and so are middle
//   dots trailing off (・・・); a wave dash (〜) a range, 「から」; ⟨v²⟩ the
//   mean, 「（vの2乗）の平均」; a heading's ★ nothing.
// - A raised exponent that is no unit's is 「の3乗」.
// - A choice's number before its value is 「1、」: 「① 16 時間」 is heard
//   「1、 16 時間」, not 「1 16 時間」, and 「値、⑤ 154 J」 「値、5、 154 ジュール」.
namespace spokenwords {

// Keeps a label or a quantity on one line (1-問1-1, m/s) and says nothing: it
// is heard with the character before it, and left out of a copy.
inline constexpr QChar wordJoiner = u'\u2060';

struct Replacement
{
    int position;
    int length;
    QString words;
};

// What in `text` is read in words, in order and never overlapping. `raised`
// marks the characters shown raised (exponents); empty when none is.
QList<Replacement> find(const QString &text, const QList<bool> &raised = {});

// `text` as it is spoken: every replacement made.
QString spoken(const QString &text);

} // namespace spokenwords
