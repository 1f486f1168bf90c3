#include "form1_fixture.h"
#include "inventory/lanacfg_contract.h"

#include <string>
#include <utility>
#include <vector>

namespace quorvel::testing {
namespace {

TEST_F(Form1Test, LoadFillsTheListsBeforeTheWindowIsShown)
{
    makeForm();
    ASSERT_TRUE(form->Form_Load());
    EXPECT_EQ(::IsWindowVisible(form->handle()), 0);
    EXPECT_EQ(rowsOf(control("lstLANA")), (std::vector<std::wstring>{L"2", L"4"}));
    EXPECT_EQ(rowsOf(control("lstCard")), (std::vector<std::wstring>{L"3Com EtherLink III Adapter",
                                                                     L"Intel(R) PRO/100 Adapter"}));
    EXPECT_EQ(commands(), std::vector<std::string>{reportCommand()});
    EXPECT_TRUE(files.files.empty()) << "the report file is deleted";
    EXPECT_EQ(boxes.size(), 0u);
}

TEST_F(Form1Test, RowsKeepTheReportsOrder)
{
    lanacfg.nextReport = joinLines({"Lana:  7", "-->NetBEUI Protocol-->Zeta Card", "Lana:  3",
                                    "-->NetBEUI Protocol-->Alpha Card"});
    makeForm();
    ASSERT_TRUE(form->Form_Load());
    EXPECT_EQ(rowsOf(control("lstCard")), (std::vector<std::wstring>{L"Zeta Card", L"Alpha Card"}));
    EXPECT_EQ(rowsOf(control("lstLANA")), (std::vector<std::wstring>{L"7", L"3"}));
}

// Where each row of a list box stands within the window, for as many rows as it holds.
std::vector<RECT> rowPlaces(HWND listBox)
{
    std::vector<RECT> places;
    const auto count = ::SendMessageW(listBox, LB_GETCOUNT, 0, 0);
    for (LRESULT row = 0; row < count; ++row) {
        RECT at{};
        ::SendMessageW(listBox, LB_GETITEMRECT, static_cast<WPARAM>(row),
                       reinterpret_cast<LPARAM>(&at));
        ::MapWindowPoints(listBox, ::GetParent(listBox), reinterpret_cast<POINT*>(&at), 2);
        places.push_back(at);
    }
    return places;
}

TEST_F(Form1Test, TenBindingsAndALongNameStayRowBesideRowAfterEnd)
{
    std::vector<std::string> report;
    for (int lana = 0; lana < 10; ++lana) {
        std::string name = "Adapter " + std::to_string(lana);
        for (int more = 0; lana == 3 && more < 12; ++more)
            name += " Adapter " + std::to_string(lana);
        report.insert(report.end(),
                      {"Lana:  " + std::to_string(lana), "-->NetBEUI Protocol-->" + name});
    }
    for (const double dpi : {96.0, 144.0}) {
        SCOPED_TRACE(dpi);
        lanacfg.nextReport = joinLines(report);
        makeForm(ScreenDpi{dpi, dpi});
        ASSERT_TRUE(form->Form_Load());
        form->show();
        const HWND lstLANA = control("lstLANA");
        const HWND lstCard = control("lstCard");
        ::SetFocus(lstCard);
        // End moves from a highlighted row, as the user's first pick gives one.
        ::SendMessageW(lstCard, LB_SETCURSEL, 0, 0);
        press(VK_END);

        EXPECT_EQ(::SendMessageW(lstCard, LB_GETCURSEL, 0, 0), 9);
        EXPECT_EQ(::SendMessageW(lstCard, LB_GETTOPINDEX, 0, 0),
                  ::SendMessageW(lstLANA, LB_GETTOPINDEX, 0, 0));
        EXPECT_EQ(::GetWindowLongW(lstCard, GWL_STYLE) & WS_HSCROLL, 0);
        const std::vector<RECT> cards = rowPlaces(lstCard);
        const std::vector<RECT> lanas = rowPlaces(lstLANA);
        ASSERT_EQ(cards.size(), 10u);
        ASSERT_EQ(lanas.size(), 10u);
        for (std::size_t row = 0; row < cards.size(); ++row) {
            SCOPED_TRACE(row);
            EXPECT_EQ(cards[row].top, lanas[row].top);
            EXPECT_EQ(cards[row].bottom, lanas[row].bottom);
        }
        // The highlighted last row shows, beside its LANA.
        RECT shown{};
        ::GetClientRect(lstCard, &shown);
        ::MapWindowPoints(lstCard, form->handle(), reinterpret_cast<POINT*>(&shown), 2);
        EXPECT_LE(cards[9].bottom, shown.bottom);
        form.reset();
    }
}

TEST_F(Form1Test, RowsShowInTheAnsiCodePageAndSetGivesBackTheReportsBytes)
{
    // Blanks after the number, which the report line carries on.
    const std::string oddLana = "3 \t";
    lanacfg.nextReport = joinLines({"Lana:  " + oddLana, "-->NetBEUI Protocol-->Carte r\xe9seau"});
    shownForm();
    if (::GetACP() == 1252) {
        EXPECT_EQ(rowsOf(control("lstCard")), (std::vector<std::wstring>{L"Carte r\u00e9seau"}));
    }
    ::SendMessageW(control("lstCard"), LB_SETCURSEL, 0, 0);
    ::SendMessageW(control("cmdSet"), BM_CLICK, 0, 0);
    EXPECT_EQ(commands().at(2), "lanacfg setlananumber " + oddLana + " 0");
}

TEST_F(Form1Test, AtMostOneRowIsHighlightedWhateverTheModifierKeys)
{
    shownForm();
    for (const char* list : {"lstCard", "lstLANA"}) {
        SCOPED_TRACE(list);
        const HWND listBox = control(list);
        // A plain click on the first row, then Ctrl and Shift clicks on the second.
        for (const auto& [row, keys] : {std::pair{0, WPARAM{0}}, std::pair{1, WPARAM{MK_CONTROL}},
                                        std::pair{0, WPARAM{MK_SHIFT}}}) {
            const POINT at = centreOfRow(listBox, row);
            ::SendMessageW(listBox, WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(at.x, at.y));
            ::SendMessageW(listBox, WM_LBUTTONUP, keys, MAKELPARAM(at.x, at.y));
            int highlighted = 0;
            for (int each = 0; each < 2; ++each)
                highlighted += ::SendMessageW(listBox, LB_GETSEL, each, 0) > 0 ? 1 : 0;
            EXPECT_EQ(highlighted, 1) << "after a click on row " << row;
        }
    }
}

} // namespace
} // namespace quorvel::testing
