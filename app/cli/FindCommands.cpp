#include "app/cli/FindCommands.h"

#include "app/FindSources.h"
#include "app/ToolCatalog.h"
#include "app/cli/CliContext.h"
#include "runtime/FixedText.h"

#include <limits>
#include <memory>
#include <ostream>

namespace kestrix::app {

namespace {

// Without windows there are no menu texts: the tools go by their procedures.
std::vector<ToolName> toolProcedures()
{
    std::vector<ToolName> tools;
    for (const runtime::ToolMenu menu : {runtime::ToolMenu::Tools, runtime::ToolMenu::Dictionary,
                                         runtime::ToolMenu::Settings, runtime::ToolMenu::Help})
        for (const std::string& procedure : menuOrder(menu))
            tools.push_back({procedure, procedure});
    return tools;
}

int find(CliContext& ctx, const std::string& given)
{
    const auto text = ctx.argument(given);
    if (!text)
        return ExitRefused;
    if (runtime::isBlank(*text)) {
        ctx.err << "FIND: Type the text to look for\n";
        return ExitRefused;
    }
    FindAnything finder(std::numeric_limits<std::size_t>::max());
    loadFindSources(finder, ctx.session, toolProcedures());
    for (const FindGroup& group : finder.search(*text)) {
        for (const FindHit& hit : group.hits)
            ctx.out << findKindName(hit.kind) << '\t' << tableColumn(hit.label) << '\n';
    }
    return 0;
}

} // namespace

void addFindCommands(CLI::App& app, CommandRunner& run)
{
    auto text = std::make_shared<std::string>();
    auto* command = app.add_subcommand(
        "find", "Look for text in the equates, saved messages, snippets, errors, keycodes and tools");
    command->add_option("text", *text, "What to look for, anywhere in a name or value, any case")->required();
    command->callback([&run, text] { run = [text](CliContext& ctx) { return find(ctx, *text); }; });
}

} // namespace kestrix::app
