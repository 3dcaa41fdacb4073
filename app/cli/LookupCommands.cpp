#include "app/cli/LookupCommands.h"

#include "app/cli/CliContext.h"
#include "data/DataFileNames.h"
#include "equates/EquateHelper.h"
#include "equates/EquateLoader.h"
#include "equates/EquateRecord.h"
#include "equates/KeycodeHelper.h"
#include "equates/KeycodeTable.h"
#include "equates/PopupLoader.h"
#include "equates/PopupRecord.h"
#include "equates/TemplateCode.h"
#include "runtime/FixedText.h"
#include "runtime/TextCodec.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <charconv>
#include <memory>
#include <optional>
#include <ostream>

namespace kestrix::app {

namespace eq = equates;
using nlohmann::ordered_json;

namespace {

// The equates file, once a load has completed; nullptr after saying why not.
runtime::KeyedFile* loadedEquates(CliContext& ctx)
{
    runtime::KeyedFile* file = ctx.open(data::FileName::Equates, eq::equateLayout());
    if (!file)
        return nullptr;
    if (eq::equateLoadUnfinished(ctx.session.programIni())) {
        ctx.err << "The equates file is incomplete: its last load did not finish (or none has run). "
                   "Run 'ktx equates load' first.\n";
        return nullptr;
    }
    return file;
}

struct Equate
{
    std::string type;
    std::string name;
};

// The equate of that full name (in `type` when one is given).
std::optional<Equate> findEquate(CliContext& ctx, runtime::KeyedFile& equates, const std::string& given,
                                 const std::string& type)
{
    const auto name = ctx.argument(given);
    const auto wantedType = ctx.argument(type);
    if (!name || !wantedType)
        return std::nullopt;
    runtime::Record r = equates.newRecord();
    r.setText(eq::Equ::Name, *name);
    equates.setFrom(eq::Equ::ByName, r);
    while (equates.next(r).ok() && runtime::sameTextNoCase(r.text(eq::Equ::Name), *name)) {
        if (wantedType->empty() || runtime::sameTextNoCase(r.text(eq::Equ::Type), *wantedType))
            return Equate{r.text(eq::Equ::Type), r.text(eq::Equ::Name)};
    }
    ctx.err << "Unknown equate: " << given << (type.empty() ? "" : " of type " + type)
            << " (the equates file holds none of that name)\n";
    return std::nullopt;
}

struct MenuOptions
{
    std::string name;
    std::string type;
    int item = 0;
    std::vector<std::string> repeats;
};

int equateMenu(CliContext& ctx, const MenuOptions& o, bool code)
{
    runtime::KeyedFile* equates = loadedEquates(ctx);
    if (!equates)
        return ExitFailure;
    runtime::KeyedFile* popups = ctx.open(data::FileName::Popups, eq::popupLayout());
    if (!popups)
        return ExitFailure;
    const auto equate = findEquate(ctx, *equates, o.name, o.type);
    if (!equate)
        return ExitFailure;
    const auto menu = eq::equateMenu(*popups, equate->type, equate->name);
    if (!menu) {
        ctx.err << "No menu: neither " << runtime::cp1252ToUtf8(eq::equateMenuKey(equate->type, equate->name))
                << " nor " << eq::EquateBrowsePopup << " has entries in the popup file.\n";
        return ExitFailure;
    }
    if (!code) {
        ctx.out << menu->typeEntries << '\n';
        for (const runtime::MenuItem& item : menu->items) {
            if (item.id == runtime::SeparatorId)
                ctx.out << "-\n";
            else
                ctx.out << item.id << '\t' << tableColumn(item.text) << '\n';
        }
        return 0;
    }
    const auto entries =
        std::count_if(menu->items.begin(), menu->items.end(),
                      [](const runtime::MenuItem& item) { return item.id != runtime::SeparatorId; });
    if (o.item < 1 || o.item > entries) {
        ctx.err << "--item " << o.item << " is not an entry of the menu of " << o.name << ": it has "
                << entries << " entries.\n";
        return ExitRefused;
    }
    ctx.session.modes().clipAddMode = true;
    eq::EquateCoder coder;
    std::string text;
    const auto hand = [&](const eq::CodeResult& result) {
        if (result.refusal) {
            ctx.dialogs.message(*result.refusal);
            return false;
        }
        text = eq::handEquateCode(ctx.session, result.code);
        return true;
    };
    if (!hand(coder.use(eq::equateMenuTemplate(*popups, *menu, o.item), equate->name)))
        return ExitRefused;
    for (const std::string& repeat : o.repeats) {
        const auto other = findEquate(ctx, *equates, repeat, {});
        if (!other)
            return ExitFailure;
        if (!hand(coder.repeat(other->name)))
            return ExitRefused;
    }
    if (!text.empty())
        ctx.out << printedClipboardText(text);
    return 0;
}

struct KeycodeOptions
{
    std::optional<std::string> key;
    std::optional<std::int64_t> value;
    std::string mouse;
    bool isDouble = false;
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    std::string special;
    std::optional<int> item;
    std::optional<std::string> again;
};

int keycode(CliContext& ctx, const KeycodeOptions& o)
{
    runtime::KeyedFile* equates = loadedEquates(ctx);
    if (!equates)
        return ExitFailure;
    eq::KeycodeHelper helper(*equates);
    helper.setShift(o.shift);
    helper.setCtrl(o.ctrl);
    helper.setAlt(o.alt);
    if (o.key) {
        const auto code = eq::keycodeOf(*o.key);
        if (!code) {
            ctx.err << "Unknown key: " << *o.key
                    << " (name a key as F5, Ctrl+Shift+A, Enter, Esc, PgDn, Num5, A or Alt+F4)\n";
            return ExitRefused;
        }
        helper.captureKey(*code);
    } else if (o.value) {
        helper.captureKey(static_cast<int>(*o.value));
    }
    if (!o.mouse.empty() || o.isDouble) {
        helper.setDouble(o.isDouble);
        helper.chooseMouse(o.mouse == "left"     ? eq::MouseChoice::Left
                           : o.mouse == "right"  ? eq::MouseChoice::Right
                           : o.mouse == "center" ? eq::MouseChoice::Center
                                                 : eq::MouseChoice::None);
    }
    if (!o.special.empty()) {
        helper.pressSpecial(o.special == "tab"      ? eq::SpecialKey::Tab
                            : o.special == "enter"  ? eq::SpecialKey::Enter
                            : o.special == "escape" ? eq::SpecialKey::Escape
                                                    : eq::SpecialKey::F1);
    }
    ordered_json json;
    json["value"] = helper.value();
    json["name"] = runtime::cp1252ToUtf8(helper.name());
    json["char"] = runtime::cp1252ToUtf8(std::string(1, helper.character()));
    if (o.item) {
        runtime::KeyedFile* popups = ctx.open(data::FileName::Popups, eq::popupLayout());
        if (!popups)
            return ExitFailure;
        const auto menu = eq::popupMenu(*popups, eq::KeycodeFindPopup);
        const int entries = menu ? static_cast<int>(menu->items.size()) : 0;
        if (*o.item < 1 || *o.item > entries) {
            ctx.err << "--item " << *o.item << " is not an entry of the " << eq::KeycodeFindPopup
                    << " menu: it has " << entries << " entries.\n";
            return ExitRefused;
        }
        const std::string code = helper.code(eq::popupTemplate(*popups, eq::KeycodeFindPopup, *o.item, "|"));
        ctx.session.putCode(std::vector<std::string>{code});
        json["code"] = runtime::cp1252ToUtf8(code);
    }
    if (o.again) {
        const auto name = ctx.argument(*o.again);
        if (!name)
            return ExitRefused;
        const std::string again = helper.againFor(*name);
        ctx.session.putCode(std::vector<std::string>{again});
        json["again"] = runtime::cp1252ToUtf8(again);
    }
    ctx.out << json.dump() << '\n';
    return 0;
}

// "popup:TYPE:N": TYPE is the button's popup type in this family, or tpl, msg or symbols.
std::optional<std::pair<eq::TemplatePopup, int>> popupWord(const std::string& word, bool abc)
{
    if (!runtime::sameTextNoCase(word.substr(0, 6), "popup:"))
        return std::nullopt;
    const std::size_t colon = word.rfind(':');
    if (colon <= 6)
        return std::nullopt;
    const std::string type = runtime::upper(word.substr(6, colon - 6));
    int number = 0;
    const std::string digits = word.substr(colon + 1);
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (ec != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    for (const auto popup :
         {eq::TemplatePopup::TplCode, eq::TemplatePopup::QuickMsg, eq::TemplatePopup::Symbols}) {
        const char* shortName = popup == eq::TemplatePopup::TplCode    ? "TPL"
                                : popup == eq::TemplatePopup::QuickMsg ? "MSG"
                                                                       : "SYMBOLS";
        if (type == shortName || type == eq::templatePopupType(popup, abc))
            return std::pair{popup, number};
    }
    return std::nullopt;
}

// The button a word names: its text with or without the '&'.
std::optional<std::string> buttonNamed(const std::string& word)
{
    for (const std::string& button : eq::templateWordButtons()) {
        if (word == button || word == eq::buttonWord(button, false))
            return button;
    }
    return std::nullopt;
}

int templateCode(CliContext& ctx, const std::string& abcSetting, const std::vector<std::string>& words)
{
    const bool abc = abcSetting.empty() ? ctx.session.modes().abcMode : abcSetting == "on";
    eq::TemplateCode code;
    runtime::KeyedFile* popups = nullptr;
    for (const std::string& given : words) {
        const auto word = ctx.argument(given);
        if (!word)
            return ExitRefused;
        std::optional<runtime::MessageRequest> refusal;
        if (const auto popup = popupWord(*word, abc)) {
            if (!popups && !(popups = ctx.open(data::FileName::Popups, eq::popupLayout())))
                return ExitFailure;
            const std::string type = eq::templatePopupType(popup->first, abc);
            const auto menu = eq::popupMenu(*popups, type);
            const int entries = menu ? static_cast<int>(menu->items.size()) : 0;
            if (popup->second < 1 || popup->second > entries) {
                ctx.err << given << " is not an entry of the " << runtime::cp1252ToUtf8(type)
                        << " menu: it has " << entries << " entries.\n";
                return ExitRefused;
            }
            const std::string chosen =
                eq::popupTemplate(*popups, type, popup->second, eq::templatePopupConversions(popup->first));
            const std::string inserted = eq::popupWord(popup->first, chosen);
            if (!inserted.empty())
                refusal = code.insert(inserted);
        } else if (const auto button = buttonNamed(*word)) {
            refusal = code.press(*button, abc);
        } else {
            ctx.err << "Unknown button: " << given
                    << " (a word button such as IF, &GlobalResponse, Return, Tab, Space or END, or "
                       "popup:TYPE:N)\n";
            return ExitRefused;
        }
        if (refusal) {
            ctx.dialogs.message(*refusal);
            return ExitRefused;
        }
    }
    const auto clip = code.clipLines();
    if (clip.refusal) {
        ctx.dialogs.message(*clip.refusal);
        return ExitRefused;
    }
    if (clip.lines.empty())
        return 0;
    if (const std::string text = ctx.session.putCode(clip.lines); !text.empty())
        ctx.out << printedClipboardText(text);
    return 0;
}

} // namespace

void addLookupCommands(CLI::App& app, CommandRunner& run)
{
    CLI::App* equates = app.get_subcommand("equates");
    auto menu = std::make_shared<MenuOptions>();
    auto* menuCommand = equates->add_subcommand("menu", "Print the right-click menu of an equate");
    menuCommand->add_option("name", menu->name, "Full name of the equate")->required();
    menuCommand->add_option("--type", menu->type, "Its type, when it stands in several");
    menuCommand->callback(
        [&run, menu] { run = [menu](CliContext& ctx) { return equateMenu(ctx, *menu, false); }; });
    auto codeOptions = std::make_shared<MenuOptions>();
    auto* code =
        equates->add_subcommand("code", "Print the code a menu entry and double-clicks put on the clipboard");
    code->add_option("name", codeOptions->name, "Full name of the equate")->required();
    code->add_option("--type", codeOptions->type, "Its type, when it stands in several");
    code->add_option("--item", codeOptions->item, "The menu entry, from 1")->required();
    code->add_option("--repeat", codeOptions->repeats, "An equate double-clicked afterwards (repeatable)");
    code->callback([&run, codeOptions] {
        run = [codeOptions](CliContext& ctx) { return equateMenu(ctx, *codeOptions, true); };
    });

    auto key = std::make_shared<KeycodeOptions>();
    auto* keycodeCommand = app.add_subcommand("keycode", "The keycode of a key or mouse click, and its code");
    auto* keyOption = keycodeCommand->add_option("--key", key->key, "A key as F5, Ctrl+Shift+A, Enter, Num5");
    keycodeCommand->add_option("--value", key->value, "A keycode value")->excludes(keyOption);
    keycodeCommand->add_option("--mouse", key->mouse, "left, right or center")
        ->check(CLI::IsMember({"left", "right", "center"}));
    keycodeCommand->add_flag("--double", key->isDouble, "A double click");
    keycodeCommand->add_flag("--shift", key->shift, "Shift checked");
    keycodeCommand->add_flag("--ctrl", key->ctrl, "Ctrl checked");
    keycodeCommand->add_flag("--alt", key->alt, "Alt checked");
    keycodeCommand->add_option("--special", key->special, "tab, enter, escape or f1")
        ->check(CLI::IsMember({"tab", "enter", "escape", "f1"}));
    keycodeCommand->add_option("--item", key->item, "To Clip with this entry of the KEYCODE FIND menu");
    keycodeCommand->add_option("--again", key->again, "Again, for a key of this name");
    keycodeCommand->callback([&run, key] { run = [key](CliContext& ctx) { return keycode(ctx, *key); }; });

    auto abc = std::make_shared<std::string>();
    auto words = std::make_shared<std::vector<std::string>>();
    auto* tpl = app.add_subcommand("tplcode", "Press Template Code's buttons and print what To Clip copies");
    tpl->add_option("--abc", *abc, "on or off (default: the program's setting)")
        ->check(CLI::IsMember({"on", "off"}));
    tpl->add_option("word", *words,
                    "Buttons in order: IF, &GlobalResponse, Return, Tab, Space, END, popup:TYPE:N");
    tpl->callback([&run, abc, words] {
        run = [abc, words](CliContext& ctx) { return templateCode(ctx, *abc, *words); };
    });
}

} // namespace kestrix::app
