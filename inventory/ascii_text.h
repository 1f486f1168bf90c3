#pragma once

namespace quorvel {

// ASCII letters only: option names, PATHEXT and adapter patterns compare in either case, while
// every other byte of a report's code page stays as it is.
inline char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace quorvel
