#pragma once

#include <QWidget>

class QLabel;
class QTextEdit;

// frm合格ライン<band>: the verdict for one score band, with its badge, its
// comment and the table of pass lines. Static: nothing changes it once built.
class PassLineWindow : public QWidget
{
    Q_OBJECT

public:
    // band 1..6
    explicit PassLineWindow(int band, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QLabel *makeLabel(QWidget *surface, const QString &name, const QString &text, const QFont &font,
                      const QColor &ground, const QRect &twipsRect);
};
