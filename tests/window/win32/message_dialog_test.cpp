#include "window/win32/message_dialog.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using quorvel::MessageKind;
using quorvel::Win32MessageDialog;

constexpr UINT kTimerMilliseconds = 50;
// Ticks of the timer before a box that never shows is given up on: a hang guard.
constexpr int kTicksBeforeGivingUp = 30'000 / kTimerMilliseconds;

std::wstring classOf(HWND window)
{
    wchar_t name[64];
    return {name, static_cast<std::size_t>(::GetClassNameW(window, name, 64))};
}

std::wstring textOf(HWND window)
{
    wchar_t text[512];
    return {text, static_cast<std::size_t>(::GetWindowTextW(window, text, 512))};
}

// What the box showed, as the timer found it inside MessageBoxW's modal loop.
struct SeenBox {
    bool seen = false;
    std::wstring title;
    std::vector<std::wstring> texts;
    std::vector<int> buttonIds;
    LRESULT icon = 0; // the icon's handle
    HWND owner = nullptr;
    bool okDidNotClose = false;
    int ticks = 0;
};

SeenBox seenBox;
HWND shownBox = nullptr;

BOOL CALLBACK findShownBox(HWND window, LPARAM /*unused*/)
{
    if (classOf(window) != L"#32770" || ::IsWindowVisible(window) == 0)
        return TRUE;
    shownBox = window;
    return FALSE;
}

BOOL CALLBACK noteControl(HWND control, LPARAM /*unused*/)
{
    if (::IsWindowVisible(control) == 0)
        return TRUE;
    const std::wstring type = classOf(control);
    if (type == L"Button")
        seenBox.buttonIds.push_back(::GetDlgCtrlID(control));
    else if (type == L"Static" && (::GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
        seenBox.icon = ::SendMessageW(control, STM_GETICON, 0, 0);
    else if (type == L"Static" && !textOf(control).empty())
        seenBox.texts.push_back(textOf(control));
    return TRUE;
}

// Notes what the box shows and presses its OK button, as a user would.
void CALLBACK closeShownBox(HWND /*window*/, UINT /*message*/, UINT_PTR /*timer*/, DWORD /*time*/)
{
    shownBox = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), findShownBox, 0);
    const HWND box = shownBox;
    if (box == nullptr) {
        if (++seenBox.ticks > kTicksBeforeGivingUp)
            ::PostQuitMessage(0);
        return;
    }
    if (seenBox.seen) {
        // Still there a tick after OK was pressed.
        seenBox.okDidNotClose = true;
        ::EndDialog(box, IDOK);
        return;
    }
    seenBox.seen = true;
    seenBox.title = textOf(box);
    ::EnumChildWindows(box, noteControl, 0);
    seenBox.owner = ::GetWindow(box, GW_OWNER);
    ::SendMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
}

TEST(Win32MessageDialog, ShowsTheTextsWithOnlyAnOkButtonAndTheIconOfItsKind)
{
    if (::GetACP() != 1252)
        GTEST_SKIP() << "the texts below are bytes of code page 1252; this system's is "
                     << ::GetACP();
    // Shown: the box stands over its owner only once the owner is on screen.
    const HWND window = ::CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                          0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);

    const struct {
        MessageKind kind;
        HWND owner;
        LRESULT icon;
    } cases[] = {
        {MessageKind::Plain, nullptr, 0},
        {MessageKind::Error, window, reinterpret_cast<LRESULT>(::LoadIconW(nullptr, IDI_ERROR))},
        {MessageKind::Warning, window,
         reinterpret_cast<LRESULT>(::LoadIconW(nullptr, IDI_WARNING))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        seenBox = SeenBox{};
        const UINT_PTR timer = ::SetTimer(nullptr, 0, kTimerMilliseconds, closeShownBox);
        ASSERT_NE(timer, 0u);
        Win32MessageDialog(c.owner).show("No card \xe9 <b>&</b>", "Warning \xe9", c.kind);
        ::KillTimer(nullptr, timer);

        ASSERT_TRUE(seenBox.seen);
        EXPECT_FALSE(seenBox.okDidNotClose);
        EXPECT_EQ(seenBox.title, L"Warning \u00e9");
        EXPECT_EQ(seenBox.texts, std::vector<std::wstring>{L"No card \u00e9 <b>&</b>"});
        EXPECT_EQ(seenBox.buttonIds, std::vector<int>{IDOK});
        EXPECT_EQ(seenBox.icon, c.icon);
        EXPECT_EQ(seenBox.owner, c.owner);
    }
    ::DestroyWindow(window);
}

} // namespace
