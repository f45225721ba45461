#include "ColumnDesignPage.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "CalcPage.h"
#include "ColumnElevation.h"
#include "DesignLimits.h"
#include "EngineText.h"
#include "TrNoop.h"

namespace
{

QString Tr(const char* text)
{
    return QCoreApplication::translate("Velk", text);
}

// The drawing, painted by the output code that also writes the files.
class ElevationView : public QWidget
{
public:
    explicit ElevationView(const std::optional<ColumnDesign>& design, QWidget* parent)
        : QWidget(parent), design_(design)
    {
        setObjectName(QStringLiteral("ColumnElevation"));
        setMinimumSize(320, 400);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        if (design_) PaintColumnElevation(p, rect(), *design_);
    }

private:
    const std::optional<ColumnDesign>& design_;
};

struct InputRow {
    const char* field;
    const char* caption;
};
const InputRow kInputs[] = {
    {kLimitFloodField, QT_TRANSLATE_NOOP("Velk", "泛点率上限(%)")},
    {kLimitFsField, QT_TRANSLATE_NOOP("Velk", "F因子下限(Pa^0.5)")},
    {kLimitBedDpField, QT_TRANSLATE_NOOP("Velk", "床层压降上限(mbar)")},
    {kLimitWettingField, QT_TRANSLATE_NOOP("Velk", "润湿率下限")},
    {kDiameterStepField, QT_TRANSLATE_NOOP("Velk", "塔径圆整步长(如0.1m、6in)")},
    {kHetpMarginField, QT_TRANSLATE_NOOP("Velk", "HETP裕量(%)")},
    {kBedMaxHeightField, QT_TRANSLATE_NOOP("Velk", "床层最大高度(m)")},
    {kBedMaxStagesField, QT_TRANSLATE_NOOP("Velk", "每床层最多理论板数")},
};

const char* const kColumnHeadings[] = {
    QT_TRANSLATE_NOOP("Velk", "项目"),       QT_TRANSLATE_NOOP("Velk", "段"),
    QT_TRANSLATE_NOOP("Velk", "理论板数"),   QT_TRANSLATE_NOOP("Velk", "高度(m)"),
    QT_TRANSLATE_NOOP("Velk", "压降(mbar)"), QT_TRANSLATE_NOOP("Velk", "控制板")};

QString InternalCaption(const std::string& type)
{
    if (type == "distributor") return Tr(QT_TRANSLATE_NOOP("Velk", "液体分布器"));
    if (type == "hold-down") return Tr(QT_TRANSLATE_NOOP("Velk", "压紧栅"));
    if (type == "support") return Tr(QT_TRANSLATE_NOOP("Velk", "支承板"));
    return Tr(QT_TRANSLATE_NOOP("Velk", "集液器"));
}

} // namespace

ColumnDesignPage::ColumnDesignPage(CalcPage& page, QWidget* parent) : QWidget(parent), page_(page)
{
    setObjectName(QStringLiteral("ColumnDesignPage"));
    auto* inputs = new QGroupBox(Tr(QT_TRANSLATE_NOOP("Velk", "设计限值和床层")), this);
    auto* form = new QFormLayout(inputs);
    for (const InputRow& r : kInputs) {
        auto* edit = new TEditDWidget(page_.Field(r.field), inputs);
        edit->setObjectName(QString::fromLatin1(r.field));
        form->addRow(Tr(r.caption), edit);
    }
    note_ = new QLabel(inputs);
    note_->setWordWrap(true);
    form->addRow(note_);
    table_ = new QTableWidget(0, static_cast<int>(std::size(kColumnHeadings)), this);
    table_->setObjectName(QStringLiteral("ColumnDesignTable"));
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    elevation_ = new ElevationView(design_, this);
    auto* left = new QVBoxLayout;
    left->addWidget(inputs);
    left->addWidget(table_, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addWidget(elevation_, 1);
    // The column follows what it is made of; designing it takes microseconds.
    for (const char* name : {"HETPD", "dD", "dPwaterD", "StagesD", "UvsD"})
        bindings_.push_back(std::make_unique<ModelBinding>(page_.Field(name), [this] { Schedule(); }));
    for (const InputRow& r : kInputs)
        bindings_.push_back(std::make_unique<ModelBinding>(page_.Field(r.field), [this] { Schedule(); }));
    refresh();
}

ColumnDesignPage::~ColumnDesignPage() = default;

void ColumnDesignPage::Schedule()
{
    if (pending_ || !isVisible()) return;
    pending_ = true;
    QTimer::singleShot(0, this, [this] {
        pending_ = false;
        refresh();
    });
}

void ColumnDesignPage::refresh()
{
    why_.clear();
    design_ = PageColumnDesign(page_, why_);
    QString note = why_.empty() ? QString() : EngineText(why_);
    if (design_)
        for (const std::string& n : design_->notes)
            note += EngineText(n);
    note_->setText(note);
    FillTable();
    elevation_->update();
}

void ColumnDesignPage::FillTable()
{
    QStringList headings;
    for (const char* h : kColumnHeadings)
        headings << Tr(h);
    table_->setHorizontalHeaderLabels(headings);
    table_->setRowCount(0);
    if (!design_) {
        table_->resizeColumnsToContents(); // the headings whole
        return;
    }
    auto row = [&](const QStringList& cells) {
        const int r = table_->rowCount();
        table_->insertRow(r);
        for (int c = 0; c < cells.size(); ++c)
            table_->setItem(r, c, new QTableWidgetItem(cells[c]));
    };
    auto num = [](double v, int d) { return QString::number(v, 'f', d); };
    for (std::size_t b = 0; b < design_->beds.size(); ++b) {
        for (const DesignedInternal& i : design_->internals)
            if (i.bed == static_cast<int>(b) + 1 && (i.type == "distributor" || i.type == "hold-down"))
                row({InternalCaption(i.type),
                     QString::number(i.bed),
                     {},
                     num(i.height, 2),
                     num(i.pressureDrop, 3),
                     {}});
        const DesignedBed& bed = design_->beds[b];
        row({Tr(QT_TRANSLATE_NOOP("Velk", "填料床层")), QString::number(b + 1), QString::number(bed.stages),
             num(bed.packedHeight, 3), num(bed.pressureDrop, 3), QString::number(bed.limitingStage)});
        for (const DesignedInternal& i : design_->internals)
            if (i.bed == static_cast<int>(b) + 1 && (i.type == "support" || i.type == "collector"))
                row({InternalCaption(i.type),
                     QString::number(i.bed),
                     {},
                     num(i.height, 2),
                     num(i.pressureDrop, 3),
                     {}});
    }
    row({Tr(QT_TRANSLATE_NOOP("Velk", "全塔(切线高度)")),
         {},
         {},
         num(design_->height, 2),
         num(design_->totalPressureDrop, 3),
         {}});
    table_->resizeColumnsToContents();
}

void ColumnDesignPage::showEvent(QShowEvent* e)
{
    refresh();
    QWidget::showEvent(e);
}

void ColumnDesignPage::changeEvent(QEvent* e)
{
    // The table's texts are made from parts: redone in the new language.
    if (e->type() == QEvent::LanguageChange) refresh();
    QWidget::changeEvent(e);
}
