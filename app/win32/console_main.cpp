#include "app/win32/handle_output.h"
#include "app/win32/run_options.h"
#include "app/win32/window_program_start.h"

#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

// quorvel.com, a console program: a command prompt picks it before quorvel.exe and waits for
// it, so the options' output lands in that prompt and %ERRORLEVEL% holds their status. With
// no options it starts the window program and returns at once.
int main(int argc, char* argv[])
{
    const HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
    const HANDLE errors = ::GetStdHandle(STD_ERROR_HANDLE);
    if (argc > 1) {
        const std::vector<std::string> arguments(argv + 1, argv + argc);
        return quorvel::runOptions(arguments, output == INVALID_HANDLE_VALUE ? nullptr : output,
                                   errors == INVALID_HANDLE_VALUE ? nullptr : errors);
    }
    quorvel::HandleOutput errorBuffer(errors == INVALID_HANDLE_VALUE ? nullptr : errors);
    std::ostream err(&errorBuffer);
    const int status = quorvel::startWindowProgram(err);
    err.flush();
    return status;
}
