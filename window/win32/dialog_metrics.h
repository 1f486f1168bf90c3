#pragma once

#include <windows.h>

namespace quorvel {

// Logical dots per inch, across and down.
struct ScreenDpi {
    double x;
    double y;
};

// The screen's logical resolution, as GetDeviceCaps gives it for the screen.
ScreenDpi screenDpi();

// The font the system uses for message boxes and dialogs (lfMessageFont), or the stock GUI
// font when that cannot be had, and its bold form for headings. Owns the fonts it creates.
class DialogFont {
public:
    DialogFont();
    ~DialogFont();
    DialogFont(const DialogFont&) = delete;
    DialogFont& operator=(const DialogFont&) = delete;

    HFONT get() const { return font_; }
    HFONT heading() const { return heading_; }

private:
    HFONT font_;
    HFONT heading_;
};

} // namespace quorvel
