#include "screen_dpi.h"

#include <windows.h>

namespace quorvel {

namespace {

constexpr double kStandardDpi = 96.0;

} // namespace

ScreenDpi screenDpi()
{
    const HDC screen = ::GetDC(nullptr);
    if (screen == nullptr)
        return {kStandardDpi, kStandardDpi};
    const ScreenDpi dpi{static_cast<double>(::GetDeviceCaps(screen, LOGPIXELSX)),
                        static_cast<double>(::GetDeviceCaps(screen, LOGPIXELSY))};
    ::ReleaseDC(nullptr, screen);
    return dpi;
}

} // namespace quorvel
