#pragma once

#include <windows.h>

namespace quorvel {

class Form1;

// Loads the window, shows it unless the load failed, and runs the thread's message loop
// until the program's end; returns the exit status the window ended it with.
int runWindow(Form1& window, int showCommand = SW_SHOWNORMAL);

} // namespace quorvel
