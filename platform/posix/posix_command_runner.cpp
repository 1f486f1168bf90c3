// The command runner on POSIX systems. There is no cmd here: "cmd /c REST" runs REST through
// /bin/sh -c, in no-clobber mode so that its redirection never opens an existing file. Every
// other command line is split by the Windows command-line rules and started directly, never
// through a shell, its program found on PATH as the shell finds it and started with its
// arguments as the bytes they are.
#include "platform/command_line_words.h"
#include "platform/program_search.h"
#include "platform/system_access.h"
#include "run_interruption.h"

#include <QProcess>
#include <QString>
#include <QStringList>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

extern char** environ; // NOLINT(readability-redundant-declaration): POSIX has programs declare it

namespace quorvel {

namespace {

const QString kShell = QStringLiteral("/bin/sh");

std::string startFailure(const std::string& commandLine, const std::string& reason)
{
    return "Could not run \"" + commandLine + "\": " + reason;
}

bool isExecutableFile(const std::string& path)
{
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

QString localText(const std::string& bytes)
{
    return QString::fromLocal8Bit(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// A direct command's program path and arguments as the bytes they are. QProcess passes its
// text on re-encoded for the locale, which turns a folder or argument in Latin-1 into other
// bytes; the child starts these itself instead, just before QProcess would.
class RawCommand {
public:
    explicit RawCommand(std::vector<std::string> words) : words_(std::move(words))
    {
        for (std::string& word : words_) {
            argv_.push_back(word.data());
            sameAsText_ = sameAsText_ && localText(word).toLocal8Bit().toStdString() == word;
        }
        argv_.push_back(nullptr);
    }

    // In the child, between fork and exec: nothing here may allocate. When the bytes cannot
    // start, QProcess's own start of the same program reports why; when its text is not these
    // bytes, it would start something else, and the child ends as the shell's "not found".
    void exec() const
    {
        ::execv(argv_.front(), argv_.data());
        if (!sameAsText_)
            ::_exit(127);
    }

private:
    std::vector<std::string> words_;
    std::vector<char*> argv_;
    bool sameAsText_ = true;
};

std::shared_ptr<const RawCommand> setDirectCommand(QProcess& process,
                                                   const std::string& commandLine)
{
    // The LANA text in a renumbering command comes from a report: started directly, it can
    // never turn into shell syntax.
    std::vector<std::string> words = splitWindowsCommandLine(commandLine);
    if (words.empty())
        throw OperationError(startFailure(commandLine, "the command line is empty"));
    // Found as the report command's shell finds it, so that both commands run one lanacfg
    // (QProcess's own search skips an empty PATH entry, which the shell takes as ".").
    const auto program = findProgramLikeSh(words.front(), std::getenv("PATH"), isExecutableFile);
    if (!program)
        throw OperationError(startFailure(commandLine, words.front() + ": not found on PATH"));
    words.front() = *program;

    QStringList arguments;
    arguments.reserve(static_cast<qsizetype>(words.size() - 1));
    for (auto word = words.begin() + 1; word != words.end(); ++word)
        arguments.append(localText(*word));
    process.setProgram(localText(*program));
    process.setArguments(arguments);
    return std::make_shared<const RawCommand>(std::move(words));
}

// Once the command has ended, or has been stopped: no signal handler may end its group any
// more, and what it wrote to its standard error goes on to the user's.
class CommandEnd {
public:
    explicit CommandEnd(QProcess& process) : process_(process) {}
    ~CommandEnd()
    {
        noteReportCommandGroup(0);
        const QByteArray complaints = process_.readAllStandardError();
        std::fwrite(complaints.constData(), 1, static_cast<std::size_t>(complaints.size()), stderr);
        std::fflush(stderr);
    }
    CommandEnd(const CommandEnd&) = delete;
    CommandEnd& operator=(const CommandEnd&) = delete;

private:
    QProcess& process_;
};

std::string currentFolder()
{
    std::string folder(256, '\0');
    while (::getcwd(folder.data(), folder.size()) == nullptr) {
        if (errno != ERANGE)
            throw OperationError(std::string("the current folder is unknown: ") +
                                 std::strerror(errno));
        folder.resize(folder.size() * 2);
    }
    folder.resize(std::strlen(folder.c_str()));
    return folder;
}

// This process's environment with PATH as seen from another folder: every entry relative to
// the current folder (an empty one is ".") made absolute, so that a shell started elsewhere
// finds the program that findProgramLikeSh finds here. Kept as the bytes they are. Throws
// OperationError, naming commandLine, when such an entry cannot be written: the command would
// reach another program than the renumbering's search.
class EnvironmentForElsewhere {
public:
    explicit EnvironmentForElsewhere(const std::string& commandLine)
    {
        for (char** variable = environ; *variable != nullptr; ++variable) {
            std::string text = *variable;
            if (text.rfind("PATH=", 0) == 0)
                text = "PATH=" + absoluteEntries(text.substr(5), commandLine);
            texts_.push_back(std::move(text));
        }
        for (std::string& text : texts_)
            pointers_.push_back(text.data());
        pointers_.push_back(nullptr);
    }

    char** variables() { return pointers_.data(); }

private:
    std::string absoluteEntries(const std::string& path, const std::string& commandLine)
    {
        std::string absolute;
        std::size_t start = 0;
        for (;;) {
            const std::size_t end = path.find(':', start);
            const std::string entry = path.substr(start, end - start);
            if (start != 0)
                absolute += ':';
            if (entry.rfind('/', 0) == 0) {
                absolute += entry;
            } else {
                if (here_.empty())
                    here_ = currentFolder();
                // A ":" would split the entry in two, neither of them this folder.
                if (here_.find(':') != std::string::npos)
                    throw OperationError(startFailure(
                        commandLine, "PATH has an empty or relative entry, which stands for a "
                                     "place in the current folder \"" +
                                         here_ +
                                         "\", and that folder's name holds \":\", which no "
                                         "PATH entry can; give PATH absolute folders only, or "
                                         "start from another folder"));
                absolute += entry.empty() ? here_ : here_ + "/" + entry;
            }
            if (end == std::string::npos)
                return absolute;
            start = end + 1;
        }
    }

    std::string here_;
    std::vector<std::string> texts_;
    std::vector<char*> pointers_;
};

// Commands left running at their time limit. Destroying a QProcess kills its command, so
// their objects stay alive, and reachable, until the program itself has ended; the list is
// never destroyed for the same reason.
void keepRunning(std::unique_ptr<QProcess> process)
{
    static auto& leftRunning = *new std::vector<std::unique_ptr<QProcess>>();
    leftRunning.push_back(std::move(process));
}

// Waits for a started command's end, or for its time limit; a command that may be stopped
// there is ended with its whole group, one that may not is left running, its process taken
// from `process` and kept.
CommandOutcome waitForEnd(std::unique_ptr<QProcess>& process, pid_t group,
                          std::optional<TimeLimit> limit)
{
    const int waitMs =
        limit ? static_cast<int>(std::chrono::milliseconds(limit->after).count()) : -1;
    if (!process->waitForFinished(waitMs) && process->state() != QProcess::NotRunning) {
        const auto seconds = static_cast<std::int64_t>(limit->after.count());
        if (limit->action == OnTimeout::Stop) {
            ::kill(-group, SIGKILL);
            process->waitForFinished(-1);
            return {CommandOutcome::End::TimedOutStopped, seconds};
        }
        keepRunning(std::move(process));
        return {CommandOutcome::End::TimedOutLeftRunning, seconds};
    }
    if (process->exitStatus() == QProcess::CrashExit)
        return {CommandOutcome::End::Signalled, process->exitCode()};
    return {CommandOutcome::End::Exited, process->exitCode()};
}

// A started command and its process group, its own when it may be stopped.
struct StartedCommand {
    std::unique_ptr<QProcess> process;
    pid_t group = 0;
};

// What runs: "cmd /c REST" as REST through the shell, in the run's own folder if there is one
// (its environment and folder set here), any other command line directly, whose raw words it
// returns.
std::shared_ptr<const RawCommand> setCommand(QProcess& process, const std::string& commandLine,
                                             PrivateReportFolder* reportFolder,
                                             std::optional<EnvironmentForElsewhere>& environment,
                                             const char*& workingFolder)
{
    const auto rest = interpreterCommand(commandLine);
    if (!rest) {
        // The tool's complaints reach the user; its report goes through the file.
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        return setDirectCommand(process, commandLine);
    }
    if (reportFolder != nullptr) {
        workingFolder = reportFolder->path().c_str();
        environment.emplace(commandLine);
    }
    // Only the interpreter form gets a shell: its redirection is how the report is written.
    // Its complaints come through a pipe: in a process group of its own it is a background
    // job, which a terminal set to "stty tostop" would stop at its first write there.
    process.setProgram(kShell);
    process.setArguments({QStringLiteral("-C"), QStringLiteral("-c"), localText(*rest)});
    return nullptr;
}

StartedCommand start(const std::string& commandLine, bool mayStop,
                     PrivateReportFolder* reportFolder)
{
    // The system reads each argument only up to a NUL: what ran would not be what was asked.
    if (commandLine.find('\0') != std::string::npos)
        throw OperationError(
            startFailure(commandLineForMessages(commandLine),
                         "it holds a NUL character, which no command line can carry"));
    StartedCommand command{std::make_unique<QProcess>()};
    QProcess& process = *command.process;
    // Both as bytes: QProcess would take them as text.
    std::optional<EnvironmentForElsewhere> environment;
    const char* workingFolder = nullptr;
    const std::shared_ptr<const RawCommand> rawCommand =
        setCommand(process, commandLine, reportFolder, environment, workingFolder);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    std::optional<ReportCommandStart> groupStart;
    if (mayStop)
        groupStart.emplace();
    process.setChildProcessModifier(
        [mayStop, mask = groupStart ? std::optional(groupStart->maskBefore()) : std::nullopt,
         rawCommand, workingFolder] {
            if (workingFolder != nullptr && ::chdir(workingFolder) != 0)
                ::_exit(127);
            // The program may ignore SIGPIPE for its own output; the tool must not inherit that.
            ::signal(SIGPIPE, SIG_DFL);
            // A group of its own, so that stopping it stops whatever it started too.
            if (mayStop)
                ::setpgid(0, 0);
            if (mask)
                ::pthread_sigmask(SIG_SETMASK, &*mask, nullptr);
            if (rawCommand)
                rawCommand->exec();
        });

    // QProcess, given no environment of its own, starts the command with this process's; the
    // child may share this process's memory until it starts the command, so the swap is made
    // here, for the start alone.
    char** const ownEnvironment = environ;
    if (environment)
        environ = environment->variables();
    process.start();
    environ = ownEnvironment;
    if (!process.waitForStarted(-1) || process.error() == QProcess::FailedToStart)
        throw OperationError(startFailure(commandLine, process.errorString().toStdString()));
    command.group = static_cast<pid_t>(process.processId());
    if (mayStop)
        noteReportCommandGroup(command.group);
    return command;
}

} // namespace

CommandOutcome SystemCommandRunner::run(const std::string& commandLine,
                                        std::optional<TimeLimit> limit)
{
    const bool mayStop = limit && limit->action == OnTimeout::Stop;
    StartedCommand command = start(commandLine, mayStop, reportFolder_);
    const CommandEnd end{*command.process};
    return waitForEnd(command.process, command.group, limit);
}

bool currentFolderTakesReport()
{
    // With this process's rights, as the report is written: a read-only mount says EROFS, a
    // folder without write permission EACCES.
    return ::faccessat(AT_FDCWD, ".", W_OK | X_OK, AT_EACCESS) == 0;
}

ProgramNotFound SystemCommandRunner::interpreterNotFound() const
{
    return {127, "the folders listed in PATH"};
}

bool userMayRenumber()
{
    return true;
}

} // namespace quorvel
