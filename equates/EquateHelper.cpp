#include "equates/EquateHelper.h"

#include "config/Session.h"
#include "data/StandardWarning.h"
#include "equates/PopupLoader.h"
#include "runtime/FixedText.h"

#include <array>
#include <cstdio>

namespace kestrix::equates {

const char* const EquateBrowsePopup = "EQUATE BROWSE";

namespace {

bool startsWith(std::string_view text, std::string_view start)
{
    return text.substr(0, start.size()) == start;
}

} // namespace

std::string equateMenuKey(std::string_view type, std::string_view fullName)
{
    const std::string upperType = runtime::upper(runtime::rtrim(type));
    const std::string upperName = runtime::upper(fullName);
    std::string key = "EQ:" + upperType;
    if (startsWith(upperName, "COLOR:"))
        key = "EQ:COLOR";
    if (startsWith(upperName, "EVENT:") || (upperName.size() >= 8 && upperName.substr(2, 6) == "EVENT:"))
        key = "EQ:EVENT";
    if (upperType.find("PICS") != std::string::npos)
        key = "EQ:PICS";
    return key;
}

std::optional<EquateMenu> equateMenu(runtime::KeyedFile& popups, std::string_view type,
                                     std::string_view fullName)
{
    EquateMenu menu;
    menu.key = equateMenuKey(type, fullName);
    int id = 0;
    if (const auto own = popupMenu(popups, menu.key)) {
        for (const std::string& text : own->items)
            menu.items.push_back({++id, text, true});
        menu.typeEntries = id;
    }
    if (const auto common = popupMenu(popups, EquateBrowsePopup)) {
        if (!menu.items.empty())
            menu.items.push_back({runtime::SeparatorId, "-", true});
        for (const std::string& text : common->items)
            menu.items.push_back({++id, text, true});
    }
    if (menu.items.empty())
        return std::nullopt;
    return menu;
}

std::string equateMenuTemplate(runtime::KeyedFile& popups, const EquateMenu& menu, int choice)
{
    if (choice > menu.typeEntries)
        return popupTemplate(popups, EquateBrowsePopup, choice - menu.typeEntries, "|");
    return popupTemplate(popups, menu.key, choice, "|");
}

CodeResult EquateCoder::make(const std::string& pattern, std::string_view fullName)
{
    CodeResult result;
    result.code = fillTemplate(pattern, runtime::rtrim(fullName)) + " \r\n";
    if (const std::string tooLong = lineTooLongText(result.code, "the code"); !tooLong.empty()) {
        result.refusal = runtime::MessageRequest{tooLong, "LINE TOO LONG", runtime::MessageIcon::Exclamation,
                                                 runtime::Button::Ok, runtime::Button::Ok};
        result.code.clear();
    }
    return result;
}

CodeResult EquateCoder::use(const std::string& pattern, std::string_view fullName)
{
    m_memory.remember(pattern);
    return make(pattern, fullName);
}

CodeResult EquateCoder::repeat(std::string_view fullName) const
{
    if (!m_memory.last()) {
        CodeResult result;
        result.refusal = runtime::MessageRequest{
            "A double click repeats the last operation. |But there was no last operation.", "CANNOT REPEAT",
            runtime::MessageIcon::Exclamation, runtime::Button::Ok, runtime::Button::Ok};
        return result;
    }
    return make(*m_memory.last(), fullName);
}

std::string handEquateCode(config::Session& session, const std::string& code)
{
    const std::vector<std::string> lines = splitKeepingLineEnds(code);
    return session.putCodeOnClipboard(
        lines, session.modes().clipAddMode ? clipboard::ClipMode::Add : clipboard::ClipMode::Change, false);
}

SeeKind seeKindFor(std::string_view type)
{
    const std::string upperType = runtime::upper(type);
    if (startsWith(upperType, "BEEP"))
        return SeeKind::Sound;
    if (startsWith(upperType, "CURSOR"))
        return SeeKind::Cursor;
    if (startsWith(upperType, "ICON"))
        return SeeKind::Icon;
    if (startsWith(upperType, "WARN"))
        return SeeKind::Warn;
    return SeeKind::None;
}

std::string seeCaption(SeeKind kind)
{
    switch (kind) {
    case SeeKind::Sound:
        return "Play &Sound";
    case SeeKind::Cursor:
        return "&See Cursor";
    case SeeKind::Icon:
        return "&See Icon";
    case SeeKind::Warn:
        return "&See Warn";
    case SeeKind::None:
        break;
    }
    return {};
}

std::optional<runtime::SystemSound> beepSound(std::int64_t value)
{
    switch (value) {
    case 0x00:
        return runtime::SystemSound::Default;
    case 0x10:
        return runtime::SystemSound::Hand;
    case 0x20:
        return runtime::SystemSound::Question;
    case 0x30:
        return runtime::SystemSound::Exclamation;
    case 0x40:
        return runtime::SystemSound::Asterisk;
    default:
        return std::nullopt;
    }
}

std::string fourBytes(std::int64_t value)
{
    const auto bits = static_cast<std::uint32_t>(value);
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
    return bytes;
}

namespace {
// The index of a stock resource of `kind` (1 icon, 2 cursor) in the bytes FFH, kind, n, 7FH.
std::optional<int> stockIndex(std::int64_t value, unsigned char kind)
{
    const std::string bytes = fourBytes(value);
    if (static_cast<unsigned char>(bytes[0]) != 0xFF || static_cast<unsigned char>(bytes[1]) != kind ||
        static_cast<unsigned char>(bytes[3]) != 0x7F)
        return std::nullopt;
    return static_cast<unsigned char>(bytes[2]);
}
} // namespace

std::optional<StockCursor> stockCursor(std::int64_t value)
{
    const auto index = stockIndex(value, 2);
    if (!index || *index < static_cast<int>(StockCursor::Arrow) ||
        *index > static_cast<int>(StockCursor::SizeNS))
        return std::nullopt;
    return static_cast<StockCursor>(*index);
}

std::optional<runtime::MessageIcon> stockIcon(std::int64_t value)
{
    const auto index = stockIndex(value, 1);
    if (!index)
        return std::nullopt;
    switch (*index) {
    case 1:
        return runtime::MessageIcon::None; // the application's own icon
    case 2:
        return runtime::MessageIcon::Hand;
    case 3:
        return runtime::MessageIcon::Question;
    case 4:
        return runtime::MessageIcon::Exclamation;
    case 5:
        return runtime::MessageIcon::Asterisk;
    default:
        return std::nullopt;
    }
}

runtime::MessageRequest iconExample(std::string_view fullName, std::int64_t value)
{
    const std::string name(runtime::rtrim(fullName));
    if (const auto icon = stockIcon(value))
        return {"Example of " + name, name, *icon, runtime::Button::Ok, runtime::Button::Ok};
    return {name + " names no stock icon that can be shown here: its value is not an icon code.", "NO ICON",
            runtime::MessageIcon::Asterisk, runtime::Button::Ok, runtime::Button::Ok};
}

runtime::MessageRequest noCursorMessage(std::string_view fullName)
{
    return {runtime::clip(fullName) +
                " names no stock cursor that can be shown here: its value is not a cursor code.",
            "NO CURSOR", runtime::MessageIcon::Asterisk, runtime::Button::Ok, runtime::Button::Ok};
}

runtime::MessageRequest warnQuestion(std::string_view fullName)
{
    return {"I can show you this Standard Warning:|" + runtime::clip(fullName) +
                "|But then it will HALT Kestrix.||Do you want see it, (then Halt)?",
            "I can show you, but then I'll have to kill you", runtime::MessageIcon::Hand,
            runtime::Button::Yes | runtime::Button::No, runtime::Button::No};
}

std::vector<WarnShow> warnSequence(std::int64_t code)
{
    std::vector<WarnShow> shows = {{static_cast<int>(code), ">>Text1<<", false, {}}};
    if (code == data::Warn::EndOfASCIIQueue || code == data::Warn::ProcessActionError) {
        const std::string text = code == data::Warn::EndOfASCIIQueue ? "Down" : "Put";
        shows.push_back({static_cast<int>(code), text, true,
                         "This standard warning shows a different message if Text 1 is sent as: " + text});
    }
    return shows;
}

HelpTarget equateHelp(std::string_view type, std::string_view fullName, std::string_view clarionRoot)
{
    struct Rule
    {
        const char* prefix;
        const char* keyword; // nullptr: the full name
        const char* file;    // nullptr: the Clarion help
    };
    static constexpr std::array rules = {
        Rule{"BEEP", "BEEP", nullptr},
        Rule{"BUTTON", "MESSAGE", nullptr},
        Rule{"COLOR", "COLOR", nullptr},
        Rule{"CREATE", "CREATE", nullptr},
        Rule{"CURSOR", "CURSOR", nullptr},
        Rule{"DATE FMT", "Date Pictures", nullptr},
        Rule{"DDE", "DDEREAD", nullptr},
        Rule{"DUPLEX", "PROPPRINT:Duplex", nullptr},
        Rule{"ERRORS", "Error  ?", nullptr},
        Rule{"FF_", "DIRECTORY", nullptr},
        Rule{"FILE", "FILEDIALOG", nullptr},
        Rule{"FONTMODE", "PROPPRINT:FontMode", nullptr},
        Rule{"FONT", "FONT", nullptr},
        Rule{"ICON", "ICON", nullptr},
        Rule{"KEYCODE", "Keyboard and Keycodes", nullptr},
        Rule{"OCXEVENT", "Callback Functions", nullptr},
        Rule{"PAPERBIN", "PROPPRINT:PaperBin", nullptr},
        Rule{"PAPER", "PAPER", nullptr},
        Rule{"PEN", "SETPENSTYLE", nullptr},
        Rule{"REJECT", "REJECTCODE", nullptr},
        Rule{"RESOLUTION", "PROPPRINT:Resolution", nullptr},
        Rule{"STD", "STD behavior", nullptr},
        Rule{"TCACTION", "TC_Browse Procedure", "TCTPL.HLP"},
        Rule{"TCEVENT", "TC_Browse Procedure", "TCTPL.HLP"},
        Rule{"TCPROP", "TC_Browse Procedure", "TCTPL.HLP"},
        Rule{"TCUTL", nullptr, "TCUT.HLP"},
        Rule{"TEMPLATE", nullptr, "CW20TLR.HLP"},
        Rule{"TIME FMT", "Time Pictures", nullptr},
        Rule{"VBXEVENT", "VBX", nullptr},
        Rule{"WINDOWS", "Windows  ?", nullptr},
        Rule{"WARN", "Standard Warning", nullptr},
    };
    const std::string upperType = runtime::upper(type);
    HelpTarget target;
    target.keyword = runtime::clip(fullName);
    std::string file = "C5Help.HLP";
    for (const Rule& rule : rules) {
        if (!startsWith(upperType, rule.prefix))
            continue;
        if (rule.keyword)
            target.keyword = rule.keyword;
        if (rule.file)
            file = rule.file;
        if (std::string_view(rule.prefix) == "WARN") {
            target.ownHelp = true;
            target.file = "KTX5HELP.HLP";
            return target;
        }
        break;
    }
    target.file = runtime::clip(clarionRoot) + "\\BIN\\" + file;
    return target;
}

runtime::MessageRequest missingHelpMessage(const HelpTarget& target)
{
    return {"The Clarion help file " + target.file + " was not found, so the help on \"" + target.keyword +
                "\" cannot be shown.|Check the Clarion path in the Configuration.",
            "NO CLARION HELP", runtime::MessageIcon::Asterisk, runtime::Button::Ok, runtime::Button::Ok};
}

std::vector<int> parseWidthCells(std::string_view cells)
{
    std::vector<int> widths;
    for (std::size_t i = 0; i + 3 <= cells.size(); i += 3) {
        int width = 0;
        for (std::size_t k = i; k < i + 3; ++k) {
            const char c = cells[k];
            if (c < '0' || c > '9')
                return widths;
            width = width * 10 + (c - '0');
        }
        if (width == 0)
            break;
        widths.push_back(width);
    }
    return widths;
}

std::string widthCells(const std::vector<int>& widths)
{
    std::string cells;
    for (const int width : widths) {
        if (width <= 0)
            break;
        char cell[8];
        std::snprintf(cell, sizeof cell, "%03d", std::min(width, 999));
        cells += cell;
    }
    return cells;
}

const std::vector<int>& equateColumnWidths()
{
    static const std::vector<int> widths = {77, 81, 160, 48, 42, 120, 48};
    return widths;
}

} // namespace kestrix::equates
