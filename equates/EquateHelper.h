#pragma once

#include "equates/CodeTemplate.h"
#include "runtime/DialogService.h"
#include "runtime/KeyedFile.h"
#include "runtime/MenuItem.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrix::config {
class Session;
}

// The Equate Helper's rules beside its list: the right-click menu of code
// templates for an equate, the code a choice or a repeat hands to the
// clipboard, what the "See" button shows, the help topic, and the stored
// column widths.
namespace kestrix::equates {

// The popup type of an equate's own menu entries.
std::string equateMenuKey(std::string_view type, std::string_view fullName);

struct EquateMenu final
{
    std::string key;                      // the equate's own popup type
    int typeEntries = 0;                  // the entries from `key`; those after come from "EQUATE BROWSE"
    std::vector<runtime::MenuItem> items; // ids 1, 2, ... over the entries; separators between
};

// Nothing when neither the equate's own menu nor "EQUATE BROWSE" has entries.
std::optional<EquateMenu> equateMenu(runtime::KeyedFile& popups, std::string_view type,
                                     std::string_view fullName);
// The template of entry `choice` with every '|' a line end; blank for an entry that is not there.
std::string equateMenuTemplate(runtime::KeyedFile& popups, const EquateMenu& menu, int choice);

extern const char* const EquateBrowsePopup; // "EQUATE BROWSE"

struct CodeResult final
{
    std::string code;                               // what goes to the clipboard, with its line ends
    std::optional<runtime::MessageRequest> refusal; // why nothing goes
};

// The code of the chosen templates, and the last template for a double-click.
class EquateCoder final
{
public:
    // `pattern` already has its line ends; it becomes the last template.
    CodeResult use(const std::string& pattern, std::string_view fullName);
    // The last template again on another equate ("CANNOT REPEAT" when there is none).
    CodeResult repeat(std::string_view fullName) const;
    bool canRepeat() const { return m_memory.last().has_value(); }

private:
    static CodeResult make(const std::string& pattern, std::string_view fullName);
    TemplateMemory m_memory;
};

// Hands the code to the clipboard in the session's mode: its lines carry their own ends.
// Returns the clipboard text.
std::string handEquateCode(config::Session& session, const std::string& code);

// What the "See" button does for a type.
enum class SeeKind { None, Sound, Cursor, Icon, Warn };
SeeKind seeKindFor(std::string_view type);
// Its caption ("Play &Sound", "&See Cursor", ...); empty for None.
std::string seeCaption(SeeKind kind);

// The system sound of a BEEP: equate; nothing for a value that names none.
std::optional<runtime::SystemSound> beepSound(std::int64_t value);
// The value's four bytes, least significant first, as a cursor or icon value is written.
std::string fourBytes(std::int64_t value);

enum class StockCursor {
    Arrow = 1,
    IBeam,
    Wait,
    Cross,
    UpArrow,
    Size,
    Icon,
    SizeNWSE,
    SizeNESW,
    SizeWE,
    SizeNS
};
// The stock cursor a CURSOR: value names (bytes FFH, 02H, n, 7FH); nothing for any other value.
std::optional<StockCursor> stockCursor(std::int64_t value);
// The stock icon an ICON: value names (bytes FFH, 01H, n, 7FH); nothing for any other value.
std::optional<runtime::MessageIcon> stockIcon(std::int64_t value);
// The box that shows an icon: "Example of NAME", or why the value shows none.
runtime::MessageRequest iconExample(std::string_view fullName, std::int64_t value);
// Why a cursor value shows nothing.
runtime::MessageRequest noCursorMessage(std::string_view fullName);

// The question before a standard warning is shown (the program halts after it).
runtime::MessageRequest warnQuestion(std::string_view fullName);
// The warnings shown for a WARN: code, in order: the texts of the first, then for codes
// 29 and 31 the note and the second form.
struct WarnShow final
{
    int code = 0;
    std::string text1;
    bool alternate = false;
    std::string noteBefore; // shown before this warning, when not empty
};
std::vector<WarnShow> warnSequence(std::int64_t code);

// Where "C&W Help" looks.
struct HelpTarget final
{
    std::string file; // a Windows path; for the program's own help, its name alone
    std::string keyword;
    bool ownHelp = false; // the program's own help file, not the Clarion one
};
HelpTarget equateHelp(std::string_view type, std::string_view fullName, std::string_view clarionRoot);
// The box that says the Clarion help file is missing.
runtime::MessageRequest missingHelpMessage(const HelpTarget& target);

// Column widths as stored in "KTX.INI": three-digit cells, read up to the first zero or
// non-number cell ("###" stores none).
std::vector<int> parseWidthCells(std::string_view cells);
std::string widthCells(const std::vector<int>& widths);

// The window's designed column widths and its layout version.
const std::vector<int>& equateColumnWidths();
constexpr int EquateLayoutVersion = 1;

} // namespace kestrix::equates
