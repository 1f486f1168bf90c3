#include "window_start.h"

#include "window/qt/form1.h"

#include <QApplication>
#include <QRect>
#include <QScreen>

#include <cstdlib>

namespace quorvel {

namespace {

constexpr const char* kDesktopFileName = "org.quorvel.Quorvel";

} // namespace

int startWindow()
{
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopFileName));

    Form1 window;
    if (!window.Form_Load())
        return EXIT_FAILURE;

    const QRect available = window.screen()->availableGeometry();
    window.move(available.center() - window.rect().center());
    window.show();
    return QApplication::exec();
}

} // namespace quorvel
