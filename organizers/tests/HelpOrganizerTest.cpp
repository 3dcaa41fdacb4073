#include "organizers/HelpOrganizer.h"
#include "organizers/HelpList.h"
#include "runtime/FixedText.h"
#include "runtime/IniFile.h"
#include "runtime/testing/ScriptedDialogs.h"
#include "runtime/testing/ScriptedLauncher.h"
#include "runtime/testing/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace fs = std::filesystem;
using namespace kestrix;
using namespace kestrix::organizers;

using kestrix::runtime::testing::writeTestFile;

namespace {

class HelpOrganizerFixture : public ::testing::Test
{
protected:
    HelpOrganizerFixture() : file("HelpLis5.TPS", helpListLayout()), organizer(file, dialogs)
    {
        EXPECT_FALSE(file.createIfMissing());
        EXPECT_FALSE(file.open());
    }

    std::vector<std::string> names(char type)
    {
        std::vector<std::string> out;
        for (const runtime::Record& r : organizer.entries(type))
            out.push_back(r.text(Hlp::Name));
        return out;
    }

    runtime::testing::TempDir temp;
    runtime::testing::ScriptedDialogs dialogs;
    runtime::testing::ScriptedLauncher launcher;
    runtime::KeyedFile file;
    HelpOrganizer organizer;
};

} // namespace

TEST(HelpOrganizerLayout, TabsColumnsAndStoredWidths)
{
    runtime::testing::TempDir temp;
    std::string letters;
    for (const HelpTab& tab : helpTabs())
        letters += tab.type;
    EXPECT_EQ(letters, HelpTypeLetters);
    EXPECT_STREQ(helpTabs()[4].caption, "Te&mplate");
    EXPECT_EQ(helpTabIndex('s'), 2u);
    EXPECT_EQ(helpTabIndex('Q'), 0u);

    const runtime::ListLayoutStore layouts(runtime::IniFile("KTX.INI"));
    std::vector<int> designed;
    for (const HelpColumn& c : helpColumns())
        designed.push_back(c.width);
    EXPECT_EQ(restoreHelpColumnWidths(layouts), designed); // nothing stored yet

    saveHelpColumnWidths(layouts, {150, 90, 400});
    const runtime::IniFile ini("KTX.INI");
    EXPECT_EQ(ini.value("HelpBrowse", "VersionNumber"), "1");
    EXPECT_EQ(ini.value("HelpBrowse", "ListColumnWidths"), "150090400");
    EXPECT_TRUE(ini.hasEntry("HelpBrowse", "ListGroupWidths"));
    EXPECT_EQ(restoreHelpColumnWidths(layouts), (std::vector<int>{150, 90, 400}));

    // A shorter stored list changes only its own cells; another version is not read.
    ASSERT_TRUE(ini.setValue("HelpBrowse", "ListColumnWidths", "077"));
    EXPECT_EQ(restoreHelpColumnWidths(layouts), (std::vector<int>{77, designed[1], designed[2]}));
    ASSERT_TRUE(ini.setNumber("HelpBrowse", "VersionNumber", 2));
    EXPECT_EQ(restoreHelpColumnWidths(layouts), designed);
}

TEST_F(HelpOrganizerFixture, TabsShowTheirOwnEntriesInNameOrder)
{
    ASSERT_TRUE(organizer.add({'X', "zeta notes", "Z.TXT", "C:\\CW"}));
    ASSERT_TRUE(organizer.add({'H', "Library", "CWLIB.HLP", "C:\\CW\\BIN"}));
    ASSERT_TRUE(organizer.add({'X', "Alpha", "A.TXT", "C:\\CW"}));
    ASSERT_TRUE(organizer.add({'S', "equates", "EQUATES.CLW", "C:\\CW\\LIBSRC"}));
    ASSERT_TRUE(organizer.add({'X', "beta", "B.TXT", "C:\\CW"}));
    ASSERT_TRUE(organizer.add({'T', "Templates", "CW.TPL", "C:\\CW\\TEMPLATE"}));
    EXPECT_EQ(names('X'),
              (std::vector<std::string>{"Alpha", "beta", "zeta notes"})); // without regard to case
    EXPECT_EQ(names('H'), std::vector<std::string>{"Library"});
    EXPECT_EQ(names('S'), std::vector<std::string>{"equates"});
    EXPECT_EQ(names('T'), std::vector<std::string>{"Templates"});
    EXPECT_TRUE(names('C').empty());
}

