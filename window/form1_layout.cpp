#include "form1_layout.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace quorvel {

namespace {

constexpr double kTwipsPerInch = 1440.0;

} // namespace

const ControlLayout& form1Control(std::string_view name)
{
    const auto* found = std::find_if(kForm1Controls.begin(), kForm1Controls.end(),
                                     [name](const ControlLayout& c) { return c.name == name; });
    if (found == kForm1Controls.end())
        throw std::logic_error("no control named " + std::string(name) + " in the layout");
    return *found;
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
