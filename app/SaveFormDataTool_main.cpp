// velk-project: converts a project between the stored forms and fills in
// the project information. Used to make the example projects.
//
//   velk-project IN OUT [--form compressed|plain|legacy] [BOX=TEXT]...
//
// IN is read as the Open command reads it (form records, else the legacy
// layout); BOX is one of the project text boxes (ProjectD, DevicenameD,
// DeviceNoD, ProjPD, Edit1..Edit4) or the comment CommentD, whose line
// breaks may be given as LF. Nothing is recalculated.
#include <iostream>
#include <string>

#include "CalcPage.h"
#include "Messages.h"
#include "ProjectCommands.h"
#include "SaveFormData.h"

namespace
{
int Usage(const std::string& why)
{
    std::cerr << "velk-project: " << why << "\n"
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

int main(int argc, char** argv)
{
    if (argc < 3) return Usage("IN and OUT are needed");
    const std::string in = argv[1], out = argv[2];
    std::string form = "compressed";
    CalcPage page;
    std::vector<std::pair<TTextModel*, std::string>> texts;
    for (int i = 3; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--form") {
            if (++i >= argc) return Usage("--form needs compressed, plain or legacy");
            form = argv[i];
            if (form != "compressed" && form != "plain" && form != "legacy")
                return Usage("unknown form '" + form + "'");
            continue;
        }
        const auto eq = a.find('=');
        TTextModel* box = eq == std::string::npos ? nullptr : page.TextBox(a.substr(0, eq));
        if (!box) return Usage("expected BOX=TEXT with a project text box, not '" + a + "'");
        texts.emplace_back(box, WithCrLf(a.substr(eq + 1)));
    }
    try {
        LoadProject(page, in);
        for (auto& [box, text] : texts)
            box->SetText(text);
        if (form == "legacy")
            WriteLegacyLayout(page, out);
        else
            WriteFormRecords(page, out, form == "plain" ? ProjectForm::Plain : ProjectForm::Compressed);
    } catch (const std::exception& e) {
        std::cerr << "velk-project: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
