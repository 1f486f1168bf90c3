#include "form1_fixture.h"
#include "window/win32/message_dialog.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace quorvel::testing {
namespace {

// Ends a message loop that nothing else ends, so that a window that fails to end the program
// fails the test instead of hanging it. Timer messages come only when nothing else is queued,
// the program's end included.
constexpr int kNotEnded = 42;

void CALLBACK giveUp(HWND /*window*/, UINT /*message*/, UINT_PTR timer, DWORD /*time*/)
{
    ::KillTimer(nullptr, timer);
    ::PostQuitMessage(kNotEnded);
}

int runWindowOrGiveUp(Form1& window)
{
    const UINT_PTR timer = ::SetTimer(nullptr, 0, USER_TIMER_MINIMUM, giveUp);
    const int status = window.run();
    ::KillTimer(nullptr, timer);
    return status;
}

// Notes every window of this thread told that it is being shown.
std::vector<HWND> shownWindows;

LRESULT CALLBACK noteShownWindows(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_SHOWWINDOW && call->wParam != FALSE)
        shownWindows.push_back(call->hwnd);
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(Form1Test, CloseAndTheCloseBoxEndTheProgramWithSuccess)
{
    const struct {
        const char* name;
        std::function<void(Form1&)> close;
    } cases[] = {
        {"Close", [](Form1& window) { ::SendMessageW(window.control("cmdExit"), BM_CLICK, 0, 0); }},
        {"close box",
         [](Form1& window) { ::SendMessageW(window.handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"WM_CLOSE", [](Form1& window) { ::SendMessageW(window.handle(), WM_CLOSE, 0, 0); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const HWND window = shownForm().handle();
        c.close(*form);
        EXPECT_EQ(::IsWindow(window), 0);
        EXPECT_EQ(form->handle(), nullptr);
        EXPECT_EQ(deliverQueued(), EXIT_SUCCESS);
        EXPECT_EQ(renumberings(), 0);
    }
}

TEST_F(Form1Test, RunningWindowEndsWithTheStatusCloseGives)
{
    makeForm();
    ::PostMessageW(form->control("cmdExit"), BM_CLICK, 0, 0);
    EXPECT_EQ(runWindowOrGiveUp(*form), EXIT_SUCCESS);
    EXPECT_EQ(form->handle(), nullptr);
}

TEST_F(Form1Test, ErrorIsShownAndEndsTheProgramWithFailure)
{
    const HWND window = shownForm().handle();
    // No report this time: the check before the renumbering finds no file to read.
    lanacfg.nextReport.reset();
    ::SendMessageW(control("lstCard"), LB_SETCURSEL, 0, 0);
    ::SendMessageW(control("cmdSet"), BM_CLICK, 0, 0);

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, MessageKind::Error);
    EXPECT_EQ(boxes[0].title, "Quorvel");
    EXPECT_NE(boxes[0].text.find("lanapaths.txt"), std::string::npos) << boxes[0].text;
    EXPECT_EQ(::IsWindow(window), 0);
    EXPECT_EQ(deliverQueued(), EXIT_FAILURE);
}

TEST_F(Form1Test, MissingLanacfgIsAnErrorAndAFailedRenumberingAWarning)
{
    // cmd.exe's status when it finds no program to run, with the empty report its redirection
    // still made.
    lanacfg.outcome = {CommandOutcome::End::Exited, 9009};
    lanacfg.nextReport = "";
    makeForm();
    EXPECT_FALSE(form->Form_Load());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, MessageKind::Error);
    EXPECT_EQ(boxes[0].text, "The report command \"cmd /c lanacfg showlanapaths >lanapaths.txt\" "
                             "exited with status 9009: lanacfg was not found on the search path "
                             "(looked in the current folder, then the folders listed in PATH) and "
                             "wrote no report");
    EXPECT_EQ(deliverQueued(), EXIT_FAILURE);

    // Every command now fails, but the report it writes is still listed.
    boxes.clear();
    lanacfg.outcome = {};
    lanacfg.nextReport = kSampleReport;
    const HWND window = shownForm().handle();
    lanacfg.outcome = {CommandOutcome::End::Exited, 5};
    ::SendMessageW(control("lstCard"), LB_SETCURSEL, 1, 0);
    ::SendMessageW(control("cmdSet"), BM_CLICK, 0, 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, MessageKind::Warning);
    EXPECT_EQ(boxes[0].title, "Warning");
    EXPECT_EQ(boxes[0].text,
              "The renumbering command \"lanacfg setlananumber 4 0\" exited with status 5.");
    EXPECT_FALSE(boxes[0].waitCursor);
    EXPECT_EQ(rowsOf(control("lstLANA")), (std::vector<std::wstring>{L"2", L"4"}));
    EXPECT_NE(::IsWindow(window), 0);
    EXPECT_EQ(deliverQueued(), std::nullopt);
}

TEST_F(Form1Test, FailedLoadIsShownAndTheWindowNeverIs)
{
    lanacfg.nextReport.reset();
    const HHOOK hook =
        ::SetWindowsHookExW(WH_CALLWNDPROC, noteShownWindows, nullptr, ::GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    shownWindows.clear();
    const HWND window = makeForm().handle();
    const int status = runWindowOrGiveUp(*form);
    ::UnhookWindowsHookEx(hook);

    EXPECT_EQ(status, EXIT_FAILURE);
    EXPECT_EQ(std::count(shownWindows.begin(), shownWindows.end(), window), 0);
    EXPECT_EQ(::IsWindow(window), 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, MessageKind::Error);
}

// The real error box, looked at and closed as it comes up.
struct ShownBox {
    HWND owner = nullptr;
    std::wstring title;
    std::vector<std::wstring> texts;
    bool hasIcon = false;
};
std::vector<ShownBox> shownBoxes;

BOOL CALLBACK noteBoxPart(HWND part, LPARAM box)
{
    wchar_t className[16] = {};
    ::GetClassNameW(part, className, 16);
    if (std::wstring(className) != L"Static")
        return TRUE;
    auto& noted = *reinterpret_cast<ShownBox*>(box);
    if ((::GetWindowLongPtrW(part, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
        noted.hasIcon = noted.hasIcon || ::SendMessageW(part, STM_GETICON, 0, 0) != 0;
    else if (!textOf(part).empty())
        noted.texts.push_back(textOf(part));
    return TRUE;
}

LRESULT CALLBACK noteAndCloseBoxes(int code, WPARAM wParam, LPARAM lParam)
{
    auto* const window = reinterpret_cast<HWND>(wParam);
    wchar_t className[16] = {};
    if (code == HCBT_ACTIVATE && ::GetClassNameW(window, className, 16) != 0 &&
        std::wstring(className) == L"#32770") {
        ShownBox box{::GetWindow(window, GW_OWNER), textOf(window), {}, false};
        ::EnumChildWindows(window, noteBoxPart, reinterpret_cast<LPARAM>(&box));
        shownBoxes.push_back(box);
        ::PostMessageW(window, WM_COMMAND, IDOK, 0);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(Form1Test, ErrorBoxHasTheErrorIconAndStandsOverTheWindowOnceItIsShown)
{
    const std::string error = "Could not run \"lanacfg setlananumber <b>3</b> 0\": gone";
    for (const bool shown : {false, true}) {
        SCOPED_TRACE(shown ? "shown" : "not shown yet");
        const HWND window = makeForm().handle();
        if (shown)
            form->show();
        const HHOOK hook =
            ::SetWindowsHookExW(WH_CBT, noteAndCloseBoxes, nullptr, ::GetCurrentThreadId());
        ASSERT_NE(hook, nullptr);
        shownBoxes.clear();
        Win32MessageDialog(window).show(error, "Quorvel", MessageKind::Error);
        ::UnhookWindowsHookEx(hook);

        ASSERT_EQ(shownBoxes.size(), 1u);
        EXPECT_EQ(shownBoxes[0].owner, shown ? window : nullptr);
        EXPECT_EQ(shownBoxes[0].title, L"Quorvel");
        EXPECT_EQ(
            shownBoxes[0].texts,
            std::vector<std::wstring>{L"Could not run \"lanacfg setlananumber <b>3</b> 0\": gone"});
        EXPECT_TRUE(shownBoxes[0].hasIcon);
    }
}

} // namespace
} // namespace quorvel::testing
