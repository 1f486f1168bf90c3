#include "sample_table.h"

namespace lanacfg {

BindingTable sampleTable()
{
    // A dial-up capable workstation with two network cards; the order is the one the
    // bindings were installed in, so the first NetBEUI card is not on LANA 0.
    BindingTable table;
    table.add({0, "NetBT", "Intel(R) PRO/100 Adapter"});
    table.add({1, "NetBEUI Protocol", "WAN Miniport (NetBEUI, Dial Out)"});
    table.add({2, "NetBEUI Protocol", "3Com EtherLink III Adapter"});
    table.add({3, "NWLink NetBIOS", "3Com EtherLink III Adapter"});
    table.add({4, "NetBEUI Protocol", "Intel(R) PRO/100 Adapter"});
    table.add({5, "NWLink NetBIOS", "Intel(R) PRO/100 Adapter"});
    table.add({6, "NetBT", "3Com EtherLink III Adapter"});
    table.add({7, "NetBT", "WAN Miniport (IP)"});
    return table;
}

} // namespace lanacfg
