#pragma once

#include <array>

class QKeyEvent;
class QTextDocument;

// The paper's text at a larger size, for a candidate who reads large print:
// every font of the document scaled from the size it was parsed at, so that
// the text wraps anew at the pane's width. Pictures keep their size.
namespace paperzoom {

// The sizes Ctrl+plus and Ctrl+minus step through, in per cent.
inline constexpr std::array<int, 7> steps = {100, 125, 150, 175, 200, 250, 300};

// What a key asks of the size: +1 a step larger (Ctrl+plus, Ctrl+=, keypad
// plus), -1 smaller (Ctrl+minus), 0 back to the document's own (Ctrl+0);
// none for any other key.
enum class Ask { None, Larger, Smaller, Reset };
Ask asked(const QKeyEvent *key);

// The size a step from `percent` in the direction `ask` gives; `percent`
// itself at either end of the steps.
int next(int percent, Ask ask);

// Sets `document`'s fonts to `percent` of their own sizes, whatever sizes
// an earlier call set; the text and the pictures stay as they are. False,
// changing nothing, for a document whose runs in sizes of their own are
// more than a step may lay out again (DocumentLimits::zoomRuns).
bool apply(QTextDocument &document, int percent);

} // namespace paperzoom
