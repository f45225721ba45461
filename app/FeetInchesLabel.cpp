#include "FeetInchesLabel.h"

#include <cmath>

#include "ComboBoxU.h"
#include "DesignLimits.h"
#include "EditD.h"
#include "NumberText.h"

TFeetInchesLabel::TFeetInchesLabel(TEditD* field, TComboBoxU* unit, QWidget* parent)
    : QLabel(parent), field_(field), unit_(unit), fieldBinding_(field, [this] { refresh(); }),
      unitBinding_(unit, [this] { refresh(); })
{
    setObjectName(QStringLiteral("FeetInchesD"));
    refresh();
}

void TFeetInchesLabel::refresh()
{
    double v;
    std::string text;
    if (unit_->GetUnit() == "ft" && ParseNumber(TrimView(field_->Text()), v) && std::isfinite(v))
        text = FeetAndInchesText(v * field_->Exchange());
    setText(text.empty() ? QString() : QStringLiteral("= ") + QString::fromStdString(text));
    setVisible(!text.empty());
}
