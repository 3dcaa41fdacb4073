#include "dictionary/DictionaryImport.h"

#include "config/Settings.h"
#include "data/FileErrorMessage.h"
#include "dictionary/DictionaryStore.h"
#include "dictionary/TextDictionary.h"
#include "runtime/FieldFit.h"
#include "runtime/FixedText.h"
#include "runtime/WinPath.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <set>
#include <unordered_map>

namespace kestrix::dictionary {

using runtime::FileError;
using runtime::ltrim;
using runtime::Record;
using runtime::rtrim;
using runtime::upper;

namespace {

constexpr const char* LoadingText = "Loading TXD File";
constexpr const char* BuildingText = "Building Indices";
constexpr const char* ImportCaption = "DICTIONARY IMPORT";
constexpr int ExportTimeout = 12000; // hundredths of a second
constexpr int LikeChainLimit = 64;

bool startsWith(std::string_view text, std::string_view start)
{
    return text.substr(0, start.size()) == start;
}

// Where a "!" starts a comment: not inside a quoted string.
std::size_t commentStart(std::string_view text)
{
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\'')
            quoted = !quoted;
        else if (!quoted && text[i] == '!')
            return i;
    }
    return std::string_view::npos;
}

std::string between(const std::string& line, std::size_t open)
{
    const std::size_t close = line.find(')', open);
    return std::string(
        runtime::trim(line.substr(open, close == std::string::npos ? std::string::npos : close - open)));
}

std::string padded(std::string text, std::size_t size)
{
    text.resize(size, ' ');
    return text;
}

runtime::MessageRequest box(std::string text, std::string caption,
                            runtime::MessageIcon icon = runtime::MessageIcon::Exclamation)
{
    return {std::move(text), std::move(caption), icon, runtime::Button::Ok, runtime::Button::Ok};
}

struct Pair final
{
    std::string first;
    std::string second;
};

// One RELATION block as it is read.
struct Relation final
{
    bool open = false;
    std::string type;
    std::string specs;
    int segment = 0;
    int level = 0;
    std::string file1, file2, key1, key2;
    std::vector<Pair> fields1, fields2;
    int beyond1 = 0, beyond2 = 0; // pairs past the buffer's room, left out
};

} // namespace

bool stopBox(runtime::DialogService& dialogs, const std::string& text)
{
    const unsigned pressed = dialogs.message(
        {text + "||Abort ends the import; Ignore goes on.", "STOP", runtime::MessageIcon::Hand,
         runtime::Button::Abort | runtime::Button::Ignore, runtime::Button::Ignore});
    return pressed != runtime::Button::Abort;
}

struct DictionaryImporter::Run
{
    DictionaryImporter& owner;
    DictionaryStore store;
    TxdReader& reader;
    ImportResult& result;
    bool stopped = false; // by a failure or the user: the store is not complete

    int section = 0;
    int level = -1;
    std::int64_t fileCounter = 0;
    std::int64_t declarations = 0;
    std::int64_t items = 0;
    std::string pendingUserOptions;
    std::string lineCopy;
    std::int64_t fileId = 0;
    std::size_t preLen = 0;
    std::map<std::string, std::int64_t> prefixes; // upper-cased prefix -> FILEID
    std::vector<std::int64_t> likes;              // positions of LIKE rows
    std::vector<Record> difs;                     // DicFiles records, added once the tree is written
    std::unordered_map<std::string, std::size_t> difByName;
    Relation relation;
    int lastPercent = -1;

    Run(DictionaryImporter& o, const std::string& storeName, TxdReader& r, ImportResult& res)
        : owner(o), store(storeName), reader(r), result(res)
    {
    }

