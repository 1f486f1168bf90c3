// Writes to the system's logs for the tests, as a process of its own:
//   log_writer event RESULT   one entry in the event log for RenumberingResult RESULT (0 to 3)
//   log_writer append PATH LINE   LINE ten times to the run log file PATH
// Exits with 0, or 1 when a write failed.
#include "platform/system_access.h"

#include <string>

int main(int argc, char** argv)
{
    using namespace quorvel;
    try {
        const std::string action = argc > 1 ? argv[1] : "";
        if (action == "event" && argc == 3) {
            const auto result = static_cast<RenumberingResult>(std::stoi(argv[2]));
            const auto program = std::stoi(argv[2]) % 2 == 0 ? RenumberingProgram::Window
                                                             : RenumberingProgram::Options;
            SystemRenumberingLog().record({result, program, "Intel(R) PRO/100", "2", std::nullopt,
                                           "lanacfg setlananumber 2 0", "exited with status 1"});
            return 0;
        }
        if (action == "append" && argc == 4) {
            for (int i = 0; i < 10; ++i)
                appendRunLogLine(argv[2], argv[3]);
            return 0;
        }
    } catch (...) {
    }
    return 1;
}
