#include "config/SettingsExchange.h"
#include "config/ConfigFields.h"
#include "config/ConfigRecord.h"
#include "config/Settings.h"
#include "runtime/testing/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

using namespace kestrix::config;
using kestrix::runtime::IniFile;
using kestrix::runtime::Record;

namespace {

struct Scratch
{
    kestrix::runtime::testing::TempDir dir;
    IniFile windows{Ini::WindowsFile};
    IniFile lists{Ini::ListsFile};
};

void write(const char* name, const std::string& text)
{
    std::ofstream(name, std::ios::binary) << text;
}

std::string fileText(const char* name)
{
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

} // namespace

TEST(SettingsExchange, EverythingComesBackFromTheFile)
{
    Scratch s;
    Record config = defaultConfig();
    ASSERT_TRUE(applyConfigAssignment(config, "INDENT=7").ok);
    ASSERT_TRUE(applyConfigAssignment(config, "LOOK:FONT[2]=Courier New").ok);
    ASSERT_TRUE(applyConfigAssignment(config, "LOOK:BOLD[12]=1").ok);
    ASSERT_TRUE(applyConfigAssignment(config, "TABCHAR=~").ok);
    s.windows.setValues("Main", {{"Maximize", "Yes"}, {"XPosit", "-1200"}, {"MakeInputShortcut", "F7"}});
    s.windows.setValues("ClipView", {{"Width", "300"}});
    s.lists.setValues("EquateBrowse", {{"VersionNumber", "2"}, {"ListEquateColumnWidths", "120,80,40"}});
    ASSERT_FALSE(exportSettings("carry.ini", config, s.windows, s.lists));

    Scratch other; // another machine: a fresh data directory
    std::filesystem::copy_file(s.dir.path() / "carry.ini", "carry.ini");
    const SettingsImport read = readSettings("carry.ini", defaultConfig());
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_TRUE(read.config->sameValues(config));
    ASSERT_TRUE(applySettingsSections(read, other.windows, other.lists));
    EXPECT_EQ(other.windows.contents(), s.windows.contents());
    EXPECT_EQ(other.lists.contents(), s.lists.contents());
    EXPECT_EQ(tabCharacter(*read.config), '~');
}

TEST(SettingsExchange, RandomRecordsSurviveTheRoundTrip)
{
    Scratch s;
    std::mt19937 random(24);
    const char* names[] = {"INDENT", "NESTINDENT",   "DCT:STREAMRECORDS", "DCT:FIELDWIDTH", "BTN",
                           "EDITOR", "LOOK:FONT[4]", "LOOK:FONTSIZE[3]",  "NOTE:COLOR",     "LOWERCASE"};
    for (int round = 0; round < 50; ++round) {
        Record config = defaultConfig();
        for (const char* name : names) {
            const std::string field(name);
            std::string value;
            if (field == "BTN" || field == "EDITOR" || field == "LOOK:FONT[4]") {
                const int length = static_cast<int>(random() % 10) + 1;
                for (int i = 0; i < length; ++i)
                    value += static_cast<char>('!' + random() % 94); // printable, no blanks at the ends
            } else {
                value = std::to_string(1 + random() % 9);
            }
            applyConfigAssignment(config, field + "=" + value); // a value out of range just stays default
        }
        ASSERT_FALSE(exportSettings("round.ini", config, s.windows, s.lists));
        const SettingsImport read = readSettings("round.ini", defaultConfig());
        ASSERT_TRUE(read.ok()) << read.error;
        ASSERT_TRUE(read.config->sameValues(config)) << fileText("round.ini");
    }
}

TEST(SettingsExchange, ARefusedValueNamesItsFieldAndChangesNothing)
{
    Scratch s;
    s.windows.setValue("Main", "XPosit", "5");
    const auto before = s.windows.contents();
    struct Case
    {
        const char* text;
        const char* error; // the start of the refusal
    };
    const Case cases[] = {
        {"[Configuration]\nINDENT=31\n[Window:Main]\nXPosit=1\n", "[Configuration] INDENT: "},
        {"[Configuration]\nNOSUCH=1\n", "[Configuration] NOSUCH: Unknown configuration field"},
        {"[Configuration]\nBTN=0123456789012345678901234567890123456789\n", "[Configuration] BTN: "},
        {"[Configuration]\nCWPATH=C:\\NoSuchClarion\n", "[Configuration] CWPATH: Clarion Path is invalid"},
        {"[Configuration]\n[Window:Main]\nXPosit=left\n", "[Window:Main] XPosit takes a whole number"},
        {"[Configuration]\n[Window:Main]\nMaximize=Maybe\n", "[Window:Main] Maximize takes Yes or No"},
        {"[Configuration]\n[List:EquateBrowse]\nListEquateColumnWidths=10,x\n",
         "[List:EquateBrowse] ListEquateColumnWidths takes whole numbers"},
        {"[Configuration]\n[Window:Main]\nMakeInputShortcut=Ctrl+K\n",
         "[Window:Main] MakeInputShortcut: Ctrl+K cannot start"},
        {"[Configuration]\n[Window:Main]\nMakeInputShortcut=F7\nStringFmtShortcut=f7\n",
         "[Window:Main] StringFmtShortcut: F7 cannot start StringFmt: it already starts MakeInput."},
        {"[Configuration]\n[Elsewhere]\nx=1\n", "[Elsewhere] is not a section"},
        {"[Window:Main]\nXPosit=1\n", "carry.ini holds no [Configuration] section"},
    };
    for (const Case& c : cases) {
        write("carry.ini", c.text);
        const SettingsImport read = readSettings("carry.ini", defaultConfig());
        EXPECT_FALSE(read.ok()) << c.text;
        EXPECT_EQ(read.error.rfind(c.error, 0), 0u) << read.error;
        EXPECT_FALSE(read.config);
        EXPECT_FALSE(applySettingsSections(read, s.windows, s.lists));
        EXPECT_EQ(s.windows.contents(), before);
    }
    EXPECT_EQ(readSettings("absent.ini", defaultConfig()).error, "There is no settings file absent.ini.");
}

TEST(SettingsExchange, AnImportKeepsWhatTheFileDoesNotName)
{
    Scratch s;
    s.windows.setValues("Main", {{"XPosit", "5"}, {"Width", "640"}});
    write("carry.ini", "[Configuration]\nNESTINDENT=5\n[Window:Main]\nXPosit=20\n");
    Record current = defaultConfig();
    ASSERT_TRUE(applyConfigAssignment(current, "INDENT=4").ok);
    const SettingsImport read = readSettings("carry.ini", current);
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(read.config->number(Cfg::Indent), 4);
    EXPECT_EQ(read.config->number(Cfg::NestIndent), 5);
    ASSERT_TRUE(applySettingsSections(read, s.windows, s.lists));
    EXPECT_EQ(s.windows.value("Main", "XPosit"), "20");
    EXPECT_EQ(s.windows.value("Main", "Width"), "640");
}

TEST(SettingsExchange, ToolKeysInTheFileMayNotTakeAKeyAnotherToolKeeps)
{
    Scratch s;
    s.windows.setValues("Main", {{"TemplateCodeShortcut", "F9"}});
    const auto read = [&s](const std::string& keys) {
        write("keys.ini", "[Configuration]\n[Window:Main]\n" + keys);
        return readSettings("keys.ini", defaultConfig(), &s.windows);
    };
    // A stored key and a default key both stay with the tools the file leaves out.
    SettingsImport stored = read("ErrorHelperShortcut=F9\n");
    EXPECT_EQ(
        stored.error.rfind("[Window:Main] TemplateCodeShortcut (a key the tool has now): F9 cannot start", 0),
        0u)
        << stored.error;
    SettingsImport byDefault = read("StringFmtShortcut=Ctrl+Shift+M\n");
    EXPECT_NE(byDefault.error.find("it already starts StringFmt"), std::string::npos) << byDefault.error;
    EXPECT_FALSE(byDefault.ok());
    // Two tools trading their keys in one file is no clash.
    SettingsImport swapped = read("MakeInputShortcut=Ctrl+Shift+S\nStringFmtShortcut=Ctrl+Shift+M\n");
    EXPECT_TRUE(swapped.ok()) << swapped.error;
    // A tool the file names gives up its stored key to another one named there.
    SettingsImport moved = read("TemplateCodeShortcut=F8\nErrorHelperShortcut=F9\n");
    EXPECT_TRUE(moved.ok()) << moved.error;
}

TEST(SettingsExchange, ImportedToolKeysLandOverTheKeysOfTheTabAndAreCheckedTogether)
{
    Scratch s;
    write("keys.ini", "[Configuration]\n[Window:Main]\nMakeInputShortcut=F7\n");
    const SettingsImport read = readSettings("keys.ini", defaultConfig(), &s.windows);
    ASSERT_TRUE(read.ok()) << read.error;
    const auto tab = [](const std::string& stringKey) {
        return ShortcutTable(
            {{"MakeInput", "Message Maker", "Ctrl+Shift+M"}, {"StringFmt", "String Builder", stringKey}});
    };
    // The key the other tool has on the tab stays; the file moves Message Maker's.
    const ImportedShortcuts moved = importedShortcuts(read, tab("Ctrl+Shift+S"));
    ASSERT_TRUE(moved.table) << moved.error;
    EXPECT_EQ(moved.table->keyOf("MakeInput"), "F7");
    EXPECT_EQ(moved.table->keyOf("StringFmt"), "Ctrl+Shift+S");
    // A key given on the tab after the file was checked may clash with the file's.
    const ImportedShortcuts clash = importedShortcuts(read, tab("F7"));
    EXPECT_FALSE(clash.table);
    EXPECT_NE(clash.error.find("F7"), std::string::npos) << clash.error;
    // A file without tool keys leaves the tab alone.
    write("plain.ini", "[Configuration]\n[Window:ClipView]\nWidth=300\n");
    EXPECT_FALSE(importedShortcuts(readSettings("plain.ini", defaultConfig(), &s.windows), tab("F7")).table);
}
