#pragma once

#include "adapter_list.h"

#include <string>
#include <vector>

namespace quorvel {

// An adapter list with no widget behind it: for unattended use and for tests.
class PlainAdapterList : public AdapterList {
public:
    void clear() override;
    void append(const std::string& text) override;
    int rowCount() const override;
    int highlightedRow() const override;
    std::string rowText(int row) const override;

    void highlight(int row);
    const std::vector<std::string>& rows() const { return rows_; }

private:
    std::vector<std::string> rows_;
    int highlighted_ = -1;
};

} // namespace quorvel
