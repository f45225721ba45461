// The classes root read from registry files: the text format, merging of the
// installed and the per-user file, and the registry reader.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "Registry.h"
#include "RegistryHive.h"

namespace
{

constexpr const char* kV5 = "Windows Registry Editor Version 5.00\r\n\r\n";

const RegistryValue* ValueAt(const RegistryHive& hive, const std::string& key, const std::string& name)
{
    const RegistryKey* k = hive.Find(key);
    return k ? k->Value(name) : nullptr;
}

std::string Utf16File(const std::u16string& text)
{
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    return bytes;
}

void WriteFile(const QString& path, const std::string& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

} // namespace

TEST(RegistryFile, StringValuesWithEscapesAndDefaults)
{
    RegistryHive hive;
    ASSERT_TRUE(hive.LoadText(std::string(kV5) + "[HKEY_CLASSES_ROOT\\CLSID\\{A}\\ProgID]\r\n"
                                                 "@=\"SimSciDbs.Database.92\"\r\n"
                                                 "\"Path\"=\"C:\\\\Program Files\\\\\\\"Sim\\\"\"\r\n"
                                                 "\"Name with \\\"quote\\\"\"=\"x\"\r\n"
                                                 "\"Spaced\" = \"y\"\r\n",
                              "t.reg"));
    EXPECT_TRUE(hive.Warnings().empty());
    EXPECT_EQ(ValueAt(hive, "CLSID\\{A}\\ProgID", "")->text, "SimSciDbs.Database.92");
    EXPECT_EQ(ValueAt(hive, "CLSID\\{A}\\ProgID", "Path")->text, "C:\\Program Files\\\"Sim\"");
    EXPECT_EQ(ValueAt(hive, "CLSID\\{A}\\ProgID", "Name with \"quote\"")->text, "x");
    EXPECT_EQ(ValueAt(hive, "CLSID\\{A}\\ProgID", "spaced")->text, "y");
    // Intermediate keys exist even without values of their own.
    ASSERT_NE(hive.Find("\\CLSID"), nullptr);
    EXPECT_EQ(hive.Find("CLSID")->SubKeyNames(), std::vector<std::string>{"{A}"});
}

TEST(RegistryFile, NumbersHexDataAndContinuationLines)
{
    RegistryHive hive;
    ASSERT_TRUE(hive.LoadText(std::string(kV5) + "[HKEY_CLASSES_ROOT\\K]\r\n"
                                                 "\"D\"=dword:0000010a\r\n"
                                                 "\"B\"=hex:01,ff,\\\r\n"
                                                 "  7f\r\n"
                                                 // "ab" as UTF-16LE with its terminating NUL, REG_EXPAND_SZ
                                                 "\"E\"=hex(2):61,00,62,00,00,00\r\n"
                                                 // "x", "yz" as REG_MULTI_SZ
                                                 "\"M\"=hex(7):78,00,00,00,79,00,7a,00,00,00,00,00\r\n"
                                                 "\"Q\"=hex(b):01,00,00,00,02,00,00,00\r\n",
                              "t.reg"));
    EXPECT_TRUE(hive.Warnings().empty());
    const RegistryValue* d = ValueAt(hive, "K", "D");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->type, RegistryDataType::DWord);
    EXPECT_EQ(d->number, 266u);
    EXPECT_EQ(ValueAt(hive, "K", "B")->bytes, (std::vector<std::uint8_t>{0x01, 0xFF, 0x7F}));
    EXPECT_EQ(ValueAt(hive, "K", "E")->type, RegistryDataType::ExpandString);
    EXPECT_EQ(ValueAt(hive, "K", "E")->text, "ab");
    EXPECT_EQ(ValueAt(hive, "K", "M")->strings, (std::vector<std::string>{"x", "yz"}));
    EXPECT_EQ(ValueAt(hive, "K", "Q")->number, 0x0000000200000001ull);
}

TEST(RegistryFile, Regedit4TextIsEightBit)
{
    RegistryHive hive;
    ASSERT_TRUE(
        hive.LoadText("REGEDIT4\n\n[HKEY_CLASSES_ROOT\\K]\n\"S\"=hex(1):61,62,00\n@=\"d\"\n", "t.reg"));
    EXPECT_EQ(ValueAt(hive, "K", "S")->text, "ab");
    EXPECT_EQ(ValueAt(hive, "K", "")->text, "d");
}

