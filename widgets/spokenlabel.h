#pragma once

#include <QString>

#include <functional>

class QLabel;

// What a screen reader hears for a label whose caption is only part of what it
// means: the pattern with the caption in place of %1 ("あと %1 分" with "0:59"
// reads "あと 0:59 分"), nothing while the caption is empty. It is worked out
// from the caption each time it is asked for, so it stays in step whoever
// changes the caption.
namespace spoken {

// Lets screen readers ask labels with a pattern; see widgets::install().
void installAccessibility();

void setPattern(QLabel *label, const QString &pattern, const QString &description);

// The same with the words made from the caption by `words` (a clock's
// "0:59" heard as 「残り 59 分」).
using Words = std::function<QString(const QString &caption)>;
void setWords(QLabel *label, Words words, const QString &description);

// `label`'s words are said by another label's pattern ("あと　 　　分" by
// "あと %1 分"): screen readers pass it by, so that they are not heard twice.
void silence(QLabel *label);

// The name a screen reader hears for `label` now.
QString nameOf(const QLabel *label);

} // namespace spoken
