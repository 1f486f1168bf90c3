#include "inventory/lanacfg_contract.h"
#include "inventory/system_interfaces.h"
#include "tests/support/fake_lanacfg.h"
#include "window/form1_behaviour.h"
#include "window/message_dialog.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <new>
#include <optional>
#include <string>
#include <vector>

namespace quorvel {
namespace {

using Lines = std::vector<std::string>;
using testing::FakeLanacfg;
using testing::FakeRenumberingLog;
using testing::FakeReportFiles;
using testing::joinLines;

const std::string kNetBEUI = "-->NetBEUI Protocol-->";
const std::string kTwoCards = joinLines(
    {"Lana:  2", kNetBEUI + "3Com EtherLink III", "Lana:  4", kNetBEUI + "Intel PRO/100"});

// Everything the window did through its view and services, in order: rows shown ("shown: N"),
// commands run ("run: ..."), busy state ("busy"/"idle"), the renumbering lock ("lock: ..."/
// "unlock"), boxes ("plain box"/"error box: ...") and the program's end ("end: N").
class Form1BehaviourTest : public ::testing::Test {
protected:
    class LoggingLanacfg : public FakeLanacfg {
    public:
        LoggingLanacfg(FakeReportFiles& files, Lines& log) : FakeLanacfg(files), log_(log) {}
        CommandOutcome run(const std::string& commandLine, std::optional<TimeLimit> limit) override
        {
            log_.push_back("run: " + commandLine);
            const bool renumbers = commandLine.starts_with("lanacfg setlananumber");
            if (failWith && renumbers)
                failWith();
            const CommandOutcome outcome = FakeLanacfg::run(commandLine, limit);
            return renumbers ? renumbering : outcome;
        }
        std::function<void()> failWith; // for the renumbering command
        CommandOutcome renumbering;

    private:
        Lines& log_;
    };

    class LoggingDialog : public MessageDialog {
    public:
        explicit LoggingDialog(Lines& log) : log_(log) {}
        void show(const std::string& text, const std::string& title, MessageKind kind) override
        {
            const char* box = kind == MessageKind::Error     ? "error box: "
                              : kind == MessageKind::Warning ? "warning box: "
                                                             : "plain box: ";
            log_.push_back(box + title + ": " + text);
        }

    private:
        Lines& log_;
    };

    class LoggingLists : public BindingLists {
    public:
        explicit LoggingLists(Lines& log) : log_(log) {}
        void showBindings(const std::vector<Binding>& bindings) override
        {
            log_.push_back("shown: " + std::to_string(bindings.size()));
            shown = bindings;
            highlighted = -1;
        }
        int highlightedCard() const override { return highlighted; }

        Lines lanas() const
        {
            Lines texts;
            for (const Binding& binding : shown)
                texts.push_back(binding.lana);
            return texts;
        }
        Lines cards() const
        {
            Lines names;
            for (const Binding& binding : shown)
                names.push_back(binding.adapterName);
            return names;
        }

        std::vector<Binding> shown;
        int highlighted = -1;

    private:
        Lines& log_;
    };

    class LoggingBusyIndicator : public BusyIndicator {
    public:
        explicit LoggingBusyIndicator(Lines& log) : log_(log) {}
        void showToolRunning(bool running) override { log_.push_back(running ? "busy" : "idle"); }

    private:
        Lines& log_;
    };

    class LoggingLock : public RenumberingLock {
    public:
        explicit LoggingLock(Lines& log) : log_(log) {}
        void acquire(std::optional<std::chrono::seconds> wait) override
        {
            log_.push_back(wait ? "lock: " + std::to_string(wait->count()) + " s"
                                : "lock: no limit");
        }
        void release() noexcept override { log_.emplace_back("unlock"); }

    private:
        Lines& log_;
    };

    Lines takeLog() { return std::exchange(log, {}); }

    FormServices services(bool userMayRenumber = true)
    {
        return {lanacfg,
                files,
                lock,
                renumberingLog,
                userMayRenumber,
                messageDialog,
                busyIndicator,
                [this](int status) { log.push_back("end: " + std::to_string(status)); }};
    }

