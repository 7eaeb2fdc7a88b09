#pragma once

#include <QLoggingCategory>

// Why the pane left something of a document out without a word on the page
// (a picture shown as its placeholder, a style sheet not applied): what a
// reader of the document would not want in the way, and its author may ask
// for with QT_LOGGING_RULES="vardo.document.info=true". Off but for warnings.
Q_DECLARE_LOGGING_CATEGORY(documentLog)
