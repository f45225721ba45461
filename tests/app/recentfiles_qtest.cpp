// The recent-files list, its option file and its place in the File menu, and
// the program paths the option file is named after.
#include "MyAppConst.h"
#include "RecentFiles.h"
#include "RecentFilesMenu.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

QString P(int i)
{
    return QStringLiteral("/data/proj/f%1.vel").arg(i);
}

QStringList Captions(const TRecentFiles& r)
{
    QStringList out;
    for (const auto& e : r.Entries())
        out << e.Caption;
    return out;
}

QStringList Names(const TRecentFiles& r)
{
    QStringList out;
    for (const auto& e : r.Entries())
        out << e.Name;
    return out;
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class RecentFilesTest : public QObject
{
    Q_OBJECT
    QTemporaryDir dir_;
    QString base_; // stands for the program's path without extension

private slots:
    void init()
    {
        base_ = dir_.filePath(QStringLiteral("velk"));
        QFile::remove(base_ + QStringLiteral(".opt"));
        qputenv("XDG_CONFIG_HOME", dir_.filePath(QStringLiteral("config")).toUtf8());
        QDir(dir_.filePath(QStringLiteral("config"))).removeRecursively();
    }

    void tenFilesLeaveNineWithTheTenthOnTop()
    {
        TRecentFiles r(base_);
        QCOMPARE(r.RecentFirstIndex(), 6);
        QCOMPARE(r.RecentMax(), 9);
        QCOMPARE(r.RecentCount(), 0);
        QVERIFY(!r.HasSeparator());
        for (int i = 1; i <= 10; ++i)
            r.AddRecentFile(P(i));
        QCOMPARE(r.RecentCount(), 9);
        QStringList expected;
        for (int i = 10; i >= 2; --i)
            expected << P(i);
        QCOMPARE(Captions(r), expected);
        // Entries keep the names of their creation; only captions moved.
        QCOMPARE(Names(r), (QStringList{"I8", "I7", "I6", "I5", "I4", "I3", "I2", "I1", "I0"}));
    }

    void reopeningMovesToTheTopAndKeepsTheOthersInOrder()
    {
        TRecentFiles r(base_);
        for (int i = 1; i <= 4; ++i)
            r.AddRecentFile(P(i));
        const QStringList names = Names(r);
        r.AddRecentFile(P(2));
        QCOMPARE(Captions(r), (QStringList{P(2), P(4), P(3), P(1)}));
        QCOMPARE(Names(r), names);
        r.AddRecentFile(P(1)); // from the bottom
        QCOMPARE(Captions(r), (QStringList{P(1), P(2), P(4), P(3)}));
        r.AddRecentFile(P(1)); // already on top: nothing moves
        QCOMPARE(Captions(r), (QStringList{P(1), P(2), P(4), P(3)}));
        // Blanks around the path do not make it another file.
        r.AddRecentFile(QStringLiteral("  ") + P(3) + QStringLiteral("\t"));
        QCOMPARE(r.RecentCount(), 4);
        QCOMPARE(r.Entries().first().Caption, P(3));
        // Reopening in a full list drops nothing.
        for (int i = 5; i <= 9; ++i)
            r.AddRecentFile(P(i));
        QCOMPARE(r.RecentCount(), 9);
        r.AddRecentFile(P(4));
        QCOMPARE(r.RecentCount(), 9);
        QVERIFY(Captions(r).contains(P(3)));
        QCOMPARE(r.Entries().first().Caption, P(4));
        QCOMPARE(Captions(r).count(P(4)), 1);
    }

    void letterCaseMakesASecondEntry()
    {
        TRecentFiles r(base_);
        r.AddRecentFile(QStringLiteral("/data/Tower.vel"));
        r.AddRecentFile(QStringLiteral("/data/tower.vel"));
        QCOMPARE(Captions(r), (QStringList{"/data/tower.vel", "/data/Tower.vel"}));
        r.AddRecentFile(QString()); // no path, no entry
        r.AddRecentFile(QStringLiteral("   "));
        QCOMPARE(r.RecentCount(), 2);
    }

    void optionFileRoundTrip()
    {
        TRecentFiles r(base_);
        r.AddRecentFile(QStringLiteral("/项目/塔1.vel"));
        r.AddRecentFile(QStringLiteral("/工程 A/α&B.vel"));
        r.AddRecentFile(QStringLiteral("/x.vel"));
        QVERIFY(r.SaveRecentFiles());
        QCOMPARE(r.LastOptionFile(), base_ + QStringLiteral(".opt"));

        // GBK bytes of the two Chinese paths, worked out independently.
        const QByteArray p1("\x2f\xcf\xee\xc4\xbf\x2f\xcb\xfe\x31\x2e\x76\x65\x6c");
        const QByteArray p2("\x2f\xb9\xa4\xb3\xcc\x20\x41\x2f\xa6\xc1\x26\x42\x2e\x76\x65\x6c");
        const QByteArray expected = "9\r\n3\r\n" + p1 + "\r\n" + p2 + "\r\n/x.vel\r\n";
        QCOMPARE(ReadFile(base_ + QStringLiteral(".opt")), expected);

        TRecentFiles back(base_);
        QVERIFY(back.LoadRecentFiles());
        QCOMPARE(Captions(back), Captions(r));
        QCOMPARE(back.RecentMax(), 9);
        QCOMPARE(Names(back), (QStringList{"I2", "I1", "I0"})); // the oldest was created first
        QVERIFY(back.HasSeparator());

        // A RecentMax other than 9 survives the trip and limits the list.
        WriteFile(base_ + QStringLiteral(".opt"), "3\r\n2\r\n/a.vel\r\n/b.vel\r\n");
        TRecentFiles three(base_);
        QVERIFY(three.LoadRecentFiles());
        QCOMPARE(three.RecentMax(), 3);
        QCOMPARE(Captions(three), (QStringList{"/b.vel", "/a.vel"}));
        three.AddRecentFile(QStringLiteral("/c.vel"));
        three.AddRecentFile(QStringLiteral("/d.vel"));
        QCOMPARE(Captions(three), (QStringList{"/d.vel", "/c.vel", "/b.vel"}));
        QVERIFY(three.SaveRecentFiles());
        QCOMPARE(ReadFile(base_ + QStringLiteral(".opt")),
                 QByteArray("3\r\n3\r\n/b.vel\r\n/c.vel\r\n/d.vel\r\n"));
    }

    void noOptionFileLeavesTheListEmpty()
    {
        TRecentFiles r(base_);
        QVERIFY(!r.LoadRecentFiles());
        QCOMPARE(r.RecentCount(), 0);
        QCOMPARE(r.RecentMax(), 9);
        QVERIFY(!r.HasSeparator());
    }

    void damagedOptionFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("max");
        QTest::addColumn<QStringList>("captions");
        QTest::newRow("words instead of numbers")
            << QByteArray("nine\r\nthree\r\n/a\r\n/b\r\n/c\r\n") << 9 << QStringList{};
        QTest::newRow("max a word, count fine")
            << QByteArray("many\r\n1\r\n/a\r\n") << 9 << QStringList{"/a"};
        QTest::newRow("missing lines")
            << QByteArray("9\r\n5\r\n/a\r\n/b\r\n") << 9 << QStringList{"/b", "/a"};
        QTest::newRow("only the numbers") << QByteArray("9\r\n3") << 9 << QStringList{};
        QTest::newRow("empty file") << QByteArray() << 9 << QStringList{};
        QTest::newRow("blank path lines")
            << QByteArray("9\r\n3\r\n/a\r\n   \r\n/c\r\n") << 9 << QStringList{"/c", "/a"};
        QTest::newRow("count in the millions")
            << QByteArray("9\r\n4000000\r\n/a\r\n/b\r\n/c\r\n") << 9 << QStringList{"/c", "/b", "/a"};
        QTest::newRow("count beyond any integer")
            << QByteArray("9\r\n99999999999999999999999\r\n/a\r\n") << 9 << QStringList{"/a"};
        QTest::newRow("negative count") << QByteArray("9\r\n-4\r\n/a\r\n") << 9 << QStringList{};
        QTest::newRow("max zero") << QByteArray("0\r\n1\r\n/a\r\n") << 9 << QStringList{"/a"};
        QTest::newRow("max huge") << QByteArray("123456789012\r\n1\r\n/a\r\n") << TRecentFiles::RecentMaxLimit
                                  << QStringList{"/a"};
        QTest::newRow("line ends LF only, blanks around")
            << QByteArray(" 4 \n2\n  /a  \n/b\n") << 4 << QStringList{"/b", "/a"};
        QByteArray many = "2\r\n5\r\n";
        for (int i = 1; i <= 5; ++i)
            many += "/p" + QByteArray::number(i) + "\r\n";
        QTest::newRow("more paths than RecentMax: the newest stay") << many << 2 << QStringList{"/p5", "/p4"};
    }

    void damagedOptionFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, max);
        QFETCH(QStringList, captions);
        WriteFile(base_ + QStringLiteral(".opt"), bytes);
        TRecentFiles r(base_);
        r.LoadRecentFiles();
        QCOMPARE(r.RecentMax(), max);
        QCOMPARE(Captions(r), captions);
        QCOMPARE(r.RecentCount(), captions.size());
        QCOMPARE(r.HasSeparator(), !captions.isEmpty());
        // The list goes on working.
        r.AddRecentFile(QStringLiteral("/new.vel"));
        QCOMPARE(r.Entries().first().Caption, QStringLiteral("/new.vel"));
        QVERIFY(r.RecentCount() <= r.RecentMax());
    }

    void hugeOrBinaryOptionFilesDoNotStallTheStart()
    {
        QByteArray junk(8 << 20, '\0');
        for (int i = 0; i < junk.size(); ++i)
            junk[i] = char((i * 7919) & 0xFF);
        WriteFile(base_ + QStringLiteral(".opt"), "9\r\n2000000000\r\n" + junk);
        QElapsedTimer t;
        t.start();
        TRecentFiles r(base_);
        r.LoadRecentFiles();
        QVERIFY(t.elapsed() < 5000);
        QVERIFY(r.RecentCount() <= 9);
        QVERIFY(r.SaveRecentFiles()); // and writes a sound file back
        TRecentFiles again(base_);
        QVERIFY(again.LoadRecentFiles());
        QCOMPARE(Captions(again).size(), r.RecentCount());
    }

    void pathsOutsideGbkAreLeftOutOfTheFile()
    {
        TRecentFiles r(base_);
        r.AddRecentFile(QStringLiteral("/a.vel"));
        r.AddRecentFile(QStringLiteral("/smile-\U0001F600.vel"));
        QVERIFY(r.SaveRecentFiles());
        QCOMPARE(ReadFile(base_ + QStringLiteral(".opt")), QByteArray("9\r\n1\r\n/a.vel\r\n"));
    }

    void optionFileMovesToTheConfigDirectoryWhenTheProgramFolderIsReadOnly()
    {
        // A folder that cannot be created or written: its parent is a file.
        WriteFile(dir_.filePath(QStringLiteral("plainfile")), "x");
        const QString base = dir_.filePath(QStringLiteral("plainfile/velk"));
        TRecentFiles r(base);
        QCOMPARE(r.OptionFileName(), base + QStringLiteral(".opt"));
        const QString fallback = dir_.filePath(QStringLiteral("config/velk/velk.opt"));
        QCOMPARE(r.FallbackOptionFileName(), fallback);
        r.AddRecentFile(QStringLiteral("/a.vel"));
        QVERIFY(r.SaveRecentFiles());
        QCOMPARE(r.LastOptionFile(), fallback);
        QCOMPARE(ReadFile(fallback), QByteArray("9\r\n1\r\n/a.vel\r\n"));

        TRecentFiles back(base);
        QVERIFY(back.LoadRecentFiles());
        QCOMPARE(back.LastOptionFile(), fallback);
        QCOMPARE(Captions(back), QStringList{"/a.vel"});

        // Beside a writable program the file stays beside it, even when the
        // config directory holds an older list.
        TRecentFiles local(base_);
        QVERIFY(!QFile::exists(base_ + QStringLiteral(".opt")));
        WriteFile(base_ + QStringLiteral(".opt"), "9\r\n1\r\n/local.vel\r\n");
        QVERIFY(local.LoadRecentFiles());
        QCOMPARE(Captions(local), QStringList{"/local.vel"});
        QVERIFY(local.SaveRecentFiles());
        QCOMPARE(local.LastOptionFile(), base_ + QStringLiteral(".opt"));

        // Nowhere to write: reported, not pretended.
        qputenv("XDG_CONFIG_HOME", dir_.filePath(QStringLiteral("plainfile/cfg")).toUtf8());
        TRecentFiles stuck(base);
        stuck.AddRecentFile(QStringLiteral("/a.vel"));
        QVERIFY(!stuck.SaveRecentFiles());
        QVERIFY(!stuck.ErrorString().isEmpty());
    }

    void dialogsStartInTheProgramFolderOnlyWhenItIsWritable_data()
    {
        QTest::addColumn<bool>("writable");
        QTest::addColumn<QString>("last");
        QTest::addColumn<QStringList>("recent"); // newest last
        QTest::addColumn<QString>("expected");
        const QString prog = QStringLiteral("/opt/velk/bin"), work = dir_.filePath(QStringLiteral("work"));
        const QString gone = QStringLiteral("/no/such/folder");
        QTest::newRow("writable program folder") << true << work << QStringList{work + "/a.vel"} << prog;
        QTest::newRow("read-only: last folder used") << false << work << QStringList{"/x/b.vel"} << work;
        QTest::newRow("read-only: newest recent file with a folder")
            << false << gone << QStringList{work + "/a.vel", gone + "/b.vel", "rel/c.vel"} << work;
        QTest::newRow("read-only: nothing known") << false << QString() << QStringList{gone + "/b.vel"}
                                                  << QDir::homePath();
    }
    void dialogsStartInTheProgramFolderOnlyWhenItIsWritable()
    {
        QFETCH(bool, writable);
        QFETCH(QString, last);
        QFETCH(QStringList, recent);
        QFETCH(QString, expected);
        QDir().mkpath(dir_.filePath(QStringLiteral("work")));
        TRecentFiles r(base_);
        for (const QString& path : recent)
            r.AddRecentFile(path);
        QCOMPARE(r.DialogFolder(QStringLiteral("/opt/velk/bin"), writable, last), expected);
    }

    void menuShowsTheListWithOneSeparatorBeforeExit()
    {
        QMenu file;
        QList<QAction*> fixed;
        for (const char* t : {"&N 新建", "&O 打开", "-", "&S 保存", "&A 另存为", "-", "&E 结束"}) {
            QAction* a = QString::fromUtf8(t) == QLatin1String("-") ? file.addSeparator()
                                                                    : file.addAction(QString::fromUtf8(t));
            fixed << a;
        }
        QAction* exit = fixed.last();
        TRecentFiles r(base_);
        QStringList opened;
        TRecentFilesMenu menu(&r, &file, exit, [&](const QString& p) { opened << p; });
        QCOMPARE(file.actions(), fixed); // nothing yet, no separator

        r.AddRecentFile(QStringLiteral("/a&b.vel"));
        QList<QAction*> acts = file.actions();
        QCOMPARE(acts.size(), fixed.size() + 2);
        QCOMPARE(acts.indexOf(menu.EntryAction("I0")), r.RecentFirstIndex());
        QVERIFY(acts[r.RecentFirstIndex() + 1]->isSeparator());
        QCOMPARE(acts[r.RecentFirstIndex() + 2], exit);
        QCOMPARE(menu.EntryAction("I0")->text(), QStringLiteral("/a&&b.vel"));
        QCOMPARE(menu.EntryAction("I0")->objectName(), QStringLiteral("I0"));

        r.AddRecentFile(QStringLiteral("/c.vel"));
        r.AddRecentFile(QStringLiteral("/d.vel"));
        acts = file.actions();
        QCOMPARE(acts.size(), fixed.size() + 4); // later entries bring no further separator
        int separatorsAfterSaveAs = 0;
        for (int i = r.RecentFirstIndex(); i < acts.size(); ++i)
            separatorsAfterSaveAs += acts[i]->isSeparator();
        QCOMPARE(separatorsAfterSaveAs, 1);
        QCOMPARE(acts[6]->objectName(), QStringLiteral("I2"));
        QCOMPARE(acts[6]->data().toString(), QStringLiteral("/d.vel"));
        QCOMPARE(acts[8]->data().toString(), QStringLiteral("/a&b.vel"));

        // A click opens the path the entry shows now, after captions moved.
        r.AddRecentFile(QStringLiteral("/a&b.vel"));
        QCOMPARE(file.actions()[6], menu.EntryAction("I2"));
        menu.EntryAction("I2")->trigger();
        menu.EntryAction("I0")->trigger();
        QCOMPARE(opened, (QStringList{"/a&b.vel", "/c.vel"}));

        // Reloading a shorter list removes the entries that are gone.
        WriteFile(base_ + QStringLiteral(".opt"), "9\r\n1\r\n/only.vel\r\n");
        QVERIFY(r.LoadRecentFiles());
        acts = file.actions();
        QCOMPARE(acts.size(), fixed.size() + 2);
        QCOMPARE(acts[6]->data().toString(), QStringLiteral("/only.vel"));
        QVERIFY(!menu.EntryAction("I2"));
    }

    void programPaths()
    {
        TMyAppConst c;
        const QString exe = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
        QCOMPARE(c.Mypath(), QFileInfo(exe).absolutePath());
        QCOMPARE(c.MypathName(), exe); // the test program has no extension
        QVERIFY(!c.Mypath().endsWith(QLatin1Char('/')));
        QVERIFY(QFileInfo::exists(c.SysDir() + QStringLiteral("/libc.so.6")));
        QCOMPARE(c.WinDir(), QStringLiteral("/usr"));
        QVERIFY(!c.OSVersion().isEmpty());

        // Assigning recomputes from the system; the value given is ignored.
        const QString tmp = dir_.filePath(QStringLiteral("tmp"));
        QDir().mkpath(tmp);
        qputenv("TMPDIR", (tmp + QStringLiteral("//")).toUtf8());
        c.setMypath(QStringLiteral("/somewhere/else"));
        c.setProperty("MypathName", QStringLiteral("/bogus"));
        qunsetenv("TMPDIR");
        QCOMPARE(c.Mypath(), QFileInfo(exe).absolutePath());
        QCOMPARE(c.MypathName(), exe);
        QCOMPARE(c.TempDir(), tmp);

        QCOMPARE(TMyAppConst::WithoutExtension("/opt/v.1/velk.bin"), QStringLiteral("/opt/v.1/velk"));
        QCOMPARE(TMyAppConst::WithoutExtension("/opt/v.1/velk"), QStringLiteral("/opt/v.1/velk"));
        QCOMPARE(TMyAppConst::WithoutExtension("/opt/.velk"), QStringLiteral("/opt/.velk"));
        QCOMPARE(TMyAppConst::WithoutExtension("/opt/a.tar.gz"), QStringLiteral("/opt/a.tar"));
        QCOMPARE(TMyAppConst::DirectoryOf("/velk"), QStringLiteral("/"));
        QCOMPARE(TMyAppConst::DirectoryOf("/opt/velk/bin/velk"), QStringLiteral("/opt/velk/bin"));
        QCOMPARE(
            TMyAppConst::OsVersionFrom("NAME=\"Debian GNU/Linux\"\nVERSION_ID=\"12\"\nPRETTY_NAME=\"Debian "
                                       "GNU/Linux 12 (bookworm)\"\n",
                                       "6.1.0"),
            QStringLiteral("Debian GNU/Linux 12 (bookworm)"));
        QCOMPARE(TMyAppConst::OsVersionFrom("NAME='Alpine Linux'\nVERSION_ID=3.19.1\n", "6.6"),
                 QStringLiteral("Alpine Linux 3.19.1"));
        QCOMPARE(TMyAppConst::OsVersionFrom("garbage\n=\n", "6.1.0-18-amd64"),
                 QStringLiteral("Linux 6.1.0-18-amd64"));
    }
};

QTEST_MAIN(RecentFilesTest)
#include "recentfiles_qtest.moc"
