// "&System Info..." on the desktop: the tool found on the PATH is started as
// a program (no shell); without one the error message is shown.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "about/frm_about.h"
#include "program_fixture.h"

namespace qx::qt::testing {
namespace {

struct PathGuard {
    std::string saved = std::getenv("PATH") ? std::getenv("PATH") : "";
    explicit PathGuard(const std::string& path) { ::setenv("PATH", path.c_str(), 1); }
    ~PathGuard() { ::setenv("PATH", saved.c_str(), 1); }
};

// A program that ended earlier in this process told every event loop to
// quit; the message box's own loop would return at once. Running the
// application's loop once clears that.
void ClearEarlierQuit() {
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}

TEST(SystemInfo, WithoutAToolItSaysSo) {
    ClearEarlierQuit();
    PathGuard path("/nonexistent");
    Program program;
    program.event([&] { program.main.mnuAbout_Click(); });
    ASSERT_NE(program.main.about(), nullptr);
    QString shown;
    // Read and close the modal message box as soon as it is up.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->accept();
        }
    });
    poll.start(20);
    program.event([&] { program.main.about()->cmdSysInfo_Click(); });
    EXPECT_EQ(shown, "Unable to start System Information!");
    EXPECT_NE(program.main.about(), nullptr);  // the box stays open
}

TEST(SystemInfo, StartsTheToolFoundOnThePath) {
    char folder[] = "/tmp/qx-sysinfo-XXXXXX";
    ASSERT_NE(::mkdtemp(folder), nullptr);
    const std::string tool = std::string(folder) + "/lxtask";
    const std::string marker = std::string(folder) + "/started";
    {
        std::ofstream script(tool);
        script << "#!/bin/sh\necho \"$#\" > '" << marker << "'\n";
    }
    ASSERT_EQ(::chmod(tool.c_str(), 0755), 0);
    PathGuard path(std::string(folder) + ":/usr/bin:/bin");

    Program program;
    program.event([&] { program.main.mnuAbout_Click(); });
    ASSERT_NE(program.main.about(), nullptr);
    program.event([&] { program.main.about()->cmdSysInfo_Click(); });
    ASSERT_TRUE(WaitFor([&] { return ::access(marker.c_str(), F_OK) == 0; }, 5000));
    std::ifstream started(marker);
    std::string arguments;
    std::getline(started, arguments);
    EXPECT_EQ(arguments, "0");  // started with no arguments, as the program itself
    std::remove(marker.c_str());
    std::remove(tool.c_str());
    ::rmdir(folder);
}

}  // namespace
}  // namespace qx::qt::testing
