#include "child_standard_handles.h"

namespace quorvel {

namespace {

HANDLE openInheritableNul()
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return ::CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         &inherit, OPEN_EXISTING, 0, nullptr);
}

// The handle itself may not be inheritable; an inheritable copy is.
HANDLE inheritableStandardError()
{
    const HANDLE own = ::GetStdHandle(STD_ERROR_HANDLE);
    if (own == nullptr || own == INVALID_HANDLE_VALUE)
        return nullptr;
    HANDLE copy = nullptr;
    if (::DuplicateHandle(::GetCurrentProcess(), own, ::GetCurrentProcess(), &copy, 0, TRUE,
                          DUPLICATE_SAME_ACCESS)
        == 0)
        return nullptr;
    return copy;
}

} // namespace

ChildStandardHandles::ChildStandardHandles()
    : nul_(openInheritableNul()), error_(inheritableStandardError())
{
}

} // namespace quorvel
