#include "inventory/binding_inventory.h"
#include "inventory/lanacfg_contract.h"
#include "inventory/report_encoding.h"
#include "inventory/report_reading.h"
#include "inventory/system_interfaces.h"
#include "platform/system_access.h"
#include "tests/support/scratch_folder.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;

void check(bool holds, const char* what)
{
    if (!holds) {
        std::fprintf(stderr, "property failed: %s\n", what);
        std::abort();
    }
}

// Stands in for lanacfg: the fuzzer's bytes become the report file.
class BytesReportRunner : public quorvel::CommandRunner {
public:
    std::string_view report;

    quorvel::CommandOutcome run(const std::string& /*commandLine*/,
                                std::optional<quorvel::TimeLimit> /*limit*/) override
    {
        std::ofstream out(std::string(quorvel::kReportFileName),
                          std::ios::binary | std::ios::trunc);
        out.write(report.data(), static_cast<std::streamsize>(report.size()));
        check(out.good(), "the report file can be written");
        return {};
    }
    quorvel::ProgramNotFound interpreterNotFound() const override
    {
        return quorvel::SystemCommandRunner().interpreterNotFound();
    }
};

// The lines must be exactly the scanned bytes cut at each CR LF, LF or lone CR.
void checkLinesMatch(const quorvel::ReportLineTable& lines, std::string_view report)
{
    std::size_t pos = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        check(report.substr(pos, line.size()) == line, "each line is the next run of bytes");
        check(line.find_first_of("\r\n") == std::string_view::npos, "no line holds a line break");
        pos += line.size();
        if (pos == report.size()) {
            check(i + 1 == lines.size(), "only the last line may lack a line break");
            return;
        }
        pos += report.substr(pos, 2) == "\r\n" ? 2 : 1;
    }
    check(pos == report.size(), "no bytes are left past the last line");
}

// The lines are counted before they are kept, to refuse a report of too many: exactly.
void checkLinesCounted(const quorvel::ReportLineTable& lines, const std::string& report)
{
    if (lines.empty())
        return;
    try {
        quorvel::ReportLineTable::split(report, "report", lines.size() - 1);
        check(false, "a report of one line more than the limit is refused");
    } catch (const quorvel::OperationError&) {
    }
}

bool contains(std::string_view line, std::string_view marker)
{
    return line.find(marker) != std::string::npos;
}

// Every listed adapter comes, in report order, from a NetBEUI binding line on no WAN
// adapter that follows a LANA line; the LANA text comes from that LANA line.
void checkListedAdapters(const std::vector<quorvel::Binding>& bindings,
                         const quorvel::ReportLineTable& lines)
{
    check(bindings.size() <= quorvel::kMostBindingsListed,
          "a refresh lists at most kMostBindingsListed adapters");
    std::size_t next = 1;
    for (const quorvel::Binding& binding : bindings) {
        const std::string& card = binding.adapterName;
        const std::string& lana = binding.lana;
        bool found = false;
        for (; next < lines.size() && !found; ++next) {
            const std::string_view lanaLine = lines[next - 1];
            const std::string_view bindingLine = lines[next];
            found = contains(lanaLine, quorvel::kLanaMarker) &&
                    contains(bindingLine, quorvel::kNetBEUIMarker) &&
                    !contains(bindingLine, quorvel::kWanMarker) && bindingLine.ends_with(card) &&
                    lanaLine.ends_with(lana);
        }
        check(found, "each listed adapter comes from a NetBEUI binding after a LANA line");
    }
}

// Removed with its contents when the fuzzer exits.
std::optional<quorvel::testing::ScratchFolder> scratchFolder;
fs::path startDirectory;

// Inputs are refreshed inside a directory of their own, as the report file is named
// relative to the working one; libFuzzer's own paths stay relative to where it started.
class InScratchDirectory {
public:
    InScratchDirectory() { fs::current_path(scratchFolder->path()); }
    ~InScratchDirectory() { fs::current_path(startDirectory); }
    InScratchDirectory(const InScratchDirectory&) = delete;
    InScratchDirectory& operator=(const InScratchDirectory&) = delete;
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/)
{
    scratchFolder.emplace(quorvel::testing::ScratchFolder::Enter::No, "quorvel-fuzz-report");
    startDirectory = fs::current_path();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    BytesReportRunner runner;
    runner.report = std::string_view(reinterpret_cast<const char*>(data), size);
    quorvel::SystemReportFiles files;
    std::vector<quorvel::Binding> bindings;
    // UTF-16 that does not convert, and a NUL outside UTF-16, are refused; anything else is read.
    std::optional<std::string> scanned;
    try {
        scanned =
            quorvel::reportBytes(std::string(runner.report), "report", quorvel::utf8FromUtf16);
        check(scanned->find('\0') == std::string::npos, "the scanned bytes hold no NUL");
    } catch (const quorvel::OperationError&) {
    }
    {
        const InScratchDirectory inScratch;
        try {
            bindings = quorvel::bindingsFromReportCommand(runner, files);
            check(scanned.has_value(), "only a report that converts is read");
        } catch (const quorvel::OperationError&) {
            check(!scanned, "a report that converts is read");
            fs::remove(std::string(quorvel::kReportFileName));
            return 0;
        }
        check(!fs::exists(std::string(quorvel::kReportFileName)), "the report file is deleted");
    }
    const quorvel::ReportLineTable lines = quorvel::ReportLineTable::split(*scanned, "report");
    checkLinesMatch(lines, *scanned);
    checkLinesCounted(lines, *scanned);
    check(quorvel::scanBindings(lines) == bindings, "a refresh lists what its report's scan lists");
    checkListedAdapters(bindings, lines);
    return 0;
}
