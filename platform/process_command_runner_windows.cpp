#include "process_command_runner.h"

#include "inventory/operation_error.h"
#include "platform/child_process.h"
#include "windows_command_line.h"

#include <QProcess>
#include <QString>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace quorvel {

void ProcessCommandRunner::run(const std::string& commandLine)
{
    const std::vector<std::string> words = splitWindowsCommandLine(commandLine);
    if (words.empty())
        throw OperationError(startFailure(commandLine, "the command line is empty"));

    QProcess process;
    // QProcess wants a program; the system reads it back out of the command line itself.
    process.setProgram(QString::fromStdString(words.front()));
    const QString nativeCommandLine = QString::fromStdString(commandLine);
    // Hand the line over as written, so cmd and lanacfg see exactly what the user's own
    // command prompt would give them; CREATE_NO_WINDOW keeps a console from flashing up.
    process.setCreateProcessArgumentsModifier(
        [nativeCommandLine](QProcess::CreateProcessArguments* args) {
            args->arguments = nativeCommandLine;
            args->flags |= CREATE_NO_WINDOW;
        });

    runToEnd(process, commandLine);
}

} // namespace quorvel
