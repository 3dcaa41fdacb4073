#include "app/cli/TemplateCommands.h"

#include "app/cli/CliContext.h"
#include "config/ConfigRecord.h"
#include "organizers/TemplateList.h"
#include "organizers/TemplateRegistrar.h"
#include "runtime/TextCodec.h"

#include <CLI/CLI.hpp>

#include <memory>
#include <ostream>

namespace kestrix::app {

namespace {

using organizers::TemplateList;

std::string clarionRoot(CliContext& ctx)
{
    return ctx.session.configuration().text(config::Cfg::CwPath);
}

// The list as the window opens it; nothing (after saying why) when the file cannot be read,
// so that nothing is written over it.
std::optional<TemplateList> readList(CliContext& ctx)
{
    organizers::TemplateListRead read = organizers::readTemplateList();
    if (const auto note = organizers::templateListReadNote(read, organizers::TemplateListFileName))
        ctx.dialogs.message(*note);
    if (read.error)
        return std::nullopt;
    return std::move(read.list);
}

int saveList(CliContext& ctx, const TemplateList& list)
{
    if (const runtime::FileError error = organizers::writeTemplateList(list)) {
        ctx.dialogs.message(organizers::templateListWriteError(error, organizers::TemplateListFileName));
        return ExitFailure;
    }
    return 0;
}

void printEntry(CliContext& ctx, const organizers::TemplateEntry& e)
{
    ctx.out << tableColumn(e.load) << '\t' << tableColumn(e.file) << '\t' << tableColumn(e.path) << '\n';
}

int listTemplates(CliContext& ctx)
{
    const std::optional<TemplateList> list = readList(ctx);
    if (!list)
        return ExitFailure;
    for (const organizers::TemplateEntry& e : list->entries())
        printEntry(ctx, e);
    return 0;
}

int scanTemplates(CliContext& ctx)
{
    std::optional<TemplateList> list = readList(ctx);
    if (!list)
        return ExitFailure;
    organizers::TemplateScanResult scan = organizers::scanForTemplates(clarionRoot(ctx));
    organizers::addScanned(*list, scan);
    if (const int code = saveList(ctx, *list))
        return code;
    ctx.out << runtime::cp1252ToUtf8(runtime::messageLines(organizers::templateScanReport(scan).text))
            << '\n';
    return 0;
}

// FILE is "DIRECTORY\NAME", or a name listed in one directory only. 0 and the entry, or the exit code.
int entryNamed(CliContext& ctx, const TemplateList& list, const std::string& given, std::size_t& index)
{
    const std::optional<std::string> text = ctx.argument(given);
    if (!text)
        return ExitRefused;
    if (text->find('\\') != std::string::npos) {
        const std::size_t slash = text->rfind('\\');
        if (const auto found = list.find(text->substr(0, slash), text->substr(slash + 1))) {
            index = *found;
            return 0;
        }
    } else {
        const std::vector<std::size_t> found = list.findFile(*text);
        if (found.size() == 1) {
            index = found[0];
            return 0;
        }
        if (found.size() > 1) {
            ctx.err << given << " is listed in " << found.size()
                    << " directories: name it as DIRECTORY\\FILE, as \"ktx templates list\" shows\n";
            return ExitRefused;
        }
    }
    ctx.err << "No template " << given << " in the list\n";
    return ExitFailure;
}

int loadTemplate(CliContext& ctx, const std::string& file, const std::string& state)
{
    std::optional<TemplateList> list = readList(ctx);
    if (!list)
        return ExitFailure;
    std::size_t index = 0;
    if (const int code = entryNamed(ctx, *list, file, index))
        return code;
    list->setLoad(index, state == "on" ? organizers::TemplateLoad::Register : organizers::TemplateLoad::No);
    return saveList(ctx, *list);
}

int registerTemplates(CliContext& ctx, const std::vector<std::string>& what)
{
    std::optional<TemplateList> list = readList(ctx);
    if (!list)
        return ExitFailure;
    const bool all = what[0] == "all" && what.size() == 1;
    const bool directory = what[0] == "dir" && what.size() == 2;
    std::size_t index = 0;
    if (!all && !directory) {
        if (what.size() != 1) {
            ctx.err << "Give all, dir DIRECTORY or FILE\n";
            return ExitRefused;
        }
        if (const int code = entryNamed(ctx, *list, what[0], index))
            return code;
        if ((*list)[index].marked()) {
            ctx.err << what[0] << " is marked not to load: it is never registered\n";
            return ExitFailure;
        }
    }
    std::optional<std::string> directoryName;
    if (directory && !(directoryName = ctx.argument(what[1])))
        return ExitRefused;

    organizers::TemplateRegistrar registrar(*list, clarionRoot(ctx), ctx.dialogs);
    const organizers::RegisterResult result = all         ? registrar.registerAll()
                                              : directory ? registrar.registerDirectory(*directoryName)
                                                          : registrar.registerOne(index);
    for (const std::size_t i : result.order)
        printEntry(ctx, (*list)[i]);
    return result.connected && result.failed == 0 ? 0 : ExitFailure;
}

int deleteRegistry(CliContext& ctx)
{
    // Running the command is the answer to the question the window asks.
    const organizers::RegistryDeletion outcome =
        organizers::deleteRegistry(clarionRoot(ctx), ctx.dialogs, true);
    return outcome == organizers::RegistryDeletion::Deleted ? 0 : ExitFailure;
}

} // namespace

void addTemplateCommands(CLI::App& app, CommandRunner& run)
{
    auto* templates = app.add_subcommand("templates", "List, scan and register template files in the IDE");
    templates->require_subcommand(1);

    templates->add_subcommand("list", "Print the list: load, file, directory")->callback([&run] {
        run = [](CliContext& ctx) { return listTemplates(ctx); };
    });
    templates->add_subcommand("scan", "Find template files under the Clarion directory and add them")
        ->callback([&run] { run = [](CliContext& ctx) { return scanTemplates(ctx); }; });

    auto load = std::make_shared<std::vector<std::string>>();
    auto* loadCommand =
        templates->add_subcommand("load", "Register a file with the others (on) or never (off)");
    loadCommand->add_option("entry", *load, "FILE on|off")->required()->expected(2);
    loadCommand->callback([&run, load] {
        run = [load](CliContext& ctx) {
            const std::string& state = (*load)[1];
            if (state != "on" && state != "off") {
                ctx.err << "Give on or off, not " << state << '\n';
                return ExitRefused;
            }
            return loadTemplate(ctx, (*load)[0], state);
        };
    });

    auto what = std::make_shared<std::vector<std::string>>();
    auto* registerCommand =
        templates->add_subcommand("register", "Register templates in the running IDE; prints each result");
    registerCommand->add_option("what", *what, "all, dir DIRECTORY, or FILE")->required()->expected(1, 2);
    registerCommand->callback(
        [&run, what] { run = [what](CliContext& ctx) { return registerTemplates(ctx, *what); }; });

    templates
        ->add_subcommand("delete-registry", "Delete the IDE's registry file; the IDE must not be running")
        ->callback([&run] { run = [](CliContext& ctx) { return deleteRegistry(ctx); }; });
}

} // namespace kestrix::app
