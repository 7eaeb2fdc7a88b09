#pragma once

#include <QWidget>

// frmヘルプ: the help text in one document box over the whole window.
class HelpWindow : public QWidget
{
    Q_OBJECT

public:
    explicit HelpWindow(QWidget *parent = nullptr);
};
