#include "form1.h"

#include "inventory/system_interfaces.h"
#include "platform/win32/ansi_text.h"
#include "platform/win32/system_message.h"
#include "window/form1_layout.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <string_view>

namespace quorvel {

namespace {

// Not resizable, with a minimise box.
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

struct ControlClass {
    const wchar_t* name;
    DWORD style;
    DWORD extendedStyle;
};

ControlClass controlClass(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Label:
        return {L"STATIC", SS_LEFT | SS_NOPREFIX, 0};
    case ControlKind::ListBox:
        // Rows in the order appended, at most one highlighted, double-clicks reported, and the
        // layout's height exactly rather than a whole number of rows.
        return {L"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP,
                WS_EX_CLIENTEDGE};
    case ControlKind::PushButton:
        return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
    }
    throw std::logic_error("unknown kind of control");
}

[[noreturn]] void failToCreate(const std::string& what)
{
    const DWORD error = ::GetLastError();
    throw OperationError("Could not create " + what + ": " + systemMessage(error));
}

struct MessageRange {
    UINT first;
    UINT last;
};

// WM_MOUSEHWHEEL (Vista) lies past the WM_MOUSELAST of the Windows 2000 headers.
constexpr UINT kLastMouseMessage = 0x020E;

constexpr MessageRange kInputMessages[] = {
    {WM_KEYFIRST, WM_KEYLAST},
    {WM_MOUSEFIRST, kLastMouseMessage},
    {WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK},
};

// Removes the keyboard and mouse messages (client and non-client) queued for this thread's
// windows, and ends any mouse capture that their button-up would have ended.
void discardQueuedInput()
{
    MSG message;
    for (const MessageRange& range : kInputMessages) {
        while (::PeekMessageW(&message, nullptr, range.first, range.last, PM_REMOVE) != 0) {
        }
    }
    // A list box captures the mouse on a double-click; the button-up that ends it may have
    // been among the messages just dropped.
    if (::GetCapture() != nullptr)
        ::ReleaseCapture();
}

void appendRow(HWND listBox, const std::string& text)
{
    const std::wstring shown = wideFromAnsi(text);
    const LRESULT row =
        ::SendMessageW(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shown.c_str()));
    if (row == LB_ERR || row == LB_ERRSPACE)
        throw OperationError("Could not add \"" + text + "\" to a list: out of memory");
}

RECT workArea()
{
    RECT area{};
    if (::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0) == 0)
        area = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    return area;
}

// The frame around the layout's client area, centred on the work area.
RECT centredFrame(const ScreenDpi& dpi)
{
    RECT frame{0, 0, twipsToPixels(kClientWidthTwips, dpi.x),
               twipsToPixels(kClientHeightTwips, dpi.y)};
    ::AdjustWindowRectEx(&frame, kWindowStyle, FALSE, 0);
    const RECT area = workArea();
    const LONG width = frame.right - frame.left;
    const LONG height = frame.bottom - frame.top;
    const LONG left = std::max(area.left, area.left + (area.right - area.left - width) / 2);
    const LONG top = std::max(area.top, area.top + (area.bottom - area.top - height) / 2);
    return {left, top, left + width, top + height};
}

// The program's icon: resource 1 of the program file, shown by the window and Explorer alike.
constexpr WORD kProgramIconId = 1;
constexpr const wchar_t* kWindowClassName = L"QuorvelForm1";

// Registers the window's class once per process, with the dialog background and the icon.
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
    windowClass.lpszClassName = kWindowClassName;
    if (::RegisterClassExW(&windowClass) == 0) {
        const DWORD error = ::GetLastError();
        // A second window of the same program, as the tests make them.
        if (error != ERROR_CLASS_ALREADY_EXISTS)
            throw OperationError("Could not register the window class: " + systemMessage(error));
    }
    return kWindowClassName;
}

void createControls(HWND window, const ScreenDpi& dpi, const DialogFont& fonts)
{
    const HINSTANCE program = ::GetModuleHandleW(nullptr);
    // Made in tab order: the dialog manager moves the focus in the order the controls were made.
    for (const ControlLayout* layout : controlsInTabOrder()) {
        const ControlClass kind = controlClass(layout->kind);
        const PixelRect at = twipsToPixels(layout->at, dpi.x, dpi.y);
        const auto id = static_cast<INT_PTR>(layout->id);
        // Each control a group of its own: arrow keys never wander from a button to a label.
        // The labels reach a pixel into the lists below them; clipped, they leave the lists'
        // borders whole.
        const DWORD style = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_CLIPSIBLINGS | kind.style;
        const HWND control = ::CreateWindowExW(
            kind.extendedStyle, kind.name, wideFromAnsi(layout->caption).c_str(), style, at.left,
            at.top, at.width, at.height, window, reinterpret_cast<HMENU>(id), program, nullptr);
        if (control == nullptr)
            failToCreate(std::string("the control ") + layout->name);
        const HFONT font = layout->columnHeading ? fonts.heading() : fonts.get();
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
}

HWND createWindow(const ScreenDpi& dpi, const DialogFont& fonts, WNDPROC windowProcedure)
{
    const RECT frame = centredFrame(dpi);
    OwnedWindow window(::CreateWindowExW(
        0, form1WindowClass(windowProcedure), wideFromAnsi(kFormCaption).c_str(), kWindowStyle,
        frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
        ::GetModuleHandleW(nullptr), nullptr));
    if (window.get() == nullptr)
        failToCreate("the window");
    createControls(window.get(), dpi, fonts);
    return window.release();
}

} // namespace

