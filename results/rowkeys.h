#pragma once

#include <QObject>

class QTextEdit;

// Up and Down in the verdict table go from row to row: a blank line that
// spaces the faculties apart is stepped over, so that a screen reader says
// the next row, not 「空行」. A blank line with no row beyond it (the table's
// last) is still reached, as the table's end.
class RowKeys : public QObject
{
public:
    explicit RowKeys(QTextEdit *view);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QTextEdit *m_view;
};
