#include "app/cli/DictCommands.h"

#include "app/cli/CliContext.h"
#include "clipboard/ClipboardQueue.h"
#include "config/ConfigRecord.h"
#include "config/Settings.h"
#include "dictionary/DictionaryImport.h"
#include "dictionary/DictionaryStore.h"
#include "dictionary/FieldCode.h"
#include "dictionary/FileCode.h"
#include "dictionary/KeyCode.h"
#include "dictionary/RelationCode.h"
#include "runtime/FixedText.h"
#include "runtime/TextCodec.h"
#include "runtime/WinPath.h"

#include <algorithm>
#include <memory>
#include <ostream>
#include <sstream>

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

// What "dict code" was asked for: one menu item or a loop, and the window's choices.
struct DictCodeOptions
{
    std::string store;
    std::string file;
    std::string abc;
    std::string fileItem;
    std::string key;
    std::string keyItem;
    std::string fields;
    std::string fieldItem;
    std::string relation;
    std::string relationItem;
    int loop = 0;
    std::string next = "NEXT";
    bool noMemo = false;
    std::string action = "NONE";
    std::string actionFile;
    bool stream = false;
    std::optional<int> flushEvery;
    std::optional<int> yieldEvery;
    bool cursor = false;
    bool logout = false;
    bool abcSave = false;
    std::vector<std::string> assign;
};

class CodeRun
{
public:
    CodeRun(CliContext& ctx, const DictCodeOptions& o) : m_ctx(ctx), m_o(o) {}

    int run()
    {
        const int chosen = (m_o.fileItem.empty() ? 0 : 1) + (m_o.keyItem.empty() ? 0 : 1) +
                           (m_o.fieldItem.empty() ? 0 : 1) + (m_o.relationItem.empty() ? 0 : 1) +
                           (m_o.loop != 0 ? 1 : 0);
        if (chosen != 1)
            return refuse("Give one of --file-item, --key-item, --field-item, --relation-item or --loop.");
        m_abc = m_o.abc.empty() ? m_ctx.session.programIni().number(config::Ini::AbcSection,
                                                                    config::Ini::AbcModeEntry, 1) != 0
                                : m_o.abc == "on";
        m_store = openStore(m_ctx, m_o.store, false);
        if (!m_store)
            return ExitFailure;
        const std::optional<std::string> fileName = m_ctx.argument(m_o.file);
        if (!fileName)
            return ExitRefused;
        runtime::Record dif = m_store->files().newRecord();
        if (!m_store->fileByName(*fileName, dif)) {
            m_ctx.err << "No file " << m_o.file << " in " << m_o.store << '\n';
            return ExitFailure;
        }
        m_tree = dictionary::loadFileTree(
            *m_store, dictionary::dicFileOf(dif),
            static_cast<int>(m_ctx.session.configuration().number(config::Cfg::FieldWidth)));
        m_style = dictionary::codeStyleOf(m_ctx.session.configuration(), m_abc);
        if (const int refused = readAssignments())
            return refused;
        if (!m_o.fields.empty()) {
            if (const int refused = markFields())
                return refused;
        }
        if (!m_o.fileItem.empty())
            return fileItem();
        if (!m_o.keyItem.empty())
            return keyItem();
        if (!m_o.fieldItem.empty())
            return fieldItem();
        if (!m_o.relationItem.empty())
            return relationItem();
        return loop();
    }

private:
    int refuse(const std::string& why)
    {
        m_ctx.err << "DICT CODE: " << why << '\n';
        return ExitRefused;
    }

    int print(const std::vector<std::string>& lines)
    {
        if (lines.empty())
            return 0;
        const std::string text = m_ctx.session.putCodeOnClipboard(lines, clipboard::ClipMode::Change, true);
        if (!text.empty())
            m_ctx.out << printedClipboardText(text);
        return 0;
    }

