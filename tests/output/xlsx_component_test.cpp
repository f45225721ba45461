// The spreadsheet component behind "Excel.Application": workbooks from a
// template, cells, sheet names, saving and reopening, read back by openpyxl.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>

#include "AutoRegistry.h"
#include "SpreadsheetApplication.h"
#include "xls_support.h"

using namespace xls_support;

namespace
{

const QString kTemplate = QStringLiteral(VELK_BINARY_DIR "/bin/VELK2016-07-15.xltx");

class XlsxComponent : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        RegisterSpreadsheetComponent();
        app = AutoVariant(CreateOleObject("excel.application"));
    }
    QString Path(const QString& name) const { return dir.filePath(name); }
    std::string P(const QString& name) const { return Path(name).toStdString(); }

    QTemporaryDir dir;
    AutoVariant app;
};

std::string ErrorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const EAutoError& e) {
        return e.what();
    }
    return "(no error)";
}

} // namespace

TEST_F(XlsxComponent, WorkbookFromTemplateSavesCellsThatAnIndependentReaderSees)
{
    ASSERT_TRUE(QFile::exists(kTemplate)) << "the build packs the template";
    AutoVariant book = app.Get("Workbooks").Call("Add", {kTemplate.toStdString()});
    AutoVariant sheet = book.Get("ActiveSheet");
    EXPECT_EQ(sheet.Get("Name").ToString(), "计算报表");
    sheet.Put("Cells", {15, 2}, "液相密度");
    sheet.Put("Cells", {15, 3}, "1.234568");
    sheet.Put("Cells", {15, 4}, "kg/m3");
    sheet.Put("Cells", {16, 3}, "1.5E-6");
    sheet.Put("Cells", {16, 4}, ""); // an empty value writes nothing
    sheet.Put("Cells", {17, 3}, 42); // numbers arrive as numbers
    sheet.Put("Cells", {41, 3}, "25 - 125");
    sheet.Put("Cells", {8, 3}, "007");              // leading zeros stay text
    sheet.Put("Cells", {5, 3}, "123");              // a text-formatted cell keeps "123" as text
    sheet.Put("Cells", {11, 3}, "第一行\n第二行 "); // line breaks and blanks kept
    sheet.Put("Cells", {33, 6},
              std::string("tab\x01"
                          "bell"));          // a control character XML cannot carry
    sheet.Put("Cells", {33, 7}, "_x0041_");  // looks like an escape, must stay as typed
    sheet.Put("Cells", {60, 10}, "far out"); // beyond the template's rows and columns
    sheet.Put("Name", "column1.vel");
    book.Call("SaveAs", {P("r.xlsx")});
    book.Call("Close");

    QString err;
    const QJsonObject back = ReadBack(Path("r.xlsx"), &err);
    ASSERT_FALSE(back.isEmpty()) << Std(err);
    EXPECT_FALSE(back.value("template").toBool()); // saved as a workbook, not a template
    EXPECT_EQ(back.value("sheets").toArray().first().toString(), "column1.vel");
    const QJsonObject c = Cells(back, "column1.vel");
    auto is = [&](const char* ref, const char* type) {
        return c.value(ref).toArray().at(0).toString() == type;
    };
    EXPECT_EQ(c.value("B1").toArray().at(1).toString(), "波纹规整填料塔流体力学计算书"); // template text kept
    EXPECT_EQ(c.value("B15").toArray().at(1).toString(), "液相密度");
    EXPECT_TRUE(is("C15", "n"));
    EXPECT_DOUBLE_EQ(c.value("C15").toArray().at(1).toDouble(), 1.234568);
    EXPECT_DOUBLE_EQ(c.value("C16").toArray().at(1).toDouble(), 1.5e-6);
    EXPECT_FALSE(c.contains("D16"));
    EXPECT_DOUBLE_EQ(c.value("C17").toArray().at(1).toDouble(), 42);
    EXPECT_EQ(c.value("C41").toArray().at(1).toString(), "25 - 125");
    EXPECT_TRUE(is("C8", "s"));
    EXPECT_EQ(c.value("C8").toArray().at(1).toString(), "007");
    EXPECT_TRUE(is("C5", "s"));
    EXPECT_EQ(c.value("C5").toArray().at(1).toString(), "123");
    EXPECT_EQ(c.value("C11").toArray().at(1).toString(), "第一行\n第二行 ");
    // openpyxl leaves the escape of a control character as it stands (Excel
    // and LibreOffice turn it back into the character); either way the
    // character did not go into the XML raw.
    EXPECT_EQ(c.value("F33").toArray().at(1).toString(), "tab_x0001_bell");
    EXPECT_EQ(c.value("G33").toArray().at(1).toString(), "_x0041_");
    EXPECT_EQ(c.value("J60").toArray().at(1).toString(), "far out");
    // The template's merged title survives.
    EXPECT_TRUE(back.value("merged").toObject().value("column1.vel").toArray().contains("B1:H1"));

    // The component reads its own file back the same way.
    AutoVariant again = app.Get("Workbooks").Call("Open", {P("r.xlsx")});
    AutoVariant s2 = again.Get("Sheets", {1});
    EXPECT_EQ(s2.Get("Cells", {15, 3}).Get("Value").ToDouble(), 1.234568);
    EXPECT_EQ(s2.Get("Cells", {11, 3}).Get("Value").ToString(), "第一行\n第二行 ");
    EXPECT_EQ(s2.Get("Cells", {33, 7}).Get("Value").ToString(), "_x0041_");
    EXPECT_EQ(s2.Get("Cells", {33, 6}).Get("Value").ToString(), std::string("tab\x01"
                                                                            "bell"));
    EXPECT_TRUE(s2.Get("Cells", {16, 4}).Get("Value").IsEmpty());
    again.Call("Close");
}

