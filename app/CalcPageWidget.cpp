#include "CalcPageWidget.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QScrollArea>
#include <QVBoxLayout>
#include <cstring>
#include <tuple>

#include "BoundWidgets.h"
#include "CalcPage.h"
#include "CaseState.h"
#include "ComboBoxU.h"
#include "EfficiencyPanel.h"
#include "FeetInchesLabel.h"
#include "OperationPanel.h"
#include "TrNoop.h"
#include "TypedInputCheck.h"
#include "WarningMarks.h"

namespace
{
QString Q(const char* s)
{
    return QString::fromUtf8(s);
}
// A source text marked with QT_TRANSLATE_NOOP, in the interface language.
QString T(const char* s)
{
    return QCoreApplication::translate("Velk", s);
}

// Label name of a control: the quantity code with "L" for the trailing "D".
QString LabelName(const QString& control)
{
    return control.endsWith(QLatin1Char('D')) ? control.left(control.size() - 1) + QLatin1Char('L')
                                              : control + QLatin1Char('L');
}

void SubHeading(QGridLayout* g, int row, const char* text, QWidget* parent)
{
    auto* l = new QLabel(T(text), parent);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    g->addWidget(l, row, 0, 1, 3, Qt::AlignHCenter);
}

} // namespace

TCalcPageWidget::TCalcPageWidget(CalcPage& page, QWidget* parent) : QWidget(parent), page_(page)
{
    setObjectName(QStringLiteral("TabSheetCalc"));
    QWidget* project = BuildProjectGroup();
    QWidget* liquid = BuildLiquidGroup();
    QWidget* vapour = BuildVapourGroup();
    QWidget* other = BuildOtherGroup();

    // Results, below a line; captions in red.
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    QWidget* results = BuildResults();
    // The operating check comes below everything the page had before.
    operation_ = new TOperationPanel(page_, this);
    for (QWidget* w : operation_->TabOrder())
        tabOrder_.push_back(w);

    auto* grid = new QGridLayout;
    grid->addWidget(liquid, 0, 0);
    grid->addWidget(vapour, 0, 1);
    grid->addWidget(other, 0, 2);
    auto* layout = new QVBoxLayout(this);
    // The worst warning in sight above the fold; a click goes to the list.
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("WarningSummary"));
    summary_->setTextFormat(Qt::RichText);
    summary_->setWordWrap(true);
    summary_->hide();
    connect(summary_, &QLabel::linkActivated, this, [this] { JumpToWarnings(); });
    layout->addWidget(summary_);
    layout->addWidget(project);
    layout->addLayout(grid);
    layout->addWidget(line);
    layout->addWidget(results);
    layout->addWidget(operation_);
    layout->addStretch();
    FinishTabOrderAndHints();
    typedGuard_ = new TTypedInputGuard(operation_->findChild<QWidget*>(QStringLiteral("StagesD")),
                                       page_.Field("StagesD"), flood_, page_.Combo("fpercentD"), this);
    page_.OnOperationChanged = [this] { RefreshOperation(); };
    RefreshOperation();
}

TCalcPageWidget::~TCalcPageWidget()
{
    page_.OnOperationChanged = nullptr;
    for (auto [unit, id] : unitSubscriptions_)
        unit->Unsubscribe(id);
}

void TCalcPageWidget::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::LanguageChange) RefreshOperation();
    QWidget::changeEvent(e);
}

void TCalcPageWidget::RefreshOperation()
{
    // The marks as every printed output shows them: one state for all.
    const CaseState state = CaseStateOf(page_);
    for (TEditDWidget* e : resultEdits_) {
        const ValueMarks marks = state.Marks(e->model()->Name());
        e->setStale(marks.stale);
        e->setInvalid(marks.invalid);
    }
    operation_->Refresh();
    efficiency_->Refresh();
    MarkWarnings();
}

void TCalcPageWidget::MarkWarnings()
{
    const std::vector<OperatingWarning>& warnings = page_.Operation().warnings;
    const auto worst = WorstSeverityByField(warnings);
    for (TEditDWidget* e : findChildren<TEditDWidget*>()) {
        const auto it = worst.find(e->objectName().toStdString());
        e->setWarningColour(it == worst.end() ? QColor() : SeverityColour(it->second));
    }
    const auto first = WorstWarning(warnings);
    if (!first) {
        summary_->hide();
        summary_->clear();
    } else {
        summary_->setText(QStringLiteral("<a href=\"#warnings\" style=\"color:%1; font-weight:bold\">%2</a>")
                              .arg(SeverityColour(warnings[*first].severity).name(),
                                   WarningSummaryText(warnings).toHtmlEscaped()));
        summary_->show();
    }
    emit WarningsChanged(HasErrorWarning(warnings));
}

