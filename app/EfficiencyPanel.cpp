#include "EfficiencyPanel.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>

#include "BoundWidgets.h"
#include "CalcPage.h"
#include "EfficiencyModels.h"
#include "EngineText.h"
#include "TrNoop.h"

namespace
{
QString T(const char* s)
{
    return QCoreApplication::translate("Velk", s);
}

QLabel* Value(const char* name, QWidget* parent)
{
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromUtf8(name));
    l->setMinimumWidth(56);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}
} // namespace

QStringList EfficiencyFigureTexts(const CalcPage& page)
{
    const TEditD* hetp = page.Field("HETPD");
    const double factor = hetp->Exchange() > 0 ? hetp->Exchange() : 1.0;
    const TComboBoxU* unit = page.UnitOf(hetp);
    auto height = [&](const std::optional<double>& v) {
        return v ? QString::number(*v / factor, 'g', 4) : QString();
    };
    const EfficiencyResult r = EvaluateEfficiency(page, DesignHetpChoiceOf(page));
    const EfficiencyModelResult& rbf = r.models[1];
    return {height(rbf.completed ? std::optional(rbf.heights.HETP) : std::nullopt),
            r.spread ? QString::number(*r.spread, 'f', 2) : QString(), height(DesignHetp(r)),
            unit ? QString::fromStdString(unit->GetUnit()) : QString()};
}

QString EfficiencyFailureText(const CalcPage& page)
{
    const EfficiencyResult r = EvaluateEfficiency(page, DesignHetpChoice::Specified);
    return r.models[1].completed ? QString() : EngineText(r.models[1].error);
}

TEfficiencyPanel::TEfficiencyPanel(CalcPage& page, QWidget* parent) : QWidget(parent), page_(page)
{
    setObjectName(QStringLiteral("PanelEfficiency"));
    // One line under the heights: the page's columns keep their widths.
    auto* g = new QHBoxLayout(this);
    g->setContentsMargins(0, 0, 0, 0);
    auto caption = [&](const char* text) { g->addWidget(new QLabel(T(text), this)); };
    auto gap = [&] { g->addSpacing(24); };
    caption(QT_TRANSLATE_NOOP("Velk", "HETP(Rocha-Bravo-Fair)"));
    rbf_ = Value("EfficiencyRbf", this);
    rbfUnit_ = new QLabel(this);
    g->addWidget(rbf_);
    g->addWidget(rbfUnit_);
    gap();
    caption(QT_TRANSLATE_NOOP("Velk", "HETP离散度(大/小)"));
    spread_ = Value("EfficiencySpread", this);
    g->addWidget(spread_);
    gap();
    caption(QT_TRANSLATE_NOOP("Velk", "设计等板高度取"));
    choice_ = new TComboWidget(page_.Combo("DesignHetpD"), this);
    g->addWidget(choice_);
    gap();
    caption(QT_TRANSLATE_NOOP("Velk", "设计HETP"));
    design_ = Value("EfficiencyDesign", this);
    designUnit_ = new QLabel(this);
    g->addWidget(design_);
    g->addWidget(designUnit_);
    g->addStretch(1);
    Refresh();
}

void TEfficiencyPanel::Refresh()
{
    const QStringList t = EfficiencyFigureTexts(page_);
    rbf_->setText(t[0]);
    spread_->setText(t[1]);
    design_->setText(t[2]);
    rbfUnit_->setText(t[3]);
    designUnit_->setText(t[3]);
    // Why the model gave no height, where the height would be.
    rbf_->setToolTip(EfficiencyFailureText(page_));
}
