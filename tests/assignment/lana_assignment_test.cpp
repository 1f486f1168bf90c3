#include "assignment/lana_assignment.h"
#include "inventory/lanacfg_contract.h"
#include "inventory/system_interfaces.h"
#include "tests/support/fake_lanacfg.h"

#include <chrono>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace quorvel {
namespace {

class AssignmentTest : public ::testing::Test {
protected:
    Assignment assign(int highlightedRow)
    {
        return assignLana0(bindings, highlightedRow, bindings, runner, true);
    }

    std::vector<Binding> bindings;
    testing::FakeReportFiles files;
    testing::FakeLanacfg runner{files};
};

TEST_F(AssignmentTest, NoAdapterListedRunsNothing)
{
    EXPECT_EQ(assign(-1).outcome, Assignment::Outcome::NoAdapterListed);
    EXPECT_TRUE(runner.commands.empty());
}

TEST_F(AssignmentTest, RunsTheRenumberingCommandForTheHighlightedCard)
{
    struct Case {
        const char* name;
        std::string lanaText;
        int highlighted;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"highlighted row", "3", 1, "lanacfg setlananumber 3 0"},
        {"already LANA 0", "0", 1, "lanacfg setlananumber 0 0"},
        {"trailing blanks kept", "3 \t", 1, "lanacfg setlananumber 3 \t 0"},
        {"no highlight", "3", -1, "lanacfg setlananumber  0"},
        {"past the last row", "3", 2, "lanacfg setlananumber  0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        runner.commands.clear();
        bindings = {{"1", "First Card"}, {c.lanaText, "Second Card"}};

        EXPECT_EQ(assign(c.highlighted).outcome, Assignment::Outcome::Done);
        EXPECT_EQ(runner.commands, (std::vector<std::string>{c.expected}));
    }
}

TEST_F(AssignmentTest, RunsNothingUnlessTheRowIsStillListedWithItsLanaText)
{
    bindings = {{"4", "Card"}, {"2", "Other"}};
    const std::vector<Binding> listed[] = {
        {{"2", "Other"}, {"4", "Card"}}, // the same, in another order: renumbered
        {{"0", "Card"}, {"4", "Other"}},
        {{"4 ", "Card"}},
        {{"4", "card"}}};
    for (const std::vector<Binding>& now : listed)
        EXPECT_EQ(assignLana0(bindings, 0, now, runner, true).outcome,
                  &now == listed ? Assignment::Outcome::Done
                                 : Assignment::Outcome::BindingsChanged);
    EXPECT_EQ(runner.commands, std::vector<std::string>{"lanacfg setlananumber 4 0"});
}

// A lanacfg whose renumbering ends as told and changes the next report to `after`.
class RenumberingLanacfg : public testing::FakeLanacfg {
public:
    using FakeLanacfg::FakeLanacfg;
    CommandOutcome run(const std::string& commandLine, std::optional<TimeLimit> limit) override
    {
        const CommandOutcome reported = FakeLanacfg::run(commandLine, limit);
        if (commandLine == reportCommand())
            return reported;
        nextReport = after;
        return renumbering;
    }
    std::string after;
    CommandOutcome renumbering;
};

TEST(AssignmentByName, FailedRenumberingTellsAUserWhoIsNotAnAdministratorWhatItNeeds)
{
    const std::string report = testing::joinLines({"Lana:  4", "-->NetBEUI Protocol-->3Com"});
    testing::FakeReportFiles files;
    testing::FakeRenumberingLock lock;
    RenumberingLanacfg lanacfg(files);
    lanacfg.nextReport = lanacfg.after = report;
    for (const CommandOutcome renumbered :
         {CommandOutcome{}, CommandOutcome{CommandOutcome::End::Exited, 5}}) {
        SCOPED_TRACE(renumbered.value);
        lanacfg.renumbering = renumbered;
        const NamedAssignmentResult result =
            assignLana0ByName({"3Com"}, lanacfg, files, lock, std::chrono::seconds(30), false);
        EXPECT_EQ(result.outcome, NamedAssignmentOutcome::NotTaken);
        // Only a command that failed is blamed on the rights.
        EXPECT_EQ(result.message,
                  R"("3Com" still shows LANA "4")" +
                      std::string(renumbered.succeeded()
                                      ? ""
                                      : ": the renumbering command \"lanacfg setlananumber 4 0\" "
                                        "exited with status 5; changing LANA numbers needs an "
                                        "administrator, for example a computer start-up script "
                                        "or psexec -s"));
    }
}

TEST(AssignmentByName, RenumbersTheOneAdapterOfThatNameAndChecksThatItTook)
{
    using testing::joinLines;
    const std::string kNetBEUI = "-->NetBEUI Protocol-->";
    const std::string before =
        joinLines({"Lana:  2", kNetBEUI + "Intel", "Lana:  4", kNetBEUI + "3Com"});
    const std::string after =
        joinLines({"Lana:  0", kNetBEUI + "3Com", "Lana:  2", kNetBEUI + "Intel"});
    const std::string twins =
        joinLines({"Lana:  2", kNetBEUI + "Twin", "Lana:  4", kNetBEUI + "Twin"});
    const std::string renumbering = "lanacfg setlananumber 4 0";
    const struct {
        const char* name;
        AdapterChoice adapter;
        std::string before;
        CommandOutcome renumbered;
        NamedAssignmentOutcome outcome;
        std::string message;
        int commands;
    } cases[] = {
        {"assigned",
         {"3Com"},
         before,
         {},
         NamedAssignmentOutcome::Assigned,
         R"("3Com" is on LANA 0)",
         3},
        {"matched",
         {"3C?M*", true},
         before,
         {},
         NamedAssignmentOutcome::Assigned,
         R"("3Com" is on LANA 0)",
         3},
        {"on LANA 0 already",
         {"3Com"},
         after,
         {},
         NamedAssignmentOutcome::Assigned,
         R"("3Com" is on LANA 0)",
         1},
        {"not listed",
         {"3com"},
         before,
         {},
         NamedAssignmentOutcome::NotListed,
         R"(no adapter named "3com" is listed; the listed adapters are:)",
         1},
        {"not matched",
         {"3Com?", true},
         before,
         {},
         NamedAssignmentOutcome::NotListed,
         R"(no listed adapter matches "3Com?"; the listed adapters are:)",
         1},
        {"two of that name",
         {"Twin"},
         twins,
         {},
         NamedAssignmentOutcome::Ambiguous,
         R"(more than one adapter is named "Twin", on LANAs "2", "4")",
         1},
        {"a star is no wildcard to --set",
         {"*"},
         before,
         {},
         NamedAssignmentOutcome::NotListed,
         R"(no adapter named "*" is listed; the listed adapters are:)",
         1},
        {"two matched",
         {"*", true},
         before,
         {},
         NamedAssignmentOutcome::Ambiguous,
         R"(more than one listed adapter matches "*":)",
         1},
        {"tool failed",
         {"3Com"},
         before,
         {CommandOutcome::End::Exited, 5},
         NamedAssignmentOutcome::NotTaken,
         R"("3Com" still shows LANA "4": the renumbering command ")" + renumbering +
             R"(" exited with status 5)",
         3},
        {"left running",
         {"3Com"},
         before,
         {CommandOutcome::End::TimedOutLeftRunning, 30},
         NamedAssignmentOutcome::NotTaken,
         R"("3Com" still shows LANA "4": the renumbering command ")" + renumbering +
             R"(" was still running after 30 s; it was left to finish by itself)",
         3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testing::FakeReportFiles files;
        testing::FakeRenumberingLock lock;
        RenumberingLanacfg lanacfg(files);
        lanacfg.nextReport = c.before;
        lanacfg.renumbering = c.renumbered;
        // A renumbering that did not take leaves the report as it was.
        lanacfg.after = c.renumbered.succeeded() ? after : c.before;
        const NamedAssignmentResult result =
            assignLana0ByName(c.adapter, lanacfg, files, lock, std::chrono::seconds(30), true);
        // One turn for the whole cycle, waited for no longer than a command.
        EXPECT_EQ(lock.events, (std::vector<std::string>{"acquire 30 s", "release"}));
        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_EQ(result.message, c.message);
        if (c.outcome == NamedAssignmentOutcome::Assigned) {
            EXPECT_EQ(result.bindings, (std::vector<Binding>{{"0", "3Com"}, {"2", "Intel"}}));
        }
        ASSERT_EQ(lanacfg.commands.size(), static_cast<std::size_t>(c.commands));
        for (std::size_t i = 0; i < lanacfg.commands.size(); ++i) {
            const bool isReport = lanacfg.commands[i] == reportCommand();
            EXPECT_EQ(lanacfg.commands[i], isReport ? reportCommand() : renumbering);
            ASSERT_TRUE(lanacfg.limits[i].has_value());
            EXPECT_EQ(lanacfg.limits[i]->after, std::chrono::seconds(30));
            // Only a report may be cut short; a renumbering may be halfway through its change.
            EXPECT_EQ(lanacfg.limits[i]->action,
                      isReport ? OnTimeout::Stop : OnTimeout::LeaveRunning);
        }
    }
}

