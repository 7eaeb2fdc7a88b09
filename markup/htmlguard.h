#pragma once

#include <QString>
#include <QStringView>

namespace htmlguard {

// What the rich-text engine can read and lay out in about a second. Beyond
// these its cost grows steeply (deep nesting, nested tables, huge element
// counts, very long paragraphs, many distinct formats), so a file over them
// would keep a core busy, or freeze the window.
struct Limits
{
    int tags = 100000;
    int depth = 100;
    int tableDepth = 8;
    qsizetype paragraphChars = 1000000;
    // Runs of text under distinct elements and attributes: each is a format
    // of its own, and the reader looks every new format up among all the
    // others (anchors, each named apart, and font sizes are the usual ones).
    int formats = 2000;
};

// Why `html` would be too costly to show, in a short phrase; empty when it
// is fine. Text holding NUL characters is a binary file, not a document.
QString problem(QStringView html, const Limits &limits = {});

} // namespace htmlguard
