#include "dictionary/AssignmentLines.h"
#include "dictionary/FieldCode.h"
#include "dictionary/FieldPicture.h"
#include "dictionary/FileCode.h"
#include "dictionary/KeyCode.h"
#include "dictionary/RelationCode.h"
#include "dictionary/SetLoopCode.h"

#include <gtest/gtest.h>

using namespace kestrix::dictionary;
using Lines = std::vector<std::string>;

namespace {

// A small Customer file: fields (one memo, one INLIST), a unique key with a descending
// component, a DUP key, an INDEX, and a relation to Orders.
FileTree customer(const std::string& prefix = "CUS")
{
    const DicFile file{"Customer", 1, 1, prefix};
    const std::vector<TreeRow> base = {
        {1, "1", 1, 1, "Notes", "MEMO(200)"},
        {1, "1", 2, 1, "Record", "RECORD"},
        {1, "1", 3, 1, "CustNo", "LONG"},
        {1, "1", 4, 1, "Name", "STRING(30)"},
        {1, "1", 5, 1, "Status", "STRING(1),VALID(INLIST(CUS:Status,'O','S','C'))"},
        {1, "2", 6, 1, "KeyCustNo", ",NOCASE,PRIMARY"},
        {1, "2", 7, 2, "CustNo", ""},
        {1, "2", 8, 2, "Name", "-DESCENDING"},
        {1, "2", 9, 1, "KeyName", ",DUP,NOCASE"},
        {1, "2", 10, 2, "Name", ""},
        {1, "2", 11, 1, "ByStatus", "INDEX  ,NOCASE"},
        {1, "2", 12, 2, "Status", ""},
        {1, "DEF", 1, 1, "Customer FILE,PRE(CUS)", ""},
    };
    const std::vector<TreeRow> own = {
        {1, "R", 20, 1, "Orders", "ONE:MANY,CASCADE"},
        {1, "R", 21, 2, "KeyCustNo", "KeyCustDate"},
        {1, "R", 22, 3, "CUS:CustNo", "ORD:CustNo"},
        {1, "R", 23, 3, "NOLINK", "ORD:Date"},
    };
    return buildFileTree(file, base, own, 12);
}

CodeStyle legacy(bool endComment = false)
{
    CodeStyle s;
    s.abc = false;
    s.endComment = endComment;
    return s;
}

CodeStyle abcStyle(bool endComment = false)
{
    CodeStyle s;
    s.abc = true;
    s.endComment = endComment;
    return s;
}

int lineOf(const FileTree& t, const std::string& type, const std::string& name)
{
    for (std::size_t i = 0; i < t.lines.size(); ++i) {
        if (t.lines[i].type == type && t.lines[i].name == name)
            return static_cast<int>(i);
    }
    return -1;
}

SetGenerator request(int type, const std::string& key = "CUS:KeyCustNo")
{
    SetGenerator sg;
    sg.fileName = "Customer";
    sg.keyName = key;
    sg.setType = type;
    sg.actionFile = "Customer";
    return sg;
}

} // namespace

// A tree whose only key has no component rows.
FileTree keyWithoutComponents()
{
    const std::vector<TreeRow> base = {
        {1, "1", 1, 1, "Record", "RECORD"},
        {1, "1", 2, 1, "CustNo", "LONG"},
        {1, "2", 3, 1, "KeyNone", ",NOCASE"},
    };
    return buildFileTree(DicFile{"Customer", 1, 1, "CUS"}, base, {}, 12);
}

