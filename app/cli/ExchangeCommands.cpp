#include "app/cli/ExchangeCommands.h"

#include "app/cli/CliContext.h"
#include "data/DataFileNames.h"
#include "message/MessageInsertRecord.h"
#include "message/MessageRecord.h"
#include "runtime/TextCodec.h"
#include "utilities/CodeStoreRecord.h"
#include "utilities/DataExchange.h"

#include <map>
#include <memory>
#include <ostream>

namespace kestrix::app {

namespace {

using utilities::ExchangeFiles;

std::optional<ExchangeFiles> openFiles(CliContext& ctx, const utilities::ExchangeSelection& selection)
{
    ExchangeFiles files;
    if (selection.snippets) {
        files.snippets = ctx.open(data::FileName::CodeLibrary, utilities::snippetLayout());
        files.types =
            files.snippets ? ctx.open(data::FileName::CodeTypes, utilities::codeTypeLayout()) : nullptr;
        if (!files.types)
            return std::nullopt;
    }
    if (selection.messages &&
        !(files.messages = ctx.open(data::FileName::Messages, message::messageLayout())))
        return std::nullopt;
    if (selection.inserts &&
        !(files.inserts = ctx.open(data::FileName::MessageInserts, message::messageInsertLayout())))
        return std::nullopt;
    return files;
}

int exportData(CliContext& ctx, const std::string& file, utilities::ExchangeSelection selection)
{
    if (!selection.snippets && !selection.messages && !selection.inserts)
        selection = {};
    const auto files = openFiles(ctx, selection);
    if (!files)
        return ExitFailure;
    utilities::ExchangeCounts counts;
    const std::string text = utilities::exportText(*files, selection, &counts);
    if (const std::string error = utilities::writeExport(ctx.invokedIn / file, text); !error.empty()) {
        ctx.err << error << '\n';
        return ExitFailure;
    }
    ctx.out << "exported " << counts.types << " code types, " << counts.snippets << " snippets, "
            << counts.messages << " messages, " << counts.inserts << " inserts\n";
    return 0;
}

int importData(CliContext& ctx, const std::string& file, const std::string& onDuplicate)
{
    static const std::map<std::string, utilities::DuplicateChoice> choices = {
        {"skip", utilities::DuplicateChoice::Skip},
        {"replace", utilities::DuplicateChoice::Replace},
        {"both", utilities::DuplicateChoice::KeepBoth}};
    std::string bytes;
    if (!ctx.readRawInput(file, bytes))
        return ExitFailure;
    const auto files = openFiles(ctx, {});
    if (!files)
        return ExitFailure;
    const utilities::ImportPlan plan = utilities::planImport(bytes, *files);
    if (!plan.error.empty()) {
        ctx.err << runtime::cp1252ToUtf8(plan.error) << '\n';
        return ExitRefused;
    }
    const utilities::ImportReport report = utilities::applyImport(plan, *files, choices.at(onDuplicate));
    if (!report.error.empty()) {
        ctx.err << runtime::cp1252ToUtf8(report.error) << '\n';
        return ExitFailure;
    }
    ctx.out << utilities::importSummary(report) << '\n';
    return 0;
}

} // namespace

void addExchangeCommands(CLI::App& app, CommandRunner& run)
{
    struct Args
    {
        std::string file;
        utilities::ExchangeSelection selection{false, false, false};
        std::string onDuplicate = "skip";
    };
    auto a = std::make_shared<Args>();

    auto* exp = app.add_subcommand("export", "Write snippets, messages and inserts to a JSON file");
    exp->add_option("file", a->file, "The JSON file to write")->required();
    exp->add_flag("--snippets", a->selection.snippets, "The code snippets with their types");
    exp->add_flag("--messages", a->selection.messages, "The saved messages");
    exp->add_flag("--inserts", a->selection.inserts, "The message inserts");
    exp->callback(
        [&run, a] { run = [a](CliContext& ctx) { return exportData(ctx, a->file, a->selection); }; });

    auto* imp = app.add_subcommand("import", "Merge a JSON file written by export into the data files");
    imp->add_option("file", a->file, "The JSON file to read")->required();
    imp->add_option("--on-duplicate", a->onDuplicate,
                    "A record whose key is already here: skip, replace or both")
        ->check(CLI::IsMember({"skip", "replace", "both"}));
    imp->callback(
        [&run, a] { run = [a](CliContext& ctx) { return importData(ctx, a->file, a->onDuplicate); }; });
}

} // namespace kestrix::app
