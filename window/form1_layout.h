#pragma once

#include <array>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// The main window's layout, the same for every toolkit: positions and sizes in twips
// (1/1440 inch), turned into pixels at the screen's logical resolution.

inline constexpr const char* kFormCaption = "Quorvel";
inline constexpr int kClientWidthTwips = 6465;
inline constexpr int kClientHeightTwips = 4035;

enum class ControlKind { Label, ListBox, PushButton };

struct TwipRect {
    int left;
    int top;
    int width;
    int height;
};

struct ControlLayout {
    const char* name;
    // Stable, so that tests and tools find the control by it (GetDlgItem); clear of IDOK,
    // IDCANCEL and the other ids the dialog manager sends on its own.
    int id;
    ControlKind kind;
    const char* caption;        // empty for the list boxes
    TwipRect at;                // within the client area
    int tabOrder;               // 0 takes the focus first
    bool columnHeading = false; // names the list below it; shown in bold
};

inline constexpr std::array<ControlLayout, 7> kForm1Controls = {{
    {"LABN", 1001, ControlKind::Label, "LANA", {240, 360, 1575, 255}, 4, true},
    {"Label1", 1002, ControlKind::Label, "Network Card", {1920, 360, 1935, 255}, 5, true},
    {"lstLANA", 1003, ControlKind::ListBox, "", {240, 600, 495, 2205}, 3},
    {"lstCard", 1004, ControlKind::ListBox, "", {720, 600, 5655, 2205}, 2},
    {"Label2",
     1005,
     ControlKind::Label,
     "Highlight the Card where you want to set the LANA=O and click set",
     {240, 3000, 6135, 255},
     6},
    {"cmdExit", 1006, ControlKind::PushButton, "Close", {1920, 3480, 855, 375}, 1},
    {"cmdSet", 1007, ControlKind::PushButton, "Set", {4080, 3480, 855, 375}, 0},
}};

// The control of that name. Any other name is a slip: an exception at run time, a compile
// error in a constant expression (a case label).
constexpr const ControlLayout& form1Control(std::string_view name)
{
    for (const ControlLayout& control : kForm1Controls) {
        if (control.name == name)
            return control;
    }
    throw std::logic_error("no control named " + std::string(name) + " in the layout");
}

// Every control, the one that takes the focus first at the front.
std::vector<const ControlLayout*> controlsInTabOrder();

struct PixelRect {
    int left;
    int top;
    int width;
    int height;

    bool operator==(const PixelRect&) const = default;
};

// Rounded to the nearest pixel, halves up.
int twipsToPixels(int twips, double dotsPerInch);
PixelRect twipsToPixels(const TwipRect& rect, double dotsPerInchX, double dotsPerInchY);

} // namespace quorvel