    Lines log;
    FakeReportFiles files;
    LoggingLanacfg lanacfg{files, log};
    LoggingDialog messageDialog{log};
    FakeRenumberingLog renumberingLog;
    LoggingBusyIndicator busyIndicator{log};
    LoggingLists lists{log};
    LoggingLock lock{log};
    Form1Behaviour form{lists, services()};
};

const std::string kReportRun = "run: " + reportCommand();

TEST_F(Form1BehaviourTest, LoadListsTheBindings)
{
    lanacfg.nextReport = kTwoCards;
    EXPECT_TRUE(form.Form_Load());
    EXPECT_EQ(takeLog(), (Lines{"shown: 0", "busy", kReportRun, "idle", "shown: 2"}));
    EXPECT_EQ(lists.lanas(), (Lines{"2", "4"}));
    EXPECT_EQ(lists.cards(), (Lines{"3Com EtherLink III", "Intel PRO/100"}));
}

TEST_F(Form1BehaviourTest, SetAndDoubleClickRenumberTheHighlightedCardThenRefresh)
{
    lanacfg.nextReport = kTwoCards;
    const struct {
        const char* name;
        void (Form1Behaviour::*event)();
        int highlighted;
        std::string command;
    } cases[] = {
        {"Set", &Form1Behaviour::cmdSet_Click, 1, "lanacfg setlananumber 4 0"},
        {"double-click", &Form1Behaviour::lstCard_DblClick, 0, "lanacfg setlananumber 2 0"},
        {"Set with no highlight", &Form1Behaviour::cmdSet_Click, -1, "lanacfg setlananumber  0"},
    };
    ASSERT_TRUE(form.Form_Load());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        takeLog();
        lists.highlighted = c.highlighted;
        (form.*c.event)();
        // The lock waited for as lanacfg is, and held until the lists show the change.
        EXPECT_EQ(takeLog(),
                  (Lines{"busy", "lock: no limit", "idle", "shown: 0", "busy", kReportRun, "idle",
                         "shown: 2", "busy", "run: " + c.command, "idle", "shown: 0", "busy",
                         kReportRun, "idle", "shown: 2", "unlock"}));
        EXPECT_EQ(lists.highlightedCard(), -1);
    }
}

TEST_F(Form1BehaviourTest, SetOnListsMadeStaleRunsNothingShowsTheFreshListsAndSaysSo)
{
    lanacfg.nextReport = kTwoCards;
    ASSERT_TRUE(form.Form_Load());
    takeLog();
    // Another run gave Intel LANA 0, and 3Com its LANA 4.
    lanacfg.nextReport = joinLines(
        {"Lana:  0", kNetBEUI + "Intel PRO/100", "Lana:  4", kNetBEUI + "3Com EtherLink III"});
    lists.highlighted = 1;
    form.cmdSet_Click();
    const std::string staleListBox =
        "warning box: Warning: The NetBEUI bindings changed since they were listed, so nothing "
        "was changed. Check the lists and press \"Set\" again.";
    EXPECT_EQ(takeLog(), (Lines{"busy", "lock: no limit", "idle", "shown: 0", "busy", kReportRun,
                                "idle", "shown: 2", "unlock", staleListBox}));
    EXPECT_EQ(lists.cards(), (Lines{"Intel PRO/100", "3Com EtherLink III"}));
}

TEST_F(Form1BehaviourTest, RenumberingThatFailsIsNamedInAWarningAfterTheRefresh)
{
    lanacfg.nextReport = kTwoCards;
    const std::string command = "\"lanacfg setlananumber 2 0\"";
    const std::string needsAdministrator =
        "; changing LANA numbers needs an administrator, for example a computer start-up script "
        "or psexec -s.";
    const struct {
        const char* name;
        CommandOutcome renumbering;
        bool couldNotStart;
        bool userMayRenumber;
        std::string warning; // empty: none
    } cases[] = {
        {"succeeded", {}, false, false, ""},
        {"failed",
         {CommandOutcome::End::Exited, 1},
         false,
         true,
         "The renumbering command " + command + " exited with status 1."},
        {"failed, not an administrator",
         {CommandOutcome::End::Exited, 5},
         false,
         false,
         "The renumbering command " + command + " exited with status 5" + needsAdministrator},
        {"could not start", {}, true, true, "Could not run " + command + ": not found."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Form1Behaviour form(lists, services(c.userMayRenumber));
        ASSERT_TRUE(form.Form_Load());
        takeLog();
        lanacfg.renumbering = c.renumbering;
        lanacfg.failWith = [&c] {
            if (c.couldNotStart)
                throw OperationError("Could not run \"lanacfg setlananumber 2 0\": not found");
        };
        lists.highlighted = 0;
        form.cmdSet_Click();
        lanacfg.failWith = nullptr;
        // The warning comes once the lock is given up: an open box must not hold scripts up.
        Lines expected{
            "busy",     "lock: no limit", "idle",     "shown: 0", "busy",
            kReportRun, "idle",           "shown: 2", "busy",     "run: lanacfg setlananumber 2 0",
            "idle",     "shown: 0",       "busy",     kReportRun, "idle",
            "shown: 2", "unlock"};
        if (!c.warning.empty())
            expected.push_back("warning box: Warning: " + c.warning);
        EXPECT_EQ(takeLog(), expected);
    }
}

TEST_F(Form1BehaviourTest, SetAndDoubleClickRefuseALanaTextThatIsNotANumber)
{
    for (void (Form1Behaviour::*event)() :
         {&Form1Behaviour::cmdSet_Click, &Form1Behaviour::lstCard_DblClick}) {
        lanacfg.nextReport = joinLines({"Lana:  3 & echo pwned", kNetBEUI + "3Com EtherLink III"});
        ASSERT_TRUE(form.Form_Load());
        takeLog();
        lists.highlighted = 0;
        (form.*event)();
        const Lines shown = takeLog();
        for (const std::string& line : shown)
            EXPECT_EQ(line.rfind("run: lanacfg setlananumber", 0), std::string::npos) << line;
        EXPECT_NE(std::find(shown.begin(), shown.end(),
                            "error box: Quorvel: The LANA text \"3 & echo pwned\" is not a LANA "
                            "number, so no renumbering command was run."),
                  shown.end());
    }
}

TEST_F(Form1BehaviourTest, EachAttemptGoesIntoTheSystemsLog)
{
    const std::string onLana0 = joinLines(
        {"Lana:  0", kNetBEUI + "3Com EtherLink III", "Lana:  4", kNetBEUI + "Intel PRO/100"});
    const struct {
        const std::string& checked; // under the lock, before the renumbering
        int exitStatus;             // of the renumbering command, after which LANA 0 shows if 0
        std::string record;         // result, program, adapter, LANAs, [command] and how it ended
    } cases[] = {
        {kTwoCards, 0,
         "0 0 3Com EtherLink III 2 0 [lanacfg setlananumber 2 0] exited with status 0"},
        {kTwoCards, 1,
         "3 0 3Com EtherLink III 2 2 [lanacfg setlananumber 2 0] exited with status 1"},
        {onLana0, 0,
         "2 0 3Com EtherLink III 2 - [] the bindings changed since they were listed, so "
         "the row no longer stands for the adapter"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.record);
        renumberingLog = {};
        lanacfg.nextReport = kTwoCards;
        ASSERT_TRUE(form.Form_Load());
        lanacfg.nextReport = c.checked;
        lanacfg.renumbering = {CommandOutcome::End::Exited, c.exitStatus};
        lanacfg.failWith = [&] { lanacfg.nextReport = c.exitStatus == 0 ? onLana0 : kTwoCards; };
        lists.highlighted = 0;
        form.cmdSet_Click();
        std::string recorded;
        for (const RenumberingRecord& record : renumberingLog.records)
            recorded += testing::recordText(record);
        EXPECT_EQ(recorded, c.record);
    }
}

TEST_F(Form1BehaviourTest, SetWithNoCardsWarnsOutsideTheBusyStateThenRefreshes)
{
    lanacfg.nextReport = joinLines({"Lana:  1", kNetBEUI + "WAN Miniport"});
    ASSERT_TRUE(form.Form_Load());
    takeLog();
    form.cmdSet_Click();
    EXPECT_EQ(takeLog(),
              (Lines{"plain box: Warning: No Network-Card installed or NetBEUI not installed",
                     "shown: 0", "busy", kReportRun, "idle", "shown: 0"}));
}

TEST_F(Form1BehaviourTest, CloseEndsTheProgramWithSuccess)
{
    form.cmdExit_Click();
    EXPECT_EQ(takeLog(), (Lines{"end: " + std::to_string(EXIT_SUCCESS)}));
}

TEST_F(Form1BehaviourTest, FailedLoadShowsTheErrorAndEndsTheProgram)
{
    EXPECT_FALSE(form.Form_Load());
    const Lines shown = takeLog();
    ASSERT_EQ(shown.size(), 6u);
    EXPECT_EQ(shown[0], "shown: 0");
    EXPECT_EQ(shown[3], "idle");
    EXPECT_EQ(shown[4].rfind("error box: Quorvel: Could not open \"lanapaths.txt\"", 0), 0u)
        << shown[4];
    EXPECT_EQ(shown[5], "end: " + std::to_string(EXIT_FAILURE));
}

TEST_F(Form1BehaviourTest, AnyErrorDuringAnEventIsShownAndEndsTheProgram)
{
    lanacfg.nextReport = kTwoCards;
    ASSERT_TRUE(form.Form_Load());
    const struct {
        const char* name;
        std::function<void()> fail;
        std::string shown;
    } cases[] = {
        {"out of memory", [] { throw std::bad_alloc(); }, "There is not enough memory to go on."},
        {"not a std::exception", [] { throw 42; }, "An unexpected error occurred."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        takeLog();
        lanacfg.failWith = c.fail;
        lists.highlighted = 0;
        form.cmdSet_Click();
        EXPECT_EQ(
            takeLog(),
            (Lines{"busy", "lock: no limit", "idle", "shown: 0", "busy", kReportRun, "idle",
                   "shown: 2", "busy", "run: lanacfg setlananumber 2 0", "idle", "unlock",
                   "error box: Quorvel: " + c.shown, "end: " + std::to_string(EXIT_FAILURE)}));
    }
}

} // namespace
} // namespace quorvel
