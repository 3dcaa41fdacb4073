#include "keyanalysis/WindowParser.h"
#include "keyanalysis/KeyConflicts.h"
#include "runtime/testing/ScriptedDialogs.h"

#include <gtest/gtest.h>

using namespace kestrix;
using namespace kestrix::keyanalysis;
using runtime::testing::ScriptedDialogs;

namespace {

struct Parsed
{
    ScriptedDialogs dialogs;
    AnalysisQueues q;
    explicit Parsed(const std::string& text, TabChooser chooser = {})
    {
        WindowParser(q, dialogs).parse(text, chooser);
    }
    const AltRow* alt(const std::string& name) const
    {
        for (const AltRow& r : q.alt) {
            if (r.name == name)
                return &r;
        }
        return nullptr;
    }
    const MenuRow* menu(const std::string& path) const
    {
        for (const MenuRow& r : q.menu) {
            if (r.path == path)
                return &r;
        }
        return nullptr;
    }
};

std::string window(const std::string& body, const std::string& attributes = "")
{
    return "W WINDOW('Test'),AT(,,100,100)" + attributes + "\r\n" + body + "     END\r\n";
}

} // namespace

TEST(WindowParser, ControlsTheirLettersAndTheHeader)
{
    Parsed p(window("       BUTTON('&&Save &As'),USE(?SaveAs)\r\n       PROMPT('Name:'),USE(?P)\r\n"
                    "       X BUTTON('&Labelled'),USE(?L)\r\n       ENTRY(@s20),USE(E)\r\n",
                    ",MDI"));
    EXPECT_EQ(p.q.title, "Test");
    EXPECT_TRUE(p.q.isMdi);
    EXPECT_FALSE(p.q.isApplication);
    ASSERT_TRUE(p.alt("&&Save &As"));
    EXPECT_EQ(p.alt("&&Save &As")->key, 'A');
    EXPECT_EQ(p.alt("&&Save &As")->nameSort, "SAVE AS");
    EXPECT_EQ(p.alt("Name:")->key, NoKey);
    EXPECT_FALSE(p.alt("&Labelled")); // a label before the keyword: not analysed
    EXPECT_EQ(p.q.alt.size(), 2u);
    EXPECT_TRUE(p.dialogs.shown.empty());
}

TEST(WindowParser, HotKeysAlertsFirstAndReservedKeys)
{
    Parsed p(window(
        "       BUTTON('&Open'),USE(?O),KEY(CtrlO),ALRT(F2Key)\r\n       BUTTON('&X'),KEY(AltF4)\r\n"));
    ASSERT_GE(p.q.hot.size(), 4u);
    EXPECT_EQ(p.q.hot[0].equate, "F2Key");
    EXPECT_EQ(p.q.hot[0].type, "ALRT");
    EXPECT_EQ(p.q.hot[1].equate, "CtrlO");
    EXPECT_EQ(p.q.hot[1].type, "KEY");
    EXPECT_EQ(p.q.hot[3].control, "Close");
    EXPECT_EQ(p.q.hot[3].type, "Win");
    EXPECT_EQ(p.q.hot[3].colours.fg, Blue);
}

TEST(WindowParser, NormalisedLinesKeepQuotedBlanksAndJoinContinuations)
{
    Parsed p("   W WINDOW('Two  blanks'),AT(1,  2),  |\r\n   GRAY\r\n LIST,FORMAT('20L|M~A | "
             "B~'),USE(?L)\r\n END\r\n");
    ASSERT_GE(p.q.code.size(), 2u);
    EXPECT_EQ(p.q.code[0], "W WINDOW('Two  blanks'),AT(1,2),GRAY");
    EXPECT_EQ(p.q.code[1], "LIST,FORMAT('20L|M~A | B~'),USE(?L)");
    EXPECT_EQ(p.q.raw[0].line, "   W WINDOW('Two  blanks'),AT(1,  2),     GRAY");
}

