#include "options_run.h"

#include "platform/system_access.h"
#include "platform/win32/ansi_text.h"
#include "platform/win32/handle_output.h"
#include "unattended/unattended_mode.h"

#include <optional>
#include <string>

namespace quorvel {

int runOptions(const std::vector<std::wstring>& arguments, HANDLE output, HANDLE errors)
{
    HandleOutput out(output);
    HandleOutput err(errors);
    std::vector<std::string> ansiArguments;
    for (const std::wstring& argument : arguments) {
        std::optional<std::string> ansi = exactAnsiFromWide(argument);
        if (!ansi) {
            err.write(std::string(kProgramName) + ": argument " +
                      std::to_string(ansiArguments.size() + 1) +
                      " holds characters that the ANSI code page " + std::to_string(::GetACP()) +
                      " lacks\n");
            return kStatusUsage;
        }
        ansiArguments.push_back(std::move(*ansi));
    }
    // A script's report is taken in a folder of its own: the current one may be read-only
    // or shared with another run.
    PrivateReportFolder reportFolder;
    SystemCommandRunner runner(reportFolder);
    SystemReportFiles reportFiles(reportFolder);
    SystemRenumberingLock renumberingLock;
    SystemRenumberingLog renumberingLog;
    return runUnattended(ansiArguments, QUORVEL_VERSION, OptionStyle::Windows, runner, reportFiles,
                         renumberingLock, userMayRenumber(),
                         {renumberingLog, appendRunLogLine, computerName, userName}, out, err);
}

} // namespace quorvel
