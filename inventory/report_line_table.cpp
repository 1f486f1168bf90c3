#include "report_line_table.h"

#include "inventory/system_interfaces.h"

#include <limits>

namespace quorvel {

namespace {

std::string refusal(std::string_view shownName, const std::string& reason)
{
    std::string message = "Refused to read \"";
    message += shownName;
    message += "\": ";
    message += reason;
    return message;
}

struct LineEnd {
    std::size_t at;   // where the line's text ends
    std::size_t next; // where the next line begins
};

// CR LF, LF and a lone CR each end a line, as text editors and Windows tools write them; a
// last line without one ends at the end of the bytes.
LineEnd lineEnd(std::string_view bytes, std::size_t begin)
{
    const std::size_t at = bytes.find_first_of("\r\n", begin);
    if (at == std::string_view::npos)
        return {bytes.size(), bytes.size()};
    const bool crLf = bytes[at] == '\r' && at + 1 < bytes.size() && bytes[at + 1] == '\n';
    return {at, at + (crLf ? 2 : 1)};
}

} // namespace

ReportLineTable ReportLineTable::split(std::string bytes, std::string_view shownName,
                                       std::size_t maxLines)
{
    if (bytes.size() > std::numeric_limits<std::uint32_t>::max())
        refuseOversizedReport(shownName, bytes.size(), std::numeric_limits<std::uint32_t>::max());
    // Counted before anything is allocated for them: a file of bare line breaks must cost
    // no more than its own bytes.
    const std::string_view all(bytes);
    std::size_t lineCount = 0;
    for (std::size_t end = 0; end < all.size(); end = lineEnd(all, end).next)
        ++lineCount;
    if (lineCount > maxLines)
        throw OperationError(refusal(shownName, "it has " + std::to_string(lineCount)
                                                    + " lines, more than the "
                                                    + std::to_string(maxLines)
                                                    + " lines a report can have"));

    ReportLineTable table;
    table.lines_.reserve(lineCount);
    for (std::size_t begin = 0; begin < all.size();) {
        const LineEnd end = lineEnd(all, begin);
        table.lines_.push_back({static_cast<std::uint32_t>(begin),
                                static_cast<std::uint32_t>(end.at - begin)});
        begin = end.next;
    }
    table.bytes_ = std::move(bytes);
    return table;
}

std::string_view ReportLineTable::operator[](std::size_t row) const
{
    const Line& line = lines_[row];
    return std::string_view(bytes_).substr(line.begin, line.length);
}

void refuseOversizedReport(std::string_view shownName, std::uintmax_t size, std::uintmax_t maxBytes)
{
    throw OperationError(refusal(shownName, "it is " + std::to_string(size) + " bytes, more than the "
                                                + std::to_string(maxBytes)
                                                + " bytes a report can be"));
}

} // namespace quorvel
