#pragma once

#include <QString>
#include <Qt>

class QLabel;
class QProgressBar;
class QWidget;

// The parts the two progress windows share; their places come from each
// window's layout table.

// A label of the form, its text centred vertically.
QLabel *MakeFormLabel(QWidget *form, const QString &name, const QString &text, Qt::Alignment alignment);

// A white progress bar without text between "( 0% )" (lbl_Per(0)) and
// "( 100% )" (lbl_Per(1)).
QProgressBar *MakePercentBar(QWidget *form, const QString &barName);
