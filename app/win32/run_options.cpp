#include "run_options.h"

#include "app/win32/handle_output.h"
#include "platform/win32/win32_command_runner.h"
#include "platform/win32/win32_report_files.h"
#include "unattended/unattended_mode.h"

#include <ostream>

namespace quorvel {

int runOptions(const std::vector<std::string>& arguments, HANDLE output, HANDLE errors)
{
    const UnattendedServices services{
        [](TimeLimit limit) { return std::make_unique<Win32CommandRunner>(limit); },
        [] { return std::make_unique<Win32ReportFiles>(); },
    };
    HandleOutput outputBuffer(output);
    HandleOutput errorBuffer(errors);
    std::ostream out(&outputBuffer);
    std::ostream err(&errorBuffer);
    const int status = runUnattended(arguments, QUORVEL_VERSION, services, out, err);
    out.flush();
    err.flush();
    return status;
}

} // namespace quorvel