    void show(const std::string& text, bool force = false)
    {
        const int percent =
            reader.size() == 0
                ? 100
                : static_cast<int>(std::min<std::uintmax_t>(reader.position() * 100 / reader.size(), 100));
        if (owner.m_progress && (force || percent != lastPercent))
            owner.m_progress(text, percent);
        lastPercent = percent;
    }
    void tell(const std::string& text) { owner.m_dialogs.message(box(text, ImportCaption)); }
    void stopFor(const FileError& error, const std::string& sentence, runtime::KeyedFile& file)
    {
        if (!stopped)
            owner.m_dialogs.message(data::fileErrorMessage("FILE ERROR", sentence, file.name(), error));
        stopped = true;
    }
    void stopBox(const std::string& text)
    {
        if (!dictionary::stopBox(owner.m_dialogs, text))
            stopped = true;
    }

    std::int64_t addRow(std::int64_t id, const char* type, std::int64_t seq, int rowLevel,
                        const std::string& field, const std::string& notes)
    {
        if (stopped)
            return 0;
        Record row = store.tree().newRecord();
        row.setNumber(Dtr::FileId, id);
        row.setText(Dtr::Type, type);
        row.setNumber(Dtr::Seq, seq);
        row.setNumber(Dtr::Level, rowLevel);
        row.setText(Dtr::Name, field);
        row.setText(Dtr::Notes, notes);
        if (const FileError error = store.tree().add(row)) {
            stopFor(error, "An error occured while adding a row to the Dictionary Tree", store.tree());
            return 0;
        }
        ++result.treeRows;
        return row.position();
    }

    void addDef()
    {
        addRow(fileId, RowType::Declaration, ++declarations, 1, lineCopy.substr(0, 50),
               lineCopy.size() > 50 ? lineCopy.substr(50) : std::string());
    }

    bool findFile(const std::string& name, Record*& dif)
    {
        const auto found = difByName.find(upper(rtrim(name)));
        if (found == difByName.end())
            return false;
        dif = &difs[found->second];
        return true;
    }

    void addDif(Record dif)
    {
        const std::string name = upper(dif.text(Dif::FileName));
        if (!name.empty() && difByName.count(name)) {
            tell("The dictionary declares " + dif.text(Dif::FileName) +
                 " twice.|The second one is read under FILEID " + std::to_string(dif.number(Dif::FileId)) +
                 " without a file record of its own.");
            return;
        }
        if (!name.empty())
            difByName.emplace(name, difs.size());
        difs.push_back(std::move(dif));
    }

    void line(std::string text);
    void filesLine(std::string text);
    void newFile(const std::string& text);
    void keyLine(const std::string& text, const std::string& keyWord);
    void fieldLine(const std::string& text);
    void aliasLine(const std::string& text);
    void relationLine(const std::string& text);
    void writeRelation();
    bool finish();
    void resolveLikes();
    void resolveLike(std::int64_t position, std::set<std::int64_t>& chain);
};

void DictionaryImporter::Run::line(std::string text)
{
    if (runtime::isBlank(text))
        return;
    const std::string head = upper(text.substr(0, 7));
    if (head == "[DICTIO") {
        section = 1;
        return;
    }
    if (head == "[FILES]") {
        section = 2;
        level = -1;
        items = 0;
        return;
    }
    if (head == "[ALIASE" || head == "[RELATI" || head == "[VIEWS]") {
        section = head == "[ALIASE" ? 3 : head == "[RELATI" ? 4 : 5;
        show(LoadingText);
        return;
    }
    switch (section) {
    case 2:
        filesLine(std::move(text));
        break;
    case 3:
        aliasLine(text);
        break;
    case 4:
        relationLine(text);
        break;
    default:
        break; // the header and the views are not stored
    }
}

