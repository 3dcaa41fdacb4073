#include "app/cli/HelpCommands.h"

#include "app/cli/CliContext.h"
#include "config/ConfigRecord.h"
#include "data/DataFileNames.h"
#include "data/RecordWriter.h"
#include "organizers/HelpList.h"
#include "organizers/HelpOrganizer.h"
#include "organizers/HelpScan.h"
#include "runtime/FieldFit.h"
#include "runtime/FixedText.h"
#include "runtime/TextCodec.h"
#include "runtime/WinPath.h"

#include <CLI/CLI.hpp>

#include <memory>
#include <ostream>

namespace kestrix::app {

namespace Hlp = organizers::Hlp;

namespace {

struct ScanOptions
{
    std::string clear = "no";
    std::string examples = "no";
};

int scanHelp(CliContext& ctx, const ScanOptions& o)
{
    runtime::KeyedFile* file = ctx.open(data::FileName::HelpList, organizers::helpListLayout());
    if (!file)
        return ExitFailure;
    organizers::HelpScanner scanner(*file, ctx.session.configuration().text(config::Cfg::CwPath),
                                    ctx.dialogs);
    const bool examples = o.examples == "yes";
    scanner.setExamplesAnswer([examples](const std::string&) { return examples; });
    const organizers::ClearChoice clear = o.clear == "all"   ? organizers::ClearChoice::AllFiles
                                          : o.clear == "hlp" ? organizers::ClearChoice::HelpFiles
                                                             : organizers::ClearChoice::None;
    const organizers::HelpScanResult result = scanner.run(clear);
    if (!result.completed)
        return ExitFailure;
    ctx.out << runtime::cp1252ToUtf8(runtime::messageLines(organizers::scanReport(result).text)) << '\n';
    return 0;
}

// "H" or "Help" (any case) to the type letter; 0 for neither.
char typeLetter(const std::string& tab)
{
    if (tab.size() == 1 && organizers::isHelpType(tab[0]))
        return runtime::upperChar(tab[0]);
    for (const char* t = organizers::HelpTypeLetters; *t; ++t) {
        if (runtime::sameTextNoCase(organizers::helpTypeName(*t), tab))
            return *t;
    }
    return 0;
}

bool knownTab(CliContext& ctx, const std::string& tab, char& letter)
{
    letter = typeLetter(tab);
    if (letter == 0)
        ctx.err << "Unknown tab " << tab
                << ": give one of H, X, S, C, T (Help, Text, Source, Class, Template)\n";
    return letter != 0;
}

int listHelp(CliContext& ctx, const std::string& tab)
{
    char letter = 0;
    if (!tab.empty() && !knownTab(ctx, tab, letter))
        return ExitRefused;
    runtime::KeyedFile* file = ctx.open(data::FileName::HelpList, organizers::helpListLayout());
    if (!file)
        return ExitFailure;
    for (const runtime::Record& r : file->readAll(Hlp::ByName)) {
        if (letter != 0 && r.text(Hlp::Type) != std::string(1, letter))
            continue;
        ctx.out << tableColumn(r.text(Hlp::Type)) << '\t' << tableColumn(r.text(Hlp::Name)) << '\t'
                << tableColumn(r.text(Hlp::File)) << '\t' << tableColumn(r.text(Hlp::Path)) << '\n';
    }
    return 0;
}

int addHelp(CliContext& ctx, const std::vector<std::string>& given)
{
    char letter = 0;
    if (!knownTab(ctx, given[0], letter))
        return ExitRefused;
    const auto& layout = *organizers::helpListLayout();
    const int fields[] = {Hlp::Name, Hlp::File, Hlp::Path};
    std::string values[3];
    for (int i = 0; i < 3; ++i) {
        const std::optional<std::string> text = ctx.argument(given[i + 1]);
        if (!text)
            return ExitRefused;
        if (const auto problem = runtime::textDoesNotFit(layout, fields[i], *text)) {
            ctx.err << *problem << '\n';
            return ExitRefused;
        }
        values[i] = *text;
    }
    if (const auto problem =
            organizers::HelpOrganizer::checkEntry({letter, values[0], values[1], values[2]})) {
        ctx.err << problem->text << '\n';
        return ExitRefused;
    }
    runtime::KeyedFile* file = ctx.open(data::FileName::HelpList, organizers::helpListLayout());
    if (!file)
        return ExitFailure;
    runtime::Record r = file->newRecord();
    r.setText(Hlp::Type, std::string(1, letter));
    r.setText(Hlp::Name, values[0]);
    r.setText(Hlp::File, values[1]);
    r.setText(Hlp::Path, runtime::withoutTrailingBackslashes(values[2]));
    return data::writeRecord(*file, r, data::WriteOperation::Add, ctx.dialogs) ? 0 : ExitFailure;
}

int deleteHelp(CliContext& ctx, const std::string& tab, const std::string& name)
{
    char letter = 0;
    if (!knownTab(ctx, tab, letter))
        return ExitRefused;
    const std::optional<std::string> wanted = ctx.argument(name);
    if (!wanted)
        return ExitRefused;
    runtime::KeyedFile* file = ctx.open(data::FileName::HelpList, organizers::helpListLayout());
    if (!file)
        return ExitFailure;
    runtime::Record r = file->newRecord();
    r.setText(Hlp::Type, std::string(1, letter));
    r.setText(Hlp::Name, *wanted);
    if (file->get(Hlp::ByName, r)) {
        ctx.err << "No entry " << name << " on the " << organizers::helpTypeName(letter) << " tab\n";
        return ExitFailure;
    }
    return data::writeRecord(*file, r, data::WriteOperation::Delete, ctx.dialogs) ? 0 : ExitFailure;
}

} // namespace

void addHelpCommands(CLI::App& app, CommandRunner& run)
{
    auto* help = app.add_subcommand("help", "Scan, list and change the Help Organizer's list");
    help->require_subcommand(1);

    auto scan = std::make_shared<ScanOptions>();
    auto* scanCommand =
        help->add_subcommand("scan", "Load HelpLis5.TXT and scan the Clarion directory for help files");
    scanCommand->add_option("--clear", scan->clear, "Clear the list first: no, hlp (help files) or all")
        ->check(CLI::IsMember({"no", "hlp", "all"}));
    scanCommand->add_option("--examples", scan->examples, "Enter EXAMPLES directories: yes or no")
        ->check(CLI::IsMember({"yes", "no"}));
    scanCommand->callback([&run, scan] { run = [scan](CliContext& ctx) { return scanHelp(ctx, *scan); }; });

    auto tab = std::make_shared<std::string>();
    auto* list = help->add_subcommand("list", "Print the list: type, name, file, path");
    list->add_option("--tab", *tab, "Only this tab: H, X, S, C or T");
    list->callback([&run, tab] { run = [tab](CliContext& ctx) { return listHelp(ctx, *tab); }; });

    auto entry = std::make_shared<std::vector<std::string>>();
    auto* add = help->add_subcommand("add", "Add an entry");
    add->add_option("entry", *entry, "TAB NAME FILE PATH")->required()->expected(4);
    add->callback([&run, entry] { run = [entry](CliContext& ctx) { return addHelp(ctx, *entry); }; });

    auto gone = std::make_shared<std::vector<std::string>>();
    auto* remove = help->add_subcommand("delete", "Delete an entry");
    remove->add_option("entry", *gone, "TAB NAME")->required()->expected(2);
    remove->callback(
        [&run, gone] { run = [gone](CliContext& ctx) { return deleteHelp(ctx, (*gone)[0], (*gone)[1]); }; });
}

} // namespace kestrix::app
