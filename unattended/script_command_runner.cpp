#include "script_command_runner.h"

#include "inventory/lanacfg_contract.h"
#include "inventory/operation_error.h"

namespace quorvel {

ScriptCommandRunner::ScriptCommandRunner(const UnattendedServices& services,
                                         std::chrono::seconds timeout)
    : services_(services), timeout_(timeout)
{
}

CommandOutcome ScriptCommandRunner::run(const std::string& commandLine)
{
    const bool isReport = commandLine == reportCommand();
    const auto runner =
        services_.makeRunner({timeout_, isReport ? OnTimeout::Stop : OnTimeout::LeaveRunning});
    const CommandOutcome outcome = runner->run(commandLine);
    if (isReport && !outcome.succeeded())
        throw OperationError("the report command \"" + commandLine + "\" " + outcome.description());
    return outcome;
}

} // namespace quorvel
