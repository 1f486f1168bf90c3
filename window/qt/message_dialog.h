#pragma once

#include "window/message_dialog.h"

class QWidget;

namespace quorvel {

// A modal QMessageBox with a single OK button, over the given window while it is shown and
// on its own before that (a failed load) or without one.
class QtMessageDialog : public MessageDialog {
public:
    explicit QtMessageDialog(QWidget* window = nullptr) : window_(window) {}
    void show(const std::string& text, const std::string& title, MessageKind kind) override;

private:
    QWidget* window_;
};

} // namespace quorvel
