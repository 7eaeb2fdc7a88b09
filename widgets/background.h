#pragma once

class QColor;
class QWidget;

// Fills the widget's whole area with one colour, under whatever it draws.
void fillBackground(QWidget *widget, const QColor &colour);
