#include "HysysImportProgress.h"

#include <QCoreApplication>
#include <QProgressDialog>

#include <algorithm>

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
    sinceStart_.start();
    SetHysysProgress([this](int done, int total) { Update(done, total); });
    messages_.previous = GetMessageSink();
    SetMessageSink(&messages_);
}

HysysImportProgress::HysysImportProgress(QWidget* parent, int columnDeadlineMs) : HysysImportProgress(parent)
{
    columnDeadlineMs_ = columnDeadlineMs > 0 ? columnDeadlineMs : kHysysColumnDeadlineMs;
    // The stages come one by one, each with its own steps: the bar shows the
    // time used of the bound, which is what decides when the import ends.
    dialog_->setMaximum(columnDeadlineMs_ / 1000);
    ShowColumnTime();
}

HysysImportProgress::~HysysImportProgress()
{
    SetHysysProgress({});
    dialog_.reset();
    SetMessageSink(messages_.previous);
    try {
        for (const RecordedMessage& m : messages_.held)
            ShowMessage(m.kind, m.text, m.title);
    } catch (...) {
        // A destructor may run while an error unwinds; the message is lost
        // rather than the program.
    }
}

void HysysImportProgress::ShowColumnTime()
{
    const qint64 seconds = sinceStart_.elapsed() / 1000;
    dialog_->setLabelText(
        QCoreApplication::translate("Velk", "正在从 HYSYS 读取整塔数据…已用 %1 秒，最多 %2 秒。")
            .arg(seconds)
            .arg(columnDeadlineMs_ / 1000));
    dialog_->setValue(static_cast<int>(std::min<qint64>(seconds, dialog_->maximum())));
}

QString HysysImportProgress::ColumnTimeOutText() const
{
    return QCoreApplication::translate("Velk", "HYSYS 整塔数据导入超过 %1 秒，已停止。")
        .arg(columnDeadlineMs_ / 1000.0);
}

void HysysImportProgress::Update(int done, int total)
{
    // Checked at every step and while every call waits, so that a slow
    // HYSYS cannot stretch the whole column past its bound by one stage.
    if (columnDeadlineMs_ > 0 && sinceStart_.elapsed() > columnDeadlineMs_) {
        timedOut_ = true;
        throw EAbort();
    }
    // A quick import runs straight through; events are let in only every
    // few tens of milliseconds of a slow one.
    if (sinceEvents_.elapsed() < kEventIntervalMs) return;
    sinceEvents_.restart();
    if (columnDeadlineMs_ > 0) {
        ShowColumnTime();
    } else {
        if (dialog_->maximum() != total) dialog_->setMaximum(total);
        // setValue also shows the dialog once the minimum duration has passed.
        dialog_->setValue(done < total ? done : 0);
    }
    QCoreApplication::processEvents();
    if (dialog_->wasCanceled()) throw EAbort();
}
