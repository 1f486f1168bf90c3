#include "child_process.h"

#include "inventory/operation_error.h"

#include <QProcess>

namespace quorvel {

void runToEnd(QProcess& process, const std::string& commandLine)
{
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);

    process.start();
    if (!process.waitForStarted(-1) || process.error() == QProcess::FailedToStart)
        throw OperationError(startFailure(commandLine, process.errorString().toStdString()));
    process.waitForFinished(-1);
}

std::string startFailure(const std::string& commandLine, const std::string& reason)
{
    return "Could not run \"" + commandLine + "\": " + reason;
}

} // namespace quorvel
