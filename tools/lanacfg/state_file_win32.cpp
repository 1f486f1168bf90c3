#include "state_file.h"

#include "file_handle_win32.h"
#include "plain_file_win32.h"
#include "sample_table.h"
#include "state_format.h"
#include "test_hooks.h"
#include "tool_error.h"
#include "wide_text_win32.h"
#include "windows_error_win32.h"

#include <algorithm>
#include <shlobj.h>
#include <windows.h>

namespace lanacfg {

namespace {

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

} // namespace

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

// Windows 2000 and XP have no links to files, only junctions, which lead to folders.
std::string followStateLinks(const std::string& path)
{
    return path;
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

} // namespace lanacfg
