#pragma once

#include "reading/caretbrowsing.h"

#include <QAccessible>
#include <QTest>
#include <QTextBrowser>

// `view` as the paper's pane: caret browsing, filled with `html`, shown at
// 400 by 200 pixels and focused. Its text as a screen reader gets it; null
// when the pane is never shown.
inline QAccessibleTextInterface *showCaretPane(QTextBrowser &view, const QString &html)
{
    caretbrowsing::enable(&view);
    view.resize(400, 200);
    view.setHtml(html);
    view.show();
    if (!QTest::qWaitForWindowExposed(&view))
        return nullptr;
    view.setFocus();
    return QAccessible::queryAccessibleInterface(&view)->textInterface();
}
