#include "system.h"
#include "tool_error.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <shlobj.h>
#include <stdexcept>
#include <string>

namespace lanacfg {

namespace {

// Owns an open file handle; INVALID_HANDLE_VALUE stands for none.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle()
    {
        if (isOpen())
            ::CloseHandle(handle_);
    }
    FileHandle(FileHandle&& other) noexcept : handle_(other.handle_)
    {
        other.handle_ = INVALID_HANDLE_VALUE;
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    FileHandle& operator=(FileHandle&&) = delete;

    HANDLE get() const { return handle_; }
    bool isOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    // Closes now, for callers that must know whether the last writes made it.
    bool close()
    {
        const HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return ::CloseHandle(handle) != 0;
    }

private:
    HANDLE handle_;
};

// The one place where text changes encoding on Windows. Inside the tool all text is UTF-8
// (as in the state file); the system's paths are UTF-16, and the command line and what
// other programs read from our output are in the system's ANSI code page.

// Every text here is an argument, a path or at most a state file's worth of bytes.
int checkedLength(std::size_t length)
{
    if (length > static_cast<std::size_t>(INT_MAX))
        throw std::length_error("text too long to convert");
    return static_cast<int>(length);
}

// Flags stay 0: Windows 2000 takes no others with CP_UTF8.
std::wstring toWide(UINT codePage, std::string_view text)
{
    if (text.empty())
        return {};
    const int length = checkedLength(text.size());
    const int wideLength = ::MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    ::MultiByteToWideChar(codePage, 0, text.data(), length, wide.data(), wideLength);
    return wide;
}

std::string fromWide(UINT codePage, std::wstring_view text)
{
    if (text.empty())
        return {};
    const int length = checkedLength(text.size());
    const int narrowLength =
        ::WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(narrowLength), '\0');
    ::WideCharToMultiByte(codePage, 0, text.data(), length, narrow.data(), narrowLength, nullptr,
                          nullptr);
    return narrow;
}

std::wstring wideFromUtf8(std::string_view text)
{
    return toWide(CP_UTF8, text);
}

std::string utf8FromWide(std::wstring_view text)
{
    return fromWide(CP_UTF8, text);
}

std::string utf8FromAnsi(std::string_view text)
{
    return utf8FromWide(toWide(CP_ACP, text));
}

// Characters the code page lacks become '?'.
std::string ansiFromUtf8(std::string_view text)
{
    return fromWide(CP_ACP, wideFromUtf8(text));
}

std::string systemMessage(DWORD error)
{
    wchar_t buffer[512];
    const DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                         0, buffer, sizeof buffer / sizeof buffer[0], nullptr);
    std::wstring_view message(buffer, length);
    // The system's texts end in a full stop and a line break; ours go on after them.
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                                message.back() == L' ' || message.back() == L'.'))
        message.remove_suffix(1);
    if (message.empty())
        return "system error " + std::to_string(error);
    return utf8FromWide(message);
}

// A StateError "ACTION PATH: what the system said" for GetLastError() of the call that
// just failed; it is read before anything else can change it.
[[noreturn]] void throwWindowsFailure(std::string_view action, const std::string& path)
{
    const DWORD error = ::GetLastError();
    std::string message(action);
    message += ' ';
    message += path;
    message += ": ";
    message += systemMessage(error);
    throw StateError(message);
}

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

// Opens one of the tool's own files beside the state file (its lock or temporary file) with
// CreateFileW's `access` and `disposition`. A link (reparse point) put there is not followed
// and a device name is not used: the result is closed (GetLastError set) when the open
// fails, and StateError "ACTION PATH: ..." is thrown when what opened is not a plain file.
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

// Removes a plain file a killed run may have left at `path`; anything else there is
// refused with StateError "ACTION PATH: ...", since it is not ours to delete.
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

constexpr std::string_view kLocationHelp =
    "  %LANACFG_STATE% if set, else lanacfg\\bindings.txt in the user's application-data\n"
    "  folder (%APPDATA%).";

// Lines end in CR LF, as every Windows editor expects.
constexpr std::string_view kLineEnd = "\r\n";

std::wstring environmentVariable(const wchar_t* name)
{
    std::wstring value(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
        if (length < value.size()) {
            value.resize(length);
            return value;
        }
        // Too small: the length returned counts the terminating zero.
        value.resize(length);
    }
}

void writeWhole(FileHandle& file, const std::string& filePath, std::string_view text)
{
    while (!text.empty()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(text.size(), 1U << 20));
        if (::WriteFile(file.get(), text.data(), chunk, &written, nullptr) == 0)
            throwWindowsFailure("cannot write", filePath);
        text.remove_prefix(written);
    }
    if (::FlushFileBuffers(file.get()) == 0 || !file.close())
        throwWindowsFailure("cannot write", filePath);
}

constexpr std::string_view kOpenLockAction = "cannot open lock file";

