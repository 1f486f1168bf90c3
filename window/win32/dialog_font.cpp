#include "dialog_font.h"

#include <cstddef>

namespace quorvel {

namespace {

HFONT createMessageFont()
{
    NONCLIENTMETRICSW metrics{};
    // Only up to lfMessageFont: Windows before Vista refuses the larger structure that later
    // headers declare.
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, lfMessageFont) + sizeof metrics.lfMessageFont;
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0) == 0)
        return nullptr;
    return ::CreateFontIndirectW(&metrics.lfMessageFont);
}

} // namespace

DialogFont::DialogFont() : font_(createMessageFont()), owned_(font_ != nullptr)
{
    if (font_ == nullptr)
        font_ = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

DialogFont::~DialogFont()
{
    if (owned_)
        ::DeleteObject(font_);
}

} // namespace quorvel
