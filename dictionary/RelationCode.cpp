#include "dictionary/RelationCode.h"

#include "dictionary/DictionaryQualifier.h"
#include "dictionary/KeyCode.h"
#include "runtime/FixedText.h"

namespace kestrix::dictionary {

namespace {

using runtime::MenuItem;

std::string qualifiedKey(const DicFile& file, const std::string& key)
{
    return isNoLinkName(key) ? key : qualifierOf(file.name, file.prefix) + key;
}

bool linked(const LinkPair& pair)
{
    return !isNoLinkName(pair.ownField) && !isNoLinkName(pair.relatedField);
}

// A key the relation names, as opposed to none or NOLINK.
bool usableKey(const std::string& key)
{
    return !key.empty() && !isNoLinkName(key);
}

KeyContext contextFor(const DicFile& file, std::vector<Component> components)
{
    KeyContext context;
    context.prefix = file.prefix;
    context.qualifier = qualifierOf(file.name, file.prefix);
    context.components = std::move(components);
    context.relation = true;
    return context;
}

} // namespace

bool isNoLinkName(const std::string& name)
{
    return runtime::upper(runtime::trim(name)) == "NOLINK";
}

int relationLineOf(const FileTree& tree, int line)
{
    for (int i = line; i >= 0 && i < static_cast<int>(tree.lines.size()); --i) {
        const TreeLine& l = tree.lines[static_cast<std::size_t>(i)];
        if (l.type != LineType::Relation)
            return -1;
        if (l.rowLevel == 1)
            return i;
    }
    return -1;
}

bool relationContextOf(const FileTree& tree, int relationLine, const DicFile& related,
                       RelationContext& context)
{
    if (relationLine < 0 || relationLine >= static_cast<int>(tree.lines.size()))
        return false;
    const TreeLine& head = tree.lines[static_cast<std::size_t>(relationLine)];
    if (head.type != LineType::Relation || head.rowLevel != 1)
        return false;
    context = RelationContext{};
    context.file = tree.file;
    context.related = related;
    context.fileHasMemo = tree.hasMemo;
    for (std::size_t i = static_cast<std::size_t>(relationLine) + 1; i < tree.lines.size(); ++i) {
        const TreeLine& line = tree.lines[i];
        if (line.type != LineType::Relation || line.rowLevel == 1)
            break;
        if (line.rowLevel == 2) {
            context.ownKey = line.name;
            context.relatedKey = line.notes;
        } else {
            context.pairs.push_back({line.name, line.notes});
        }
    }
    context.ownKeyQualified = qualifiedKey(context.file, context.ownKey);
    context.relatedKeyQualified = qualifiedKey(context.related, context.relatedKey);
    return true;
}

KeyContext relationKeyContext(const RelationContext& relation)
{
    std::vector<Component> components;
    for (const LinkPair& pair : relation.pairs) {
        if (linked(pair))
            components.push_back({pair.ownField, pair.relatedField, false});
    }
    return contextFor(relation.file, std::move(components));
}

CodeMenu relationMenu(const RelationContext& r)
{
    const bool ownKey = usableKey(r.ownKey);
    const bool relatedKey = usableKey(r.relatedKey);
    const std::string& k1 = r.ownKey;
    const std::string& k2 = r.relatedKey;
    CodeMenu menu;
    menu.push_back({MenuItem{1, "Set(" + k1 + "," + k1 + ")", ownKey}, {}});
    menu.push_back({MenuItem{runtime::SeparatorId, "-", true}, {}});
    menu.push_back({MenuItem{2, "Get(" + r.file.name + "," + k1 + ")", ownKey}, {}});
    menu.push_back({MenuItem{3, "Get(" + r.related.name + "," + k2 + ")", relatedKey}, {}});
    menu.push_back({MenuItem{runtime::SeparatorId, "-", true}, {}});
    menu.push_back({MenuItem{4, "Join(" + k2 + "," + k1 + ")", relatedKey}, {}});
    menu.push_back({MenuItem{5, "Join(" + k1 + "," + k2 + ")", ownKey}, {}});
    return menu;
}

bool relationItemOffersNoMemo(int id, const RelationContext& r)
{
    return (id == 2 && r.fileHasMemo && usableKey(r.ownKey)) ||
           (id == 3 && r.relatedHasMemo && usableKey(r.relatedKey));
}

CodeChoice relationMenuChoice(int id, const RelationContext& r, const CodeStyle& style, bool noMemo)
{
    const bool ownKey = usableKey(r.ownKey);
    const bool relatedKey = usableKey(r.relatedKey);
    switch (id) {
    case 1:
        return ownKey ? CodeChoice{CodeRequest::SetLoop, {}, 4} : CodeChoice{};
    case 2:
        if (!ownKey)
            return {};
        return codeLines(getByKeyLines(r.file.name, r.ownKeyQualified, relationKeyContext(r), r.fileHasMemo,
                                       noMemo, style));
    case 3: {
        if (!relatedKey)
            return {};
        std::vector<Component> components;
        for (const LinkPair& pair : r.pairs) {
            if (linked(pair))
                components.push_back({pair.relatedField, pair.ownField, false});
        }
        return codeLines(getByKeyLines(r.related.name, r.relatedKeyQualified,
                                       contextFor(r.related, components), r.relatedHasMemo, noMemo, style));
    }
    case 4:
    case 5: {
        if (id == 4 ? !relatedKey : !ownKey)
            return {};
        std::string line = "JOIN(" + (id == 4 ? r.relatedKeyQualified : r.ownKeyQualified);
        for (const LinkPair& pair : r.pairs) {
            if (linked(pair))
                line += ", " + (id == 4 ? pair.ownField : pair.relatedField);
        }
        return codeLines({line + ")"});
    }
    default:
        return {};
    }
}

} // namespace kestrix::dictionary