Form1::Form1(CommandRunner& runner, ReportFiles& reportFiles, RenumberingLock& renumberingLock,
             RenumberingLog& renumberingLog, bool userMayRenumber, std::optional<ScreenDpi> dpi)
    : Form1(runner, reportFiles, renumberingLock, renumberingLog, userMayRenumber, messageBox_, dpi)
{
}

Form1::Form1(CommandRunner& runner, ReportFiles& reportFiles, RenumberingLock& renumberingLock,
             RenumberingLog& renumberingLog, bool userMayRenumber, MessageDialog& messageDialog,
             std::optional<ScreenDpi> dpi)
    : window_(createWindow(dpi ? *dpi : screenDpi(), font_, windowProcedure)),
      messageBox_(window_.get()),
      behaviour_(*this, {runner, reportFiles, renumberingLock, renumberingLog, userMayRenumber,
                         messageDialog, *this,
                         [this](int status) {
                             destroy();
                             ::PostQuitMessage(status);
                         }}),
      focusOnActivation_(control("cmdSet"))
{
    // Only now, with the object whole, do the window's messages reach it.
    ::SetWindowLongPtrW(handle(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Form1::~Form1()
{
    if (handle() != nullptr)
        ::SetWindowLongPtrW(handle(), GWLP_USERDATA, 0);
    window_.reset();
}

bool Form1::Form_Load()
{
    return behaviour_.Form_Load();
}

void Form1::showBindings(const std::vector<Binding>& bindings)
{
    const HWND lstLANA = control("lstLANA");
    const HWND lstCard = control("lstCard");
    ::SendMessageW(lstLANA, LB_RESETCONTENT, 0, 0);
    ::SendMessageW(lstCard, LB_RESETCONTENT, 0, 0);
    for (const Binding& binding : bindings) {
        appendRow(lstCard, binding.adapterName);
        appendRow(lstLANA, binding.lana);
    }
}

int Form1::highlightedCard() const
{
    const LRESULT row = ::SendMessageW(control("lstCard"), LB_GETCURSEL, 0, 0);
    return row == LB_ERR ? -1 : static_cast<int>(row);
}

void Form1::showToolRunning(bool running)
{
    if (running) {
        cursorBeforeRun_ = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
        return;
    }
    // No cursor at all would leave the pointer invisible until it next moves.
    ::SetCursor(cursorBeforeRun_ != nullptr ? cursorBeforeRun_ : ::LoadCursorW(nullptr, IDC_ARROW));
    // The window's thread was held by the run, so what the user did meanwhile is still
    // queued; delivered now, it would act on the lists the run has just replaced.
    discardQueuedInput();
}

void Form1::show(int showCommand)
{
    ::ShowWindow(handle(), showCommand);
    ::UpdateWindow(handle());
    if (::IsIconic(handle()) == 0)
        ::SetFocus(control("cmdSet"));
}

bool Form1::preTranslate(MSG& message)
{
    if (handle() == nullptr)
        return false;
    if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN) {
        const HWND focus = ::GetFocus();
        // The dialog manager would turn Enter into IDOK outside a dialog, whichever button
        // has the focus; Windows users expect the focused button to be pressed.
        if (focus == control("cmdSet") || focus == control("cmdExit")) {
            ::SendMessageW(focus, BM_CLICK, 0, 0);
            return true;
        }
    }
    return ::IsDialogMessageW(handle(), &message) != 0;
}

int Form1::run(int showCommand)
{
    // A failed load has posted the program's end already: the loop below only collects it.
    if (Form_Load())
        show(showCommand);

    MSG message{};
    for (;;) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got == 0)
            return static_cast<int>(message.wParam);
        if (got == -1)
            return EXIT_FAILURE;
        if (!preTranslate(message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
}

void Form1::destroy()
{
    window_.reset();
}

HWND Form1::control(std::string_view name) const
{
    return ::GetDlgItem(handle(), form1Control(name).id);
}

LRESULT CALLBACK Form1::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* form = reinterpret_cast<Form1*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (form == nullptr)
        return ::DefWindowProcW(window, message, wParam, lParam);
    return form->onMessage(message, wParam, lParam);
}

LRESULT Form1::onMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    const HWND window = handle();
    switch (message) {
    case WM_COMMAND:
        onCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_CLOSE:
        // The close box, the system menu and Alt+F4 end the program as "Close" does.
        behaviour_.cmdExit_Click();
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = ::GetFocus();
            if (focus != nullptr && ::IsChild(window, focus) != 0)
                focusOnActivation_ = focus;
        }
        break;
    case WM_SETFOCUS:
        // Activation gives the focus to the window itself, where no key would do anything.
        ::SetFocus(focusOnActivation_);
        return 0;
    case WM_NCDESTROY:
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        window_.release();
        break;
    default:
        break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void Form1::onCommand(int id, int notification)
{
    switch (id) {
    case form1Control("cmdSet").id:
        if (notification == BN_CLICKED)
            behaviour_.cmdSet_Click();
        break;
    case form1Control("cmdExit").id:
        if (notification == BN_CLICKED)
            behaviour_.cmdExit_Click();
        break;
    case form1Control("lstCard").id:
        // The first click of the double-click has highlighted the row.
        if (notification == LBN_DBLCLK)
            behaviour_.lstCard_DblClick();
        break;
    default:
        // IDOK and IDCANCEL, from Enter and Esc: the window has no default or cancel action.
        break;
    }
}

} // namespace quorvel
