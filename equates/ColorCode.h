#pragma once

#include "runtime/MenuItem.h"

#include <array>
#include <string>
#include <vector>

// The Clarion code for the colours applied to one sample object, in the three
// forms the Color Designer offers.
namespace kestrix::equates {

enum class ColorCodeForm { ColorEquates = 1, ControlColor = 2, PropColor = 3 };

// "Color Equates|Control COLOR()|Control PROP:Color", ids as ColorCodeForm.
std::vector<runtime::MenuItem> colorCodeMenu();

// The roles of a colour, in the order of the code slots.
enum ColorRole : int { Foreground, Background, SelectedForeground, SelectedBackground, Grid, RoleCount };

struct ColorCodeInput final
{
    std::string object; // display text: "Entry1", "Column 2", "Cell 2,3"
    bool isButton = false;
    int roles = 4; // how many slots the object has: 4, or 5 with the grid
    // The colour names per role as the lists show them ("Red", "<none>", "00FF8040H"); empty when unset.
    std::array<std::string, RoleCount> names;
};

// One code slot: blank or "<none>" is COLOR:None, a number stays as it is, a name gets "COLOR:".
std::string colorSlot(const std::string& name);

std::vector<std::string> colorCode(const ColorCodeInput& input, ColorCodeForm form);

} // namespace kestrix::equates
