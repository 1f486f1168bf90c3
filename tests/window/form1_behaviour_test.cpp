#include "inventory/system_interfaces.h"
#include "inventory/lanacfg_contract.h"
#include "tests/support/fake_lanacfg.h"
#include "window/form1_behaviour.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <new>
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
const std::string kTwoCards =
    joinLines({"Lana:  2", kNetBEUI + "3Com EtherLink III", "Lana:  4", kNetBEUI + "Intel PRO/100"});

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
            if (failWith)
                failWith();
            return FakeLanacfg::run(commandLine, limit);
        }
        std::function<void()> failWith;

    private:
        Lines& log_;
    };

    class LoggingDialog : public MessageDialog {
    public:
        explicit LoggingDialog(Lines& log) : log_(log) {}
        void show(const std::string& text, const std::string& title, MessageKind kind) override
        {
            log_.push_back(kind == MessageKind::Error ? "error box: " + title + ": " + text
                                                      : "plain box: " + title + ": " + text);
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
            log_.push_back(wait ? "lock: " + std::to_string(wait->count()) + " s" : "lock: no limit");
        }
        void release() noexcept override { log_.emplace_back("unlock"); }

    private:
        Lines& log_;
    };

    Lines takeLog() { return std::exchange(log, {}); }

    Lines log;
    FakeReportFiles files;
    LoggingLanacfg lanacfg{files, log};
    LoggingDialog messageDialog{log};
    LoggingBusyIndicator busyIndicator{log};
    LoggingLists lists{log};
    LoggingLock lock{log};
    Form1Behaviour form{lists,
                        {lanacfg, files, lock, messageDialog, busyIndicator,
                         [this](int status) { log.push_back("end: " + std::to_string(status)); }}};
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
        EXPECT_EQ(takeLog(), (Lines{"busy", "lock: no limit", "idle", "busy", "run: " + c.command,
                                    "idle", "shown: 0", "busy", kReportRun, "idle", "shown: 2",
                                    "unlock"}));
        EXPECT_EQ(lists.highlightedCard(), -1);
    }
}

TEST_F(Form1BehaviourTest, SetWithNoCardsWarnsOutsideTheBusyStateThenRefreshes)
{
    lanacfg.nextReport = joinLines({"Lana:  1", kNetBEUI + "WAN Miniport"});
    ASSERT_TRUE(form.Form_Load());
    takeLog();
    form.cmdSet_Click();
    EXPECT_EQ(takeLog(), (Lines{"plain box: Warning: No Network-Card installed or NetBEUI not installed",
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
    EXPECT_EQ(shown[4].rfind("error box: Quorvel: Could not open \"lanapaths.txt\"", 0), 0u) << shown[4];
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
        {"operation error", [] { throw OperationError("Could not run \"lanacfg\": gone"); },
         "Could not run \"lanacfg\": gone"},
        {"out of memory", [] { throw std::bad_alloc(); }, "There is not enough memory to go on."},
        {"not a std::exception", [] { throw 42; }, "An unexpected error occurred."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        takeLog();
        lanacfg.failWith = c.fail;
        lists.highlighted = 0;
        form.cmdSet_Click();
        EXPECT_EQ(takeLog(), (Lines{"busy", "lock: no limit", "idle", "busy",
                                    "run: lanacfg setlananumber 2 0", "idle", "unlock",
                                    "error box: Quorvel: " + c.shown,
                                    "end: " + std::to_string(EXIT_FAILURE)}));
    }
}

} // namespace
} // namespace quorvel
