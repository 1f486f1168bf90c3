#include "form1_fixture.h"

#include "inventory/lanacfg_contract.h"
#include "platform/system_access.h"

#include <memory>
#include <utility>

namespace quorvel {

void PrintTo(const PixelRect& rect, std::ostream* out)
{
    *out << "{" << rect.left << ", " << rect.top << ", " << rect.width << ", " << rect.height
         << "}";
}

namespace testing {

namespace {

const std::string kNetBEUI = "-->NetBEUI Protocol-->";

} // namespace

const std::string kSampleReport = joinLines(
    {"NetBIOS bindings and their LANA numbers", "", "Lana:  1",
     kNetBEUI + "WAN Miniport (NetBEUI, Dial Out)", "Lana:  2",
     kNetBEUI + "3Com EtherLink III Adapter", "Lana:  4", kNetBEUI + "Intel(R) PRO/100 Adapter"},
    "\r\n");
const std::string kIntelOnLana0Report =
    joinLines({"Lana:  0", kNetBEUI + "Intel(R) PRO/100 Adapter", "Lana:  2",
               kNetBEUI + "3Com EtherLink III Adapter"},
              "\r\n");
const std::string kNoNetBEUIReport =
    joinLines({"Lana:  0", "-->NetBT-->Intel(R) PRO/100 Adapter"}, "\r\n");

Form1Test::Form1Test()
{
    lanacfg.nextReport = kSampleReport;
}

void Form1Test::TearDown()
{
    form.reset();
    // Nothing of this test reaches the next: no key, no click, no end of the program.
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != 0) {
    }
}

CommandOutcome Form1Test::WatchingRunner::run(const std::string& commandLine,
                                              std::optional<TimeLimit> limit)
{
    test_.waitCursorDuringRuns.push_back(waitCursorShows());
    if (test_.duringRun)
        test_.duringRun(commandLine);
    return test_.lanacfg.run(commandLine, limit);
}

ProgramNotFound Form1Test::WatchingRunner::interpreterNotFound() const
{
    // The program's: its report command runs through cmd.exe.
    return SystemCommandRunner().interpreterNotFound();
}

void Form1Test::CapturingDialog::show(const std::string& text, const std::string& title,
                                      MessageKind kind)
{
    test_.boxes.push_back({kind, title, text, waitCursorShows()});
}

Form1& Form1Test::makeForm(std::optional<ScreenDpi> dpi)
{
    form.emplace(runner, files, renumberingLock, renumberingLog, true, dialog, dpi);
    return *form;
}

Form1& Form1Test::shownForm()
{
    makeForm();
    EXPECT_TRUE(form->Form_Load());
    form->show();
    return *form;
}

int Form1Test::renumberings() const
{
    int count = 0;
    for (const std::string& command : lanacfg.commands) {
        if (command != reportCommand())
            ++count;
    }
    return count;
}

std::optional<int> Form1Test::deliverQueued()
{
    std::optional<int> quitStatus;
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != 0) {
        if (message.message == WM_QUIT) {
            quitStatus = static_cast<int>(message.wParam);
            continue;
        }
        if (!form->preTranslate(message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    return quitStatus;
}

void Form1Test::press(WPARAM key)
{
    // The key's repeat count, and for the release the previous-state and transition bits.
    for (const auto& [type, flags] :
         {std::pair<UINT, LPARAM>{WM_KEYDOWN, 1}, std::pair<UINT, LPARAM>{WM_KEYUP, 0xC0000001}}) {
        MSG message{::GetFocus(), type, key, flags, static_cast<DWORD>(::GetMessageTime()), {}};
        if (!form->preTranslate(message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
}

std::vector<std::wstring> rowsOf(HWND listBox)
{
    std::vector<std::wstring> rows;
    const auto count = ::SendMessageW(listBox, LB_GETCOUNT, 0, 0);
    for (LRESULT row = 0; row < count; ++row) {
        std::wstring text(static_cast<std::size_t>(::SendMessageW(listBox, LB_GETTEXTLEN, row, 0)),
                          L'\0');
        // LB_GETTEXT writes a terminating NUL after the text.
        text.resize(text.size() + 1);
        text.resize(static_cast<std::size_t>(
            ::SendMessageW(listBox, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text.data()))));
        rows.push_back(text);
    }
    return rows;
}

std::wstring textOf(HWND window)
{
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

PixelRect placeOf(HWND control)
{
    RECT at{};
    ::GetWindowRect(control, &at);
    ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&at), 2);
    return {at.left, at.top, at.right - at.left, at.bottom - at.top};
}

POINT centreOfRow(HWND listBox, int row)
{
    RECT at{};
    ::SendMessageW(listBox, LB_GETITEMRECT, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(&at));
    return {(at.left + at.right) / 2, (at.top + at.bottom) / 2};
}

bool waitCursorShows()
{
    return ::GetCursor() == ::LoadCursorW(nullptr, IDC_WAIT);
}

} // namespace testing
} // namespace quorvel
