// Folders made one level at a time, never through another user's link in a
// shared sticky folder, and sets of files placed all or none.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Messages.h"
#include "SafeFolder.h"

namespace
{

std::string Read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void Write(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::string Entries(const std::string& folder)
{
    return QDir(QString::fromStdString(folder))
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name)
        .join(' ')
        .toStdString();
}

bool IsFolder(const std::string& path)
{
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

TEST(MakeFolderPath, MakesTheMissingFoldersOnly)
{
    QTemporaryDir dir;
    const std::string base = dir.path().toStdString();
    ASSERT_EQ(::mkdir((base + "/there").c_str(), 0755), 0);
    Write(base + "/file", "x");
    ASSERT_EQ(::symlink("there", (base + "/own").c_str()), 0);
    const struct {
        std::string path;
        std::vector<std::string> created; // relative to base
        std::string folder;               // where it ends, relative to base
    } cases[] = {
        {"a/b/c", {"/a", "/a/b", "/a/b/c"}, "/a/b/c"},
        {"there", {}, "/there"},
        {"there/new//", {"/there/new"}, "/there/new"},
        {"./d/./e", {"/d", "/d/e"}, "/d/e"},
        // The user's own link is followed: the folder is made in its target.
        {"own/via", {"/there/via"}, "/there/via"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const MadeFolder made = MakeFolderPath(base + "/" + c.path);
        std::vector<std::string> expected;
        for (const std::string& f : c.created)
            expected.push_back(base + f);
        EXPECT_EQ(made.created, expected);
        EXPECT_TRUE(IsFolder(base + c.folder));
        struct stat a, b;
        ASSERT_EQ(::stat(made.path.c_str(), &a), 0);
        ASSERT_EQ(::stat((base + c.folder).c_str(), &b), 0);
        EXPECT_EQ(a.st_ino, b.st_ino);
    }
    // A file on the way or at the end: refused, nothing made.
    for (const std::string& path : {base + "/file/x", base + "/file", std::string()}) {
        SCOPED_TRACE(path);
        EXPECT_THROW(MakeFolderPath(path), EInOutError);
    }
    EXPECT_FALSE(IsFolder(base + "/file/x"));
}

// A sticky world-writable folder of one user with another user's link to a
// folder only root may write: nothing is made through it, at any depth.
TEST(MakeFolderPath, RefusesAPlantedLinkAnywhereOnThePath)
{
    if (::geteuid() != 0) GTEST_SKIP() << "planting another user's link needs root";
    QTemporaryDir dir;
    const std::string base = dir.path().toStdString();
    const std::string guarded = base + "/guarded", shared = base + "/shared", planted = shared + "/link";
    ASSERT_EQ(::mkdir(guarded.c_str(), 0755), 0);
    ASSERT_EQ(::mkdir(shared.c_str(), 0777), 0);
    ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
    ASSERT_EQ(::chown(shared.c_str(), 65533, 65533), 0);
    ASSERT_EQ(::symlink(guarded.c_str(), planted.c_str()), 0);
    ASSERT_EQ(::lchown(planted.c_str(), 65534, 65534), 0);
    ASSERT_EQ(::symlink("shared/link", (base + "/own").c_str()), 0);

    for (const std::string& path : {planted, planted + "/made/by/link", planted + "/./x", base + "/own/x/y",
                                    shared + "/../shared/link/x"}) {
        SCOPED_TRACE(path);
        try {
            MakeFolderPath(path);
            ADD_FAILURE() << "made";
        } catch (const EInOutError& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot create folder \"" + path +
                                                 "\". The link belongs to another user in a shared folder");
        }
        EXPECT_THROW(SafeFolderWriter{path}, EInOutError);
    }
    EXPECT_EQ(Entries(guarded), "");
    // The folder owner's link is followed, as the kernel does.
    ASSERT_EQ(::lchown(planted.c_str(), 65533, 65533), 0);
    MakeFolderPath(planted + "/made");
    EXPECT_TRUE(IsFolder(guarded + "/made"));
}

TEST(SafeFolderWriter, PlacesEveryFileKeepingModesAndLeavesNoTemporary)
{
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString() + "/out";
    ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
    Write(folder + "/a.png", "old a");
    ASSERT_EQ(::chmod((folder + "/a.png").c_str(), 0640), 0);
    ASSERT_EQ(::symlink("nowhere", (folder + "/c.svg").c_str()), 0); // dangling: replaced by the file
    {
        SafeFolderWriter w(folder);
        struct stat st;
        ASSERT_EQ(::stat(w.TempFolder().c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u) << "the files are private until they are placed";
        for (const char* name : {"a.png", "b.png", "c.svg"})
            Write(w.TempFolder() + "/" + name, std::string("new ") + name);
        w.Commit({"a.png", "b.png", "c.svg"});
    }
    for (const char* name : {"a.png", "b.png", "c.svg"})
        EXPECT_EQ(Read(folder + "/" + name), std::string("new ") + name);
    struct stat st;
    ASSERT_EQ(::lstat((folder + "/a.png").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    ASSERT_EQ(::lstat((folder + "/c.svg").c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(Entries(folder), "a.png b.png c.svg");
}

// A failure before or while the files move leaves the folder as it was: old
// files back, new ones and the folders made for them gone.
TEST(SafeFolderWriter, AFailureLeavesTheFolderAsItWas)
{
    QTemporaryDir dir;
    const std::string base = dir.path().toStdString();
    const std::string folder = base + "/out";
    ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
    Write(folder + "/a.png", "old a");
    ASSERT_EQ(::mkdir((folder + "/holdup.png").c_str(), 0755), 0);
    // A file on another file system cannot be exchanged: the third move fails.
    QTemporaryDir elsewhere(QStringLiteral("/dev/shm/velk-XXXXXX"));
    const std::string away = elsewhere.path().toStdString() + "/c.png";
    Write(away, "old c");
    ASSERT_EQ(::symlink(away.c_str(), (folder + "/c.png").c_str()), 0);
    const std::string before = Entries(folder);

    const struct {
        std::string folder;
        std::vector<std::string> names;
    } cases[] = {
        {folder, {"a.png", "b.png", "holdup.png"}}, // a folder in the way: found before any move
        {folder, {"a.png", "b.png", "c.png"}},      // the exchange itself fails, after two moves
        {base + "/new/deeper", {"x.png", "x.png"}}, // the second file of a name was moved already
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.names.back());
        {
            SafeFolderWriter w(c.folder);
            for (const std::string& name : c.names)
                Write(w.TempFolder() + "/" + name, "new " + name);
            EXPECT_THROW(w.Commit(c.names), EInOutError);
        }
        EXPECT_EQ(Entries(folder), before);
        EXPECT_EQ(Read(folder + "/a.png"), "old a");
        EXPECT_EQ(Read(away), "old c");
        EXPECT_FALSE(IsFolder(base + "/new")) << "the folders made for the files are gone";
    }
}

// A run killed while writing leaves its temporary folder; the next one
// removes it, but not one that a running writer holds.
TEST(SafeFolderWriter, TheNextRunRemovesWhatAKilledRunLeft)
{
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    const std::string left = folder + "/.velk-files-abc123", held = folder + "/.velk-files-held00";
    for (const std::string& f : {left, held}) {
        ASSERT_EQ(::mkdir(f.c_str(), 0700), 0);
        Write(f + "/pressure-drop.png", "half");
    }
    const int holder = ::open(held.c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    {
        SafeFolderWriter w(folder);
        EXPECT_FALSE(IsFolder(left));
        EXPECT_TRUE(IsFolder(held));
    }
    ::close(holder);
    EXPECT_EQ(Entries(folder), ".velk-files-held00");
}

} // namespace
