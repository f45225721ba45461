#include "BoundWidgets.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QTimer>
#include <algorithm>

#include "Language.h"
#include "Messages.h"
#include "ReadableColour.h"

QColor ToQColor(TColor c, const QPalette& palette)
{
    if (c == clWindow)
        return palette.color(QPalette::Active, QPalette::Base);
    if (c == clBtnFace)
        return palette.color(QPalette::Active, QPalette::Button);
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

void RunReported(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const std::exception& e) {
        ReportError(e);
    }
}

namespace {
// Focus that leaves for another window (a message box, a menu) is no exit
// from the control.
bool IsExit(const QFocusEvent* e)
{
    return e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason;
}

QString Q(const std::string& s) { return QString::fromStdString(s); }

// Runs the model's exit handler when the focus went to another control.
void ExitOnFocusOut(const QFocusEvent* e, TControl* model)
{
    if (IsExit(e))
        RunReported([model] { model->DoExit(); });
}
} // namespace

ModelBinding::ModelBinding(TControl* model, std::function<void()> refresh)
    : model_(model), id_(model->Subscribe(std::move(refresh)))
{
}

ModelBinding::~ModelBinding() { model_->Unsubscribe(id_); }

// ---------------------------------------------------------------- TEditDWidget

TEditDWidget::TEditDWidget(TEditD* model, QWidget* parent)
    : QLineEdit(parent), model_(model), binding_(model, [this] { refresh(); })
{
    setObjectName(Q(model->Name()));
    model_->OnFocusRequest = [this](TEditD*) {
        setFocus(Qt::OtherFocusReason);
        selectAll();
    };
    connect(this, &QLineEdit::textEdited, this, [this](const QString& t) {
        updating_ = true;
        RunReported([&] { model_->SetText(t.toStdString()); });
        updating_ = false;
    });
    refresh();
}

void TEditDWidget::refresh()
{
    if (!updating_) {
        const QString t = Q(model_->Text());
        if (text() != t)
            setText(t);
        if (model_->Text() == " " && hasFocus())
            selectAll();
    }
    setReadOnly(model_->ReadOnly());
    setEnabled(model_->Enabled());
    // Must-input fields have a flat border: no sunken frame, one plain line
    // drawn in paintEvent.
    setFrame(model_->Ctl3D());
    setCursor(model_->Cursor() == TCursor::No ? Qt::ForbiddenCursor : Qt::IBeamCursor);
    QPalette p = palette();
    p.setColor(QPalette::Base, ToQColor(model_->Color(), QApplication::palette()));
    p.setColor(QPalette::Text, textColour());
    setPalette(p);
    update();
}

QColor TEditDWidget::textColour() const
{
    const QColor wanted = stale_     ? QColor(128, 128, 128)
                          : invalid_ ? QColor(160, 0, 0)
                                     : ToQColor(model_->FontColor(), QApplication::palette());
    // The equation colour stays; the text gives way where it would vanish on it.
    return ReadableTextColour(ToQColor(model_->Color(), QApplication::palette()), wanted);
}

void TEditDWidget::setStale(bool stale)
{
    // The hint in the current language, also when only the language changed.
    if (stale == stale_) {
        updateMarks();
        return;
    }
    stale_ = stale;
    updateMarks();
    refresh();
}

void TEditDWidget::setInvalid(bool invalid)
{
    if (invalid == invalid_) {
        updateMarks();
        return;
    }
    invalid_ = invalid;
    updateMarks();
    refresh();
}

void TEditDWidget::setWarningColour(const QColor& c)
{
    if (c == warningColour_)
        return;
    warningColour_ = c;
    update();
}

void TEditDWidget::updateMarks()
{
    setToolTip(stale_     ? QCoreApplication::translate("Velk", "该值已过时：它依赖的输入已清空或改变，未重新计算。")
               : invalid_ ? QCoreApplication::translate(
                                "Velk", "该值超出计算模型的适用范围，不是可用的结果，也不参与其他数值的计算（原因见操作核算的警告）。")
                          : QString());
    QFont f = font();
    f.setItalic(stale_);
    f.setStrikeOut(invalid_ && !stale_);
    setFont(f);
}

