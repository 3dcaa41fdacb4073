#include "app/cli/KtxCommands.h"

#include "app/cli/ConsoleDialogs.h"
#include "config/ConfigFields.h"
#include "config/ConfigRecord.h"
#include "config/ConfigurationForm.h"
#include "config/Session.h"
#include "data/DataFileNames.h"
#include "data/DataFileOpener.h"
#include "runtime/DataDirectory.h"
#include "runtime/TextCodec.h"

#include <CLI/CLI.hpp>

#include <ostream>

namespace kestrix::app {
namespace {

constexpr int ExitFailure = 1;
constexpr int ExitRefused = 2;

struct CliContext
{
    std::ostream& out;
    std::ostream& err;
    ConsoleDialogs dialogs;
    config::Session session;

    CliContext(std::ostream& o, std::ostream& e) : out(o), err(e), dialogs(e), session(dialogs) {}

    runtime::KeyedFile* configurationFile()
    {
        runtime::KeyedFile* file = session.files().acquire(data::FileName::Configuration, config::configLayout());
        if (!file)
            err << data::HaltText << '\n';
        return file;
    }
};

int configShow(CliContext& ctx)
{
    runtime::KeyedFile* file = ctx.configurationFile();
    if (!file)
        return ExitFailure;
    const runtime::Record config = config::readConfiguration(*file).value_or(config::defaultConfig());
    for (const auto& [name, value] : config::configValues(config))
        ctx.out << name << '=' << runtime::cp1252ToUtf8(value) << '\n';
    return 0;
}

int configSet(CliContext& ctx, const std::vector<std::string>& assignments)
{
    runtime::KeyedFile* file = ctx.configurationFile();
    if (!file)
        return ExitFailure;
    config::ConfigurationForm form(*file);
    runtime::Record changed = form.record();
    for (const std::string& assignment : assignments) {
        const config::AssignmentResult result = config::applyConfigAssignment(changed, runtime::utf8ToCp1252(assignment));
        if (result.refusal) {
            ctx.dialogs.message(*result.refusal);
            return ExitRefused;
        }
        if (!result.ok) {
            ctx.err << runtime::cp1252ToUtf8(result.error) << '\n';
            return ExitRefused;
        }
    }
    form.record() = changed;
    return form.save(ctx.dialogs) ? 0 : ExitFailure;
}

} // namespace

int runKtx(int argc, char** argv, std::ostream& out, std::ostream& err)
{
    CLI::App app{"ktx: the Kestrix tools from the command line"};
    app.require_subcommand(0, 1);
    std::string dataDir = runtime::defaultDataDirectory().string();
    app.add_option("--data-dir", dataDir, "Folder with the program's data files")->capture_default_str();
    bool version = false;
    app.add_flag("--version", version, "Print the version");

    auto* configCommand = app.add_subcommand("config", "Show or change the configuration record");
    configCommand->require_subcommand(1);
    auto* show = configCommand->add_subcommand("show", "Print every configuration field as NAME=value");
    std::vector<std::string> assignments;
    auto* set = configCommand->add_subcommand("set", "Set configuration fields, with the window's checks");
    set->add_option("assignments", assignments, "NAME=VALUE ...")->required();

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e, out, err);
    }
    if (version) {
        out << "ktx " << KESTRIX_VERSION << '\n';
        return 0;
    }
    if (app.get_subcommands().empty()) {
        out << app.help();
        return 0;
    }
    const runtime::DataDirectoryResult entered = runtime::enterDataDirectory(dataDir);
    if (!entered.ok) {
        err << entered.message << '\n';
        return ExitFailure;
    }
    CliContext ctx(out, err);
    if (show->parsed())
        return configShow(ctx);
    if (set->parsed())
        return configSet(ctx, assignments);
    return 0;
}

} // namespace kestrix::app
