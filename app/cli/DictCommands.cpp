#include "app/cli/DictCommands.h"

#include "app/cli/CliContext.h"
#include "dictionary/DictionaryImport.h"
#include "dictionary/DictionaryStore.h"
#include "runtime/FixedText.h"
#include "runtime/WinPath.h"

#include <memory>
#include <ostream>

namespace kestrix::app {

namespace Dif = dictionary::Dif;
namespace Dtr = dictionary::Dtr;

namespace {

// A file argument as the program spells paths: relative ones from where ktx was started.
std::string sourcePath(CliContext& ctx, const std::string& given)
{
    const std::filesystem::path path(given);
    return runtime::toWinPath(path.is_absolute() ? path : ctx.invokedIn / path);
}

// A store named bare lies in the data directory, where imports put it; with a folder, from where ktx was
// started.
std::string storePath(CliContext& ctx, const std::string& given)
{
    if (given.find_first_of("\\/") == std::string::npos)
        return given;
    return sourcePath(ctx, given);
}

int importDictionary(CliContext& ctx, const std::string& file)
{
    const std::optional<std::string> given = ctx.argument(file);
    if (!given)
        return ExitRefused;
    dictionary::DictionaryImporter importer(ctx.dialogs, ctx.session.programIni());
    const dictionary::ImportResult result = importer.importFrom(sourcePath(ctx, *given));
    if (!result.completed)
        return ExitFailure;
    ctx.out << "imported " << result.files << " files, " << result.aliases << " aliases, " << result.treeRows
            << " tree rows into " << tableColumn(result.store) << " in " << result.milliseconds << " ms\n";
    return 0;
}

// Opens the store for reading; nothing (after saying why) when it holds no current dictionary.
std::unique_ptr<dictionary::DictionaryStore> openStore(CliContext& ctx, const std::string& name,
                                                       bool anyVersion)
{
    const std::optional<std::string> given = ctx.argument(name);
    if (!given)
        return nullptr;
    auto store = std::make_unique<dictionary::DictionaryStore>(storePath(ctx, *given));
    const dictionary::OpenState state = store->openForBrowsing(ctx.dialogs);
    if (state == dictionary::OpenState::Ready || (anyVersion && state == dictionary::OpenState::OlderVersion))
        return store;
    if (state == dictionary::OpenState::Missing)
        ctx.err << name << " holds no imported dictionary.\n";
    else if (state == dictionary::OpenState::OlderVersion)
        ctx.err << "Dictionary Not Version 3: " << name
                << " was made by an older version; import it again.\n";
    return nullptr;
}

int showInfo(CliContext& ctx, const std::string& name)
{
    const auto store = openStore(ctx, name, true);
    if (!store)
        return ExitFailure;
    const runtime::Record& info = *store->infoRecord();
    ctx.out << "VERSION=" << tableColumn(info.text(dictionary::Dinfo::Version)) << '\n'
            << "IMPORTNAME=" << tableColumn(info.text(dictionary::Dinfo::ImportName)) << '\n'
            << "IMPORTDATE=" << dictionary::dateText(info.number(dictionary::Dinfo::ImportDate)) << '\n'
            << "IMPORTTIME=" << dictionary::timeText(info.number(dictionary::Dinfo::ImportTime)) << '\n';
    return 0;
}

int listFiles(CliContext& ctx, const std::string& name)
{
    const auto store = openStore(ctx, name, false);
    if (!store)
        return ExitFailure;
    for (const runtime::Record& r : store->files().readAll(Dif::ByFileId)) {
        for (int f = Dif::FileName; f <= Dif::UserOptions; ++f) {
            if (f != Dif::FileName)
                ctx.out << '\t';
            const bool number = f == Dif::FileId || f == Dif::AliasId || f == Dif::PreLen;
            ctx.out << (number ? std::to_string(r.number(f)) : tableColumn(r.text(f)));
        }
        ctx.out << '\n';
    }
    return 0;
}

int listTree(CliContext& ctx, const std::string& name, const std::string& fileName)
{
    const auto store = openStore(ctx, name, false);
    if (!store)
        return ExitFailure;
    std::vector<runtime::Record> rows;
    if (fileName.empty()) {
        rows = store->tree().readAll(Dtr::ByTree);
    } else {
        const std::optional<std::string> wanted = ctx.argument(fileName);
        if (!wanted)
            return ExitRefused;
        runtime::Record dif = store->files().newRecord();
        if (!store->fileByName(*wanted, dif)) {
            ctx.err << "No file " << fileName << " in " << name << '\n';
            return ExitFailure;
        }
        rows = store->treeOf(dif.number(Dif::FileId));
    }
    for (const runtime::Record& r : rows) {
        ctx.out << r.number(Dtr::FileId) << '\t' << tableColumn(r.text(Dtr::Type)) << '\t'
                << r.number(Dtr::Seq) << '\t' << r.number(Dtr::Level) << '\t'
                << tableColumn(r.text(Dtr::Name)) << '\t' << tableColumn(r.text(Dtr::Notes)) << '\n';
    }
    return 0;
}

} // namespace

void addDictCommands(CLI::App& app, CommandRunner& run)
{
    auto* dict = app.add_subcommand("dict", "Import dictionaries and show their stores");
    dict->require_subcommand(1);

    auto file = std::make_shared<std::string>();
    auto* import =
        dict->add_subcommand("import", "Import a text dictionary (.TXD) or, through the IDE, a .DCT");
    import->add_option("file", *file, "The dictionary file")->required();
    import->callback([&run, file] { run = [file](CliContext& ctx) { return importDictionary(ctx, *file);
};
} // namespace kestrix::app
);

auto store = std::make_shared<std::string>();
auto* info = dict->add_subcommand("info", "Print the import information of a store");
info->add_option("store", *store, "NAME.dic")->required();
info->callback([&run, store] { run = [store](CliContext& ctx) { return showInfo(ctx, *store); }; });

auto* files = dict->add_subcommand("files", "Print the files and aliases of a store, by FILEID");
files->add_option("store", *store, "NAME.dic")->required();
files->callback([&run, store] { run = [store](CliContext& ctx) { return listFiles(ctx, *store); }; });

auto fileName = std::make_shared<std::string>();
auto* tree = dict->add_subcommand("tree", "Print the tree rows of a store, or of one of its files");
tree->add_option("store", *store, "NAME.dic")->required();
tree->add_option("file", *fileName, "Only the rows of this file");
tree->callback([&run, store, fileName] {
    run = [store, fileName](CliContext& ctx) { return listTree(ctx, *store, *fileName); };
});
}

} // namespace kestrix::app
