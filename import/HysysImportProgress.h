#pragma once
// While a HYSYS import runs, a progress dialog with Cancel over the window:
// the window keeps repainting, and Cancel ends the import silently (the list
// keeps what it held). Installed for the lifetime of the object.
//
// A message shown while the import runs (HYSYS not answering, a time-out)
// waits until the progress dialog is gone: a message box under the progress
// dialog would wait on it, and the dialog's own timer could open it over the
// message. The object closes the dialog first, then shows the messages in
// their order.
//
// A whole-column import reads one stage record after the other, each with
// its own bound (kHysysImportDeadlineMs); the object made for it also bounds
// all of them together and shows the time used against that bound.

#include <QElapsedTimer>

#include <memory>
#include <vector>

#include "Messages.h"

class QProgressDialog;
class QString;
class QWidget;

// The bound of a whole-column import, all its stages together
// (docs/simulator-import.md says where it comes from).
inline constexpr int kHysysColumnDeadlineMs = 120000;

class HysysImportProgress
{
public:
    explicit HysysImportProgress(QWidget* parent);
    // A whole-column import: past columnDeadlineMs in all it ends with an error.
    HysysImportProgress(QWidget* parent, int columnDeadlineMs);
    ~HysysImportProgress();
    HysysImportProgress(const HysysImportProgress&) = delete;
    HysysImportProgress& operator=(const HysysImportProgress&) = delete;

    QProgressDialog* Dialog() const { return dialog_.get(); }
    // The whole-column bound ended the import (it ends as a cancel does,
    // silently; the caller shows ColumnTimeOutText once it has unwound).
    bool TimedOut() const { return timedOut_; }
    QString ColumnTimeOutText() const;

private:
    void Update(int done, int total);
    void ShowColumnTime();

    static constexpr qint64 kEventIntervalMs = 40;
    // Keeps the messages of the import until the dialog is gone.
    class HeldMessages : public MessageSink
    {
    public:
        void showMessage(MsgKind kind, const std::string& text, const std::string& title) override
        {
            held.push_back({kind, text, title});
        }
        std::vector<RecordedMessage> held;
        MessageSink* previous = nullptr;
    };

    HeldMessages messages_;
    std::unique_ptr<QProgressDialog> dialog_;
    QElapsedTimer sinceEvents_;
    QElapsedTimer sinceStart_;
    int columnDeadlineMs_ = 0; // 0: a single import, bounded by the interface alone
    bool timedOut_ = false;
};
