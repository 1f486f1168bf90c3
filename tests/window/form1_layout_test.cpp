#include "window/form1_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace quorvel {

void PrintTo(const PixelRect& r, std::ostream* out)
{
    *out << "{" << r.left << ", " << r.top << ", " << r.width << ", " << r.height << "}";
}

namespace {

TEST(Form1Layout, TwipsBecomePixelsAtTheScreensResolution)
{
    const struct {
        const char* name;
        PixelRect at96;
        PixelRect at144;
    } cases[] = {
        {"LABN", {16, 24, 105, 17}, {24, 36, 158, 26}},
        {"lstCard", {48, 40, 377, 147}, {72, 60, 566, 221}},
        {"cmdSet", {272, 232, 57, 25}, {408, 348, 86, 38}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(twipsToPixels(form1Control(c.name).at, 96, 96), c.at96);
        EXPECT_EQ(twipsToPixels(form1Control(c.name).at, 144, 144), c.at144);
    }
    EXPECT_EQ(twipsToPixels(kClientWidthTwips, 96), 431);
    EXPECT_EQ(twipsToPixels(kClientHeightTwips, 96), 269);
    EXPECT_EQ(twipsToPixels(kClientWidthTwips, 144), 647);
    EXPECT_EQ(twipsToPixels(kClientHeightTwips, 144), 404);
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
