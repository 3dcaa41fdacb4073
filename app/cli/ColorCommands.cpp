#include "app/cli/ColorCommands.h"

#include "app/cli/CliContext.h"
#include "data/DataFileNames.h"
#include "equates/AsciiTable.h"
#include "equates/ColorDesigner.h"
#include "equates/EquateRecord.h"
#include "runtime/FixedText.h"

#include <cctype>
#include <memory>
#include <ostream>

namespace kestrix::app {

using equates::ColorDesigner;

namespace {

struct ColorCodeOptions
{
    std::string object;
    std::string item;
    std::array<std::string, equates::RoleCount> names;
};

// The colours of the equates file, as the designer's lists hold them; nullopt after saying why.
std::unique_ptr<ColorDesigner> openDesigner(CliContext& ctx)
{
    runtime::KeyedFile* file = ctx.open(data::FileName::Equates, equates::equateLayout());
    if (!file)
        return nullptr;
    auto designer = std::make_unique<ColorDesigner>(*file);
    if (const runtime::FileError error = designer->load()) {
        ctx.err << "Cannot read the colours of " << file->name() << ": " << error.describe() << '\n';
        return nullptr;
    }
    return designer;
}

// "Entry1", "Column 2", "Row 4", "Cell 2,4" (column, row): the object and the sample list position.
bool chooseObject(ColorDesigner& designer, const std::string& given)
{
    const std::string text(runtime::trim(given));
    const std::size_t blank = text.find(' ');
    const auto object = equates::sampleObjectNamed(text.substr(0, blank));
    if (!object)
        return false;
    designer.setObject(*object);
    if (blank == std::string::npos)
        return true;
    const std::string where(runtime::trim(text.substr(blank + 1)));
    const auto number = [](const std::string& digits, int largest) {
        if (digits.empty() || digits.size() > 1 || !std::isdigit(static_cast<unsigned char>(digits[0])))
            return 0;
        const int n = digits[0] - '0';
        return n >= 1 && n <= largest ? n : 0;
    };
    if (*object == equates::SampleObject::Column) {
        const int column = number(where, equates::SampleColumns);
        designer.setListPosition(1, column);
        return column != 0;
    }
    if (*object == equates::SampleObject::Row) {
        const int row = number(where, equates::SampleRows);
        designer.setListPosition(row, 1);
        return row != 0;
    }
    if (*object == equates::SampleObject::Cell) {
        const std::size_t comma = where.find(',');
        if (comma == std::string::npos)
            return false;
        const int column = number(std::string(runtime::trim(where.substr(0, comma))), equates::SampleColumns);
        const int row = number(std::string(runtime::trim(where.substr(comma + 1))), equates::SampleRows);
        designer.setListPosition(row, column);
        return row != 0 && column != 0;
    }
    return false;
}

int listColors(CliContext& ctx)
{
    const auto designer = openDesigner(ctx);
    if (!designer)
        return ExitFailure;
    for (const equates::ColorEntry& color : designer->colors())
        ctx.out << tableColumn(color.display) << '\t' << color.value << '\n';
    return 0;
}

int colorCode(CliContext& ctx, const ColorCodeOptions& options)
{
    const auto designer = openDesigner(ctx);
    if (!designer)
        return ExitFailure;
    if (!chooseObject(*designer, options.object)) {
        ctx.err << "Unknown object: " << options.object
                << " (List, Column N, Row N, Cell COLUMN,ROW, Tab1-Tab3, Entry1, Entry2, Prompt1, Prompt2, "
                   "String1, "
                   "String2, Button1, Button2 or None)\n";
        return ExitRefused;
    }
    for (int role = 0; role < equates::RoleCount; ++role) {
        if (options.names[role].empty())
            continue;
        const auto name = ctx.argument(options.names[role]);
        if (!name)
            return ExitRefused;
        const int index = designer->indexOf(*name);
        if (index < 0) {
            ctx.err << "Unknown colour: " << options.names[role] << " (see 'ktx color list')\n";
            return ExitRefused;
        }
        designer->select(static_cast<equates::ColorRole>(role), index);
    }
    designer->apply();
    equates::ColorCodeForm form = equates::ColorCodeForm::ColorEquates;
    for (const runtime::MenuItem& item : equates::colorCodeMenu()) {
        if (item.text == options.item)
            form = static_cast<equates::ColorCodeForm>(item.id);
    }
    for (const std::string& line : designer->code(form))
        ctx.out << tableColumn(line) << '\n';
    return 0;
}

// Decimal, or hexadecimal with a trailing H; nothing for anything else.
std::optional<std::int64_t> colorValue(const std::string& given)
{
    std::string text(runtime::trim(given));
    int base = 10;
    if (!text.empty() && (text.back() == 'H' || text.back() == 'h')) {
        text.pop_back();
        base = 16;
    }
    const bool negative = base == 10 && !text.empty() && text[0] == '-';
    if (negative)
        text.erase(0, 1);
    if (text.empty() || text.size() > 10)
        return std::nullopt;
    std::int64_t value = 0;
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        int digit = -1;
        if (std::isdigit(u))
            digit = c - '0';
        else if (base == 16 && std::isxdigit(u))
            digit = std::toupper(u) - 'A' + 10;
        if (digit < 0)
            return std::nullopt;
        value = value * base + digit;
    }
    return negative ? -value : value;
}

int addColor(CliContext& ctx, const std::string& given)
{
    const auto value = colorValue(given);
    if (!value) {
        ctx.err << "Not a colour value: " << given << " (a decimal number, or hexadecimal ending in H)\n";
        return ExitRefused;
    }
    const auto designer = openDesigner(ctx);
    if (!designer)
        return ExitFailure;
    const equates::ColorOutcome outcome = designer->addCustom(*value);
    if (outcome.message)
        ctx.dialogs.message(*outcome.message);
    if (!outcome.changed)
        return ExitFailure;
    ctx.out << "added " << equates::customColorName(static_cast<std::int32_t>(*value)) << '\t' << *value
            << '\n';
    return 0;
}

int deleteColor(CliContext& ctx, const std::string& given)
{
    const auto designer = openDesigner(ctx);
    if (!designer)
        return ExitFailure;
    const auto name = ctx.argument(given);
    if (!name)
        return ExitRefused;
    const int index = designer->indexOf(*name);
    if (index < 0) {
        ctx.err << "Unknown colour: " << given << " (see 'ktx color list')\n";
        return ExitRefused;
    }
    designer->select(equates::SelectedBackground, index);
    bool mayDelete = false;
    const runtime::MessageRequest question = designer->deleteQuestion(mayDelete);
    if (!mayDelete) {
        ctx.dialogs.message(question);
        return ExitFailure;
    }
    // The command itself is the user's Yes to the question.
    const equates::ColorOutcome outcome = designer->deleteSelected();
    if (outcome.message)
        ctx.dialogs.message(*outcome.message);
    if (!outcome.changed)
        return ExitFailure;
    ctx.out << "deleted " << tableColumn(*name) << '\n';
    return 0;
}

int asciiTable(CliContext& ctx, bool ansi, bool control)
{
    if (control) {
        for (const equates::ControlRow& row : equates::controlRows())
            ctx.out << row.hex << '\t' << row.code << '\t' << row.key << '\t' << row.description << '\n';
        return 0;
    }
    for (const equates::CharacterRow& row :
         equates::characterRows(ansi ? equates::CharacterSet::Ansi : equates::CharacterSet::Oem))
        ctx.out << row.low.glyph << '\t' << row.low.dec << '\t' << row.low.hex << '\t' << row.high.glyph
                << '\t' << row.high.dec << '\t' << row.high.hex << '\n';
    return 0;
}

} // namespace

