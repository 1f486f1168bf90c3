#include "queued_input.h"

#include <windows.h>

namespace quorvel {

namespace {

struct MessageRange {
    UINT first;
    UINT last;
};

// WM_MOUSEHWHEEL (Vista) lies past the WM_MOUSELAST of the Windows 2000 headers.
constexpr UINT kLastMouseMessage = 0x020E;

constexpr MessageRange kInputMessages[] = {
    {WM_KEYFIRST, WM_KEYLAST},
    {WM_MOUSEFIRST, kLastMouseMessage},
    {WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK},
};

} // namespace

void discardQueuedInput()
{
    MSG message;
    for (const MessageRange& range : kInputMessages) {
        while (::PeekMessageW(&message, nullptr, range.first, range.last, PM_REMOVE) != 0) {
        }
    }
    // A list box captures the mouse on a double-click; the button-up that ends it may have
    // been among the messages just dropped.
    if (::GetCapture() != nullptr)
        ::ReleaseCapture();
}

} // namespace quorvel
