#include "win32_form_services.h"

#include "platform/win32/win32_command_runner.h"
#include "platform/win32/win32_message_dialog.h"
#include "platform/win32/win32_report_files.h"
#include "window/win32/busy_cursor.h"
#include "window/win32/form1.h"

namespace quorvel {

FormServices win32FormServices(Form1& window)
{
    return {
        [] { return std::make_unique<Win32CommandRunner>(); },
        [] { return std::make_unique<Win32ReportFiles>(); },
        [&window] {
            // Before the window is shown (a failed load) the box stands on its own.
            const HWND shown = window.handle();
            return std::make_unique<Win32MessageDialog>(
                shown != nullptr && ::IsWindowVisible(shown) != 0 ? shown : nullptr);
        },
        busyCursor(),
        [&window](int status) {
            window.destroy();
            ::PostQuitMessage(status);
        },
    };
}

} // namespace quorvel
