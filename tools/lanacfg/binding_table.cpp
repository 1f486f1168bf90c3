#include "binding_table.h"

#include <algorithm>

namespace lanacfg {

namespace {

bool lanaBefore(const Binding& binding, int lana)
{
    return binding.lana < lana;
}

} // namespace

bool BindingTable::add(Binding binding)
{
    const auto at = std::lower_bound(bindings_.begin(), bindings_.end(), binding.lana, lanaBefore);
    if (at != bindings_.end() && at->lana == binding.lana)
        return false;
    bindings_.insert(at, std::move(binding));
    return true;
}

const Binding* BindingTable::find(int lana) const
{
    const auto at = std::lower_bound(bindings_.begin(), bindings_.end(), lana, lanaBefore);
    return at != bindings_.end() && at->lana == lana ? &*at : nullptr;
}

bool BindingTable::renumber(int from, int to)
{
    const auto moving = std::find_if(bindings_.begin(), bindings_.end(),
                                     [from](const Binding& b) { return b.lana == from; });
    if (moving == bindings_.end())
        return false;
    const auto holder = std::find_if(bindings_.begin(), bindings_.end(),
                                     [to](const Binding& b) { return b.lana == to; });
    if (holder != bindings_.end())
        holder->lana = from;
    moving->lana = to;
    std::sort(bindings_.begin(), bindings_.end(),
              [](const Binding& a, const Binding& b) { return a.lana < b.lana; });
    return true;
}

} // namespace lanacfg
