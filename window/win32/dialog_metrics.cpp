#include "dialog_metrics.h"

#include <cstddef>

namespace quorvel {

namespace {

constexpr double kStandardDpi = 96.0;

LOGFONTW messageFont()
{
    NONCLIENTMETRICSW metrics{};
    // Only up to lfMessageFont: Windows before Vista refuses the larger structure that later
    // headers declare.
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, lfMessageFont) + sizeof metrics.lfMessageFont;
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0) != 0)
        return metrics.lfMessageFont;
    LOGFONTW stock{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof stock, &stock);
    return stock;
}

LOGFONTW bold(LOGFONTW font)
{
    font.lfWeight = FW_BOLD;
    return font;
}

// The stock GUI font stands in for one that cannot be made; it is never deleted.
HFONT createOrStock(const LOGFONTW& font)
{
    const HFONT created = ::CreateFontIndirectW(&font);
    return created != nullptr ? created : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

void release(HFONT font)
{
    if (font != ::GetStockObject(DEFAULT_GUI_FONT))
        ::DeleteObject(font);
}

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

DialogFont::DialogFont()
    : font_(createOrStock(messageFont())), heading_(createOrStock(bold(messageFont())))
{
}

DialogFont::~DialogFont()
{
    release(heading_);
    release(font_);
}

} // namespace quorvel
