#include "equates/PopupLoader.h"
#include "equates/PopupRecord.h"
#include "runtime/testing/RequireOk.h"
#include "runtime/testing/ScriptedDialogs.h"
#include "runtime/testing/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace kestrix;
using namespace kestrix::equates;

namespace {
struct PopupFile
{
    runtime::testing::TempDir dir;
    runtime::testing::ScriptedDialogs dialogs;
    runtime::KeyedFile file{"Config\\!PopData", popupLayout()};
    runtime::IniFile ini{"KTX4.INI"};
    PopupFile()
    {
        kestrix::runtime::testing::requireOk(file.create(), "file.create()");
        kestrix::runtime::testing::requireOk(file.open(), "file.open()");
    }
    std::string entryLine(const std::string& item, const std::string& data)
    {
        return item + std::string(29 - item.size(), ' ') + data + "\n";
    }
};
} // namespace

TEST(PopupLoader, HeadersCountAndJoinTheEntries)
{
    PopupFile p;
    std::ofstream("POPUP.TXT") << "; comment\nTYPE=eq:color\n"
                               << p.entryLine("A", "COLOR:A") << p.entryLine("B", "{B}")
                               << p.entryLine("C", "C|D") << "TYPE=EMPTY\nTYPE=Second\n"
                               << p.entryLine("Only", "x");
    std::ofstream("POPUPABC.TXT") << "TYPE=EQ:COLOR\n"
                                  << p.entryLine("Z", "repeated type") << "TYPE=ABC ONLY\n"
                                  << p.entryLine("Q", "q");
    PopupLoader loader(p.file, p.dialogs);
    loader.run(p.ini);
    EXPECT_EQ(p.ini.value("PopupLoad", "Version"), "4");
    EXPECT_TRUE(p.dialogs.shown.empty());
    const auto menu = popupMenu(p.file, "eq:color");
    ASSERT_TRUE(menu);
    EXPECT_EQ(menu->items, (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_FALSE(popupMenu(p.file, "EMPTY"));
    EXPECT_EQ(popupMenu(p.file, "SECOND")->items, std::vector<std::string>{"Only"});
    EXPECT_EQ(popupMenu(p.file, "ABC ONLY")->items, std::vector<std::string>{"Q"});
    EXPECT_EQ(popupTemplate(p.file, "EQ:COLOR", 1, ""), "COLOR:A");
    EXPECT_EQ(popupTemplate(p.file, "EQ:COLOR", 3, "|"), "C\r\nD");
    EXPECT_EQ(popupTemplate(p.file, "EQ:COLOR", 2, "}"), "B ");
    EXPECT_EQ(popupTemplate(p.file, "EQ:COLOR", 4, ""), "");
    runtime::Record header = p.file.newRecord();
    header.setText(Pop::Type, "EQ:COLOR");
    ASSERT_TRUE(p.file.get(Pop::Key, header).ok());
    EXPECT_EQ(header.text(Pop::Item), "3");
    EXPECT_EQ(header.text(Pop::Data), "A|B|C");

    // A reload starts from nothing.
    std::ofstream("POPUP.TXT") << "TYPE=NEW\n" << p.entryLine("N", "n");
    loader.run(p.ini);
    EXPECT_FALSE(popupMenu(p.file, "SECOND"));
    EXPECT_TRUE(popupMenu(p.file, "NEW"));
}

TEST(PopupLoader, ACancelStopsBeforeTheNextFileAndLeavesTheLoadDue)
{
    PopupFile p;
    std::ofstream("POPUP.TXT") << "TYPE=FIRST\n" << p.entryLine("A", "a");
    std::ofstream("POPUPABC.TXT") << "TYPE=SECOND\n" << p.entryLine("B", "b");
    p.ini.setValue("PopupLoad", "Version", "4");
    PopupLoader loader(p.file, p.dialogs);
    std::vector<std::string> steps;
    loader.setProgress([&](const std::string& name) { steps.push_back(name); });
    loader.setCancelCheck([&] { return steps.size() == 2; }); // asked as the second file comes up
    loader.run(p.ini);
    EXPECT_EQ(steps, (std::vector<std::string>{"POPUP.TXT", "POPUPABC.TXT"}));
    EXPECT_TRUE(popupMenu(p.file, "FIRST")); // what was read is whole
    EXPECT_FALSE(popupMenu(p.file, "SECOND"));
    EXPECT_EQ(p.ini.value("PopupLoad", "Version"), "");
    EXPECT_TRUE(p.dialogs.shown.empty());
}

TEST(PopupLoader, AMissingFileIsReportedAndTheOtherLoaded)
{
    PopupFile p;
    std::ofstream("POPUPABC.TXT") << "TYPE=X\n" << p.entryLine("x", "y");
    PopupLoader(p.file, p.dialogs).run(p.ini);
    ASSERT_EQ(p.dialogs.captions(), std::vector<std::string>{"FILE OPEN ERROR"});
    EXPECT_EQ(p.dialogs.shown[0].text.rfind(
                  "An error occured while Opening the POPUP.TXT File|You will not have popups!||Error: ", 0),
              0u);
    EXPECT_TRUE(popupMenu(p.file, "X"));
}

TEST(PopupTemplates, ConversionsOfTheCaller)
{
    EXPECT_EQ(convertTemplate("{MESSAGE('^')}", "|}"), "MESSAGE('^') ");
    EXPECT_EQ(convertTemplate("a|b", ""), "a|b");
    EXPECT_EQ(convertTemplate("{x}  ", "}"), "x   ");
}

TEST(PopupLoader, AMenuKeepsEveryEntryAndLongTypesStayApart)
{
    PopupFile p;
    constexpr int Entries = 100000;
    {
        std::ofstream out("POPUP.TXT");
        out << "TYPE=A TYPE NAME OF TWENTY ONE\n";
        for (int e = 1; e <= Entries; ++e)
            out << p.entryLine("Entry " + std::to_string(e), "template " + std::to_string(e));
        out << "TYPE=A TYPE NAME OF TWENTY TWO\n" << p.entryLine("Other", "other");
    }
    std::ofstream("POPUPABC.TXT") << "; none\n";
    const PopupLoadResult result = PopupLoader(p.file, p.dialogs).run(p.ini);
    ASSERT_TRUE(result.completed);
    EXPECT_TRUE(p.dialogs.shown.empty());
    EXPECT_EQ(result.records, Entries + 1 + 2);

    runtime::Record header = p.file.newRecord();
    header.setText(Pop::Type, "A TYPE NAME OF TWENTY ONE");
    ASSERT_TRUE(p.file.get(Pop::Key, header).ok());
    EXPECT_EQ(header.text(Pop::Item), std::to_string(Entries));
    EXPECT_EQ(header.text(Pop::Data).size(), 255u); // the menu text a header holds
    EXPECT_EQ(header.text(Pop::Data).substr(0, 16), "Entry 1|Entry 2|");
    EXPECT_EQ(popupTemplate(p.file, "A TYPE NAME OF TWENTY ONE", 256, ""), "template 256");
    EXPECT_EQ(popupTemplate(p.file, "A TYPE NAME OF TWENTY ONE", Entries, ""),
              "template " + std::to_string(Entries));
    EXPECT_EQ(popupMenu(p.file, "A TYPE NAME OF TWENTY TWO")->items, std::vector<std::string>{"Other"});
}

TEST(PopupLoader, LinesThatCannotBeStoredAreNamed)
{
    PopupFile p;
    const std::string longType(61, 'T');
    std::ofstream("POPUP.TXT") << "TYPE=" << longType << "\n"
                               << p.entryLine("Lost", "x") << "TYPE=KEPT\n"
                               << p.entryLine("Fits", std::string(500, 'f'))
                               << p.entryLine("Too long", std::string(501, 'g')) << p.entryLine("After", "a");
    std::ofstream("POPUPABC.TXT") << "; none\n";
    const PopupLoadResult result = PopupLoader(p.file, p.dialogs).run(p.ini);
    EXPECT_TRUE(result.completed);
    ASSERT_EQ(p.dialogs.captions(), std::vector<std::string>{"POPUP LINES NOT LOADED"});
    const std::string& text = p.dialogs.shown[0].text;
    EXPECT_NE(text.find("Some lines of POPUP.TXT could not be stored:"), std::string::npos);
    EXPECT_NE(text.find("|Line 1: the type " + longType.substr(0, 40) +
                        "... is longer than POP:TYPE (60 characters)"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("|Line 5: the template is longer than POP:DATA (500 characters)"), std::string::npos)
        << text;
    EXPECT_EQ(popupMenu(p.file, "KEPT")->items, (std::vector<std::string>{"Fits", "After"}));
    EXPECT_EQ(popupTemplate(p.file, "KEPT", 1, ""), std::string(500, 'f'));
    EXPECT_EQ(result.records, 3);
}

TEST(PopupLoader, AFailedWriteLeavesTheVersionUnwritten)
{
    PopupFile p;
    p.ini.setValue("PopupLoad", "Version", "4");
    std::ofstream("POPUP.TXT") << "TYPE=X\n" << p.entryLine("x", "y");
    p.file.close(); // every write fails
    PopupLoader loader(p.file, p.dialogs);
    const PopupLoadResult result = loader.run(p.ini);
    EXPECT_FALSE(result.completed);
    ASSERT_FALSE(p.dialogs.shown.empty());
    EXPECT_EQ(p.dialogs.captions().front(), "FILE ERROR");
    EXPECT_EQ(p.dialogs.shown[0].text.rfind("An error occured while writing the Popup File||Error: ", 0), 0u);
    EXPECT_EQ(p.ini.value("PopupLoad", "Version"), "");
}
