#pragma once

#include "window/form_services.h"

namespace quorvel {

class Form1;

// The window's services on Win32: Win32CommandRunner, report files on the Windows disk,
// MessageBoxW over the window while it is shown, the wait cursor, and the program's end
// posted to the message loop once the window is destroyed.
FormServices win32FormServices(Form1& window);

} // namespace quorvel
