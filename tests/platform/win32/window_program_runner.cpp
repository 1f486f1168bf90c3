// A program of the window subsystem, as the Windows edition is: it has no console that a
// command could share. It runs the command line in QUORVEL_RUNNER_COMMAND with the Win32
// command runner and exits with the command's exit status (1000 when it could not run it).
#include "platform/system_access.h"

#include <windows.h>

#include <string>

int main()
{
    char command[4096];
    const DWORD length =
        ::GetEnvironmentVariableA("QUORVEL_RUNNER_COMMAND", command, sizeof command);
    if (length == 0 || length >= sizeof command)
        return 1000;
    try {
        const quorvel::CommandOutcome outcome =
            quorvel::SystemCommandRunner().run(std::string(command, length));
        return static_cast<int>(outcome.value);
    } catch (...) {
        return 1000;
    }
}