void TCalcPageWidget::JumpToWarnings()
{
    for (QWidget* w = parentWidget(); w; w = w->parentWidget())
        if (auto* scroll = qobject_cast<QScrollArea*>(w)) {
            scroll->ensureWidgetVisible(operation_->Warnings(), 0, 0);
            break;
        }
}

QLabel* TCalcPageWidget::Caption(const char* control, const char* text, QWidget* parent)
{
    auto* l = new QLabel(T(text), parent);
    l->setObjectName(LabelName(Q(control)));
    return l;
}

QWidget* TCalcPageWidget::ValueRow(QGridLayout* g, int row, const char* name, const char* text,
                                   QWidget* parent)
{
    TEditD* model = page_.Field(name);
    auto* edit = new TEditDWidget(model, parent);
    auto* unit = new TComboBoxUWidget(page_.UnitOf(model), parent);
    g->addWidget(Caption(name, text, parent), row, 0);
    g->addWidget(edit, row, 1);
    g->addWidget(unit, row, 2);
    tabOrder_.push_back(edit);
    return edit;
}

QWidget* TCalcPageWidget::ComboRow(QGridLayout* g, int row, const char* name, const char* text,
                                   QWidget* parent, int span)
{
    auto* combo = new TComboWidget(page_.Combo(name), parent);
    g->addWidget(Caption(name, text, parent), row, 0);
    g->addWidget(combo, row, 1, 1, span);
    tabOrder_.push_back(combo);
    return combo;
}

QGroupBox* TCalcPageWidget::DataGroup(const char* title, const char* name, const char* hint)
{
    auto* box = new QGroupBox(T(title), this);
    box->setObjectName(Q(name));
    box->setProperty("hint", Q(hint));
    return box;
}

QWidget* TCalcPageWidget::BuildProjectGroup()
{
    auto* project = new QGroupBox(QCoreApplication::translate("Velk", "项目信息"), this);
    project->setObjectName(QStringLiteral("GroupBoxProject"));
    auto* pg = new QGridLayout(project);
    const char* boxes[][2] = {{"ProjectD", QT_TRANSLATE_NOOP("Velk", "项目名称")},
                              {"DevicenameD", QT_TRANSLATE_NOOP("Velk", "设备名称")},
                              {"ProjPD", QT_TRANSLATE_NOOP("Velk", "项目阶段")},
                              {"DeviceNoD", QT_TRANSLATE_NOOP("Velk", "设备位号")},
                              {"Edit1", QT_TRANSLATE_NOOP("Velk", "备用")},
                              {"Edit2", QT_TRANSLATE_NOOP("Velk", "备用")},
                              {"Edit3", QT_TRANSLATE_NOOP("Velk", "备用")},
                              {"Edit4", QT_TRANSLATE_NOOP("Velk", "备用")}};
    const int positions[][2] = {{0, 0}, {1, 0}, {1, 2}, {1, 4}, {2, 0}, {2, 2}, {2, 4}, {2, 6}};
    for (int i = 0; i < 8; ++i) {
        auto* w = new TTextWidget(page_.TextBox(boxes[i][0]), project);
        pg->addWidget(Caption(boxes[i][0], boxes[i][1], project), positions[i][0], positions[i][1]);
        pg->addWidget(w, positions[i][0], positions[i][1] + 1, 1, i == 0 ? 5 : 1);
        tabOrder_.push_back(w);
    }
    auto* comment = new TCommentWidget(page_.TextBox("CommentD"), project);
    comment->setFixedHeight(44);
    pg->addWidget(Caption("CommentD", QT_TRANSLATE_NOOP("Velk", "说明"), project), 3, 0);
    pg->addWidget(comment, 3, 1, 1, 7);
    tabOrder_.push_back(comment);
    return project;
}

