#pragma once

#include <QLabel>

// A label of fixed design size whose one line of text shows whole with any of
// the Gothic faces the design font maps to. Some of them have a line spacing
// far above one em, which would push the glyphs below a label drawn for one
// em; this one keeps the line where it would be while the glyphs fit, and
// raises it only as far as they need.
class FittedLabel : public QLabel
{
    Q_OBJECT

public:
    explicit FittedLabel(const QString &text, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
