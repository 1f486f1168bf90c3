#pragma once

#include "platform/win32/owned_handle.h"
#include "window/form1_behaviour.h"
#include "window/win32/dialog_metrics.h"
#include "window/win32/message_dialog.h"

#include <windows.h>

#include <optional>
#include <string_view>

namespace quorvel {

// The utility's only window on Win32: the NetBEUI bindings as LANA numbers beside adapter
// names, and the button that gives the highlighted adapter LANA number 0. A view: what each
// event does is Form1Behaviour's. It shows the bindings and the busy state itself.
class Form1 : private BindingLists, private BusyIndicator {
public:
    // Built hidden, laid out at the resolution given (else the screen's), with message boxes
    // of its own; the runner, the report files, the lock and the log outlive the window.
    Form1(CommandRunner& runner, ReportFiles& reportFiles, RenumberingLock& renumberingLock,
          RenumberingLog& renumberingLog, bool userMayRenumber,
          std::optional<ScreenDpi> dpi = std::nullopt);
    // With the caller's message box too, as tests give one.
    Form1(CommandRunner& runner, ReportFiles& reportFiles, RenumberingLock& renumberingLock,
          RenumberingLog& renumberingLog, bool userMayRenumber, MessageDialog& messageDialog,
          std::optional<ScreenDpi> dpi = std::nullopt);
    ~Form1() override;
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // Fills the lists; call before the window is first shown. False when that failed: the
    // error has been shown and the program is ending; the window must not be shown.
    bool Form_Load();
    // Shows the window, centred on the work area, with "Set" focused.
    void show(int showCommand = SW_SHOWNORMAL);
    // For the message loop, before it translates a message: true when the message was one of
    // the window's keys (Tab, Enter, Space, Esc, ...) and has been dealt with.
    bool preTranslate(MSG& message);
    void destroy();
    // Loads the window, shows it unless the load failed, and runs the thread's message loop
    // until the program's end; returns the exit status the window ended it with.
    int run(int showCommand = SW_SHOWNORMAL);

    // The window, or null once it has been destroyed.
    HWND handle() const { return window_.get(); }
    // The control of that name in the layout table, found by its id.
    HWND control(std::string_view name) const;

private:
    // Shown in the ANSI code page, as the report is written; the bytes stay with the behaviour.
    void showBindings(const std::vector<Binding>& bindings) override;
    int highlightedCard() const override;
    // The wait cursor while a tool runs; at the end the cursor from before, and the input
    // that queued up meanwhile dropped.
    void showToolRunning(bool running) override;
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void onCommand(int id, int notification);

    DialogFont font_;
    OwnedWindow window_;
    Win32MessageDialog messageBox_;
    HCURSOR cursorBeforeRun_ = nullptr;
    Form1Behaviour behaviour_;
    // Where the focus goes back to when the window is activated again.
    HWND focusOnActivation_;
};

} // namespace quorvel