void addColorCommands(CLI::App& app, CommandRunner& run)
{
    auto* color = app.add_subcommand("color", "The Color Designer's colours and code");
    color->require_subcommand(1);
    color->add_subcommand("list", "Print the colours of the pick lists: name and value")->callback([&run] {
        run = listColors;
    });

    auto options = std::make_shared<ColorCodeOptions>();
    auto* code =
        color->add_subcommand("code", "Print the code \"To Clip\" puts on the clipboard for an object");
    code->add_option("object", options->object,
                     "Entry1, Button1, List, \"Column 2\", \"Row 3\", \"Cell 2,3\" ...")
        ->required();
    code->add_option("--fg", options->names[equates::Foreground], "Foreground colour");
    code->add_option("--bg", options->names[equates::Background], "Background colour");
    code->add_option("--sfg", options->names[equates::SelectedForeground], "Selected foreground colour");
    code->add_option("--sbg", options->names[equates::SelectedBackground], "Selected background colour");
    code->add_option("--grid", options->names[equates::Grid], "Grid colour (list parts)");
    code->add_option("--item", options->item, "The popup item")
        ->required()
        ->check(CLI::IsMember({"Color Equates", "Control COLOR()", "Control PROP:Color"}));
    code->callback(
        [&run, options] { run = [options](CliContext& ctx) { return colorCode(ctx, *options); }; });

    auto value = std::make_shared<std::string>();
    auto* add = color->add_subcommand("add", "Add a custom colour to the equates file");
    add->add_option("value", *value, "Decimal, or hexadecimal ending in H (at most 00FFFFFFH)")->required();
    add->callback([&run, value] { run = [value](CliContext& ctx) { return addColor(ctx, *value); }; });

    auto name = std::make_shared<std::string>();
    auto* remove = color->add_subcommand("delete", "Delete a custom colour (the command is the Yes)");
    remove->add_option("name", *name, "The colour's name, e.g. 00FF8040H")->required();
    remove->callback([&run, name] { run = [name](CliContext& ctx) { return deleteColor(ctx, *name); }; });

    auto ansi = std::make_shared<bool>(false);
    auto control = std::make_shared<bool>(false);
    auto* ascii = app.add_subcommand("ascii", "Print the ASCII table (code page 437 glyphs)");
    ascii->add_flag("--ansi", *ansi, "The Windows-1252 glyphs instead");
    ascii->add_flag("--control", *control, "The 33 control codes instead");
    ascii->callback([&run, ansi, control] {
        run = [ansi, control](CliContext& ctx) { return asciiTable(ctx, *ansi, *control); };
    });
}

} // namespace kestrix::app
