#pragma once

#include <QString>

// The help text: what the program is, the files that come with it and the
// steps of an attempt. 42 lines, indented in monospaced cells.
QString HelpDocument();
