#include "console_output.h"

#include "platform/win32/ansi_text.h"
#include "platform/system_access.h"
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

// Hands `text` to `write` a chunk at a time until all of it is taken; false once a write fails
// or takes nothing.
template <typename Text, typename Write>
bool writeInChunks(const Text& text, std::size_t chunk, Write write)
{
    for (std::size_t done = 0; done < text.size();) {
        DWORD written = 0;
        if (!write(text.data() + done, static_cast<DWORD>(std::min(chunk, text.size() - done)),
                   written)
            || written == 0)
            return false;
        done += written;
    }
    return true;
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
    // No handle fails like a closed pipe: a script must not take a missing list for an empty one.
    const bool written =
        handle_ != nullptr && (console_ ? writeToConsole(text) : writeToFile(text));
    pending_.clear();
    return written ? 0 : -1;
}

bool HandleOutput::writeToConsole(const std::string& bytes)
{
    const std::wstring text = wideFromAnsi(bytes);
    return writeInChunks(text, kConsoleChunk,
                         [this](const wchar_t* from, DWORD count, DWORD& written) {
                             return ::WriteConsoleW(handle_, from, count, &written, nullptr) != 0;
                         });
}

bool HandleOutput::writeToFile(const std::string& bytes)
{
    return writeInChunks(bytes, kFileChunk, [this](const char* from, DWORD count, DWORD& written) {
        return ::WriteFile(handle_, from, count, &written, nullptr) != 0;
    });
}

int runOptions(const std::vector<std::string>& arguments, HANDLE output, HANDLE errors)
{
    // A script's report is taken in a folder of its own: the current one may be read-only
    // or shared with another run.
    PrivateReportFolder reportFolder;
    SystemCommandRunner runner(reportFolder);
    SystemReportFiles reportFiles(reportFolder);
    SystemRenumberingLock renumberingLock;
    HandleOutput outputBuffer(output);
    HandleOutput errorBuffer(errors);
    std::ostream out(&outputBuffer);
    std::ostream err(&errorBuffer);
    const int status = runUnattended(arguments, QUORVEL_VERSION, OptionStyle::Windows, runner, reportFiles,
                                     renumberingLock, userMayRenumber(), out, err);
    out.flush();
    err.flush();
    return status;
}

} // namespace quorvel
