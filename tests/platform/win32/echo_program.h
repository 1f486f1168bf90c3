#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quorvel::testing {

// A program built beside this test program.
std::filesystem::path besideThisProgram(const std::string& name);

// The command_line_echo program; see its source for what it records and how it is told what
// to do.
std::filesystem::path echoProgram();

// A copy of it in `folder` under `name`, as a fake lanacfg (or cmd) would stand there.
std::filesystem::path installEcho(const std::filesystem::path& folder,
                                  const std::string& name = "lanacfg.exe");

// One run of the echo program, as it recorded itself.
struct EchoRecord {
    std::string commandLine;     // as the wide functions see it, in UTF-8
    std::string ansiCommandLine; // as the ANSI functions see it, in its bytes
    std::filesystem::path program;
    std::string consoleWindow; // "visible", "hidden" or "none"
};

// The record in `file`, or nothing when there is no such file.
std::optional<EchoRecord> readEchoRecord(const std::filesystem::path& file);

// Variables of this process's environment, which the programs it starts inherit (such as
// QUORVEL_ECHO_EXIT for the echo program); each one set is cleared at the end.
class ChildEnvironment {
public:
    ChildEnvironment() = default;
    ~ChildEnvironment();
    ChildEnvironment(const ChildEnvironment&) = delete;
    ChildEnvironment& operator=(const ChildEnvironment&) = delete;

    void set(const std::string& name, const std::string& value);

private:
    std::vector<std::string> names_;
};

// The file's bytes, or "<missing>".
std::string fileBytes(const std::filesystem::path& file);

// Whether both paths name one file.
bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b);

} // namespace quorvel::testing