TEST_F(HelpOrganizerFixture, EntriesAreCheckedStoredWholeChangedAndDeleted)
{
    EXPECT_EQ(organizer.checkEntry({'H', " ", "A.HLP", ""})->text,
              "A help list entry needs a name and a file.");
    EXPECT_EQ(organizer.checkEntry({'H', "Name", "", ""})->text,
              "A help list entry needs a name and a file.");
    EXPECT_TRUE(organizer.checkEntry({'Q', "Name", "A.HLP", ""}).has_value());
    const auto tooLong = organizer.checkEntry({'H', "Name", "A.HLP", std::string(HelpPathLength + 1, 'p')});
    ASSERT_TRUE(tooLong.has_value());
    EXPECT_NE(tooLong->text.find("HLP:PATH"), std::string::npos) << tooLong->text;
    EXPECT_NE(tooLong->text.find(std::to_string(HelpPathLength)), std::string::npos) << tooLong->text;

    // Refused entries are not written, and the user hears why.
    EXPECT_FALSE(organizer.add({'H', "", "A.HLP", "C:\\CW"}));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(file.records(), 0);

    // A path of today's systems and a name beyond 8.3 are kept whole; a trailing "\" goes.
    const std::string deep = "C:\\Program Files\\Some Vendor\\Clarion Installation 11\\Documentation\\"
                             "Reference Manuals\\English";
    const std::string longFile = "language-reference-manual-edition-eleven.PDF";
    ASSERT_GT(deep.size(), 50u);
    ASSERT_TRUE(organizer.add({'h', "Language Reference", longFile, deep + "\\"}));
    std::vector<runtime::Record> rows = organizer.entries('H');
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(helpEntryOf(rows[0]), (HelpEntry{'H', "Language Reference", longFile, deep}));

    ASSERT_TRUE(organizer.change(rows[0], {'X', "Language Reference", longFile, deep}));
    EXPECT_TRUE(organizer.entries('H').empty());
    rows = organizer.entries('X');
    ASSERT_EQ(rows.size(), 1u);
    ASSERT_TRUE(organizer.remove(rows[0]));
    EXPECT_EQ(file.records(), 0);
}

TEST(HelpOrganizerLookup, ChosenFileFillsFileAndPath)
{
    const HelpEntry start{'S', "Kept", "OLD.CLW", "C:\\OLD"};
    EXPECT_EQ(withLookedUpFile(start, "C:\\CW\\LIBSRC\\EQUATES.CLW"),
              (HelpEntry{'S', "Kept", "EQUATES.CLW", "C:\\CW\\LIBSRC"}));
    EXPECT_EQ(withLookedUpFile(start, "/home/dev/clarion/docs/Guide Book.pdf"),
              (HelpEntry{'S', "Kept", "Guide Book.pdf", "/home/dev/clarion/docs"}));
    EXPECT_EQ(withLookedUpFile(start, "/ROOT.HLP").path, "/");

    runtime::testing::TempDir temp;
    fs::create_directories("CW/BIN");
    const auto request = lookupFileRequest({'H', "", "", ""}, (temp.path() / "CW").string());
    EXPECT_EQ(fs::path(request.startPath), temp.path() / "CW");
    EXPECT_NE(request.filter.find("*.HLP"), std::string::npos);
    const auto fromEntry = lookupFileRequest({'H', "", "", (temp.path() / "CW" / "BIN").string()}, "");
    EXPECT_EQ(fs::path(fromEntry.startPath), temp.path() / "CW" / "BIN");
}

TEST(HelpOrganizerView, EditorCommandWords)
{
    runtime::testing::TempDir temp;
    writeTestFile("My Editor/edit.sh");
    const std::string withBlank = (temp.path() / "My Editor" / "edit.sh").string();
    EXPECT_EQ(editorCommand(" " + withBlank + " "), std::vector<std::string>{withBlank});
    EXPECT_EQ(editorCommand("notepad.exe /a"), (std::vector<std::string>{"notepad.exe", "/a"}));
    EXPECT_EQ(editorCommand("\"C:\\Program Files\\Ed\\ed.exe\"  -n \"\""),
              (std::vector<std::string>{"C:\\Program Files\\Ed\\ed.exe", "-n", ""}));
    EXPECT_TRUE(editorCommand("   ").empty());
    EXPECT_TRUE(opensAsDocument("c5help.hlp"));
    EXPECT_TRUE(opensAsDocument("Guide.Pdf  "));
    EXPECT_FALSE(opensAsDocument("NOTES.HLP.TXT"));
}

