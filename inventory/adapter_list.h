#pragma once

#include <string>

namespace quorvel {

// One of the two side-by-side adapter lists (LANA texts, adapter names). These five
// operations are all that the inventory and the assignment ever do with a list.
class AdapterList {
public:
    virtual ~AdapterList() = default;

    virtual void clear() = 0;
    virtual void append(const std::string& text) = 0;
    virtual int rowCount() const = 0;
    // The row the user highlighted, or -1 when none is.
    virtual int highlightedRow() const = 0;
    // Empty text for any index outside 0 .. rowCount() - 1, -1 included.
    virtual std::string rowText(int row) const = 0;
};

} // namespace quorvel