void DictionaryImporter::Run::filesLine(std::string text)
{
    if (upper(text.substr(0, 12)) == "[USEROPTION]") {
        std::string options;
        if (reader.next(options))
            pendingUserOptions = options.size() > 1 ? options.substr(1, 255) : std::string();
        return;
    }
    lineCopy = text.substr(0, 305);
    std::string keyword = keywordOf(text);
    if (startsWith(keyword, "FILE,") || rtrim(keyword) == "FILE") {
        newFile(text);
        return;
    }
    if (level < 1 || text[0] == '!' || text[0] == '[')
        return;
    addDef();
    pendingUserOptions.clear();
    if (startsWith(keyword, "KEY(")) {
        keyLine(text, "KEY(");
    } else if (startsWith(keyword, "INDEX(") || startsWith(keyword, "INDEX ") ||
               startsWith(keyword, "INDEX,")) {
        keyLine(text, keyword.substr(0, 6));
    } else if (startsWith(keyword, "MEMO(") || startsWith(keyword, "BLOB ") || startsWith(keyword, "BLOB,")) {
        fieldLine(text);
    } else if (startsWith(keyword, "RECORD,") || startsWith(keyword, "RECORD ")) {
        const std::size_t pre = upper(text).find(",PRE()");
        if (pre != std::string::npos)
            text.erase(pre, 6);
        ++level;
        if (text[0] != ' ')
            fieldLine(text);
    } else if (startsWith(keyword, "END") && (keyword[3] == ' ' || keyword[3] == '!' || keyword[3] == ',')) {
        if (--level == 0) {
            show(LoadingText);
            level = -1;
            items = 0;
        }
    } else if (startsWith(keyword, "GROUP ") || startsWith(keyword, "GROUP,") ||
               startsWith(keyword, "GROUP(") || startsWith(keyword, "MULTI ") ||
               startsWith(keyword, "MULTI,")) {
        fieldLine(text);
        ++level;
    } else if (level > 1 && text[0] != ' ') {
        fieldLine(text);
    }
}

void DictionaryImporter::Run::newFile(const std::string& text)
{
    level = 1;
    Record dif = store.files().newRecord();
    dif.setText(Dif::FileName, labelOf(text));
    fileId = ++fileCounter;
    dif.setNumber(Dif::FileId, fileId);
    dif.setNumber(Dif::AliasId, fileId);
    const std::size_t comma = text.find(',');
    const FileAttributes attributes = parseFileAttributes(
        comma == std::string::npos ? std::string_view() : std::string_view(text).substr(comma + 1));
    dif.setText(Dif::Prefix, attributes.prefix);
    preLen = rtrim(attributes.prefix).size();
    dif.setNumber(Dif::PreLen, static_cast<std::int64_t>(preLen));
    dif.setText(Dif::Description, attributes.description);
    dif.setText(Dif::Driver, attributes.driver);
    dif.setText(Dif::DriverString, attributes.driverString);
    dif.setText(Dif::FullName, attributes.fullName);
    dif.setText(Dif::FileSpec, attributes.fileSpec);
    dif.setText(Dif::UserOptions, pendingUserOptions);
    pendingUserOptions.clear();
    prefixes.emplace(upper(attributes.prefix), fileId);
    addDif(std::move(dif));
    ++result.files;
    declarations = 0;
    addDef();
}

void DictionaryImporter::Run::keyLine(const std::string& text, const std::string& keyWord)
{
    const std::string label = labelOf(text);
    const std::string upperText = upper(text);
    const std::size_t at = upperText.find(keyWord, label.size());
    if (at == std::string::npos) {
        stopBox("!@#could not find " + keyWord + " in " + text);
        return;
    }
    const std::size_t close = text.find(')', at);
    const std::size_t clipped = rtrim(text).size();
    const std::size_t after = close == std::string::npos ? clipped : close + 1;
    std::string notes(rtrim(text.substr(std::min(after, text.size()))));
    if (startsWith(keyWord, "INDEX"))
        notes = "INDEX  " + notes;
    addRow(fileId, RowType::Key, ++items, 1, label, notes);

    const std::size_t open = text.find('(', at);
    if (open == std::string::npos || (close != std::string::npos && open > close))
        return;
    const std::string inside =
        text.substr(open + 1, (close == std::string::npos ? clipped : close) - open - 1);
    std::size_t from = 0;
    while (from <= inside.size() && !stopped) {
        const std::size_t comma = inside.find(',', from);
        std::string component(
            runtime::trim(inside.substr(from, comma == std::string::npos ? inside.npos : comma - from)));
        from = comma == std::string::npos ? inside.size() + 1 : comma + 1;
        std::string componentNotes;
        if (!component.empty() && component[0] == '+') {
            component.erase(0, 1);
        } else if (!component.empty() && component[0] == '-') {
            component.erase(0, 1);
            componentNotes = "-DESCENDING";
        }
        component = std::string(ltrim(component));
        if (preLen != 0 && component.size() > preLen && component[preLen] == ':')
            component.erase(0, preLen + 1);
        if (!component.empty())
            addRow(fileId, RowType::Key, ++items, 2, component, componentNotes);
    }
}

