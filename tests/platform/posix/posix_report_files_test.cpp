#include "inventory/binding_inventory.h"
#include "inventory/report_reading.h"
#include "inventory/system_interfaces.h"
#include "platform/system_access.h"
#include "tests/support/error_of.h"
#include "tests/support/scratch_folder.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using quorvel::OperationError;
using quorvel::SystemReportFiles;
using quorvel::testing::errorOf;
using quorvel::testing::ScratchFolder;

class SystemReportFilesTest : public ::testing::Test {
protected:
    std::string write(std::string_view bytes, const std::string& name = "report.txt")
    {
        std::ofstream(scratch / name, std::ios::binary) << bytes;
        return (scratch / name).string();
    }

    std::size_t lineCount(const std::string& path)
    {
        return quorvel::readReport(files, path).size();
    }

    ScratchFolder scratch;
    SystemReportFiles files;
};

TEST_F(SystemReportFilesTest, ReadsTheLinesOfARegularFile)
{
    const auto lines =
        quorvel::readReport(files, write("Lana:  3\r\n-->NetBEUI Protocol-->Card\n"));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "Lana:  3");
    EXPECT_EQ(lines[1], "-->NetBEUI Protocol-->Card");
}

TEST_F(SystemReportFilesTest, MissingFileIsAnErrorNamingIt)
{
    const std::string message = errorOf([&] { lineCount((scratch / "absent.txt").string()); });
    EXPECT_NE(message.find("absent.txt"), std::string::npos) << message;
    EXPECT_FALSE(fs::exists(scratch / "absent.txt"));
}

TEST_F(SystemReportFilesTest, RefusesAFileOverTheLimit)
{
    const std::string path = write("");
    fs::resize_file(path, quorvel::kMaxReportBytes + 1);
    const std::string message = errorOf([&] { lineCount(path); });
    EXPECT_NE(message.find("report.txt"), std::string::npos) << message;
    EXPECT_NE(message.find(std::to_string(quorvel::kMaxReportBytes + 1)), std::string::npos)
        << message;
}

// Nothing but a regular file is a report: a FIFO would hold the open forever, a device reads
// as an empty or endless report, and a link may point anywhere.
TEST_F(SystemReportFilesTest, RefusesWhatIsNotARegularFileWithoutBlocking)
{
    ASSERT_EQ(::mkfifo((scratch / "fifo").c_str(), 0600), 0);
    fs::create_symlink("/dev/null", scratch / "device");
    fs::create_symlink(write("Lana:  1\n", "real.txt"), scratch / "link");
    const struct {
        const char* name;
        const char* reason;
    } cases[] = {
        {"fifo", "not a regular file"},
        {"device", "symbolic link"},
        {"link", "symbolic link"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string message = errorOf([&] { lineCount((scratch / c.name).string()); });
        EXPECT_NE(message.find(c.name), std::string::npos) << message;
        EXPECT_NE(message.find(c.reason), std::string::npos) << message;
    }
}

TEST_F(SystemReportFilesTest, RemoveLeftoverClearsTheNameOrSaysWhyNot)
{
    files.removeLeftover((scratch / "nothing-there").string());

    write("old report\n", "old.txt");
    fs::create_symlink(scratch / "gone", scratch / "dangling");
    fs::create_symlink(scratch / "old.txt", scratch / "link");
    for (const char* name : {"link", "dangling", "old.txt"}) {
        SCOPED_TRACE(name);
        // The link goes, never what it points to.
        EXPECT_TRUE(fs::exists(scratch / "old.txt"));
        files.removeLeftover((scratch / name).string());
        EXPECT_EQ(fs::symlink_status(scratch / name).type(), fs::file_type::not_found);
    }

    fs::create_directory(scratch / "folder");
    const std::string message =
        errorOf([&] { files.removeLeftover((scratch / "folder").string()); });
    EXPECT_NE(message.find("folder"), std::string::npos) << message;
    EXPECT_TRUE(fs::is_directory(scratch / "folder"));
}

TEST_F(SystemReportFilesTest, RemoveDeletesAndAMissingFileIsAnError)
{
    const std::string path = write("x\n");
    files.remove(path);
    EXPECT_FALSE(fs::exists(path));

    const std::string message = errorOf([&] { files.remove(path); });
    EXPECT_NE(message.find("report.txt"), std::string::npos) << message;
}

// As two windows started 20 ms apart in one folder load, against a 50 ms report command.
TEST(ReportFolderTurns, TwoRefreshesInOneFolderBothListTheBindings)
{
    const ScratchFolder work(ScratchFolder::Enter::Yes);
    const quorvel::testing::EnvironmentVariable locks("XDG_RUNTIME_DIR", work.path().c_str());
    std::ofstream(work / "lanacfg") << "#!/bin/sh\necho 'Lana:  2'\nsleep 0.05\n"
                                       "echo '-->NetBEUI Protocol-->Card'\n";
    fs::permissions(work / "lanacfg", fs::perms::owner_all);
    const quorvel::testing::PathPrefix onPath(work.path());
    const auto load = [] {
        try {
            quorvel::SystemCommandRunner runner;
            SystemReportFiles files;
            EXPECT_EQ(quorvel::bindingsFromReportCommand(runner, files),
                      (std::vector<quorvel::Binding>{{"2", "Card"}}));
        } catch (const OperationError& error) {
            ADD_FAILURE() << error.what();
        }
    };
    std::thread first(load);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::thread second(load);
    first.join();
    second.join();
}

TEST(PrivateReportFolder, NextOneRemovesTheFolderOfAKilledRunButNotOfARunningOne)
{
    const ScratchFolder temporary;
    const quorvel::testing::EnvironmentVariable tmpdir("TMPDIR", temporary.path().c_str());
    quorvel::PrivateReportFolder running;
    const fs::path runningFolder = running.path();
    const pid_t child = ::fork();
    if (child == 0) {
        quorvel::PrivateReportFolder killed;
        killed.path();
        ::raise(SIGKILL);
    }
    ::waitpid(child, nullptr, 0);
    ASSERT_EQ(std::ranges::distance(fs::directory_iterator(temporary.path())), 2);
    quorvel::PrivateReportFolder().path();
    EXPECT_EQ(std::ranges::distance(fs::directory_iterator(temporary.path())), 1);
    EXPECT_TRUE(fs::exists(runningFolder));
}

} // namespace
