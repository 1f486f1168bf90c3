#include "window_start.h"

#include "assignment/message_dialog.h"
#include "inventory/error_text.h"
#include "platform/win32/win32_message_dialog.h"
#include "window/form1_layout.h"
#include "window/win32/form1.h"
#include "window/win32/run_window.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>

namespace quorvel {

int startWindow()
{
    // Loads comctl32, so that the manifest's Common Controls 6 draw the controls themed.
    ::InitCommonControls();
    try {
        Form1 window;
        // As the shortcut or the starting program asked: normal, minimised, ...
        return runWindow(window, SW_SHOWDEFAULT);
    } catch (...) {
        Win32MessageDialog().show(describeCurrentError(), kFormCaption, MessageKind::Error);
    }
    return EXIT_FAILURE;
}

} // namespace quorvel
