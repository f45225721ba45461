#include "TypedInputCheck.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <cmath>

#include "Controls.h"
#include "EditD.h"
#include "Messages.h"
#include "TextToFloat.h"

namespace {
QString T(const char* s) { return QCoreApplication::translate("Velk", s); }

// The caption, quoted the way the interface language quotes.
QString Quoted(const char* caption) { return QCoreApplication::translate("Velk", "“%1”").arg(T(caption)); }

bool ParseNumber(const QString& text, double& value)
{
    try {
        value = TextToFloat(text.trimmed().toStdString());
    } catch (const std::exception&) {
        return false;
    }
    return std::isfinite(value);
}

// Focus that leaves for a message box or a menu is no exit from the field.
bool IsExit(const QEvent* e)
{
    const auto reason = static_cast<const QFocusEvent*>(e)->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}
} // namespace

TypedCheck CheckStagesText(const QString& text)
{
    double n = 0;
    if (text.trimmed().isEmpty() || (ParseNumber(text, n) && n >= 1 && n <= 1e6 && std::nearbyint(n) == n))
        return {};
    return {TypedCheck::Invalid,
            QCoreApplication::translate("Velk", "%1须为不小于1的整数。").arg(Quoted(QT_TRANSLATE_NOOP("Velk", "理论板数")))};
}

TypedCheck CheckFloodPercentText(const QString& text)
{
    const QString caption = Quoted(QT_TRANSLATE_NOOP("Velk", "泛点预设"));
    double f = 0;
    if (!ParseNumber(text, f) || f <= 0)
        return {TypedCheck::Invalid, QCoreApplication::translate("Velk", "%1须为大于0且不超过100的百分数。").arg(caption)};
    if (f > 100)
        return {TypedCheck::AskHigh,
                QCoreApplication::translate("Velk", "%1为%2%，超过100%：设计气速将高于泛点气速。是否保留该值？").arg(caption, text.trimmed())};
    return {};
}

TTypedInputGuard::TTypedInputGuard(QWidget* stages, TEditD* stagesModel, QWidget* flood, TComboModel* floodModel,
                                   QObject* parent)
    : QObject(parent), stages_(stages), flood_(flood), stagesModel_(stagesModel), floodModel_(floodModel)
{
    AskKeepHigh = [this](const QString& message) {
        return QMessageBox::question(flood_, QCoreApplication::translate("Velk", "泛点预设"), message) == QMessageBox::Yes;
    };
    if (stages_)
        stages_->installEventFilter(this);
    if (flood_)
        flood_->installEventFilter(this);
    floodBefore_ = QString::fromStdString(floodModel_->Text());
}

bool TTypedInputGuard::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && watched == flood_)
        floodBefore_ = QString::fromStdString(floodModel_->Text());
    if (event->type() != QEvent::FocusOut || !IsExit(event))
        return false;
    // Returning true keeps the field's own exit (the recalculation) from
    // running with a refused value.
    if (watched == stages_)
        return !StagesLeft();
    if (watched == flood_)
        return !FloodLeft();
    return false;
}

bool TTypedInputGuard::StagesLeft()
{
    const TypedCheck c = CheckStagesText(QString::fromStdString(stagesModel_->Text()));
    if (c.verdict == TypedCheck::Ok)
        return true;
    Refuse(stages_, c.message);
    return false;
}

bool TTypedInputGuard::FloodLeft()
{
    const QString text = QString::fromStdString(floodModel_->Text());
    const TypedCheck c = CheckFloodPercentText(text);
    if (c.verdict == TypedCheck::Invalid) {
        Refuse(flood_, c.message);
        return false;
    }
    if (c.verdict == TypedCheck::AskHigh && text != keptHigh_) {
        if (AskKeepHigh(c.message)) {
            keptHigh_ = text;
        } else if (floodBefore_ != text) {
            // Back to the percentage the field had; the change recalculates.
            floodModel_->UserEdit(floodBefore_.toStdString());
        }
    }
    floodBefore_ = QString::fromStdString(floodModel_->Text());
    return true;
}

void TTypedInputGuard::Refuse(QWidget* w, const QString& message)
{
    ShowMessage(MsgKind::Warning, message.toStdString());
    // Back into the field once the focus change that left it is over.
    QTimer::singleShot(0, w, [w] {
        w->setFocus(Qt::OtherFocusReason);
        if (auto* edit = qobject_cast<QLineEdit*>(w))
            edit->selectAll();
    });
}