TEST_F(XlsxComponent, SavingOverAFileReplacesItAndClosingForgetsTheWorkbook)
{
    AutoVariant books = app.Get("Workbooks");
    for (const char* text : {"first", "second"}) {
        AutoVariant book = books.Call("Add", {kTemplate.toStdString()});
        book.Get("ActiveSheet").Put("Cells", {2, 3}, text);
        app.Put("DisplayAlerts", false);
        book.Call("SaveAs", {P("same.xlsx")});
        app.Put("Displayalerts", true);
        EXPECT_EQ(books.Get("Count").ToInt(), 1);
        book.Call("Close");
        EXPECT_EQ(books.Get("Count").ToInt(), 0);
        EXPECT_NE(ErrorOf([&] { book.Get("ActiveSheet"); }).find("已关闭"), std::string::npos);
    }
    EXPECT_EQ(Cells(ReadBack(Path("same.xlsx")), "计算报表").value("C2").toArray().at(1).toString(),
              "second");
    EXPECT_FALSE(QFile::exists(Path("same.xlsx.tmp")));
}

TEST_F(XlsxComponent, ForeignWorkbookOpensAndSheetsAreSelectedByNumber)
{
    const QString src = Path("two.xlsx");
    ASSERT_EQ(RunPython(QString("import openpyxl\n"
                                "wb = openpyxl.Workbook()\n"
                                "a = wb.active; a.title = 'Alpha'; a['A1'] = 'x'; a['B2'] = 2.5\n"
                                "a['C3'] = '=B2*2'\n"
                                "b = wb.create_sheet('Beta'); b['A1'] = 'y'\n"
                                "wb.save(r'%1')\n")
                            .arg(src)),
              0);
    AutoVariant book = app.Get("Workbooks").Call("Open", {src.toStdString()});
    EXPECT_EQ(book.Get("ActiveSheet").Get("Name").ToString(), "Alpha");
    EXPECT_EQ(book.Get("Sheets").Get("Count").ToInt(), 2);
    EXPECT_EQ(book.Get("Sheets", {1}).Get("Cells", {2, 2}).Get("Value").ToDouble(), 2.5);
    book.Get("Sheets", {2}).Call("Select");
    AutoVariant beta = book.Get("ActiveSheet");
    EXPECT_EQ(beta.Get("Name").ToString(), "Beta");
    EXPECT_EQ(beta.Get("Cells", {1, 1}).Get("Text").ToString(), "y");
    EXPECT_NE(ErrorOf([&] { book.Get("Sheets", {3}); }).find("下标越界"), std::string::npos);
    // Writing over a formula replaces it with the value.
    book.Get("Sheets", {"alpha"}).Put("Cells", {3, 3}, "7");
    book.Call("SaveAs", {P("two-saved.xlsx")});
    const QJsonObject back = ReadBack(Path("two-saved.xlsx"));
    EXPECT_EQ(back.value("active").toString(), "Beta");
    EXPECT_DOUBLE_EQ(Cells(back, "Alpha").value("C3").toArray().at(1).toDouble(), 7);
    EXPECT_EQ(Cells(back, "Beta").value("A1").toArray().at(1).toString(), "y");
}

