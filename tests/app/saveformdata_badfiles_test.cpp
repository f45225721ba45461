// Damaged and unusual project files, and saves that fail: every case ends
// in the documented answer (false, a file error, a skipped control), never
// in a crash, a hang or a huge allocation; a failed save leaves the old
// file as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "Messages.h"
#include "ProjectCommands.h"
#include "SaveFormData.h"
#include "SaveFormDataFile.h"
#include "project_test_support.h"

using namespace projecttest;

namespace
{

std::string CompressedProject()
{
    CalcPage page(false);
    FillDistinctState(page);
    return CompressProjectText(FormRecordsText(page));
}

std::vector<std::string> DirectoryEntries(const std::string& path)
{
    std::vector<std::string> names;
    if (DIR* d = opendir(path.c_str())) {
        while (dirent* e = readdir(d))
            if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") names.push_back(e->d_name);
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

void SetLength(std::string& file, std::uint32_t n)
{
    for (int i = 0; i < 4; ++i)
        file[i] = static_cast<char>((n >> (8 * i)) & 0xFF);
}

std::string ErrorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const EInOutError& e) {
        return e.what();
    }
    return "(no EInOutError)";
}

class BadFilesTest : public ::testing::Test
{
protected:
    RecordingSink sink;
    ScopedMessageSink scope{&sink};
    TempDir dir;
};

// ------------------------------------------------------ compressed container

TEST_F(BadFilesTest, EveryTruncationOfACompressedFileIsNoFormRecordFile)
{
    const std::string file = CompressedProject();
    CalcPage page(false);
    const auto fresh = Snapshot(page);
    for (std::size_t n = 0; n < file.size(); ++n) {
        const std::string cut = file.substr(0, n);
        EXPECT_EQ(ProjectPlainText(cut), cut) << n;
        ASSERT_FALSE(ApplyFormRecords(page, ProjectPlainText(cut))) << n;
    }
    EXPECT_EQ(Snapshot(page), fresh);
    EXPECT_TRUE(ApplyFormRecords(page, ProjectPlainText(file)));
}

TEST_F(BadFilesTest, CorruptedStreamNeverYieldsADifferentText)
{
    CalcPage page(false);
    FillDistinctState(page);
    const std::string plain = FormRecordsText(page);
    const std::string file = CompressProjectText(plain);
    int detected = 0;
    for (std::size_t i = 4; i < file.size(); ++i) {
        std::string bad = file;
        bad[i] = static_cast<char>(bad[i] ^ 0x5A);
        const std::string got = ProjectPlainText(bad);
        // Either the damage is found (the bytes are taken as plain), or it
        // hit only the padding bits after the last block, which carry nothing.
        if (got == bad)
            ++detected;
        else
            ASSERT_EQ(got, plain) << "byte " << i;
    }
    EXPECT_GE(detected, static_cast<int>(file.size()) - 6);
}

TEST_F(BadFilesTest, LengthFieldMustMatchTheStreamAndIsNeverAllocatedBlindly)
{
    const std::string file = CompressedProject();
    const auto* b = reinterpret_cast<const unsigned char*>(file.data());
    const std::uint32_t length = b[0] | (b[1] << 8) | (b[2] << 16) | (std::uint32_t(b[3]) << 24);
    ASSERT_GT(length, 1000u);
    for (std::uint32_t claim : {length - 1, length + 1, 0u, 0x7FFFFFFFu, 0xFFFFFFFFu, 64u << 20}) {
        std::string bad = file;
        SetLength(bad, claim);
        EXPECT_EQ(ProjectPlainText(bad), bad) << claim;
    }
    // A plain project starts with "CFR ", a claim of half a gigabyte.
    const std::string plain = std::string(kFormRecordBanner) + "\r\n\r\n\r\n";
    EXPECT_EQ(ProjectPlainText(plain), plain);
    // An empty text compressed is a valid container holding no banner.
    EXPECT_EQ(ProjectPlainText(CompressProjectText("")), "");
}

// ---------------------------------------------------------------- the files

TEST_F(BadFilesTest, EmptyFileIsReadAsAnEmptyLegacyLayout)
{
    WriteBytes(dir / "empty.vel", "");
    CalcPage page(false);
    FillDistinctState(page);
    EXPECT_FALSE(ReadFormRecords(page, dir / "empty.vel"));
    LoadProject(page, dir / "empty.vel");
    for (TEditD* f : page.ValueFields())
        EXPECT_EQ(f->Text(), "") << f->Name();
    EXPECT_EQ(page.TextBox("ProjectD")->Text(), "");
    EXPECT_EQ(page.TextBox("CommentD")->Text(), "");
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(BadFilesTest, MissingFilesAndDirectoriesRaiseTheFileErrorAndChangeNothing)
{
    CalcPage page(false);
    FillDistinctState(page);
    const auto before = Snapshot(page);
    EXPECT_EQ(ErrorOf([&] { LoadProject(page, dir / "absent.vel"); }),
              "Cannot open file \"" + (dir / "absent.vel") + "\". No such file or directory");
    EXPECT_EQ(ErrorOf([&] { LoadProject(page, dir.path()); }),
              "Cannot open file \"" + dir.path() + "\". Is a directory");
    WriteBytes(dir / "file.vel", "x");
    EXPECT_FALSE(ReadFormRecords(page, dir / "file.vel/inner.vel"));
    EXPECT_NE(ErrorOf([&] { ReadLegacyLayout(page, dir / "file.vel/inner.vel"); }), "(no EInOutError)");
    EXPECT_EQ(Snapshot(page), before);
}

TEST_F(BadFilesTest, FilesThatAreNoRegularFilesAreRefusedWithoutBlocking)
{
    CalcPage page(false);
    const auto before = Snapshot(page);
    // A named pipe with no writer would block a plain open for ever.
    ASSERT_EQ(mkfifo((dir / "pipe.vel").c_str(), 0600), 0);
    EXPECT_EQ(ErrorOf([&] { ReadFormRecords(page, dir / "pipe.vel"); }),
              "Cannot open file \"" + (dir / "pipe.vel") + "\". Not a regular file");
    // An endless device.
    EXPECT_EQ(ErrorOf([&] { LoadProject(page, "/dev/zero"); }),
              "Cannot open file \"/dev/zero\". Not a regular file");
    // A socket exists but cannot be opened at all.
    const int s = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const std::string sockPath = dir / "sock.vel";
    ASSERT_LT(sockPath.size(), sizeof addr.sun_path);
    std::strcpy(addr.sun_path, sockPath.c_str());
    ASSERT_EQ(bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    EXPECT_EQ(
        ErrorOf([&] { ReadFormRecords(page, sockPath); }).rfind("Cannot open file \"" + sockPath + "\". ", 0),
        0u);
    close(s);
    EXPECT_EQ(Snapshot(page), before);
}

TEST_F(BadFilesTest, UnreadableAndOversizedFilesRaiseTheFileError)
{
    CalcPage page(false);
    // Sparse: one byte beyond the limit costs no disk space.
    const std::string big = dir / "big.vel";
    {
        const int fd = open(big.c_str(), O_WRONLY | O_CREAT, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(ftruncate(fd, static_cast<off_t>(kMaxProjectFileBytes) + 1), 0);
        close(fd);
    }
    EXPECT_EQ(ErrorOf([&] { ReadFormRecords(page, big); }),
              "Cannot open file \"" + big + "\". File too large for a project");

    if (geteuid() != 0) { // permissions do not stop the super-user
        WriteBytes(dir / "locked.vel", std::string(kFormRecordBanner) + "\r\n");
        chmod((dir / "locked.vel").c_str(), 0);
        EXPECT_EQ(ErrorOf([&] { ReadFormRecords(page, dir / "locked.vel"); }),
                  "Cannot open file \"" + (dir / "locked.vel") + "\". Permission denied");
    }
}

// ------------------------------------------------------------------- saving

TEST_F(BadFilesTest, SaveIntoAMissingFolderOrOntoADirectoryFailsClearly)
{
    CalcPage page(false);
    const std::string missing = dir / "no/such/folder/p.vel";
    EXPECT_EQ(ErrorOf([&] { WriteFormRecords(page, missing); }),
              "Cannot create file \"" + missing + "\". No such file or directory");
    mkdir((dir / "sub").c_str(), 0700);
    EXPECT_EQ(ErrorOf([&] { WriteFormRecords(page, dir / "sub"); }),
              "Cannot create file \"" + (dir / "sub") + "\". Is a directory");
    EXPECT_EQ(DirectoryEntries(dir.path()), std::vector<std::string>{"sub"});
    EXPECT_TRUE(DirectoryEntries(dir / "sub").empty());
}

TEST_F(BadFilesTest, WriteThatFailsHalfWayLeavesTheOldFileAsItWas)
{
    CalcPage page(false);
    FillDistinctState(page);
    const std::string path = dir / "p.vel";
    const std::string old = "the old project, which must survive";
    WriteBytes(path, old);

    // Files may not grow beyond 100 bytes for a moment: the write fails
    // in the middle (EFBIG) as on a full disk.
    void (*previous)(int) = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 100;
    setrlimit(RLIMIT_FSIZE, &small);
    std::string error;
    try {
        WriteFormRecords(page, path, ProjectForm::Plain);
    } catch (const EInOutError& e) {
        error = e.what();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_EQ(error, "Cannot create file \"" + path + "\". File too large");
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(DirectoryEntries(dir.path()), std::vector<std::string>{"p.vel"});
}

TEST_F(BadFilesTest, SaveReplacesInPlaceKeepingPermissionsAndLinks)
{
    CalcPage page(false);
    const std::string real = dir / "real.vel";
    WriteBytes(real, "old");
    chmod(real.c_str(), 0640);
    ASSERT_EQ(symlink("real.vel", (dir / "link.vel").c_str()), 0);

    page.TextBox("Edit1")->SetText("via link");
    WriteFormRecords(page, dir / "link.vel");
    EXPECT_EQ(DirectoryEntries(dir.path()),
              (std::vector<std::string>{"link.vel", "real.vel"})); // no temporary
    struct stat st;
    ASSERT_EQ(lstat((dir / "link.vel").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    CalcPage back(false);
    ASSERT_TRUE(ReadFormRecords(back, real));
    EXPECT_EQ(back.TextBox("Edit1")->Text(), "via link");

    if (geteuid() != 0) {
        chmod(real.c_str(), 0444);
        EXPECT_NE(ErrorOf([&] { WriteFormRecords(page, real); }), "(no EInOutError)");
    }
}

} // namespace
