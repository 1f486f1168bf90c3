#include "form1_fixture.h"

#include <cstddef>
#include <iterator>
#include <optional>

namespace quorvel::testing {
namespace {

TEST_F(Form1Test, SetHasTheFocusWhenShownAndTabMovesSetCloseCardsLanas)
{
    shownForm();
    EXPECT_EQ(::GetFocus(), control("cmdSet"));

    const char* const order[] = {"cmdSet", "cmdExit", "lstCard", "lstLANA", "cmdSet"};
    for (std::size_t step = 1; step < std::size(order); ++step) {
        SCOPED_TRACE(step);
        const HWND from = control(order[step - 1]);
        EXPECT_EQ(::GetNextDlgTabItem(form->handle(), from, FALSE), control(order[step]));
        EXPECT_EQ(::GetNextDlgTabItem(form->handle(), control(order[step]), TRUE), from);
        ASSERT_EQ(::GetFocus(), from);
        press(VK_TAB);
        EXPECT_EQ(::GetFocus(), control(order[step]));
    }
}

TEST_F(Form1Test, FocusGoesBackWhereItWasWhenTheWindowIsActivatedAgain)
{
    const HWND window = shownForm().handle();
    ::SetFocus(control("cmdExit"));
    const HWND other =
        ::CreateWindowExW(0, L"STATIC", L"another window", WS_POPUP | WS_VISIBLE, 0, 0, 100, 50,
                          nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(other, nullptr);
    ::SetActiveWindow(other);
    ASSERT_EQ(::GetActiveWindow(), other);
    ::SetActiveWindow(window);
    EXPECT_EQ(::GetFocus(), control("cmdExit"));
    ::DestroyWindow(other);
}

TEST_F(Form1Test, EnterAndSpacePressTheFocusedButtonAndEscDoesNothing)
{
    const struct {
        const char* name;
        const char* focused;
        WPARAM key;
        int renumberings;
        std::optional<int> endStatus;
    } cases[] = {
        {"Enter on Set", "cmdSet", VK_RETURN, 1, std::nullopt},
        {"Space on Set", "cmdSet", VK_SPACE, 1, std::nullopt},
        {"Enter on Close", "cmdExit", VK_RETURN, 0, 0},
        {"Space on Close", "cmdExit", VK_SPACE, 0, 0},
        {"Esc on Set", "cmdSet", VK_ESCAPE, 0, std::nullopt},
        {"Esc on the card list", "lstCard", VK_ESCAPE, 0, std::nullopt},
        {"Enter on the card list", "lstCard", VK_RETURN, 0, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // A window for the next case only where the last one has ended the program: under
        // wine without a window manager, every shown window takes seconds to go.
        if (!form || form->handle() == nullptr)
            shownForm();
        else
            ASSERT_TRUE(form->Form_Load());
        lanacfg.commands.clear();
        ::SendMessageW(control("lstCard"), LB_SETCURSEL, 1, 0);
        ::SetFocus(control(c.focused));
        press(c.key);
        const std::optional<int> endStatus = deliverQueued();
        EXPECT_EQ(renumberings(), c.renumberings);
        EXPECT_EQ(endStatus, c.endStatus);
        EXPECT_EQ(form->handle() == nullptr, c.endStatus.has_value());
        EXPECT_EQ(boxes.size(), 0u);
    }
}

} // namespace
} // namespace quorvel::testing
