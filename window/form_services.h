#pragma once

#include <functional>
#include <memory>
#include <string>

class QWidget;

namespace quorvel {

class CommandRunner;
class MessageBox;
class ReportFiles;

// What the window's operations use of the system. Each operation makes its own objects
// and drops them when it ends; tests hand in fakes instead of the platform's.
struct FormServices {
    std::function<std::unique_ptr<CommandRunner>()> makeRunner;
    std::function<std::unique_ptr<ReportFiles>()> makeReportFiles;
    std::function<std::unique_ptr<MessageBox>(QWidget* window)> makeMessageBox;
    // Tells the user about an error that ends the program; returns once they closed it.
    std::function<void(QWidget* window, const std::string& message)> reportError;
};

// The real process runner, report files and message boxes, and a critical box for errors.
FormServices platformServices();

} // namespace quorvel
