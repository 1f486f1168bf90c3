#pragma once

#include <windows.h>

namespace quorvel {

// A kernel32 function that Windows 2000 lacks, looked up when it is needed rather than
// imported, so that the program still starts there; null where this Windows has none.
// kernel32 is loaded from the system folder in every process: nothing is searched for.
template <typename Function>
Function laterKernel32Function(const char* name)
{
    const HMODULE kernel32 = ::GetModuleHandleW(L"kernel32.dll");
    if (kernel32 == nullptr)
        return nullptr;
    // By way of void (*)(), which converts to any function pointer type without a warning.
    return reinterpret_cast<Function>(
        reinterpret_cast<void (*)()>(::GetProcAddress(kernel32, name)));
}

} // namespace quorvel
