#include "busy_command_runner.h"

#include <QCursor>
#include <QGuiApplication>

namespace quorvel {

namespace {

// Restores the cursor however the run ends, exceptions included.
class WaitCursorScope {
public:
    WaitCursorScope() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~WaitCursorScope() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursorScope(const WaitCursorScope&) = delete;
    WaitCursorScope& operator=(const WaitCursorScope&) = delete;
};

} // namespace

void BusyCommandRunner::run(const std::string& commandLine)
{
    const WaitCursorScope waitCursor;
    runner_.run(commandLine);
}

} // namespace quorvel
