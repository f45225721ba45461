// The user's catalogue on the constants page: choosing its file, adding,
// editing and removing its rows. Every change is checked whole and saved
// before the catalogue takes it.
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <algorithm>
#include <optional>

#include "CalcPage.h"
#include "ConstantsPage.h"
#include "Messages.h"
#include "PackingSelector.h"
#include "TrNoop.h"
#include "UiPrompts.h"
#include "UserCatalogueFile.h"
#include "UserPackingDialog.h"

namespace
{
QString T(const char* text)
{
    return QCoreApplication::translate("Velk", text);
}

// The row of the user packing the page computes with, when it has one.
std::optional<CatalogueRow> PageUserRow(const CalcPage& page)
{
    const std::string name = page.Combo("PTD")->Text();
    for (const CatalogueRow& row : UserPackings())
        if (row[ColType] == name) return row;
    return std::nullopt;
}
} // namespace

void TConstantsPage::ShowFaults(const std::string& path, const std::vector<UserCatalogueError>& errors)
{
    const QString head = T(QT_TRANSLATE_NOOP("Velk", "用户填料库“%1”有错误，未读入，填料库保持不变："))
                             .arg(QString::fromStdString(path));
    ShowMessage(MsgKind::Error,
                head.toStdString() + "\n" +
                    UserCatalogueErrorsText(
                        errors, QFileInfo(QString::fromStdString(path)).fileName().toStdString()));
}

bool TConstantsPage::OpenCatalogue(const std::string& path)
{
    UserCatalogue c;
    if (QFileInfo::exists(QString::fromStdString(path))) c = ReadUserCatalogueFile(path);
    if (!c.errors.empty()) {
        ShowFaults(path, c.errors);
        return false;
    }
    // A project computing with a user packing keeps it, as opening the project would.
    if (const auto used = PageUserRow(page_)) {
        const bool listed = std::any_of(c.rows.begin(), c.rows.end(), [&](const CatalogueRow& r) {
            return r[ColType] == (*used)[ColType];
        });
        if (!listed) c.rows.push_back(*used);
    }
    const auto before = PageUserRow(page_);
    SetUserPackings(std::move(c.rows));
    path_ = path;
    RefreshPackingItems(*page_.Combo("PTD"));
    ShowFileName();
    ShowRows();
    if (before && PageUserRow(page_) != before) emit PackingChanged();
    return true;
}

bool TConstantsPage::Commit(const std::vector<CatalogueRow>& rows, const std::string& renamedFrom,
                            const std::string& renamedTo)
{
    const auto before = PageUserRow(page_);
    try {
        if (const auto errors = CommitUserPackings(path_, rows); !errors.empty()) {
            QStringList lines;
            for (const UserCatalogueError& e : errors)
                lines << QString::fromStdString(e.what);
            ShowMessage(MsgKind::Error, lines.join(QLatin1Char('\n')).toStdString());
            return false;
        }
    } catch (const EInOutError& e) {
        ShowMessage(MsgKind::Error, T(QT_TRANSLATE_NOOP("Velk", "无法保存用户填料库“%1”：%2"))
                                        .arg(QString::fromStdString(path_), QString::fromStdString(e.what()))
                                        .toStdString());
        return false;
    }
    TComboModel& selector = *page_.Combo("PTD");
    const std::string selected = selector.Text();
    RefreshPackingItems(selector);
    // The edited row was the page's packing: the page follows its new name.
    if (!renamedFrom.empty() && renamedFrom == selected) SelectPackingByName(selector, renamedTo);
    ShowRows();
    if (before && PageUserRow(page_) != before) emit PackingChanged();
    return true;
}

bool TConstantsPage::StoreRow(int index, const CatalogueRow& row)
{
    std::vector<CatalogueRow> rows = UserPackings();
    if (index >= static_cast<int>(rows.size())) return false;
    std::string renamedFrom;
    if (index < 0) {
        rows.push_back(row);
    } else {
        renamedFrom = rows[index][ColType];
        rows[index] = row;
    }
    return Commit(rows, renamedFrom, row[ColType]);
}

bool TConstantsPage::RemoveRow(int index)
{
    std::vector<CatalogueRow> rows = UserPackings();
    if (index < 0 || index >= static_cast<int>(rows.size())) return false;
    if (rows[index][ColType] == page_.Combo("PTD")->Text()) {
        ShowMessage(MsgKind::Warning, T(QT_TRANSLATE_NOOP("Velk", "计算页正在使用填料“%1”，不能删除。"))
                                          .arg(QString::fromStdString(rows[index][ColType]))
                                          .toStdString());
        return false;
    }
    rows.erase(rows.begin() + index);
    return Commit(rows, {}, {});
}

void TConstantsPage::EditRow(int index)
{
    const std::vector<CatalogueRow> rows = UserPackings();
    if (index >= static_cast<int>(rows.size())) return;
    std::vector<CatalogueRow> others;
    for (int i = 0; i < static_cast<int>(rows.size()); ++i)
        if (i != index) others.push_back(rows[i]);
    TUserPackingDialog dialog(index < 0 ? CatalogueRow{} : rows[index], std::move(others), this);
    UiPrompts* prompts = prompts_ ? prompts_() : nullptr;
    const int result = prompts ? prompts->execDialog(&dialog) : dialog.exec();
    if (result == QDialog::Accepted) StoreRow(index, dialog.Row());
}

void TConstantsPage::ChooseFile()
{
    QFileDialog dialog(this, T(QT_TRANSLATE_NOOP("Velk", "选择用户填料库")),
                       QFileInfo(QString::fromStdString(path_)).absolutePath(),
                       T(QT_TRANSLATE_NOOP("Velk", "CSV 文件 (*.csv)")));
    dialog.setObjectName(QStringLiteral("UserPackingsFileDialog"));
    // A new name starts an empty catalogue, which the first row added writes.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    UiPrompts* prompts = prompts_ ? prompts_() : nullptr;
    const int result = prompts ? prompts->execDialog(&dialog) : dialog.exec();
    if (result == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        OpenCatalogue(dialog.selectedFiles().first().toStdString());
}
