#pragma once
// Widgets bound to the headless control models: the model holds the state,
// the widget shows it and hands user input back. Focus loss runs the
// model's exit handler, as a control's OnExit did.

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "ComboBoxU.h"
#include "Controls.h"
#include "EditD.h"

// Maps a Windows colour value to a Qt colour; system colours take the
// palette's role.
QColor ToQColor(TColor c, const QPalette& palette);

// Runs an event handler of a model; an error ends in the default error report.
void RunReported(const std::function<void()>& handler);

// Keeps a widget subscribed to its model for the widget's lifetime.
class ModelBinding {
public:
    ModelBinding(TControl* model, std::function<void()> refresh);
    ~ModelBinding();
    ModelBinding(const ModelBinding&) = delete;
    ModelBinding& operator=(const ModelBinding&) = delete;

private:
    TControl* model_;
    int id_;
};

class TEditDWidget : public QLineEdit {
    Q_OBJECT
public:
    TEditDWidget(TEditD* model, QWidget* parent = nullptr);
    TEditD* model() const { return model_; }
    void refresh();
    // Out of date: grey italic text and a hint saying why.
    void setStale(bool stale);
    bool isStale() const { return stale_; }
    // Beyond the model: the text stays, struck through in dark red, with a
    // hint that it is no result to use.
    void setInvalid(bool invalid);
    bool isInvalid() const { return invalid_; }
    // A warning names this field: a frame in its severity's colour (the
    // equation colour of the background stays); an invalid colour for none.
    void setWarningColour(const QColor& c);
    QColor warningColour() const { return warningColour_; }

protected:
    void paintEvent(QPaintEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    QColor textColour() const;
    void updateMarks();
    void PaintMarks();

    TEditD* model_;
    ModelBinding binding_;
    bool updating_ = false;
    bool stale_ = false;
    bool invalid_ = false;
    QColor warningColour_;
};

class TComboBoxUWidget : public QComboBox {
    Q_OBJECT
public:
    TComboBoxUWidget(TComboBoxU* model, QWidget* parent = nullptr);
    TComboBoxU* model() const { return model_; }
    void refresh();
    // The width that shows this box's longest unit name whole in the
    // current font (at least the 70 pixels of the original layout).
    int UnitBoxWidth() const;

protected:
    void changeEvent(QEvent* e) override;

private:
    void FitWidth();

    TComboBoxU* model_;
    ModelBinding binding_;
    bool updating_ = false;
};

class TComboWidget : public QComboBox {
    Q_OBJECT
public:
    TComboWidget(TComboModel* model, QWidget* parent = nullptr);
    TComboModel* model() const { return model_; }
    void refresh();

protected:
    void focusOutEvent(QFocusEvent* e) override;

private:
    TComboModel* model_;
    ModelBinding binding_;
    bool updating_ = false;
};

class TCheckWidget : public QCheckBox {
    Q_OBJECT
public:
    TCheckWidget(TCheckModel* model, const QString& caption, QWidget* parent = nullptr);
    void refresh();

private:
    TCheckModel* model_;
    ModelBinding binding_;
    bool updating_ = false;
};

class TTextWidget : public QLineEdit {
    Q_OBJECT
public:
    TTextWidget(TTextModel* model, QWidget* parent = nullptr);
    TTextModel* model() const { return model_; }
    void refresh();

protected:
    void focusOutEvent(QFocusEvent* e) override;

private:
    TTextModel* model_;
    ModelBinding binding_;
    bool updating_ = false;
};

// The multi-line comment box; the model keeps CR LF line breaks.
class TCommentWidget : public QPlainTextEdit {
    Q_OBJECT
public:
    TCommentWidget(TTextModel* model, QWidget* parent = nullptr);
    TTextModel* model() const { return model_; }
    void refresh();

protected:
    void focusOutEvent(QFocusEvent* e) override;

private:
    TTextModel* model_;
    ModelBinding binding_;
    bool updating_ = false;
};

// The model behind a value, drop-down, text or comment widget; nullptr for
// any other widget.
TControl* BoundModel(QWidget* w);
