#include "handle_output.h"

#include "platform/win32/ansi_text.h"

#include <algorithm>
#include <string>

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
                   written) ||
            written == 0)
            return false;
        done += written;
    }
    return true;
}

std::string withCrLf(std::string_view text)
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

HandleOutput::HandleOutput(HANDLE handle) : handle_(handle), console_(isConsole(handle)) {}

bool HandleOutput::write(std::string_view text)
{
    // No handle fails like a closed pipe: a script must not take a missing list for an empty one.
    if (handle_ == nullptr)
        return false;
    const std::string bytes = withCrLf(text);
    if (!console_) {
        return writeInChunks(bytes, kFileChunk,
                             [this](const char* from, DWORD count, DWORD& written) {
                                 return ::WriteFile(handle_, from, count, &written, nullptr) != 0;
                             });
    }
    // Whole, as a multi-byte character cut in two would not convert.
    const std::wstring wide = wideFromAnsi(bytes);
    return writeInChunks(wide, kConsoleChunk,
                         [this](const wchar_t* from, DWORD count, DWORD& written) {
                             return ::WriteConsoleW(handle_, from, count, &written, nullptr) != 0;
                         });
}

} // namespace quorvel
