#include "inventory/binding_inventory.h"
#include "inventory/lanacfg_contract.h"
#include "inventory/report_reading.h"
#include "inventory/system_interfaces.h"
#include "tests/support/error_of.h"
#include "tests/support/fake_lanacfg.h"

#include <chrono>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace quorvel {
namespace {

using Lines = std::vector<std::string>;
using testing::FakeLanacfg;
using testing::FakeReportFiles;
using testing::joinLines;

const std::string kNetBEUI = "-->NetBEUI Protocol-->";
const std::string kReportFile(kReportFileName);

class Refresh : public ::testing::Test {
protected:
    void refresh(const std::optional<std::string>& report)
    {
        lanacfg.nextReport = report;
        bindings = bindingsFromReportCommand(lanacfg, files);
    }

    std::string errorOfRefresh(const std::optional<std::string>& report)
    {
        return testing::errorOf([&] { refresh(report); });
    }

    bool reportFileExists() const { return files.files.contains(kReportFile); }

    Lines lanas() const
    {
        Lines texts;
        for (const Binding& binding : bindings)
            texts.push_back(binding.lana);
        return texts;
    }

    Lines cards() const
    {
        Lines names;
        for (const Binding& binding : bindings)
            names.push_back(binding.adapterName);
        return names;
    }

