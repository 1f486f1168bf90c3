#include "plain_file_win32.h"

#include "tool_error.h"
#include "wide_text_win32.h"
#include "windows_error_win32.h"

namespace lanacfg {

namespace {

std::string_view notPlainReason(DWORD attributes)
{
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
        return "it is a link, not a regular file";
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return "it is a folder, not a regular file";
    return "it is a device, not a regular file";
}

constexpr DWORD kNotPlain =
    FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE;

[[noreturn]] void throwNotPlain(std::string_view action, const std::string& path, DWORD attributes)
{
    std::string message(action);
    message += ' ';
    message += path;
    message += ": ";
    message += notPlainReason(attributes);
    throw StateError(message);
}

} // namespace

FileHandle openPlainFile(const std::string& path, DWORD access, DWORD disposition,
                         std::string_view action)
{
    FileHandle file(::CreateFileW(wideFromUtf8(path).c_str(), access,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file.isOpen()) {
        // A folder cannot be opened as a file: say what is there rather than "access denied".
        if (::GetLastError() == ERROR_ACCESS_DENIED) {
            const DWORD attributes = ::GetFileAttributesW(wideFromUtf8(path).c_str());
            if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & kNotPlain) != 0)
                throwNotPlain(action, path, attributes);
            ::SetLastError(ERROR_ACCESS_DENIED);
        }
        return file;
    }
    // "NUL.lock" and the like open a device, whatever the folder holds.
    if (::GetFileType(file.get()) != FILE_TYPE_DISK)
        throwNotPlain(action, path, FILE_ATTRIBUTE_DEVICE);
    BY_HANDLE_FILE_INFORMATION information{};
    if (::GetFileInformationByHandle(file.get(), &information) == 0)
        throwWindowsFailure(action, path);
    if ((information.dwFileAttributes & kNotPlain) != 0)
        throwNotPlain(action, path, information.dwFileAttributes);
    return file;
}

void removeLeftoverPlainFile(const std::string& path, std::string_view action)
{
    const std::wstring widePath = wideFromUtf8(path);
    const DWORD attributes = ::GetFileAttributesW(widePath.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return;
        throwWindowsFailure(action, path);
    }
    if ((attributes & kNotPlain) != 0)
        throwNotPlain(action, path, attributes);
    if (::DeleteFileW(widePath.c_str()) == 0 && ::GetLastError() != ERROR_FILE_NOT_FOUND)
        throwWindowsFailure(action, path);
}

} // namespace lanacfg
