#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// A real report has a line or two per binding, a few hundred at most; the limit keeps the
// line table of any file within the byte limit to a fraction of the file's own size.
inline constexpr std::size_t kMaxReportLines = std::size_t{4} * 1024 * 1024;

// The lines of one report, held as one block of bytes and the place of each line in it.
class ReportLineTable {
public:
    ReportLineTable() = default;

    // Cuts the bytes at each CR LF, LF or lone CR; a last line without one counts too. Throws OperationError naming shownName when there are more than maxLines lines.
    static ReportLineTable split(std::string bytes, std::string_view shownName,
                                 std::size_t maxLines = kMaxReportLines);

    std::size_t size() const { return lines_.size(); }
    bool empty() const { return lines_.empty(); }
    std::string_view operator[](std::size_t row) const;

private:
    struct Line {
        std::uint32_t begin;
        std::uint32_t length;
    };

    std::string bytes_;
    std::vector<Line> lines_;
};

// The refusal of a report file of `size` bytes, more than `maxBytes`.
[[noreturn]] void refuseOversizedReport(std::string_view shownName, std::uintmax_t size,
                                        std::uintmax_t maxBytes);

} // namespace quorvel