TEST(RegistryFile, Utf16FileWithByteOrderMark)
{
    RegistryHive hive;
    ASSERT_TRUE(hive.LoadText(Utf16File(u"Windows Registry Editor Version 5.00\r\n\r\n"
                                        u"[HKEY_CLASSES_ROOT\\CLSID\\{B}\\ProgID]\r\n@=\"模拟.1\"\r\n"),
                              "u.reg"));
    EXPECT_EQ(ValueAt(hive, "CLSID\\{B}\\ProgID", "")->text, "模拟.1");
}

TEST(RegistryFile, NamesIgnoreCaseAndEnumerateAlphabetically)
{
    RegistryHive hive;
    ASSERT_TRUE(hive.LoadText(std::string(kV5) + "[HKEY_CLASSES_ROOT\\CLSID\\{c}]\r\n"
                                                 "[HKEY_CLASSES_ROOT\\CLSID\\{A}]\r\n"
                                                 "[HKEY_CLASSES_ROOT\\clsid\\{b}]\r\n"
                                                 "@=\"first\"\r\n"
                                                 "[hkcr\\CLSID\\{B}]\r\n"
                                                 "@=\"second\"\r\n",
                              "t.reg"));
    EXPECT_EQ(hive.Find("CLSID")->SubKeyNames(), (std::vector<std::string>{"{A}", "{b}", "{c}"}));
    // The later value of the same key wins, whichever spelling named it.
    EXPECT_EQ(ValueAt(hive, "Clsid\\{B}", "")->text, "second");
}

TEST(RegistryFile, OtherRootsAreSkippedAndClassesBranchesFolded)
{
    RegistryHive hive;
    ASSERT_TRUE(hive.LoadText(std::string(kV5) +
                                  "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\Lm]\r\n@=\"machine\"\r\n"
                                  "[HKEY_CURRENT_USER\\Software\\Classes\\Cu]\r\n@=\"user\"\r\n"
                                  "[HKEY_CURRENT_USER\\Software\\Other]\r\n@=\"ignored\"\r\n",
                              "t.reg"));
    EXPECT_EQ(ValueAt(hive, "Lm", "")->text, "machine");
    EXPECT_EQ(ValueAt(hive, "Cu", "")->text, "user");
    EXPECT_EQ(hive.Find("Other"), nullptr);
    EXPECT_EQ(hive.Find("Software"), nullptr);
}

TEST(RegistryFile, DeletionsAndMerging)
{
    RegistryHive hive;
    ASSERT_TRUE(hive.LoadText(
        std::string(kV5) + "[HKEY_CLASSES_ROOT\\A\\Sub]\r\n@=\"1\"\r\n\"V\"=\"keep\"\r\n\"W\"=\"drop\"\r\n"
                           "[HKEY_CLASSES_ROOT\\B]\r\n@=\"b\"\r\n",
        "machine.reg"));
    ASSERT_TRUE(hive.LoadText(std::string(kV5) + "[-HKEY_CLASSES_ROOT\\B]\r\n"
                                                 "[HKEY_CLASSES_ROOT\\A\\Sub]\r\n@=\"2\"\r\n\"W\"=-\r\n",
                              "user.reg"));
    EXPECT_EQ(hive.Find("B"), nullptr);
    EXPECT_EQ(ValueAt(hive, "A\\Sub", "")->text, "2");
    EXPECT_EQ(ValueAt(hive, "A\\Sub", "V")->text, "keep");
    EXPECT_EQ(ValueAt(hive, "A\\Sub", "W"), nullptr);
}

TEST(RegistryFile, DamagedLinesAreSkippedWithWarnings)
{
    RegistryHive hive;
    ASSERT_TRUE(hive.LoadText(std::string(kV5) + "\"Early\"=\"no key yet\"\r\n"
                                                 "[HKEY_CLASSES_ROOT\\K]\r\n"
                                                 "\"Open=\"x\r\n"
                                                 "\"A\"=\"unterminated\r\n"
                                                 "\"B\"=dword:xyz\r\n"
                                                 "\"C\"=hex:1,zz\r\n"
                                                 "\"D\"=\"ok\" trailing\r\n"
                                                 "\"E\"=hex(zz):00\r\n"
                                                 "junk\r\n"
                                                 "[HKEY_CLASSES_ROOT\\Broken\r\n"
                                                 "@=\"after broken section\"\r\n"
                                                 "[HKEY_CLASSES_ROOT\\K]\r\n"
                                                 "\"Good\"=\"g\"\r\n"
                                                 "\"Tail\"=hex:01,\\\r\n",
                              "bad.reg"));
    // Every damaged line is named by file and line number.
    EXPECT_EQ(hive.Warnings().size(), 9u);
    EXPECT_NE(hive.Warnings()[0].find("bad.reg:3:"), std::string::npos);
    const RegistryKey* k = hive.Find("K");
    ASSERT_NE(k, nullptr);
    EXPECT_EQ(k->ValueNames(), (std::vector<std::string>{"Good", "Tail"}));
    EXPECT_EQ(ValueAt(hive, "K", "Tail")->bytes, std::vector<std::uint8_t>{1});
    EXPECT_EQ(hive.Find("Broken"), nullptr);
}