QWidget* TCalcPageWidget::BuildLiquidGroup()
{
    auto* liquid = DataGroup(QT_TRANSLATE_NOOP("Velk", "液相数据"), "GroupBoxLiquid",
                             QT_TRANSLATE_NOOP("Velk", "液相物性和工艺数据"));
    auto* lg = new QGridLayout(liquid);
    SubHeading(lg, 0, QT_TRANSLATE_NOOP("Velk", "物 性 数 据"), liquid);
    ValueRow(lg, 1, "DlD", QT_TRANSLATE_NOOP("Velk", "液相密度"), liquid);
    ValueRow(lg, 2, "MlD", QT_TRANSLATE_NOOP("Velk", "液相粘度"), liquid);
    ValueRow(lg, 3, "SLD", QT_TRANSLATE_NOOP("Velk", "液相表面张力"), liquid);
    ValueRow(lg, 4, "DlfD", QT_TRANSLATE_NOOP("Velk", "液相扩散系数"), liquid);
    SubHeading(lg, 5, QT_TRANSLATE_NOOP("Velk", "工 艺 数 据"), liquid);
    ComboRow(lg, 6, "AfD", QT_TRANSLATE_NOOP("Velk", "液体发泡系数"), liquid);
    ValueRow(lg, 7, "LD", QT_TRANSLATE_NOOP("Velk", "液相质量流量"), liquid);
    return liquid;
}

QWidget* TCalcPageWidget::BuildVapourGroup()
{
    auto* vapour = DataGroup(QT_TRANSLATE_NOOP("Velk", "气相数据"), "GroupBoxVapour",
                             QT_TRANSLATE_NOOP("Velk", "气相物性和工艺数据"));
    auto* vg = new QGridLayout(vapour);
    SubHeading(vg, 0, QT_TRANSLATE_NOOP("Velk", "物 性 数 据"), vapour);
    ValueRow(vg, 1, "DvD", QT_TRANSLATE_NOOP("Velk", "气相密度"), vapour);
    ValueRow(vg, 2, "MvD", QT_TRANSLATE_NOOP("Velk", "气相粘度"), vapour);
    ValueRow(vg, 3, "DvfD", QT_TRANSLATE_NOOP("Velk", "气相扩散系数"), vapour);
    SubHeading(vg, 4, QT_TRANSLATE_NOOP("Velk", "工 艺 数 据"), vapour);
    flood_ = ComboRow(vg, 5, "fpercentD", QT_TRANSLATE_NOOP("Velk", "泛点预设"), vapour);
    vg->addWidget(new QLabel(QStringLiteral("%"), vapour), 5, 2);
    ValueRow(vg, 6, "VD", QT_TRANSLATE_NOOP("Velk", "气相质量流量"), vapour);
    vg->setRowStretch(7, 1);
    return vapour;
}

QWidget* TCalcPageWidget::BuildOtherGroup()
{
    auto* other = DataGroup(QT_TRANSLATE_NOOP("Velk", "其他数据"), "GroupBoxOther",
                            QT_TRANSLATE_NOOP("Velk", "其他数据"));
    auto* og = new QGridLayout(other);
    ComboRow(og, 0, "PTD", QT_TRANSLATE_NOOP("Velk", "填料选择"), other, 2);
    for (auto [row, name, text] : {std::tuple{1, "meD", QT_TRANSLATE_NOOP("Velk", "平衡线斜率")},
                                   std::tuple{2, "alfD", QT_TRANSLATE_NOOP("Velk", "相对挥发度")},
                                   std::tuple{3, "LmdD", QT_TRANSLATE_NOOP("Velk", "参数λ")}})
        resultEdits_.push_back(static_cast<TEditDWidget*>(ValueRow(og, row, name, text, other)));
    ComboRow(og, 4, "UfMD", QT_TRANSLATE_NOOP("Velk", "泛点算法"), other, 2);
    auto* lagrange =
        new TCheckWidget(page_.Check("CBLagrange"), QCoreApplication::translate("Velk", "局部插值"), other);
    og->addWidget(lagrange, 5, 1, 1, 2);
    tabOrder_.push_back(lagrange);
    og->setRowStretch(6, 1);
    return other;
}

