#include "PerformanceCurvesPage.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QVBoxLayout>

#include "CaseRun.h"
#include "PerformanceChartView.h"

namespace
{
QString Tr(const char* text) { return QCoreApplication::translate("Velk", text); }
// A recalculation writes many fields: they are taken as one change.
constexpr int kDebounceMs = 40;
} // namespace

TPerformanceCurvesPage::TPerformanceCurvesPage(CalcPage& page, QWidget* parent)
    : QWidget(parent), page_(page), loads_(DefaultCurveLiquidLoads())
{
    setObjectName(QStringLiteral("TabSheetCurves"));
    loadsEdit_ = new QLineEdit(LiquidLoadsShown(), this);
    loadsEdit_->setObjectName(QStringLiteral("CurveLoadsD"));
    status_ = new QLabel(this);
    caption_ = new QLabel(this);
    RetranslateUi();
    auto* bar = new QHBoxLayout;
    bar->addWidget(caption_);
    bar->addWidget(loadsEdit_, 1);
    bar->addWidget(status_, 2);

    auto* grid = new QGridLayout;
    for (int k = 0; k < kPerformanceChartCount; ++k) {
        auto* view = new TPerformanceChartView(static_cast<TPerformanceChart>(k), this);
        view->setObjectName(QStringLiteral("CurveChart%1").arg(k));
        views_[static_cast<std::size_t>(k)] = view;
    }
    grid->addWidget(views_[0], 0, 0, 2, 1);
    grid->addWidget(views_[1], 0, 1);
    grid->addWidget(views_[2], 1, 1);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addLayout(grid, 1);

    debounce_.setSingleShot(true);
    debounce_.setInterval(kDebounceMs);
    connect(&debounce_, &QTimer::timeout, this, [this] { Recompute(); });
    connect(loadsEdit_, &QLineEdit::editingFinished, this, [this] {
        if (!SetLiquidLoadsText(loadsEdit_->text()))
            loadsEdit_->setText(LiquidLoadsShown());
    });
    for (TControl* c : page_.Controls())
        subscriptions_.push_back(c->Subscribe([this] { ScheduleRecompute(); }));
}

TPerformanceCurvesPage::~TPerformanceCurvesPage()
{
    // Closing the window takes the focus from the loads box, whose
    // editingFinished must not reach the members already gone.
    disconnect(loadsEdit_, nullptr, this, nullptr);
    const auto& controls = page_.Controls();
    for (std::size_t i = 0; i < controls.size() && i < subscriptions_.size(); ++i)
        controls[i]->Unsubscribe(subscriptions_[i]);
}

void TPerformanceCurvesPage::RetranslateUi()
{
    loadsEdit_->setToolTip(Tr(QT_TRANSLATE_NOOP("Velk", "压降曲线的液相负荷，用逗号分开；当前负荷自动加入。")));
    caption_->setText(WithFigureUnit(Tr(QT_TRANSLATE_NOOP("Velk", "液相负荷 m³/(m²·h)")), FigureKind::LiquidLoad,
                                     QStringLiteral("m³/(m²·h)")));
}

void TPerformanceCurvesPage::ShowDisplayUnits()
{
    RetranslateUi();
    loadsEdit_->setText(LiquidLoadsShown());
    Recompute();
}

QString TPerformanceCurvesPage::LiquidLoadsShown() const
{
    std::vector<double> shown;
    for (double load : loads_)
        shown.push_back(ShownFigure(FigureKind::LiquidLoad, load));
    return LiquidLoadsText(shown);
}

void TPerformanceCurvesPage::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::LanguageChange)
        return;
    RetranslateUi();
    // The tab that shows this page carries its title.
    if (auto* tabs = qobject_cast<QTabWidget*>(parentWidget() ? parentWidget()->parentWidget() : nullptr))
        tabs->setTabText(tabs->indexOf(this), Tr(QT_TRANSLATE_NOOP("Velk", "填料性能曲线")));
    // Chart texts and the status are translated when drawn.
    Recompute();
}

bool TPerformanceCurvesPage::SetLiquidLoadsText(const QString& text)
{
    std::vector<double> loads;
    if (!ParseLiquidLoads(text, loads))
        return false;
    // The text as shown, left alone: the loads stay as they are, unrounded.
    if (text.trimmed() == LiquidLoadsShown()) return true;
    // Typed in the display unit; the conversion is linear.
    const double perPageUnit = ShownFigure(FigureKind::LiquidLoad, 1.0);
    for (double& load : loads)
        load /= perPageUnit;
    if (loads != loads_) {
        loads_ = loads;
        ScheduleRecompute();
    }
    return true;
}

void TPerformanceCurvesPage::ScheduleRecompute()
{
    dirty_ = true;
    // A hidden page catches up when it is shown.
    if (isVisible())
        debounce_.start();
}

void TPerformanceCurvesPage::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (dirty_)
        Recompute();
}

void TPerformanceCurvesPage::Recompute()
{
    debounce_.stop();
    dirty_ = false;
    ++recomputes_;
    // The page's own recalculation on a copy: the curves belong to the case
    // the inputs describe even before the live page recalculates.
    CopyPageState(page_, copy_);
    const CaseRunResult run = RunCase(copy_);
    std::string why = run.error;
    std::shared_ptr<PerformanceCurves> curves;
    if (run.completed) {
        auto computed = std::make_shared<PerformanceCurves>();
        if (ComputePageCurves(copy_, loads_, *computed, why))
            curves = std::move(computed);
    }
    curves_ = curves;
    const QString title = QString::fromStdString(copy_.Combo("PTD")->Text());
    for (TPerformanceChartView* v : views_)
        v->SetCurves(curves_, title);
    if (!curves_)
        status_->setText(QCoreApplication::translate("Velk", why.c_str()));
    else if (!curves_->error.empty())
        status_->setText(QCoreApplication::translate("Velk", curves_->error.c_str()));
    else
        status_->setText(Tr(QT_TRANSLATE_NOOP("Velk", "操作点：%1% 泛点"))
                             .arg(QString::number(curves_->operating.floodPercent, 'f', 0)));
}

QString TPerformanceCurvesPage::Status() const
{
    return status_->text();
}
