#pragma once

#include <string>
#include <vector>

namespace lanacfg {

inline constexpr int kMaxLana = 254;

struct Binding {
    int lana = 0;
    std::string protocol;
    std::string adapter;

    bool operator==(const Binding&) const = default;
};

// The NetBIOS bindings of the machine, kept in ascending LANA order, each number once.
class BindingTable {
public:
    // False, and the table unchanged, when the number is already taken.
    bool add(Binding binding);
    const Binding* find(int lana) const;
    // Gives the binding on `from` the number `to`; a binding already on `to` takes `from`,
    // so numbers stay unique. False when no binding is on `from`.
    bool renumber(int from, int to);

    const std::vector<Binding>& bindings() const { return bindings_; }

private:
    std::vector<Binding> bindings_;
};

} // namespace lanacfg
