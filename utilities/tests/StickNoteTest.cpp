#include "utilities/StickNote.h"
#include "config/ConfigRecord.h"
#include "config/ConfigurationForm.h"
#include "runtime/testing/ScriptedDialogs.h"
#include "runtime/testing/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace kestrix;
using namespace kestrix::utilities;

TEST(StickNote, TitleFollowsTheFirstCharactersOfTheNote)
{
    struct Case
    {
        std::string text, title;
    };
    const Case cases[] = {
        {"", "Stick Note"},
        {"   \r\n\t", "Stick Note"},
        {"   Shopping", "Shopping             - Stick Note"},
        {"Line one\r\nLine two", "Line one  Line two   - Stick Note"},
        {"A very long first line of the note", "A very long first li - Stick Note"},
        {std::string(150, ' ') + "beyond", "Stick Note"}, // only the first 100 characters count
    };
    for (const Case& c : cases)
        EXPECT_EQ(noteTitle(c.text), c.title) << c.text;
}

TEST(StickNote, ColoursAndSettingsOfTheConfiguration)
{
    EXPECT_EQ(noteColor(1), 0x80FFFF);
    EXPECT_EQ(noteColor(6), 0x00FFFF);
    EXPECT_EQ(noteColor(8), 0xFFFFFF);
    EXPECT_EQ(noteColor(0), 0x00FFFF);
    EXPECT_EQ(noteColor(9), 0x00FFFF);
    const auto menu = noteColorMenu();
    ASSERT_EQ(menu.size(), 8u);
    EXPECT_EQ(menu[4].text, "Fuschia");
    EXPECT_EQ(menu[4].id, 5);

    runtime::Record config = config::defaultConfig();
    NoteSettings s = NoteSettings::from(config);
    EXPECT_EQ(s.bars, NoteBars::Both);
    EXPECT_EQ(s.color, 6);
    EXPECT_FALSE(s.useFont());
    EXPECT_FALSE(s.storeIn(config)); // nothing changed

    s.bars = NoteBars::Vertical;
    s.color = 3;
    s.font = {"Courier New", 12, 0x0000FF, runtime::FontStyle::Bold};
    EXPECT_TRUE(s.storeIn(config));
    const NoteSettings back = NoteSettings::from(config);
    EXPECT_EQ(back.bars, NoteBars::Vertical);
    EXPECT_EQ(back.color, 3);
    EXPECT_EQ(back.font, s.font);
    EXPECT_TRUE(back.useFont());

    // Out-of-range stored values fall back to the defaults.
    config.setNumber(config::Cfg::NoteBars, 7);
    config.setNumber(config::Cfg::NoteColor, 0);
    EXPECT_EQ(NoteSettings::from(config).bars, NoteBars::Both);
    EXPECT_EQ(NoteSettings::from(config).color, 6);
}

TEST(StickNote, TextLongerThanANoteIsRefusedWhole)
{
    EXPECT_FALSE(refuseNoteText(std::string(3000, 'x')));
    const auto refused = refuseNoteText(std::string(3001, 'x'));
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->caption, "STICK NOTE");
    EXPECT_NE(refused->text.find("3,000"), std::string::npos);
    EXPECT_NE(refused->text.find("3001"), std::string::npos);
}

TEST(NoteBook, NotesAreKeptAndComeBackOneEach)
{
    runtime::testing::TempDir dir;
    NoteBook book(NoteFolder);
    OpenedNote first = book.open();
    EXPECT_EQ(first.number, 1);
    EXPECT_EQ(first.text, "");
    OpenedNote second = book.open();
    EXPECT_EQ(second.number, 2);
    ASSERT_FALSE(book.save(first.number, "first\r\nnote"));
    ASSERT_FALSE(book.save(second.number, "second \xE9"));
    book.close(first.number);
    book.close(second.number);

    // Each open takes a kept note that is not open yet.
    EXPECT_EQ(book.open().text, "first\r\nnote");
    const OpenedNote again = book.open();
    EXPECT_EQ(again.text, "second \xE9");
    EXPECT_EQ(book.open().number, 3);
    EXPECT_EQ(book.openNumbers(), (std::set<int>{1, 2, 3}));

    // An empty note leaves no file behind; another program's book sees what is kept.
    ASSERT_FALSE(book.save(again.number, ""));
    EXPECT_FALSE(std::filesystem::exists(book.fileOf(again.number)));
    NoteBook other(NoteFolder);
    EXPECT_EQ(other.open().text, "first\r\nnote");
    EXPECT_EQ(other.open().number, 2);
}

TEST(NoteBook, AnUnreadableOrOversizedNoteIsLeftAloneAndSaidSo)
{
    runtime::testing::TempDir dir;
    std::filesystem::create_directories(std::filesystem::path(NoteFolder) / "Note1.txt"); // not a file
    {
        std::ofstream big(std::filesystem::path(NoteFolder) / "Note2.txt", std::ios::binary);
        big << std::string(3001, 'y');
    }
    {
        std::ofstream fine(std::filesystem::path(NoteFolder) / "Note5.txt", std::ios::binary);
        fine << "kept";
    }
    NoteBook book(NoteFolder);
    const OpenedNote note = book.open();
    ASSERT_EQ(note.problems.size(), 2u);
    EXPECT_NE(note.problems[0].text.find("Note1.txt cannot be read"), std::string::npos);
    EXPECT_NE(note.problems[1].text.find("3001 characters"), std::string::npos);
    EXPECT_EQ(note.number, 5);
    EXPECT_EQ(note.text, "kept");
    // The next note neither reuses their numbers nor repeats the messages.
    const OpenedNote next = book.open();
    EXPECT_TRUE(next.problems.empty());
    EXPECT_EQ(next.number, 3);
    EXPECT_EQ(std::filesystem::file_size(std::filesystem::path(NoteFolder) / "Note2.txt"), 3001u);
}

TEST(StickNote, ChangedSettingsGoBackToTheConfigurationFile)
{
    runtime::testing::TempDir dir;
    runtime::KeyedFile file("config5.tps", config::configLayout());
    ASSERT_TRUE(file.create().ok());
    ASSERT_TRUE(file.open().ok());
    runtime::Record stored = config::defaultConfig();
    stored.setText(config::Cfg::Editor, "vi");
    ASSERT_TRUE(file.add(stored).ok());
    runtime::Record buffer = config::defaultConfig();
    runtime::testing::ScriptedDialogs dialogs;

    NoteSettings s = NoteSettings::from(buffer);
    s.color = 2;
    s.bars = NoteBars::Horizontal;
    ASSERT_TRUE(storeNoteSettings(file, buffer, s, dialogs));
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(NoteSettings::from(buffer).color, 2);
    const auto reread = config::readConfiguration(file);
    ASSERT_TRUE(reread);
    EXPECT_EQ(NoteSettings::from(*reread).color, 2);
    EXPECT_EQ(NoteSettings::from(*reread).bars, NoteBars::Horizontal);
    EXPECT_EQ(reread->text(config::Cfg::Editor), "vi"); // the rest of the record as the file holds it
}
