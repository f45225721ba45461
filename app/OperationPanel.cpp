#include "OperationPanel.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <algorithm>
#include <optional>

#include "ApplicationHelp.h"
#include "BoundWidgets.h"
#include "CalcPage.h"
#include "CaseState.h"
#include "PressureDropDisplay.h"
#include "UnitLists.h"
#include "WarningMarks.h"

namespace
{
QString Tr(const char* s)
{
    return QCoreApplication::translate("Velk", s);
}

struct FigureRow {
    const char* caption;
    const char* unit;
    std::optional<FigureKind> kind; // how the display units convert it
};
// In the order of OperatingFigures.
const FigureRow kFigures[] = {
    {QT_TRANSLATE_NOOP("Velk", "实际泛点率"), "%", {}},
    {QT_TRANSLATE_NOOP("Velk", "设计泛点率(f×A)"), "%", {}},
    {QT_TRANSLATE_NOOP("Velk", "F因子"), "Pa^0.5", {}},
    {QT_TRANSLATE_NOOP("Velk", "容量因子"), "m/s", FigureKind::Velocity},
    {QT_TRANSLATE_NOOP("Velk", "液体喷淋密度"), "m3/(m2·h)", FigureKind::LiquidLoad},
    {QT_TRANSLATE_NOOP("Velk", "润湿比"), "", {}},
    {QT_TRANSLATE_NOOP("Velk", "湿塔压降"), "mbar/m", FigureKind::PressureDropPerLength},
    {QT_TRANSLATE_NOOP("Velk", "理论板数"), "", {}},
    {QT_TRANSLATE_NOOP("Velk", "填料层高度"), "m", {}}, // in the unit of its own selector
    {QT_TRANSLATE_NOOP("Velk", "床层压降"), "mbar", FigureKind::BedPressureDrop},
};

QString Number(const std::optional<double>& v)
{
    return v ? QString::number(*v, 'g', 4) : QString();
}

} // namespace

QStringList OperatingFigureTexts(const CalcPage& page, double bedHeightFactor)
{
    const OperatingFigures& f = page.Operation().figures;
    const QString bed = f.bedHeight ? Number(*f.bedHeight / bedHeightFactor) : QString();
    return {Number(f.floodPercent),
            Number(f.designFloodPercent),
            Number(f.FsFactor),
            Number(ShownFigure(FigureKind::Velocity, f.capacityFactor)),
            Number(ShownFigure(FigureKind::LiquidLoad, f.liquidLoad)),
            Number(f.wettingRatio),
            Number(ShownFigure(FigureKind::PressureDropPerLength, f.pressureDropMbarPerM)),
            f.stages ? QString::number(*f.stages) : QString(),
            bed,
            Number(ShownFigure(FigureKind::BedPressureDrop, f.bedPressureDrop))};
}

TOperationPanel::TOperationPanel(CalcPage& page, QWidget* parent)
    : QGroupBox(Tr(QT_TRANSLATE_NOOP("Velk", "操作核算")), parent), page_(page)
{
    setObjectName(QStringLiteral("GroupBoxOperation"));
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(BuildInputs());
    layout->addWidget(BuildFigures());
    warnings_ = new QListWidget(this);
    warnings_->setObjectName(QStringLiteral("ListWarnings"));
    warnings_->setFocusPolicy(Qt::NoFocus);
    warnings_->setMinimumWidth(360);
    warnings_->setMaximumHeight(5 * fontMetrics().height() + 8);
    // Long texts (English ones above all) wrap instead of running off.
    warnings_->setWordWrap(true);
    warnings_->setResizeMode(QListView::Adjust);
    warnings_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    layout->addWidget(warnings_, 1);
    Refresh();
}

QWidget* TOperationPanel::BuildInputs()
{
    auto* box = new QWidget(this);
    auto* g = new QGridLayout(box);
    g->setContentsMargins(0, 0, 0, 0);
    auto* rating =
        new TCheckWidget(page_.Check("CBRating"), Tr(QT_TRANSLATE_NOOP("Velk", "核算给定塔径")), box);
    g->addWidget(rating, 0, 0, 1, 2);
    auto* stagesLabel = new QLabel(Tr(QT_TRANSLATE_NOOP("Velk", "理论板数")), box);
    stagesLabel->setObjectName(QStringLiteral("StagesL"));
    auto* stages = new TEditDWidget(page_.Field("StagesD"), box);
    stages->setMaximumWidth(80);
    g->addWidget(stagesLabel, 1, 0);
    g->addWidget(stages, 1, 1);
    tabOrder_ = {rating, stages};
    BuildDesignBasis(g, box);
    return box;
}

