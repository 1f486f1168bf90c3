#include "test_hooks.h"

#include <cstdlib>
#include <string_view>

namespace lanacfg {

namespace {

int millisecondsFrom(const char* variable)
{
    const char* value = std::getenv(variable);
    if (value == nullptr || std::string_view(value).size() > 5)
        return 0;
    int milliseconds = 0;
    for (const char c : std::string_view(value)) {
        if (c < '0' || c > '9')
            return 0;
        milliseconds = milliseconds * 10 + (c - '0');
    }
    return milliseconds;
}

} // namespace

int pauseBeforeRenameMilliseconds()
{
    return millisecondsFrom("LANACFG_TEST_PAUSE_BEFORE_RENAME");
}

int pauseBeforeChangeMilliseconds()
{
    return millisecondsFrom("LANACFG_TEST_PAUSE_BEFORE_CHANGE");
}

} // namespace lanacfg
