#pragma once

#include <QString>

// The table of university pass lines shown in every verdict window: 128
// lines laid out on a grid of monospaced cells, so that the columns line up
// in the Gothic face without tab stops or table markup.
QString PassLineDocument();