// The design basis (flood, a pressure-drop limit or both) and the
// conservative flood velocity, under the rating controls; the line below
// says what governed the last recalculation.
void TOperationPanel::BuildDesignBasis(QGridLayout* g, QWidget* box)
{
    auto* basisLabel = new QLabel(Tr(QT_TRANSLATE_NOOP("Velk", "设计基准")), box);
    basisLabel->setObjectName(QStringLiteral("DesignBasisL"));
    auto* basis = new TComboWidget(page_.Combo("DesignBasisD"), box);
    g->addWidget(basisLabel, 2, 0);
    g->addWidget(basis, 2, 1, 1, 2);
    auto* limitLabel = new QLabel(Tr(QT_TRANSLATE_NOOP("Velk", "压降限值")), box);
    limitLabel->setObjectName(QStringLiteral("DpLimitL"));
    auto* limit = new TEditDWidget(page_.Field("DpLimitD"), box);
    limit->setMaximumWidth(80);
    g->addWidget(limitLabel, 3, 0);
    g->addWidget(limit, 3, 1);
    g->addWidget(new QLabel(QStringLiteral("mbar/m"), box), 3, 2);
    auto* conservative =
        new TCheckWidget(page_.Check("CBConservative"), Tr(QT_TRANSLATE_NOOP("Velk", "最保守泛点")), box);
    g->addWidget(conservative, 4, 0, 1, 3);
    design_ = new QLabel(box);
    design_->setObjectName(QStringLiteral("DesignGoverns"));
    design_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // The line can be long (English, several methods left out): it wraps
    // rather than widening the page.
    design_->setWordWrap(true);
    g->addWidget(design_, 5, 0, 1, 3);
    g->setRowStretch(6, 1);
    tabOrder_.insert(tabOrder_.end(), {basis, limit, conservative});
    // F1 on the option opens its topic, which says more than a hint can.
    conservative->setProperty("helpContext", HelpTopic::Conservative);
    basis->setProperty("helpContext", HelpTopic::DesignBasis);
    limit->setProperty("helpContext", HelpTopic::DesignBasis);
}

QString DesignOutcomeText(const CalcPage& page)
{
    const DesignOutcome& d = page.Design();
    QStringList parts;
    // Without a limit flooding always governs: nothing to say, as before the choice existed.
    if (d.basis == DesignBasis::Flood && !d.conservative) return {};
    if (d.basis != DesignBasis::Flood && d.governs == "flood")
        parts << Tr(QT_TRANSLATE_NOOP("Velk", "泛点率控制塔径"));
    if (d.basis != DesignBasis::Flood && d.governs == "pressure-drop")
        parts << Tr(QT_TRANSLATE_NOOP("Velk", "压降限值控制塔径"));
    const std::vector<std::string>& methods = page.Combo("UfMD")->Items();
    const auto method = [&](int i) {
        return i >= 0 && static_cast<std::size_t>(i) < methods.size()
                   ? Tr(methods[static_cast<std::size_t>(i)].c_str())
                   : QString::number(i);
    };
    if (d.conservative && d.floodMethod)
        parts << Tr(QT_TRANSLATE_NOOP("Velk", "最低泛点：%1")).arg(method(*d.floodMethod));
    for (int skipped : d.skippedMethods)
        parts << Tr(kSkippedMethodText) + method(skipped);
    return parts.join(QStringLiteral("; "));
}

