// Pictures in a workbook: a sheet of its own whose drawing part places each
// PNG, the parts linked and typed as spreadsheet programs expect.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>

#include "AutoError.h"
#include "XlsxDocument.h"
#include "XlsxPackage.h"

namespace
{

std::string Png(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

bool Contains(const std::string& text, const std::string& piece)
{
    return text.find(piece) != std::string::npos;
}

} // namespace

TEST(XlsxPictures, ASheetOfPicturesSurvivesSavingAndReading)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string path = dir.filePath("book.xlsx").toStdString();
    const std::string first = Png(900, 640), second = Png(100, 50);
    {
        XlsxDocument doc;
        doc.NewBlank();
        doc.SetCell(0, 2, 2, "2.5");
        EXPECT_EQ(doc.AddPictureSheet("性能图", {{first, 900, 640}, {second, 100, 50}}), 1);
        doc.SaveAs(path);
    }
    XlsxDocument doc;
    doc.Load(path);
    ASSERT_EQ(doc.SheetCount(), 2);
    EXPECT_EQ(doc.SheetName(1), "性能图");
    EXPECT_EQ(doc.CellText(0, 2, 2), "2.5");

    XlsxPackage pkg;
    pkg.Load(path);
    EXPECT_EQ(pkg.Get("xl/media/image1.png"), first);
    EXPECT_EQ(pkg.Get("xl/media/image2.png"), second);
    const std::string& drawing = pkg.Get("xl/drawings/drawing1.xml");
    // 900 x 640 pixels at 9525 EMU each: from B2 over 14 columns of 64
    // pixels and 4 pixels more, and 32 rows of 20; the second picture
    // starts two rows below.
    EXPECT_TRUE(Contains(drawing, "<a:ext cx=\"8572500\" cy=\"6096000\"/>"));
    EXPECT_TRUE(Contains(drawing, "<xdr:to><xdr:col>15</xdr:col><xdr:colOff>38100</xdr:colOff><xdr:row>33</xdr:row><xdr:rowOff>0<"));
    EXPECT_TRUE(Contains(drawing, "<xdr:from><xdr:col>1</xdr:col><xdr:colOff>0</xdr:colOff><xdr:row>35</xdr:row>"));
    EXPECT_TRUE(Contains(drawing, "r:embed=\"rId2\""));
    EXPECT_TRUE(Contains(pkg.Get("xl/drawings/_rels/drawing1.xml.rels"), "Target=\"../media/image2.png\""));
    EXPECT_TRUE(Contains(pkg.Get("xl/worksheets/_rels/sheet2.xml.rels"), "Target=\"../drawings/drawing1.xml\""));
    // The drawing element follows the page set-up.
    EXPECT_TRUE(Contains(pkg.Get("xl/worksheets/sheet2.xml"), "footer=\"0.3\"/><drawing r:id=\"rId1\"/></worksheet>"));
    const std::string& types = pkg.Get("[Content_Types].xml");
    EXPECT_TRUE(Contains(types, "Extension=\"png\" ContentType=\"image/png\""));
    EXPECT_TRUE(Contains(types, "PartName=\"/xl/drawings/drawing1.xml\""));
    EXPECT_TRUE(Contains(types, "PartName=\"/xl/worksheets/sheet2.xml\""));
}

TEST(XlsxPictures, ABadNameOrPictureChangesNothing)
{
    XlsxDocument doc;
    doc.NewBlank();
    const std::string png = Png(10, 10);
    EXPECT_THROW(doc.AddPictureSheet("a/b", {{png, 10, 10}}), EAutoError);
    EXPECT_THROW(doc.AddPictureSheet("sheet1", {{png, 10, 10}}), EAutoError); // names ignore case
    EXPECT_THROW(doc.AddPictureSheet("ok", {{"GIF89a", 10, 10}}), EAutoError);
    EXPECT_THROW(doc.AddPictureSheet("ok", {{png, 0, 10}}), EAutoError);
    EXPECT_EQ(doc.SheetCount(), 1);
}
