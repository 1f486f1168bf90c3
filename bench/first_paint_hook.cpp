// Preloaded (LD_PRELOAD) into a Qt Widgets program by the start-up benchmark, and by the Qt
// window's tests to see the real program list the bindings: once the first top-level window
// has painted, it notes the time and ends the program.
//   QUORVEL_BENCH_SHOWN_FILE   where the steady-clock time of that moment is written, in ns
//   QUORVEL_BENCH_FILLED_LISTS object names of lists that must hold rows by then; the
//                              program exits with kListsEmptyStatus when one does not

#include <QApplication>
#include <QEvent>
#include <QListWidget>
#include <QMetaObject>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kListsEmptyStatus = 97;

// Programs the preloaded one starts (the shell, lanacfg) must run as they would unmeasured.
void keepOutOfChildren()
{
    ::unsetenv("LD_PRELOAD");
}
Q_CONSTRUCTOR_FUNCTION(keepOutOfChildren)

bool listsFilled(const QWidget& window)
{
    const QStringList names = qEnvironmentVariable("QUORVEL_BENCH_FILLED_LISTS")
                                  .split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const auto filled = [&window](const QString& name) {
        const auto* list = window.findChild<QListWidget*>(name);
        return list != nullptr && list->count() > 0;
    };
    const auto unfilled = std::ranges::find_if_not(names, filled);
    if (unfilled == names.end())
        return true;
    std::fprintf(stderr, "first_paint_hook: list %s is missing or empty\n", qPrintable(*unfilled));
    return false;
}

void noteShown()
{
    const QByteArray path = qgetenv("QUORVEL_BENCH_SHOWN_FILE");
    if (path.isEmpty())
        return;
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    if (std::FILE* file = std::fopen(path.constData(), "w")) {
        std::fprintf(file, "%lld\n",
                     static_cast<long long>(
                         std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
        std::fclose(file);
    }
}

class FirstPaintQuit : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (done_ || event->type() != QEvent::Paint || !watched->isWidgetType())
            return false;
        const auto* widget = static_cast<QWidget*>(watched);
        if (!widget->isWindow())
            return false;
        done_ = true;
        const int status = listsFilled(*widget) ? EXIT_SUCCESS : kListsEmptyStatus;
        // Queued, so the children of the window have painted too before the time is taken.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [status] {
                noteShown();
                QCoreApplication::exit(status);
            },
            Qt::QueuedConnection);
        return false;
    }

private:
    bool done_ = false;
};

void installFirstPaintQuit()
{
    QCoreApplication* app = QCoreApplication::instance();
    app->installEventFilter(new FirstPaintQuit(app));
}
Q_COREAPP_STARTUP_FUNCTION(installFirstPaintQuit)

} // namespace
