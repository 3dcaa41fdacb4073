#pragma once

#include "equates/ColorCode.h"
#include "runtime/DialogService.h"
#include "runtime/FileError.h"
#include "runtime/KeyedFile.h"

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

// The Color Designer's state: the colours of the equates file (types "Color"
// and "Color Win") plus "<none>", the colours picked in the five lists, the
// colours applied to each object of the sample window, and the custom colours
// added to and deleted from the equates file.
namespace kestrix::equates {

constexpr std::int32_t NoColor = -1;

struct ColorEntry final
{
    std::string name; // full equate name, "COLOR:Red"; empty for "<none>"
    std::int32_t value = NoColor;
    std::string display; // "Red", "<none>", "00FF8040H"
};

// The sample objects in the order of the "&Object:" list.
enum class SampleObject {
    List,
    Column,
    Row,
    Cell,
    Tab1,
    Entry1,
    Prompt1,
    String1,
    Button1,
    Tab2,
    Entry2,
    Prompt2,
    String2,
    Button2,
    Tab3,
    None
};
constexpr int SampleObjectCount = 16;
const char* sampleObjectName(SampleObject object);
// By its list name, case ignored.
std::optional<SampleObject> sampleObjectNamed(const std::string& name);
bool isListPart(SampleObject object);

constexpr int SampleRows = 6;
constexpr int SampleColumns = 3;

// Four colours of one control or cell: foreground, background, selected foreground, selected background.
using ColorQuad = std::array<std::int32_t, 4>;
constexpr ColorQuad NoColors{NoColor, NoColor, NoColor, NoColor};

// A colour name as the custom colours are named: eight upper-case hex digits and "H".
std::string customColorName(std::int32_t value);
// The text of the colour dialog.
constexpr const char* CustomColorDialogTitle = "Select Custom Color For List Box";

// What an operation changed and what to tell the user.
struct ColorOutcome final
{
    bool changed = false;
    std::optional<runtime::MessageRequest> message;
};

class ColorDesigner final
{
public:
    explicit ColorDesigner(runtime::KeyedFile& equates);

    // Reads the colours; the list then holds at least "<none>".
    runtime::FileError load();
    const std::vector<ColorEntry>& colors() const { return m_colors; }
    int noneIndex() const { return static_cast<int>(m_colors.size()) - 1; }
    // By display name, case ignored; -1 when there is none.
    int indexOf(const std::string& display) const;

    void setObject(SampleObject object) { m_object = object; }
    SampleObject object() const { return m_object; }
    // The current row and column of the sample list (1-based), which "Row", "Column" and "Cell" act on.
    void setListPosition(int row, int column);
    int listRow() const { return m_row; }
    int listColumn() const { return m_column; }
    // "Entry1", "Column 2", "Row 4", "Cell 2,4" (column, then row).
    std::string objectText() const;

    void select(ColorRole role, int index);
    int selected(ColorRole role) const { return m_selected[role]; }

    // Records the picked colours for the current object and shows them on the sample.
    void apply();
    // Picks again the colours applied to the current object; the message when none were.
    std::optional<runtime::MessageRequest> resetToObject();
    // "<none>" in every list, and the object loses its colours.
    void resetToNone();
    // The lines "To &Clip" hands to the clipboard for the current object.
    std::vector<std::string> code(ColorCodeForm form) const;
    ColorCodeInput codeInput() const;

    // What the sample shows: a control's colours (List: the sample list and both drop lists),
    // one cell of the sample list, and the list's grid.
    ColorQuad controlColors(SampleObject object) const;
    ColorQuad cellColors(int row, int column) const;
    std::int32_t gridColor() const { return m_grid; }

    // "Add C&ustom Color" with the value picked in the colour dialog.
    ColorOutcome addCustom(std::int64_t value);
    // "&Delete Color Selected Above": the question to ask, and whether a Yes may delete.
    runtime::MessageRequest deleteQuestion(bool& mayDelete) const;
    // After the user's Yes: deletes the colour selected in "Selected Background".
    ColorOutcome deleteSelected();

private:
    struct Applied
    {
        std::array<std::string, RoleCount> names;
        std::array<std::int32_t, RoleCount> values{NoColor, NoColor, NoColor, NoColor, NoColor};
    };
    void show(const Applied& applied);
    void removeColor(int index);

    runtime::KeyedFile& m_file;
    std::vector<ColorEntry> m_colors{{"", NoColor, "<none>"}};
    SampleObject m_object = SampleObject::List;
    int m_row = 1;
    int m_column = 1;
    std::array<int, RoleCount> m_selected{0, 0, 0, 0, 0};
    std::map<std::string, Applied> m_applied; // by the object's display text
    std::map<SampleObject, ColorQuad> m_controls;
    std::array<std::array<ColorQuad, SampleColumns>, SampleRows> m_cells{};
    std::int32_t m_grid = NoColor;
};

} // namespace kestrix::equates
