#pragma once

#include <QObject>

class QTextEdit;

// Right and Left, with or without Shift, in a text whose screen reader
// hears some stretches in words (m/s is 「メートル毎秒」): the caret steps
// over such a stretch in one move, so that its words are heard once, not
// once for each character under them. Elsewhere the keys move as they do.
class CharacterKeys : public QObject
{
public:
    explicit CharacterKeys(QTextEdit *view);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QTextEdit *m_view;
};
