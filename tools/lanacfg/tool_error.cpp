#include "tool_error.h"

#include <cerrno>
#include <system_error>

namespace lanacfg {

void throwSystemFailure(std::string_view action, const std::string& path)
{
    const int error = errno;
    throw StateError(std::string(action) + " " + path + ": " +
                     std::generic_category().message(error));
}

} // namespace lanacfg