    int readAssignments()
    {
        for (const std::string& given : m_o.assign) {
            const std::optional<std::string> text = m_ctx.argument(given);
            if (!text)
                return ExitRefused;
            dictionary::Assignment pair;
            if (!dictionary::parseAssignment(*text, pair))
                return refuse("--assign takes VAR1=VAR2, not \"" + given + "\".");
            for (const std::string* side : {&pair.var1, &pair.var2}) {
                if (side->size() > dictionary::AssignmentTextSize)
                    return refuse(std::string(side == &pair.var1 ? "VAR1" : "VAR2") + " holds at most " +
                                  std::to_string(dictionary::AssignmentTextSize) + " characters, not " +
                                  std::to_string(side->size()) + ": " + *side);
            }
            m_assignments.push_back(pair);
        }
        m_assignGiven = !m_o.assign.empty();
        return 0;
    }

    static bool sameName(const std::string& a, const std::string& b) { return runtime::sameTextNoCase(a, b); }

    int markFields()
    {
        std::istringstream list(m_o.fields);
        for (std::string name; std::getline(list, name, ',');) {
            const std::string wanted(runtime::trim(name));
            bool found = false;
            for (std::size_t i = 0; i < m_tree.lines.size(); ++i) {
                dictionary::TreeLine& line = m_tree.lines[i];
                if (line.type == dictionary::LineType::Field &&
                    (sameName(line.name, wanted) || sameName(line.field, wanted))) {
                    line.mark = true;
                    if (m_firstField < 0)
                        m_firstField = static_cast<int>(i);
                    found = true;
                    break;
                }
            }
            if (!found)
                return refuse("No field " + wanted + " in " + m_tree.file.name + ".");
        }
        return 0;
    }

    int keyLine(int& line)
    {
        if (m_o.key.empty())
            return refuse("Name the key with --key.");
        for (std::size_t i = 0; i < m_tree.lines.size(); ++i) {
            const dictionary::TreeLine& l = m_tree.lines[i];
            if (l.isKey() && (sameName(l.name, m_o.key) || sameName(l.field, m_o.key))) {
                line = static_cast<int>(i);
                return 0;
            }
        }
        return refuse("No key " + m_o.key + " in " + m_tree.file.name + ".");
    }

    int relation(dictionary::RelationContext& context)
    {
        if (m_o.relation.empty())
            return refuse("Name the related file with --relation.");
        std::string name = m_o.relation;
        int wanted = 1;
        if (const std::size_t colon = name.rfind(':'); colon != std::string::npos) {
            try {
                wanted = std::stoi(name.substr(colon + 1));
            } catch (const std::exception&) {
                return refuse("--relation takes FILE or FILE:N, not \"" + m_o.relation + "\".");
            }
            name.erase(colon);
        }
        int seen = 0;
        for (std::size_t i = 0; i < m_tree.lines.size(); ++i) {
            const dictionary::TreeLine& l = m_tree.lines[i];
            if (l.type != dictionary::LineType::Relation || l.rowLevel != 1 || !sameName(l.name, name) ||
                ++seen != wanted)
                continue;
            runtime::Record dif = m_store->files().newRecord();
            if (!m_store->fileByName(l.name, dif)) {
                m_ctx.err << "!@# error loading file " << l.name << '\n';
                return ExitFailure;
            }
            dictionary::relationContextOf(m_tree, static_cast<int>(i), dictionary::dicFileOf(dif), context);
            context.relatedHasMemo = dictionary::hasMemoFields(*m_store, context.related);
            return 0;
        }
        return refuse("No relation " + std::to_string(wanted) + " to " + name + " in " + m_tree.file.name +
                      ".");
    }

    int menuId(const dictionary::CodeMenu& menu, const std::string& text, const char* which)
    {
        const int id = dictionary::menuItemId(menu, text);
        if (id != 0) {
            for (const dictionary::CodeMenuEntry& e : menu) {
                for (const runtime::MenuItem& item : e.submenu.empty() ? std::vector{e.item} : e.submenu) {
                    if (item.id == id && !item.enabled)
                        return -refuse("\"" + text + "\" cannot be used here.");
                }
            }
            return id;
        }
        std::string known;
        for (const std::string& t : dictionary::menuItemTexts(menu))
            known += (known.empty() ? "" : ", ") + t;
        return -refuse(std::string("No item \"") + text + "\" in the " + which + " menu; it has: " + known);
    }

