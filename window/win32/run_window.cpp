#include "run_window.h"

#include "window/win32/form1.h"

#include <cstdlib>

namespace quorvel {

int runWindow(Form1& window, int showCommand)
{
    // A failed load has posted the program's end already: the loop below only collects it.
    if (window.Form_Load())
        window.show(showCommand);

    MSG message{};
    for (;;) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got == 0)
            return static_cast<int>(message.wParam);
        if (got == -1)
            return EXIT_FAILURE;
        if (!window.preTranslate(message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
}

} // namespace quorvel
