#include "app/cli/ConfigCommands.h"

#include "app/cli/CliContext.h"
#include "config/ConfigFields.h"
#include "config/ConfigRecord.h"
#include "config/ConfigurationForm.h"
#include "data/DataFileNames.h"
#include "runtime/TextCodec.h"

#include <memory>
#include <ostream>

namespace kestrix::app {

void addConfigCommands(CLI::App& app, CommandRunner& run)
{
    auto* config = app.add_subcommand("config", "Show or change the configuration record");
    config->require_subcommand(1);
    config->add_subcommand("show", "Print every configuration field as NAME=value")->callback([&run] {
        run = [](CliContext& ctx) {
            runtime::KeyedFile* file = ctx.open(data::FileName::Configuration, config::configLayout());
            if (!file)
                return ExitFailure;
            const runtime::Record record = config::readConfiguration(*file).value_or(config::defaultConfig());
            for (const auto& [name, value] : config::configValues(record))
                ctx.out << name << '=' << runtime::cp1252ToUtf8(value) << '\n';
            return 0;
        };
    });
    auto assignments = std::make_shared<std::vector<std::string>>();
    auto* set = config->add_subcommand("set", "Set configuration fields, with the window's checks");
    set->add_option("assignments", *assignments, "NAME=VALUE ...")->required();
    set->callback([&run, assignments] {
        run = [assignments](CliContext& ctx) {
            runtime::KeyedFile* file = ctx.open(data::FileName::Configuration, config::configLayout());
            if (!file)
                return ExitFailure;
            config::ConfigurationForm form(*file);
            runtime::Record changed = form.record();
            if (const int refused = ctx.applyAssignments(changed, *assignments))
                return refused;
            form.record() = changed;
            return form.save(ctx.dialogs) ? 0 : ExitFailure;
        };
    });
}

} // namespace kestrix::app
