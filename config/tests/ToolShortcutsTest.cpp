#include "config/ToolShortcuts.h"
#include "config/Settings.h"
#include "runtime/testing/TempDir.h"

#include <gtest/gtest.h>

#include <set>

using namespace kestrix::config;
using kestrix::runtime::IniFile;

TEST(ToolShortcuts, KeysAreWrittenOneWayWhateverTheTyping)
{
    EXPECT_EQ(normalizedKey("ctrl+shift+m"), "Ctrl+Shift+M");
    EXPECT_EQ(normalizedKey(" Shift + Control + 7 "), "Ctrl+Shift+7");
    EXPECT_EQ(normalizedKey("alt+ctrl+q"), "Ctrl+Alt+Q");
    EXPECT_EQ(normalizedKey("f5"), "F5");
    EXPECT_EQ(normalizedKey("Shift+F12"), "Shift+F12");
    EXPECT_EQ(normalizedKey("Ctrl+Tab"), "Ctrl+Tab");
}

TEST(ToolShortcuts, KeysThatWouldTypeOrOpenAMenuAreNotKeys)
{
    for (const char* bad : {"", "M", "Shift+M", "Alt+M", "Ctrl+", "Ctrl+Ctrl+M", "Ctrl+MM", "Ctrl+M+Shift",
                            "F13", "F0", "F01", "Ctrl+M+N", "Hyper+M", "Ctrl+é"})
        EXPECT_FALSE(normalizedKey(bad)) << bad;
}

TEST(ToolShortcuts, EveryKnownToolHasItsOwnFreeDefault)
{
    const std::vector<std::string> tools = {
        "MakeInput",        "StringFmt",       "TemplateCode",    "ErrorHelper",       "KeycodeFinder",
        "EquateBrowse",     "ColorDesigner",   "CodeStoreBrowse", "MapPick",           "AltKeyAnalysis",
        "AsciiTable",       "HelpBrowse",      "StickNote",       "TemplateRegistrar", "DictionaryOpen",
        "DictionaryImport", "MsgInsertBrowse", "TipOfTheDay"};
    std::set<std::string> seen;
    for (const std::string& tool : tools) {
        const std::string key = defaultShortcut(tool);
        ASSERT_TRUE(normalizedKey(key)) << tool;
        EXPECT_EQ(*normalizedKey(key), key) << tool;
        EXPECT_FALSE(reservedKeyFor(key)) << tool << " " << key;
        EXPECT_TRUE(seen.insert(key).second) << tool << " shares " << key;
    }
    EXPECT_EQ(defaultShortcut("NoSuchTool"), "");
}

TEST(ToolShortcuts, FindAnythingAndTheOtherFrameKeysAreReserved)
{
    ASSERT_TRUE(reservedKeyFor("Ctrl+K"));
    EXPECT_STREQ(reservedKeyFor("Ctrl+K")->use, "Find anything");
    EXPECT_TRUE(reservedKeyFor("F1"));
    EXPECT_FALSE(reservedKeyFor("Ctrl+Shift+K"));
    std::set<std::string> keys;
    for (const ReservedKey& reserved : reservedKeys()) {
        EXPECT_EQ(normalizedKey(reserved.key), reserved.key); // a typed key can match it
        EXPECT_TRUE(keys.insert(reserved.key).second) << reserved.key;
    }
}

TEST(ToolShortcuts, AClashIsRefusedNamingBothAndChangesNothing)
{
    ShortcutTable table(
        {{"MakeInput", "Message Maker", "Ctrl+Shift+M"}, {"StringFmt", "String Builder", "Ctrl+Shift+S"}});
    EXPECT_EQ(table.assign("StringFmt", "ctrl+shift+m"),
              "Ctrl+Shift+M cannot start String Builder: it already starts Message Maker.");
    EXPECT_EQ(table.keyOf("StringFmt"), "Ctrl+Shift+S");
    EXPECT_EQ(table.assign("StringFmt", "Ctrl+K"),
              "Ctrl+K cannot start String Builder: it is the frame's key for Find anything.");
    EXPECT_EQ(
        table.assign("StringFmt", "Shift+B"),
        "\"Shift+B\" cannot start String Builder: a key needs Ctrl with a letter or digit, or is one of "
        "F1 to F12.");
    EXPECT_EQ(table.keyOf("StringFmt"), "Ctrl+Shift+S");
    // A tool keeps its own key, may take a free one, and may have none.
    EXPECT_FALSE(table.assign("MakeInput", "Ctrl+Shift+M"));
    EXPECT_FALSE(table.assign("StringFmt", "alt+ctrl+b"));
    EXPECT_EQ(table.keyOf("StringFmt"), "Ctrl+Alt+B");
    EXPECT_FALSE(table.assign("MakeInput", " "));
    EXPECT_EQ(table.keyOf("MakeInput"), "");
    // Once freed, the key is there for the other tool.
    EXPECT_FALSE(table.assign("StringFmt", "Ctrl+Shift+M"));
}

TEST(ToolShortcuts, StoredKeysComeBackAndBadOnesAreDropped)
{
    kestrix::runtime::testing::TempDir dir;
    const IniFile ini(dir.path() / Ini::WindowsFile);
    const std::vector<ToolKey> tools = {{"MakeInput", "Message Maker", ""},
                                        {"StringFmt", "String Builder", ""},
                                        {"NewTool", "New Tool", "Ctrl+Shift+N"},
                                        {"AsciiTable", "ASCII Table", ""}};
    // Nothing stored: the defaults, and a new tool's own key.
    ShortcutTable table = loadShortcuts(ini, tools);
    EXPECT_EQ(table.keyOf("MakeInput"), "Ctrl+Shift+M");
    EXPECT_EQ(table.keyOf("NewTool"), "Ctrl+Shift+N");

    ASSERT_FALSE(table.assign("MakeInput", "F7"));
    ASSERT_FALSE(table.assign("AsciiTable", ""));
    ASSERT_TRUE(saveShortcuts(ini, table));
    EXPECT_EQ(ini.value(Ini::MainProcedure, "MakeInputShortcut"), "F7");
    const ShortcutTable again = loadShortcuts(ini, tools);
    EXPECT_EQ(again.keyOf("MakeInput"), "F7");
    EXPECT_EQ(again.keyOf("AsciiTable"), ""); // cleared on purpose, not the default again
    EXPECT_EQ(again.keyOf("StringFmt"), "Ctrl+Shift+S");

    // Edited by hand: a reserved key, garbage and a key twice.
    ini.setValue(Ini::MainProcedure, "MakeInputShortcut", "Ctrl+C");
    ini.setValue(Ini::MainProcedure, "StringFmtShortcut", "Ctrl+Shift+N");
    ini.setValue(Ini::MainProcedure, "NewToolShortcut", "Ctrl+Shift+N");
    ini.setValue(Ini::MainProcedure, "AsciiTableShortcut", "nonsense");
    const ShortcutTable edited = loadShortcuts(ini, tools);
    EXPECT_EQ(edited.keyOf("MakeInput"), "");
    EXPECT_EQ(edited.keyOf("StringFmt"), "Ctrl+Shift+N");
    EXPECT_EQ(edited.keyOf("NewTool"), ""); // the first tool keeps it
    EXPECT_EQ(edited.keyOf("AsciiTable"), "");
}
