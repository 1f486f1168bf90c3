#include "window/display_check.h"
#include "window/unattended_mode.h"
#include "window/window_start.h"

#include <QApplication>

#include <cstdlib>
#include <iostream>

int main(int argc, char* argv[])
{
    if (const auto status = quorvel::runUnattended(argc, argv))
        return *status;
    if (const auto reason = quorvel::missingDisplayReason()) {
        std::cerr << "quorvel: " << *reason << '\n';
        return EXIT_FAILURE;
    }
    QApplication app(argc, argv);
    return quorvel::startWindow();
}