QWidget* TOperationPanel::BuildFigures()
{
    auto* box = new QWidget(this);
    auto* g = new QGridLayout(box);
    g->setContentsMargins(0, 0, 0, 0);
    g->setVerticalSpacing(1);
    int i = 0;
    for (const FigureRow& row : kFigures) {
        const int r = i % 5, c = (i / 5) * 3;
        g->addWidget(new QLabel(Tr(row.caption), box), r, c);
        auto* value = new QLabel(box);
        value->setObjectName(QStringLiteral("Figure%1").arg(i));
        value->setMinimumWidth(56);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        g->addWidget(value, r, c + 1);
        if (i == 8) {
            // The packed height in the length units of the diameter.
            bedHeightUnit_ = new QComboBox(box);
            bedHeightUnit_->setObjectName(QStringLiteral("BedHeightU"));
            for (const UnitItem& u : UnitListForField("dD")->items)
                bedHeightUnit_->addItem(QString::fromUtf8(u.name), QString::fromUtf8(u.factor).toDouble());
            bedHeightUnit_->setCurrentIndex(UnitIndexInSystem("dD", CurrentDisplaySystem()));
            connect(bedHeightUnit_, &QComboBox::currentIndexChanged, this, [this] { Refresh(); });
            g->addWidget(bedHeightUnit_, r, c + 2);
        } else {
            auto* unit = new QLabel(QString::fromUtf8(row.unit), box);
            unit->setObjectName(QStringLiteral("Figure%1U").arg(i));
            // The figures in the chosen display units.
            if (row.kind) unitLabels_.emplace_back(unit, i);
            g->addWidget(unit, r, c + 2);
        }
        figures_.push_back(value);
        ++i;
    }
    return box;
}

void TOperationPanel::Refresh()
{
    const double factor = bedHeightUnit_ ? bedHeightUnit_->currentData().toDouble() : 1.0;
    const QStringList texts = OperatingFigureTexts(page_, factor > 0 ? factor : 1.0);
    for (int i = 0; i < texts.size() && i < static_cast<int>(figures_.size()); ++i)
        figures_[static_cast<std::size_t>(i)]->setText(texts[i]);
    MarkFigures();
    for (const auto& [label, i] : unitLabels_) {
        const FigureRow& row = kFigures[i];
        label->setText(WithFigureUnit(QString::fromUtf8(row.unit), *row.kind, QString::fromUtf8(row.unit)));
    }
    if (design_) {
        design_->setText(DesignOutcomeText(page_));
        design_->setToolTip(design_->text());
    }
    warnings_->clear();
    for (const OperatingWarning& w : page_.Operation().warnings) {
        auto* item = new QListWidgetItem(Tr(w.text.c_str()), warnings_);
        item->setForeground(SeverityColour(w.severity));
        item->setData(Qt::UserRole, QString::fromStdString(w.code));
        item->setToolTip(item->text() + QStringLiteral("\n(") +
                         QString::fromStdString(w.code + ", " + w.field) + QStringLiteral(")"));
    }
}

void TOperationPanel::MarkFigures()
{
    // A figure whose field a warning names: bold, in the severity's colour.
    std::vector<int> rank(figures_.size(), -1);
    for (const auto& [field, severity] : WorstSeverityByField(page_.Operation().warnings))
        for (int i : FiguresOfField(field))
            if (i < static_cast<int>(rank.size()))
                rank[static_cast<std::size_t>(i)] =
                    std::max(rank[static_cast<std::size_t>(i)], SeverityRank(severity));
    static const WarningSeverity bySeverityRank[] = {WarningSeverity::Info, WarningSeverity::Warning,
                                                     WarningSeverity::Error};
    // Figures of results that are not the inputs' (a failed or a pending
    // recalculation): italic with the hint of a stale field, as the prints mark them.
    const bool stale = CaseStateOf(page_).FigureMarks().stale;
    const QString staleHint =
        stale ? Tr(QT_TRANSLATE_NOOP("Velk", "该值已过时：它依赖的输入已清空或改变，未重新计算。"))
              : QString();
    for (std::size_t i = 0; i < figures_.size(); ++i) {
        QLabel* l = figures_[i];
        const bool marked = rank[i] >= 0;
        QString style = marked ? QStringLiteral("color: %1; font-weight: bold;")
                                     .arg(SeverityColour(bySeverityRank[rank[i]]).name())
                               : QString();
        if (stale && !l->text().isEmpty()) style += QStringLiteral(" font-style: italic;");
        l->setStyleSheet(style.isEmpty() ? QString() : QStringLiteral("QLabel { %1 }").arg(style.trimmed()));
        l->setToolTip(stale && !l->text().isEmpty() ? staleHint : QString());
        l->setProperty("severity", marked ? rank[i] : -1);
        l->setProperty("stale", stale && !l->text().isEmpty());
    }
}

void TOperationPanel::ShowDisplayUnits()
{
    // A new system takes the packed height to its length unit too; a unit
    // picked there by hand stays until the next change of system.
    if (bedHeightUnit_ && shownSystem_ != CurrentDisplaySystem())
        bedHeightUnit_->setCurrentIndex(UnitIndexInSystem("dD", CurrentDisplaySystem()));
    shownSystem_ = CurrentDisplaySystem();
    Refresh();
}
