#include "dictionary/FileCode.h"

#include "runtime/FixedText.h"

namespace kestrix::dictionary {

namespace {

using runtime::MenuItem;

CodeMenuEntry item(int id, const std::string& text)
{
    return {MenuItem{id, text, true}, {}};
}

CodeMenuEntry separator()
{
    return {MenuItem{runtime::SeparatorId, "-", true}, {}};
}

const std::vector<std::string> AbcIo = {".Insert()",   ".TryInsert()",   ".Next()",     ".TryNext()",
                                        ".Previous()", ".TryPrevious()", ".Position()", ".TryReget()",
                                        ".Update()",   ".TryUpdate()"};
const std::vector<std::string> AbcOther = {
    ".CancelAutoInc()", ".EqualBuffer()",     ".GetEOF()",        ".GetError()",      ".GetName()",
    ".PrimeAutoInc()",  ".TryPrimeAutoInc()", ".PrimeRecord()",   ".RestoreBuffer()", ".RestoreFile()",
    ".SaveBuffer()",    ".SaveFile()",        ".SetError()",      ".SetName()",       ".Throw()",
    ".ThrowMessage()",  ".ValidateField()",   ".ValidateRecord()"};
const std::vector<std::string> AbcRelate = {".CancelAutoInc()", ".Delete(Confirm?)", ".Save()", ".Update()"};
const std::vector<std::string> LegacyCommands = {"NOMEMO(", "NEXT(",  "PREVIOUS(", "PUT(",  "ADD(",
                                                 "APPEND(", "WATCH(", "STREAM(",   "FLUSH("};
const std::vector<std::string> LegacyFunctions = {"POSITION(", "POINTER(", "RECORDS(", "NAME("};

// A method name as the menu shows it: ".TryInsert()" -> "TryInsert".
std::vector<std::string> methodNames(const std::vector<std::string>& calls)
{
    std::vector<std::string> names;
    for (const std::string& call : calls)
        names.push_back(call.substr(1, call.find('(') - 1));
    return names;
}

// Items shared by both menus, at `first` (ABC 9, legacy 7): Set/Loop, Add, Assignments, Spec, selection.
CodeChoice sharedChoice(int offset, const FileTree& tree)
{
    CodeChoice c;
    switch (offset) {
    case 0:
        c.request = CodeRequest::SetLoop;
        c.setType = 1;
        break;
    case 1:
        c.request = CodeRequest::AddRecord;
        break;
    case 2:
        c.request = CodeRequest::Assignments;
        break;
    case 3:
        c.request = CodeRequest::Lines;
        c.lines = tree.declaration;
        break;
    case 4:
        c.request = CodeRequest::SelectFields;
        break;
    case 5:
        c.request = CodeRequest::SelectFieldsAndMemos;
        break;
    default:
        break;
    }
    return c;
}

std::string typeWord(const std::string& declaration)
{
    std::string word;
    for (const char c : runtime::ltrim(declaration)) {
        if (c == '(' || c == ',' || c == ' ')
            break;
        word += c;
    }
    return runtime::upper(word);
}

bool isDataField(const TreeLine& line, bool withMemos)
{
    if (line.type != LineType::Field)
        return false;
    const std::string type = typeWord(line.notes);
    if (type == "RECORD" || type == "GROUP" || type == "MULTI" || type == "END" || type.empty())
        return false;
    return withMemos || !isMemoDeclaration(line.notes);
}

} // namespace

CodeMenu fileMenu(bool abc)
{
    CodeMenu menu;
    menu.push_back(item(1, "Filename"));
    if (abc) {
        menu.push_back(codeSubmenu("Open/Close", 2,
                                   {"Access:File.Open", "Access:File.TryOpen", "Access:File.UseFile",
                                    "Access:File.BindFields", "Access:File.Close", "Relate:File.Open",
                                    "Relate:File.Close"}));
    } else {
        menu.push_back(codeSubmenu("Open/Close", 2,
                                   {"Open...IF File::Used=0", "Close...File::Used=0", "CHECKOPEN(File)",
                                    "OPEN(File)", "CLOSE(File)"}));
    }
    const int shared = abc ? 9 : 7;
    menu.push_back(item(shared, "Set/Loop/Next..."));
    menu.push_back(item(shared + 1, "Add a Record..."));
    menu.push_back(item(shared + 2, "Assignments..."));
    menu.push_back(item(shared + 3, "File Specification"));
    menu.push_back(separator());
    menu.push_back(item(shared + 4, "Select all Fields"));
    menu.push_back(item(shared + 5, "Select Fields+Memos"));
    menu.push_back(separator());
    if (abc) {
        menu.push_back(codeSubmenu("Methods IO", 15, methodNames(AbcIo)));
        menu.push_back(separator());
        menu.push_back(codeSubmenu("Methods Other", 25, methodNames(AbcOther)));
        menu.push_back(codeSubmenu("Methods Relate", 43, methodNames(AbcRelate)));
    } else {
        menu.push_back(codeSubmenu("Commands(File)", 13,
                                   {"GET", "REGET", "RESET", "NOMEMO", "NEXT", "PREVIOUS", "PUT", "ADD",
                                    "APPEND", "WATCH", "STREAM", "FLUSH"}));
        menu.push_back(codeSubmenu("Functions(File)", 25, {"POSITION", "POINTER", "RECORDS", "NAME"}));
        menu.push_back(codeSubmenu("ABC", 29, {"Save/Restore File", "Save/Restore Buffer"}));
    }
    return menu;
}

CodeChoice fileMenuChoice(bool abc, int id, const FileTree& tree)
{
    const std::string& file = tree.file.name;
    const std::string& pre = tree.file.prefix;
    if (id == 1)
        return codeLines({file});
    if (abc) {
        if (id >= 2 && id <= 8) {
            static const char* calls[] = {"Access:|.Open()",       "Access:|.TryOpen()", "Access:|.UseFile()",
                                          "Access:|.BindFields()", "Access:|.Close()",   "Relate:|.Open()",
                                          "Relate:|.Close()"};
            const std::string call = calls[id - 2];
            const std::size_t bar = call.find('|');
            const std::string line = call.substr(0, bar) + file + call.substr(bar + 1);
            if (id == 3)
                return codeLines({"IF " + line, "   open failed", "END"});
            return codeLines({line});
        }
        if (id >= 9 && id <= 14)
            return sharedChoice(id - 9, tree);
        if (id >= 15 && id <= 24)
            return codeLines({"Access:" + file + AbcIo[static_cast<std::size_t>(id - 15)]});
        if (id >= 25 && id <= 42)
            return codeLines({"Access:" + file + AbcOther[static_cast<std::size_t>(id - 25)]});
        if (id >= 43 && id <= 46)
            return codeLines({"Relate:" + file + AbcRelate[static_cast<std::size_t>(id - 43)]});
        return {};
    }
    switch (id) {
    case 2:
        return codeLines(
            {"IF " + file + "::Used = 0", "   CHECKOPEN(" + file + ")", "END", file + "::Used += 1"});
    case 3:
        return codeLines(
            {file + "::Used -= 1", "IF " + file + "::Used = 0", "   CLOSE(" + file + ")", "END"});
    case 4:
        return codeLines({"CHECKOPEN(" + file + ")"});
    case 5:
        return codeLines({"OPEN(" + file + ")"});
    case 6:
        return codeLines({"CLOSE(" + file + ")"});
    case 13:
        return codeLines({"GET(" + file + ", ptr )"});
    case 14:
        return codeLines({"REGET(" + file + ", pos )"});
    case 15:
        return codeLines({"RESET(" + file + ", pos )"});
    case 29:
        return codeLines({"Save_" + pre + "_Id   USHORT,AUTO",
                          "Save_" + pre + "_Id = Access:" + file + ".SaveFile()",
                          "Access:" + file + ".RestoreFile(Save_" + pre + "_Id)"});
    case 30:
        return codeLines({"SaveBuf_" + pre + "_Id   USHORT,AUTO",
                          "SaveBuf_" + pre + "_Id = Access:" + file + ".SaveBuffer()",
                          "Access:" + file + ".RestoreBuffer(SaveBuf_" + pre + "_Id)"});
    default:
        break;
    }
    if (id >= 7 && id <= 12)
        return sharedChoice(id - 7, tree);
    if (id >= 16 && id <= 24)
        return codeLines({LegacyCommands[static_cast<std::size_t>(id - 16)] + file + ")"});
    if (id >= 25 && id <= 28)
        return codeLines({LegacyFunctions[static_cast<std::size_t>(id - 25)] + file + ")"});
    return {};
}

std::vector<std::string> addRecordLines(bool abc, const FileTree& tree, const AssignmentList& assignments)
{
    if (assignments.empty())
        return {};
    const std::string& file = tree.file.name;
    std::vector<std::string> out{"GET(" + file + ",0)"};
    if (abc) {
        out.insert(out.end(), {"IF Access:" + file + ".PrimeRecord()", "   prime failed", "END"});
    } else {
        out.push_back("CLEAR(" + file + ")");
    }
    for (std::string& line : assignmentLines(assignments, ""))
        out.push_back(std::move(line));
    for (const std::string& key : tree.uniqueKeys)
        out.push_back("IF DUPLICATE(" + key + ") THEN ?");
    if (abc) {
        out.insert(out.end(), {"IF Access:" + file + ".ValidateRecord(FailFld)",
                               "   Validate failed on \"FailFld\"", "END", "IF Access:" + file + ".Insert()",
                               "   insert failed... Access:" + file + ".CancelPrimeAutoInc()", "END"});
    } else {
        out.insert(out.end(),
                   {"ADD(" + file + ")", "CASE ERRORCODE()", "OF NoError            !0  No Error Occured",
                    "!OF NoAccessErr       !5  Access Denied", "!OF NotOpenErr        !37 File Not Open",
                    "!OF DupKeyErr         !40 Creates Duplicate Key", "ELSE",
                    "   STOP('Error: '& CLIP(ERROR()) &'<13,10>Add: '& ERRORFILE())", "END !CASE Error"});
    }
    return out;
}

void selectFields(FileTree& tree, bool withMemos)
{
    for (TreeLine& line : tree.lines)
        line.mark = isDataField(line, withMemos);
}

std::vector<int> selectedFieldLines(const FileTree& tree, int current)
{
    std::vector<int> lines;
    for (std::size_t i = 0; i < tree.lines.size(); ++i) {
        if (tree.lines[i].mark && tree.lines[i].type == LineType::Field)
            lines.push_back(static_cast<int>(i));
    }
    if (lines.empty() && current >= 0 && current < static_cast<int>(tree.lines.size()) &&
        tree.lines[static_cast<std::size_t>(current)].type == LineType::Field)
        lines.push_back(current);
    return lines;
}

AssignmentList assignmentsFor(const FileTree& tree, const std::vector<int>& lines)
{
    AssignmentList list;
    for (const int i : lines)
        list.push_back({tree.lines[static_cast<std::size_t>(i)].field, {}});
    return list;
}

} // namespace kestrix::dictionary
