#include "operation_error.h"

#include <exception>
#include <new>

namespace quorvel {

std::string describeCurrentError()
{
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return "There is not enough memory to go on.";
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return "An unexpected error occurred.";
    }
}

std::string printableText(std::string_view text)
{
    static constexpr char kHexDigits[] = "0123456789abcdef";
    std::string escaped;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7f) {
            escaped += c;
            continue;
        }
        escaped += "\\x";
        escaped += kHexDigits[byte >> 4];
        escaped += kHexDigits[byte & 0xf];
    }
    return escaped;
}

} // namespace quorvel
