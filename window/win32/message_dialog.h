#pragma once

#include "window/message_dialog.h"

#include <windows.h>

namespace quorvel {

// MessageBoxW with a single OK button, over the owner window while it is shown and on its own
// before that (a failed load) or without one; the texts are the report's ANSI bytes,
// converted at the one conversion point.
class Win32MessageDialog : public MessageDialog {
public:
    explicit Win32MessageDialog(HWND owner = nullptr) : owner_(owner) {}
    void show(const std::string& text, const std::string& title, MessageKind kind) override;

private:
    HWND owner_;
};

} // namespace quorvel
