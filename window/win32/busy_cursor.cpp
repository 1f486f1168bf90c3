#include "busy_cursor.h"

#include "window/win32/queued_input.h"

#include <windows.h>

#include <memory>

namespace quorvel {

std::function<void(bool running)> busyCursor()
{
    auto before = std::make_shared<HCURSOR>(nullptr);
    return [before](bool running) {
        if (running) {
            *before = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
            return;
        }
        // No cursor at all would leave the pointer invisible until it next moves.
        ::SetCursor(*before != nullptr ? *before : ::LoadCursorW(nullptr, IDC_ARROW));
        // The window's thread was held by the run, so what the user did meanwhile is still
        // queued; delivered now, it would act on the lists the run has just replaced.
        discardQueuedInput();
    };
}

} // namespace quorvel
