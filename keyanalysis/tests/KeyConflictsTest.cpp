#include "keyanalysis/KeyConflicts.h"
#include "keyanalysis/WindowParser.h"
#include "runtime/testing/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

using namespace kestrix;
using namespace kestrix::keyanalysis;

namespace {
AnalysisQueues analysed(const std::string& body)
{
    runtime::testing::ScriptedDialogs dialogs;
    AnalysisQueues q;
    WindowParser(q, dialogs).parse("W WINDOW('T'),AT(,,10,10)\r\n" + body + "END\r\n", {});
    findConflicts(q, 1);
    return q;
}
} // namespace

TEST(KeyConflicts, AltLettersGivenTwice)
{
    AnalysisQueues q = analysed(" BUTTON('&OK')\r\n BUTTON('&Open')\r\n BUTTON('&Name')\r\n");
    EXPECT_EQ(q.conflictsAlt, 1);
    EXPECT_EQ(altCaption(q), "&Alt Keys  (1 Conflict)");
    EXPECT_EQ(q.alt[1].colours.bg, Aqua); // sorted by key: N, O, O
    EXPECT_EQ(q.alt[2].colours.bg, Aqua);
    EXPECT_EQ(q.alt[0].colours.bg, NoColour);
    EXPECT_EQ(usedLetters(q), "NO"); // neighbouring codes, no blank between
    q = analysed(" BUTTON('&OK')\r\n BUTTON('&Open')\r\n PROMPT('&Other')\r\n");
    EXPECT_EQ(q.conflictsAlt, 2);
}

TEST(KeyConflicts, HotKeysOnAltLettersAndOnReservedKeys)
{
    AnalysisQueues q = analysed(" PROMPT('&Name'),KEY(AltN)\r\n BUTTON('&Copy'),KEY(CtrlC)\r\n");
    EXPECT_EQ(q.conflictsKey, 2);
    EXPECT_EQ(hotCaption(q), "&Hot Keys  (2 Conflicts)");
    for (const AltRow& row : q.alt) {
        if (row.key == 'N') {
            EXPECT_EQ(row.colours.fg, Red);
        }
    }
    int aqua = 0;
    for (const HotRow& row : q.hot)
        aqua += row.colours.bg == Aqua;
    EXPECT_EQ(aqua, 2); // CtrlC and its "Copy" row
}

TEST(KeyConflicts, MenuLettersAndAvailableLetters)
{
    AnalysisQueues q =
        analysed(" MENUBAR\r\n  MENU('&Edit')\r\n   ITEM('&Undo')\r\n  END\r\n  MENU('&Exit')\r\n"
                 "   ITEM('&Undo it')\r\n  END\r\n END\r\n PROMPT('Name:')\r\n");
    EXPECT_EQ(q.conflictsMenu, 1);
    EXPECT_EQ(menuCaption(q), "&Menu  (1 Conflict)");
    EXPECT_EQ(q.conflictsAlt, 1); // menu-bar entries share the Alt letters
    for (const MenuRow& row : q.menu) {
        if (row.level == 1) {
            EXPECT_EQ(row.colours.bg, Aqua);
            EXPECT_TRUE(row.line.ends_with(" ?1"));
        } else {
            EXPECT_EQ(row.colours.bg, NoColour); // the same letter in two menus is no conflict
        }
    }
    for (const AltRow& row : q.alt) {
        if (row.name == "Name:") {
            EXPECT_EQ(row.available, " N A M");
        }
    }
}

TEST(KeyConflicts, NoConflictsAndTheSortOrders)
{
    AnalysisQueues q = analysed(" BUTTON('&Zebra')\r\n PROMPT('&Apple')\r\n CHECK('&Mango')\r\n");
    EXPECT_EQ(altCaption(q), "&Alt Keys");
    EXPECT_EQ(hotCaption(q), "&Hot Keys");
    EXPECT_EQ(menuCaption(q), "&Menu");
    EXPECT_EQ(q.alt.front().key, 'A');
    EXPECT_EQ(sortAltKeys(q, 5), 5);
    EXPECT_EQ(q.alt.front().name, "&Zebra");
    EXPECT_EQ(sortAltKeys(q, 3), 3);
    EXPECT_EQ(q.alt.front().type, "BUTTON");
    EXPECT_EQ(sortAltKeys(q, 9), 1);
}

TEST(KeyConflicts, SuggestionsNameTheFreeLettersAndWhoHasTheOthers)
{
    AnalysisQueues q = analysed(" BUTTON('&Save')\r\n BUTTON('S&elect')\r\n BUTTON('Send')\r\n");
    std::size_t send = 0;
    for (std::size_t i = 0; i < q.alt.size(); ++i)
        send = q.alt[i].name == "Send" ? i : send;
    const runtime::MessageRequest box = suggestions(q, send);
    EXPECT_EQ(box.caption, "ALT KEY SUGGESTIONS");
    EXPECT_EQ(box.icon, runtime::MessageIcon::Asterisk);
    EXPECT_EQ(box.text, "Prompt:        Send||Available:     N D||Used Keys:  E             S||Where:|\tS - "
                        "&Save  ( A V )|\tE - "
                        "S&elect  ( L C T )");
}

TEST(KeyConflicts, EverySortOrderIsStableOverManyRowsWithTies)
{
    // Few letters, names and types among many rows: most rows tie with others, and a tie keeps its order.
    AnalysisQueues q;
    for (int i = 0; i < 300; ++i) {
        AltRow row;
        row.key = static_cast<char>('A' + i % 3);
        row.name = "Row" + std::to_string(i);
        row.nameSort = i % 5 == 0 ? "APPLE" : "PEAR";
        row.type = i % 2 ? "BUTTON" : "CHECK";
        row.zorder = i % 7;
        q.alt.push_back(row);
    }
    const auto names = [](const std::vector<AltRow>& rows) {
        std::vector<std::string> out;
        for (const AltRow& r : rows)
            out.push_back(r.name);
        return out;
    };
    const std::vector<std::pair<int, std::function<bool(const AltRow&, const AltRow&)>>> orders = {
        {1,
         [](const AltRow& a, const AltRow& b) {
             return std::make_tuple(static_cast<unsigned char>(a.key), a.nameSort, a.type) <
                    std::make_tuple(static_cast<unsigned char>(b.key), b.nameSort, b.type);
         }},
        {2,
         [](const AltRow& a, const AltRow& b) {
             return std::tie(a.nameSort, a.type, a.key) < std::tie(b.nameSort, b.type, b.key);
         }},
        {3,
         [](const AltRow& a, const AltRow& b) {
             return std::tie(a.type, a.nameSort, a.key) < std::tie(b.type, b.nameSort, b.key);
         }},
        {4, [](const AltRow& a,
               const AltRow& b) { return std::tie(a.type, a.zorder) < std::tie(b.type, b.zorder); }},
        {5, [](const AltRow& a, const AltRow& b) { return a.zorder < b.zorder; }},
    };
    for (const auto& [choice, less] : orders) {
        std::vector<AltRow> expected = q.alt; // from whatever order the sort before left
        std::stable_sort(expected.begin(), expected.end(), less);
        EXPECT_EQ(sortAltKeys(q, choice), choice);
        EXPECT_EQ(names(q.alt), names(expected)) << "order " << choice;
        EXPECT_EQ(sortAltKeys(q, choice), choice); // rows in order already stay as they are
        EXPECT_EQ(names(q.alt), names(expected)) << "order " << choice << " again";
    }
}
