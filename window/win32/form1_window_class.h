#pragma once

#include <windows.h>

namespace quorvel {

// The program's icon: resource 1 of the program file, shown by the window and Explorer alike.
inline constexpr WORD kProgramIconId = 1;

// Registers the main window's class once per process, with this window procedure, the dialog
// background and the program's icon; returns the class name. Throws OperationError when it
// cannot be registered.
const wchar_t* form1WindowClass(WNDPROC windowProcedure);

} // namespace quorvel
