#include "dictionary/KeyCode.h"

namespace kestrix::dictionary {

namespace {

using runtime::MenuItem;

const std::vector<std::string> Methods = {"ClearKey", "Fetch",        "TryFetch",  "GetComponents",
                                          "GetField", "GetFieldName", "KeyToOrder"};

} // namespace

KeyContext keyContextOf(const FileTree& tree, int keyLine)
{
    KeyContext context;
    context.prefix = tree.file.prefix;
    context.qualifier = tree.qualifier;
    if (keyLine < 0 || keyLine >= static_cast<int>(tree.lines.size()))
        return context;
    const TreeLine& key = tree.lines[static_cast<std::size_t>(keyLine)];
    context.isIndex = isIndexKey(key.notes);
    for (std::size_t i = static_cast<std::size_t>(keyLine) + 1; i < tree.lines.size(); ++i) {
        const TreeLine& line = tree.lines[i];
        if (!line.isKeyComponent())
            break;
        context.components.push_back({line.field, {}, isDescending(line.notes)});
    }
    return context;
}

CodeMenu keyMenu()
{
    CodeMenu menu;
    menu.push_back({MenuItem{1, "Key Name", true}, {}});
    menu.push_back(codeSubmenu("Set/Loop/Next", 2, {"Set(Key,Key)...", "Set(Key)...", "Set(File)..."}));
    menu.push_back({MenuItem{5, "Get(File,Key)", true}, {}});
    menu.push_back({MenuItem{runtime::SeparatorId, "-", true}, {}});
    menu.push_back(codeSubmenu("Commands", 6, {"POSITION", "REGET", "RESET", "DUPLICATE", "BUILD"}));
    menu.push_back(codeSubmenu("Methods", 11, Methods));
    menu.push_back({MenuItem{18, "File Menu...", true}, {}});
    return menu;
}

bool keyItemOffersNoMemo(int id, const FileTree& tree)
{
    return id == 5 && tree.hasMemo;
}

runtime::MessageRequest noMemoQuestion(const std::string& file)
{
    runtime::MessageRequest request;
    request.text =
        file + " has MEMO or BLOB fields.||Read the record without them, with NOMEMO(" + file + ")?";
    request.caption = "Get(File,Key)";
    request.icon = runtime::MessageIcon::Question;
    request.buttons = runtime::Button::Yes | runtime::Button::No;
    request.defaultButton = runtime::Button::No;
    return request;
}

std::vector<std::string> getByKeyLines(const std::string& file, const std::string& key,
                                       const KeyContext& context, bool hasMemo, bool noMemo,
                                       const CodeStyle& style)
{
    SetGenerator sg;
    sg.fileName = file;
    sg.keyName = key;
    std::vector<std::string> out = keyPreparationLines(sg, context, style);
    if (hasMemo && noMemo)
        out.push_back("NOMEMO(" + file + ")");
    if (style.abc) {
        out.insert(out.end(), {"IF Access:" + file + ".TryFetch(" + key + ")", "   failed", "END"});
    } else {
        out.insert(out.end(),
                   {"GET(" + file + "," + key + ")", "IF ERRORCODE()",
                    "   CLEAR(" + context.qualifier + "RECORD)", style.endComment ? "END !IF" : "END"});
    }
    return out;
}

CodeChoice keyMenuChoice(int id, const FileTree& tree, int keyLine, const CodeStyle& style, bool noMemo)
{
    if (keyLine < 0 || keyLine >= static_cast<int>(tree.lines.size()))
        return {};
    const std::string& key = tree.lines[static_cast<std::size_t>(keyLine)].field;
    const std::string& file = tree.file.name;
    switch (id) {
    case 1:
        return codeLines({key});
    case 2:
    case 3:
    case 4:
        return {CodeRequest::SetLoop, {}, 5 - id};
    case 5:
        return codeLines(getByKeyLines(file, key, keyContextOf(tree, keyLine), tree.hasMemo, noMemo, style));
    case 6:
        return codeLines({"= POSITION(" + key + ")"});
    case 7:
        return codeLines({"REGET(" + key + ", pos )"});
    case 8:
        return codeLines({"RESET(" + key + ", pos )"});
    case 9:
        return codeLines({"IF DUPLICATE(" + key + ") "});
    case 10:
        return codeLines({"BUILD(" + key + ") "});
    case 18:
        return {CodeRequest::FileMenu, {}, 1};
    default:
        break;
    }
    if (id >= 11 && id <= 17)
        return codeLines(
            {"Access:" + file + "." + Methods[static_cast<std::size_t>(id - 11)] + "(" + key + ")"});
    return {};
}

} // namespace kestrix::dictionary
