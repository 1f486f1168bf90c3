#pragma once

namespace quorvel {

// Loads the main window, shows it and runs the event loop until the program ends;
// returns the program's exit status. Needs a running QApplication.
int startWindow();

} // namespace quorvel
