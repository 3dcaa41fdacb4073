#include "equates/ColorDesigner.h"

#include "data/FileErrorMessage.h"
#include "equates/EquateRecord.h"
#include "runtime/FixedText.h"

#include <cctype>

namespace kestrix::equates {

namespace {

constexpr const char* CustomCaption = "CUSTOM COLOR";
constexpr const char* DeleteCaption = "CONFIRM DELETE COLOR";
constexpr std::int64_t LargestColor = 0x00FFFFFF;

const char* const ObjectNames[SampleObjectCount] = {
    "List",    "Column", "Row",    "Cell",    "Tab1",    "Entry1",  "Prompt1", "String1",
    "Button1", "Tab2",   "Entry2", "Prompt2", "String2", "Button2", "Tab3",    "None"};

runtime::MessageRequest box(std::string text, const char* caption, runtime::MessageIcon icon,
                            unsigned buttons = runtime::Button::Ok)
{
    runtime::MessageRequest request;
    request.text = std::move(text);
    request.caption = caption;
    request.icon = icon;
    request.buttons = buttons;
    request.defaultButton = runtime::firstButton(buttons);
    return request;
}

bool isCustomName(const std::string& display)
{
    return !display.empty() && std::isdigit(static_cast<unsigned char>(display.front()));
}

} // namespace

const char* sampleObjectName(SampleObject object)
{
    return ObjectNames[static_cast<int>(object)];
}

std::optional<SampleObject> sampleObjectNamed(const std::string& name)
{
    for (int i = 0; i < SampleObjectCount; ++i) {
        if (runtime::sameTextNoCase(name, ObjectNames[i]))
            return static_cast<SampleObject>(i);
    }
    return std::nullopt;
}

bool isListPart(SampleObject object)
{
    return object == SampleObject::List || object == SampleObject::Column || object == SampleObject::Row ||
           object == SampleObject::Cell;
}

std::string customColorName(std::int32_t value)
{
    static const char Digits[] = "0123456789ABCDEF";
    const auto bits = static_cast<std::uint32_t>(value);
    std::string name;
    for (int shift = 28; shift >= 0; shift -= 4)
        name += Digits[(bits >> shift) & 0xF];
    return name + "H";
}

ColorDesigner::ColorDesigner(runtime::KeyedFile& equates) : m_file(equates)
{
    for (auto& row : m_cells)
        row.fill(NoColors);
}

runtime::FileError ColorDesigner::load()
{
    std::vector<ColorEntry> colors;
    runtime::Record r = m_file.newRecord();
    r.setText(Equ::Type, "Color");
    m_file.setFrom(Equ::ByType, r);
    runtime::FileError error;
    // "Color" and "Color Win" sort before "ColorWin"; nothing after it is a colour.
    while ((error = m_file.next(r)).ok()) {
        if (runtime::upper(r.text(Equ::Type)) > "COLORWIN")
            break;
        if (runtime::upper(r.text(Equ::Name)) == "COLOR:NONE")
            continue;
        colors.push_back(
            {r.text(Equ::Name), static_cast<std::int32_t>(r.number(Equ::Long)), r.text(Equ::SearchName)});
    }
    colors.push_back({"", NoColor, "<none>"});
    m_colors = std::move(colors);
    m_selected.fill(noneIndex());
    // Running off the end of the file is the end of the colours, not a failure.
    if (error.code == runtime::ErrorCode::RecordNotAvailable || error.ok())
        return runtime::FileError::none();
    return error;
}

int ColorDesigner::indexOf(const std::string& display) const
{
    for (std::size_t i = 0; i < m_colors.size(); ++i) {
        if (runtime::sameTextNoCase(m_colors[i].display, display))
            return static_cast<int>(i);
    }
    return -1;
}

void ColorDesigner::setListPosition(int row, int column)
{
    if (row >= 1 && row <= SampleRows)
        m_row = row;
    if (column >= 1 && column <= SampleColumns)
        m_column = column;
}

std::string ColorDesigner::objectText() const
{
    switch (m_object) {
    case SampleObject::Column:
        return "Column " + std::to_string(m_column);
    case SampleObject::Row:
        return "Row " + std::to_string(m_row);
    case SampleObject::Cell:
        return "Cell " + std::to_string(m_column) + "," + std::to_string(m_row);
    default:
        return sampleObjectName(m_object);
    }
}

void ColorDesigner::select(ColorRole role, int index)
{
    if (index >= 0 && index < static_cast<int>(m_colors.size()))
        m_selected[role] = index;
}

void ColorDesigner::show(const Applied& applied)
{
    const ColorQuad quad{applied.values[Foreground], applied.values[Background],
                         applied.values[SelectedForeground], applied.values[SelectedBackground]};
    switch (m_object) {
    case SampleObject::Column:
        for (auto& row : m_cells)
            row[m_column - 1] = quad;
        break;
    case SampleObject::Row:
        m_cells[m_row - 1].fill(quad);
        break;
    case SampleObject::Cell:
        m_cells[m_row - 1][m_column - 1] = quad;
        break;
    default:
        m_controls[m_object] = quad;
        break;
    }
    if (isListPart(m_object))
        m_grid = applied.values[Grid];
}

void ColorDesigner::apply()
{
    Applied applied;
    const int roles = isListPart(m_object) ? RoleCount : Grid;
    for (int r = 0; r < roles; ++r) {
        const ColorEntry& color = m_colors[m_selected[r]];
        applied.names[r] = color.display;
        applied.values[r] = color.value;
    }
    show(applied);
    m_applied[objectText()] = applied;
}

std::optional<runtime::MessageRequest> ColorDesigner::resetToObject()
{
    const auto found = m_applied.find(objectText());
    if (found == m_applied.end())
        return box("You have not applied any colors to: " + runtime::fitted(objectText(), 12),
                   "NO COLOR APPLIED", runtime::MessageIcon::Exclamation);
    for (int r = 0; r < RoleCount; ++r) {
        const int index = indexOf(found->second.names[r]);
        m_selected[r] = index >= 0 ? index : noneIndex();
    }
    return std::nullopt;
}

void ColorDesigner::resetToNone()
{
    m_selected.fill(noneIndex());
    show(Applied{});
    m_applied.erase(objectText());
}

ColorCodeInput ColorDesigner::codeInput() const
{
    ColorCodeInput input;
    input.object = objectText();
    input.isButton = m_object == SampleObject::Button1 || m_object == SampleObject::Button2;
    input.roles = isListPart(m_object) ? RoleCount : Grid;
    if (const auto found = m_applied.find(input.object); found != m_applied.end())
        input.names = found->second.names;
    return input;
}

std::vector<std::string> ColorDesigner::code(ColorCodeForm form) const
{
    return colorCode(codeInput(), form);
}

ColorQuad ColorDesigner::controlColors(SampleObject object) const
{
    const auto found = m_controls.find(object);
    return found == m_controls.end() ? NoColors : found->second;
}

ColorQuad ColorDesigner::cellColors(int row, int column) const
{
    if (row < 1 || row > SampleRows || column < 1 || column > SampleColumns)
        return NoColors;
    return m_cells[row - 1][column - 1];
}

ColorOutcome ColorDesigner::addCustom(std::int64_t value)
{
    for (int i = 0; i < noneIndex(); ++i) {
        if (m_colors[i].value == value)
            return {false, box("That color is already loaded and |is named: " + m_colors[i].display,
                               CustomCaption, runtime::MessageIcon::Exclamation)};
    }
    if (value < 0)
        return {false, box("Windows Standard colors are already loaded", CustomCaption,
                           runtime::MessageIcon::Exclamation)};
    if (value > LargestColor)
        return {false, box("A color is at most 00FFFFFFH (blue, green and red, one byte each)", CustomCaption,
                           runtime::MessageIcon::Exclamation)};
    const auto color = static_cast<std::int32_t>(value);
    const std::string name = customColorName(color);
    runtime::Record r = m_file.newRecord();
    r.setText(Equ::Type, "Color");
    for (int field : {Equ::SearchName, Equ::Name, Equ::Equate, Equ::Hex})
        r.setText(field, name);
    r.setNumber(Equ::Long, color);
    r.setText(Equ::File, "Color");
    r.setNumber(Equ::LoadSeq, 0);
    if (const runtime::FileError error = m_file.add(r))
        return {false, box("An error occured while adding a New Color to the Equates file||Error: " +
                               error.describe(),
                           "FILE ADD ERROR", runtime::MessageIcon::Asterisk)};
    m_colors.insert(m_colors.end() - 1, ColorEntry{name, color, name});
    // The selections point at rows; "<none>" moved down by one.
    for (int& s : m_selected) {
        if (s == noneIndex() - 1)
            s = noneIndex();
    }
    return {true, std::nullopt};
}

runtime::MessageRequest ColorDesigner::deleteQuestion(bool& mayDelete) const
{
    const ColorEntry& color = m_colors[m_selected[SelectedBackground]];
    mayDelete = isCustomName(color.display);
    if (!mayDelete)
        return box("For now I don't let you delete standard color equates||Name: " + color.display,
                   DeleteCaption, runtime::MessageIcon::Question);
    return box("Do you want to delete the below color from your list?||Name: " + color.display +
                   "|Equate: " + color.name + "|",
               DeleteCaption, runtime::MessageIcon::Question, runtime::Button::Yes | runtime::Button::No);
}

ColorOutcome ColorDesigner::deleteSelected()
{
    const int index = m_selected[SelectedBackground];
    const ColorEntry color = m_colors[index];
    if (!isCustomName(color.display))
        return {};
    runtime::Record r = m_file.newRecord();
    r.setText(Equ::Type, "Color");
    r.setText(Equ::SearchName, color.display);
    runtime::FileError error = m_file.get(Equ::ByType, r);
    if (error.ok())
        error = m_file.remove(r);
    if (error)
        return {false, data::fileErrorMessage("EQUATE DELETE ERROR", "An error occured while Deleting Color",
                                              m_file.name() + " ", error, runtime::Button::Ok,
                                              runtime::MessageIcon::Asterisk)};
    removeColor(index);
    return {true, std::nullopt};
}

void ColorDesigner::removeColor(int index)
{
    m_colors.erase(m_colors.begin() + index);
    for (int& s : m_selected) {
        if (s == index)
            s = noneIndex();
        else if (s > index)
            --s;
    }
}

} // namespace kestrix::equates
