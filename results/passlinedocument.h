#pragma once

#include "reading/readas.h"

#include <QList>
#include <QString>

// The table of university pass lines shown in every verdict window: 128
// lines laid out on a grid of monospaced cells, so that the columns line up
// in the Gothic face without tab stops or table markup.
QString PassLineDocument();

// The same text, with the gaps between its columns as a screen reader reads
// them: a line is heard as a row, each value after its column's name.
struct PassLineTable
{
    QString text;
    QList<readas::Stretch> gaps;
};
PassLineTable passLineTable();