    // Carries out what a menu choice asks for.
    int follow(const dictionary::CodeChoice& choice, const std::string& keyName,
               const dictionary::KeyContext& key)
    {
        switch (choice.request) {
        case dictionary::CodeRequest::Lines:
            return print(choice.lines);
        case dictionary::CodeRequest::SetLoop:
            return setLoop(choice.setType, keyName, key);
        case dictionary::CodeRequest::AddRecord: {
            dictionary::selectFields(m_tree, true);
            const dictionary::AssignmentList list =
                m_assignGiven
                    ? m_assignments
                    : dictionary::assignmentsFor(m_tree, dictionary::selectedFieldLines(m_tree, -1));
            return print(dictionary::addRecordLines(m_abc, m_tree, list));
        }
        case dictionary::CodeRequest::Assignments: {
            const dictionary::AssignmentList list =
                m_assignGiven ? m_assignments
                              : dictionary::assignmentsFor(
                                    m_tree, dictionary::selectedFieldLines(m_tree, m_firstField));
            if (list.empty()) {
                m_ctx.err << "DICT CODE: no fields selected and no --assign given; nothing is generated.\n";
                return ExitFailure;
            }
            return print(dictionary::assignmentLines(list, dictionary::FieldAssignmentIndent));
        }
        case dictionary::CodeRequest::SelectFields:
        case dictionary::CodeRequest::SelectFieldsAndMemos:
            return 0; // changes the tree's selection only
        case dictionary::CodeRequest::FileMenu:
            return refuse("\"File Menu...\" opens the file menu: use --file-item.");
        case dictionary::CodeRequest::Nothing:
            break;
        }
        return refuse("That item writes nothing here.");
    }

    int fileItem()
    {
        const int id = menuId(dictionary::fileMenu(m_abc), m_o.fileItem, "file");
        if (id < 0)
            return -id;
        return follow(dictionary::fileMenuChoice(m_abc, id, m_tree), {}, {});
    }

    int keyItem()
    {
        int line = -1;
        if (const int refused = keyLine(line))
            return refused;
        const int id = menuId(dictionary::keyMenu(), m_o.keyItem, "key");
        if (id < 0)
            return -id;
        return follow(dictionary::keyMenuChoice(id, m_tree, line, m_style, m_o.noMemo),
                      m_tree.lines[static_cast<std::size_t>(line)].field,
                      dictionary::keyContextOf(m_tree, line));
    }

    int fieldItem()
    {
        if (m_firstField < 0)
            return refuse("Name the fields with --fields.");
        const int id = menuId(dictionary::fieldMenu(m_tree, m_firstField), m_o.fieldItem, "field");
        if (id < 0)
            return -id;
        // A single field is the clicked one, not a selection: the CASE item and "Name" agree.
        if (std::count_if(m_tree.lines.begin(), m_tree.lines.end(), [](const auto& l) { return l.mark; }) ==
            1)
            m_tree.lines[static_cast<std::size_t>(m_firstField)].mark = false;
        return follow(dictionary::fieldMenuChoice(id, m_tree, m_firstField), {}, {});
    }

    int relationItem()
    {
        dictionary::RelationContext r;
        if (const int refused = relation(r))
            return refused;
        const int id = menuId(dictionary::relationMenu(r), m_o.relationItem, "relation");
        if (id < 0)
            return -id;
        return follow(dictionary::relationMenuChoice(id, r, m_style, m_o.noMemo), r.ownKeyQualified,
                      dictionary::relationKeyContext(r));
    }

    int loop()
    {
        if (m_o.loop == 4) {
            dictionary::RelationContext r;
            if (const int refused = relation(r))
                return refused;
            if (dictionary::isNoLinkName(r.ownKey) || r.ownKey.empty())
                return refuse("The relation has no key in " + m_tree.file.name + " (NOLINK).");
            return setLoop(4, r.ownKeyQualified, dictionary::relationKeyContext(r));
        }
        if (m_o.loop == 1 && m_o.key.empty())
            return setLoop(1, {}, dictionary::keyContextOf(m_tree, -1));
        int line = -1;
        if (const int refused = keyLine(line))
            return refused;
        return setLoop(m_o.loop, m_tree.lines[static_cast<std::size_t>(line)].field,
                       dictionary::keyContextOf(m_tree, line));
    }