TEST(SetLoop, BlocksByKindKeyAndStyle)
{
    const FileTree t = customer();
    const KeyContext noKey{"CUS", "CUS:", {}, false, false};
    const KeyContext custNo = keyContextOf(t, lineOf(t, "2", "KeyCustNo"));
    const KeyContext byStatus = keyContextOf(t, lineOf(t, "2", "ByStatus"));
    RelationContext r;
    ASSERT_TRUE(relationContextOf(t, lineOf(t, "R", "Orders"), DicFile{"Orders", 2, 2, "ORD"}, r));
    const KeyContext relation = relationKeyContext(r);
    KeyContext relationWithNoLink = relation;
    relationWithNoLink.components.push_back({"NOLINK", "ORD:Date", false});
    const FileTree bare = keyWithoutComponents();
    const KeyContext none = keyContextOf(bare, lineOf(bare, "2", "KeyNone"));
    const auto backwards = [](SetGenerator sg) {
        sg.next = "PREVIOUS";
        return sg;
    };
    struct Case
    {
        const char* what;
        SetGenerator sg;
        KeyContext key;
        CodeStyle style;
        Lines lines;
    };
    const std::vector<Case> cases = {
        {"SET(File), nothing chosen: five lines",
         request(1),
         noKey,
         legacy(),
         {"SET(Customer)", "LOOP", "   NEXT(Customer)", "   IF ERRORCODE() THEN BREAK.", "END"}},
        {"SET(Key) with the end comment",
         request(2),
         noKey,
         legacy(true),
         {"SET(CUS:KeyCustNo)", "LOOP", "   NEXT(Customer)", "   IF ERRORCODE() THEN BREAK.", "END !LOOP"}},
        {"SET(Key,Key) primes the key, clears a descending component high and tests the range",
         request(3),
         custNo,
         legacy(true),
         {"CLEAR(CUS:RECORD, -1)", "CLEAR(CUS:Name, +1)  !-Descending Segment",
          "CUS:CustNo = ", "CUS:Name   = ", "SET(CUS:KeyCustNo,CUS:KeyCustNo)", "LOOP", "   NEXT(Customer)",
          "   IF ERRORCODE()            |", "      OR CUS:CustNo <>       |",
          "      OR CUS:Name   <>       |", "      THEN BREAK.  ! END IF", "END !LOOP"}},
        {"PREVIOUS clears the record high and descending components low",
         backwards(request(3)),
         custNo,
         legacy(),
         {"CLEAR(CUS:RECORD, +1)   !Clear High for PREVIOUS()",
          "CLEAR(CUS:Name, -1)  !-Descending Segment, Clear High 4 PREVIOUS",
          "CUS:CustNo = ", "CUS:Name   = ", "SET(CUS:KeyCustNo,CUS:KeyCustNo)", "LOOP",
          "   PREVIOUS(Customer)", "   IF ERRORCODE()            |", "      OR CUS:CustNo <>       |",
          "      OR CUS:Name   <>       |", "      THEN BREAK.", "END"}},
        {"SET(Key,Key) in ABC style",
         request(3),
         custNo,
         abcStyle(true),
         {"Access:Customer.ClearKey(CUS:KeyCustNo)",
          "CUS:CustNo = ", "CUS:Name   = ", "SET(CUS:KeyCustNo,CUS:KeyCustNo)", "LOOP",
          "   IF Access:Customer.NEXT()", "      BREAK", "   END !IF", "   IF CUS:CustNo <>  |",
          "   OR CUS:Name <>  |", "       THEN BREAK.  ! END IF", "END !LOOP"}},
        {"an INDEX asks for a build",
         request(3, "CUS:ByStatus"),
         byStatus,
         legacy(),
         {"CLEAR(CUS:RECORD, -1)", "!BUILD(CUS:ByStatus)  !build index?",
          "CUS:Status = ", "SET(CUS:ByStatus,CUS:ByStatus)", "LOOP", "   NEXT(Customer)",
          "   IF ERRORCODE()            |", "      OR CUS:Status <>       |", "      THEN BREAK.", "END"}},
        {"a relation loop primes from the related fields and skips NOLINK",
         request(4),
         relationWithNoLink,
         legacy(),
         {"CLEAR(CUS:RECORD)", "CUS:CustNo = ORD:CustNo", "SET(CUS:KeyCustNo,CUS:KeyCustNo)", "LOOP",
          "   NEXT(Customer)", "   IF ERRORCODE()                 |", "      OR CUS:CustNo <> ORD:CustNo |",
          "      THEN BREAK.", "END"}},
        {"a relation loop in ABC style skips NOLINK too",
         request(4),
         relationWithNoLink,
         abcStyle(),
         {"Access:Customer.ClearKey(CUS:KeyCustNo)", "CUS:CustNo = ORD:CustNo",
          "SET(CUS:KeyCustNo,CUS:KeyCustNo)", "LOOP", "   IF Access:Customer.NEXT()", "      BREAK", "   END",
          "   IF CUS:CustNo <> ORD:CustNo |", "       THEN BREAK.", "END"}},
        {"a key without components has no compare lines",
         request(3, "CUS:KeyNone"),
         none,
         legacy(),
         {"CLEAR(CUS:RECORD, -1)", "SET(CUS:KeyNone,CUS:KeyNone)", "LOOP", "   NEXT(Customer)",
          "   IF ERRORCODE()    |", "      THEN BREAK.", "END"}},
        {"a key without components in ABC style ends at the read alone",
         request(3, "CUS:KeyNone"),
         none,
         abcStyle(),
         {"Access:Customer.ClearKey(CUS:KeyNone)", "SET(CUS:KeyNone,CUS:KeyNone)", "LOOP",
          "   IF Access:Customer.NEXT()", "      BREAK", "   END", "END"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(setLoopLines(c.sg, c.key, {}, c.style), c.lines) << c.what;
    EXPECT_TRUE(none.components.empty());
}

TEST(SetLoop, EveryOptionInOrder)
{
    SetGenerator sg = request(1);
    sg.cursorWait = true;
    sg.abcSave = true;
    sg.logout = true;
    sg.stream = true;
    sg.flushEvery = true;
    sg.flushRecords = 100;
    sg.yieldEvery = true;
    sg.yieldRecords = 25;
    sg.noMemo = true;
    sg.action = "APPEND";
    sg.actionFile = "History";
    const KeyContext key{"CUS", "CUS:", {}, false, false};
    const AssignmentList assign{{"HIS:CustNo", "CUS:CustNo"}, {"HIS:Name", "CUS:Name"}};
    EXPECT_EQ(setLoopLines(sg, key, assign, legacy(true)),
              (Lines{"SETCURSOR(CURSOR:Wait)",
                     "Save_CUS_Id   USHORT,AUTO",
                     "Save_CUS_Id = Access:Customer.SaveFile()",
                     "LOGOUT(2,History)",
                     "IF ERRORCODE()",
                     "   Logout failed??",
                     "END",
                     "STREAM(History) ; StrmCnt# = 0",
                     "SET(Customer)",
                     "LOOP",
                     "   NOMEMO(Customer)",
                     "   NEXT(Customer)",
                     "   IF ERRORCODE() THEN BREAK.",
                     "   HIS:CustNo = CUS:CustNo",
                     "   HIS:Name   = CUS:Name",
                     "   ? APPEND(History)",
                     "   CASE ERRORCODE()",
                     "   OF NoError",
                     "   ELSE",
                     "       STOP('APPEND '&CLIP(ERRORFILE())&' Error: '&ERROR() )",
                     "   END",
                     "   StrmCnt# += 1",
                     "   IF StrmCnt# > 100",
                     "      FLUSH(History) ; YIELD() ; STREAM(History) ; StrmCnt# = 0",
                     "   END !IF",
                     "END !LOOP",
                     "FLUSH(History)",
                     "COMMIT()",
                     "IF ERRORCODE()",
                     "   Commit failed??",
                     "END",
                     "! BUILD(History)       !Append requires build",
                     "! IF ERRORCODE()       !May require exclusive access",
                     "!     STOP('Error on BUILD(History): '&ERROR() )",
                     "! END",
                     "Access:Customer.RestoreFile(Save_CUS_Id)",
                     "SETCURSOR()"}));
}

TEST(SetLoop, FlushAndYieldCounters)
{
    const KeyContext key{"", "", {}, false, false};
    auto has = [](const Lines& lines, const std::string& text) {
        return std::find(lines.begin(), lines.end(), text) != lines.end();
    };
    SetGenerator sg = request(1);
    sg.stream = true;
    sg.flushEvery = true;
    sg.flushRecords = 0; // no counter block at all
    sg.yieldEvery = true;
    sg.yieldRecords = 10;
    Lines lines = setLoopLines(sg, key, {}, legacy());
    EXPECT_FALSE(has(lines, "   StrmCnt# += 1"));
    EXPECT_FALSE(has(lines, "   YldCnt# += 1")); // streaming folds the yield into the flush line
    EXPECT_TRUE(has(lines, "STREAM(Customer) ; StrmCnt# = 0"));

    sg.stream = false;
    lines = setLoopLines(sg, key, {}, legacy());
    EXPECT_TRUE(has(lines, "   YldCnt# += 1"));
    EXPECT_TRUE(has(lines, "   IF YldCnt# > 10"));
    EXPECT_TRUE(has(lines, "      YIELD() ; YldCnt# = 0"));
    sg.yieldRecords = 0;
    EXPECT_FALSE(has(setLoopLines(sg, key, {}, legacy()), "   YldCnt# += 1"));
}

TEST(SetLoop, ActionsInBothStyles)
{
    const KeyContext key{"CUS", "CUS:", {}, false, false};
    struct Case
    {
        std::string action;
        std::string actionFile;
        Lines abc;    // the lines after the read
        Lines legacy; // the lines after the stop test
    };
    const std::vector<Case> cases = {
        {"PUT",
         "Customer",
         {"   IF Access:Customer.TryUpdate()   !PUT(Customer)",
          "      failed check Access:Customer.GetError()", "   END"},
         {"   ? PUT(Customer)", "   CASE ERRORCODE()", "   OF NoError", "   OF DupKeyErr",
          "   OF RecordChangedErr", "   ELSE", "       STOP('PUT '&CLIP(ERRORFILE())&' Error: '&ERROR() )",
          "   END"}},
        {"DELETE",
         "Customer",
         {"   IF Relate:Customer.TryDelete(Confirm?)   !DELETE(Customer)",
          "      failed check Access:Customer.GetError()", "   END"},
         {"   ? DELETE(Customer)", "   CASE ERRORCODE()", "   OF NoError", "   ELSE",
          "       STOP('DELETE '&CLIP(ERRORFILE())&' Error: '&ERROR() )", "   END"}},
        {"ADD",
         "Archive",
         {"   IF Access:Archive.TryInsert()   !ADD(Archive)", "      failed check Access:Archive.GetError()",
          "   END"},
         {"   ? ADD(Archive)", "   CASE ERRORCODE()", "   OF NoError", "   OF DupKeyErr", "   ELSE",
          "       STOP('ADD '&CLIP(ERRORFILE())&' Error: '&ERROR() )", "   END"}},
    };
    for (const Case& c : cases) {
        SetGenerator sg = request(1);
        sg.action = c.action;
        sg.actionFile = c.actionFile;
        Lines abc = setLoopLines(sg, key, {}, abcStyle());
        // SET, LOOP, the WATCH of an update in place, three read lines; then the action; then END.
        const std::size_t first = c.action == "PUT" ? 6 : 5;
        ASSERT_GE(abc.size(), first + c.abc.size() + 1) << c.action;
        EXPECT_EQ(Lines(abc.begin() + static_cast<long>(first), abc.end() - 1), c.abc) << c.action;
        Lines old = setLoopLines(sg, key, {}, legacy());
        const std::size_t from = c.action == "PUT" ? 5 : 4;
        EXPECT_EQ(Lines(old.begin() + static_cast<long>(from), old.end() - 1), c.legacy) << c.action;
    }
    SetGenerator put = request(1);
    put.action = "PUT";
    EXPECT_EQ(setLoopLines(put, key, {}, legacy())[2], "   WATCH(Customer)");
    put.actionFile = "Archive";
    const Lines other = setLoopLines(put, key, {}, legacy());
    EXPECT_EQ(other[4], "   ! WATCH(Archive)");
    EXPECT_EQ(other[5], "   ! GET(Archive, ? )");
}

TEST(SetLoop, TitlesAndRefusedType)
{
    std::string problem;
    EXPECT_EQ(setLoopTitle(1, problem), "SET(File)");
    EXPECT_EQ(setLoopTitle(4, problem), "SET(Key,Key) Relation");
    EXPECT_FALSE(setLoopTitle(7, problem));
    EXPECT_EQ(problem, "Invalid type: 7");
}

TEST(Assignments, AlignOnTheLongestTarget)
{
    EXPECT_EQ(assignmentLines({{"A", "B  "}, {"CUS:Name", "x"}}, "  "),
              (Lines{"  A        = B", "  CUS:Name = x"}));
    EXPECT_EQ(assignmentLines({{"A", ""}}, ""), (Lines{"A     = "}));
    EXPECT_TRUE(assignmentLines({}, "").empty());
    Assignment pair;
    EXPECT_TRUE(parseAssignment(" X = Y:Z ", pair));
    EXPECT_EQ(pair.var1, "X");
    EXPECT_EQ(pair.var2, "Y:Z");
    EXPECT_FALSE(parseAssignment("X", pair));
}

TEST(Assignments, PopupEditsStopAtTheEnds)
{
    const AssignmentList start{{"A", "1"}, {"B", "2"}, {"C", "3"}};
    auto flat = [](const AssignmentList& l) {
        std::string out;
        for (const Assignment& a : l)
            out += a.var1 + "=" + a.var2 + ";";
        return out;
    };
    struct Case
    {
        AssignmentEdit edit;
        int row;
        int column;
        std::string after;
        int cursor;
    };
    const std::vector<Case> cases = {
        {AssignmentEdit::UpCell, 1, 1, "A=2;B=1;C=3;", 0},
        {AssignmentEdit::UpCell, 0, 0, "A=1;B=2;C=3;", 0},
        {AssignmentEdit::DownCell, 1, 0, "A=1;C=2;B=3;", 2},
        {AssignmentEdit::DownCell, 2, 0, "A=1;B=2;C=3;", 2},
        {AssignmentEdit::UpLine, 2, 0, "A=1;C=3;B=2;", 1},
        {AssignmentEdit::DownLine, 2, 1, "A=1;B=2;C=3;", 2},
        {AssignmentEdit::SwapLine, 0, 0, "1=A;B=2;C=3;", 0},
        {AssignmentEdit::SwapAll, 0, 0, "1=A;2=B;3=C;", 0},
        {AssignmentEdit::DeleteCell, 1, 1, "A=1;B=;C=3;", 1},
        {AssignmentEdit::DeleteLine, 2, 0, "A=1;B=2;", 1},
        {AssignmentEdit::DeleteAll, 1, 0, "", -1},
    };
    for (const Case& c : cases) {
        AssignmentList list = start;
        EXPECT_EQ(editAssignments(list, c.edit, c.row, c.column), c.cursor) << c.after;
        EXPECT_EQ(flat(list), c.after);
    }
}

TEST(FileMenu, ItemsByPositionInBothMenus)
{
    const FileTree t = customer();
    struct Case
    {
        bool abc;
        std::string item;
        Lines lines;
    };
    const std::vector<Case> cases = {
        {true, "Filename", {"Customer"}},
        {true, "Access:File.Open", {"Access:Customer.Open()"}},
        {true, "Access:File.TryOpen", {"IF Access:Customer.TryOpen()", "   open failed", "END"}},
        {true, "Relate:File.Close", {"Relate:Customer.Close()"}},
        {true, "TryPrevious", {"Access:Customer.TryPrevious()"}},
        {true, "ValidateRecord", {"Access:Customer.ValidateRecord()"}},
        {true, "Delete", {"Relate:Customer.Delete(Confirm?)"}},
        {false,
         "Open...IF File::Used=0",
         {"IF Customer::Used = 0", "   CHECKOPEN(Customer)", "END", "Customer::Used += 1"}},
        {false,
         "Close...File::Used=0",
         {"Customer::Used -= 1", "IF Customer::Used = 0", "   CLOSE(Customer)", "END"}},
        {false, "GET", {"GET(Customer, ptr )"}},
        {false, "RESET", {"RESET(Customer, pos )"}},
        {false, "PREVIOUS", {"PREVIOUS(Customer)"}},
        {false, "FLUSH", {"FLUSH(Customer)"}},
        {false, "NAME", {"NAME(Customer)"}},
        {false,
         "Save/Restore File",
         {"Save_CUS_Id   USHORT,AUTO", "Save_CUS_Id = Access:Customer.SaveFile()",
          "Access:Customer.RestoreFile(Save_CUS_Id)"}},
        {false,
         "Save/Restore Buffer",
         {"SaveBuf_CUS_Id   USHORT,AUTO", "SaveBuf_CUS_Id = Access:Customer.SaveBuffer()",
          "Access:Customer.RestoreBuffer(SaveBuf_CUS_Id)"}},
        {false, "File Specification", {"Customer FILE,PRE(CUS)"}},
    };
    for (const Case& c : cases) {
        const int id = menuItemId(fileMenu(c.abc), c.item);
        ASSERT_NE(id, 0) << c.item;
        const CodeChoice choice = fileMenuChoice(c.abc, id, t);
        EXPECT_EQ(choice.request, CodeRequest::Lines) << c.item;
        EXPECT_EQ(choice.lines, c.lines) << c.item;
    }
    EXPECT_EQ(menuItemTexts(fileMenu(true)).size(), 46u);
    EXPECT_EQ(menuItemTexts(fileMenu(false)).size(), 30u);
    EXPECT_EQ(menuItemId(fileMenu(true), "TryUpdate"), 24);
    EXPECT_EQ(menuItemId(fileMenu(true), "ThrowMessage"), 40);
    EXPECT_EQ(menuItemId(fileMenu(false), "WATCH"), 22);
    EXPECT_EQ(fileMenuChoice(true, 9, t).request, CodeRequest::SetLoop);
    EXPECT_EQ(fileMenuChoice(false, 8, t).request, CodeRequest::AddRecord);
    EXPECT_EQ(fileMenuChoice(false, 12, t).request, CodeRequest::SelectFieldsAndMemos);
    EXPECT_EQ(fileMenuChoice(true, 0, t).request, CodeRequest::Nothing); // closed without a choice
    EXPECT_EQ(fileMenuChoice(true, 47, t).request, CodeRequest::Nothing);

    // Without a prefix the save variable is Save__Id.
    const FileTree bare = customer("");
    EXPECT_EQ(fileMenuChoice(false, 29, bare).lines[0], "Save__Id   USHORT,AUTO");
    EXPECT_EQ(fileMenuChoice(false, 30, bare).lines[2], "Access:Customer.RestoreBuffer(SaveBuf__Id)");
}

TEST(FileMenu, AddRecordInBothStyles)
{
    FileTree t = customer();
    selectFields(t, true);
    const AssignmentList list = assignmentsFor(t, selectedFieldLines(t, -1));
    ASSERT_EQ(list.size(), 4u); // Notes, CustNo, Name, Status; not RECORD
    EXPECT_EQ(list[0].var1, "CUS:Notes");
    selectFields(t, false);
    EXPECT_EQ(selectedFieldLines(t, -1).size(), 3u);

    const AssignmentList two{{"CUS:CustNo", "1"}, {"CUS:Name", "'Smith'"}};
    EXPECT_EQ(
        addRecordLines(false, t, two),
        (Lines{"GET(Customer,0)", "CLEAR(Customer)", "CUS:CustNo = 1", "CUS:Name   = 'Smith'",
               "IF DUPLICATE(CUS:KeyCustNo) THEN ?", "ADD(Customer)", "CASE ERRORCODE()",
               "OF NoError            !0  No Error Occured", "!OF NoAccessErr       !5  Access Denied",
               "!OF NotOpenErr        !37 File Not Open", "!OF DupKeyErr         !40 Creates Duplicate Key",
               "ELSE", "   STOP('Error: '& CLIP(ERROR()) &'<13,10>Add: '& ERRORFILE())", "END !CASE Error"}));
    EXPECT_EQ(addRecordLines(true, t, two),
              (Lines{"GET(Customer,0)", "IF Access:Customer.PrimeRecord()", "   prime failed", "END",
                     "CUS:CustNo = 1", "CUS:Name   = 'Smith'", "IF DUPLICATE(CUS:KeyCustNo) THEN ?",
                     "IF Access:Customer.ValidateRecord(FailFld)", "   Validate failed on \"FailFld\"", "END",
                     "IF Access:Customer.Insert()",
                     "   insert failed... Access:Customer.CancelPrimeAutoInc()", "END"}));
    EXPECT_TRUE(addRecordLines(true, t, {}).empty());

    // All keys DUP: no IF DUPLICATE line.
    t.uniqueKeys.clear();
    for (const std::string& line : addRecordLines(false, t, two))
        EXPECT_EQ(line.find("DUPLICATE"), std::string::npos);
}

TEST(KeyMenu, ItemsOnTheKey)
{
    const FileTree t = customer();
    const int key = lineOf(t, "2", "KeyCustNo");
    const CodeMenu menu = keyMenu();
    struct Case
    {
        std::string item;
        Lines lines;
    };
    const std::vector<Case> cases = {
        {"Key Name", {"CUS:KeyCustNo"}},
        {"POSITION", {"= POSITION(CUS:KeyCustNo)"}},
        {"REGET", {"REGET(CUS:KeyCustNo, pos )"}},
        {"DUPLICATE", {"IF DUPLICATE(CUS:KeyCustNo) "}},
        {"BUILD", {"BUILD(CUS:KeyCustNo) "}},
        {"TryFetch", {"Access:Customer.TryFetch(CUS:KeyCustNo)"}},
        {"KeyToOrder", {"Access:Customer.KeyToOrder(CUS:KeyCustNo)"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(keyMenuChoice(menuItemId(menu, c.item), t, key, legacy(), false).lines, c.lines) << c.item;
    EXPECT_EQ(keyMenuChoice(menuItemId(menu, "Set(Key,Key)..."), t, key, legacy(), false).setType, 3);
    EXPECT_EQ(keyMenuChoice(menuItemId(menu, "Set(File)..."), t, key, legacy(), false).setType, 1);
    EXPECT_EQ(keyMenuChoice(menuItemId(menu, "File Menu..."), t, key, legacy(), false).request,
              CodeRequest::FileMenu);

    const int get = menuItemId(menu, "Get(File,Key)");
    EXPECT_EQ(keyMenuChoice(get, t, key, legacy(true), true).lines,
              (Lines{"CLEAR(CUS:RECORD, -1)", "CLEAR(CUS:Name, +1)  !-Descending Segment",
                     "CUS:CustNo = ", "CUS:Name   = ", "NOMEMO(Customer)", "GET(Customer,CUS:KeyCustNo)",
                     "IF ERRORCODE()", "   CLEAR(CUS:RECORD)", "END !IF"}));
    EXPECT_EQ(keyMenuChoice(get, t, key, abcStyle(), false).lines,
              (Lines{"Access:Customer.ClearKey(CUS:KeyCustNo)", "CUS:CustNo = ", "CUS:Name   = ",
                     "IF Access:Customer.TryFetch(CUS:KeyCustNo)", "   failed", "END"}));
}

TEST(KeyMenu, GetOffersNoMemoWhereTheFileHasMemos)
{
    FileTree t = customer(); // Notes is a MEMO
    const int key = lineOf(t, "2", "KeyCustNo");
    const CodeMenu menu = keyMenu();
    const int get = menuItemId(menu, "Get(File,Key)");
    EXPECT_TRUE(keyItemOffersNoMemo(get, t));
    EXPECT_FALSE(keyItemOffersNoMemo(menuItemId(menu, "Key Name"), t));
    EXPECT_FALSE(keyItemOffersNoMemo(menuItemId(menu, "Set(Key,Key)..."), t)); // the window has its own box
    const auto question = noMemoQuestion("Customer");
    EXPECT_EQ(question.buttons, kestrix::runtime::Button::Yes | kestrix::runtime::Button::No);
    EXPECT_NE(question.text.find("NOMEMO(Customer)"), std::string::npos);

    const auto has = [](const Lines& lines, const std::string& text) {
        return std::find(lines.begin(), lines.end(), text) != lines.end();
    };
    EXPECT_TRUE(has(keyMenuChoice(get, t, key, abcStyle(), true).lines, "NOMEMO(Customer)"));
    EXPECT_FALSE(has(keyMenuChoice(get, t, key, abcStyle(), false).lines, "NOMEMO(Customer)"));
    t.hasMemo = false;
    EXPECT_FALSE(keyItemOffersNoMemo(get, t));
    EXPECT_FALSE(has(keyMenuChoice(get, t, key, abcStyle(), true).lines, "NOMEMO(Customer)"));

    // Along a relation each Get item asks for its own file's memos.
    RelationContext r;
    ASSERT_TRUE(relationContextOf(customer(), lineOf(t, "R", "Orders"), DicFile{"Orders", 2, 2, "ORD"}, r));
    EXPECT_TRUE(r.fileHasMemo);
    EXPECT_TRUE(relationItemOffersNoMemo(2, r));
    EXPECT_FALSE(relationItemOffersNoMemo(3, r));
    EXPECT_TRUE(has(relationMenuChoice(2, r, legacy(), true).lines, "NOMEMO(Customer)"));
    EXPECT_FALSE(has(relationMenuChoice(3, r, legacy(), true).lines, "NOMEMO(Orders)"));
    r.relatedHasMemo = true;
    EXPECT_TRUE(relationItemOffersNoMemo(3, r));
    EXPECT_TRUE(has(relationMenuChoice(3, r, legacy(), true).lines, "NOMEMO(Orders)"));
    EXPECT_FALSE(relationItemOffersNoMemo(4, r));
    r.ownKey = "NOLINK"; // the item is disabled: nothing to ask
    EXPECT_FALSE(relationItemOffersNoMemo(2, r));
    EXPECT_TRUE(relationItemOffersNoMemo(3, r));
}

TEST(KeyMenu, AKeyWithoutComponentsStillGetsItsRecord)
{
    const FileTree t = keyWithoutComponents();
    const int key = lineOf(t, "2", "KeyNone");
    ASSERT_GE(key, 0);
    const int get = menuItemId(keyMenu(), "Get(File,Key)");
    EXPECT_EQ(keyMenuChoice(get, t, key, legacy(), false).lines,
              (Lines{"CLEAR(CUS:RECORD, -1)", "GET(Customer,CUS:KeyNone)", "IF ERRORCODE()",
                     "   CLEAR(CUS:RECORD)", "END"}));
    EXPECT_EQ(keyMenuChoice(get, t, key, abcStyle(), false).lines,
              (Lines{"Access:Customer.ClearKey(CUS:KeyNone)", "IF Access:Customer.TryFetch(CUS:KeyNone)",
                     "   failed", "END"}));
    EXPECT_EQ(t.uniqueKeys, (Lines{"CUS:KeyNone"}));
}

TEST(RelationMenu, SidesKeysAndJoins)
{
    const FileTree t = customer();
    const int at = lineOf(t, "R", "Orders");
    EXPECT_EQ(relationLineOf(t, at + 3), at);
    RelationContext r;
    ASSERT_TRUE(relationContextOf(t, at, DicFile{"Orders", 2, 2, "ORD"}, r));
    const CodeMenu menu = relationMenu(r);
    EXPECT_EQ(menuItemTexts(menu),
              (Lines{"Set(KeyCustNo,KeyCustNo)", "Get(Customer,KeyCustNo)", "Get(Orders,KeyCustDate)",
                     "Join(KeyCustDate,KeyCustNo)", "Join(KeyCustNo,KeyCustDate)"}));
    EXPECT_EQ(relationMenuChoice(4, r, legacy(), false).lines, (Lines{"JOIN(ORD:KeyCustDate, CUS:CustNo)"}));
    EXPECT_EQ(relationMenuChoice(5, r, legacy(), false).lines, (Lines{"JOIN(CUS:KeyCustNo, ORD:CustNo)"}));
    EXPECT_EQ(relationMenuChoice(3, r, legacy(), false).lines,
              (Lines{"CLEAR(ORD:RECORD)", "ORD:CustNo = CUS:CustNo", "GET(Orders,ORD:KeyCustDate)",
                     "IF ERRORCODE()", "   CLEAR(ORD:RECORD)", "END"}));
    EXPECT_EQ(relationMenuChoice(2, r, abcStyle(), false).lines,
              (Lines{"Access:Customer.ClearKey(CUS:KeyCustNo)", "CUS:CustNo = ORD:CustNo",
                     "IF Access:Customer.TryFetch(CUS:KeyCustNo)", "   failed", "END"}));
    EXPECT_EQ(relationMenuChoice(1, r, legacy(), false).setType, 4);

    // A NOLINK key disables the items that need it and they write nothing.
    r.ownKey = "NOLINK";
    const CodeMenu noKey = relationMenu(r);
    EXPECT_FALSE(noKey[0].item.enabled);
    EXPECT_TRUE(noKey[3].item.enabled);
    EXPECT_EQ(relationMenuChoice(1, r, legacy(), false).request, CodeRequest::Nothing);
    EXPECT_EQ(relationMenuChoice(5, r, legacy(), false).request, CodeRequest::Nothing);
    EXPECT_FALSE(relationContextOf(t, lineOf(t, "1", "Name"), DicFile{}, r));
}

TEST(FieldMenu, ItemsOnEverySelectedField)
{
    FileTree t = customer();
    const int name = lineOf(t, "1", "Name");
    const int custNo = lineOf(t, "1", "CustNo");
    const int status = lineOf(t, "1", "Status");
    EXPECT_EQ(menuItemId(fieldMenu(t, name), "CASE Field..OF InList"), 0);
    const CodeMenu statusMenu = fieldMenu(t, status);
    EXPECT_EQ(menuItemTexts(statusMenu)[0], "CUS:Status");
    const int caseOf = menuItemId(statusMenu, "CASE Field..OF InList");
    ASSERT_NE(caseOf, 0);
    EXPECT_EQ(fieldMenuChoice(caseOf, t, status).lines,
              (Lines{"CASE CUS:Status", "OF 'O'", "OF 'S'", "OF 'C'", "END"}));

    // Nothing marked: the clicked field alone.
    const CodeMenu menu = fieldMenu(t, name);
    EXPECT_EQ(fieldMenuChoice(menuItemId(menu, "?Field"), t, name).lines, (Lines{"?CUS:Name"}));
    t.lines[static_cast<std::size_t>(custNo)].mark = true;
    t.lines[static_cast<std::size_t>(name)].mark = true;
    struct Case
    {
        std::string item;
        Lines lines;
    };
    const std::vector<Case> cases = {
        {"Name", {"CUS:CustNo", "CUS:Name"}},
        {"Spec", {"CustNo      LONG", "Name        STRING(30)"}},
        {"Field =", {"CUS:CustNo = ", "CUS:Name = "}},
        {"= Field", {" = CUS:CustNo", " = CUS:Name"}},
        {"FORMAT(Field,@?)", {"FORMAT(CUS:CustNo,@n-14)", "CLIP(CUS:Name)"}},
        {"CLIP(Field)", {"CLIP(CUS:CustNo)", "CLIP(CUS:Name)"}},
        {"LIKE(Field)", {"LIKE(CUS:CustNo)", "LIKE(CUS:Name)"}},
        {"Field LIKE(pre:Field)", {"CustNo LIKE(CUS:CustNo)", "Name LIKE(CUS:Name)"}},
        {"SETNONULL", {"SETNONULL(CUS:CustNo)", "SETNONULL(CUS:Name)"}},
        {"PROJECT", {"PROJECT(CUS:CustNo)", "PROJECT(CUS:Name)"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fieldMenuChoice(menuItemId(menu, c.item), t, name).lines, c.lines) << c.item;
    EXPECT_EQ(fieldMenuChoice(menuItemId(menu, "Field Assignments"), t, name).request,
              CodeRequest::Assignments);

    const FieldDrag drag = fieldDrag(t, status);
    EXPECT_EQ(drag.text, "CUS:CustNo CUS:Name");
    ASSERT_EQ(drag.fields.size(), 2u);
    EXPECT_EQ(drag.fields[0].vari, "CUS:CustNo");
    EXPECT_EQ(drag.fields[0].type, "LONG");
    EXPECT_EQ(drag.fields[0].picture, "@n-14");
    EXPECT_EQ(drag.fields[1].picture, "");
    EXPECT_EQ(drag.fields[1].type, " STRING(30)"); // "STRING" at characters 2 to 7, as for CSTRING
    t.lines[static_cast<std::size_t>(custNo)].mark = false;
    t.lines[static_cast<std::size_t>(name)].mark = false;
    EXPECT_EQ(fieldDrag(t, status).text, "CUS:Status");
}

TEST(FieldPicture, StringsClipNumbersFormat)
{
    struct Case
    {
        const char* declaration;
        const char* picture;
    };
    const Case cases[] = {
        {"STRING(30)", ""},
        {"STRING(30),PICTURE(@s30)", ""},
        {"CSTRING(20),PICTURE(@K###K)", ""},
        {"GROUP", ""},
        {"MEMO(200)", ""},
        {"LONG", "@n-14"},
        {"ULONG", "@n13"},
        {"SHORT", "@n-7"},
        {"USHORT", "@n6"},
        {"BYTE", "@n3"},
        {"LONG,PICTURE(@d6)", "@d6"},
        {"LONG,PICTURE(@n_7),VALID(INRANGE(CUS:CustNo,1,9999999))", "@n_7"},
        {"STRING(8),PICTURE(@N12.2)", "@N12.2"},
        {"DECIMAL(9,2)", "@n-13.2"},
        {"DECIMAL(5)", "@n-7"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(displayPicture(c.declaration), c.picture) << c.declaration;
    EXPECT_EQ(inListValues("STRING(1),VALID(INLIST(X:S,'A','B, c','It''s'))"),
              (std::vector<std::string>{"A", "B, c", "It''s"}));
    EXPECT_TRUE(inListValues("STRING(1)").empty());
}
