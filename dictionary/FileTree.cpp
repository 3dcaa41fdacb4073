#include "dictionary/FileTree.h"

#include "dictionary/DictionaryQualifier.h"
#include "dictionary/DictionaryStore.h"
#include "runtime/FixedText.h"

namespace kestrix::dictionary {

namespace {

bool startsWithNoCase(const std::string& text, const std::string& start)
{
    return runtime::startsWithNoCase(runtime::ltrim(text), start);
}

TreeLine heading(const std::string& kind, const std::string& text)
{
    TreeLine line;
    line.text = text;
    line.level = 1;
    line.type = "H" + kind;
    line.field = text;
    return line;
}

std::string headingText(const FileTree& tree, const std::string& kind)
{
    if (kind == RowType::Field)
        return tree.file.name;
    if (kind == RowType::Key)
        return "KEYS";
    if (kind == RowType::Relation)
        return " RELATIONSHIPS";
    if (kind == RowType::Alias)
        return " ALIAS";
    return "Unknown " + kind;
}

// A row's line under its heading, one level deeper than the row; the caller sets the text.
TreeLine rowLine(const TreeRow& row, const std::string& field)
{
    TreeLine line;
    line.type = row.type;
    line.rowLevel = row.level;
    line.level = row.level + 1;
    line.name = row.name;
    line.notes = row.notes;
    line.field = field;
    return line;
}

} // namespace

DicFile dicFileOf(const runtime::Record& dif)
{
    DicFile file;
    file.name = runtime::clip(dif.text(Dif::FileName));
    file.fileId = dif.number(Dif::FileId);
    file.aliasId = dif.number(Dif::AliasId);
    file.prefix = runtime::clip(dif.text(Dif::Prefix));
    return file;
}

TreeRow treeRowOf(const runtime::Record& row)
{
    TreeRow r;
    r.fileId = row.number(Dtr::FileId);
    r.type = runtime::upper(runtime::trim(row.text(Dtr::Type)));
    r.seq = row.number(Dtr::Seq);
    r.level = static_cast<int>(row.number(Dtr::Level));
    r.name = runtime::clip(row.text(Dtr::Name));
    r.notes = runtime::clip(row.text(Dtr::Notes));
    return r;
}

std::string paddedName(const std::string& name, int width)
{
    std::string text = name;
    const std::size_t wanted =
        std::max<std::size_t>(width > 0 ? static_cast<std::size_t>(width) : 0, name.size() + MinimumNameGap);
    text.resize(wanted, ' ');
    return text;
}

std::string relationArrow(const std::string& cardinality)
{
    const std::string head = runtime::upper(cardinality.substr(0, 6));
    if (head == "ONE:MA")
        return " <->>";
    if (head == "MANY:O")
        return " <<->";
    if (head == "ONE:ON")
        return " <--->";
    return " ????";
}

bool hasDuplicates(const std::string& keyNotes)
{
    return runtime::findNoCase(keyNotes, "DUP") != std::string::npos;
}

bool isIndexKey(const std::string& keyNotes)
{
    return startsWithNoCase(keyNotes, "INDEX");
}

bool isDescending(const std::string& componentNotes)
{
    return runtime::findNoCase(componentNotes, "-DESC") != std::string::npos;
}

bool isMemoDeclaration(const std::string& declaration)
{
    return startsWithNoCase(declaration, "MEMO(") || startsWithNoCase(declaration, "BLOB");
}

FileTree buildFileTree(const DicFile& file, const std::vector<TreeRow>& baseRows,
                       const std::vector<TreeRow>& ownRows, int fieldWidth)
{
    FileTree tree;
    tree.file = file;
    tree.qualifier = qualifierOf(file.name, file.prefix);

    std::string kind;
    for (const TreeRow& row : baseRows) {
        if (row.type == RowType::Declaration) {
            // A source line was cut after the name's 50 characters; blanks at the cut are kept.
            const std::string whole =
                row.notes.empty() ? row.name : runtime::fitted(row.name, TreeRow::NameSize) + row.notes;
            tree.declaration.push_back(runtime::clip(whole));
            continue;
        }
        if (row.type != RowType::Field && row.type != RowType::Key)
            continue;
        if (row.type != kind) {
            kind = row.type;
            tree.lines.push_back(heading(kind, headingText(tree, kind)));
        }
        TreeLine line = rowLine(row, tree.qualifier + row.name);
        std::string shown = row.name;
        if (row.type == RowType::Field) {
            if (runtime::findNoCase(row.notes, "DIM(") != std::string::npos)
                shown += "[]";
            if (isMemoDeclaration(row.notes))
                tree.hasMemo = true;
        } else if (row.level == 1) {
            line.level = -2; // keys start collapsed
            if (!hasDuplicates(row.notes) && !isIndexKey(row.notes))
                tree.uniqueKeys.push_back(line.field);
        }
        line.text = paddedName(shown, fieldWidth) + row.notes;
        tree.lines.push_back(std::move(line));
    }

    kind.clear();
    for (const TreeRow& row : ownRows) {
        if (row.type == RowType::Field || row.type == RowType::Key || row.type == RowType::Declaration)
            continue;
        if (row.type != kind) {
            kind = row.type;
            tree.lines.push_back(heading(kind, headingText(tree, kind)));
        }
        TreeLine line = rowLine(row, row.name);
        if (row.type == RowType::Relation && row.level == 1)
            line.text = paddedName(row.name + relationArrow(row.notes), fieldWidth) + row.notes;
        else if (row.type == RowType::Relation && row.level == 3)
            line.text = row.name + " = " + row.notes;
        else
            line.text = paddedName(row.name, fieldWidth) + row.notes;
        tree.lines.push_back(std::move(line));
    }
    return tree;
}

FileTree loadFileTree(DictionaryStore& store, const DicFile& file, int fieldWidth)
{
    std::vector<TreeRow> base;
    for (const runtime::Record& r : store.treeOf(file.aliasId))
        base.push_back(treeRowOf(r));
    std::vector<TreeRow> own;
    for (const runtime::Record& r : store.treeOf(file.fileId))
        own.push_back(treeRowOf(r));
    return buildFileTree(file, base, own, fieldWidth);
}

bool hasMemoFields(DictionaryStore& store, const DicFile& file)
{
    for (const runtime::Record& r : store.treeOf(file.aliasId, "9")) {
        const TreeRow row = treeRowOf(r);
        if (row.type == RowType::Field && isMemoDeclaration(row.notes))
            return true;
    }
    return false;
}

int keyLineOf(const FileTree& tree, int line)
{
    for (int i = line; i >= 0 && i < static_cast<int>(tree.lines.size()); --i) {
        const TreeLine& l = tree.lines[static_cast<std::size_t>(i)];
        if (l.isKey())
            return i;
        if (!l.isKeyComponent())
            return -1;
    }
    return -1;
}

} // namespace kestrix::dictionary