void DictionaryImporter::Run::fieldLine(const std::string& text)
{
    const std::string label = labelOf(text);
    std::string declaration(ltrim(std::string_view(text).substr(label.size())));
    std::string comment;
    if (const std::size_t bang = commentStart(declaration); bang != std::string::npos) {
        comment = declaration.substr(bang + 1);
        declaration.erase(bang);
    }
    declaration = std::string(rtrim(declaration));

    std::string extra;
    if (reader.next(extra)) {
        if (extra.empty() || extra[0] != '!') {
            reader.putBack();
            extra.clear();
        }
    }
    if (!extra.empty()) {
        const std::string spaced = extra + " ";
        const std::string upperExtra = upper(spaced);
        for (const char* attribute : {"PICTURE(", "VALID("}) {
            const std::size_t at = upperExtra.find(attribute);
            if (at == std::string::npos)
                continue;
            std::size_t end = spaced.find("),", at);
            if (end == std::string::npos)
                end = spaced.find(") ", at);
            const std::string found = end == std::string::npos ? std::string(rtrim(spaced.substr(at)))
                                                               : spaced.substr(at, end - at + 1);
            declaration += "," + found;
        }
        if (!declaration.empty() && declaration[0] == ',')
            declaration.erase(0, 1);
    }
    const std::string notes = declaration + "   " + comment;
    const std::int64_t position =
        addRow(fileId, RowType::Field, ++items, std::max(1, level - 1), label, notes);
    if (position != 0 && upper(notes.substr(0, 5)) == "LIKE(")
        likes.push_back(position);
}

void DictionaryImporter::Run::aliasLine(const std::string& text)
{
    if (text[0] == ' ' || text[0] == '!' || text[0] == '[')
        return;
    if (!startsWith(keywordOf(text), "ALIAS("))
        return;
    const std::string label = labelOf(text);
    std::string rest = text;
    const std::size_t alias = upper(rest).find("ALIAS(", label.size());
    const std::string target = between(rest, alias + 6);
    Record* base = nullptr;
    if (!findFile(target, base)) {
        tell("!@# could not find Aliasfile=" + target);
        return;
    }
    const std::int64_t baseId = base->number(Dif::FileId);
    const std::string baseName = base->text(Dif::FileName);
    const std::string basePrefix = base->text(Dif::Prefix);

    Record dif = store.files().newRecord();
    dif.setText(Dif::FileName, label);
    const std::int64_t aliasId = ++fileCounter;
    dif.setNumber(Dif::FileId, aliasId);
    dif.setNumber(Dif::AliasId, baseId);
    std::string prefix;
    const std::size_t pre = upper(rest).find("PRE(", label.size());
    if (pre != std::string::npos) {
        prefix = between(rest, pre + 4);
        const std::size_t close = rest.find(')', pre);
        const std::size_t cutFrom = pre > 0 && rest[pre - 1] == ',' ? pre - 1 : pre;
        rest.erase(cutFrom, close == std::string::npos ? std::string::npos : close + 1 - cutFrom);
        dif.setText(Dif::Prefix, prefix);
        dif.setNumber(Dif::PreLen, static_cast<std::int64_t>(rtrim(prefix).size()));
    }
    dif.setText(Dif::FileSpec, ltrim(std::string_view(rest).substr(std::min(label.size(), rest.size()))));
    addDif(std::move(dif));
    ++result.aliases;
    addRow(aliasId, RowType::Alias, ++items, 1, baseName, "PREFIX(" + basePrefix + ")");
    addRow(baseId, RowType::Alias, ++items, 1, label, "PREFIX(" + std::string(rtrim(prefix)) + ")");
}

