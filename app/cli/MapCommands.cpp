#include "app/cli/MapCommands.h"

#include "app/cli/CliContext.h"
#include "runtime/TextCodec.h"
#include "runtime/WinPath.h"
#include "utilities/MapScanner.h"

#include <memory>
#include <ostream>

namespace kestrix::app {

namespace {

using utilities::MapList;

int map(CliContext& ctx, const std::string& file, bool exportFile)
{
    const auto given = ctx.argument(file);
    if (!given)
        return ExitRefused;
    // File names are taken where ktx was started, as the other commands take theirs.
    const std::filesystem::path path(*given);
    const std::string source = path.is_absolute() ? *given : runtime::toWinPath(ctx.invokedIn / path);
    const utilities::MapScan scan = utilities::scanMapSource(source);
    for (const std::string& note : scan.notes)
        ctx.err << runtime::cp1252ToUtf8(note) << '\n';
    if (scan.failure) {
        ctx.session.dialogs().message(*scan.failure);
        return ExitFailure;
    }
    if (exportFile) {
        const utilities::MapExport result = utilities::exportMap(source, scan.lists);
        if (!result.written) {
            ctx.session.dialogs().message(result.message);
            return ExitFailure;
        }
        ctx.out << runtime::cp1252ToUtf8(result.fileName) << '\n';
        return 0;
    }
    const std::pair<MapList, const char*> tabs[] = {
        {MapList::Map, "map"}, {MapList::Standard, "std"}, {MapList::Lib, "lib"}, {MapList::Files, "files"}};
    for (const auto& [list, name] : tabs) {
        for (const utilities::MapRow& row : scan.lists.of(list))
            ctx.out << name << '\t' << tableColumn(row.module) << '\t' << tableColumn(row.proto) << '\n';
    }
    return 0;
}

} // namespace

void addMapCommands(CLI::App& app, CommandRunner& run)
{
    struct Args
    {
        std::string file;
        bool exportFile = false;
    };
    auto a = std::make_shared<Args>();
    auto* command = app.add_subcommand("map", "List the procedures of a program's MAP");
    command->add_option("file", a->file, "The program's source file (.CLW or .CLA)")->required();
    command->add_flag("--export", a->exportFile,
                      "Write the .KTX export file beside the source and print its name");
    command->callback([&run, a] { run = [a](CliContext& ctx) { return map(ctx, a->file, a->exportFile); }; });
}

} // namespace kestrix::app
