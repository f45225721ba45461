#pragma once
// Beside the actual diameter in feet: the same diameter in feet and inches,
// as fabricators build it (5 ft 6 in). Hidden in every other unit.

#include <QLabel>

#include "BoundWidgets.h"

class TEditD;
class TComboBoxU;

class TFeetInchesLabel : public QLabel
{
public:
    TFeetInchesLabel(TEditD* field, TComboBoxU* unit, QWidget* parent);
    void refresh();

private:
    TEditD* field_;
    TComboBoxU* unit_;
    ModelBinding fieldBinding_, unitBinding_;
};
