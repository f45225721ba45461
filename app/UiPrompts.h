#pragma once
// The questions and file dialogs the commands ask. The window uses the real
// dialogs; tests install answers of their own.

#include <QString>

class QWidget;

class UiPrompts {
public:
    enum class Answer { Yes, No, Cancel };
    virtual ~UiPrompts() = default;
    virtual Answer askYesNoCancel(QWidget* parent, const QString& title, const QString& text);
    // The chosen path, or an empty string when the user cancelled.
    virtual QString askSaveFileName(QWidget* parent, const QString& title, const QString& dir,
                                    const QString& fileName);
    virtual QString askOpenFileName(QWidget* parent, const QString& dir);
    virtual void information(QWidget* parent, const QString& title, const QString& text);
    // Runs a modal dialog; tests may answer it without showing it.
    virtual int execDialog(class QDialog* dialog);
};

// The project file filter of the file dialogs.
QString ProjectFileFilter();
