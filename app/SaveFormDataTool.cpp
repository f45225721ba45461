#include "SaveFormDataTool.h"

#include <ostream>

#include "CalcPage.h"
#include "Messages.h"
#include "ProjectCommands.h"
#include "SaveFormData.h"

namespace
{
int Usage(std::ostream& err, const std::string& why)
{
    err << "velk-project: " << why << "\n"
        << "Usage: velk-project IN OUT [--form compressed|plain|legacy] [BOX=TEXT]...\n";
    return 2;
}

std::string WithCrLf(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
        out += text[i];
    }
    return out;
}
} // namespace

int RunVelkProject(const std::vector<std::string>& args, std::ostream& err)
{
    if (args.size() < 2) return Usage(err, "IN and OUT are needed");
    const std::string in = args[0], out = args[1];
    const auto argc = args.size();
    std::string form = "compressed";
    CalcPage page;
    std::vector<std::pair<TTextModel*, std::string>> texts;
    for (std::size_t i = 2; i < argc; ++i) {
        const std::string a = args[i];
        if (a == "--form") {
            if (++i >= argc) return Usage(err, "--form needs compressed, plain or legacy");
            form = args[i];
            if (form != "compressed" && form != "plain" && form != "legacy")
                return Usage(err, "unknown form '" + form + "'");
            continue;
        }
        const auto eq = a.find('=');
        TTextModel* box = eq == std::string::npos ? nullptr : page.TextBox(a.substr(0, eq));
        if (!box) return Usage(err, "expected BOX=TEXT with a project text box, not '" + a + "'");
        texts.emplace_back(box, WithCrLf(a.substr(eq + 1)));
    }
    try {
        std::string kept;
        LoadProject(page, in, nullptr, &kept);
        for (auto& [box, text] : texts)
            box->SetText(text);
        if (form == "legacy" && !kept.empty()) {
            err << "velk-project: " << in
                << " holds records the legacy layout cannot hold (a column profile, or a later version's); "
                   "nothing written\n";
            return 1;
        }
        if (form == "legacy")
            WriteLegacyLayout(page, out);
        else
            WriteFormRecords(page, out, form == "plain" ? ProjectForm::Plain : ProjectForm::Compressed, kept);
    } catch (const EInOutError& e) {
        err << "velk-project: " << e.what() << "\n"; // names the file already
        return 1;
    } catch (const std::exception& e) {
        // Only reading IN throws anything else.
        err << "velk-project: " << in << ": " << e.what() << "\n";
        return 1;
    }
    return 0;
}