void DictionaryImporter::Run::relationLine(const std::string& text)
{
    const std::string keyword = keywordOf(text);
    const std::string label = labelOf(text);
    const std::string upperText = upper(text);
    if (startsWith(keyword, "RELATION,")) {
        relation = Relation();
        relation.open = true;
        const std::string words(ltrim(text));
        const std::string after = words.size() > 9 ? words.substr(9) : std::string();
        // The cardinality runs to its comma: "ONE:ONE" is shorter than the other two.
        const std::size_t comma = after.find(',');
        relation.type = std::string(rtrim(after.substr(0, std::min<std::size_t>(comma, 8))));
        relation.specs =
            comma == std::string::npos ? std::string() : std::string(rtrim(after.substr(comma + 1, 100)));
        relation.level = 1;
    } else if (!relation.open) {
        return;
    } else if (startsWith(keyword, "FILE(")) {
        relation.file1 = label;
        relation.key1 = between(text, upperText.find("FILE(", label.size()) + 5);
        if (relation.key1.empty())
            relation.key1 = "NOLINK";
    } else if (startsWith(keyword, "RELATED_FILE(")) {
        relation.file2 = label;
        relation.key2 = between(text, upperText.find("RELATED_FILE(", label.size()) + 13);
        if (relation.key2.empty())
            relation.key2 = "NOLINK";
    } else if (startsWith(keyword, "FILE_TO_RELATED_KEY")) {
        ++relation.level;
        relation.segment = 2;
    } else if (startsWith(keyword, "RELATED_FILE_TO_KEY")) {
        ++relation.level;
        relation.segment = 3;
    } else if (startsWith(keyword, "FIELD(")) {
        const std::string after(ltrim(std::string_view(text).substr(label.size())));
        const std::size_t open = upper(after).find("FIELD(");
        const std::size_t close = after.rfind(')');
        const std::string inside = after.substr(
            open + 6, close == std::string::npos || close < open + 6 ? std::string::npos : close - open - 6);
        const std::size_t comma = inside.find(',');
        if (comma == std::string::npos) {
            stopBox("no comma in relationship !@#");
            return;
        }
        Pair pair{std::string(runtime::trim(inside.substr(0, comma))),
                  std::string(runtime::trim(inside.substr(comma + 1)))};
        std::vector<Pair>* pairs = relation.segment == 2   ? &relation.fields1
                                   : relation.segment == 3 ? &relation.fields2
                                                           : nullptr;
        int* beyond = relation.segment == 2 ? &relation.beyond1 : &relation.beyond2;
        if (pairs && pairs->size() < RelationPairLimit)
            pairs->push_back(std::move(pair));
        else if (pairs)
            ++*beyond;
    } else if (startsWith(keyword, "END") && (keyword[3] == ' ' || keyword[3] == '!' || keyword[3] == ',')) {
        if (--relation.level == 0) {
            writeRelation();
            relation.open = false;
        }
    }
}

void DictionaryImporter::Run::writeRelation()
{
    if (relation.beyond1 + relation.beyond2 > 0) {
        tell("The relation of " + relation.file1 + " and " + relation.file2 + " links more than " +
             std::to_string(RelationPairLimit) + " fields in a segment.|The first " +
             std::to_string(RelationPairLimit) + " of each are kept; " +
             std::to_string(relation.beyond1 + relation.beyond2) + " FIELD pairs are left out.");
    }
    Record* first = nullptr;
    if (!findFile(relation.file1, first)) {
        tell("!@# could not find Relation File 1=" + relation.file1);
        return;
    }
    const std::int64_t firstId = first->number(Dif::FileId);
    addRow(firstId, RowType::Relation, ++items, 1, relation.file2,
           padded(relation.type, 8) + "," + relation.specs);
    addRow(firstId, RowType::Relation, ++items, 2, relation.key1, relation.key2);
    for (const Pair& pair : relation.fields1)
        addRow(firstId, RowType::Relation, ++items, 3, pair.first, pair.second);
    const std::string turned = reversedCardinality(relation.type).substr(0, 8);
    Record* second = nullptr;
    if (!findFile(relation.file2, second)) {
        tell("!@# could not find Relation File 2=" + relation.file2);
        return;
    }
    const std::int64_t secondId = second->number(Dif::FileId);
    addRow(secondId, RowType::Relation, ++items, 1, relation.file1, padded(turned, 8) + "," + relation.specs);
    addRow(secondId, RowType::Relation, ++items, 2, relation.key2, relation.key1);
    for (const Pair& pair : relation.fields2)
        addRow(secondId, RowType::Relation, ++items, 3, pair.first, pair.second);
    show(LoadingText);
}

