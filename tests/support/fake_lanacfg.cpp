#include "fake_lanacfg.h"

#include "inventory/lanacfg_contract.h"
#include "inventory/system_interfaces.h"

#include <algorithm>
#include <utility>

namespace quorvel::testing {

void FakeReportFiles::removeLeftover(const std::string& path)
{
    if (std::find(stuck.begin(), stuck.end(), path) != stuck.end())
        throw OperationError("Could not remove \"" + path + "\": permission denied");
    files.erase(path);
}

namespace {

class OpenFakeReport : public OpenReportFile {
public:
    explicit OpenFakeReport(std::string bytes) : bytes_(std::move(bytes)) {}
    std::uintmax_t size() override { return bytes_.size(); }
    std::size_t read(char* into, std::size_t room) override
    {
        const std::size_t got = bytes_.copy(into, room, read_);
        read_ += got;
        return got;
    }

private:
    std::string bytes_;
    std::size_t read_ = 0;
};

} // namespace

std::unique_ptr<OpenReportFile> FakeReportFiles::open(const std::string& path)
{
    const auto file = files.find(path);
    if (file == files.end())
        throw OperationError("Could not open \"" + path + "\": no such file");
    return std::make_unique<OpenFakeReport>(file->second);
}

void FakeReportFiles::remove(const std::string& path)
{
    if (files.erase(path) == 0)
        throw OperationError("Could not delete \"" + path + "\": no such file");
}

CommandOutcome FakeLanacfg::run(const std::string& commandLine, std::optional<TimeLimit> limit)
{
    commands.push_back(commandLine);
    limits.push_back(limit);
    if (commandLine == reportCommand() && nextReport)
        files_.files[std::string(kReportFileName)] = *nextReport;
    if (commandLine == reportCommand() || !renumberingEnd)
        return outcome;
    nextReport = after;
    return *renumberingEnd;
}

std::string recordText(const RenumberingRecord& r)
{
    return std::to_string(static_cast<int>(r.result)) + " " +
           std::to_string(static_cast<int>(r.program)) + " " + r.adapterName + " " + r.lanaBefore +
           " " + r.lanaAfter.value_or("-") + " [" + r.command + "] " + r.commandEnd;
}

void FakeRenumberingLock::acquire(std::optional<std::chrono::seconds> wait)
{
    events.push_back(wait ? "acquire " + std::to_string(wait->count()) + " s"
                          : "acquire, no limit");
}

void FakeRenumberingLock::release() noexcept
{
    events.emplace_back("release");
}

std::string joinLines(const std::vector<std::string>& lines, const std::string& lineBreak)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + lineBreak;
    return text;
}

} // namespace quorvel::testing
