// Holds a file open with delete sharing, as a virus scanner or an editor may, so that deleting
// it leaves a delete-pending name until this program ends. Usage: file_holder FILE READY-MARKER;
// it makes READY-MARKER once the file is open, then waits to be ended.
#include <windows.h>

#include <shellapi.h>

int main()
{
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (argv == nullptr || argc != 3)
        return 2;
    const HANDLE file =
        ::CreateFileW(argv[1], GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    const HANDLE ready = ::CreateFileW(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                       FILE_ATTRIBUTE_NORMAL, nullptr);
    if (ready == INVALID_HANDLE_VALUE)
        return 1;
    ::CloseHandle(ready);
    ::Sleep(INFINITE);
    return 0;
}
