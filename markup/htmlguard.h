#pragma once

#include <QString>
#include <QStringView>

namespace htmlguard {

// What the rich-text engine can lay out in about a second. Beyond these its
// cost grows steeply (deep nesting, nested tables, huge element counts, very
// long paragraphs), so a file over them would freeze the window.
struct Limits
{
    int tags = 100000;
    int depth = 100;
    int tableDepth = 8;
    qsizetype paragraphChars = 1000000;
};

// Why `html` would be too costly to show, in a short phrase; empty when it
// is fine. Text holding NUL characters is a binary file, not a document.
QString problem(QStringView html, const Limits &limits = {});

} // namespace htmlguard
