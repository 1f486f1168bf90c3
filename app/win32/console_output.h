#pragma once

#include <windows.h>

#include <streambuf>
#include <string>
#include <vector>

namespace quorvel {

// An output stream's buffer over a Windows handle, written on each flush. Lines end in CR LF,
// as the C runtime's text mode ends them. A console gets the text as UTF-16 converted from
// the ANSI code page, so that it shows as the lists show it; a file or pipe gets the bytes.
// A null handle takes the text and fails each flush, as a closed pipe does.
class HandleOutput : public std::streambuf {
public:
    explicit HandleOutput(HANDLE handle);

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int sync() override;

private:
    bool writeToConsole(const std::string& bytes);
    bool writeToFile(const std::string& bytes);

    HANDLE handle_;
    bool console_;
    std::string pending_;
};

// The options for scripts (--list, --set, --help, --version, ...) with the Win32 runner and
// report files, the list written to `output` and messages to `errors` (either may be null:
// nowhere to write, which fails the list). Returns the exit status.
int runOptions(const std::vector<std::string>& arguments, HANDLE output, HANDLE errors);

} // namespace quorvel
