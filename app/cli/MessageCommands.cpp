#include "app/cli/MessageCommands.h"

#include "app/cli/CliContext.h"
#include "clipboard/ClipboardQueue.h"
#include "config/ConfigRecord.h"
#include "data/DataFileNames.h"
#include "equates/EquateRecord.h"
#include "message/IconList.h"
#include "message/MessageDecompiler.h"
#include "message/MessageFile.h"
#include "message/MessageGenerator.h"
#include "message/MessageJson.h"
#include "message/MessageRecord.h"
#include "runtime/FixedText.h"
#include "runtime/TextCodec.h"

#include <memory>
#include <optional>
#include <ostream>

namespace kestrix::app {

namespace Mes = message::Mes;

namespace {

// The record flags shared by generate and save.
struct RecordOptions
{
    std::string json;
    std::optional<std::string> text, caption, icon, buttons, defaultButton, code, loop, ifError, sound, rename;
    std::vector<std::string> buttonNames;
    std::string from;

    void addTo(CLI::App* command, bool withFrom)
    {
        command->add_option("--json", json, "A message record as JSON (FILE, or - for standard input)");
        command->add_option("--text", text, "Message text");
        command->add_option("--caption", caption, "Caption");
        command->add_option("--icon", icon, "Icon name (Hand, Question, ... or None)");
        command->add_option("--buttons", buttons, "Comma-separated buttons: OK,Yes,No,Abort,Retry,Ignore,Cancel,Help");
        command->add_option("--default", defaultButton, "Default button");
        command->add_option("--code", code, "Code structure")->check(CLI::IsMember({"None", "Case", "If"}, CLI::ignore_case));
        for (auto [name, target] : {std::pair{"--loop", &loop}, {"--iferror", &ifError}, {"--sound", &sound},
                                    {"--rename", &rename}})
            command->add_option(name, *target, "on or off")->check(CLI::IsMember({"on", "off"}, CLI::ignore_case));
        command->add_option("--button-name", buttonNames, "NAME=TEXT: the text a renamed button shows");
        if (withFrom)
            command->add_option("--from", from, "Start from the first saved message with this description");
    }
};

// The text as the window holds it: typed line ends are CR LF, tabs the tab character.
std::string windowText(const std::string& typed, char tab)
{
    std::string out;
    for (std::size_t i = 0; i < typed.size(); ++i) {
        if (typed[i] == '\n' && (i == 0 || typed[i - 1] != '\r'))
            out += '\r';
        out += typed[i];
    }
    return message::tabsToCharacter(out, tab);
}

// Builds the record the command works on; 0 or the exit code.
int buildRecord(CliContext& ctx, runtime::KeyedFile& messages, const RecordOptions& o, runtime::Record& record)
{
    const char tab = config::tabCharacter(ctx.session.configuration());
    if (!o.from.empty()) {
        auto found = message::findByDescription(messages, runtime::utf8ToCp1252(o.from));
        if (!found) {
            ctx.err << "No saved message is called " << o.from << '\n';
            return ExitFailure;
        }
        record = *found;
        record.setText(Mes::Text, message::tabsToCharacter(record.text(Mes::Text), tab));
    } else {
        message::TemplateResult fresh = message::newMessage(messages);
        if (!fresh.record) {
            ctx.dialogs.message(*fresh.failure);
            return ExitFailure;
        }
        record = *fresh.record;
    }
    if (!o.json.empty()) {
        std::string raw;
        if (o.json == "-") {
            if (!ctx.readInput("-", raw))
                return ExitFailure;
            raw = runtime::cp1252ToUtf8(raw);
        } else if (!ctx.readInput(o.json, raw)) {
            return ExitFailure;
        } else {
            raw = runtime::cp1252ToUtf8(raw);
        }
        const nlohmann::json parsed = nlohmann::json::parse(raw, nullptr, false);
        if (parsed.is_discarded()) {
            ctx.err << "The message is not valid JSON.\n";
            return ExitFailure;
        }
        if (const std::string problem = message::applyMessageJson(record, parsed, tab); !problem.empty()) {
            ctx.err << problem << '\n';
            return ExitFailure;
        }
    }
    const auto text = [](const std::string& utf8) { return runtime::utf8ToCp1252(utf8); };
    if (o.text)
        record.setText(Mes::Text, windowText(text(*o.text), tab));
    if (o.caption)
        record.setText(Mes::Caption, text(*o.caption));
    if (o.icon)
        record.setText(Mes::Icon, text(*o.icon));
    if (o.buttons) {
        for (int index = 1; index <= Mes::ButtonCount; ++index)
            record.setNumber(Mes::Button, 0, index);
        std::string list = *o.buttons;
        std::size_t start = 0;
        while (start <= list.size()) {
            const std::size_t comma = std::min(list.find(',', start), list.size());
            const std::string name(runtime::trim(list.substr(start, comma - start)));
            if (!name.empty()) {
                const int index = message::buttonIndex(name);
                if (index == 0) {
                    ctx.err << "Unknown button: " << name << '\n';
                    return ExitFailure;
                }
                record.setNumber(Mes::Button, 1, index);
            }
            start = comma + 1;
        }
    }
    if (o.defaultButton)
        record.setText(Mes::Default, text(*o.defaultButton));
    if (o.code) {
        std::string code = runtime::lower(*o.code);
        code[0] = runtime::upperChar(code[0]);
        record.setText(Mes::CodeType, code);
    }
    for (auto [option, field] : {std::pair{&o.loop, Mes::CodeLoop}, {&o.ifError, Mes::CodeIfError}, {&o.sound, Mes::Sound},
                                 {&o.rename, Mes::RenameButtons}}) {
        if (*option)
            record.setNumber(field, runtime::sameTextNoCase(**option, "on") ? 1 : 0);
    }
    for (const std::string& assignment : o.buttonNames) {
        const auto equals = assignment.find('=');
        const int index = equals == std::string::npos ? 0 : message::buttonIndex(assignment.substr(0, equals));
        if (index == 0) {
            ctx.err << "Expected BUTTON=TEXT: " << assignment << '\n';
            return ExitFailure;
        }
        record.setText(Mes::ButtonName, text(assignment.substr(equals + 1)), index);
    }
    return 0;
}

std::string printable(const std::string& clipboardText)
{
    std::string out;
    for (std::size_t i = 0; i < clipboardText.size(); ++i) {
        if (clipboardText[i] == '\r' && i + 1 < clipboardText.size() && clipboardText[i + 1] == '\n')
            continue;
        out += clipboardText[i];
    }
    return runtime::cp1252ToUtf8(out) + "\n";
}

// Opens the message file and builds the record the command works on; nullptr after saying why.
runtime::KeyedFile* openWithRecord(CliContext& ctx, const RecordOptions& options, runtime::Record& record)
{
    runtime::KeyedFile* messages = ctx.open(data::FileName::Messages, message::messageLayout());
    if (!messages || buildRecord(ctx, *messages, options, record) != 0)
        return nullptr;
    return messages;
}

int generate(CliContext& ctx, const RecordOptions& options)
{
    runtime::Record record(message::messageLayout());
    if (!openWithRecord(ctx, options, record))
        return ExitFailure;
    message::GeneratedCode code =
        message::MessageGenerator(message::generatorSettings(ctx.session.configuration())).generate(record);
    if (code.failure)
        ctx.dialogs.message(*code.failure);
    const std::string text = ctx.session.putCodeOnClipboard(code.lines, clipboard::ClipMode::Change, true);
    ctx.out << printable(text);
    return code.failure ? ExitFailure : 0;
}

int decompile(CliContext& ctx, const std::string& source)
{
    std::string text;
    if (!ctx.readInput(source, text))
        return ExitFailure;
    message::DecompileSettings settings;
    settings.buttonVariable = ctx.session.configuration().text(config::Cfg::Btn);
    settings.tabCharacter = config::tabCharacter(ctx.session.configuration());
    runtime::KeyedFile* equates = ctx.open(data::FileName::Equates, equates::equateLayout());
    if (!equates)
        return ExitFailure;
    settings.icons = message::iconNames(equates);
    const message::DecompiledMessage result = message::decompileMessage(text, settings);
    if (!result.record) {
        ctx.dialogs.message(*result.failure);
        return ExitFailure;
    }
    ctx.out << message::messageToJson(*result.record, settings.tabCharacter).dump(2) << '\n';
    return 0;
}

int save(CliContext& ctx, const std::string& description, const RecordOptions& options)
{
    runtime::Record record(message::messageLayout());
    runtime::KeyedFile* messages = openWithRecord(ctx, options, record);
    if (!messages)
        return ExitFailure;
    const char tab = config::tabCharacter(ctx.session.configuration());
    record.setText(Mes::Description, runtime::utf8ToCp1252(description));
    record.setText(Mes::Text, message::characterToTabs(record.text(Mes::Text), tab));
    if (const runtime::FileError error = messages->add(record)) {
        ctx.err << "Cannot save the message: " << error.describe() << '\n';
        return ExitFailure;
    }
    return 0;
}

int list(CliContext& ctx)
{
    runtime::KeyedFile* messages = ctx.open(data::FileName::Messages, message::messageLayout());
    if (!messages)
        return ExitFailure;
    for (const runtime::Record& r : messages->readAll(Mes::ByDescription)) {
        ctx.out << tableColumn(r.text(Mes::Description)) << '\t' << tableColumn(r.text(Mes::Caption)) << '\t'
                << tableColumn(r.text(Mes::Text).substr(0, 60)) << '\n';
    }
    return 0;
}

} // namespace

void addMessageCommands(CLI::App& app, CommandRunner& run)
{
    auto* command = app.add_subcommand("message", "Generate, decompile and keep MESSAGE() statements");
    command->require_subcommand(1);

    auto generateOptions = std::make_shared<RecordOptions>();
    auto* gen = command->add_subcommand("generate", "Print the code the Message Maker puts on the clipboard");
    generateOptions->addTo(gen, true);
    gen->callback([&run, generateOptions] { run = [generateOptions](CliContext& ctx) { return generate(ctx, *generateOptions); }; });

    auto source = std::make_shared<std::string>("-");
    auto* dec = command->add_subcommand("decompile", "Read a MESSAGE() statement and print its record as JSON");
    dec->add_option("source", *source, "FILE, or - for standard input");
    dec->callback([&run, source] { run = [source](CliContext& ctx) { return decompile(ctx, *source); }; });

    auto saveOptions = std::make_shared<RecordOptions>();
    auto description = std::make_shared<std::string>();
    auto* sav = command->add_subcommand("save", "Save a message under a description");
    sav->add_option("description", *description, "Description")->required();
    saveOptions->addTo(sav, false);
    sav->callback([&run, saveOptions, description] {
        run = [saveOptions, description](CliContext& ctx) { return save(ctx, *description, *saveOptions); };
    });

    command->add_subcommand("list", "List the saved messages")->callback([&run] { run = list; });
}

} // namespace kestrix::app
