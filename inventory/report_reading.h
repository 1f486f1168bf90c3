#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

class ReportFiles;

// Reports are a few kilobytes; anything this large is not a report.
inline constexpr std::uintmax_t kMaxReportBytes = 64ULL * 1024 * 1024;
// A real report has a line or two per binding, a few hundred at most; the limit keeps the
// line table of any file within the byte limit to a fraction of the file's own size.
inline constexpr std::size_t kMaxReportLines = std::size_t{4} * 1024 * 1024;

// The lines of one report, held as one block of bytes and the place of each line in it.
class ReportLineTable {
public:
    ReportLineTable() = default;

    // Cuts the bytes at each CR LF, LF or lone CR; a last line without one counts too. Throws
    // OperationError naming shownName when there are more than maxLines lines.
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

// The lines of the report file at path, as every system reads it: opened through `files`, read
// in steps, UTF-16 converted to the system's narrow encoding (see reportBytes). A file of more
// than kMaxReportBytes, also one that grows past them while it is read, or of more than
// kMaxReportLines lines is refused with OperationError, naming the file as `files` shows it.
ReportLineTable readReport(ReportFiles& files, const std::string& path);

} // namespace quorvel
