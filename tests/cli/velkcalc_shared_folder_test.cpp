// velk-calc run by root writes nothing through another user's link to a
// folder, planted in a sticky shared folder: neither --save nor --charts.
#include <gtest/gtest.h>

#include <QDir>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "VelkCalc.h"

namespace
{

const std::vector<std::string> kCase = {"LD=2.5",   "VD=3.0",   "DlD=800",   "DvD=2.5",   "MlD=0.0003",
                                        "MvD=1e-5", "SLD=0.02", "DlfD=2e-9", "DvfD=1e-5", "alfD=2"};

TEST(VelkCalcSharedFolder, WritesNothingThroughAPlantedFolderLink)
{
    if (::geteuid() != 0) GTEST_SKIP() << "planting another user's link needs root";
    int argc = 1;
    char name[] = "velk-calc";
    char* argv[] = {name, nullptr};
    const QGuiApplication app(argc, argv); // the charts are drawn
    QTemporaryDir dir;
    const std::string base = dir.path().toStdString();
    const std::string guarded = base + "/guarded", shared = base + "/shared", link = shared + "/link";
    ASSERT_EQ(::mkdir(guarded.c_str(), 0755), 0);
    ASSERT_EQ(::mkdir(shared.c_str(), 0777), 0);
    ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
    ASSERT_EQ(::chown(shared.c_str(), 65533, 65533), 0);
    ASSERT_EQ(::symlink(guarded.c_str(), link.c_str()), 0);
    ASSERT_EQ(::lchown(link.c_str(), 65534, 65534), 0);

    for (const std::vector<std::string>& options :
         {std::vector<std::string>{"--save", link + "/x.vel"}, std::vector<std::string>{"--charts", link},
          std::vector<std::string>{"--charts", link + "/made/by/link"}}) {
        SCOPED_TRACE(options[0] + " " + options[1]);
        std::vector<std::string> args = options;
        args.insert(args.end(), kCase.begin(), kCase.end());
        std::ostringstream out, err;
        EXPECT_NE(RunVelkCalc(args, out, err), 0);
        EXPECT_NE(err.str().find("The link belongs to another user in a shared folder"), std::string::npos)
            << err.str();
        EXPECT_TRUE(QDir(QString::fromStdString(guarded)).isEmpty());
    }
}

} // namespace
