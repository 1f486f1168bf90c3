#include "options_run.h"

#include "platform/system_access.h"
#include "platform/win32/ansi_text.h"
#include "platform/win32/handle_output.h"
#include "unattended/unattended_mode.h"

#include <shellapi.h>

namespace quorvel {

std::vector<std::wstring> commandLineArguments()
{
    int count = 0;
    wchar_t** const words = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (words == nullptr)
        return {};
    std::vector<std::wstring> arguments(words + (count > 0 ? 1 : 0), words + count);
    ::LocalFree(words);
    return arguments;
}

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
    return runUnattended(ansiArguments, QUORVEL_VERSION, OptionStyle::Windows, runner, reportFiles,
                         renumberingLock, out, err);
}

} // namespace quorvel