void DictionaryImporter::Run::resolveLike(std::int64_t position, std::set<std::int64_t>& chain)
{
    runtime::KeyedFile& tree = store.tree();
    Record row = tree.newRecord();
    if (tree.fetch(position, row))
        return;
    const std::string reference = likeReference(row.text(Dtr::Notes));
    if (reference.empty())
        return; // resolved already, through a LIKE that refers to it
    for (std::size_t colon = 1; colon < std::min<std::size_t>(reference.size(), 15); ++colon) {
        if (reference[colon] != ':')
            continue;
        const auto prefix = prefixes.find(upper(reference.substr(0, colon)));
        if (prefix == prefixes.end())
            continue;
        Record target = tree.newRecord();
        if (!store.findRow(reference.substr(colon + 1), prefix->second, RowType::Field, target))
            continue;
        if (target.position() == position)
            return; // a field cannot take its type from itself
        if (!likeReference(target.text(Dtr::Notes)).empty()) {
            // A LIKE of a LIKE: the referenced one is resolved first, unless it leads back here.
            if (chain.count(target.position()) || chain.size() >= LikeChainLimit)
                return;
            chain.insert(position);
            resolveLike(target.position(), chain);
            chain.erase(position);
            if (tree.fetch(target.position(), target) || !likeReference(target.text(Dtr::Notes)).empty())
                return;
        }
        if (tree.fetch(position, row))
            return;
        row.setText(Dtr::Notes, resolvedLikeNotes(row.text(Dtr::Notes), target.text(Dtr::Notes)));
        if (const FileError error = tree.put(row))
            stopFor(error, "An error occured while writing a row of the Dictionary Tree", tree);
        return;
    }
}

void DictionaryImporter::Run::resolveLikes()
{
    runtime::KeyedFile& tree = store.tree();
    std::size_t entry = 0;
    for (const std::int64_t position : likes) {
        ++entry;
        Record row = tree.newRecord();
        if (const FileError error = tree.fetch(position, row)) {
            tell("Error " + error.text() + "|REGET # " + std::to_string(entry));
            continue;
        }
        std::set<std::int64_t> chain;
        resolveLike(position, chain);
        if (stopped)
            break;
    }
}

// The keys are built and the LIKE rows rewritten inside the transaction that wrote the rows:
// the tree is committed once, whole. The file records follow through their own table.
bool DictionaryImporter::Run::finish()
{
    show(BuildingText, true);
    runtime::KeyedFile& tree = store.tree();
    if (const FileError error = tree.rebuildKeys()) {
        stopFor(error, "An error occured while building the keys of the Dictionary Tree", tree);
        return false;
    }
    resolveLikes();
    if (const FileError error = tree.flush()) {
        stopFor(error, "An error occured while writing the Dictionary Tree", tree);
        return false;
    }
    if (stopped)
        return false;
    runtime::KeyedFile& files = store.files();
    if (const FileError error = files.stream()) {
        stopFor(error, "An error occured while writing the Dictionary Files", files);
        return false;
    }
    for (Record& dif : difs) {
        if (const FileError error = files.add(dif)) {
            stopFor(error, "An error occured while adding a record to the Dictionary Files", files);
            return false;
        }
    }
    if (const FileError error = files.flush()) {
        stopFor(error, "An error occured while writing the Dictionary Files", files);
        return false;
    }
    return true;
}

