#include "report_encoding.h"

#include "inventory/operation_error.h"

#include <cstdio>

namespace quorvel {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LittleEndianMark = "\xFF\xFE";
constexpr std::string_view kUtf16BigEndianMark = "\xFE\xFF";

bool isHighSurrogate(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool isLowSurrogate(char16_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

[[noreturn]] void refuseUtf16(std::string_view shownName, const std::string& reason)
{
    std::string message = "Could not read \"";
    message += shownName;
    message += "\": it is UTF-16 text (it starts with that byte-order mark), but ";
    message += reason;
    throw OperationError(message);
}

// The UTF-16 text after the mark, each surrogate checked for its partner.
std::u16string utf16Units(std::string_view bytes, bool bigEndian, std::string_view shownName)
{
    if (bytes.size() % 2 != 0)
        refuseUtf16(shownName,
                    "it is " + std::to_string(bytes.size() + 2) + " bytes long, an odd number");
    std::u16string units(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        const auto first = static_cast<unsigned char>(bytes[2 * i]);
        const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
        units[i] = static_cast<char16_t>(bigEndian ? first << 8 | second : second << 8 | first);
    }
    for (std::size_t i = 0; i < units.size(); ++i) {
        const bool paired =
            isHighSurrogate(units[i]) && i + 1 < units.size() && isLowSurrogate(units[i + 1]);
        if (paired) {
            ++i;
        } else if (isHighSurrogate(units[i]) || isLowSurrogate(units[i])) {
            char unit[8];
            std::snprintf(unit, sizeof unit, "%04X", static_cast<unsigned>(units[i]));
            refuseUtf16(shownName, std::string("its character ") + std::to_string(i + 1) +
                                       " is half of a surrogate pair (0x" + unit +
                                       ") without its other half");
        }
    }
    return units;
}

} // namespace

std::optional<std::string> utf8FromUtf16(std::u16string_view text)
{
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t code = text[i];
        if (isHighSurrogate(text[i]) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        if (code < 0x80) {
            bytes += static_cast<char>(code);
        } else if (code < 0x800) {
            bytes += static_cast<char>(0xC0 | code >> 6);
            bytes += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            bytes += static_cast<char>(0xE0 | code >> 12);
            bytes += static_cast<char>(0x80 | (code >> 6 & 0x3F));
            bytes += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            bytes += static_cast<char>(0xF0 | code >> 18);
            bytes += static_cast<char>(0x80 | (code >> 12 & 0x3F));
            bytes += static_cast<char>(0x80 | (code >> 6 & 0x3F));
            bytes += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return bytes;
}

std::string reportBytes(std::string fileBytes, std::string_view shownName, NarrowFromUtf16 narrow)
{
    const std::string_view bytes(fileBytes);
    if (bytes.starts_with(kUtf8Mark))
        return std::move(fileBytes.erase(0, kUtf8Mark.size()));
    const bool littleEndian = bytes.starts_with(kUtf16LittleEndianMark);
    if (!littleEndian && !bytes.starts_with(kUtf16BigEndianMark))
        return fileBytes;

    std::u16string text = utf16Units(bytes.substr(2), !littleEndian, shownName);
    // Only one copy of the report at a time beside the text.
    fileBytes = std::string();
    std::optional<std::string> converted = narrow(text);
    if (!converted)
        refuseUtf16(shownName, "it holds a character that the system's code page lacks");
    return std::move(*converted);
}

} // namespace quorvel
