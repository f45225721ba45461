#include "HysysImportProgress.h"

#include <QCoreApplication>
#include <QProgressDialog>

#include "HysysInterface.h"
#include "Messages.h"

HysysImportProgress::HysysImportProgress(QWidget* parent)
    : dialog_(std::make_unique<QProgressDialog>(QCoreApplication::translate("Velk", "正在从 HYSYS 读取数据…"),
                                                QCoreApplication::translate("Velk", "取消"), 0, 0, parent))
{
    dialog_->setWindowTitle(QCoreApplication::translate("Velk", "连接Hysys"));
    dialog_->setWindowModality(Qt::WindowModal);
    // A quick import shows nothing.
    dialog_->setMinimumDuration(500);
    dialog_->setAutoReset(false);
    dialog_->setAutoClose(false);
    sinceEvents_.start();
    SetHysysProgress([this](int done, int total) { Update(done, total); });
}

HysysImportProgress::~HysysImportProgress()
{
    SetHysysProgress({});
}

void HysysImportProgress::Update(int done, int total)
{
    // A quick import runs straight through; events are let in only every
    // few tens of milliseconds of a slow one.
    if (sinceEvents_.elapsed() < kEventIntervalMs) return;
    sinceEvents_.restart();
    if (dialog_->maximum() != total) dialog_->setMaximum(total);
    // setValue also shows the dialog once the minimum duration has passed.
    dialog_->setValue(done < total ? done : 0);
    QCoreApplication::processEvents();
    if (dialog_->wasCanceled()) throw EAbort();
}
