#include "qt_form_services.h"

#include "platform/qt/process_command_runner.h"
#include "platform/qt/qt_message_dialog.h"
#include "platform/qt/qt_report_files.h"

#include <QCoreApplication>
#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QWidget>

namespace quorvel {

namespace {

// Eats every mouse, key, wheel and touch event that passes while it is installed.
class InputDrain : public QObject {
public:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override { return event->isInputEvent(); }
};

// The window's thread was held by the run, so what the user did meanwhile is still queued;
// delivered now, it would act on the lists the run has just replaced.
void dropQueuedInput()
{
    InputDrain drain;
    QCoreApplication::instance()->installEventFilter(&drain);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QCoreApplication::instance()->removeEventFilter(&drain);
}

void showToolRunning(bool running)
{
    if (running) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        return;
    }
    QGuiApplication::restoreOverrideCursor();
    dropQueuedInput();
}

} // namespace

FormServices qtFormServices(QWidget* window)
{
    return {
        [] { return std::make_unique<ProcessCommandRunner>(); },
        [] { return std::make_unique<QtReportFiles>(); },
        [window] {
            return std::make_unique<QtMessageDialog>(
                window != nullptr && window->isVisible() ? window : nullptr);
        },
        showToolRunning,
        [](int status) { QCoreApplication::exit(status); },
    };
}

} // namespace quorvel
