#pragma once

#include <string>

namespace quorvel {

enum class MessageKind {
    Plain,   // no icon: the warning of an empty card list
    Error,   // the error icon: an error that ends the program
    Warning, // the warning icon: a change that did not take; the program goes on
};

// A modal message box with a single OK button; returns once the user has closed it. Texts
// may quote a report's bytes and are shown as plain text, decoded as the lists decode them.
class MessageDialog {
public:
    virtual ~MessageDialog() = default;
    virtual void show(const std::string& text, const std::string& title, MessageKind kind) = 0;
};

} // namespace quorvel
