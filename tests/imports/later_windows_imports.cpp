// A program that imports what Windows 2000 lacks, directly, as a careless call would: the
// import check must refuse it. Never run.
#include <windows.h>

// Hidden by the headers at _WIN32_WINNT=0x0500, declared here as code written for Vista would.
extern "C" __declspec(dllimport) ULONGLONG WINAPI GetTickCount64();

int main()
{
    // AttachConsole (XP) stays declared at _WIN32_WINNT=0x0500: only the import table tells.
    const BOOL attached = AttachConsole(ATTACH_PARENT_PROCESS);
    return static_cast<int>(GetTickCount64() % 2) + attached;
}