TEST_F(XlsxComponent, SheetNamesFollowTheSpreadsheetRules)
{
    AutoVariant book = app.Get("Workbooks").Call("Add");
    AutoVariant sheet = book.Get("ActiveSheet");
    EXPECT_EQ(sheet.Get("Name").ToString(), "Sheet1");
    for (const std::string bad :
         {"", "a:b", "a/b", "a\\b", "a?b", "a*b", "[x]", "'quoted'", "a-name-that-is-longer-than-31-chars"}) {
        EXPECT_NE(ErrorOf([&] { sheet.Put("Name", bad); }).find("工作表名称"), std::string::npos) << bad;
        EXPECT_EQ(sheet.Get("Name").ToString(), "Sheet1") << bad;
    }
    const std::string longest = "这个名字刚好有三十一个字符这个名字刚好有三十一个字符abcde"; // 26 + 5 = 31
    sheet.Put("Name", longest);
    EXPECT_EQ(sheet.Get("Name").ToString(), longest);
    sheet.Put("Cells", {1, 1}, "v");
    book.Call("SaveAs", {P("names.xlsx")});
    EXPECT_EQ(ReadBack(Path("names.xlsx")).value("sheets").toArray().first().toString(),
              QString::fromStdString(longest));
}

TEST_F(XlsxComponent, BadFilesAndBadCallsGiveAutomationErrors)
{
    AutoVariant books = app.Get("Workbooks");
    const std::string missing = ErrorOf([&] { books.Call("Add", {P("nowhere.xltx")}); });
    EXPECT_NE(missing.find("找不到文件"), std::string::npos);
    EXPECT_NE(missing.find("nowhere.xltx"), std::string::npos);

    QFile junk(Path("junk.xlsx"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("this is not a zip file");
    junk.close();
    EXPECT_NE(ErrorOf([&] { books.Call("Open", {P("junk.xlsx")}); }).find("不是 Excel 工作簿"),
              std::string::npos);

    // A zip file cut short.
    QFile tpl(kTemplate);
    ASSERT_TRUE(tpl.open(QIODevice::ReadOnly));
    const QByteArray whole = tpl.readAll();
    QFile cut(Path("cut.xlsx"));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(whole.left(whole.size() / 2));
    cut.close();
    EXPECT_THROW(books.Call("Open", {P("cut.xlsx")}), EAutoError);
    EXPECT_EQ(books.Get("Count").ToInt(), 0);

    AutoVariant book = books.Call("Add");
    AutoVariant sheet = book.Get("ActiveSheet");
    EXPECT_NE(ErrorOf([&] { book.Call("SaveAs", {P("old.xls")}); }).find(".xlsx"), std::string::npos);
    EXPECT_FALSE(QFile::exists(Path("old.xls")));
    EXPECT_THROW(book.Call("SaveAs", {P("no/such/folder/x.xlsx")}), EAutoError);
    EXPECT_THROW(sheet.Put("Cells", {0, 1}, "x"), EAutoError);
    EXPECT_THROW(sheet.Put("Cells", {1, 16385}, "x"), EAutoError);
    EXPECT_THROW(sheet.Put("Cells", {1, 1}, std::string(32768, 'x')), EAutoError);
    EXPECT_NE(ErrorOf([&] { app.Call("Workbooks2"); }).find("Workbooks2"), std::string::npos);
    EXPECT_EQ(app.Get("Version").ToInt(), 16);
    EXPECT_EQ(app.Get("application").Get("Version").ToString(), "16.0");
}

TEST_F(XlsxComponent, RenamingASheetKeepsItsPrintAreaPointingAtIt)
{
    const QString src = Path("area.xlsx");
    ASSERT_EQ(RunPython(QString("import openpyxl\n"
                                "wb = openpyxl.Workbook()\n"
                                "ws = wb.active; ws.title = 'Data'; ws['A1'] = 1\n"
                                "ws.print_area = 'A1:H43'\n"
                                "wb.save(r'%1')\n")
                            .arg(src)),
              0);
    AutoVariant book = app.Get("Workbooks").Call("Open", {src.toStdString()});
    book.Get("ActiveSheet").Put("Name", "It's new");
    book.Call("SaveAs", {P("area-renamed.xlsx")});
    const QString check = QString("import openpyxl, re, zipfile\n"
                                  "xml = zipfile.ZipFile(r'%1').read('xl/workbook.xml').decode()\n"
                                  "names = re.findall(r'<definedName[^>]*>([^<]*)</definedName>', xml)\n"
                                  "assert names == [\"&apos;It&apos;&apos;s new&apos;!$A$1:$H$43\"] or "
                                  "names == [\"'It''s new'!$A$1:$H$43\"], names\n"
                                  "ws = openpyxl.load_workbook(r'%1')[\"It's new\"]\n"
                                  "assert ws.print_area, 'print area lost'\n")
                              .arg(Path("area-renamed.xlsx"));
    EXPECT_EQ(RunPython(check), 0);
}

TEST_F(XlsxComponent, DamagedPartsAreRefusedWithoutHarm)
{
    // Packages with a broken sheet, cells out of order, a row beyond the
    // sheet and a shared-string index that does not exist.
    const char* cases[][2] = {
        {"broken",
         "<worksheet xmlns='http://schemas.openxmlformats.org/spreadsheetml/2006/main'><sheetData><row>"},
        {"order", "<worksheet xmlns='http://schemas.openxmlformats.org/spreadsheetml/2006/main'><sheetData>"
                  "<row r='2'><c r='B2'/><c r='A2'/></row></sheetData></worksheet>"},
        {"far", "<worksheet xmlns='http://schemas.openxmlformats.org/spreadsheetml/2006/main'><sheetData>"
                "<row r='2000000'/></sheetData></worksheet>"},
        {"index", "<worksheet xmlns='http://schemas.openxmlformats.org/spreadsheetml/2006/main'><sheetData>"
                  "<row r='1'><c r='A1' t='s'><v>99</v></c></row></sheetData></worksheet>"},
    };
    for (const auto& [name, sheetXml] : cases) {
        const QString file = Path(QString(name) + ".xlsx");
        const QString code =
            QString("import zipfile\n"
                    "src = zipfile.ZipFile(r'%1')\n"
                    "out = zipfile.ZipFile(r'%2', 'w')\n"
                    "for n in src.namelist():\n"
                    "    d = src.read(n)\n"
                    "    if n == 'xl/worksheets/sheet1.xml': d = %3.encode()\n"
                    "    if n == '[Content_Types].xml': d = d.replace(b'template.main', b'sheet.main')\n"
                    "    out.writestr(n, d)\n"
                    "out.close()\n")
                .arg(kTemplate, file, "\"" + QString(sheetXml) + "\"");
        ASSERT_EQ(RunPython(code), 0) << name;
        if (std::string(name) == "index") {
            // A dangling shared string reads as empty; the file is usable.
            AutoVariant book = app.Get("Workbooks").Call("Open", {file.toStdString()});
            EXPECT_TRUE(book.Get("ActiveSheet").Get("Cells", {1, 1}).Get("Value").IsEmpty());
            book.Call("Close");
        } else {
            EXPECT_THROW(app.Get("Workbooks").Call("Open", {file.toStdString()}), EAutoError) << name;
        }
    }
    EXPECT_EQ(app.Get("Workbooks").Get("Count").ToInt(), 0);
}
