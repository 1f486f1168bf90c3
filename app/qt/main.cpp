#include "app/qt/display_check.h"
#include "app/qt/window_start.h"
#include "platform/qt/process_command_runner.h"
#include "platform/qt/qt_report_files.h"
#include "unattended/unattended_mode.h"

#include <QApplication>
#include <QCoreApplication>

#include <csignal>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

namespace {

quorvel::UnattendedServices qtUnattendedServices()
{
    return {
        [](quorvel::TimeLimit limit) {
            return std::make_unique<quorvel::ProcessCommandRunner>(limit);
        },
        [] { return std::make_unique<quorvel::QtReportFiles>(); },
    };
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc > 1) {
        // Taken before Qt sees them: the options are compared byte for byte as given.
        const std::vector<std::string> arguments(argv + 1, argv + argc);
        // QtCore only: the options work over SSH and in CI, where there is no display.
        const QCoreApplication app(argc, argv);
        // A reader that has gone is a write error like a full disk, which the options report.
        std::signal(SIGPIPE, SIG_IGN);
        return quorvel::runUnattended(arguments, QUORVEL_VERSION, qtUnattendedServices(), std::cout,
                                      std::cerr);
    }
    if (const auto reason = quorvel::missingDisplayReason()) {
        std::cerr << "quorvel: " << *reason << '\n';
        return EXIT_FAILURE;
    }
    QApplication app(argc, argv);
    return quorvel::startWindow();
}
