#include "form1_fixture.h"

#include <cstddef>
#include <cstdlib>

namespace quorvel::testing {
namespace {

struct ControlShown {
    const char* name;
    const wchar_t* caption;
    PixelRect at96Dpi;
    bool bold = false; // the column headings
};

const ControlShown kControls[] = {
    {"LABN", L"LANA", {16, 24, 105, 17}, true},
    {"Label1", L"Network Card", {128, 24, 129, 17}, true},
    {"lstLANA", L"", {16, 40, 33, 147}},
    {"lstCard", L"", {48, 40, 377, 147}},
    {"Label2",
     L"Highlight the Card where you want to set the LANA=O and click set",
     {16, 200, 409, 17}},
    {"cmdExit", L"Close", {128, 232, 57, 25}},
    {"cmdSet", L"Set", {272, 232, 57, 25}},
};

bool shownInBold(HWND control)
{
    LOGFONTW font{};
    const auto shown = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
    return ::GetObjectW(shown, sizeof font, &font) != 0 && font.lfWeight >= FW_BOLD;
}

SIZE clientSize(HWND window)
{
    RECT client{};
    ::GetClientRect(window, &client);
    return {client.right, client.bottom};
}

TEST_F(Form1Test, WindowAndControlsKeepTheirPlacesAndCaptions)
{
    const HWND window = makeForm().handle();
    EXPECT_EQ(textOf(window), L"Quorvel");
    EXPECT_EQ(clientSize(window).cx, 431);
    EXPECT_EQ(clientSize(window).cy, 269);
    for (const ControlShown& control : kControls) {
        SCOPED_TRACE(control.name);
        const HWND shown = form->control(control.name);
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(placeOf(shown), control.at96Dpi);
        EXPECT_EQ(textOf(shown), control.caption);
        EXPECT_EQ(shownInBold(shown), control.bold);
    }
}

TEST_F(Form1Test, PlacesRoundToTheNearestPixelHalvesUpEachAxisAtItsOwnResolution)
{
    // 12 twips a pixel across, 10 down: quarters round down, halves and three quarters up.
    const HWND window = makeForm(ScreenDpi{120.0, 144.0}).handle();
    EXPECT_EQ(clientSize(window).cx, 539);
    EXPECT_EQ(clientSize(window).cy, 404);
    EXPECT_EQ(placeOf(control("lstCard")), (PixelRect{60, 60, 471, 221}));
    EXPECT_EQ(placeOf(control("cmdSet")), (PixelRect{340, 348, 71, 38}));
}

TEST_F(Form1Test, LabelsLeaveTheListBordersWhole)
{
    const HWND window = shownForm().handle();
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    const HDC client = ::GetDC(window);
    // The lists' top edge (y 40 at 96 DPI), under "LANA" and "Network Card" (which reach down
    // to y 41) and where no label is.
    const COLORREF bare = ::GetPixel(client, 350, 40);
    for (const int x : {30, 60, 190}) {
        SCOPED_TRACE(x);
        EXPECT_EQ(::GetPixel(client, x, 40), bare);
    }
    EXPECT_NE(bare, ::GetPixel(client, 350, 30)) << "the edge differs from the background";
    ::ReleaseDC(window, client);
}

TEST_F(Form1Test, ScreenResolutionIsTheDefault)
{
    const HDC screen = ::GetDC(nullptr);
    const ScreenDpi dpi{static_cast<double>(::GetDeviceCaps(screen, LOGPIXELSX)),
                        static_cast<double>(::GetDeviceCaps(screen, LOGPIXELSY))};
    ::ReleaseDC(nullptr, screen);
    const SIZE atScreenDpi = clientSize(makeForm(dpi).handle());
    const SIZE byDefault = clientSize(makeForm(std::nullopt).handle());
    EXPECT_EQ(byDefault.cx, atScreenDpi.cx);
    EXPECT_EQ(byDefault.cy, atScreenDpi.cy);
}

TEST_F(Form1Test, WindowIsFixedInSizeMinimisableAndCentredOnTheWorkArea)
{
    const HWND window = makeForm().handle();
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE));
    EXPECT_EQ(style & WS_THICKFRAME, 0u);
    EXPECT_EQ(style & WS_MAXIMIZEBOX, 0u);
    EXPECT_NE(style & WS_MINIMIZEBOX, 0u);
    EXPECT_NE(style & WS_SYSMENU, 0u);

    RECT frame{};
    ::GetWindowRect(window, &frame);
    RECT area{};
    ASSERT_NE(::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0), 0);
    EXPECT_LE(std::abs((frame.left + frame.right) - (area.left + area.right)), 1);
    EXPECT_LE(std::abs((frame.top + frame.bottom) - (area.top + area.bottom)), 1);
}

TEST_F(Form1Test, WindowShowsTheProgramsIconAndControlsTheSystemsMessageFont)
{
    const HWND window = makeForm().handle();

    // This test program carries app/icons/quorvel.ico as resource 1, as quorvel.exe does.
    auto* const icon = reinterpret_cast<HICON>(::GetClassLongPtrW(window, GCLP_HICON));
    ASSERT_NE(icon, nullptr);
    ICONINFO parts{};
    ASSERT_NE(::GetIconInfo(icon, &parts), 0);
    BITMAP image{};
    ::GetObjectW(parts.hbmColor, sizeof image, &image);
    EXPECT_EQ(image.bmWidth, 32);
    EXPECT_EQ(image.bmHeight, 32);
    ::DeleteObject(parts.hbmColor);
    ::DeleteObject(parts.hbmMask);

    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, lfMessageFont) + sizeof metrics.lfMessageFont;
    ASSERT_NE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0), 0);
    for (const ControlShown& control : kControls) {
        SCOPED_TRACE(control.name);
        auto* const font =
            reinterpret_cast<HFONT>(::SendMessageW(form->control(control.name), WM_GETFONT, 0, 0));
        ASSERT_NE(font, nullptr) << "the system font, not the dialog font";
        LOGFONTW shown{};
        ASSERT_NE(::GetObjectW(font, sizeof shown, &shown), 0);
        EXPECT_STREQ(shown.lfFaceName, metrics.lfMessageFont.lfFaceName);
        EXPECT_EQ(shown.lfHeight, metrics.lfMessageFont.lfHeight);
    }
}

} // namespace
} // namespace quorvel::testing
