#include "app/cli/ConfigCommands.h"

#include "app/cli/CliContext.h"
#include "app/cli/ConsoleDialogs.h"
#include "config/ConfigFields.h"
#include "config/ConfigRecord.h"
#include "config/ConfigurationForm.h"
#include "config/SettingsExchange.h"
#include "data/DataFileNames.h"
#include "runtime/TextCodec.h"

#include <memory>
#include <ostream>

namespace kestrix::app {

namespace {

// Keeps the boxes a write shows, so the command can tell a change by another program from a failure.
class HeldDialogs final : public HeadlessDialogs
{
public:
    unsigned message(const runtime::MessageRequest& request) override
    {
        held.push_back(request);
        return runtime::effectiveDefault(request);
    }
    std::vector<runtime::MessageRequest> held;
};

int show(CliContext& ctx)
{
    // The configuration of this run: the record with the --set values.
    for (const auto& [name, value] : config::configValues(ctx.session.configuration()))
        ctx.out << name << '=' << runtime::cp1252ToUtf8(shownConfigValue(value)) << '\n';
    return 0;
}

} // namespace

std::string shownConfigValue(const std::string& value)
{
    std::string out;
    for (const char c : value) {
        const auto code = static_cast<unsigned char>(c);
        if (code < 32 || code == 127)
            out += "<" + std::to_string(code) + ">";
        else
            out += c;
    }
    return out;
}

namespace {

// Writes the form's record; 0, or the exit code after saying why.
int saveForm(CliContext& ctx, config::ConfigurationForm& form, const std::function<void()>& beforeWrite)
{
    if (beforeWrite)
        beforeWrite();
    const std::int64_t readAt = form.record().version();
    HeldDialogs held;
    if (form.save(held))
        return 0;
    if (form.mode() == config::ConfigurationForm::Mode::Change && form.record().version() != readAt) {
        ctx.err
            << "The configuration was changed by another program while this one set it; nothing was saved. "
               "Run the command again to set the values on the new record.\n";
        return ExitRefused;
    }
    for (const runtime::MessageRequest& box : held.held)
        ctx.dialogs.message(box);
    return ExitFailure;
}

int exportSettings(CliContext& ctx, const std::string& file)
{
    runtime::KeyedFile* configFile = ctx.open(data::FileName::Configuration, config::configLayout());
    if (!configFile)
        return ExitFailure;
    const config::ConfigurationForm form(*configFile); // the stored record, or the defaults
    if (auto error = config::exportSettings(ctx.invokedIn / file, form.record(), ctx.session.windowsIni(),
                                            ctx.session.listsIni())) {
        ctx.err << runtime::cp1252ToUtf8(*error) << '\n';
        return ExitFailure;
    }
    return 0;
}

int importSettings(CliContext& ctx, const std::string& file)
{
    runtime::KeyedFile* configFile = ctx.open(data::FileName::Configuration, config::configLayout());
    if (!configFile)
        return ExitFailure;
    config::ConfigurationForm form(*configFile);
    const runtime::IniFile windows = ctx.session.windowsIni();
    const config::SettingsImport import = config::readSettings(ctx.invokedIn / file, form.record(), &windows);
    if (!import.ok()) {
        ctx.err << runtime::cp1252ToUtf8(import.error) << "\nNothing was imported.\n";
        return ExitRefused;
    }
    form.record() = *import.config;
    // The record first: when it cannot be written, the positions and layouts stay as they were too.
    if (const int failed = saveForm(ctx, form, {}))
        return failed;
    if (!config::applySettingsSections(import, ctx.session.windowsIni(), ctx.session.listsIni())) {
        ctx.err << "The window positions and list layouts could not all be written.\n";
        return ExitFailure;
    }
    return 0;
}

} // namespace

int setConfiguration(CliContext& ctx, const std::vector<std::string>& assignments,
                     const std::function<void()>& beforeWrite)
{
    runtime::KeyedFile* file = ctx.open(data::FileName::Configuration, config::configLayout());
    if (!file)
        return ExitFailure;
    config::ConfigurationForm form(*file);
    runtime::Record changed = form.record();
    if (const int refused = ctx.applyAssignments(changed, assignments))
        return refused;
    form.record() = changed;
    return saveForm(ctx, form, beforeWrite);
}

void addConfigCommands(CLI::App& app, CommandRunner& run)
{
    auto* config = app.add_subcommand("config", "Show or change the configuration record");
    config->require_subcommand(1);
    config->add_subcommand("show", "Print every configuration field as NAME=value")->callback([&run] {
        run = show;
    });
    auto assignments = std::make_shared<std::vector<std::string>>();
    auto* set = config->add_subcommand("set", "Set configuration fields, with the window's checks");
    set->add_option("assignments", *assignments, "NAME=VALUE ...")->required();
    set->callback([&run, assignments] {
        run = [assignments](CliContext& ctx) { return setConfiguration(ctx, *assignments); };
    });
    auto file = std::make_shared<std::string>();
    auto* exporter = config->add_subcommand(
        "export", "Write the configuration, window positions and list layouts to one INI-format file");
    exporter->add_option("file", *file, "FILE")->required();
    exporter->callback(
        [&run, file] { run = [file](CliContext& ctx) { return exportSettings(ctx, *file); }; });
    auto* importer = config->add_subcommand(
        "import",
        "Read settings written by export, each value checked as the window checks it; all or nothing");
    importer->add_option("file", *file, "FILE")->required();
    importer->callback(
        [&run, file] { run = [file](CliContext& ctx) { return importSettings(ctx, *file); }; });
}

} // namespace kestrix::app
