#include "app/cli/StringCommands.h"

#include "app/cli/CliContext.h"
#include "runtime/TextCodec.h"
#include "utilities/StringBuilder.h"
#include "utilities/StringBuilderCleanup.h"

#include <map>
#include <memory>
#include <optional>
#include <ostream>

namespace kestrix::app {

namespace {

struct BuildOptions
{
    std::optional<std::string> variable;
    std::optional<std::string> enter;
    int indent = 0;
    int nest = 0;
    int end = 80;
    std::string source = "-";
};

// Line breaks as the text box holds them: CR LF, whether the input had LF or CR LF.
std::string boxText(const std::string& input)
{
    std::string out;
    out.reserve(input.size());
    for (std::size_t i = 0; i < input.size(); ++i) {
        if (input[i] == '\n' && (i == 0 || input[i - 1] != '\r'))
            out += '\r';
        out += input[i];
    }
    return out;
}

int build(CliContext& ctx, const BuildOptions& o)
{
    utilities::StringSettings s;
    if (o.variable) {
        const auto variable = ctx.argument(*o.variable);
        if (!variable)
            return ExitRefused;
        if (variable->size() > utilities::StringVariableSize) {
            ctx.err << "Variable holds at most " << utilities::StringVariableSize << " characters, not "
                    << variable->size() << ".\n";
            return ExitRefused;
        }
        s.variable = *variable;
    }
    utilities::acceptVariable(s); // as the window does when the Variable is accepted
    if (o.enter)
        s.enter = *o.enter == "on";
    s.indent = o.indent;
    s.nest = o.nest;
    s.end = o.end;
    std::string raw;
    if (const int failed = ctx.readInput(o.source, raw))
        return failed;
    const std::string text = boxText(raw);
    if (const auto refusal = utilities::textTooLong(text)) {
        ctx.err << refusal->caption << ": " << refusal->text << '\n';
        return ExitRefused;
    }
    const utilities::StringCode code = utilities::buildString(text, s);
    if (code.failure) {
        // The window puts "Unbalanced Curly Braces" on the clipboard; a script must not take it for code.
        ctx.dialogs.message(*code.failure);
        return ExitFailure;
    }
    if (code.dropped > 0)
        ctx.err << "STRING BUILDER: " << code.dropped << " characters did not fit in a line of "
                << utilities::StringLineLimit << " and were left out.\n";
    ctx.out << printedClipboardText(ctx.session.putCode(code.lines));
    return 0;
}

int clean(CliContext& ctx, utilities::CleanAction action, const std::string& source)
{
    std::string raw;
    if (const int failed = ctx.readInput(source, raw))
        return failed;
    const std::string text = boxText(raw);
    if (const auto refusal = utilities::textTooLong(text)) {
        ctx.err << refusal->caption << ": " << refusal->text << '\n';
        return ExitRefused;
    }
    ctx.out << printedClipboardText(utilities::cleanText(text, action));
    return 0;
}

int decompileString(CliContext& ctx, const std::string& source)
{
    std::string code;
    if (const int failed = ctx.readInput(source, code))
        return failed;
    const utilities::DecompiledString result = utilities::decompileString(code);
    if (result.failure) {
        ctx.dialogs.message(*result.failure);
        return ExitFailure;
    }
    if (const auto refusal = utilities::textTooLong(result.text)) {
        ctx.err << refusal->caption << ": " << refusal->text << '\n';
        return ExitRefused;
    }
    ctx.out << printedClipboardText(result.text);
    return 0;
}

} // namespace

void addStringCommands(CLI::App& app, CommandRunner& run)
{
    auto* command = app.add_subcommand("string", "Turn text into a Clarion string expression and back");
    command->require_subcommand(1);

    auto o = std::make_shared<BuildOptions>();
    auto* bld = command->add_subcommand("build", "Print the code the String Builder puts on the clipboard");
    bld->add_option("--variable", o->variable, "Variable to assign the string to; a '(' makes it a call");
    bld->add_option("--enter", o->enter, "on: a line break of the text writes <13,10>")
        ->check(CLI::IsMember({"on", "off"}));
    bld->add_option("--indent", o->indent, "Column the lines start in")->check(CLI::Range(0, 99));
    bld->add_option("--nest", o->nest, "Blanks per continuation level")->check(CLI::Range(0, 99));
    bld->add_option("--end", o->end, "Right margin column")->check(CLI::Range(0, 99));
    bld->add_option("source", o->source, "FILE, or - for standard input");
    bld->callback([&run, o] { run = [o](CliContext& ctx) { return build(ctx, *o); }; });

    static const std::map<std::string, utilities::CleanAction> actions{
        {"remove-returns", utilities::CleanAction::RemoveReturns},
        {"remove-tabs", utilities::CleanAction::RemoveTabs},
        {"remove-extra-spaces", utilities::CleanAction::RemoveExtraSpaces},
        {"remove-non-ascii", utilities::CleanAction::RemoveNonAscii}};
    auto action = std::make_shared<std::string>();
    auto cleanSource = std::make_shared<std::string>("-");
    auto* cln = command->add_subcommand("clean", "Print the text after one of the Clean menu's edits");
    cln->add_option("action", *action, "remove-returns, remove-tabs, remove-extra-spaces or remove-non-ascii")
        ->required()
        ->check(CLI::IsMember({"remove-returns", "remove-tabs", "remove-extra-spaces", "remove-non-ascii"}));
    cln->add_option("source", *cleanSource, "FILE, or - for standard input");
    cln->callback([&run, action, cleanSource] {
        run = [action, cleanSource](CliContext& ctx) {
            return clean(ctx, actions.at(*action), *cleanSource);
        };
    });

    auto decSource = std::make_shared<std::string>("-");
    auto* dec = command->add_subcommand("decompile", "Print the text that Decompile from Clipboard rebuilds");
    dec->add_option("source", *decSource, "FILE, or - for standard input");
    dec->callback([&run, decSource] {
        run = [decSource](CliContext& ctx) { return decompileString(ctx, *decSource); };
    });
}

} // namespace kestrix::app
