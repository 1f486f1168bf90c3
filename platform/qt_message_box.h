#pragma once

#include "assignment/message_box.h"

class QWidget;

namespace quorvel {

// A modal QMessageBox with no icon and a single OK button, over the given window.
class QtMessageBox : public MessageBox {
public:
    explicit QtMessageBox(QWidget* parent = nullptr) : parent_(parent) {}
    void show(const std::string& text, const std::string& title) override;

private:
    QWidget* parent_;
};

} // namespace quorvel
