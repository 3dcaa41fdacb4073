#include "dictionary/FieldCode.h"

#include "dictionary/FieldPicture.h"
#include "dictionary/FileCode.h"
#include "runtime/FixedText.h"

namespace kestrix::dictionary {

namespace {

using runtime::MenuItem;

enum Item : int {
    OwnName = 1,
    CaseOf,
    Name,
    Spec,
    Control,
    AssignTo,
    AssignFrom,
    Format,
    Clip,
    Like,
    LikeDeclaration,
    FieldAssignments,
    Clear,
    SetNull,
    SetNoNull,
    Project
};

CodeMenuEntry submenu(const std::string& title, std::vector<MenuItem> items)
{
    return {MenuItem{-1, title, true}, std::move(items)};
}

bool validLine(const FileTree& tree, int line)
{
    return line >= 0 && line < static_cast<int>(tree.lines.size());
}

std::string fitted(const std::string& text, std::size_t size)
{
    return text.size() > size ? text.substr(0, size) : text;
}

} // namespace

CodeMenu fieldMenu(const FileTree& tree, int fieldLine)
{
    CodeMenu menu;
    if (!validLine(tree, fieldLine))
        return menu;
    const TreeLine& field = tree.lines[static_cast<std::size_t>(fieldLine)];
    menu.push_back({MenuItem{OwnName, field.field, true}, {}});
    menu.push_back({MenuItem{runtime::SeparatorId, "-", true}, {}});
    if (!inListValues(field.notes).empty())
        menu.push_back({MenuItem{CaseOf, "CASE Field..OF InList", true}, {}});
    menu.push_back(submenu("Field", {{Name, "Name", true},
                                     {Spec, "Spec", true},
                                     {Control, "?Field", true},
                                     {AssignTo, "Field =", true},
                                     {AssignFrom, "= Field", true}}));
    menu.push_back({MenuItem{Format, "FORMAT(Field,@?)", true}, {}});
    menu.push_back({MenuItem{Clip, "CLIP(Field)", true}, {}});
    menu.push_back(
        submenu("LIKE", {{Like, "LIKE(Field)", true}, {LikeDeclaration, "Field LIKE(pre:Field)", true}}));
    menu.push_back({MenuItem{FieldAssignments, "Field Assignments", true}, {}});
    menu.push_back(submenu("Command(Field)", {{Clear, "CLEAR", true},
                                              {SetNull, "SETNULL", true},
                                              {SetNoNull, "SETNONULL", true},
                                              {Project, "PROJECT", true}}));
    return menu;
}

std::string formatExpression(const TreeLine& line)
{
    const std::string picture = displayPicture(line.notes);
    return picture.empty() ? "CLIP(" + line.field + ")" : "FORMAT(" + line.field + "," + picture + ")";
}

CodeChoice fieldMenuChoice(int id, const FileTree& tree, int fieldLine)
{
    if (!validLine(tree, fieldLine))
        return {};
    const TreeLine& clicked = tree.lines[static_cast<std::size_t>(fieldLine)];
    CodeChoice choice{CodeRequest::Lines, {}, 1};
    if (id == OwnName) {
        choice.lines.push_back(clicked.field);
        return choice;
    }
    if (id == CaseOf) {
        const std::vector<std::string> values = inListValues(clicked.notes);
        if (values.empty())
            return {};
        choice.lines.push_back("CASE " + clicked.field);
        for (const std::string& value : values)
            choice.lines.push_back("OF '" + value + "'");
        choice.lines.push_back("END");
        return choice;
    }
    if (id == FieldAssignments)
        return {CodeRequest::Assignments, {}, 1};
    if (id < Name || id > Project)
        return {};
    for (const int i : selectedFieldLines(tree, fieldLine)) {
        const TreeLine& line = tree.lines[static_cast<std::size_t>(i)];
        const std::string& f = line.field;
        switch (id) {
        case Name:
            choice.lines.push_back(f);
            break;
        case Spec:
            choice.lines.push_back(line.text);
            break;
        case Control:
            choice.lines.push_back("?" + f);
            break;
        case AssignTo:
            choice.lines.push_back(f + " = ");
            break;
        case AssignFrom:
            choice.lines.push_back(" = " + f);
            break;
        case Format:
            choice.lines.push_back(formatExpression(line));
            break;
        case Clip:
            choice.lines.push_back("CLIP(" + f + ")");
            break;
        case Like:
            choice.lines.push_back("LIKE(" + f + ")");
            break;
        case LikeDeclaration:
            choice.lines.push_back(line.name + " LIKE(" + f + ")");
            break;
        case Clear:
            choice.lines.push_back("CLEAR(" + f + ")");
            break;
        case SetNull:
            choice.lines.push_back("SETNULL(" + f + ")");
            break;
        case SetNoNull:
            choice.lines.push_back("SETNONULL(" + f + ")");
            break;
        case Project:
            choice.lines.push_back("PROJECT(" + f + ")");
            break;
        default:
            break;
        }
    }
    return choice;
}

FieldDrag fieldDrag(const FileTree& tree, int highlighted)
{
    std::vector<int> lines;
    for (std::size_t i = 0; i < tree.lines.size(); ++i) {
        if (tree.lines[i].mark)
            lines.push_back(static_cast<int>(i));
    }
    if (lines.empty() && validLine(tree, highlighted))
        lines.push_back(highlighted);
    FieldDrag drag;
    for (const int i : lines) {
        const TreeLine& line = tree.lines[static_cast<std::size_t>(i)];
        const bool field = line.type == LineType::Field;
        // The readers find a string type at characters 2 to 7: "CSTRING", "PSTRING", and " STRING".
        const bool plainString = runtime::startsWithNoCase(line.notes, "STRING");
        drag.fields.push_back({fitted(line.field, 50), fitted((plainString ? " " : "") + line.notes, 30),
                               field ? fitted(displayPicture(line.notes), 30) : std::string()});
        if (!drag.text.empty())
            drag.text += ' ';
        drag.text += line.field;
    }
    return drag;
}

} // namespace kestrix::dictionary
