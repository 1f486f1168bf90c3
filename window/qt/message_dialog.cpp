#include "message_dialog.h"

#include <QMessageBox>
#include <QString>
#include <QWidget>

namespace quorvel {

namespace {

QString fromReportBytes(const std::string& text)
{
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

void QtMessageDialog::show(const std::string& text, const std::string& title, MessageKind kind)
{
    QWidget* over = window_ != nullptr && window_->isVisible() ? window_ : nullptr;
    const QMessageBox::Icon icon = kind == MessageKind::Error     ? QMessageBox::Critical
                                   : kind == MessageKind::Warning ? QMessageBox::Warning
                                                                  : QMessageBox::NoIcon;
    QMessageBox box(icon, fromReportBytes(title), fromReportBytes(text), QMessageBox::Ok, over);
    // Texts may quote a report; markup in them must show as typed, not be rendered.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace quorvel
