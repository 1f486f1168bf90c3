#pragma once

namespace quorvel {

// Builds, loads and shows the main window and runs it until the program's end; returns the
// program's exit status. An error before the window runs is shown in the error box.
int startWindow();

} // namespace quorvel
