#include "process_command_runner.h"

#include "inventory/operation_error.h"
#include "platform/child_process.h"
#include "windows_command_line.h"

#include <QProcess>
#include <QString>
#include <QStringList>

namespace quorvel {

namespace {

const QString kShell = QStringLiteral("/bin/sh");

} // namespace

void ProcessCommandRunner::run(const std::string& commandLine)
{
    QProcess process;
    if (const auto rest = interpreterCommand(commandLine)) {
        // Only the interpreter form gets a shell: its redirection is how the report is written.
        process.setProgram(kShell);
        process.setArguments({QStringLiteral("-c"), QString::fromStdString(*rest)});
    } else {
        // The LANA text in a renumbering command comes from a report: started directly,
        // it can never turn into shell syntax.
        const std::vector<std::string> words = splitWindowsCommandLine(commandLine);
        if (words.empty())
            throw OperationError(startFailure(commandLine, "the command line is empty"));
        QStringList arguments;
        arguments.reserve(static_cast<qsizetype>(words.size() - 1));
        for (auto word = words.begin() + 1; word != words.end(); ++word)
            arguments.append(QString::fromStdString(*word));
        process.setProgram(QString::fromStdString(words.front()));
        process.setArguments(arguments);
    }

    runToEnd(process, commandLine);
}

} // namespace quorvel
