#include "message_dialog.h"

#include "platform/win32/ansi_text.h"

namespace quorvel {

void Win32MessageDialog::show(const std::string& text, const std::string& title, MessageKind kind)
{
    const HWND over = owner_ != nullptr && ::IsWindowVisible(owner_) != 0 ? owner_ : nullptr;
    const UINT icon = kind == MessageKind::Error     ? MB_ICONERROR
                      : kind == MessageKind::Warning ? MB_ICONWARNING
                                                     : 0;
    // MessageBoxW has no markup: bytes of a report quoted in the text show as they are.
    ::MessageBoxW(over, wideFromAnsi(text).c_str(), wideFromAnsi(title).c_str(), MB_OK | icon);
}

} // namespace quorvel
