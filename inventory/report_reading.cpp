#include "report_reading.h"

#include "inventory/report_encoding.h"
#include "inventory/system_interfaces.h"

#include <algorithm>
#include <limits>
#include <memory>

namespace quorvel {

namespace {

// Small enough to keep a file that is still growing within a step of the limit.
constexpr std::size_t kReadStepBytes = std::size_t{64} * 1024;

std::string refusal(std::string_view shownName, const std::string& reason)
{
    std::string message = "Refused to read \"";
    message += shownName;
    message += "\": ";
    message += reason;
    return message;
}

[[noreturn]] void refuseOversized(std::string_view shownName, std::uintmax_t size,
                                  std::uintmax_t maxBytes)
{
    throw OperationError(
        refusal(shownName, "it is " + std::to_string(size) + " bytes, more than the " +
                               std::to_string(maxBytes) + " bytes a report can be"));
}

// CR LF, LF and a lone CR each end a line, as text editors and Windows tools write them: each
// CR ends one, and each LF that does not follow a CR. Counted without branches in blocks whose
// count fits in a byte, which the compiler turns into vector instructions.
std::size_t lineEndCount(std::string_view bytes)
{
    constexpr std::size_t kBlockBytes = 255;
    std::size_t ends = bytes.starts_with('\n') || bytes.starts_with('\r') ? 1 : 0;
    for (std::size_t block = 1; block < bytes.size(); block += kBlockBytes) {
        unsigned char endsInBlock = 0;
        const std::size_t blockEnd = std::min(bytes.size(), block + kBlockBytes);
        for (std::size_t i = block; i < blockEnd; ++i)
            endsInBlock += static_cast<unsigned char>(
                int{bytes[i] == '\r'} | (int{bytes[i] == '\n'} & int{bytes[i - 1] != '\r'}));
        ends += endsInBlock;
    }
    return ends;
}

// The next CR and the next LF, each searched for (with memchr) only once the reader is past
// it: one search for each line break, whichever breaks the report uses.
class LineBreaks {
public:
    explicit LineBreaks(std::string_view bytes)
        : bytes_(bytes), nextCr_(bytes.find('\r')), nextLf_(bytes.find('\n'))
    {
    }

    // The first CR or LF at or after `from`, or the end of the bytes.
    std::size_t from(std::size_t from)
    {
        if (nextCr_ < from)
            nextCr_ = bytes_.find('\r', from);
        if (nextLf_ < from)
            nextLf_ = bytes_.find('\n', from);
        return std::min({nextCr_, nextLf_, bytes_.size()});
    }

private:
    std::string_view bytes_;
    std::size_t nextCr_;
    std::size_t nextLf_;
};

} // namespace

ReportLineTable ReportLineTable::split(std::string bytes, std::string_view shownName,
                                       std::size_t maxLines)
{
    if (bytes.size() > std::numeric_limits<std::uint32_t>::max())
        refuseOversized(shownName, bytes.size(), std::numeric_limits<std::uint32_t>::max());
    // Counted before anything is allocated for them: a file of bare line breaks must cost
    // no more than its own bytes.
    const std::string_view all(bytes);
    const bool lastLineUnended = !all.empty() && !all.ends_with('\n') && !all.ends_with('\r');
    const std::size_t lineCount = lineEndCount(all) + (lastLineUnended ? 1 : 0);
    if (lineCount > maxLines)
        throw OperationError(
            refusal(shownName, "it has " + std::to_string(lineCount) + " lines, more than the " +
                                   std::to_string(maxLines) + " lines a report can have"));

    ReportLineTable table;
    table.lines_.reserve(lineCount);
    LineBreaks breaks(all);
    for (std::size_t begin = 0; begin < all.size();) {
        const std::size_t end = breaks.from(begin);
        table.lines_.push_back(
            {static_cast<std::uint32_t>(begin), static_cast<std::uint32_t>(end - begin)});
        const bool crLf = all.substr(end, 2) == "\r\n";
        begin = end + (crLf ? 2 : 1);
    }
    table.bytes_ = std::move(bytes);
    return table;
}

std::string_view ReportLineTable::operator[](std::size_t row) const
{
    const Line& line = lines_[row];
    return std::string_view(bytes_).substr(line.begin, line.length);
}

ReportLineTable readReport(ReportFiles& files, const std::string& path)
{
    const std::unique_ptr<OpenReportFile> file = files.open(path);
    // The size of the open file, so that a swap between the check and the read cannot slip
    // past.
    const std::uintmax_t size = file->size();
    if (size > kMaxReportBytes)
        refuseOversized(files.shownName(path), size, kMaxReportBytes);

    // In bounded steps rather than all at once: a file still being written may have grown
    // since its size was taken.
    std::string bytes;
    // Room for the last, empty read too: growing past it would double the buffer.
    bytes.reserve(static_cast<std::size_t>(size) + kReadStepBytes);
    for (;;) {
        const std::size_t used = bytes.size();
        bytes.resize(used + kReadStepBytes);
        const std::size_t got = file->read(bytes.data() + used, kReadStepBytes);
        bytes.resize(used + got);
        if (got == 0)
            break;
        if (bytes.size() > kMaxReportBytes)
            refuseOversized(files.shownName(path), bytes.size(), kMaxReportBytes);
    }
    const std::string shownName = files.shownName(path);
    return ReportLineTable::split(reportBytes(std::move(bytes), shownName, files.narrowEncoding()),
                                  shownName);
}

} // namespace quorvel
