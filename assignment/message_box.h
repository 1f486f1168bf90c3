#pragma once

#include <string>

namespace quorvel {

// A modal message with a single OK button and no icon; returns once the user closed it.
class MessageBox {
public:
    virtual ~MessageBox() = default;
    virtual void show(const std::string& text, const std::string& title) = 0;
};

} // namespace quorvel
