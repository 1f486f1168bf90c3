#include "busy_command_runner.h"

#include <utility>

namespace quorvel {

namespace {

// Ends the busy state however the run ends, exceptions included.
class ToolRunningScope {
public:
    explicit ToolRunningScope(const std::function<void(bool)>& show) : show_(show) { show_(true); }
    ~ToolRunningScope() { show_(false); }
    ToolRunningScope(const ToolRunningScope&) = delete;
    ToolRunningScope& operator=(const ToolRunningScope&) = delete;

private:
    const std::function<void(bool)>& show_;
};

} // namespace

BusyCommandRunner::BusyCommandRunner(CommandRunner& runner,
                                     std::function<void(bool running)> showToolRunning)
    : runner_(runner), showToolRunning_(std::move(showToolRunning))
{
}

CommandOutcome BusyCommandRunner::run(const std::string& commandLine)
{
    const ToolRunningScope running(showToolRunning_);
    return runner_.run(commandLine);
}

} // namespace quorvel