// The folder and any missing ones above it, made with the system's calls: std::filesystem
// would bring in its locale and conversion code, most of the program's size.
void createFolder(const std::wstring& folder)
{
    const auto made = [&folder] {
        if (::CreateDirectoryW(folder.c_str(), nullptr) != 0)
            return true;
        if (::GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
        const DWORD attributes = ::GetFileAttributesW(folder.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            return true;
        ::SetLastError(ERROR_ALREADY_EXISTS);
        return false;
    };
    if (made())
        return;
    const auto parentEnd = folder.find_last_of(L"\\/");
    if (::GetLastError() == ERROR_PATH_NOT_FOUND && parentEnd != std::wstring::npos &&
        parentEnd > 0) {
        createFolder(folder.substr(0, parentEnd));
        if (made())
            return;
    }
    throwWindowsFailure("cannot create folder", utf8FromWide(folder));
}

void createFolderOf(const std::string& path)
{
    const std::wstring wide = wideFromUtf8(path);
    const auto end = wide.find_last_of(L"\\/");
    // A path without a folder, or one in a drive's root ("C:\bindings.txt").
    if (end == std::wstring::npos || end == 0 || wide[end - 1] == L':')
        return;
    createFolder(wide.substr(0, end));
}

FileHandle openLockFile(const std::string& lockPath, StateLock::Mode mode)
{
    if (mode == StateLock::Mode::Read) {
        FileHandle file = openPlainFile(lockPath, GENERIC_READ, OPEN_EXISTING, kOpenLockAction);
        if (file.isOpen() || ::GetLastError() != ERROR_FILE_NOT_FOUND)
            return file;
    }
    return openPlainFile(lockPath, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS, kOpenLockAction);
}

// The state file is only ever replaced whole, so a reader that cannot lock (no folder yet,
// a read-only one) still sees one complete table.
bool readerMayGoUnlocked(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
           error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT;
}

} // namespace

std::vector<std::string> commandArguments(int argc, char* argv[])
{
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(utf8FromAnsi(argv[i]));
    return arguments;
}

// Readers of a Windows tool's report, Quorvel among them, take it in the ANSI code page.
// The text-mode stdout and stderr of the C runtime end each line in CR LF.
std::string consoleText(std::string_view text)
{
    return ansiFromUtf8(text);
}

std::string stateFilePath()
{
    if (const std::wstring explicitPath = environmentVariable(L"LANACFG_STATE");
        !explicitPath.empty())
        return utf8FromWide(explicitPath);
    wchar_t appData[MAX_PATH];
    if (::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData) == S_OK)
        return utf8FromWide(appData) + "\\lanacfg\\bindings.txt";
    throw StateError("no state file: set LANACFG_STATE, or give the user an application-data "
                     "folder");
}

std::string_view stateFileLocationHelp()
{
    return kLocationHelp;
}

// Windows 2000 and XP have no links to files, only junctions, which lead to folders.
std::string followStateLinks(const std::string& path)
{
    return path;
}

BindingTable loadState(const std::string& path)
{
    // Sharing everything: a reader never stands in the way of another run.
    const FileHandle file(::CreateFileW(wideFromUtf8(path).c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.isOpen()) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return sampleTable();
        throwWindowsFailure("cannot read", path);
    }
    if (::GetFileType(file.get()) != FILE_TYPE_DISK)
        throw StateError("cannot read " + path + ": not a regular file");
    const auto tooLarge = [&path] {
        return StateError("cannot read " + path + ": " + std::string(kTooLargeForState));
    };

    std::string text;
    char buffer[16 * 1024];
    for (;;) {
        DWORD got = 0;
        if (::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) == 0)
            throwWindowsFailure("cannot read", path);
        if (got == 0)
            break;
        text.append(buffer, got);
        if (text.size() > kMaxStateBytes)
            throw tooLarge();
    }
    return parseStateText(text, path);
}

void saveState(const std::string& path, const BindingTable& table)
{
    const std::string tempPath = path + ".tmp";
    removeLeftoverPlainFile(tempPath, "cannot create");
    // CREATE_NEW: whatever appears there meanwhile is refused, never written through.
    FileHandle file = openPlainFile(tempPath, GENERIC_WRITE, CREATE_NEW, "cannot create");
    if (!file.isOpen())
        throwWindowsFailure("cannot create", tempPath);
    const std::wstring wideTemp = wideFromUtf8(tempPath);
    try {
        writeWhole(file, tempPath, formatStateText(table, kLineEnd));
        if (const int pause = pauseBeforeRenameMilliseconds(); pause > 0)
            ::Sleep(static_cast<DWORD>(pause));
        if (::MoveFileExW(wideTemp.c_str(), wideFromUtf8(path).c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0)
            throwWindowsFailure("cannot replace", path);
    } catch (const StateError&) {
        if (file.isOpen())
            file.close();
        ::DeleteFileW(wideTemp.c_str());
        throw;
    }
}

// A lock on a file of its own rather than on the state file: under wine a byte-range lock
// does not keep another process from reading, and the state file is replaced whole.
struct StateLock::Held {
    explicit Held(FileHandle lockFile) : file(std::move(lockFile)) {}
    ~Held()
    {
        OVERLAPPED region{};
        ::UnlockFileEx(file.get(), 0, kLockedBytes, 0, &region);
    }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;

    // Every run locks the same first byte.
    static constexpr DWORD kLockedBytes = 1;
    FileHandle file;
};

StateLock::StateLock(const std::string& statePath, Mode mode)
{
    if (const int pause = pauseBeforeChangeMilliseconds(); mode == Mode::Change && pause > 0)
        ::Sleep(static_cast<DWORD>(pause));
    if (mode == Mode::Change)
        createFolderOf(statePath);

    const std::string lockPath = statePath + ".lock";
    FileHandle file = openLockFile(lockPath, mode);
    if (!file.isOpen()) {
        if (mode == Mode::Read && readerMayGoUnlocked(::GetLastError()))
            return;
        throwWindowsFailure(kOpenLockAction, lockPath);
    }

    // Without LOCKFILE_FAIL_IMMEDIATELY the call waits until the lock is granted.
    const DWORD flags = mode == Mode::Read ? 0 : LOCKFILE_EXCLUSIVE_LOCK;
    OVERLAPPED region{};
    if (::LockFileEx(file.get(), flags, 0, Held::kLockedBytes, 0, &region) == 0)
        throwWindowsFailure("cannot lock", lockPath);
    held_ = std::make_unique<Held>(std::move(file));
}

StateLock::~StateLock() = default;

} // namespace lanacfg
