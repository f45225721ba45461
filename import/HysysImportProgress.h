#pragma once
// While a HYSYS import runs, a progress dialog with Cancel over the window:
// the window keeps repainting, and Cancel ends the import silently (the list
// keeps what it held). Installed for the lifetime of the object.

#include <QElapsedTimer>

#include <memory>

class QProgressDialog;
class QWidget;

class HysysImportProgress
{
public:
    explicit HysysImportProgress(QWidget* parent);
    ~HysysImportProgress();
    HysysImportProgress(const HysysImportProgress&) = delete;
    HysysImportProgress& operator=(const HysysImportProgress&) = delete;

private:
    void Update(int done, int total);

    static constexpr qint64 kEventIntervalMs = 40;
    std::unique_ptr<QProgressDialog> dialog_;
    QElapsedTimer sinceEvents_;
};
