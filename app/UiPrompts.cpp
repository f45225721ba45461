#include "UiPrompts.h"

#include <QCoreApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

QString ProjectFileFilter() { return QCoreApplication::translate("Velk", "波纹规整填料塔流体力学(*.vel)"); }

UiPrompts::Answer UiPrompts::askYesNoCancel(QWidget* parent, const QString& title, const QString& text)
{
    const auto b = QMessageBox::warning(parent, title, text,
                                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (b == QMessageBox::Yes)
        return Answer::Yes;
    if (b == QMessageBox::No)
        return Answer::No;
    return Answer::Cancel;
}

QString UiPrompts::askSaveFileName(QWidget* parent, const QString& title, const QString& dir,
                                   const QString& fileName)
{
    QFileDialog dlg(parent, title, dir, ProjectFileFilter());
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setDefaultSuffix(QStringLiteral("vel"));
    dlg.selectFile(fileName);
    // Asks before overwriting an existing file (the dialog's default).
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return {};
    return dlg.selectedFiles().first();
}

QString UiPrompts::askOpenFileName(QWidget* parent, const QString& dir)
{
    QFileDialog dlg(parent, QString(), dir, ProjectFileFilter());
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setFileMode(QFileDialog::ExistingFile);
    dlg.setDefaultSuffix(QStringLiteral("vel"));
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return {};
    return dlg.selectedFiles().first();
}

void UiPrompts::information(QWidget* parent, const QString& title, const QString& text)
{
    QMessageBox::information(parent, title, text);
}

int UiPrompts::execDialog(QDialog* dialog) { return dialog->exec(); }