void TEditDWidget::paintEvent(QPaintEvent* e)
{
    QLineEdit::paintEvent(e);
    if (!model_->Ctl3D()) {
        QPainter border(this);
        border.setPen(QColor(128, 128, 128));
        border.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    PaintMarks();
    if (hasFocus())
        return; // while typing the raw text stands
    const QString shown = Q(model_->ShownString());
    if (shown == text())
        return;
    QPainter painter(this);
    QStyleOptionFrame opt;
    initStyleOption(&opt);
    const QRect client = style()->subElementRect(QStyle::SE_LineEditContents, &opt, this);
    const QColor bg = ToQColor(model_->Color(), QApplication::palette());
    painter.fillRect(client.adjusted(1, 1, -1, -1), bg);
    painter.setPen(isEnabled() ? textColour() : QColor(128, 128, 128));
    painter.setFont(font());
    painter.drawText(client.adjusted(2, 0, -1, 0), Qt::AlignVCenter | Qt::AlignLeft, shown);
}

void TEditDWidget::PaintMarks()
{
    // Out of date: a dashed frame, so the mark does not rest on a shade of
    // grey alone; a warning: a two-pixel frame in the severity's colour.
    if (!stale_ && !warningColour_.isValid())
        return;
    QPainter p(this);
    if (warningColour_.isValid()) {
        p.setPen(QPen(warningColour_, 2));
        p.drawRect(rect().adjusted(1, 1, -1, -1));
    }
    if (stale_) {
        p.setPen(QPen(QColor(96, 96, 96), 1, Qt::DashLine));
        const int in = warningColour_.isValid() ? 3 : 0;
        p.drawRect(rect().adjusted(in, in, -1 - in, -1 - in));
    }
}

void TEditDWidget::focusOutEvent(QFocusEvent* e)
{
    QLineEdit::focusOutEvent(e);
    ExitOnFocusOut(e, model_);
    update();
}

// ------------------------------------------------------------ TComboBoxUWidget

TComboBoxUWidget::TComboBoxUWidget(TComboBoxU* model, QWidget* parent)
    : QComboBox(parent), model_(model), binding_(model, [this] { refresh(); })
{
    setObjectName(Q(model->Name()));
    // Only the unit name is in sight; the factor stays in the model.
    for (const auto& item : model_->Items())
        addItem(TLanguage::Tr(TComboBoxU::ItemUnit(item)));
    setFocusPolicy(Qt::ClickFocus); // not a tab stop
    FitWidth();
    connect(this, &QComboBox::activated, this, [this](int i) {
        updating_ = true;
        RunReported([&] { model_->SetItemIndex(i); });
        updating_ = false;
    });
    refresh();
}

int TComboBoxUWidget::UnitBoxWidth() const
{
    int text = 0;
    for (int i = 0; i < count(); ++i)
        text = std::max(text, fontMetrics().horizontalAdvance(itemText(i)));
    QStyleOptionComboBox opt;
    opt.initFrom(this);
    const QSize box = style()->sizeFromContents(QStyle::CT_ComboBox, &opt, QSize(text, fontMetrics().height()), this);
    return std::max(70, box.width());
}

void TComboBoxUWidget::FitWidth()
{
    // Every unit box takes the widest width any of them needs, so that the
    // unit columns line up; the boxes measured before a wider one catch up
    // once the event loop runs again.
    static int widest = 70;
    widest = std::max(widest, UnitBoxWidth());
    setFixedWidth(widest);
    QTimer::singleShot(0, this, [this] { setFixedWidth(widest); });
}

void TComboBoxUWidget::changeEvent(QEvent* e)
{
    QComboBox::changeEvent(e);
    // Another language or font: other widths.
    if (e->type() == QEvent::LanguageChange || e->type() == QEvent::FontChange) FitWidth();
}

void TComboBoxUWidget::refresh()
{
    if (!updating_ && currentIndex() != model_->ItemIndex())
        setCurrentIndex(model_->ItemIndex());
    setEnabled(model_->Enabled());
}

// ---------------------------------------------------------------- TComboWidget

TComboWidget::TComboWidget(TComboModel* model, QWidget* parent)
    : QComboBox(parent), model_(model), binding_(model, [this] { refresh(); })
{
    setObjectName(Q(model->Name()));
    setEditable(model_->Editable());
    for (const auto& item : model_->Items())
        addItem(TLanguage::Tr(item));
    connect(this, &QComboBox::activated, this, [this](int i) {
        if (updating_)
            return;
        updating_ = true;
        RunReported([&] {
            if (model_->Editable())
                model_->UserEdit(model_->Items()[i]);
            else
                model_->UserSelect(i);
        });
        updating_ = false;
    });
    if (model_->Editable()) {
        connect(this, &QComboBox::editTextChanged, this, [this](const QString& t) {
            if (updating_)
                return;
            updating_ = true;
            RunReported([&] { model_->UserEdit(t.toStdString()); });
            updating_ = false;
        });
    }
    refresh();
}

void TComboWidget::refresh()
{
    if (!updating_) {
        updating_ = true;
        if (model_->Editable()) {
            if (currentText() != Q(model_->Text()))
                setEditText(Q(model_->Text()));
        } else if (currentIndex() != model_->ItemIndex()) {
            setCurrentIndex(model_->ItemIndex());
        }
        updating_ = false;
    }
    setEnabled(model_->Enabled());
}

void TComboWidget::focusOutEvent(QFocusEvent* e)
{
    QComboBox::focusOutEvent(e);
    ExitOnFocusOut(e, model_);
}

// ---------------------------------------------------------------- TCheckWidget

TCheckWidget::TCheckWidget(TCheckModel* model, const QString& caption, QWidget* parent)
    : QCheckBox(caption, parent), model_(model), binding_(model, [this] { refresh(); })
{
    setObjectName(Q(model->Name()));
    connect(this, &QCheckBox::clicked, this, [this] {
        updating_ = true;
        RunReported([&] { model_->UserClick(); });
        updating_ = false;
        refresh();
    });
    refresh();
}

void TCheckWidget::refresh()
{
    if (!updating_ && isChecked() != model_->Checked())
        setChecked(model_->Checked());
    setEnabled(model_->Enabled());
}

// ----------------------------------------------------------------- TTextWidget

TTextWidget::TTextWidget(TTextModel* model, QWidget* parent)
    : QLineEdit(parent), model_(model), binding_(model, [this] { refresh(); })
{
    setObjectName(Q(model->Name()));
    connect(this, &QLineEdit::textEdited, this, [this](const QString& t) {
        updating_ = true;
        RunReported([&] { model_->SetText(t.toStdString()); });
        updating_ = false;
    });
    refresh();
}

void TTextWidget::refresh()
{
    if (!updating_ && text() != Q(model_->Text()))
        setText(Q(model_->Text()));
    setEnabled(model_->Enabled());
}

void TTextWidget::focusOutEvent(QFocusEvent* e)
{
    QLineEdit::focusOutEvent(e);
    ExitOnFocusOut(e, model_);
}

// -------------------------------------------------------------- TCommentWidget

TCommentWidget::TCommentWidget(TTextModel* model, QWidget* parent)
    : QPlainTextEdit(parent), model_(model), binding_(model, [this] { refresh(); })
{
    setObjectName(Q(model->Name()));
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (updating_)
            return;
        updating_ = true;
        QString t = toPlainText();
        t.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
        RunReported([&] { model_->SetText(t.toStdString()); });
        updating_ = false;
    });
    refresh();
}

void TCommentWidget::refresh()
{
    if (updating_)
        return;
    QString t = Q(model_->Text());
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (toPlainText() != t) {
        updating_ = true;
        setPlainText(t);
        updating_ = false;
    }
    setEnabled(model_->Enabled());
}

void TCommentWidget::focusOutEvent(QFocusEvent* e)
{
    QPlainTextEdit::focusOutEvent(e);
    ExitOnFocusOut(e, model_);
}

TControl* BoundModel(QWidget* w)
{
    if (auto* e = qobject_cast<TEditDWidget*>(w))
        return e->model();
    if (auto* c = qobject_cast<TComboWidget*>(w))
        return c->model();
    if (auto* t = qobject_cast<TTextWidget*>(w))
        return t->model();
    if (auto* m = qobject_cast<TCommentWidget*>(w))
        return m->model();
    return nullptr;
}