TEST(AdapterPattern, MatchesWildcardsAndLettersInEitherCase)
{
    const struct {
        const char* name;
        const char* pattern;
        bool matches;
    } cases[] = {
        {"Intel(R) PRO/100 VE Network Connection", "Intel(R) PRO/100*", true},
        {"Intel(R) PRO/100 Adapter", "intel(r) pro/100*", true},
        {"Intel(R) PRO/100 Adapter", "*PRO/100*", true},
        {"Intel(R) PRO/100 Adapter", "Intel(R) PRO/1000*", false},
        {"3Com EtherLink III Adapter", "3Com EtherLink II? Adapter", true},
        {"3Com EtherLink II Adapter", "3Com EtherLink II? Adapter", false},
        {"Card", "Card", true},
        {"Card", "Card*", true},
        {"Card", "Car", false},
        {"Card", "?ard", true},
        {"Card", "", false},
        {"", "*", true},
        {"aXbXc", "*X*X*", true},
        {"abab", "*ab", true},
        {"Carte r\xe9seau", "carte r?seau", true},
        // Only ASCII letters fold: other bytes, in whatever code page, compare exactly.
        {"Carte r\xe9seau", "CARTE R\xc9SEAU", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " ~ " + c.pattern);
        EXPECT_EQ(matchesAdapterPattern(c.name, c.pattern), c.matches);
    }
}

} // namespace
} // namespace quorvel
