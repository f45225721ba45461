// The one routine that replaces files: whole or not at all, any legal name,
// no temporary left behind, and no link of another user followed in a
// shared sticky folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "Messages.h"
#include "SafeFileReplacer.h"

namespace
{

std::string Read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

int EntryCount(const QTemporaryDir& dir)
{
    return static_cast<int>(
        QDir(dir.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)
            .size());
}

TEST(SafeReplaceFile, ReplacesWholeKeepsModeAndLeavesNoTemporary)
{
    QTemporaryDir dir;
    // Names up to the file system's limit of 255 bytes, in ASCII and in
    // three-byte UTF-8 characters.
    const std::string cjk255 = [] {
        std::string s;
        for (int i = 0; i < 85; ++i)
            s += "\xE5\xA1\x94"; // 塔
        return s;
    }();
    for (const std::string& name : {std::string("a.vel"), std::string(255, 'n'), cjk255}) {
        SCOPED_TRACE(name.size());
        const std::string path = dir.path().toStdString() + "/" + name;
        SafeReplaceFile(path, "old");
        ::chmod(path.c_str(), 0640);
        SafeReplaceFile(path, "new content");
        EXPECT_EQ(Read(path), "new content");
        struct stat st;
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0640u);
        EXPECT_EQ(EntryCount(dir), 1);
        QFile::remove(QString::fromStdString(path));
    }
}

TEST(SafeReplaceFile, AnUnfinishedWriteLeavesTheOldFile)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("p.vel").toStdString();
    SafeReplaceFile(path, "old");
    {
        SafeFileReplacer w(path);
        w.Write("half of the new");
        // No commit: a failure of the writer between the two.
    }
    EXPECT_EQ(Read(path), "old");
    EXPECT_EQ(EntryCount(dir), 1);
}

TEST(SafeReplaceFile, FollowsOwnLinksAndRefusesPlantedOnesInStickyFolders)
{
    QTemporaryDir dir;
    const std::string base = dir.path().toStdString();
    const std::string victim = base + "/victim.txt";
    SafeReplaceFile(victim, "precious");

    // A link of our own in a private folder: the save goes to its target.
    const std::string own = base + "/own.vel";
    ASSERT_EQ(::symlink(victim.c_str(), own.c_str()), 0);
    SafeReplaceFile(own, "through the link");
    EXPECT_EQ(Read(victim), "through the link");
    struct stat st;
    ASSERT_EQ(::lstat(own.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));

    if (::geteuid() != 0) GTEST_SKIP() << "planting another user's link needs root";
    // A sticky world-writable folder of one user, a link of another one in
    // it: the kernel's protected-links rule refuses to follow it.
    const std::string shared = base + "/shared";
    ASSERT_EQ(::mkdir(shared.c_str(), 0777), 0);
    ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
    ASSERT_EQ(::chown(shared.c_str(), 65533, 65533), 0);
    const std::string planted = shared + "/report.xlsx";
    ASSERT_EQ(::symlink(victim.c_str(), planted.c_str()), 0);
    ASSERT_EQ(::lchown(planted.c_str(), 65534, 65534), 0);
    EXPECT_THROW(SafeReplaceFile(planted, "redirected"), EInOutError);
    EXPECT_EQ(Read(victim), "through the link");
    // The folder owner's own link is followed, as the kernel does.
    ASSERT_EQ(::lchown(planted.c_str(), 65533, 65533), 0);
    SafeReplaceFile(planted, "owner's link");
    EXPECT_EQ(Read(victim), "owner's link");
}

TEST(SafeReplaceFile, RefusesWhatIsNotARegularFile)
{
    QTemporaryDir dir;
    const std::string fifo = dir.filePath("fifo").toStdString();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {fifo, dir.path().toStdString(), std::string()}) {
        SCOPED_TRACE(path);
        EXPECT_THROW(SafeReplaceFile(path, "x"), EInOutError);
    }
}

} // namespace
