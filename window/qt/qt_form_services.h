#pragma once

#include "window/form_services.h"

class QWidget;

namespace quorvel {

// The window's services on Qt: QProcess runner, report files on QtCore, QMessageBox over the
// window while it is shown, the wait cursor, and QCoreApplication::exit.
FormServices qtFormServices(QWidget* window);

} // namespace quorvel
