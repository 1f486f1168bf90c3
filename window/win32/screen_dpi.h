#pragma once

namespace quorvel {

// Logical dots per inch, across and down.
struct ScreenDpi {
    double x;
    double y;
};

// The screen's logical resolution, as GetDeviceCaps gives it for the screen.
ScreenDpi screenDpi();

} // namespace quorvel
