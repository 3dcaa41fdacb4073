#include "app/cli/SnippetCommands.h"

#include "app/cli/CliContext.h"
#include "data/DataFileNames.h"
#include "runtime/FixedText.h"
#include "runtime/TextCodec.h"
#include "utilities/CodeLibrary.h"
#include "utilities/CodeStoreRecord.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <ostream>

namespace kestrix::app {

namespace {

using utilities::CodeLibrary;

std::optional<CodeLibrary> openLibrary(CliContext& ctx)
{
    runtime::KeyedFile* snippets = ctx.open(data::FileName::CodeLibrary, utilities::snippetLayout());
    runtime::KeyedFile* types =
        snippets ? ctx.open(data::FileName::CodeTypes, utilities::codeTypeLayout()) : nullptr;
    if (!types)
        return std::nullopt;
    return std::make_optional<CodeLibrary>(*snippets, *types, ctx.session.dialogs());
}

// Text as the code box holds it: line ends CR LF, and the file's own last line end is not a line.
std::string codeText(const std::string& read)
{
    std::string code;
    for (std::size_t i = 0; i < read.size(); ++i) {
        if (read[i] == '\n' && (i == 0 || read[i - 1] != '\r'))
            code += '\r';
        code += read[i];
    }
    if (code.size() >= 2 && code.compare(code.size() - 2, 2, "\r\n") == 0)
        code.resize(code.size() - 2);
    return code;
}

int types(CliContext& ctx)
{
    auto library = openLibrary(ctx);
    if (!library)
        return ExitFailure;
    for (const std::string& type : library->types())
        ctx.out << tableColumn(type) << '\n';
    return 0;
}

int add(CliContext& ctx, const std::string& typeArg, const std::string& nameArg, const std::string& source)
{
    const auto type = ctx.argument(typeArg);
    const auto name = type ? ctx.argument(nameArg) : std::nullopt;
    if (!name)
        return ExitRefused;
    std::string read;
    if (const int failed = ctx.readInput(source, read))
        return failed;
    const utilities::Snippet snippet{*type, *name, codeText(read)};
    if (const utilities::Refusal refusal = CodeLibrary::checkSnippet(snippet)) {
        ctx.err << runtime::cp1252ToUtf8(*refusal) << '\n';
        return ExitRefused;
    }
    auto library = openLibrary(ctx);
    if (!library)
        return ExitFailure;
    if (!library->typeExists(snippet.type) && !library->addType(snippet.type))
        return ExitFailure;
    return library->addSnippet(snippet) ? 0 : ExitFailure;
}

int list(CliContext& ctx, const std::string& typeArg)
{
    auto library = openLibrary(ctx);
    if (!library)
        return ExitFailure;
    std::vector<utilities::Snippet> snippets;
    if (typeArg.empty()) {
        snippets = library->allSnippets();
    } else {
        const auto type = ctx.argument(typeArg);
        if (!type)
            return ExitRefused;
        snippets = library->snippets(*type);
        if (snippets.empty() && !library->typeExists(*type)) {
            ctx.err << "No code type is called " << typeArg << '\n';
            return ExitFailure;
        }
    }
    for (const utilities::Snippet& s : snippets)
        ctx.out << tableColumn(s.type) << '\t' << tableColumn(s.name) << '\n';
    return 0;
}

// The snippet named on the command line, or the exit code after saying why.
struct Found
{
    std::optional<runtime::Record> record;
    int exitCode = 0;
};

Found findNamed(CliContext& ctx, CodeLibrary& library, const std::string& typeArg, const std::string& nameArg)
{
    Found found;
    const auto type = ctx.argument(typeArg);
    const auto name = type ? ctx.argument(nameArg) : std::nullopt;
    if (!name) {
        found.exitCode = ExitRefused;
        return found;
    }
    found.record = library.findSnippet(*type, *name);
    if (!found.record) {
        ctx.err << "No snippet " << nameArg << " of type " << typeArg << '\n';
        found.exitCode = ExitFailure;
    }
    return found;
}

int remove(CliContext& ctx, const std::string& type, const std::string& name)
{
    auto library = openLibrary(ctx);
    if (!library)
        return ExitFailure;
    Found found = findNamed(ctx, *library, type, name);
    if (!found.record)
        return found.exitCode;
    return library->deleteSnippet(*found.record) ? 0 : ExitFailure;
}

int copy(CliContext& ctx, const std::string& type, const std::string& name,
         const std::vector<std::string>& values)
{
    auto library = openLibrary(ctx);
    if (!library)
        return ExitFailure;
    Found found = findNamed(ctx, *library, type, name);
    if (!found.record)
        return found.exitCode;
    utilities::SnippetCopy copy = utilities::prepareCopy(found.record->text(utilities::Cds::Code));
    for (const std::string& assignment : values) {
        const auto equals = assignment.find('=');
        if (equals == std::string::npos) {
            ctx.err << "Expected LABEL=VALUE: " << assignment << '\n';
            return ExitRefused;
        }
        const auto label = ctx.argument(assignment.substr(0, equals));
        const auto value = label ? ctx.argument(assignment.substr(equals + 1)) : std::nullopt;
        if (!value)
            return ExitRefused;
        auto token =
            std::find_if(copy.tokens.begin(), copy.tokens.end(), [&](const utilities::MergeToken& t) {
                return runtime::sameTextNoCase(t.label, *label);
            });
        if (token == copy.tokens.end()) {
            ctx.err << "The snippet has no merge field " << assignment.substr(0, equals) << '\n';
            return ExitRefused;
        }
        const std::size_t length = runtime::rtrim(*value).size();
        if (length > utilities::MergeValueLength) {
            ctx.err << "The value of " << assignment.substr(0, equals) << " holds at most "
                    << utilities::MergeValueLength << " characters, not " << length << ".\n";
            return ExitRefused;
        }
        token->value = *value;
    }
    ctx.session.putCode(utilities::mergeTokens(copy.lines, copy.tokens));
    ctx.out << printedClipboardText(ctx.session.systemClipboard().text());
    return 0;
}

} // namespace

void addSnippetCommands(CLI::App& app, CommandRunner& run)
{
    auto* command = app.add_subcommand("snippets", "Keep code snippets by type and copy them out");
    command->require_subcommand(1);

    command->add_subcommand("types", "List the code types")->callback([&run] { run = types; });

    struct Args
    {
        std::string type, name, source = "-";
        std::vector<std::string> values;
    };
    auto a = std::make_shared<Args>();

    auto* addCommand = command->add_subcommand("add", "Add a snippet (and its type when missing)");
    addCommand->add_option("type", a->type, "Code type")->required();
    addCommand->add_option("name", a->name, "Code description")->required();
    addCommand->add_option("source", a->source, "FILE with the code, or - for standard input");
    addCommand->callback(
        [&run, a] { run = [a](CliContext& ctx) { return add(ctx, a->type, a->name, a->source); }; });

    auto* listCommand = command->add_subcommand("list", "List type and name of the snippets");
    listCommand->add_option("type", a->type, "Only this code type");
    listCommand->callback([&run, a] { run = [a](CliContext& ctx) { return list(ctx, a->type); }; });

    auto* deleteCommand = command->add_subcommand("delete", "Delete a snippet");
    deleteCommand->add_option("type", a->type, "Code type")->required();
    deleteCommand->add_option("name", a->name, "Code description")->required();
    deleteCommand->callback(
        [&run, a] { run = [a](CliContext& ctx) { return remove(ctx, a->type, a->name); }; });

    auto* copyCommand = command->add_subcommand("copy", "Print what the snippet puts on the clipboard");
    copyCommand->add_option("type", a->type, "Code type")->required();
    copyCommand->add_option("name", a->name, "Code description")->required();
    copyCommand->add_option("--value", a->values, "LABEL=VALUE for the merge field _{LABEL}_");
    copyCommand->callback(
        [&run, a] { run = [a](CliContext& ctx) { return copy(ctx, a->type, a->name, a->values); }; });
}

} // namespace kestrix::app
