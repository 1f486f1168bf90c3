#pragma once

#include "inventory/system_interfaces.h"
#include "tests/support/fake_lanacfg.h"
#include "window/form1_layout.h"
#include "window/win32/form1.h"

#include <windows.h>

#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

void PrintTo(const PixelRect& rect, std::ostream* out);

namespace testing {

// The stand-in's sample before and after "lanacfg setlananumber 4 0": NetBEUI on LANA 2
// (3Com) and 4 (Intel), then on 0 (Intel) and 2 (3Com).
extern const std::string kSampleReport;
extern const std::string kIntelOnLana0Report;

// A report without a single NetBEUI binding on a LAN adapter.
extern const std::string kNoNetBEUIReport;

struct Box {
    MessageKind kind;
    std::string title;
    std::string text;
    bool waitCursor; // the busy cursor was showing while it was up
};

// Form1 with lanacfg, the report files and the message boxes faked: a window of its own for
// each test, at 96 DPI unless the test says otherwise.
class Form1Test : public ::testing::Test {
protected:
    // Notes whether the wait cursor shows, then lets the fake lanacfg answer.
    class WatchingRunner : public CommandRunner {
    public:
        explicit WatchingRunner(Form1Test& test) : test_(test) {}
        CommandOutcome run(const std::string& commandLine, std::optional<TimeLimit> limit) override;
        ProgramNotFound interpreterNotFound() const override;

    private:
        Form1Test& test_;
    };

    class CapturingDialog : public MessageDialog {
    public:
        explicit CapturingDialog(Form1Test& test) : test_(test) {}
        void show(const std::string& text, const std::string& title, MessageKind kind) override;

    private:
        Form1Test& test_;
    };

    Form1Test();
    void TearDown() override;

    Form1& makeForm(std::optional<ScreenDpi> dpi = ScreenDpi{96.0, 96.0});
    // Made, loaded and shown, as the program starts it.
    Form1& shownForm();
    HWND control(std::string_view name) const { return form->control(name); }

    // Every command run, and the renumbering commands among them.
    const std::vector<std::string>& commands() const { return lanacfg.commands; }
    int renumberings() const;

    // Delivers what is queued for this thread as the message loop does; returns the status
    // of a WM_QUIT among it.
    std::optional<int> deliverQueued();
    // A key pressed and let go on the focused control, through the window's pre-translation
    // as the message loop delivers it.
    void press(WPARAM key);

    FakeReportFiles files;
    FakeLanacfg lanacfg{files};
    FakeRenumberingLock renumberingLock;
    FakeRenumberingLog renumberingLog;
    // Called with each command line before lanacfg answers it.
    std::function<void(const std::string&)> duringRun;
    std::vector<bool> waitCursorDuringRuns;
    std::vector<Box> boxes;
    WatchingRunner runner{*this};
    CapturingDialog dialog{*this};
    std::optional<Form1> form;
};

// The rows a list box shows.
std::vector<std::wstring> rowsOf(HWND listBox);
std::wstring textOf(HWND window);
// Where a control stands within its parent's client area.
PixelRect placeOf(HWND control);
POINT centreOfRow(HWND listBox, int row);
bool waitCursorShows();

} // namespace testing
} // namespace quorvel
