#include "inventory/binding_inventory.h"
#include "inventory/command_runner.h"
#include "inventory/lana_tool.h"
#include "inventory/operation_error.h"
#include "inventory/plain_adapter_list.h"
#include "platform/qt_report_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

const std::string kNetBEUI = "-->NetBEUI Protocol-->";

// Each test runs in a directory of its own, as the report file is named relative to it.
class ScratchDirectory {
public:
    ScratchDirectory() : previous_(fs::current_path())
    {
        std::random_device seed;
        path_ = fs::temp_directory_path() / ("quorvel-refresh-" + std::to_string(seed()));
        fs::create_directories(path_);
        fs::current_path(path_);
    }
    ~ScratchDirectory()
    {
        fs::current_path(previous_);
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

private:
    fs::path previous_;
    fs::path path_;
};

// Stands in for the report command: writes the next report into the report file, or
// nothing at all, and notes what the lists held while it ran.
class ReportWritingRunner : public CommandRunner {
public:
    explicit ReportWritingRunner(const PlainAdapterList& lstCard) : lstCard_(lstCard) {}

    void run(const std::string& commandLine) override
    {
        commands.push_back(commandLine);
        cardRowsWhileRunning = lstCard_.rowCount();
        if (nextReport) {
            std::ofstream out(std::string(kReportFileName), std::ios::binary);
            out << *nextReport;
        }
    }

    std::optional<std::string> nextReport;
    std::vector<std::string> commands;
    int cardRowsWhileRunning = -1;

private:
    const PlainAdapterList& lstCard_;
};

std::string joinLines(const Lines& lines, const std::string& lineBreak = "\n")
{
    std::string text;
    for (const std::string& line : lines)
        text += line + lineBreak;
    return text;
}

class Refresh : public ::testing::Test {
protected:
    void refresh(const std::optional<std::string>& report)
    {
        runner.nextReport = report;
        inventory.GetLANAInfo(runner, files);
    }

    bool reportFileExists() const { return fs::exists(std::string(kReportFileName)); }

    ScratchDirectory scratch;
    PlainAdapterList lstLANA;
    PlainAdapterList lstCard;
    BindingInventory inventory{lstLANA, lstCard};
    ReportWritingRunner runner{lstCard};
    QtReportFiles files;
};

TEST_F(Refresh, RunsTheReportCommandWithEmptyListsThenListsAndDeletesTheReport)
{
    refresh(joinLines({"LANA paths", "", "Lana:  3", kNetBEUI + "3Com EtherLink III"}));
    refresh(joinLines({"Lana:  4", kNetBEUI + "Intel PRO/100"}));

    EXPECT_EQ(runner.commands.back(), "cmd /c lanacfg showlanapaths >lanapaths.txt");
    EXPECT_EQ(runner.cardRowsWhileRunning, 0);
    EXPECT_EQ(lstLANA.rows(), (Lines{"4"}));
    EXPECT_EQ(lstCard.rows(), (Lines{"Intel PRO/100"}));
    EXPECT_FALSE(reportFileExists());
}

TEST_F(Refresh, EmptyReportListsNothingAtFirstAndLaterRefreshes)
{
    refresh("");
    EXPECT_EQ(lstCard.rowCount(), 0);

    refresh(joinLines({"Lana:  1", kNetBEUI + "A", "Lana:  2", kNetBEUI + "B"}));
    ASSERT_EQ(lstCard.rowCount(), 2);
    refresh("");
    EXPECT_EQ(lstCard.rowCount(), 0);
    EXPECT_EQ(lstLANA.rowCount(), 0);
    EXPECT_TRUE(inventory.reportLines().empty());
}

TEST_F(Refresh, ShorterReportShowsNoLinesOfTheOneBefore)
{
    Lines longer(30, "filler");
    longer.insert(longer.end(), {"Lana:  7", kNetBEUI + "Gone Card"});
    refresh(joinLines(longer));
    ASSERT_EQ(lstCard.rows(), (Lines{"Gone Card"}));

    refresh(joinLines({"LANA paths", "", "Lana:  1", "-->NetBT-->Other"}));
    EXPECT_EQ(lstCard.rowCount(), 0);
    EXPECT_EQ(inventory.reportLines().size(), 4u);
}

TEST_F(Refresh, ReadsReportsOfAnyLengthWhole)
{
    for (const std::size_t length : {41u, 42u, 100'000u}) {
        SCOPED_TRACE(length);
        Lines report(length, "filler");
        report[length - 2] = "Lana:  9";
        report[length - 1] = kNetBEUI + "Card at the end";
        refresh(joinLines(report));

        EXPECT_EQ(inventory.reportLines().size(), length);
        EXPECT_EQ(lstLANA.rows(), (Lines{"9"}));
        EXPECT_EQ(lstCard.rows(), (Lines{"Card at the end"}));
        EXPECT_FALSE(reportFileExists());
    }
}

TEST_F(Refresh, CrlfReportReadsLikeLf)
{
    const Lines report = {"LANA paths", "", "Lana:  3", kNetBEUI + "3Com EtherLink III"};
    refresh(joinLines(report, "\r\n"));
    EXPECT_EQ(inventory.reportLines(), report);
    EXPECT_EQ(lstLANA.rows(), (Lines{"3"}));
    EXPECT_EQ(lstCard.rows(), (Lines{"3Com EtherLink III"}));
}

TEST_F(Refresh, MissingReportIsAnErrorNamingTheFileWithListsLeftEmpty)
{
    refresh(joinLines({"Lana:  1", kNetBEUI + "A"}));
    ASSERT_EQ(lstCard.rowCount(), 1);

    try {
        refresh(std::nullopt);
        FAIL() << "a missing report must not pass for an empty one";
    } catch (const OperationError& error) {
        EXPECT_NE(std::string(error.what()).find("lanapaths.txt"), std::string::npos)
            << error.what();
    }
    EXPECT_EQ(lstCard.rowCount(), 0);
    EXPECT_EQ(lstLANA.rowCount(), 0);
    EXPECT_TRUE(inventory.reportLines().empty());
}

TEST_F(Refresh, OversizedReportIsRefusedNamingItsSizeAndLeftInPlace)
{
    const std::string reportFile(kReportFileName);
    std::ofstream(reportFile).close();
    fs::resize_file(reportFile, kMaxReportBytes + 1);

    try {
        refresh(std::nullopt);
        FAIL() << "an oversized report must be refused";
    } catch (const OperationError& error) {
        const std::string message = error.what();
        EXPECT_NE(message.find(reportFile), std::string::npos) << message;
        EXPECT_NE(message.find(std::to_string(kMaxReportBytes + 1)), std::string::npos) << message;
    }
    EXPECT_TRUE(reportFileExists());
    EXPECT_EQ(lstCard.rowCount(), 0);
}

} // namespace
} // namespace quorvel
