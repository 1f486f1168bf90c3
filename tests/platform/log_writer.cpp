// Writes to the system's logs for the tests, in a process of its own: "event RESULT" one entry
// for that RenumberingResult, "append PATH LINE" LINE ten times to the run log file PATH.
#include "platform/system_access.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    using namespace quorvel;
    const std::string action = argc > 1 ? argv[1] : "";
    try {
        if (action == "event" && argc == 3) {
            const int result = std::stoi(argv[2]);
            SystemRenumberingLog().record(
                {static_cast<RenumberingResult>(result),
                 result % 2 == 0 ? RenumberingProgram::Window : RenumberingProgram::Options,
                 "Intel(R) PRO/100", "2", std::nullopt, "lanacfg setlananumber 2 0",
                 "exited with status 1"});
        }
        for (int i = 0; action == "append" && argc == 4 && i < 10; ++i)
            appendRunLogLine(argv[2], argv[3]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
