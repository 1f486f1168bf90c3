#include <QApplication>
#include <QWidget>

// One empty window and the event loop. The benchmark preloads bench_first_paint_hook,
// which ends the program after its first paint, exactly as it ends quorvel.
int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(320, 240);
    window.show();
    return QApplication::exec();
}
