#include "app/cli/ErrorCommands.h"

#include "app/cli/CliContext.h"
#include "config/ConfigRecord.h"
#include "runtime/FixedText.h"
#include "runtime/TextCodec.h"
#include "utilities/ErrorHelper.h"
#include "utilities/ErrorListFiles.h"

#include <charconv>
#include <memory>
#include <ostream>

namespace kestrix::app {

namespace {

struct CaseOptions
{
    std::vector<std::string> codes;
    bool ofNoError = false;
    bool elseStop = false;
    bool errorFile = false;
    bool fileError = false;
};

int listCategory(CliContext& ctx, const std::string& category)
{
    utilities::ErrorListFiles files(ctx.session.files(), ctx.dialogs);
    if (!files.ok())
        return ExitFailure;
    utilities::ErrorHelper helper(files.errors(), files.categories());
    const std::string wanted = runtime::utf8ToCp1252(category);
    const auto& tree = helper.categoryTree();
    std::size_t index = 0;
    while (index < tree.size() && !runtime::sameTextNoCase(tree[index].name, wanted))
        ++index;
    if (index == tree.size()) {
        ctx.err << "Unknown error category: " << category << " (see 'ktx errors categories')\n";
        return ExitFailure;
    }
    helper.chooseCategory(index);
    for (const utilities::ErrorEntry& e : helper.listed())
        ctx.out << e.code << '\t' << tableColumn(e.equate) << '\t' << tableColumn(e.description) << '\n';
    return 0;
}

int categories(CliContext& ctx)
{
    utilities::ErrorListFiles files(ctx.session.files(), ctx.dialogs);
    if (!files.ok())
        return ExitFailure;
    for (const utilities::ErrorCategory& c : files.categories())
        ctx.out << c.level << '\t' << (c.contracted ? 1 : 0) << '\t' << tableColumn(c.name) << '\t'
                << c.errors.size() << '\n';
    return 0;
}

int caseBlock(CliContext& ctx, const CaseOptions& o)
{
    utilities::ErrorListFiles files(ctx.session.files(), ctx.dialogs);
    if (!files.ok())
        return ExitFailure;
    utilities::ErrorHelper helper(files.errors(), files.categories());
    for (const std::string& given : o.codes) {
        int code = 0;
        const auto [end, ec] = std::from_chars(given.data(), given.data() + given.size(), code);
        if (ec != std::errc() || end != given.data() + given.size()) {
            ctx.err << "Not an error number: " << given << '\n';
            return ExitRefused;
        }
        if (!helper.add(code))
            ctx.err << "No error " << code << " in the error list; it is left out.\n";
    }
    helper.options = {o.ofNoError, o.elseStop, o.errorFile, o.fileError};
    const bool endComment = ctx.session.configuration().number(config::Cfg::EndComment) != 0;
    std::string text = ctx.session.putCode(helper.generate(endComment));
    ctx.out << printedClipboardText(text);
    return 0;
}

} // namespace

void addErrorCommands(CLI::App& app, CommandRunner& run)
{
    auto* command = app.add_subcommand("errors", "The Clarion run-time errors and CASE ERRORCODE() blocks");
    command->require_subcommand(1);

    auto category = std::make_shared<std::string>("All");
    auto* lst = command->add_subcommand("list", "List the errors of a category: code, equate, description");
    lst->add_option("--category", *category, "Category name (All: every error)")->capture_default_str();
    lst->callback(
        [&run, category] { run = [category](CliContext& ctx) { return listCategory(ctx, *category); }; });

    command->add_subcommand("categories", "List the categories: level, contracted, name, count")
        ->callback([&run] { run = categories; });

    auto o = std::make_shared<CaseOptions>();
    auto* cas = command->add_subcommand("case", "Print the CASE ERRORCODE() block for error numbers");
    cas->add_option("codes", o->codes, "Error numbers");
    cas->add_flag("--of-noerror", o->ofNoError, "Add OF NoError");
    cas->add_flag("--else", o->elseStop, "Add ELSE with STOP(Error())");
    cas->add_flag("--errorfile", o->errorFile, "The STOP shows ERRORFILE() (with --else)");
    cas->add_flag("--fileerror", o->fileError, "The STOP shows FILEERROR() (with --else)");
    cas->callback([&run, o] { run = [o](CliContext& ctx) { return caseBlock(ctx, *o); }; });
}

} // namespace kestrix::app
