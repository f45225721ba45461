// Cell notes and struck cells survive a save and a second load: the number
// stays a number, the note its text (marks and line breaks included), and
// saving again neither loses nor doubles the notes.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "XlsxDocument.h"

TEST(XlsxNotes, NotesAndStrikeSurviveTwoRoundTrips)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string first = dir.filePath("a.xlsx").toStdString(),
                      second = dir.filePath("b.xlsx").toStdString();
    struct Cell {
        int row, col;
        const char* value;
        const char* note; // "" none
        bool strike;
    } const cells[] = {{3, 2, "17", "\u2020 beyond <the> model & more", true},
                       {4, 7, "0.25", "\u2020 one\n\u2021 two", true},
                       {5, 3, "text", "\u2021 stale", false},
                       {6, 3, "1.5", "", false}};
    XlsxDocument doc;
    doc.NewBlank();
    for (const Cell& c : cells) {
        doc.SetCell(0, c.row, c.col, c.value);
        if (*c.note) doc.SetCellNote(0, c.row, c.col, c.note);
        if (c.strike) doc.SetCellStrike(0, c.row, c.col);
    }
    doc.SaveAs(first);
    XlsxDocument again;
    again.Load(first);
    again.SaveAs(second); // a second save of a loaded workbook
    for (const std::string& path : {first, second}) {
        XlsxDocument read;
        read.Load(path);
        for (const Cell& c : cells) {
            EXPECT_EQ(read.CellText(0, c.row, c.col), c.value) << path;
            EXPECT_EQ(read.CellIsNumber(0, c.row, c.col), std::string(c.value) != "text");
            EXPECT_EQ(read.CellNote(0, c.row, c.col), c.note) << path;
            EXPECT_EQ(read.CellStyle(0, c.row, c.col).strike, c.strike) << path;
        }
    }
}
