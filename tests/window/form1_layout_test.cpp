#include "window/form1_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace quorvel {

void PrintTo(const PixelRect& r, std::ostream* out)
{
    *out << "{" << r.left << ", " << r.top << ", " << r.width << ", " << r.height << "}";
}

namespace {

// The one rule the views' placement tests take on trust: twips to the nearest pixel, halves
// up. At 96 DPI a twip is a fifteenth of a pixel, at 144 a tenth.
TEST(Form1Layout, TwipsBecomeTheNearestPixelWithHalvesUp)
{
    const struct {
        int twips;
        double dpi;
        int pixels;
    } cases[] = {
        {0, 96, 0},    {7, 96, 0},      {8, 96, 1},      {1440, 96, 96},  {6465, 96, 431},
        {4, 144, 0},   {5, 144, 1},     {15, 144, 2},    {4035, 144, 404}, {1575, 144, 158},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.twips) + " twips at " + std::to_string(c.dpi));
        EXPECT_EQ(twipsToPixels(c.twips, c.dpi), c.pixels);
    }
    // Across and down each at its own resolution.
    EXPECT_EQ(twipsToPixels(TwipRect{15, 30, 45, 60}, 96, 144), (PixelRect{1, 3, 3, 6}));
}

TEST(Form1Layout, TabOrderPutsSetFirstAndEveryControlOnce)
{
    const std::vector<const ControlLayout*> order = controlsInTabOrder();
    ASSERT_EQ(order.size(), kForm1Controls.size());
    EXPECT_STREQ(order.front()->name, "cmdSet");
    for (std::size_t i = 1; i < order.size(); ++i)
        EXPECT_LT(order[i - 1]->tabOrder, order[i]->tabOrder);
}

TEST(Form1Layout, EveryControlFitsTheClientAreaAndTabOrdersAreDistinct)
{
    std::set<int> tabOrders;
    for (const ControlLayout& control : kForm1Controls) {
        SCOPED_TRACE(control.name);
        EXPECT_LE(control.at.left + control.at.width, kClientWidthTwips);
        EXPECT_LE(control.at.top + control.at.height, kClientHeightTwips);
        tabOrders.insert(control.tabOrder);
    }
    EXPECT_EQ(tabOrders.size(), kForm1Controls.size());
    EXPECT_EQ(form1Control("cmdSet").tabOrder, 0);
}

} // namespace
} // namespace quorvel
