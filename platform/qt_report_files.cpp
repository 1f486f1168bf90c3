#include "qt_report_files.h"

#include "inventory/operation_error.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <algorithm>
#include <string_view>

namespace quorvel {

namespace {

constexpr qint64 kReadChunkBytes = qint64{1024} * 1024;

// Messages name the file as the user would find it, not as the program happened to spell it.
std::string displayName(const QFile& file)
{
    return QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath()).toStdString();
}

std::string tooLarge(const QFile& file, std::uintmax_t size, std::uintmax_t maxBytes)
{
    return "Refused to read \"" + displayName(file) + "\": it is " + std::to_string(size)
        + " bytes, more than the " + std::to_string(maxBytes) + " bytes a report can be";
}

std::vector<std::string> splitLines(std::string_view bytes)
{
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1);
    while (!bytes.empty()) {
        const std::size_t lf = bytes.find('\n');
        std::string_view line = bytes.substr(0, lf);
        if (lf == std::string_view::npos) {
            bytes = {};
        } else {
            bytes.remove_prefix(lf + 1);
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
        }
        lines.emplace_back(line);
    }
    return lines;
}

} // namespace

std::vector<std::string> QtReportFiles::readLines(const std::string& path, std::uintmax_t maxBytes)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly | QIODevice::ExistingOnly))
        throw OperationError("Could not open \"" + displayName(file)
                             + "\": " + file.errorString().toStdString());
    // The size of the open file, so a swap between the check and the read cannot slip past.
    const qint64 size = file.size();
    if (static_cast<std::uintmax_t>(size) > maxBytes)
        throw OperationError(tooLarge(file, static_cast<std::uintmax_t>(size), maxBytes));

    // Read in bounded steps rather than readAll(): a file still being written may have grown
    // since its size was taken, and a device such as /dev/zero has no size and no end.
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(size));
    for (;;) {
        const QByteArray chunk = file.read(kReadChunkBytes);
        if (chunk.isEmpty())
            break;
        bytes += chunk;
        if (static_cast<std::uintmax_t>(bytes.size()) > maxBytes)
            throw OperationError(tooLarge(file, static_cast<std::uintmax_t>(bytes.size()), maxBytes));
    }
    if (file.error() != QFileDevice::NoError)
        throw OperationError("Could not read \"" + displayName(file)
                             + "\": " + file.errorString().toStdString());
    return splitLines(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

void QtReportFiles::remove(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    if (!file.remove())
        throw OperationError("Could not delete \"" + displayName(file)
                             + "\": " + file.errorString().toStdString());
}

} // namespace quorvel
