// The one routine that replaces files: whole or not at all, any legal name,
// no temporary left behind, and no link of another user followed in a
// shared sticky folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <QRegularExpression>

#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
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

// The same rule for every folder on the way: another user's link to a folder
// only root may write, planted in a sticky shared folder, must not take a save
// (or the files of --charts) there.
TEST(SafeReplaceFile, RefusesAPlantedLinkToAFolderAnywhereOnThePath)
{
    if (::geteuid() != 0) GTEST_SKIP() << "planting another user's link needs root";
    QTemporaryDir dir;
    const std::string base = dir.path().toStdString();
    const std::string guarded = base + "/guarded";
    ASSERT_EQ(::mkdir(guarded.c_str(), 0755), 0);
    SafeReplaceFile(guarded + "/x.vel", "precious");
    const std::string shared = base + "/shared";
    ASSERT_EQ(::mkdir(shared.c_str(), 0777), 0);
    ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
    ASSERT_EQ(::chown(shared.c_str(), 65533, 65533), 0);
    const std::string planted = shared + "/link";
    ASSERT_EQ(::symlink(guarded.c_str(), planted.c_str()), 0);
    ASSERT_EQ(::lchown(planted.c_str(), 65534, 65534), 0);
    // Our own link to the shared folder's link: the planted one is still met.
    const std::string own = base + "/own";
    ASSERT_EQ(::symlink("shared/link", own.c_str()), 0);

    for (const std::string& path : {planted + "/x.vel", planted + "/new.png", planted + "/./x.vel",
                                    own + "/x.vel", shared + "/../shared/link/x.vel"}) {
        SCOPED_TRACE(path);
        try {
            SafeReplaceFile(path, "redirected");
            ADD_FAILURE() << "written";
        } catch (const EInOutError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "Cannot create file \"" + path + "\". The link belongs to another user in a shared folder");
        }
    }
    EXPECT_EQ(Read(guarded + "/x.vel"), "precious");
    EXPECT_EQ(QDir(QString::fromStdString(guarded)).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"x.vel"});

    // The folder owner's link is followed, as the kernel does.
    ASSERT_EQ(::lchown(planted.c_str(), 65533, 65533), 0);
    SafeReplaceFile(planted + "/x.vel", "owner's link");
    EXPECT_EQ(Read(guarded + "/x.vel"), "owner's link");
}

// A save killed while writing leaves its temporary, named after the target;
// the next save of that target removes it, and nothing else: not one a
// running save holds, not another user's, not a stranger's ".~" file.
TEST(SafeReplaceFile, TheNextSaveRemovesWhatAKilledSaveLeft)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("p.vel").toStdString();
    SafeReplaceFile(path, "old");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        SafeFileReplacer w(path);
        w.Write("half of the new");
        (void)!::write(ready[1], "x", 1);
        ::pause();
        ::_exit(0);
    }
    char c;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ::close(ready[0]);
    ::close(ready[1]);

    const QDir folder(dir.path());
    const auto entries = [&] {
        return folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    };
    const QStringList left = entries().filter(QRegularExpression("^\\.p\\.vel\\.velk-[a-z0-9]{6}$"));
    ASSERT_EQ(left.size(), 1) << entries().join(' ').toStdString();
    EXPECT_EQ(Read(path), "old");

    const std::string stranger = dir.filePath(".~abcdefgh").toStdString();
    const std::string held = dir.filePath(".p.vel.velk-held00").toStdString();
    const std::string other = dir.filePath(".q.vel.velk-other0").toStdString();
    for (const std::string& p : {stranger, held, other})
        SafeReplaceFile(p, "someone's");
    const int holder = ::open(held.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    QStringList kept{".p.vel.velk-held00", ".q.vel.velk-other0", ".~abcdefgh", "p.vel"};
    if (::geteuid() == 0) {
        const std::string foreign = dir.filePath(".p.vel.velk-nobody").toStdString();
        SafeReplaceFile(foreign, "nobody's");
        ASSERT_EQ(::chown(foreign.c_str(), 65534, 65534), 0);
        kept.push_back(".p.vel.velk-nobody");
    }
    kept.sort();

    SafeReplaceFile(path, "new");
    EXPECT_EQ(Read(path), "new");
    EXPECT_EQ(entries(), kept);
    ::close(holder);
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
