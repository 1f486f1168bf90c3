#include "list_box_adapter.h"

#include "inventory/system_interfaces.h"
#include "platform/win32/ansi_text.h"

namespace quorvel {

ListBoxAdapter::ListBoxAdapter(HWND listBox) : listBox_(listBox)
{
}

void ListBoxAdapter::clear()
{
    ::SendMessageW(listBox_, LB_RESETCONTENT, 0, 0);
    rows_.clear();
}

void ListBoxAdapter::append(const std::string& text)
{
    const std::wstring shown = wideFromAnsi(text);
    const LRESULT row =
        ::SendMessageW(listBox_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shown.c_str()));
    if (row == LB_ERR || row == LB_ERRSPACE)
        throw OperationError("Could not add \"" + text + "\" to a list: out of memory");
    rows_.push_back(text);
}

int ListBoxAdapter::rowCount() const
{
    return static_cast<int>(rows_.size());
}

int ListBoxAdapter::highlightedRow() const
{
    const LRESULT row = ::SendMessageW(listBox_, LB_GETCURSEL, 0, 0);
    return row == LB_ERR ? -1 : static_cast<int>(row);
}

std::string ListBoxAdapter::rowText(int row) const
{
    if (row < 0 || row >= rowCount())
        return {};
    return rows_[static_cast<std::size_t>(row)];
}

} // namespace quorvel
