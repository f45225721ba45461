#include "CalcPage.h"
#include "Messages.h"
#include "ProjectCommands.h"
#include "SaveFormData.h"
#include "VelkCalcExtras.h"

bool VelkCalcLoadProject(CalcPage& page, const std::string& path, std::string& kept, std::string& why)
{
    try {
        LoadProject(page, path, nullptr, &kept);
        return true;
    } catch (const EInOutError& e) {
        why = e.what(); // names the file already
    } catch (const EAbort&) {
        why = "project \"" + path + "\" could not be read";
    } catch (const std::exception& e) {
        why = "project \"" + path + "\": " + e.what();
    }
    return false;
}

bool VelkCalcSaveProject(CalcPage& page, const std::string& path, const std::string& kept, std::string& why)
{
    try {
        WriteFormRecords(page, path, ProjectForm::Compressed, kept);
        return true;
    } catch (const std::exception& e) {
        why = e.what();
    }
    return false;
}
