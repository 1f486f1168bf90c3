#pragma once

#include "inventory/adapter_list.h"

#include <windows.h>

#include <string>
#include <vector>

namespace quorvel {

// A LISTBOX (unsorted, single selection) seen as one of the two adapter lists. Each row keeps
// the report's exact bytes beside its displayed text, so a row's text goes back to the
// command line unchanged whatever the ANSI code page makes of it on screen.
class ListBoxAdapter : public AdapterList {
public:
    explicit ListBoxAdapter(HWND listBox);

    void clear() override;
    void append(const std::string& text) override;
    int rowCount() const override;
    int highlightedRow() const override;
    std::string rowText(int row) const override;

private:
    HWND listBox_;
    std::vector<std::string> rows_;
};

} // namespace quorvel
