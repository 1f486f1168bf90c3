#include "inventory/report_reading.h"
#include "inventory/system_interfaces.h"
#include "platform/system_access.h"
#include "tests/support/error_of.h"
#include "tests/support/scratch_folder.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <string_view>

namespace {

namespace fs = std::filesystem;
using quorvel::OperationError;
using quorvel::readReport;
using quorvel::SystemReportFiles;
using quorvel::testing::errorOf;
using quorvel::testing::ScratchFolder;

// Each test works in a fresh current folder, so that relative names can be checked for the
// full path in messages.
class SystemReportFilesTest : public ::testing::Test {
protected:
    std::string write(std::string_view bytes, const std::string& name = "report.txt")
    {
        std::ofstream(scratch / name, std::ios::binary) << bytes;
        return name;
    }

    std::string full(const std::string& name) const { return (scratch / name).string(); }

    static DWORD attributesOf(const std::string& name)
    {
        return ::GetFileAttributesW(fs::path(name).c_str());
    }

    ScratchFolder scratch{ScratchFolder::Enter::Yes};
    SystemReportFiles files;
};

TEST_F(SystemReportFilesTest, ReadsTheLinesOfAFileByteForByte)
{
    const auto lines =
        readReport(files, write("Lana:  3\r\n-->NetBEUI Protocol-->Carte r\xe9seau\r\n\r\nlast"));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "Lana:  3");
    EXPECT_EQ(lines[1], "-->NetBEUI Protocol-->Carte r\xe9seau");
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[3], "last");
}

TEST_F(SystemReportFilesTest, ReadsUtf16InTheAnsiCodePageOrRefusesWhatItLacks)
{
    if (::GetACP() != 1252)
        GTEST_SKIP() << "written for code page 1252, this system's is " << ::GetACP();
    using namespace std::string_view_literals;
    const struct {
        const char* name;
        std::string_view file;
        std::string_view firstLine; // empty: refused
    } cases[] = {
        {"LE, in the code page",
         "\xFF\xFE"
         "C\0\xE9\0\xAC\x20\r\0\n\0"sv,
         "C\xE9\x80"},
        {"BE, in the code page", "\xFE\xFF\0C\0\xE9"sv, "C\xE9"},
        {"a letter it lacks", "\xFF\xFE\x16\x04"sv, ""},
        {"a letter only like one it has", "\xFF\xFE\x00\x01"sv, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.firstLine.empty()) {
            EXPECT_EQ(errorOf([&] { readReport(files, write(c.file)); }),
                      "Could not read \"" + full("report.txt") +
                          "\": it is UTF-16 text (it starts with that byte-order mark), but it "
                          "holds a character that the system's code page lacks");
        } else {
            EXPECT_EQ(readReport(files, write(c.file))[0], c.firstLine);
        }
    }
}

TEST_F(SystemReportFilesTest, ReadsAFileOfManyReadSteps)
{
    std::string bytes;
    for (int lana = 0; lana < 300'000; ++lana)
        bytes += "Lana:  " + std::to_string(lana) + "\r\n";
    ASSERT_GT(bytes.size(), 3u * 1024 * 1024);

    const auto lines = readReport(files, write(bytes));
    ASSERT_EQ(lines.size(), 300'000u);
    EXPECT_EQ(lines[299'999], "Lana:  299999");
}

TEST_F(SystemReportFilesTest, RefusesAFileOverTheLimitNamingItsSize)
{
    write("", "large.txt");
    fs::resize_file(scratch / "large.txt", quorvel::kMaxReportBytes + 1);
    const std::string message = errorOf([&] { readReport(files, "large.txt"); });
    EXPECT_NE(message.find(full("large.txt")), std::string::npos) << message;
    EXPECT_NE(message.find(std::to_string(quorvel::kMaxReportBytes + 1)), std::string::npos)
        << message;
}

// A folder at the report's name, or a device name such as NUL, which opens the device
// whatever the folder holds.
TEST_F(SystemReportFilesTest, RefusesWhatIsNotARegularFile)
{
    fs::create_directory(scratch / "folder");
    for (const std::string name : {"folder", "NUL"}) {
        SCOPED_TRACE(name);
        const std::string message = errorOf([&] { readReport(files, name); });
        EXPECT_EQ(message.rfind("Refused to read \""), 0u) << message;
        EXPECT_NE(message.find(name + "\": it is not a regular file"), std::string::npos)
            << message;
    }
    EXPECT_EQ(errorOf([&] { readReport(files, "folder"); }),
              "Refused to read \"" + full("folder") + "\": it is not a regular file");
    EXPECT_TRUE(fs::is_directory(scratch / "folder"));
}

TEST_F(SystemReportFilesTest, MissingFileErrorsNameItByItsFullPath)
{
    const struct {
        const char* action;
        std::function<void()> act;
    } cases[] = {
        {"Could not open", [&] { readReport(files, "absent.txt"); }},
        {"Could not delete", [&] { files.remove("absent.txt"); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.action);
        const std::string message = errorOf(c.act);
        const std::string start = std::string(c.action) + " \"" + full("absent.txt") + "\": ";
        EXPECT_EQ(message.substr(0, start.size()), start) << message;
        // Followed by the system's reason.
        EXPECT_GT(message.size(), start.size()) << message;
    }
    EXPECT_FALSE(fs::exists(scratch / "absent.txt"));
}

TEST_F(SystemReportFilesTest, RemoveDeletesTheFile)
{
    files.remove(write("Lana:  3\r\n"));
    EXPECT_FALSE(fs::exists(scratch / "report.txt"));
}

// A read-only leftover would make the report command's redirection fail, and leave the
// leftover to be read as the new report.
TEST_F(SystemReportFilesTest, RemoveLeftoverClearsTheNameOfAnyFile)
{
    files.removeLeftover("nothing-there.txt");

    const struct {
        const char* name;
        DWORD attributes;
    } cases[] = {
        {"plain.txt", FILE_ATTRIBUTE_NORMAL},
        {"read-only.txt", FILE_ATTRIBUTE_READONLY},
        {"hidden-read-only.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        write("old report\r\n", c.name);
        ASSERT_NE(::SetFileAttributesW(fs::path(c.name).c_str(), c.attributes), 0);
        files.removeLeftover(c.name);
        EXPECT_EQ(attributesOf(c.name), INVALID_FILE_ATTRIBUTES);
    }
}

TEST_F(SystemReportFilesTest, RemoveLeftoverSaysWhyWhenTheNameCannotBeCleared)
{
    fs::create_directory(scratch / "folder");
    EXPECT_EQ(errorOf([&] { files.removeLeftover("folder"); }),
              "Could not remove \"" + full("folder") +
                  "\": a folder stands where the report file must be written");
    EXPECT_TRUE(fs::is_directory(scratch / "folder"));

    // Held open by someone who lets nobody delete it meanwhile.
    write("old report\r\n", "held.txt");
    const HANDLE held = ::CreateFileW(L"held.txt", GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const std::string message = errorOf([&] { files.removeLeftover("held.txt"); });
    ::CloseHandle(held);
    const std::string start = "Could not remove \"" + full("held.txt") + "\": ";
    EXPECT_EQ(message.substr(0, start.size()), start) << message;
    EXPECT_TRUE(fs::exists(scratch / "held.txt"));
}

} // namespace
