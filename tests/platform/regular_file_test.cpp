// The one routine that opens outside files for reading: links followed only
// where the kernel's rule for shared folders allows, nothing but a regular
// file accepted, and the descriptor handed back ready for blocking reads.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Messages.h"
#include "RegularFile.h"
#include "SafeFileReplacer.h"

namespace
{

std::string ErrorOf(const std::string& path)
{
    try {
        ReadRegularFile(path, 100);
    } catch (const EInOutError& e) {
        return e.what();
    }
    return "(read)";
}

TEST(RegularFile, OpensRegularFilesForBlockingReadsAndRefusesTheRest)
{
    QTemporaryDir dir;
    const std::string file = dir.filePath("a.csv").toStdString();
    const std::string pipe = dir.filePath("pipe.csv").toStdString();
    SafeReplaceFile(file, "abc");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);

    const int fd = OpenRegularFile(file);
    EXPECT_EQ(::fcntl(fd, F_GETFL) & O_NONBLOCK, 0);
    ::close(fd);
    EXPECT_EQ(ReadRegularFile(file, 3), "abc");
    EXPECT_EQ(ErrorOf(pipe), "Cannot open file \"" + pipe + "\". Not a regular file");
    EXPECT_EQ(ErrorOf(file + "/x"), "Cannot open file \"" + file + "/x\". Not a directory");
    EXPECT_EQ(ReadRegularFile(dir.path().toStdString() + "/./a.csv", 3), "abc");
}

TEST(RegularFile, FollowsOwnLinksButNotOneOfAnotherUserInASharedFolder)
{
    QTemporaryDir dir;
    const std::string base = dir.path().toStdString();
    const std::string secret = base + "/secret";
    SafeReplaceFile(secret, "root's");
    ASSERT_EQ(::symlink("secret", (base + "/own").c_str()), 0);
    EXPECT_EQ(ReadRegularFile(base + "/own", 100), "root's");
    ASSERT_EQ(::symlink("absent", (base + "/dangling").c_str()), 0);
    EXPECT_EQ(ErrorOf(base + "/dangling"), "Cannot open file \"" + base + "/dangling\". No such file or directory");

    if (::geteuid() != 0) GTEST_SKIP() << "planting another user's link needs root";
    const std::string shared = base + "/shared";
    ASSERT_EQ(::mkdir(shared.c_str(), 0777), 0);
    ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
    ASSERT_EQ(::chown(shared.c_str(), 65533, 65533), 0);
    for (const std::string& planted : {shared + "/profile.csv", shared + "/folder"}) {
        ASSERT_EQ(::symlink(planted.back() == 'r' ? base.c_str() : secret.c_str(), planted.c_str()), 0);
        ASSERT_EQ(::lchown(planted.c_str(), 65534, 65534), 0);
    }
    for (const std::string& path : {shared + "/profile.csv", shared + "/folder/secret"})
        EXPECT_EQ(ErrorOf(path),
                  "Cannot open file \"" + path + "\". The link belongs to another user in a shared folder");
}

} // namespace
