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
#include "message/MessageMaker.h"
#include "message/MessageRecord.h"
#include "runtime/FixedText.h"
#include "runtime/TextCodec.h"

#include <memory>
#include <optional>
#include <ostream>
#include <vector>

namespace kestrix::app {

namespace Mes = message::Mes;

namespace {

// The record flags shared by generate and save.
struct RecordOptions
{
    std::string json;
    std::optional<std::string> text, caption, icon, buttons, defaultButton, code, loop, ifError, sound,
        rename;
    std::vector<std::string> buttonNames;
    std::string from;

    void addTo(CLI::App* command, bool withFrom)
    {
        command->add_option("--json", json, "A message record as JSON (FILE, or - for standard input)");
        command->add_option("--text", text, "Message text");
        command->add_option("--caption", caption, "Caption");
        command->add_option("--icon", icon, "Icon name (Hand, Question, ... or None)");
        command->add_option("--buttons", buttons,
                            "Comma-separated buttons: OK,Yes,No,Abort,Retry,Ignore,Cancel,Help");
        command->add_option("--default", defaultButton, "Default button");
        command->add_option("--code", code, "Code structure")
            ->check(CLI::IsMember({"None", "Case", "If"}, CLI::ignore_case));
        for (auto [name, target] : {std::pair{"--loop", &loop},
                                    {"--iferror", &ifError},
                                    {"--sound", &sound},
                                    {"--rename", &rename}})
            command->add_option(name, *target, "on or off")
                ->check(CLI::IsMember({"on", "off"}, CLI::ignore_case));
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

// The flags as edits of the Message Maker; 0 or the exit code after saying why.
int flagEdits(CliContext& ctx, const RecordOptions& o, char tab, message::MessageEdits& edits)
{
    const auto text = [&](const std::optional<std::string>& given, std::optional<std::string>& target) {
        if (!given)
            return true;
        target = ctx.argument(*given);
        return target.has_value();
    };
    if (!text(o.caption, edits.caption) || !text(o.icon, edits.icon) ||
        !text(o.defaultButton, edits.defaultButton) || !text(o.code, edits.codeType) ||
        !text(o.text, edits.text))
        return ExitRefused;
    if (edits.text)
        edits.text = windowText(*edits.text, tab);
    if (o.buttons) {
        edits.buttons.emplace();
        const std::string& list = *o.buttons;
        std::size_t start = 0;
        while (start <= list.size()) {
            const std::size_t comma = std::min(list.find(',', start), list.size());
            const std::string name(runtime::trim(list.substr(start, comma - start)));
            if (!name.empty()) {
                const int index = message::buttonIndex(name);
                if (index == 0) {
                    ctx.err << "Unknown button: " << name
                            << " (one of OK, Yes, No, Abort, Retry, Ignore, Cancel, Help)\n";
                    return ExitRefused;
                }
                edits.buttons->push_back(index);
            }
            start = comma + 1;
        }
    }
    for (auto [option, target] : {std::pair{&o.loop, &edits.codeLoop},
                                  {&o.ifError, &edits.codeIfError},
                                  {&o.sound, &edits.sound},
                                  {&o.rename, &edits.renameButtons}}) {
        if (*option)
            *target = runtime::sameTextNoCase(**option, "on");
    }
    for (const std::string& assignment : o.buttonNames) {
        const auto equals = assignment.find('=');
        const int index =
            equals == std::string::npos ? 0 : message::buttonIndex(assignment.substr(0, equals));
        if (index == 0) {
            ctx.err << "Expected BUTTON=TEXT: " << assignment << '\n';
            return ExitRefused;
        }
        auto name = ctx.argument(assignment.substr(equals + 1));
        if (!name)
            return ExitRefused;
        edits.buttonNames[static_cast<std::size_t>(index - 1)] = std::move(name);
    }
    return 0;
}

// The JSON record as edits; 0 or the exit code after saying why.
int jsonEdits(CliContext& ctx, const std::string& source, char tab, message::MessageEdits& edits)
{
    std::string text; // a character the record cannot hold is refused, not '?'
    if (const int refused = ctx.readInput(source, text))
        return refused;
    const nlohmann::json parsed = nlohmann::json::parse(runtime::cp1252ToUtf8(text), nullptr, false);
    if (parsed.is_discarded()) {
        ctx.err << "The message is not valid JSON.\n";
        return ExitRefused;
    }
    message::ParsedMessageJson read = message::parseMessageJson(parsed, tab);
    if (!read.error.empty()) {
        ctx.err << read.error << '\n';
        return ExitRefused;
    }
    edits = std::move(read.edits);
    return 0;
}

// The equates file's icon names; the file is closed again once they are read.
std::optional<std::vector<std::string>> iconNames(CliContext& ctx)
{
    const auto equates = ctx.use(data::FileName::Equates, equates::equateLayout());
    if (!equates)
        return std::nullopt;
    return message::iconNames(equates->file());
}

// The Message Maker of one command, on the message the options describe: the template or
// --from, then the JSON, then the flags, each through the Message Maker's own setters.
struct CliMaker
{
    std::unique_ptr<data::DataFileUse> messages; // outlives the maker that works on it
    std::unique_ptr<message::MessageMaker> maker;
    int exitCode = 0;
};

CliMaker makeMessage(CliContext& ctx, const RecordOptions& o)
{
    CliMaker result;
    // The icons first: the equates file is closed before the message file opens, so the command never
    // holds both.
    auto icons = iconNames(ctx);
    if (icons)
        result.messages = ctx.use(data::FileName::Messages, message::messageLayout());
    if (!result.messages) {
        result.exitCode = ExitFailure;
        return result;
    }
    runtime::KeyedFile* messages = result.messages->file();
    result.maker = std::make_unique<message::MessageMaker>(ctx.session, *messages, std::move(*icons));
    message::MessageMaker& maker = *result.maker;
    if (!o.from.empty()) {
        const auto description = ctx.argument(o.from);
        if (!description) {
            result.exitCode = ExitRefused;
            return result;
        }
        auto found = message::findByDescription(*messages, *description);
        if (!found) {
            ctx.err << "No saved message is called " << o.from << '\n';
            result.exitCode = ExitFailure;
            return result;
        }
        maker.open(*found);
    } else if (!maker.newMessage()) {
        result.exitCode = ExitFailure;
        return result;
    }
    const char tab = maker.tabCharacter();
    for (const bool fromJson : {true, false}) {
        if (fromJson && o.json.empty())
            continue;
        message::MessageEdits edits;
        if (const int code = fromJson ? jsonEdits(ctx, o.json, tab, edits) : flagEdits(ctx, o, tab, edits)) {
            result.exitCode = code;
            return result;
        }
        if (const message::EditRefusal refusal = maker.apply(edits)) {
            ctx.err << runtime::cp1252ToUtf8(*refusal) << '\n';
            result.exitCode = ExitRefused;
            return result;
        }
    }
    return result;
}

int generate(CliContext& ctx, const RecordOptions& options)
{
    CliMaker made = makeMessage(ctx, options);
    if (!made.maker)
        return made.exitCode;
    if (made.exitCode)
        return made.exitCode;
    // The window's Generate command: a failed check is shown (on stderr) and nothing is printed.
    if (made.maker->execute(message::MakerCommand::Generate) != message::CommandOutcome::Done)
        return ExitRefused;
    ctx.out << printedClipboardText(ctx.session.systemClipboard().text());
    return 0;
}

int decompile(CliContext& ctx, const std::string& source)
{
    std::string text;
    if (const int refused = ctx.readInput(source, text))
        return refused;
    message::DecompileSettings settings;
    settings.buttonVariable = ctx.session.configuration().text(config::Cfg::Btn);
    settings.tabCharacter = config::tabCharacter(ctx.session.configuration());
    auto icons = iconNames(ctx);
    if (!icons)
        return ExitFailure;
    settings.icons = std::move(*icons);
    const message::DecompiledMessage result = message::decompileMessage(text, settings);
    if (!result.record) {
        // The message names the clipboard, which the window reads; here the input is a file or stdin.
        ctx.err << "NO MESSAGE FOUND: No MESSAGE( found in "
                << (source == "-" ? std::string("standard input") : source) << '\n';
        return ExitFailure;
    }
    for (const std::string& dropped : result.dropped)
        ctx.err << runtime::cp1252ToUtf8(dropped) << '\n';
    ctx.out << message::messageToJson(*result.record, settings.tabCharacter).dump(2) << '\n';
    return 0;
}

int save(CliContext& ctx, const std::string& description, const RecordOptions& options)
{
    const auto name = ctx.argument(description);
    if (!name)
        return ExitRefused;
    CliMaker made = makeMessage(ctx, options);
    if (!made.maker || made.exitCode)
        return made.exitCode;
    switch (made.maker->saveAs(*name)) {
    case message::SaveOutcome::Saved:
        return 0;
    case message::SaveOutcome::Refused:
        return ExitRefused;
    case message::SaveOutcome::Failed:
        break;
    }
    return ExitFailure;
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

    // The record's many options are built only for the command the line names: building them costs
    // more than a generate's own work.
    auto generateOptions = std::make_shared<RecordOptions>();
    auto* gen = command->add_subcommand("generate", "Print the code the Message Maker puts on the clipboard");
    gen->preparse_callback([gen, generateOptions](std::size_t) { generateOptions->addTo(gen, true); });
    gen->callback([&run, generateOptions] {
        run = [generateOptions](CliContext& ctx) { return generate(ctx, *generateOptions); };
    });

    auto source = std::make_shared<std::string>("-");
    auto* dec =
        command->add_subcommand("decompile", "Read a MESSAGE() statement and print its record as JSON");
    dec->add_option("source", *source, "FILE, or - for standard input");
    dec->callback([&run, source] { run = [source](CliContext& ctx) { return decompile(ctx, *source); }; });

    auto saveOptions = std::make_shared<RecordOptions>();
    auto description = std::make_shared<std::string>();
    auto* sav = command->add_subcommand("save", "Save a message under a description");
    sav->preparse_callback([sav, saveOptions, description](std::size_t) {
        sav->add_option("description", *description, "Description")->required();
        saveOptions->addTo(sav, false);
    });
    sav->callback([&run, saveOptions, description] {
        run = [saveOptions, description](CliContext& ctx) { return save(ctx, *description, *saveOptions); };
    });

    command->add_subcommand("list", "List the saved messages")->callback([&run] { run = list; });
}

} // namespace kestrix::app
