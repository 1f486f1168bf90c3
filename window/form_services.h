#pragma once

#include <functional>
#include <memory>

namespace quorvel {

class CommandRunner;
class MessageDialog;
class ReportFiles;

// What the window's operations use of the platform. Each operation makes its own objects
// and drops them when it ends; tests hand in fakes instead of the platform's.
struct FormServices {
    std::function<std::unique_ptr<CommandRunner>()> makeRunner;
    std::function<std::unique_ptr<ReportFiles>()> makeReportFiles;
    // Message boxes over the window while it is shown, on their own before that.
    std::function<std::unique_ptr<MessageDialog>()> makeMessageDialog;
    // True while a lanacfg run holds the window (the busy cursor shows). On false, mouse and
    // key input that arrived during the run is dropped: it was aimed at lists the run has
    // since replaced.
    std::function<void(bool running)> showToolRunning;
    // Ends the program with this exit status once the current event is over.
    std::function<void(int status)> endProgram;
};

} // namespace quorvel
