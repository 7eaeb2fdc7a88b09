#pragma once

#include "reading/readas.h"

#include <QList>
#include <QString>

// The help text: what the program is, the files that come with it and the
// steps of an attempt. 42 lines, indented in monospaced cells.
QString HelpDocument();

// The rings either side of the title in the help `text`, each run read as
// a space: a screen reader would count a run of one sign aloud and name it,
// in English (「5 white circle character」), around the title it decorates.
// The face after the apology, （＾＾；, is read as the word it stands for,
// 「（苦笑」, not as two circumflexes and a semicolon. The top line, of spaces
// alone, is read as nothing, so that it is heard as empty lines are.
QList<readas::Stretch> helpDecoration(const QString &text);
