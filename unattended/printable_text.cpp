#include "printable_text.h"

namespace quorvel {

std::string printableText(std::string_view text)
{
    static constexpr char kHexDigits[] = "0123456789abcdef";
    std::string printable;
    printable.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7f) {
            printable += c;
            continue;
        }
        printable += "\\x";
        printable += kHexDigits[byte >> 4];
        printable += kHexDigits[byte & 0xf];
    }
    return printable;
}

} // namespace quorvel
