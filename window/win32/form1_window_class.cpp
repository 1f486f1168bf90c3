#include "form1_window_class.h"

#include "inventory/operation_error.h"
#include "platform/win32/system_message.h"

namespace quorvel {

namespace {

constexpr const wchar_t* kClassName = L"QuorvelForm1";

} // namespace

const wchar_t* form1WindowClass(WNDPROC windowProcedure)
{
    const HINSTANCE program = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = program;
    windowClass.hIcon = ::LoadIconW(program, MAKEINTRESOURCEW(kProgramIconId));
    windowClass.hIconSm = static_cast<HICON>(
        ::LoadImageW(program, MAKEINTRESOURCEW(kProgramIconId), IMAGE_ICON,
                     ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    // The colour dialogs have, which the labels draw on.
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszClassName = kClassName;
    if (::RegisterClassExW(&windowClass) == 0) {
        const DWORD error = ::GetLastError();
        // A second window of the same program, as the tests make them.
        if (error != ERROR_CLASS_ALREADY_EXISTS)
            throw OperationError("Could not register the window class: " + systemMessage(error));
    }
    return kClassName;
}

} // namespace quorvel