TEST_F(HelpOrganizerFixture, ViewOpensHelpThroughTheSystemAndTheRestInTheEditor)
{
    writeTestFile("CW/BIN/C5HELP.HLP");
    writeTestFile("CW/LIBSRC/Equates.clw");
    const std::string root = (temp.path() / "CW").string();
    const std::string help = (temp.path() / "CW" / "BIN" / "C5HELP.HLP").string();
    const std::string source = (temp.path() / "CW" / "LIBSRC" / "Equates.clw").string();

    EXPECT_FALSE(organizer.view({'H', "Help", "C5HELP.HLP", root + "\\BIN"}, "vi", launcher));
    EXPECT_EQ(launcher.documents, std::vector<std::string>{help});
    EXPECT_TRUE(launcher.programs.empty());

    // The stored name's case need not match the file's.
    EXPECT_FALSE(organizer.view({'S', "Equates", "EQUATES.CLW", root + "\\LIBSRC"}, "gedit -s", launcher));
    ASSERT_EQ(launcher.programs.size(), 1u);
    EXPECT_EQ(launcher.programs[0], (std::vector<std::string>{"gedit", "-s", source}));
    EXPECT_EQ(launcher.documents.size(), 1u);

    // When one way cannot start, the other is tried.
    launcher.programsStart = false;
    EXPECT_FALSE(organizer.view({'S', "Equates", "EQUATES.CLW", root + "\\LIBSRC"}, "gedit", launcher));
    EXPECT_EQ(launcher.documents.back(), source);
    launcher.documentsStart = false;
    launcher.programsStart = true;
    EXPECT_FALSE(organizer.view({'H', "Help", "C5HELP.HLP", root + "\\BIN"}, "gedit", launcher));
    EXPECT_EQ(launcher.programs.back(), (std::vector<std::string>{"gedit", help}));

    // Neither: the message says which file and why.
    launcher.programsStart = false;
    auto problem = organizer.view({'H', "Help", "C5HELP.HLP", root + "\\BIN"}, "gedit", launcher);
    ASSERT_TRUE(problem.has_value());
    EXPECT_EQ(problem->text, "The file " + root +
                                 "\\BIN\\C5HELP.HLP could not be opened:|no program is "
                                 "associated with it, and the editor gedit could not be started.");
    problem = organizer.view({'X', "Equates", "EQUATES.CLW", root + "\\LIBSRC"}, "", launcher);
    ASSERT_TRUE(problem.has_value());
    EXPECT_NE(problem->text.find("no editor is set in the Configuration"), std::string::npos)
        << problem->text;
}

TEST_F(HelpOrganizerFixture, ViewOfAFileGoneSinceTheScanSaysSo)
{
    writeTestFile("CW/BIN/GONE.HLP");
    const std::string root = (temp.path() / "CW").string();
    const HelpEntry entry{'H', "Gone", "GONE.HLP", root + "\\BIN"};
    fs::remove(temp.path() / "CW" / "BIN" / "GONE.HLP");
    const auto problem = organizer.view(entry, "vi", launcher);
    ASSERT_TRUE(problem.has_value());
    EXPECT_EQ(problem->text, "The file " + root +
                                 "\\BIN\\GONE.HLP is no longer there.||Scan Hlp takes "
                                 "entries whose file is gone off the list.");
    EXPECT_TRUE(launcher.documents.empty());
    EXPECT_TRUE(launcher.programs.empty());
    // A directory of that name is no file to open either.
    fs::create_directories(temp.path() / "CW" / "BIN" / "GONE.HLP");
    EXPECT_TRUE(organizer.view(entry, "vi", launcher).has_value());
}

TEST(HelpOrganizerScan, CancelledScanSaysWhatStays)
{
    HelpScanResult r;
    r.added = 4;
    EXPECT_EQ(scanEndMessage(r, false).text, scanReport(r).text);
    const auto cancelled = scanEndMessage(r, true);
    EXPECT_EQ(
        cancelled.text.rfind("The scan was cancelled; what it had found stays in the list.||4 files", 0), 0u)
        << cancelled.text;
    EXPECT_EQ(cancelled.caption, "SCAN FOR FILES");
}