TEST(WindowParser, MenusTheirPathsAndKeys)
{
    Parsed p(window("       MENUBAR,NOMERGE\r\n         MENU('&File'),USE(?F)\r\n           "
                    "ITEM('&Open'),USE(?O),KEY(CtrlO)\r\n"
                    "           ITEM,SEPARATOR\r\n         END\r\n       END\r\n       BUTTON('&Go')\r\n"));
    EXPECT_TRUE(p.q.childNoMerge);
    const MenuRow* open = p.menu("\\File\\Open");
    ASSERT_TRUE(open);
    EXPECT_EQ(open->line, "&Open KEY(CtrlO)");
    EXPECT_EQ(open->altKey, 'O');
    EXPECT_EQ(open->menuPath, "\\File");
    EXPECT_EQ(open->level, 2);
    ASSERT_TRUE(p.menu("\\File"));
    EXPECT_EQ(p.menu("\\File")->colours.fg, Blue);
    EXPECT_TRUE(p.alt("&File"));
    EXPECT_EQ(p.alt("&File")->type, "MENU");
    EXPECT_TRUE(p.alt("&Go")); // the control after the menu bar
}

TEST(WindowParser, MenusDeeperThanTenShareTheLastLevel)
{
    std::string body = "       MENUBAR\r\n";
    for (int i = 1; i <= 14; ++i)
        body += "MENU('M" + std::to_string(i) + "')\r\n";
    body += "ITEM('&Deep')\r\n";
    for (int i = 0; i <= 14; ++i)
        body += "END\r\n";
    Parsed p(window(body));
    ASSERT_EQ(p.q.menu.size(), 15u);
    for (const MenuRow& row : p.q.menu)
        EXPECT_LE(std::count(row.path.begin(), row.path.end(), '\\'), 10);
}

TEST(WindowParser, NestingProblemsAreReportedNotCrashedOn)
{
    std::string deep = "W WINDOW('Deep')\r\n";
    for (int i = 1; i <= 25; ++i)
        deep += "GROUP('g" + std::to_string(i) + "')\r\n";
    Parsed tooDeep(deep);
    ASSERT_FALSE(tooDeep.dialogs.shown.empty());
    EXPECT_EQ(tooDeep.dialogs.shown[0].text, "Too many levels @ 21"); // the twentieth group

    Parsed surplus("W WINDOW('S')\r\nEND\r\nEND\r\nBUTTON('&B')\r\n");
    EXPECT_EQ(surplus.dialogs.shown.at(0).text, "Window has an END too many at line 3");
    EXPECT_EQ(surplus.q.raw[2].line, "END"); // the line stays as read
    EXPECT_EQ(surplus.q.code[2], "END");

    Parsed missing("W WINDOW('M')\r\nGROUP('g')\r\nBUTTON('&B')\r\n");
    EXPECT_EQ(missing.dialogs.shown.at(0).text, "Window does not have proper number of END's");

    Parsed none("x = 1\r\nBUTTON('&B')\r\n");
    EXPECT_EQ(none.dialogs.captions(), std::vector<std::string>{"NO WINDOW FOUND"});
    EXPECT_EQ(none.q.alt.size(), 1u); // the controls are still read

    Parsed unterminated("W WINDOW('never closed\r\nBUTTON('&B\r\n");
    EXPECT_TRUE(unterminated.q.title.size() <= 30);

    std::string junk;
    for (int i = 0; i < 70000; ++i)
        junk += static_cast<char>((i * 73 + 11) % 256);
    Parsed garbage(junk);
    for (const std::string& line : garbage.q.code)
        EXPECT_LE(line.size(), LineRoom);
}

TEST(WindowParser, ALargeWindowIsReadWhole)
{
    std::string body;
    for (int i = 0; i < 2000; ++i)
        body += "       BUTTON('&Button number " + std::to_string(i) + "'),AT(1,1,40,12),USE(?Button" +
                std::to_string(i) + ")\r\n";
    ASSERT_GT(body.size(), 65000u);
    Parsed p(window(body));
    EXPECT_EQ(p.q.alt.size(), 2000u);
    EXPECT_TRUE(p.dialogs.shown.empty());
}

TEST(WindowParser, TabSelectionLimitsTheControls)
{
    const std::string text = "W WINDOW('Tabs')\r\n SHEET\r\n  TAB('&One')\r\n   BUTTON('&A')\r\n  END\r\n"
                             "  TAB('&Two')\r\n   BUTTON('&B')\r\n  END\r\n END\r\n BUTTON('&C')\r\nEND\r\n";
    std::vector<TabEntry> offered;
    Parsed all(text, [&](const std::vector<TabEntry>& tabs) {
        offered = tabs;
        return TabChoice{};
    });
    ASSERT_EQ(offered.size(), 2u);
    EXPECT_EQ(offered[1].num, 2);
    EXPECT_EQ(offered[1].name, "TAB('&Two')");
    EXPECT_EQ(all.q.alt.size(), 5u);

    Parsed second(text, [](const std::vector<TabEntry>&) { return TabChoice{TabMode::One, 1}; });
    EXPECT_EQ(second.q.tabMode, TabMode::One);
    EXPECT_EQ(second.q.chosenTab, 2);
    EXPECT_FALSE(second.alt("&A"));
    EXPECT_TRUE(second.alt("&B"));
    EXPECT_TRUE(second.alt("&C"));
    EXPECT_TRUE(second.alt("&One")); // the tabs themselves stay

    Parsed none(text, [](const std::vector<TabEntry>&) { return TabChoice{TabMode::None, 0}; });
    EXPECT_FALSE(none.alt("&A"));
    EXPECT_FALSE(none.alt("&B"));
    EXPECT_TRUE(none.alt("&Two"));
}

