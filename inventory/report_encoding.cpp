#include "report_encoding.h"

#include "inventory/operation_error.h"

#include <algorithm>
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

// How a report was known to be UTF-16, as its messages say it.
enum class Utf16Sign { Mark, NulBytes };

// Text that has no place in the lines the scan reads: a NUL, in bytes or as a character.
constexpr std::string_view kNoNulInText = ", which a text report never holds";

[[noreturn]] void refuseUtf16(std::string_view shownName, Utf16Sign sign, const std::string& reason)
{
    std::string message = "Could not read \"";
    message += shownName;
    message += sign == Utf16Sign::Mark
                   ? "\": it is UTF-16 text (it starts with that byte-order mark), but "
                   : "\": it is UTF-16 text (every second byte of its first characters is NUL), "
                     "but ";
    message += reason;
    throw OperationError(message);
}

// The UTF-16 text of `bytes` (what follows the mark, if there is one), each surrogate checked
// for its partner, and no character NUL.
std::u16string utf16Units(std::string_view bytes, bool bigEndian, Utf16Sign sign,
                          std::string_view shownName)
{
    const std::size_t markBytes = sign == Utf16Sign::Mark ? 2 : 0;
    if (bytes.size() % 2 != 0)
        refuseUtf16(shownName, sign,
                    "it is " + std::to_string(bytes.size() + markBytes) +
                        " bytes long, an odd number");
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
            refuseUtf16(shownName, sign,
                        std::string("its character ") + std::to_string(i + 1) +
                            " is half of a surrogate pair (0x" + unit + ") without its other half");
        } else if (units[i] == u'\0') {
            refuseUtf16(shownName, sign,
                        "its character " + std::to_string(i + 1) + " is NUL" +
                            std::string(kNoNulInText));
        }
    }
    return units;
}

// How many characters at the start of a report without a mark tell its byte order: a real
// report starts with a line of ASCII, and no text in an 8-bit encoding has NUL bytes.
constexpr std::size_t kPlainUtf16Sample = 16;

// Whether the bytes are plainly UTF-16 in that byte order: their first characters (up to
// kPlainUtf16Sample) are ASCII, each its ASCII byte beside a NUL.
bool plainlyUtf16(std::string_view bytes, bool bigEndian)
{
    const std::size_t sample = std::min(bytes.size() / 2, kPlainUtf16Sample);
    for (std::size_t i = 0; i < sample; ++i) {
        const auto ascii = static_cast<unsigned char>(bytes[2 * i + (bigEndian ? 1 : 0)]);
        if (ascii == 0 || ascii >= 0x80 || bytes[2 * i + (bigEndian ? 0 : 1)] != '\0')
            return false;
    }
    return sample > 0;
}

std::string narrowed(std::string& fileBytes, std::string_view utf16Bytes, bool bigEndian,
                     Utf16Sign sign, std::string_view shownName, NarrowFromUtf16 narrow)
{
    std::u16string text = utf16Units(utf16Bytes, bigEndian, sign, shownName);
    // Only one copy of the report at a time beside the text.
    fileBytes = std::string();
    std::optional<std::string> converted = narrow(text);
    if (!converted)
        refuseUtf16(shownName, sign, "it holds a character that the system's code page lacks");
    return std::move(*converted);
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
    if (bytes.starts_with(kUtf16LittleEndianMark) || bytes.starts_with(kUtf16BigEndianMark))
        return narrowed(fileBytes, bytes.substr(2), bytes.starts_with(kUtf16BigEndianMark),
                        Utf16Sign::Mark, shownName, narrow);
    const std::size_t nul = bytes.find('\0');
    if (nul == std::string_view::npos)
        return bytes.starts_with(kUtf8Mark) ? std::move(fileBytes.erase(0, kUtf8Mark.size()))
                                            : std::move(fileBytes);
    for (const bool bigEndian : {false, true}) {
        if (plainlyUtf16(bytes, bigEndian))
            return narrowed(fileBytes, bytes, bigEndian, Utf16Sign::NulBytes, shownName, narrow);
    }
    // Read as text, it would list nothing, and pass for a machine without NetBEUI.
    throw OperationError("Could not read \"" + std::string(shownName) + "\": its byte " +
                         std::to_string(nul + 1) + " is NUL" + std::string(kNoNulInText) +
                         ", and it is not plainly UTF-16 text either");
}

} // namespace quorvel
