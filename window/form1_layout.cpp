#include "form1_layout.h"

#include <algorithm>
#include <cmath>

namespace quorvel {

namespace {

constexpr double kTwipsPerInch = 1440.0;

} // namespace

std::vector<const ControlLayout*> controlsInTabOrder()
{
    std::vector<const ControlLayout*> controls;
    controls.reserve(kForm1Controls.size());
    for (const ControlLayout& control : kForm1Controls)
        controls.push_back(&control);
    std::sort(controls.begin(), controls.end(), [](const ControlLayout* a, const ControlLayout* b) {
        return a->tabOrder < b->tabOrder;
    });
    return controls;
}

int twipsToPixels(int twips, double dotsPerInch)
{
    return static_cast<int>(std::floor(twips * dotsPerInch / kTwipsPerInch + 0.5));
}

PixelRect twipsToPixels(const TwipRect& rect, double dotsPerInchX, double dotsPerInchY)
{
    return {twipsToPixels(rect.left, dotsPerInchX), twipsToPixels(rect.top, dotsPerInchY),
            twipsToPixels(rect.width, dotsPerInchX), twipsToPixels(rect.height, dotsPerInchY)};
}

} // namespace quorvel