TEST(WindowParser, LinesSplitIntoLabelKeywordAndNormalisedText)
{
    struct Case
    {
        const char* line;
        const char* label;
        const char* keyword;
        const char* normalised;
    };
    const Case cases[] = {
        {"   W WINDOW('Two  blanks'),AT(1,  2)", "W", "WINDOW", "W WINDOW('Two  blanks'),AT(1,2)"},
        {"  button('&OK'), USE(?Ok)", "", "BUTTON", "BUTTON('&OK'),USE(?Ok)"},
        {"EndDate ENTRY(@d6),USE(EndDate)", "EndDate", "ENTRY", "ENDDATE ENTRY(@d6),USE(EndDate)"},
        {"Loc:Group   GROUP('g')", "Loc:Group", "GROUP", "LOC:GROUP GROUP('g')"},
        {"  end", "", "END", "END"},
        {"  END  ! closes the sheet", "", "END", "END !closesthesheet"},
        {"  .", "", ".", "."},
        {"MENUBAR,NOMERGE", "", "MENUBAR", "MENUBAR,NOMERGE"},
        {"   ", "", "", ""},
    };
    for (const Case& c : cases) {
        const LineParts parts = splitLine(c.line);
        EXPECT_EQ(parts.label, c.label) << c.line;
        EXPECT_EQ(parts.keyword, c.keyword) << c.line;
        EXPECT_EQ(parts.normalised, c.normalised) << c.line;
    }
}

TEST(WindowParser, KeywordsAreWholeWordsNotTheirFirstLetters)
{
    // A control labelled EndDate closed a level once, and the tab choice was then never offered.
    const std::string text =
        "W WINDOW('Tabs')\r\n SHEET\r\n  TAB('&One')\r\n   BUTTON('&A')\r\n"
        "EndDate ENTRY(@d6),USE(EndDate)\r\nTabular STRING('x')\r\nGroupName STRING('y')\r\n  END\r\n"
        "  TAB('&Two')\r\n   BUTTON('&B')\r\n  END\r\n END\r\n BUTTON('&C')\r\nEND\r\n";
    int offered = 0;
    Parsed p(text, [&](const std::vector<TabEntry>& tabs) {
        offered = static_cast<int>(tabs.size());
        return TabChoice{TabMode::One, 1};
    });
    EXPECT_EQ(offered, 2);
    EXPECT_TRUE(p.dialogs.shown.empty());
    EXPECT_FALSE(p.alt("&A"));
    EXPECT_TRUE(p.alt("&B"));
    EXPECT_EQ(p.q.raw[4].level, 3); // EndDate stands inside the first tab
    EXPECT_EQ(p.q.raw[4].parts.keyword, "ENTRY");

    // A labelled structure opens its level like any other.
    Parsed labelled("W WINDOW('L')\r\nOpts OPTION('&Pick')\r\n RADIO('&Yes')\r\nEND\r\nEND\r\n");
    EXPECT_TRUE(labelled.dialogs.shown.empty());
    EXPECT_EQ(labelled.q.raw[2].levelType, "opt");
    EXPECT_EQ(labelled.q.raw[4].level, 0);
}

TEST(WindowParser, NoNestingMessageTextReachesTheLines)
{
    Parsed surplus("W WINDOW('S')\r\nEND\r\nEND\r\nEND\r\nBUTTON('&B')\r\n");
    for (const RawLine& rq : surplus.q.raw)
        EXPECT_EQ(rq.line.find("level"), std::string::npos);
    for (const std::string& line : surplus.q.code)
        EXPECT_EQ(line.find("level"), std::string::npos);
    EXPECT_TRUE(surplus.alt("&B")); // the scans still run after the broken nesting
}
