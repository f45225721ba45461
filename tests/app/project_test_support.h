#pragma once
// Helpers of the project-file tests: a scratch folder, file bytes, a full
// description of a page's state for comparisons, and a page state that
// differs from a fresh page in every stored property.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "CalcPage.h"

namespace projecttest
{

class TempDir
{
public:
    TempDir()
    {
        char tmpl[] = "/tmp/velk-project-test-XXXXXX";
        const char* d = mkdtemp(tmpl);
        if (!d) throw std::runtime_error("mkdtemp failed");
        path_ = d;
    }
    ~TempDir()
    {
        const std::string cmd = "rm -rf '" + path_ + "'";
        if (std::system(cmd.c_str()) != 0) std::fprintf(stderr, "could not remove %s\n", path_.c_str());
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::string DataFile(const std::string& name)
{
    return std::string(VELK_TEST_DATA_DIR) + "/" + name;
}

// Every stored property of every control, one line each; two pages with
// equal snapshots hold the same project.
inline std::vector<std::string> Snapshot(const CalcPage& page)
{
    std::vector<std::string> out;
    for (const TControl* c : page.Controls()) {
        std::ostringstream s;
        s << c->Name() << ": ";
        if (auto* f = dynamic_cast<const TEditD*>(c)) {
            char factor[40];
            std::snprintf(factor, sizeof factor, "%a", f->Exchange());
            s << "text=[" << f->Text() << "] exchange=" << factor << " ro=" << f->ReadOnly()
              << " color=" << f->Color();
        } else if (auto* u = dynamic_cast<const TComboBoxU*>(c)) {
            s << "unit=" << u->ItemIndex();
        } else if (auto* combo = dynamic_cast<const TComboModel*>(c)) {
            s << "index=" << combo->ItemIndex() << " text=[" << combo->Text() << "]";
        } else if (auto* t = dynamic_cast<const TTextModel*>(c)) {
            s << "text=[" << t->Text() << "]";
        } else if (auto* check = dynamic_cast<const TCheckModel*>(c)) {
            s << "checked=" << check->Checked();
        }
        out.push_back(s.str());
    }
    return out;
}

// A state unlike a fresh page's in every stored property: the last unit of
// every selector, a distinct text in every field (several of them not
// numbers), read-only and colour flipped, the last item of each list, the
// flooding fraction typed, the check box set, Chinese texts everywhere and a
// comment of several lines.
inline void FillDistinctState(CalcPage& page)
{
    for (TControl* c : page.Controls()) {
        if (auto* u = dynamic_cast<TComboBoxU*>(c)) u->SetItemIndex(static_cast<int>(u->Items().size()) - 1);
    }
    int n = 0;
    for (TEditD* f : page.ValueFields()) {
        ++n;
        if (n % 5 == 0)
            f->SetText("数据" + std::to_string(n)); // not a number
        else if (n % 7 == 0)
            f->SetText("");
        else
            f->SetText(std::to_string(n) + ".25e-" + std::to_string(n % 4));
        f->SetReadOnly(!f->ReadOnly());
        f->SetColor(n % 2 ? RGBColor(n, 255 - n, 3 * n) : clBtnFace);
    }
    for (const char* name : {"AfD", "PTD", "UfMD"}) {
        TComboModel* combo = page.Combo(name);
        combo->SetItemIndex(static_cast<int>(combo->Items().size()) - 1);
    }
    page.Combo("fpercentD")->SetText("72.5");
    page.Check("CBLagrange")->SetChecked(true);
    const char* texts[][2] = {{"ProjectD", "常减压蒸馏装置扩能改造"},
                              {"DevicenameD", "减压塔"},
                              {"DeviceNoD", "T-102A"},
                              {"ProjPD", "基础设计"},
                              {"Edit1", "备用：甲醇/水"},
                              {"Edit2", "设计压力 0.1 MPa(g)"},
                              {"Edit3", "温度 ℃ · 测试"},
                              {"Edit4", "末尾"}};
    for (auto& t : texts)
        page.TextBox(t[0])->SetText(t[1]);
    page.TextBox("CommentD")->SetText("第一行：塔顶\r\n\r\nsecond line, 第三段\r\n最后一行");
}

} // namespace projecttest
