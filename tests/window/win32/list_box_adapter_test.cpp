#include "window/win32/list_box_adapter.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace quorvel {
namespace {

class ListBoxAdapterTest : public ::testing::Test {
protected:
    ~ListBoxAdapterTest() override { ::DestroyWindow(listBox); }

    HWND listBox = ::CreateWindowExW(0, L"LISTBOX", L"", WS_POPUP | LBS_NOTIFY, 0, 0, 200, 200,
                                     nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ListBoxAdapter rows{listBox};
};

std::wstring shownRow(HWND listBox, int row)
{
    wchar_t text[64] = {};
    ::SendMessageW(listBox, LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text));
    return text;
}

TEST_F(ListBoxAdapterTest, RowsGiveBackTheReportsBytes)
{
    ASSERT_NE(listBox, nullptr);
    // Bytes no code page turns back into themselves, a control character, UTF-8 for a-umlaut.
    const std::string odd = "Karte \x81\x8d\xff\x01 \xc3\xa4";
    rows.append("plain");
    rows.append(odd);
    EXPECT_EQ(rows.rowCount(), 2);
    EXPECT_EQ(rows.rowText(0), "plain");
    EXPECT_EQ(rows.rowText(1), odd);
    for (const int outside : {-1, 2}) {
        SCOPED_TRACE(outside);
        EXPECT_EQ(rows.rowText(outside), "");
    }
    EXPECT_EQ(shownRow(listBox, 0), L"plain");

    rows.clear();
    EXPECT_EQ(rows.rowCount(), 0);
    EXPECT_EQ(::SendMessageW(listBox, LB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(rows.rowText(0), "");
}

TEST_F(ListBoxAdapterTest, RowsShowInTheAnsiCodePage)
{
    if (::GetACP() != 1252)
        GTEST_SKIP() << "written for code page 1252, this system's is " << ::GetACP();
    rows.append("Carte r\xe9seau");
    EXPECT_EQ(shownRow(listBox, 0), L"Carte r\u00e9seau");
    EXPECT_EQ(rows.rowText(0), "Carte r\xe9seau");
}

TEST_F(ListBoxAdapterTest, HighlightedRowIsTheSelectionOrNone)
{
    rows.append("first");
    rows.append("second");
    EXPECT_EQ(rows.highlightedRow(), -1);
    ::SendMessageW(listBox, LB_SETCURSEL, 1, 0);
    EXPECT_EQ(rows.highlightedRow(), 1);
    rows.clear();
    EXPECT_EQ(rows.highlightedRow(), -1);
}

} // namespace
} // namespace quorvel
