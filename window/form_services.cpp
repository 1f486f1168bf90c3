#include "form_services.h"

#include "platform/process_command_runner.h"
#include "platform/qt_message_box.h"
#include "platform/qt_report_files.h"

#include <QMessageBox>
#include <QString>

namespace quorvel {

namespace {

constexpr const char* kErrorTitle = "Quorvel";

void showCriticalBox(QWidget* window, const std::string& message)
{
    // Error texts may quote the report's bytes: decoded the way the lists do, and shown as
    // plain text, so that nothing in them is taken for markup.
    QMessageBox box(QMessageBox::Critical, QString::fromLatin1(kErrorTitle),
                    QString::fromLocal8Bit(message.data(), static_cast<qsizetype>(message.size())),
                    QMessageBox::Ok, window);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace

FormServices platformServices()
{
    return {
        [] { return std::make_unique<ProcessCommandRunner>(); },
        [] { return std::make_unique<QtReportFiles>(); },
        [](QWidget* window) { return std::make_unique<QtMessageBox>(window); },
        showCriticalBox,
    };
}

} // namespace quorvel
