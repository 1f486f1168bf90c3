#include "plain_adapter_list.h"

namespace quorvel {

void PlainAdapterList::clear()
{
    rows_.clear();
    highlighted_ = -1;
}

void PlainAdapterList::append(const std::string& text)
{
    rows_.push_back(text);
}

int PlainAdapterList::rowCount() const
{
    return static_cast<int>(rows_.size());
}

int PlainAdapterList::highlightedRow() const
{
    return highlighted_;
}

std::string PlainAdapterList::rowText(int row) const
{
    if (row < 0 || row >= rowCount())
        return {};
    return rows_[static_cast<std::size_t>(row)];
}

void PlainAdapterList::highlight(int row)
{
    highlighted_ = (row >= 0 && row < rowCount()) ? row : -1;
}

} // namespace quorvel
