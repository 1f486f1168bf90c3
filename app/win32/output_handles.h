#pragma once

#include <windows.h>

namespace quorvel {

struct OutputHandles {
    HANDLE output; // null: nowhere to write
    HANDLE errors;
};

// Where a GUI program's options write: the standard handles it inherited (a file, a pipe),
// and for each it lacks, the console of the program that started it, attached to on Windows
// XP and later. Started from elsewhere, or on Windows 2000, there may be nowhere.
OutputHandles windowsProgramOutput();

} // namespace quorvel