    std::vector<Binding> bindings;
    FakeReportFiles files;
    FakeLanacfg lanacfg{files};
};

TEST_F(Refresh, RunsTheReportCommandThenListsAndDeletesTheReport)
{
    refresh(joinLines({"LANA paths", "", "Lana:  3", kNetBEUI + "3Com EtherLink III"}));
    refresh(joinLines({"Lana:  4", kNetBEUI + "Intel PRO/100"}));

    EXPECT_EQ(lanacfg.commands.back(), "cmd /c lanacfg showlanapaths >lanapaths.txt");
    EXPECT_EQ(lanas(), (Lines{"4"}));
    EXPECT_EQ(cards(), (Lines{"Intel PRO/100"}));
    EXPECT_FALSE(reportFileExists());
}

TEST_F(Refresh, EmptyReportListsNothingAtFirstAndLaterRefreshes)
{
    refresh("");
    EXPECT_TRUE(cards().empty());

    refresh(joinLines({"Lana:  1", kNetBEUI + "A", "Lana:  2", kNetBEUI + "B"}));
    ASSERT_EQ(cards().size(), 2u);
    refresh("");
    EXPECT_TRUE(cards().empty());
    EXPECT_TRUE(lanas().empty());
}

TEST_F(Refresh, ShorterReportShowsNoLinesOfTheOneBefore)
{
    Lines longer(30, "filler");
    longer.insert(longer.end(), {"Lana:  7", kNetBEUI + "Gone Card"});
    refresh(joinLines(longer));
    ASSERT_EQ(cards(), (Lines{"Gone Card"}));

    refresh(joinLines({"LANA paths", "", "Lana:  1", "-->NetBT-->Other"}));
    EXPECT_TRUE(cards().empty());
}

TEST_F(Refresh, ReadsReportsOfAnyLengthWhole)
{
    for (const std::size_t length : {41u, 42u, 100'000u}) {
        SCOPED_TRACE(length);
        Lines report(length, "filler");
        report[length - 2] = "Lana:  9";
        report[length - 1] = kNetBEUI + "Card at the end";
        refresh(joinLines(report, "\r\n"));

        EXPECT_EQ(lanas(), (Lines{"9"}));
        EXPECT_EQ(cards(), (Lines{"Card at the end"}));
        EXPECT_FALSE(reportFileExists());
    }
}

TEST_F(Refresh, MissingReportIsAnErrorNamingTheFile)
{
    refresh(joinLines({"Lana:  1", kNetBEUI + "A"}));
    ASSERT_EQ(cards().size(), 1u);

    const std::string message = errorOfRefresh(std::nullopt);
    EXPECT_NE(message.find(kReportFile), std::string::npos) << message;
}

TEST_F(Refresh, ReportThatCannotBeReadIsRemoved)
{
    // One line more than a report can have: refused when read, after the command wrote it.
    const std::string tooManyLines(kMaxReportLines + 1, '\n');
    const std::string message = errorOfRefresh(tooManyLines);
    EXPECT_NE(message.find(std::to_string(kMaxReportLines + 1) + " lines"), std::string::npos)
        << message;
    EXPECT_FALSE(reportFileExists());
}

TEST_F(Refresh, FailedReportCommandWithAnEmptyReportIsAnError)
{
    const ProgramNotFound cmd{9009, "the current folder, then the folders listed in PATH"};
    const std::string command = "the report command \"" + reportCommand() + "\" ";
    const std::string oneCard = joinLines({"Lana:  1", kNetBEUI + "A"});
    const struct {
        const char* name;
        CommandOutcome outcome;
        std::optional<std::string> report;
        std::string error;                                              // empty: listed
        ProgramNotFound notFound = {127, "the folders listed in PATH"}; // sh's
    } cases[] = {
        {"not found by sh, empty report",
         {CommandOutcome::End::Exited, 127},
         "",
         command + "exited with status 127: lanacfg was not found on the search path (looked in "
                   "the folders listed in PATH) and wrote no report"},
        {"not found by cmd, empty report",
         {CommandOutcome::End::Exited, 9009},
         "",
         command + "exited with status 9009: lanacfg was not found on the search path (looked in "
                   "the current folder, then the folders listed in PATH) and wrote no report",
         cmd},
        {"cmd's status from sh",
         {CommandOutcome::End::Exited, 9009},
         "",
         command + "exited with status 9009 and wrote no report"},
        {"failed, no report file",
         {CommandOutcome::End::Exited, 1},
         std::nullopt,
         "Could not open \"lanapaths.txt\": no such file"},
        {"failed, empty report",
         {CommandOutcome::End::Signalled, 9},
         "",
         command + "was ended by signal 9 and wrote no report"},
        {"failed, a report all the same", {CommandOutcome::End::Exited, 1}, oneCard, ""},
        {"succeeded, empty report", {}, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        lanacfg.outcome = c.outcome;
        lanacfg.notFound = c.notFound;
        bindings.clear();
        if (c.error.empty())
            EXPECT_NO_THROW(refresh(c.report));
        else
            EXPECT_EQ(errorOfRefresh(c.report), c.error);
        EXPECT_EQ(cards(), c.error.empty() && c.report == oneCard ? Lines{"A"} : Lines{});
        EXPECT_FALSE(reportFileExists());
    }
}

TEST_F(Refresh, ReportLeftFromBeforeNeverPassesForTheNewOne)
{
    // A tool that writes nothing: only the old file could then be read.
    files.files[kReportFile] = joinLines({"Lana:  5", kNetBEUI + "Old Card"});
    const std::string message = errorOfRefresh(std::nullopt);
    EXPECT_NE(message.find(kReportFile), std::string::npos) << message;

    // One that cannot be removed ends the refresh before the report command runs.
    files.files[kReportFile] = joinLines({"Lana:  5", kNetBEUI + "Old Card"});
    files.stuck.push_back(kReportFile);
    lanacfg.commands.clear();
    const std::string stuck = errorOfRefresh(joinLines({"Lana:  1", kNetBEUI + "New Card"}));
    EXPECT_NE(stuck.find(kReportFile), std::string::npos) << stuck;
    EXPECT_TRUE(lanacfg.commands.empty());
}

TEST_F(Refresh, UnderATimeLimitTheReportCommandIsStoppedAtItAndMustEndWithSuccess)
{
    const std::string report = joinLines({"Lana:  1", kNetBEUI + "A"});
    const struct {
        const char* name;
        CommandOutcome outcome;
        std::string error; // empty: listed
    } cases[] = {
        {"success", {}, ""},
        {"failure",
         {CommandOutcome::End::Exited, 1},
         "the report command \"cmd /c lanacfg showlanapaths >lanapaths.txt\" exited with status 1"},
        {"time limit",
         {CommandOutcome::End::TimedOutStopped, 30},
         "the report command \"cmd /c lanacfg showlanapaths >lanapaths.txt\" was still running "
         "after 30 s and was stopped"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        lanacfg.outcome = c.outcome;
        lanacfg.nextReport = report;
        bindings.clear();
        const auto underLimit = [&] {
            bindings = bindingsFromReportCommand(lanacfg, files, std::chrono::seconds(30));
        };
        if (c.error.empty()) {
            underLimit();
            EXPECT_EQ(cards(), (Lines{"A"}));
        } else {
            EXPECT_EQ(testing::errorOf(underLimit), c.error);
        }
        EXPECT_FALSE(reportFileExists());
        ASSERT_TRUE(lanacfg.limits.back().has_value());
        EXPECT_EQ(lanacfg.limits.back()->after, std::chrono::seconds(30));
        EXPECT_EQ(lanacfg.limits.back()->action, OnTimeout::Stop);
    }

    // The window's refresh waits as long as it takes, and a failed command shows in the report.
    lanacfg.outcome = {CommandOutcome::End::Exited, 1};
    refresh(report);
    EXPECT_FALSE(lanacfg.limits.back().has_value());
    EXPECT_EQ(cards(), (Lines{"A"}));
}

} // namespace
} // namespace quorvel
