#include "echo_program.h"

#include "tests/support/scratch_folder.h"

#include <windows.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace quorvel::testing {

namespace fs = std::filesystem;

fs::path besideThisProgram(const std::string& name)
{
    wchar_t self[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    return fs::path(std::wstring(self, length)).parent_path() / name;
}

fs::path echoProgram()
{
    return besideThisProgram("command_line_echo.exe");
}

fs::path installEcho(const fs::path& folder, const std::string& name)
{
    fs::path copy = folder / name;
    fs::copy_file(echoProgram(), copy, fs::copy_options::overwrite_existing);
    return copy;
}

std::optional<EchoRecord> readEchoRecord(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    EchoRecord record;
    for (std::string line; std::getline(in, line);) {
        const std::size_t colon = line.find(": ");
        if (colon == std::string::npos)
            throw std::runtime_error("not an echo record: " + line);
        const std::string key = line.substr(0, colon);
        std::string value = line.substr(colon + 2);
        if (key == "command line")
            record.commandLine = value;
        else if (key == "ANSI command line")
            record.ansiCommandLine = value;
        else if (key == "program")
            record.program = fs::path(std::u8string(value.begin(), value.end()));
        else if (key == "console window")
            record.consoleWindow = value;
    }
    return record;
}

ChildEnvironment::~ChildEnvironment()
{
    for (const std::string& name : names_)
        unsetEnvironment(name);
}

void ChildEnvironment::set(const std::string& name, const std::string& value)
{
    setEnvironment(name, value);
    names_.push_back(name);
}

std::string fileBytes(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return "<missing>";
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool sameFile(const fs::path& a, const fs::path& b)
{
    std::error_code error;
    return fs::equivalent(a, b, error);
}

} // namespace quorvel::testing