QWidget* TCalcPageWidget::BuildResults()
{
    auto* results = new QWidget(this);
    results->setObjectName(QStringLiteral("PanelResults"));
    auto* rg = new QGridLayout(results);
    struct Result {
        const char* name;
        const char* caption;
        bool underlined;
    };
    const Result res[] = {{"FpD", QT_TRANSLATE_NOOP("Velk", "流动参数"), false},
                          {"UfD", QT_TRANSLATE_NOOP("Velk", "泛点气速"), false},
                          {"UpD", QT_TRANSLATE_NOOP("Velk", "空速"), false},
                          {"UlsD", QT_TRANSLATE_NOOP("Velk", "液相负荷"), false},
                          {"UvsD", QT_TRANSLATE_NOOP("Velk", "气相负荷"), false},
                          {"CgmaxD", QT_TRANSLATE_NOOP("Velk", "最大负荷因子"), false},
                          {"dpD", QT_TRANSLATE_NOOP("Velk", "理论塔径"), false},
                          {"dD", QT_TRANSLATE_NOOP("Velk", "实际塔径"), true},
                          {"HTD", QT_TRANSLATE_NOOP("Velk", "持液量"), true},
                          {"dPdryD", QT_TRANSLATE_NOOP("Velk", "干塔压降(每米)"), true},
                          {"dPwaterD", QT_TRANSLATE_NOOP("Velk", "湿塔压降(每米)"), true},
                          {"HTUVD", "HTUV", false},
                          {"HTULD", "HTUL", false},
                          {"HTUOVD", "HTUOV", false},
                          {"HETPD", QT_TRANSLATE_NOOP("Velk", "HETP(等板高度)"), true}};
    for (int i = 0; i < 15; ++i) {
        const int row = i % 5, col = (i / 5) * 3;
        TEditD* model = page_.Field(res[i].name);
        QLabel* label = Caption(res[i].name, res[i].caption, results);
        QPalette p = label->palette();
        p.setColor(QPalette::WindowText, Qt::red);
        label->setPalette(p);
        if (res[i].underlined) {
            QFont lf = label->font();
            lf.setUnderline(true);
            label->setFont(lf);
        }
        auto* edit = new TEditDWidget(model, results);
        resultEdits_.push_back(edit);
        rg->addWidget(label, row, col);
        rg->addWidget(edit, row, col + 1);
        rg->addWidget(new TComboBoxUWidget(page_.UnitOf(model), results), row, col + 2);
        tabOrder_.push_back(edit);
        FollowPerLengthUnit(res[i].name, label);
    }
    // The other model's HETP, the spread and the design choice, beside the heights.
    efficiency_ = new TEfficiencyPanel(page_, results);
    rg->addWidget(efficiency_, 6, 0, 1, 9);
    tabOrder_.push_back(efficiency_->Choice());
    // The diameter in feet also in feet and inches, under its field (hidden otherwise).
    rg->addWidget(new TFeetInchesLabel(page_.Field("dD"), page_.Unit("dU"), results), 5, 4);
    return results;
}

void TCalcPageWidget::FollowPerLengthUnit(const char* field, QLabel* label)
{
    static const struct {
        const char *field, *perMetre, *perFoot;
    } kCaptions[] = {
        {"dPdryD", QT_TRANSLATE_NOOP("Velk", "干塔压降(每米)"),
         QT_TRANSLATE_NOOP("Velk", "干塔压降(每英尺)")},
        {"dPwaterD", QT_TRANSLATE_NOOP("Velk", "湿塔压降(每米)"),
         QT_TRANSLATE_NOOP("Velk", "湿塔压降(每英尺)")},
    };
    for (const auto& c : kCaptions) {
        if (std::strcmp(c.field, field) != 0) continue;
        TComboBoxU* unit = page_.UnitOf(page_.Field(field));
        if (!unit) return;
        auto show = [unit, label, c] {
            const std::string shown = unit->GetUnit();
            const bool perFoot = shown.size() > 3 && shown.compare(shown.size() - 3, 3, "/ft") == 0;
            label->setText(T(perFoot ? c.perFoot : c.perMetre));
        };
        show();
        unitSubscriptions_.emplace_back(unit, unit->Subscribe(show));
    }
}

void TCalcPageWidget::FinishTabOrderAndHints()
{
    for (std::size_t i = 1; i < tabOrder_.size(); ++i)
        QWidget::setTabOrder(tabOrder_[i - 1], tabOrder_[i]);
    // Hints and help numbers for the key handling and the help component.
    for (QWidget* w : tabOrder_) {
        TControl* m = BoundModel(w);
        if (!m &&
            (w->objectName() == QLatin1String("CBLagrange") || w->objectName() == QLatin1String("CBRating")))
            m = page_.Check(w->objectName().toStdString());
        if (m) {
            w->setProperty("hint", QString::fromStdString(m->Hint()));
            // A topic the panel gave an option is kept: its model has none.
            if (m->HelpContext() || !w->property("helpContext").isValid())
                w->setProperty("helpContext", m->HelpContext());
        }
    }
}
