#include "app/icons/quorvel.xpm"
#include "platform/posix/descriptor_output.h"
#include "platform/posix/run_interruption.h"
#include "platform/system_access.h"
#include "unattended/unattended_mode.h"
#include "window/qt/form1.h"

#include <QApplication>
#include <QCoreApplication>
#include <QIcon>
#include <QPixmap>
#include <QRect>
#include <QScreen>
#include <QtGlobal>

#include <csignal>
#include <cstdlib>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr const char* kDesktopFileName = "org.quorvel.Quorvel";
constexpr const char* kNoDisplayText =
    "no display found (DISPLAY is not set); start it from a desktop session";

// Why no window can be shown here, or nothing when a display is at hand. Asked before
// QApplication starts, which would otherwise abort the program with a core dump.
std::optional<std::string> missingDisplayReason()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    // An explicit platform plugin (offscreen, vnc, ...) needs no display server.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return std::string(kNoDisplayText);
#endif
    // Other systems always come with their display.
    return std::nullopt;
}

// Loads the main window, shows it and runs the event loop until the program ends.
int startWindow()
{
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopFileName));

    // The report goes into the current folder, unless it cannot: then into a folder of the
    // window's own, as for scripts.
    quorvel::PrivateReportFolder privateFolder;
    const bool inCurrentFolder = quorvel::currentFolderTakesReport();
    quorvel::SystemCommandRunner runner = inCurrentFolder
                                              ? quorvel::SystemCommandRunner()
                                              : quorvel::SystemCommandRunner(privateFolder);
    quorvel::SystemReportFiles reportFiles =
        inCurrentFolder ? quorvel::SystemReportFiles() : quorvel::SystemReportFiles(privateFolder);
    quorvel::SystemRenumberingLock renumberingLock;
    quorvel::SystemRenumberingLog renumberingLog;
    quorvel::Form1 window(runner, reportFiles, renumberingLock, renumberingLog,
                          quorvel::userMayRenumber());
    // Built from the XPM text compiled in: no file to read and no image plugins to load,
    // which would otherwise cost a noticeable part of the start-up.
    window.setWindowIcon(QIcon(QPixmap(quorvel_icon)));
    if (!window.Form_Load())
        return EXIT_FAILURE;

    const QRect available = window.screen()->availableGeometry();
    window.move(available.center() - window.rect().center());
    window.show();
    return QApplication::exec();
}

} // namespace

int main(int argc, char* argv[])
{
    // Before anything opens a file that could take the number of a closed one.
    quorvel::DescriptorOutput out(STDOUT_FILENO);
    quorvel::DescriptorOutput err(STDERR_FILENO);
    if (argc > 1) {
        // Taken before Qt sees them: the options are compared byte for byte as given.
        const std::vector<std::string> arguments(argv + 1, argv + argc);
        // QtCore only: the options work over SSH and in CI, where there is no display.
        const QCoreApplication app(argc, argv);
        // A reader that has gone is a write error like a full disk, which the options report.
        std::signal(SIGPIPE, SIG_IGN);
        // Ctrl-C or a logout leaves no report command running and no report file behind.
        quorvel::endRunsCleanlyOnSignals();
        // A script's report is taken in a folder of its own: the current one may be read-only
        // or shared with another run.
        quorvel::PrivateReportFolder reportFolder;
        quorvel::SystemCommandRunner runner(reportFolder);
        quorvel::SystemReportFiles reportFiles(reportFolder);
        quorvel::SystemRenumberingLock renumberingLock;
        quorvel::SystemRenumberingLog renumberingLog;
        return quorvel::runUnattended(
            arguments, QUORVEL_VERSION, quorvel::OptionStyle::Posix, runner, reportFiles,
            renumberingLock, quorvel::userMayRenumber(),
            {renumberingLog, quorvel::appendRunLogLine, quorvel::computerName, quorvel::userName},
            out, err);
    }
    if (const auto reason = missingDisplayReason()) {
        err.write("quorvel: " + *reason + '\n');
        return EXIT_FAILURE;
    }
    QApplication app(argc, argv);
    return startWindow();
}
