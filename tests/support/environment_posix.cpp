#include "scratch_folder.h"

#include <cstdlib>

namespace quorvel::testing {

void setEnvironment(const std::string& name, const std::string& value)
{
    ::setenv(name.c_str(), value.c_str(), 1);
}

bool environmentValue(const std::string& name, std::string& value)
{
    const char* found = std::getenv(name.c_str());
    if (found == nullptr)
        return false;
    value = found;
    return true;
}

void unsetEnvironment(const std::string& name)
{
    ::unsetenv(name.c_str());
}

char pathListSeparator()
{
    return ':';
}

} // namespace quorvel::testing
