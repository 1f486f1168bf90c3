#pragma once

#include <string>

class QProcess;

namespace quorvel {

// The part of running a command that is the same everywhere: the child gets no input, its
// output is dropped (ours is kept for the unattended output) and its complaints are shown;
// then it is started and waited for. Throws OperationError naming the command line when it
// cannot start.
void runToEnd(QProcess& process, const std::string& commandLine);

// The message for a command line that could not be started.
std::string startFailure(const std::string& commandLine, const std::string& reason);

} // namespace quorvel
