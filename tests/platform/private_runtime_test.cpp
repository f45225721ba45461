// Sockets and locks only in a folder of the user's own, and the peer's user
// id checked on local sockets.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include "LocalAutoClient.h"
#include "LocalAutoServer.h"
#include "PrivateRuntime.h"

namespace
{

// Every wait below has a bound: a child that cannot connect (a folder on
// the way it may not enter) must fail the test, not hang it.
constexpr int kWaitMs = 10000;

bool Readable(int fd, int timeoutMs)
{
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, timeoutMs) == 1 && (p.revents & POLLIN);
}

// The child's exit status, or -1 when it had to be killed after the bound.
int ReapChild(pid_t child, int timeoutMs)
{
    int status = 0;
    for (int waited = 0; waited < timeoutMs; waited += 10) {
        if (::waitpid(child, &status, WNOHANG) == child) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        ::usleep(10000);
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, &status, 0); // killed: returns at once
    return -1;
}

class PrivateRuntimeDirTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qunsetenv("VELK_ROT_DIR");
        qputenv("TMPDIR", dir.filePath("tmp").toLocal8Bit());
        qputenv("XDG_CACHE_HOME", dir.filePath("cache").toLocal8Bit());
        QDir().mkpath(dir.filePath("tmp"));
        QDir().mkpath(dir.filePath("run"));
    }
    void TearDown() override
    {
        qunsetenv("TMPDIR");
        qunsetenv("XDG_CACHE_HOME");
        qunsetenv("XDG_RUNTIME_DIR");
    }
    QTemporaryDir dir;
};

TEST_F(PrivateRuntimeDirTest, UsesOnlyFoldersOwnedByTheUserWithMode0700)
{
    const QString run = dir.filePath("run");
    const QString ours = QStringLiteral("velk-%1").arg(::geteuid());
    const QString inTmp = dir.filePath("tmp/") + ours;
    const QString inCache = dir.filePath("cache/") + ours;
    const QString link = dir.filePath("link");
    ASSERT_EQ(::symlink(qPrintable(run), qPrintable(link)), 0);
    struct Case {
        const char* what;
        QString runtime;
        mode_t runtimeMode;
        mode_t tmpCandidateMode; // 0: absent
        QString expected;
    } cases[] = {
        {"private runtime folder", run, 0700, 0, run},
        {"runtime folder open to others", run, 0755, 0, inTmp},
        {"no runtime folder", QString(), 0700, 0, inTmp},
        {"runtime folder through a link", link, 0700, 0, inTmp},
        {"name in the temporary folder taken, wrong mode", QString(), 0700, 0777, inCache},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QDir(inTmp).removeRecursively();
        QDir(inCache).removeRecursively();
        ::chmod(qPrintable(run), c.runtimeMode);
        if (c.tmpCandidateMode) {
            ASSERT_EQ(::mkdir(qPrintable(inTmp), 0700), 0);
            ::chmod(qPrintable(inTmp), c.tmpCandidateMode);
        }
        if (c.runtime.isEmpty())
            qunsetenv("XDG_RUNTIME_DIR");
        else
            qputenv("XDG_RUNTIME_DIR", c.runtime.toLocal8Bit());
        QString error;
        EXPECT_EQ(PrivateRuntimeDir(&error), c.expected) << qPrintable(error);
        struct stat st;
        ASSERT_EQ(::lstat(qPrintable(c.expected), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0700u);
    }
}

TEST_F(PrivateRuntimeDirTest, AnotherUsersFolderOfOurNameIsPassedBy)
{
    if (::geteuid() != 0) GTEST_SKIP() << "another user's folder needs root";
    qunsetenv("XDG_RUNTIME_DIR");
    const QString inTmp = dir.filePath("tmp/") + QStringLiteral("velk-%1").arg(::geteuid());
    ASSERT_EQ(::mkdir(qPrintable(inTmp), 0700), 0);
    ASSERT_EQ(::chown(qPrintable(inTmp), 65534, 65534), 0);
    QString error;
    EXPECT_EQ(PrivateRuntimeDir(&error), dir.filePath("cache/") + QStringLiteral("velk-%1").arg(::geteuid()));
    EXPECT_FALSE(IsPrivateFolder(inTmp, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(LocalSockets, NeitherEndUsesAFolderOthersCanEnter)
{
    QTemporaryDir dir;
    ::chmod(qPrintable(dir.path()), 0755);
    const QString name = dir.filePath(QStringLiteral("velk-HYSYS.Application"));
    LocalAutoServer server(nullptr);
    EXPECT_FALSE(server.Listen(name));
    EXPECT_FALSE(server.ErrorText().isEmpty());
    EXPECT_THROW(LocalAutoConnection::Connect(name, "HYSYS.Application", 500), ELocalPeerRefused);
}

TEST(PeerIsSameUser, AcceptsOurselvesAndRefusesAnotherUser)
{
    int pair[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
    QString error;
    EXPECT_TRUE(PeerIsSameUser(pair[0], &error));
    ::close(pair[0]);
    ::close(pair[1]);
    EXPECT_FALSE(PeerIsSameUser(-1, &error));

    if (::geteuid() != 0) GTEST_SKIP() << "a peer of another user needs root";
    // Under /tmp, which every user may enter, whatever TMPDIR says.
    QTemporaryDir dir(QStringLiteral("/tmp/velk-peer-XXXXXX"));
    ASSERT_TRUE(dir.isValid());
    ::chmod(qPrintable(dir.path()), 0777);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const QByteArray path = dir.filePath("s").toLocal8Bit();
    std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", path.constData());
    const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(::bind(server, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ::chmod(path.constData(), 0777);
    ASSERT_EQ(::listen(server, 1), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        const int client = ::socket(AF_UNIX, SOCK_STREAM, 0);
        const bool ok =
            ::setuid(65534) == 0 && ::connect(client, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
        char c;
        if (ok) (void)::read(client, &c, 1);
        ::_exit(ok ? 0 : 1);
    }
    if (!Readable(server, kWaitMs)) {
        const int status = ReapChild(child, kWaitMs);
        ::close(server);
        FAIL() << "user 65534 did not connect to " << path.constData() << " within " << kWaitMs
               << " ms (child status " << status << "): can it enter every folder on the way?";
    }
    const int accepted = ::accept(server, nullptr, nullptr);
    ASSERT_GE(accepted, 0);
    EXPECT_FALSE(PeerIsSameUser(accepted, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("65534")));
    ::close(accepted);
    ::close(server);
    EXPECT_EQ(ReapChild(child, kWaitMs), 0) << "the child did not end within " << kWaitMs << " ms";
}

} // namespace