DictionaryImporter::DictionaryImporter(runtime::DialogService& dialogs, runtime::IniFile programIni,
                                       runtime::DdeClientFactory dde)
    : m_dialogs(dialogs), m_ini(std::move(programIni)), m_dde(std::move(dde))
{
}

std::optional<std::string> DictionaryImporter::chooseSource()
{
    const std::string lastOpen = m_ini.value(config::Ini::PathsSection, "LastOpen");
    std::optional<std::string> chosen = m_dialogs.openFile(
        {"Select Dictionary to Import", "Dictionary (*.DCT)|*.DCT|TXD Dictionary (*.TXD)|*.TXD", lastOpen});
    if (!chosen || chosen->empty())
        return std::nullopt;
    const std::size_t slash = chosen->find_last_of("\\/");
    (void)m_ini.setValue(config::Ini::PathsSection, "LastOpen",
                         slash == std::string::npos ? std::string() : chosen->substr(0, slash));
    return chosen;
}

std::optional<std::string> DictionaryImporter::importNameOf(const std::string& store)
{
    runtime::KeyedFile info(storeNames(store).info, dicInfoLayout());
    if (info.open())
        return std::nullopt;
    Record r = info.newRecord();
    info.setOrder(runtime::KeyedFile::FileOrder);
    if (info.next(r))
        return std::nullopt;
    const std::string name = r.text(Dinfo::ImportName);
    if (runtime::isBlank(name))
        return std::nullopt;
    return name;
}

ImportResult DictionaryImporter::importChosen()
{
    const std::optional<std::string> source = chooseSource();
    if (!source)
        return {};
    return importFrom(*source);
}

ImportResult DictionaryImporter::reimport(const std::string& store)
{
    const std::optional<std::string> source = importNameOf(store);
    if (!source) {
        m_dialogs.message(
            box("The dictionary " + store + " does not name the file it was imported from.", ImportCaption));
        ImportResult result;
        result.store = store;
        return result;
    }
    return importFrom(*source);
}

