#pragma once
// The page "常量": the catalogue grid (the built-in rows in their pairs of
// colours, the user's rows apart below them) and the user's catalogue: the
// file it comes from, and adding, editing and removing its rows.

#include <QWidget>
#include <functional>
#include <string>

#include "PackingCatalogue.h"

class CalcPage;
class QLabel;
class QPushButton;
class QTableWidget;
class UiPrompts;

class TConstantsPage : public QWidget
{
    Q_OBJECT
public:
    TConstantsPage(CalcPage& page, std::function<UiPrompts*()> prompts, QWidget* parent = nullptr);
    ~TConstantsPage() override;

    QTableWidget* Grid() const { return grid_; }
    const std::string& FileName() const { return path_; }

    // Reads path as the user's catalogue. A file that has faults changes
    // nothing and its faults are shown; a file that does not exist is an
    // empty catalogue (the first row added makes it). A user packing the
    // calculation page uses stays while it is used. True when taken.
    bool OpenCatalogue(const std::string& path);
    // Adds (index -1) or replaces the user row at index (0 = the first user
    // row) and saves the file; false, nothing changed, with a message on faults.
    bool StoreRow(int index, const CatalogueRow& row);
    // Removes the user row at index and saves; the packing the calculation
    // page uses is not removed (message).
    bool RemoveRow(int index);
    // The user row of the grid's current row, or -1 for a built-in one.
    int CurrentUserRow() const;

    void ShowRows();
    void FitColumns();

signals:
    // The packing the page computes with changed its numbers or its name.
    void PackingChanged();

protected:
    void changeEvent(QEvent* e) override;

private:
    void ChooseFile();
    void EditRow(int index);
    bool Commit(const std::vector<CatalogueRow>& rows, const std::string& renamedFrom,
                const std::string& renamedTo);
    void ShowFileName();
    void ShowFaults(const std::string& path, const std::vector<struct UserCatalogueError>& errors);

    CalcPage& page_;
    std::function<UiPrompts*()> prompts_;
    QTableWidget* grid_ = nullptr;
    QLabel* file_ = nullptr;
    QPushButton *choose_ = nullptr, *add_ = nullptr, *edit_ = nullptr, *remove_ = nullptr;
    std::string path_;
    std::size_t shown_ = 0; // the catalogue generation the grid shows
    int subscription_ = -1;
};