TEST(RegistryFile, TextsThatAreNotRegistryFilesLoadNothing)
{
    RegistryHive hive;
    EXPECT_FALSE(hive.LoadText("", "empty.reg"));
    EXPECT_FALSE(hive.LoadText("[HKEY_CLASSES_ROOT\\K]\n@=\"x\"\n", "noheader.reg"));
    EXPECT_FALSE(hive.LoadText(std::string("\0\1\2\3garbage", 11), "binary.reg"));
    EXPECT_EQ(hive.Find("K"), nullptr);
    EXPECT_EQ(hive.Warnings().size(), 3u);
    // A missing file is no fault: most users have no file of their own.
    EXPECT_FALSE(hive.LoadFile("/nonexistent/velk/registry.reg"));
    EXPECT_EQ(hive.Warnings().size(), 3u);
}

TEST(RegistryReader, OpensKeysAbsoluteAndRelative)
{
    RegistryHive hive;
    ASSERT_TRUE(hive.LoadText(std::string(kV5) + "[HKEY_CLASSES_ROOT\\CLSID\\{A}\\ProgID]\r\n@=\"P.1\"\r\n"
                                                 "[HKEY_CLASSES_ROOT\\CLSID\\{A}]\r\n\"N\"=dword:1\r\n",
                              "t.reg"));
    TRegistry reg(hive);
    EXPECT_FALSE(reg.OpenKeyReadOnly("\\Nothing"));
    EXPECT_EQ(reg.CurrentPath(), "");
    ASSERT_TRUE(reg.OpenKeyReadOnly("\\CLSID"));
    EXPECT_EQ(reg.GetKeyNames(), std::vector<std::string>{"{A}"});
    ASSERT_TRUE(reg.OpenKeyReadOnly("{A}")); // relative to \CLSID
    EXPECT_EQ(reg.CurrentPath(), "CLSID\\{A}");
    EXPECT_TRUE(reg.ValueExists("n"));
    EXPECT_THROW(reg.ReadString("N"), ERegistryException);
    EXPECT_EQ(reg.ReadString("missing"), "");
    ASSERT_TRUE(reg.OpenKeyReadOnly("ProgID"));
    EXPECT_EQ(reg.ReadString(""), "P.1");
    // An absolute path ignores the key open now.
    EXPECT_FALSE(reg.OpenKeyReadOnly("\\ProgID"));
    EXPECT_EQ(reg.CurrentPath(), "CLSID\\{A}\\ProgID");
    reg.CloseKey();
    EXPECT_TRUE(reg.KeyExists("CLSID\\{A}\\ProgID"));
    EXPECT_EQ(reg.GetKeyNames(), std::vector<std::string>{"CLSID"});
}

TEST(RegistryReader, ClassesRootMergesInstalledAndUserFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString installed = dir.filePath("velk-registry.reg");
    const QString user = dir.filePath("user.reg");
    WriteFile(installed,
              std::string(kV5) + "[HKEY_CLASSES_ROOT\\X]\r\n@=\"installed\"\r\n\"Only\"=\"i\"\r\n");
    WriteFile(user,
              Utf16File(u"Windows Registry Editor Version 5.00\r\n[HKEY_CLASSES_ROOT\\X]\r\n@=\"user\"\r\n"));

    const std::vector<std::string> saved = RegistryFiles();
    SetRegistryFiles({installed.toStdString(), user.toStdString()});
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKeyReadOnly("\\X"));
        EXPECT_EQ(reg.ReadString(""), "user");
        EXPECT_EQ(reg.ReadString("Only"), "i");
    }
    SetRegistryFiles({dir.filePath("absent.reg").toStdString()});
    EXPECT_FALSE(TRegistry().KeyExists("X"));
    SetRegistryFiles(saved);
}

TEST(RegistryReader, DefaultFilesAreBesideTheProgramAndInTheUserConfiguration)
{
    QTemporaryDir dir;
    const QByteArray old = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
    const std::vector<std::string> files = DefaultRegistryFiles();
    if (old.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", old);
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(QFileInfo(QString::fromStdString(files[0])).fileName(), "velk-registry.reg");
    EXPECT_EQ(files[1], dir.path().toStdString() + "/velk/registry.reg");
}
