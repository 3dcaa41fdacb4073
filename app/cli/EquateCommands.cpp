#include "app/cli/EquateCommands.h"

#include "app/cli/CliContext.h"
#include "config/ConfigRecord.h"
#include "data/DataFileNames.h"
#include "equates/EquateLoader.h"
#include "equates/EquateRecord.h"
#include "equates/PopupLoader.h"
#include "equates/PopupRecord.h"
#include "runtime/FixedText.h"
#include "runtime/TextCodec.h"

#include <memory>
#include <ostream>

namespace kestrix::app {

namespace Equ = equates::Equ;
namespace Pop = equates::Pop;

namespace {

int loadEquates(CliContext& ctx)
{
    runtime::KeyedFile* file = ctx.open(data::FileName::Equates, equates::equateLayout());
    if (!file)
        return ExitFailure;
    equates::EquateLoader loader(*file, ctx.session.configuration().text(config::Cfg::CwPath), ctx.dialogs);
    const equates::EquateLoadResult result = loader.run(ctx.session.programIni());
    if (result.busy) {
        ctx.err << "Another program is loading the equates; this load was not started. Try again when it has "
                   "finished.\n";
        return ExitFailure;
    }
    if (!result.completed)
        return ExitFailure;
    ctx.out << "loaded " << result.records << " equates of " << result.types << " types in "
            << result.milliseconds << " ms\n";
    return 0;
}

int listEquates(CliContext& ctx, const std::string& type, const std::string& order)
{
    runtime::KeyedFile* file = ctx.open(data::FileName::Equates, equates::equateLayout());
    if (!file)
        return ExitFailure;
    if (equates::equateLoadUnfinished(ctx.session.programIni())) {
        ctx.err << "The equates file is incomplete: its last load did not finish (or none has run). "
                   "Run 'ktx equates load' first.\n";
        return ExitFailure;
    }
    const int key = order == "seq" ? Equ::BySeq : order == "long" ? Equ::ByLong : Equ::ByType;
    runtime::Record r = file->newRecord();
    const std::string wanted = runtime::utf8ToCp1252(type);
    if (wanted.empty()) {
        file->setOrder(key);
    } else {
        r.setText(Equ::Type, wanted);
        r.setNumber(Equ::Long, -2147483648LL);
        file->setFrom(key, r);
    }
    std::size_t printed = 0;
    while (file->next(r).ok()) {
        if (!wanted.empty() && !runtime::sameTextNoCase(r.text(Equ::Type), wanted))
            break;
        for (int f = Equ::Type; f <= Equ::Notes; ++f)
            ctx.out << (f == Equ::Type ? "" : "\t") << tableColumn(r.text(f));
        ctx.out << '\n';
        ++printed;
    }
    if (!wanted.empty() && printed == 0) {
        ctx.err << "Unknown equate type: " << type << " (the equates file holds none of it)\n";
        return ExitFailure;
    }
    return 0;
}

int loadPopups(CliContext& ctx)
{
    runtime::KeyedFile* file = ctx.open(data::FileName::Popups, equates::popupLayout());
    if (!file)
        return ExitFailure;
    equates::PopupLoader loader(*file, ctx.dialogs);
    const equates::PopupLoadResult result = loader.run(ctx.session.programIni());
    if (result.busy) {
        ctx.err << "Another program is loading the popups; this load was not started. Try again when it has "
                   "finished.\n";
        return ExitFailure;
    }
    if (!result.completed)
        return ExitFailure;
    ctx.out << "loaded " << result.records << " popup records\n";
    return 0;
}

int showPopup(CliContext& ctx, const std::string& type)
{
    runtime::KeyedFile* file = ctx.open(data::FileName::Popups, equates::popupLayout());
    if (!file)
        return ExitFailure;
    const std::string wanted = runtime::utf8ToCp1252(type);
    runtime::Record r = file->newRecord();
    r.setText(Pop::Type, wanted);
    if (file->get(Pop::Key, r)) {
        ctx.err << "No popup menu " << type << '\n';
        return ExitFailure;
    }
    ctx.out << tableColumn(r.text(Pop::Item)) << '\t' << tableColumn(r.text(Pop::Data)) << '\n';
    // The entries follow the header (SEQ 0) in key order: the walk starts at entry 1 of this type.
    runtime::Record start = file->newRecord();
    start.setText(Pop::Type, wanted);
    start.setNumber(Pop::Seq, 1);
    file->setFrom(Pop::Key, start);
    while (file->next(r).ok() && runtime::sameTextNoCase(r.text(Pop::Type), wanted))
        ctx.out << r.number(Pop::Seq) << '\t' << tableColumn(r.text(Pop::Item)) << '\t'
                << tableColumn(r.text(Pop::Data)) << '\n';
    return 0;
}

} // namespace

void addEquateCommands(CLI::App& app, CommandRunner& run)
{
    auto* equates = app.add_subcommand("equates", "Load and list the equates file");
    equates->require_subcommand(1);
    equates->add_subcommand("load", "Rebuild the equates file from the Clarion installation")
        ->callback([&run] { run = loadEquates; });
    auto type = std::make_shared<std::string>();
    auto order = std::make_shared<std::string>("name");
    auto* list = equates->add_subcommand("list", "Print the equates, one per line");
    list->add_option("--type", *type, "Only this type");
    list->add_option("--order", *order, "name, seq or long")->check(CLI::IsMember({"name", "seq", "long"}));
    list->callback([&run, type, order] {
        run = [type, order](CliContext& ctx) { return listEquates(ctx, *type, *order); };
    });

    auto* popups = app.add_subcommand("popups", "Load and show the popup menus");
    popups->require_subcommand(1);
    popups->add_subcommand("load", "Rebuild the popup file from POPUP.TXT and POPUPABC.TXT")
        ->callback([&run] { run = loadPopups; });
    auto popupType = std::make_shared<std::string>();
    auto* show = popups->add_subcommand("show", "Print one popup menu");
    show->add_option("type", *popupType, "Popup type")->required();
    show->callback(
        [&run, popupType] { run = [popupType](CliContext& ctx) { return showPopup(ctx, *popupType); }; });
}

} // namespace kestrix::app
