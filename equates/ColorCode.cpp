#include "equates/ColorCode.h"

#include "runtime/FixedText.h"

#include <cctype>

namespace kestrix::equates {

std::vector<runtime::MenuItem> colorCodeMenu()
{
    return {{static_cast<int>(ColorCodeForm::ColorEquates), "Color Equates", true},
            {static_cast<int>(ColorCodeForm::ControlColor), "Control COLOR()", true},
            {static_cast<int>(ColorCodeForm::PropColor), "Control PROP:Color", true}};
}

std::string colorSlot(const std::string& name)
{
    const std::string clipped(runtime::trim(name));
    if (clipped.empty() || clipped == "<none>")
        return "COLOR:None";
    if (std::isdigit(static_cast<unsigned char>(clipped.front())))
        return clipped;
    return "COLOR:" + clipped;
}

std::vector<std::string> colorCode(const ColorCodeInput& input, ColorCodeForm form)
{
    std::array<std::string, RoleCount> slot;
    for (int r = 0; r < RoleCount; ++r)
        slot[r] = r < input.roles ? colorSlot(input.names[r]) : std::string();
    const std::string& obj = input.object;
    std::vector<std::string> lines;
    switch (form) {
    case ColorCodeForm::ColorEquates: {
        std::string line = obj + ": " + slot[Foreground] + " " + slot[Background] + " " +
                           slot[SelectedForeground] + " " + slot[SelectedBackground] + "    " + slot[Grid];
        if (input.isButton)
            line += " , ICON(ICON:None)";
        lines.emplace_back(runtime::rtrim(line));
        break;
    }
    case ColorCodeForm::ControlColor:
        if (input.isButton) {
            lines.push_back(obj + ": FONT(,," + slot[Foreground] + ")" + " , ICON(ICON:None)");
            break;
        }
        lines.push_back(obj + ": FONT(,," + slot[Foreground] + ")," + " COLOR(" + slot[Background] + "," +
                        slot[SelectedForeground] + "," + slot[SelectedBackground] + ")" +
                        (slot[Grid].empty() ? "" : ", GRID(" + slot[Grid] + ")"));
        break;
    case ColorCodeForm::PropColor:
        lines.push_back(obj + ":");
        lines.push_back("  ??{PROP:FontColor}=" + slot[Foreground]);
        if (input.isButton) {
            lines.emplace_back("  ??{PROP:Icon}     =ICON:None");
            break;
        }
        lines.push_back("  ??{PROP:Color,1}  =" + slot[Background]);
        if (!slot[SelectedForeground].empty())
            lines.push_back("  ??{PROP:Color,2}  =" + slot[SelectedForeground]);
        if (!slot[SelectedBackground].empty())
            lines.push_back("  ??{PROP:Color,3}  =" + slot[SelectedBackground]);
        if (!slot[Grid].empty())
            lines.push_back("  ??{PROPLIST:Grid} =" + slot[Grid]);
        break;
    }
    return lines;
}

} // namespace kestrix::equates
