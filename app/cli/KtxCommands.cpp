#include "app/cli/KtxCommands.h"

#include "app/DataDirectorySetup.h"
#include "app/cli/CliContext.h"
#include "app/cli/ColorCommands.h"
#include "app/cli/ConfigCommands.h"
#include "app/cli/DictCommands.h"
#include "app/cli/EquateCommands.h"
#include "app/cli/ErrorCommands.h"
#include "app/cli/ExchangeCommands.h"
#include "app/cli/FindCommands.h"
#include "app/cli/HelpCommands.h"
#include "app/cli/KeyCommands.h"
#include "app/cli/LookupCommands.h"
#include "app/cli/MapCommands.h"
#include "app/cli/MessageCommands.h"
#include "app/cli/SnippetCommands.h"
#include "app/cli/StringCommands.h"
#include "app/cli/TemplateCommands.h"
#include "runtime/DataDirectory.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <ostream>
#include <string_view>
#include <vector>

namespace kestrix::app {

namespace {

// What was printed reached its place, or the run fails: a full disk or a closed pipe must not read as done.
int checkedOutput(std::ostream& out, std::ostream& err, int code)
{
    out.flush();
    if (out)
        return code;
    err << "Cannot write the output: standard output refused it, so what was printed is incomplete.\n";
    return code != 0 ? code : ExitFailure;
}

// The commands of one source file, by the names it adds to the command line.
struct CommandGroup
{
    std::vector<std::string_view> names;
    void (*add)(CLI::App&, CommandRunner&);
};

const std::vector<CommandGroup>& commandGroups()
{
    static const std::vector<CommandGroup> groups = {
        {{"config"}, addConfigCommands},
        {{"message"}, addMessageCommands},
        // The lookup commands add to the equates command.
        {{"equates", "popups", "keycode", "tplcode"},
         [](CLI::App& app, CommandRunner& run) {
             addEquateCommands(app, run);
             addLookupCommands(app, run);
         }},
        {{"keys"}, addKeyCommands},
        {{"color", "ascii"}, addColorCommands},
        {{"snippets"}, addSnippetCommands},
        {{"map"}, addMapCommands},
        {{"export", "import"}, addExchangeCommands},
        {{"string"}, addStringCommands},
        {{"errors"}, addErrorCommands},
        {{"dict"}, addDictCommands},
        {{"help"}, addHelpCommands},
        {{"templates"}, addTemplateCommands},
        {{"find"}, addFindCommands},
    };
    return groups;
}

// Building every command's options costs more than most commands' work, so only the groups whose
// names the command line holds are built; with none of them (help, a mistyped command) all are.
void addCommands(CLI::App& app, CommandRunner& command, int argc, char** argv)
{
    const auto named = [&](const CommandGroup& group) {
        for (int i = 1; i < argc; ++i) {
            if (std::find(group.names.begin(), group.names.end(), std::string_view(argv[i])) !=
                group.names.end())
                return true;
        }
        return false;
    };
    const auto& groups = commandGroups();
    const bool any = std::any_of(groups.begin(), groups.end(), named);
    for (const CommandGroup& group : groups) {
        if (!any || named(group))
            group.add(app, command);
    }
}

int run(int argc, char** argv, std::ostream& out, std::ostream& err)
{
    CLI::App app{"ktx: the Kestrix tools from the command line"};
    app.require_subcommand(0, 1);
    app.fallthrough(); // global options may follow the command, as the subcommands inherit this
    // Options are spelt the same on every system; a path that starts with a slash is a path on Windows too.
    app.allow_windows_style_options(false);
    std::string dataDir = runtime::defaultDataDirectory().string();
    app.add_option("--data-dir", dataDir, "Folder with the program's data files")->capture_default_str();
    std::vector<std::string> overrides;
    app.add_option("--set", overrides, "NAME=VALUE: a configuration field for this run only");
    bool version = false;
    app.add_flag("--version", version, "Print the version");

    CommandRunner command;
    addCommands(app, command, argc, argv);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        // Help asked for is done; anything else the parser refused is refused input.
        return app.exit(e, out, err) == 0 ? 0 : ExitRefused;
    }
    if (version) {
        out << "ktx " << KESTRIX_VERSION << '\n';
        return 0;
    }
    if (!command) {
        out << app.help();
        return 0;
    }
    const std::filesystem::path invokedIn = std::filesystem::current_path();
    const runtime::DataDirectoryResult entered = runtime::enterDataDirectory(dataDir);
    if (!entered.ok) {
        err << entered.message << '\n';
        return ExitFailure;
    }
    if (const auto setup = prepareDataDirectory(); !setup.problem.empty())
        err << setup.problem << '\n';
    CliContext ctx(out, err, invokedIn);
    if (const int failed = ctx.loadConfiguration(overrides))
        return failed;
    return command(ctx);
}

} // namespace

int runKtx(int argc, char** argv, std::ostream& out, std::ostream& err)
{
    return checkedOutput(out, err, run(argc, argv, out, err));
}

} // namespace kestrix::app
