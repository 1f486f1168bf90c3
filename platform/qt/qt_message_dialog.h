#pragma once

#include "assignment/message_dialog.h"

class QWidget;

namespace quorvel {

// A modal QMessageBox with a single OK button over the given window (or on its own).
class QtMessageDialog : public MessageDialog {
public:
    explicit QtMessageDialog(QWidget* parent = nullptr) : parent_(parent) {}
    void show(const std::string& text, const std::string& title, MessageKind kind) override;

private:
    QWidget* parent_;
};

} // namespace quorvel
