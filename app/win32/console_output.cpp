#include "console_output.h"

#include "platform/win32/ansi_text.h"
#include "platform/win32/win32_command_runner.h"
#include "platform/win32/win32_report_files.h"
#include "unattended/unattended_mode.h"

#include <algorithm>
#include <ostream>

namespace quorvel {

namespace {

// Older consoles refuse writes much larger than this.
constexpr std::size_t kConsoleChunk = 8192;
constexpr std::size_t kFileChunk = std::size_t{64} * 1024;

bool isConsole(HANDLE handle)
{
    DWORD mode = 0;
    return handle != nullptr && ::GetConsoleMode(handle, &mode) != 0;
}

std::string withCrLf(const std::string& text)
{
    std::string lines;
    lines.reserve(text.size() + text.size() / 16);
    for (const char c : text) {
        if (c == '\n')
            lines += '\r';
        lines += c;
    }
    return lines;
}

} // namespace

HandleOutput::HandleOutput(HANDLE handle) : handle_(handle), console_(isConsole(handle))
{
}

HandleOutput::int_type HandleOutput::overflow(int_type c)
{
    if (!traits_type::eq_int_type(c, traits_type::eof()))
        pending_ += traits_type::to_char_type(c);
    return traits_type::not_eof(c);
}

std::streamsize HandleOutput::xsputn(const char* text, std::streamsize count)
{
    pending_.append(text, static_cast<std::size_t>(count));
    return count;
}

int HandleOutput::sync()
{
    // Whole, as a multi-byte character cut in two would not convert.
    const std::string text = withCrLf(pending_);
    const bool written =
        handle_ == nullptr || (console_ ? writeToConsole(text) : writeToFile(text));
    pending_.clear();
    return written ? 0 : -1;
}

bool HandleOutput::writeToConsole(const std::string& bytes)
{
    const std::wstring text = wideFromAnsi(bytes);
    for (std::size_t done = 0; done < text.size();) {
        const auto chunk = static_cast<DWORD>(std::min(kConsoleChunk, text.size() - done));
        DWORD written = 0;
        if (::WriteConsoleW(handle_, text.data() + done, chunk, &written, nullptr) == 0
            || written == 0)
            return false;
        done += written;
    }
    return true;
}

bool HandleOutput::writeToFile(const std::string& bytes)
{
    for (std::size_t done = 0; done < bytes.size();) {
        const auto chunk = static_cast<DWORD>(std::min(kFileChunk, bytes.size() - done));
        DWORD written = 0;
        if (::WriteFile(handle_, bytes.data() + done, chunk, &written, nullptr) == 0
            || written == 0)
            return false;
        done += written;
    }
    return true;
}

int runOptions(const std::vector<std::string>& arguments, HANDLE output, HANDLE errors)
{
    Win32CommandRunner runner;
    Win32ReportFiles reportFiles;
    HandleOutput outputBuffer(output);
    HandleOutput errorBuffer(errors);
    std::ostream out(&outputBuffer);
    std::ostream err(&errorBuffer);
    const int status = runUnattended(arguments, QUORVEL_VERSION, runner, reportFiles, out, err);
    out.flush();
    err.flush();
    return status;
}

} // namespace quorvel
