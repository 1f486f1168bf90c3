#include <QApplication>
#include <QLabel>
#include <QWidget>

#include <memory>

// One window and the event loop. The benchmark preloads bench_first_paint_hook, which ends
// the program after its first paint, exactly as it ends quorvel. With MINIMAL_WINDOW_LABEL
// set, the window also shows that text, so the start-up pays for loading fonts as any window
// with text does.
int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(320, 240);
    std::unique_ptr<QLabel> label;
    if (qEnvironmentVariableIsSet("MINIMAL_WINDOW_LABEL"))
        label = std::make_unique<QLabel>(qEnvironmentVariable("MINIMAL_WINDOW_LABEL"), &window);
    window.show();
    return QApplication::exec();
}
