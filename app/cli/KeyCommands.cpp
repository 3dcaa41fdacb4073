#include "app/cli/KeyCommands.h"

#include "app/cli/CliContext.h"
#include "keyanalysis/KeyConflicts.h"
#include "keyanalysis/WindowAnalysis.h"
#include "runtime/TextCodec.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <memory>
#include <optional>
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
    std::optional<std::string> openFile(const runtime::FileDialogRequest& r) override
    {
        return m_inner.openFile(r);
    }
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

// Written row by row, so that a window of thousands of controls never stands in memory twice.
class JsonWriter
{
public:
    explicit JsonWriter(std::ostream& out) : m_out(out) { m_out << "{"; }
    void field(const char* name, const ordered_json& value)
    {
        m_out << (m_first ? "\n  " : ",\n  ") << ordered_json(name).dump() << ": " << value.dump();
        m_first = false;
    }
    template <class Rows, class Row> void array(const char* name, const Rows& rows, Row row)
    {
        m_out << (m_first ? "\n  " : ",\n  ") << ordered_json(name).dump() << ": [";
        bool first = true;
        for (const auto& item : rows) {
            m_out << (first ? "\n    " : ",\n    ") << row(item).dump();
            first = false;
        }
        m_out << (first ? "]" : "\n  ]");
        m_first = false;
    }
    void close() { m_out << "\n}\n"; }

private:
    std::ostream& m_out;
    bool m_first = true;
};

void writeJson(std::ostream& out, const ka::WindowAnalysis& analysis,
               const std::vector<std::string>& messages, const std::optional<std::string>& suggestion)
{
    const ka::AnalysisQueues& q = analysis.queues();
    JsonWriter json(out);
    json.field("title", utf8(q.title));
    json.field("isApplication", q.isApplication);
    json.field("isMdi", q.isMdi);
    json.field("childNoMerge", q.childNoMerge);
    json.field("frameNoMerge", q.frameNoMerge);
    json.field("tabMode", q.tabMode == ka::TabMode::All    ? 0
                          : q.tabMode == ka::TabMode::None ? 999
                                                           : q.chosenTab);
    json.field("conflicts", {{"alt", q.conflictsAlt}, {"key", q.conflictsKey}, {"menu", q.conflictsMenu}});
    json.field("captions", {utf8(ka::altCaption(q)), utf8(ka::hotCaption(q)), utf8(ka::menuCaption(q))});
    json.field("frame", {{"name", utf8(q.frame.name)},
                         {"lastUpdate", utf8(q.frame.lastUpdate)},
                         {"button", utf8(q.frame.button)},
                         {"status", utf8(q.frame.status)}});
    json.field("usedLetters", utf8(ka::usedLetters(q)));
    json.array("alt", q.alt, [](const ka::AltRow& r) {
        ordered_json row;
        row["key"] = r.key == ' ' || r.key == ka::NoKey ? "" : utf8(std::string(1, r.key));
        row["name"] = utf8(r.name);
        row["type"] = utf8(r.type);
        row["available"] = utf8(r.available);
        row["zorder"] = r.zorder;
        colours(row, r.colours);
        return row;
    });
    json.array("hot", q.hot, [](const ka::HotRow& r) {
        ordered_json row;
        row["equate"] = utf8(r.equate);
        row["type"] = utf8(r.type);
        row["control"] = utf8(r.control);
        colours(row, r.colours);
        return row;
    });
    json.array("menu", q.menu, [](const ka::MenuRow& r) {
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
        return row;
    });
    json.array("code", q.code, [](const std::string& line) { return ordered_json(utf8(line)); });
    json.array("messages", messages, [](const std::string& m) { return ordered_json(m); });
    if (suggestion)
        json.field("suggestion", *suggestion);
    json.close();
}

bool isTabNumber(const std::string& tab)
{
    return !tab.empty() && tab.size() <= 4 &&
           std::all_of(tab.begin(), tab.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int analyze(CliContext& ctx, const KeyOptions& o)
{
    if (o.tab != "all" && o.tab != "none" && !isTabNumber(o.tab)) {
        ctx.err << "--tab takes all, none or the number of a tab, not " << o.tab << '\n';
        return ExitRefused;
    }
    std::string text;
    if (const int refused = ctx.readInput(o.source, text))
        return refused;
    ka::FrameStore frames = ka::FrameStore::inDataDirectory();
    if (o.frame == "include" || o.frame == "exclude")
        frames.setInclude(o.frame == "include");
    RecordingDialogs dialogs(ctx.dialogs);
    const ka::TabChooser chooseTab = [&](const std::vector<ka::TabEntry>& tabs) {
        if (o.tab == "none")
            return ka::TabChoice{ka::TabMode::None, 0};
        if (o.tab != "all") {
            const int wanted = std::atoi(o.tab.c_str());
            for (std::size_t i = 0; i < tabs.size(); ++i) {
                if (tabs[i].num == wanted)
                    return ka::TabChoice{ka::TabMode::One, i};
            }
        }
        return ka::TabChoice{};
    };
    ka::WindowAnalysis analysis(dialogs, frames);
    analysis.sort(o.sort);
    analysis.analyse(text, chooseTab);
    const bool noWindow = analysis.queues().title.empty();
    if (o.saveFrame && !noWindow && !analysis.queues().isApplication) {
        ctx.err << "--save-frame keeps an APPLICATION( structure as the frame; this is a WINDOW(.\n";
        return ExitRefused;
    }
    if (o.saveFrame && analysis.queues().isApplication && !analysis.saveFrame())
        dialogs.shown.push_back("FILE ERROR: Cannot write APPFrame.DAT");
    std::optional<std::string> suggestion;
    if (o.suggest > 0) {
        if (static_cast<std::size_t>(o.suggest) > analysis.queues().alt.size()) {
            ctx.err << "There is no Alt-key row " << o.suggest << '\n';
            return ExitFailure;
        }
        suggestion = utf8(analysis.suggestionsFor(static_cast<std::size_t>(o.suggest) - 1).text);
    }
    writeJson(ctx.out, analysis, dialogs.shown, suggestion);
    if (noWindow) {
        // Only inside the JSON, a script would take the empty analysis for a clean window.
        for (const std::string& shown : dialogs.shown)
            ctx.err << runtime::messageLines(shown) << '\n';
        return ExitFailure;
    }
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
    analyzeCommand->add_option("--sort", options->sort, "Sort of the Alt keys, 1 to 5")
        ->check(CLI::Range(1, 5));
    analyzeCommand->add_option("--suggest", options->suggest, "Suggestions for this row of alt (1-based)")
        ->check(CLI::PositiveNumber);
    analyzeCommand->add_option("--frame", options->frame, "include or exclude the stored frame")
        ->check(CLI::IsMember({"include", "exclude"}));
    analyzeCommand->add_flag("--save-frame", options->saveFrame,
                             "Save an analysed APPLICATION( as the frame");
    analyzeCommand->callback(
        [&run, options] { run = [options](CliContext& ctx) { return analyze(ctx, *options); }; });
}

} // namespace kestrix::app
