#include "form1_fixture.h"
#include "inventory/lanacfg_contract.h"

#include <string>
#include <vector>

namespace quorvel::testing {
namespace {

const std::vector<std::wstring> kIntelOnLana0Lanas{L"0", L"2"};
const std::vector<std::wstring> kIntelOnLana0Cards{L"Intel(R) PRO/100 Adapter",
                                                   L"3Com EtherLink III Adapter"};

void clickAt(HWND control, POINT at, UINT down, UINT up)
{
    ::SendMessageW(control, down, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    ::SendMessageW(control, up, 0, MAKELPARAM(at.x, at.y));
}

// Renumbering LANA 4 gives the Intel adapter LANA 0; the next report shows it.
class Form1Events : public Form1Test {
protected:
    Form1Events()
    {
        duringRun = [this](const std::string& commandLine) {
            if (commandLine == renumberCommand("4"))
                lanacfg.nextReport = kIntelOnLana0Report;
        };
    }
};

TEST_F(Form1Events, SetGivesTheHighlightedCardLana0UnderTheWaitCursorAndRefreshes)
{
    shownForm();
    const HCURSOR before = ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    ::SendMessageW(control("lstCard"), LB_SETCURSEL, 1, 0);
    ::SendMessageW(control("cmdSet"), BM_CLICK, 0, 0);

    EXPECT_EQ(commands(), (std::vector<std::string>{reportCommand(), reportCommand(),
                                                    renumberCommand("4"), reportCommand()}));
    EXPECT_EQ(rowsOf(control("lstLANA")), kIntelOnLana0Lanas);
    EXPECT_EQ(rowsOf(control("lstCard")), kIntelOnLana0Cards);
    EXPECT_EQ(::SendMessageW(control("lstCard"), LB_GETCURSEL, 0, 0), LB_ERR);
    // Load, check, renumbering, refresh: each run under the wait cursor, and the arrow after.
    EXPECT_EQ(waitCursorDuringRuns, std::vector<bool>(4, true));
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_EQ(boxes.size(), 0u);
    EXPECT_EQ(deliverQueued(), std::nullopt);
    ::SetCursor(before);
}

TEST_F(Form1Events, DoubleClickOnACardRowActsOnThatRow)
{
    const struct {
        const char* name;
        const char* list;
        int row;
        bool byMouse; // else the list's own messages: the highlight, then the notification
        const char* renumberedLana; // none: nothing is run
    } cases[] = {
        {"second card, notification", "lstCard", 1, false, "4"},
        {"first card, notification", "lstCard", 0, false, "2"},
        {"second card, mouse", "lstCard", 1, true, "4"},
        {"first card, mouse", "lstCard", 0, true, "2"},
        {"LANA list, mouse", "lstLANA", 1, true, nullptr},
    };
    shownForm();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // The sample again; one window for all cases, as each shown one takes seconds to go
        // under wine without a window manager.
        lanacfg.nextReport = kSampleReport;
        ASSERT_TRUE(form->Form_Load());
        lanacfg.commands.clear();
        const HWND list = control(c.list);
        if (c.byMouse) {
            const POINT at = centreOfRow(list, c.row);
            clickAt(list, at, WM_LBUTTONDOWN, WM_LBUTTONUP);
            clickAt(list, at, WM_LBUTTONDBLCLK, WM_LBUTTONUP);
        } else {
            ::SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(c.row), 0);
            ::SendMessageW(form->handle(), WM_COMMAND,
                           MAKEWPARAM(form1Control(c.list).id, LBN_DBLCLK),
                           reinterpret_cast<LPARAM>(list));
        }
        std::vector<std::string> expected;
        if (c.renumberedLana != nullptr) {
            expected.push_back(reportCommand());
            expected.push_back(renumberCommand(c.renumberedLana));
            expected.push_back(reportCommand());
            // The refreshed lists have no highlighted row.
            EXPECT_EQ(::SendMessageW(control("lstCard"), LB_GETCURSEL, 0, 0), LB_ERR);
        }
        EXPECT_EQ(commands(), expected);
        EXPECT_EQ(deliverQueued(), std::nullopt);
    }
}

TEST_F(Form1Test, SetOnListsMadeStaleByAnotherRunChangesNothingAndSaysSo)
{
    shownForm();
    lanacfg.nextReport = kIntelOnLana0Report;
    ::SendMessageW(control("lstCard"), LB_SETCURSEL, 1, 0);
    ::SendMessageW(control("cmdSet"), BM_CLICK, 0, 0);

    EXPECT_EQ(commands(), (std::vector<std::string>{reportCommand(), reportCommand()}));
    EXPECT_EQ(rowsOf(control("lstCard")), kIntelOnLana0Cards);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, MessageKind::Warning);
    EXPECT_EQ(boxes[0].text, "The NetBEUI bindings changed since they were listed, so nothing was "
                             "changed. Check the lists and press \"Set\" again.");
}

TEST_F(Form1Test, SetOnAnEmptyCardListWarnsThenRefreshes)
{
    lanacfg.nextReport = kNoNetBEUIReport;
    shownForm();
    ::SendMessageW(control("cmdSet"), BM_CLICK, 0, 0);

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, MessageKind::Plain);
    EXPECT_EQ(boxes[0].title, "Warning");
    EXPECT_EQ(boxes[0].text, "No Network-Card installed or NetBEUI not installed");
    EXPECT_FALSE(boxes[0].waitCursor);
    EXPECT_EQ(commands(), (std::vector<std::string>{reportCommand(), reportCommand()}));
    EXPECT_EQ(deliverQueued(), std::nullopt);
}

TEST_F(Form1Events, ClicksAndKeysMadeWhileLanacfgRunsAreDropped)
{
    shownForm();
    const HWND lstCard = control("lstCard");
    const HWND cmdSet = control("cmdSet");
    ::SendMessageW(lstCard, LB_SETCURSEL, 1, 0);
    // While the renumbering holds the window, the user clicks the second row and "Set"
    // again, and presses Enter; after the refresh that row holds another adapter.
    const auto renumberOnly = duringRun;
    duringRun = [&](const std::string& commandLine) {
        renumberOnly(commandLine);
        if (commandLine != renumberCommand("4"))
            return;
        const POINT row = centreOfRow(lstCard, 1);
        ::PostMessageW(lstCard, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(row.x, row.y));
        ::PostMessageW(lstCard, WM_LBUTTONUP, 0, MAKELPARAM(row.x, row.y));
        ::PostMessageW(cmdSet, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        ::PostMessageW(cmdSet, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        ::PostMessageW(cmdSet, WM_KEYDOWN, VK_RETURN, 1);
    };
    ::SendMessageW(cmdSet, BM_CLICK, 0, 0);
    EXPECT_EQ(deliverQueued(), std::nullopt);

    EXPECT_EQ(renumberings(), 1);
    EXPECT_EQ(rowsOf(control("lstLANA")), kIntelOnLana0Lanas);
    EXPECT_EQ(rowsOf(lstCard), kIntelOnLana0Cards);
    EXPECT_EQ(::SendMessageW(lstCard, LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_EQ(::GetCapture(), nullptr);
}

} // namespace
} // namespace quorvel::testing