    int setLoop(int type, const std::string& keyName, const dictionary::KeyContext& key)
    {
        std::string problem;
        if (!dictionary::setLoopTitle(type, problem))
            return refuse(problem);
        dictionary::SetGenerator sg =
            dictionary::setGeneratorFor(m_tree.file.name, keyName, static_cast<dictionary::SetType>(type),
                                        m_tree.hasMemo, m_ctx.session.configuration());
        sg.next = m_o.next;
        sg.noMemo = m_o.noMemo;
        sg.action = m_o.action;
        if (!m_o.actionFile.empty()) {
            runtime::Record dif = m_store->files().newRecord();
            if (!m_store->fileByName(m_o.actionFile, dif))
                return refuse("No file " + m_o.actionFile + " in " + m_o.store +
                              " to perform the action on.");
            sg.actionFile = dictionary::dicFileOf(dif).name;
        }
        sg.stream = m_o.stream;
        if (m_o.flushEvery) {
            sg.flushEvery = true;
            sg.flushRecords = *m_o.flushEvery;
        }
        if (m_o.yieldEvery) {
            sg.yieldEvery = true;
            sg.yieldRecords = *m_o.yieldEvery;
        }
        sg.cursorWait = m_o.cursor;
        sg.logout = m_o.logout;
        sg.abcSave = m_o.abcSave;
        return print(dictionary::setLoopLines(sg, key, m_assignments, m_style));
    }

    CliContext& m_ctx;
    const DictCodeOptions& m_o;
    bool m_abc = true;
    std::unique_ptr<dictionary::DictionaryStore> m_store;
    dictionary::FileTree m_tree;
    dictionary::CodeStyle m_style;
    dictionary::AssignmentList m_assignments;
    bool m_assignGiven = false;
    int m_firstField = -1;
};

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
auto code = std::make_shared<DictCodeOptions>();
auto* gen =
    dict->add_subcommand("code", "Print the code a dictionary menu item or the SET/LOOP window generates");
gen->add_option("store", code->store, "NAME.dic")->required();
gen->add_option("file", code->file, "The file (or alias) of the tree")->required();
gen->add_option("--abc", code->abc, "on or off (default: the program's setting)")
    ->check(CLI::IsMember({"on", "off"}));
gen->add_option("--file-item", code->fileItem, "An item of the file menu, by its text");
gen->add_option("--key", code->key, "The key, by its label");
gen->add_option("--key-item", code->keyItem, "An item of the key menu");
gen->add_option("--fields", code->fields, "F1,F2,...: the fields marked, in tree order");
gen->add_option("--field-item", code->fieldItem, "An item of the field menu");
gen->add_option("--relation", code->relation, "RELATEDFILE[:N]: the N-th relation to that file");
gen->add_option("--relation-item", code->relationItem, "An item of the relation menu");
gen->add_option("--loop", code->loop,
                "The SET/LOOP block: 1 SET(File), 2 SET(Key), 3 SET(Key,Key), 4 relation")
    ->check(CLI::Range(1, 4));
gen->add_option("--next", code->next, "NEXT or PREVIOUS")->check(CLI::IsMember({"NEXT", "PREVIOUS"}));
gen->add_flag("--nomemo", code->noMemo, "NOMEMO() before each read");
gen->add_option("--action", code->action, "NONE, PUT, ADD, APPEND or DELETE")
    ->check(CLI::IsMember({"NONE", "PUT", "ADD", "APPEND", "DELETE"}));
gen->add_option("--action-file", code->actionFile, "The file the action works on");
gen->add_flag("--stream", code->stream, "Stream/Flush");
gen->add_option("--flush-every", code->flushEvery, "Flush after every N records")
    ->check(CLI::Range(0, 32767));
gen->add_option("--yield-every", code->yieldEvery, "Yield after every N records")
    ->check(CLI::Range(0, 32767));
gen->add_flag("--cursor", code->cursor, "Cursor(Hourglass)");
gen->add_flag("--logout", code->logout, "Logout/Commit");
gen->add_flag("--abc-save", code->abcSave, "ABC Save/Restore File State");
gen->add_option("--assign", code->assign, "VAR1=VAR2, repeatable: the assignment list");
gen->callback([&run, code] { run = [code](CliContext& ctx) { return CodeRun(ctx, *code).run(); }; });
}

} // namespace kestrix::app
