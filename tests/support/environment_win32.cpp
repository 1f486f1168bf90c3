#include "scratch_folder.h"

#include <windows.h>

#include <vector>

namespace quorvel::testing {

// The process's own environment block, which CreateProcess hands to children; the C
// runtime's copy is not what they get.

void setEnvironment(const std::string& name, const std::string& value)
{
    ::SetEnvironmentVariableA(name.c_str(), value.c_str());
}

bool environmentValue(const std::string& name, std::string& value)
{
    const DWORD size = ::GetEnvironmentVariableA(name.c_str(), nullptr, 0);
    if (size == 0)
        return false;
    std::vector<char> buffer(size);
    const DWORD length = ::GetEnvironmentVariableA(name.c_str(), buffer.data(), size);
    value.assign(buffer.data(), length);
    return true;
}

void unsetEnvironment(const std::string& name)
{
    ::SetEnvironmentVariableA(name.c_str(), nullptr);
}

char pathListSeparator()
{
    return ';';
}

} // namespace quorvel::testing