ImportResult DictionaryImporter::importFrom(const std::string& source)
{
    const auto started = std::chrono::steady_clock::now();
    ImportResult result;
    const StoreName name = storeNameFor(source);
    result.store = name.store;
    m_current = name.store;
    if (const auto tooLong = runtime::textDoesNotFit(*dicInfoLayout(), Dinfo::ImportName, source)) {
        m_dialogs.message(box(*tooLong, ImportCaption));
        return result;
    }
    if (name.periodTrouble && !stopBox(m_dialogs, "bad DCT file name, period trouble: " + name.fileName))
        return result;
    if (m_progress)
        m_progress(LoadingText, 0);

    std::string txd;
    bool temporary = false;
    if (name.extension == "DCT") {
        temporary = true;
        txd = runtime::withoutTrailingBackslashes(runtime::toWinPath(std::filesystem::current_path())) +
              "\\~" + std::to_string(now().time) + ".TXD";
        std::error_code ec;
        std::filesystem::remove(runtime::resolveWinPath(txd), ec);
        std::unique_ptr<runtime::DdeClient> client = m_dde ? m_dde() : nullptr;
        if (!client || !client->connect("ClarionWin", "")) {
            m_dialogs.message(box("Unable to make DDE Connection to CW.|You will have to start CW.",
                                  "CW NOT RUNNING", runtime::MessageIcon::Hand));
            return result;
        }
        client->setTimeout(ExportTimeout);
        const runtime::DdeResult exported =
            client->execute("[ExportDct(" + std::string(rtrim(source)) + "," + txd + ",0)]");
        client->disconnect();
        if (!exported.ok) {
            m_dialogs.message(box("An error occured trying to export a dictionary:||DCT: " + source +
                                      "|TXD: " + txd + "||Error: " + std::to_string(exported.errorNumber) +
                                      " " + exported.errorText,
                                  "DDE ERROR", runtime::MessageIcon::Hand));
            std::filesystem::remove(runtime::resolveWinPath(txd), ec);
            return result;
        }
    } else if (name.extension == "TXD") {
        txd = source;
    } else {
        m_dialogs.message(box("Unknown Dictionary File Type: " + name.extension, ImportCaption));
        return result;
    }
    const auto removeTemporary = [&] {
        if (temporary) {
            std::error_code ec;
            std::filesystem::remove(runtime::resolveWinPath(txd), ec);
        }
    };

    // The text dictionary is opened before the old store goes: one that cannot be read costs nothing.
    TxdReader reader(txd);
    if (!reader.isOpen()) {
        const FileError error = runtime::winPathExists(txd) ? FileError::of(runtime::ErrorCode::AccessDenied)
                                                            : FileError::of(runtime::ErrorCode::FileNotFound);
        m_dialogs.message(
            box("An error occured opening the TXD file:||Error: " + error.text() + "|File: " + txd,
                "OPEN FILE ERROR"));
        removeTemporary();
        return result;
    }

    Run run(*this, name.store, reader, result);
    if (const FileError error = run.store.removeContainer()) {
        m_dialogs.message(
            box("An error occured while deleting the old Dictionary Files. You must close all windows "
                "accessing the Dictionary before importing.||Error: " +
                    error.text() + "|File: " + name.store,
                "FILE CREATE ERROR"));
        removeTemporary();
        return result;
    }
    std::string failing;
    FileError error = run.store.create(failing);
    if (!error)
        error = run.store.openAll(failing);
    if (error) {
        m_dialogs.message(
            box("An error occured while creating the Dictionary Files. You must close all windows "
                "accessing the Dictionary before importing.||Error: " +
                    error.text() + "|File: " + failing,
                "FILE CREATE ERROR"));
        run.store.close();
        removeTemporary();
        return result;
    }
    Record info = run.store.info().newRecord();
    const Moment when = now();
    info.setText(Dinfo::Version, CurrentStoreVersion);
    info.setText(Dinfo::ImportName, source);
    info.setNumber(Dinfo::ImportDate, when.date);
    info.setNumber(Dinfo::ImportTime, when.time);
    if (const FileError added = run.store.info().add(info))
        run.stopFor(added, "An error occured while adding the Dictionary Information", run.store.info());
    run.store.info().close();
    // The tree is written without its keys and in one transaction; the keys are built once at the end.
    if (!run.stopped) {
        if (const FileError dropped = run.store.tree().dropKeys())
            run.stopFor(dropped, "An error occured while preparing the Dictionary Tree", run.store.tree());
        else if (const FileError streaming = run.store.tree().stream())
            run.stopFor(streaming, "An error occured while writing the Dictionary Tree", run.store.tree());
    }

    std::string text;
    bool cancelled = false;
    std::size_t lines = 0;
    while (!run.stopped && reader.next(text)) {
        run.line(std::move(text));
        if (m_cancelled && (++lines & 255) == 0 && m_cancelled()) {
            cancelled = true;
            break;
        }
    }
    if (!cancelled && m_cancelled && m_cancelled())
        cancelled = true;
    if (!run.stopped && !cancelled)
        result.completed = run.finish();
    run.store.close();
    if (cancelled) {
        (void)run.store.removeContainer();
        m_dialogs.message(
            box("The import was cancelled; the dictionary store " + name.store + " has been removed.",
                ImportCaption));
        result.completed = false;
    }
    if (result.completed && !reader.cutLines().empty()) {
        std::string numbers;
        for (std::size_t i = 0; i < reader.cutLines().size() && i < 10; ++i)
            numbers += (i ? ", " : "") + std::to_string(reader.cutLines()[i]);
        if (reader.cutLines().size() > 10)
            numbers += ", ...";
        m_dialogs.message(box(std::to_string(reader.cutLines().size()) + " line(s) of " + txd +
                                  " are longer than " + std::to_string(TxdLineLength) +
                                  " characters and were read only up to that length: line " + numbers + ".",
                              "LINES READ IN PART"));
    }
    removeTemporary();
    result.milliseconds =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started)
            .count();
    return result;
}

} // namespace kestrix::dictionary
