#include "app/cli/KeyCommands.h"

#include "app/cli/CliContext.h"
#include "keyanalysis/KeyConflicts.h"
#include "keyanalysis/WindowAnalysis.h"
#include "runtime/TextCodec.h"

#include <nlohmann/json.hpp>

#include <memory>
#include <ostream>

namespace kestrix::app {

namespace ka = keyanalysis;
using nlohmann::ordered_json;

namespace {

struct KeyOptions
{
    std::string source = "-";
    std::string tab = "all";
    int sort = 1;
    int suggest = 0;
    std::string frame;
    bool saveFrame = false;
};

// Records every box it is asked to show, for the JSON, and answers as the console does.
class RecordingDialogs final : public runtime::DialogService
{
public:
    explicit RecordingDialogs(runtime::DialogService& inner) : m_inner(inner) {}
    unsigned message(const runtime::MessageRequest& request) override
    {
        shown.push_back(runtime::cp1252ToUtf8(request.caption + ": " + request.text));
        return runtime::effectiveDefault(request);
    }
    std::optional<std::string> openFile(const runtime::FileDialogRequest& r) override { return m_inner.openFile(r); }
    std::optional<std::string> chooseDirectory(const std::string& t, const std::string& s) override
    {
        return m_inner.chooseDirectory(t, s);
    }
    std::optional<runtime::FontSpec> chooseFont(const std::string& t, const runtime::FontSpec& s) override
    {
        return m_inner.chooseFont(t, s);
    }
    void beep() override {}
    void playSound(runtime::SystemSound) override {}
    std::vector<std::string> shown;

private:
    runtime::DialogService& m_inner;
};

std::string utf8(const std::string& text)
{
    return runtime::cp1252ToUtf8(text);
}

void colours(ordered_json& row, const ka::Colours& c)
{
    row["fg"] = c.fg;
    row["bg"] = c.bg;
    row["sfg"] = c.sfg;
    row["sbg"] = c.sbg;
}

ordered_json toJson(const ka::WindowAnalysis& analysis, const std::vector<std::string>& messages)
{
    const ka::AnalysisQueues& q = analysis.queues();
    ordered_json out;
    out["title"] = utf8(q.title);
    out["isApplication"] = q.isApplication;
    out["isMdi"] = q.isMdi;
    out["childNoMerge"] = q.childNoMerge;
    out["frameNoMerge"] = q.frameNoMerge;
    out["tabMode"] = q.tabMode;
    out["conflicts"] = {{"alt", q.conflictsAlt}, {"key", q.conflictsKey}, {"menu", q.conflictsMenu}};
    out["captions"] = {utf8(ka::altCaption(q)), utf8(ka::hotCaption(q)), utf8(ka::menuCaption(q))};
    out["frame"] = {{"name", utf8(q.frame.name)},
                    {"lastUpdate", utf8(q.frame.lastUpdate)},
                    {"button", utf8(q.frame.button)},
                    {"status", utf8(q.frame.status)}};
    out["usedLetters"] = utf8(ka::usedLetters(q));
    ordered_json alt = ordered_json::array();
    for (const ka::AltRow& r : q.alt) {
        ordered_json row;
        row["key"] = r.key == ' ' || r.key == ka::NoKey ? "" : utf8(std::string(1, r.key));
        row["name"] = utf8(r.name);
        row["type"] = utf8(r.type);
        row["available"] = utf8(r.available);
        row["zorder"] = r.zorder;
        colours(row, r.colours);
        alt.push_back(row);
    }
    out["alt"] = alt;
    ordered_json hot = ordered_json::array();
    for (const ka::HotRow& r : q.hot) {
        ordered_json row;
        row["equate"] = utf8(r.equate);
        row["type"] = utf8(r.type);
        row["control"] = utf8(r.control);
        colours(row, r.colours);
        hot.push_back(row);
    }
    out["hot"] = hot;
    ordered_json menu = ordered_json::array();
    for (const ka::MenuRow& r : q.menu) {
        ordered_json row;
        row["line"] = utf8(r.line);
        row["level"] = r.level;
        row["altKey"] = r.altKey == ' ' ? "" : utf8(std::string(1, r.altKey));
        row["seq"] = r.seq;
        row["frame"] = r.frame;
        row["name"] = utf8(r.name);
        row["path"] = utf8(r.path);
        row["menuPath"] = utf8(r.menuPath);
        colours(row, r.colours);
        menu.push_back(row);
    }
    out["menu"] = menu;
    ordered_json code = ordered_json::array();
    for (const std::string& line : q.code)
        code.push_back(utf8(line));
    out["code"] = code;
    out["messages"] = messages;
    return out;
}

int analyze(CliContext& ctx, const KeyOptions& o)
{
    std::string text;
    if (!ctx.readInput(o.source, text))
        return ExitFailure;
    ka::FrameStore frames = ka::FrameStore::inDataDirectory();
    if (o.frame == "include" || o.frame == "exclude")
        frames.setInclude(o.frame == "include");
    RecordingDialogs dialogs(ctx.dialogs);
    const ka::TabChooser chooseTab = [&](const std::vector<ka::TabEntry>& tabs) {
        if (o.tab == "none")
            return ka::TabChoice{999, 0};
        if (o.tab != "all") {
            const int wanted = std::atoi(o.tab.c_str());
            for (std::size_t i = 0; i < tabs.size(); ++i) {
                if (tabs[i].num == wanted)
                    return ka::TabChoice{wanted, i};
            }
        }
        return ka::TabChoice{0, 0};
    };
    ka::WindowAnalysis analysis(dialogs, frames);
    analysis.sort(o.sort);
    analysis.analyse(text, chooseTab);
    if (o.saveFrame && analysis.queues().isApplication && !analysis.saveFrame())
        dialogs.shown.push_back("FILE ERROR: Cannot write APPFrame.DAT");
    ordered_json out = toJson(analysis, dialogs.shown);
    if (o.suggest > 0) {
        if (static_cast<std::size_t>(o.suggest) > analysis.queues().alt.size()) {
            ctx.err << "There is no Alt-key row " << o.suggest << '\n';
            return ExitFailure;
        }
        out["suggestion"] = utf8(analysis.suggestionsFor(static_cast<std::size_t>(o.suggest) - 1).text);
    }
    ctx.out << out.dump(2) << '\n';
    return 0;
}

} // namespace

void addKeyCommands(CLI::App& app, CommandRunner& run)
{
    auto* keys = app.add_subcommand("keys", "Window Key Analysis");
    keys->require_subcommand(1);
    auto options = std::make_shared<KeyOptions>();
    auto* analyzeCommand = keys->add_subcommand("analyze", "Analyse a WINDOW( or APPLICATION( structure");
    analyzeCommand->add_option("source", options->source, "FILE, or - for standard input");
    analyzeCommand->add_option("--tab", options->tab, "all, none or a tab number of the first sheet");
    analyzeCommand->add_option("--sort", options->sort, "Sort of the Alt keys, 1 to 5")->check(CLI::Range(1, 5));
    analyzeCommand->add_option("--suggest", options->suggest, "Suggestions for this row of alt (1-based)");
    analyzeCommand->add_option("--frame", options->frame, "include or exclude the stored frame")
        ->check(CLI::IsMember({"include", "exclude"}));
    analyzeCommand->add_flag("--save-frame", options->saveFrame, "Save an analysed APPLICATION( as the frame");
    analyzeCommand->callback([&run, options] { run = [options](CliContext& ctx) { return analyze(ctx, *options); }; });
}

} // namespace kestrix::app
