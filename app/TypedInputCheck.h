#pragma once
// Checks of values typed into fields that the recalculation takes as they
// are: the number of stages and the design flooding percentage. The check
// runs when the field is left; a value that cannot be meant is refused with
// a message naming the field by its caption, and a flooding percentage above
// 100 is asked about once.

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QWidget;
class TComboModel;
class TEditD;

struct TypedCheck {
    enum Verdict { Ok, Invalid, AskHigh };
    Verdict verdict = Ok;
    QString message; // in the interface language; empty when Ok
};

// Empty (not given) or a whole number from 1.
TypedCheck CheckStagesText(const QString& text);
// A number above 0; above 100 it asks.
TypedCheck CheckFloodPercentText(const QString& text);

// Watches the two widgets; installed by the calculation page.
class TTypedInputGuard : public QObject {
    Q_OBJECT
public:
    TTypedInputGuard(QWidget* stages, TEditD* stagesModel, QWidget* flood, TComboModel* floodModel,
                     QObject* parent);
    // The question for a percentage above 100; true keeps the value. The
    // window asks with a message box, tests answer themselves.
    std::function<bool(const QString& message)> AskKeepHigh;

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool StagesLeft();
    bool FloodLeft();
    void Refuse(QWidget* w, const QString& message);

    QPointer<QWidget> stages_, flood_;
    TEditD* stagesModel_;
    TComboModel* floodModel_;
    QString floodBefore_;   // the percentage when the field was entered
    QString keptHigh_;      // a percentage above 100 the user has confirmed
};
