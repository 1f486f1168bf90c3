#include "app/win32/output_handles.h"
#include "app/win32/run_options.h"
#include "app/win32/window_start.h"

#include <string>
#include <vector>

// quorvel.exe, a GUI program: with no arguments the window, else the options for scripts.
int main(int argc, char* argv[])
{
    if (argc > 1) {
        // The C runtime's arguments are in the ANSI code page, as the report is: compared
        // byte for byte.
        const std::vector<std::string> arguments(argv + 1, argv + argc);
        const quorvel::OutputHandles output = quorvel::windowsProgramOutput();
        return quorvel::runOptions(arguments, output.output, output.errors);
    }
    return quorvel::startWindow();
}
