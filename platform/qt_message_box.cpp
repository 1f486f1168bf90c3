#include "qt_message_box.h"

#include <QMessageBox>
#include <QString>

namespace quorvel {

void QtMessageBox::show(const std::string& text, const std::string& title)
{
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(title),
                    QString::fromStdString(text), QMessageBox::Ok, parent_);
    // Texts may quote a report; markup in them must show as typed, not be rendered.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace quorvel
