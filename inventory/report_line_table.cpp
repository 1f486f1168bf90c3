#include "report_line_table.h"

#include "inventory/system_interfaces.h"

#include <algorithm>
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

} // namespace

ReportLineTable ReportLineTable::split(std::string bytes, std::string_view shownName,
                                       std::size_t maxLines)
{
    if (bytes.size() > std::numeric_limits<std::uint32_t>::max())
        refuseOversizedReport(shownName, bytes.size(), std::numeric_limits<std::uint32_t>::max());
    // Counted before anything is allocated for them: a file of bare line breaks must cost
    // no more than its own bytes.
    const auto breaks = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
    const std::size_t lineCount = breaks + (bytes.empty() || bytes.back() == '\n' ? 0 : 1);
    if (lineCount > maxLines)
        throw OperationError(refusal(shownName, "it has " + std::to_string(lineCount)
                                                    + " lines, more than the "
                                                    + std::to_string(maxLines)
                                                    + " lines a report can have"));

    ReportLineTable table;
    table.lines_.reserve(lineCount);
    const std::string_view all(bytes);
    std::size_t begin = 0;
    while (begin < all.size()) {
        const std::size_t lf = all.find('\n', begin);
        std::size_t end = lf == std::string_view::npos ? all.size() : lf;
        const std::size_t next = lf == std::string_view::npos ? all.size() : lf + 1;
        if (lf != std::string_view::npos && end > begin && all[end - 1] == '\r')
            --end;
        table.lines_.push_back(
            {static_cast<std::uint32_t>(begin), static_cast<std::uint32_t>(end - begin)});
        begin = next;
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
