#include "equates/EquateLoader.h"
#include "equates/EquateRecord.h"
#include "runtime/IniFile.h"
#include "runtime/testing/ScriptedDialogs.h"
#include "runtime/testing/TempDir.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <map>

using namespace kestrix;
using namespace kestrix::equates;
using runtime::Record;
using runtime::testing::ScriptedDialogs;
namespace fs = std::filesystem;

namespace {

void write(const fs::path& path, const std::string& text)
{
    fs::create_directories(path.parent_path().empty() ? "." : path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// A list file line of [FILES]: name in 1-12, type in 15-26, force flag in 30.
std::string entry(const std::string& file, const std::string& type, char force = '0')
{
    std::string line(30, ' ');
    line.replace(0, file.size(), file);
    line.replace(14, type.size(), type);
    line[29] = force;
    return line + "\n";
}

// A [USER] line in its fixed columns.
std::string user(const std::string& value, const std::string& name, const std::string& shortName,
                 const std::string& number)
{
    std::string line(160, ' ');
    line.replace(0, value.size(), value);
    line.replace(19, name.size(), name);
    line.replace(49, shortName.size(), shortName);
    line.replace(79, number.size(), number);
    line.replace(119, 5, "notes");
    return line + "\n";
}

struct Installation
{
    runtime::testing::TempDir dir;
    ScriptedDialogs dialogs;
    runtime::KeyedFile file{"Equates5.tps", equateLayout()};
    runtime::IniFile ini{"KTX4.INI"};

    Installation()
    {
        write("cw/LIBSRC/EQUATES.CLW", "! colours\n"
                                       "COLOR:Black            EQUATE(0)          ! black\n"
                                       "COLOR:SCROLLBAR        EQUATE(80000000H)\n"
                                       "ICON:Hand              EQUATE('<0FFH,01H,02H,7FH>')\n"
                                       "EVENT:Accepted         EQUATE(01H)\n"
                                       "EVENT:NewSelection     EQUATE(05H)\n"
                                       "EVENT:DDErequest       EQUATE(20EH)\n"
                                       "EVENT:OpenWindow       EQUATE(201H)\n"
                                       "  indented             EQUATE(1)\n"
                                       "NoValue                LONG\n"
                                       "Color                  ITEMIZE(10),PRE(CLR)\n"
                                       "Red                    EQUATE\n"
                                       "Green                  EQUATE\n"
                                       "Blue                   EQUATE(20)\n"
                                       "Cyan                   EQUATE\n"
                                       "                       END\n"
                                       "Level                  ITEMIZE(-3)\n"
                                       "Fatal                  EQUATE\n"
                                       "Notify                 EQUATE\n"
                                       "                       .\n"
                                       "                       ITEMIZE\n"
                                       "Lost                   EQUATE\n"
                                       "Kept                   EQUATE(7)\n"
                                       "                       END\n");
        write("cw/LIBSRC/KEYS.CLW", "F1Key EQUATE(70H)\r\nCtrlF1 EQUATE(270H)\r\n");
        write("EQU-LOA5.TXT", "! the language's files\n[FILES]\n" + entry("EQUATES.CLW", "Unknown") +
                                  entry("MISSING.CLW", "Unknown") + "PATH=%CW%\\libsrc\n" +
                                  entry("KEYS.CLW", "Keycode") + "[USER]\nTYPE=Mine\n" +
                                  user("42", "MY:Answer", "", "42") + user("7", "MY:Seven", "Seven", "7") +
                                  "[DUPS]\nTYPE=Std Color\nCOLOR:Black\nNoSuchName\n"
                                  "TYPE=Keys\n*CTRL\n");
        write("EQU-USE5.TXT", "[FILES]\nPATH=%CW%\\LIBSRC\n" + entry("EQUATES.CLW", "Again", '1'));
        // EQU-ABC5.TXT is missing on purpose.
    }

    std::map<std::string, int> countsByType()
    {
        std::map<std::string, int> counts;
        Record r = file.newRecord();
        file.setOrder(runtime::KeyedFile::FileOrder);
        while (file.next(r).ok())
            ++counts[r.text(Equ::Type)];
        return counts;
    }
    std::optional<Record> find(const std::string& type, const std::string& name)
    {
        Record r = file.newRecord();
        r.setText(Equ::Type, type);
        r.setText(Equ::SearchName, name);
        if (file.get(Equ::ByType, r))
            return std::nullopt;
        return r;
    }
};

} // namespace

TEST(EquateLoader, LoadsEveryFormOfTheSources)
{
    Installation cw;
    EquateLoader loader(cw.file, (cw.dir.path() / "cw").string() + "\\", cw.dialogs);
    std::vector<std::string> steps;
    loader.setProgress([&](const std::string& s) { steps.push_back(s); });
    const EquateLoadResult result = loader.run(cw.ini);
    ASSERT_TRUE(result.completed);
    EXPECT_EQ(cw.ini.value("EquateLoad", "Version"), "4");
    EXPECT_EQ(cw.dialogs.captions(), std::vector<std::string>{"FILE OPEN ERROR"}); // the missing list file
    EXPECT_NE(cw.dialogs.shown[0].text.find("|File: EQU-ABC5.TXT "), std::string::npos);
    EXPECT_EQ(steps.front(), "Creating Equate File");
    EXPECT_NE(std::find(steps.begin(), steps.end(), "Load User Dups"), steps.end());

    auto black = cw.find("Color", "Black");
    ASSERT_TRUE(black);
    EXPECT_EQ(black->text(Equ::Notes), "black");
    EXPECT_EQ(black->text(Equ::File), "EQUATES");
    EXPECT_EQ(black->number(Equ::LoadSeq), 1);
    auto scroll = cw.find("Color Win", "Scrollbar");
    ASSERT_TRUE(scroll);
    EXPECT_EQ(scroll->number(Equ::Long), -2147483648LL);
    EXPECT_EQ(cw.find("Icon", "Hand")->text(Equ::Hex), "7F0201FFH");

    // Events and their narrower copies.
    EXPECT_TRUE(cw.find("Event Field", "Accepted"));
    EXPECT_FALSE(cw.find("Event List", "Accepted"));
    EXPECT_TRUE(cw.find("Event List", "NewSelection"));
    EXPECT_TRUE(cw.find("Event DDE", "DDErequest"));
    EXPECT_FALSE(cw.find("Event Window", "DDErequest"));
    EXPECT_TRUE(cw.find("Event Window", "OpenWindow"));
    EXPECT_EQ(cw.find("Event Field", "NewSelection")->number(Equ::LoadSeq),
              cw.find("Event", "NewSelection")->number(Equ::LoadSeq));

    // ITEMIZE with PRE(), with a label only, and with neither.
    EXPECT_EQ(cw.find("Clr", "Red")->number(Equ::Long), 10);
    EXPECT_EQ(cw.find("Clr", "Green")->number(Equ::Long), 11);
    EXPECT_EQ(cw.find("Clr", "Cyan")->number(Equ::Long), 21);
    EXPECT_EQ(cw.find("Level", "Fatal")->number(Equ::Long), -3);
    EXPECT_EQ(cw.find("Level", "Notify")->number(Equ::Long), -2);
    EXPECT_FALSE(cw.find("Unknown", "Lost"));
    EXPECT_EQ(cw.find("Unknown", "Kept")->number(Equ::Long), 7);
    EXPECT_FALSE(cw.find("Unknown", "indented"));
    EXPECT_FALSE(cw.find("Unknown", "NoValue"));

    // User equates, duplicates and the forced type of the second list.
    EXPECT_EQ(cw.find("Mine", "MY:Answer")->number(Equ::LoadSeq), 2);
    EXPECT_EQ(cw.find("Mine", "Seven")->number(Equ::LoadSeq), 3);
    EXPECT_TRUE(cw.find("Std Color", "Black"));
    EXPECT_EQ(cw.find("Keys", "F1")->text(Equ::Name), "CtrlF1"); // prefix taken off the short name
    EXPECT_TRUE(cw.find("Again", "ICON:Hand"));
    EXPECT_EQ(cw.find("Keycode", "F1Key")->text(Equ::File), "KEYS");

    const auto counts = cw.countsByType();
    EXPECT_EQ(counts.at("Z-Type"), static_cast<int>(result.types));
    EXPECT_TRUE(cw.find("Z-Type", "Event List"));
    EXPECT_TRUE(cw.find("Z-Type", "Mine"));
    EXPECT_EQ(result.records, cw.file.records());

    runtime::IniFile log("EQULoad.LOG");
    EXPECT_EQ(log.value("EQU-LOA5.TXT", "1"), "EQUATES.CLW");
    EXPECT_EQ(log.value("EQU-LOA5.TXT", "3"), "KEYS.CLW");
    EXPECT_FALSE(log.value("EQU-LOA5.TXT", "Build2").empty());
}

TEST(EquateLoader, BadSourcesAreReadWithoutHarm)
{
    Installation cw;
    std::string garbage;
    for (int i = 0; i < 5000; ++i)
        garbage += static_cast<char>((i * 131 + 7) % 256);
    write("cw/LIBSRC/EQUATES.CLW", "Long:Line EQUATE(1) ! " + std::string(2000, 'n') + "\n" + garbage +
                                       "\nOpen ITEMIZE,PRE(OPN)\nFirst EQUATE\n");
    write("cw/LIBSRC/KEYS.CLW", "F1Key EQUATE(70H)\n"); // the block of the last file does not carry over
    EquateLoader loader(cw.file, (cw.dir.path() / "cw").string(), cw.dialogs);
    const EquateLoadResult result = loader.run(cw.ini);
    ASSERT_TRUE(result.completed);
    auto longLine = cw.find("Long", "Line");
    ASSERT_TRUE(longLine);
    EXPECT_EQ(longLine->text(Equ::Notes), std::string(40, 'n'));
    EXPECT_EQ(cw.find("Opn", "First")->number(Equ::Long), 1);
    EXPECT_TRUE(cw.find("Keycode", "F1Key"));
}

TEST(EquateLoader, AWildcardThatRunsAwayStopsAfter200Copies)
{
    Installation cw;
    std::string many;
    for (int i = 0; i < 300; ++i)
        many += "RUN:Item" + std::to_string(i) + " EQUATE(" + std::to_string(i) + ")\n";
    write("cw/LIBSRC/EQUATES.CLW", many);
    write("EQU-LOA5.TXT", "[FILES]\n" + entry("EQUATES.CLW", "Unknown") + "[DUPS]\nTYPE=Runaway\n*RUN:\n");
    EquateLoader loader(cw.file, (cw.dir.path() / "cw").string(), cw.dialogs);
    ASSERT_TRUE(loader.run(cw.ini).completed);
    const auto counts = cw.countsByType();
    EXPECT_EQ(counts.at("Runaway"), 200);
    ASSERT_FALSE(cw.dialogs.shown.empty());
    EXPECT_EQ(cw.dialogs.shown[0].text, "load dups did not stop|*RUN:");
}

TEST(EquateLoader, AnAbortedLoadDeletesTheFileAndWritesNoVersion)
{
    Installation cw;
    cw.ini.setValue("EquateLoad", "Version", "4");
    bool refused = false;
    EquateLoader loader(cw.file, (cw.dir.path() / "cw").string(), cw.dialogs);
    loader.setProgress([&](const std::string& step) {
        if (!refused && step.find("EQUATES.CLW") != std::string::npos) {
            // Another program leaves a rule that refuses every colour: those adds fail. It lets go of the
            // file at once, as a program holding it open would keep Windows from deleting it.
            sqlite3* other = nullptr;
            sqlite3_open("Equates5.tps", &other);
            refused =
                sqlite3_exec(other,
                             "CREATE TRIGGER refuse BEFORE INSERT ON Records WHEN NEW.NAME LIKE 'COLOR:%' "
                             "BEGIN SELECT RAISE(ABORT, 'refused'); END",
                             nullptr, nullptr, nullptr) == SQLITE_OK;
            sqlite3_close(other);
        }
    });
    cw.dialogs.answers = {runtime::Button::Ok, runtime::Button::Abort};
    const EquateLoadResult result = loader.run(cw.ini);
    EXPECT_TRUE(refused);
    EXPECT_FALSE(result.completed);
    EXPECT_EQ(cw.dialogs.captions(),
              (std::vector<std::string>{"FILE ADD ERROR", "FILE ADD ERROR", "LOAD ABORTED"}));
    EXPECT_NE(cw.dialogs.shown[0].text.find(
                  "||The below Record will not be added:|     Label: COLOR:Black |     Value: 0"),
              std::string::npos);
    EXPECT_NE(cw.dialogs.shown[1].text.find("Label: COLOR:SCROLLBAR"), std::string::npos); // OK went on
    EXPECT_EQ(cw.dialogs.sounds, std::vector<runtime::SystemSound>{runtime::SystemSound::Hand});
    EXPECT_EQ(cw.ini.value("EquateLoad", "Version"), "");
    EXPECT_FALSE(fs::exists("Equates5.tps"));
}

TEST(EquateLoader, AWriteThatCannotBeginAbortsTheLoadWithTheFileError)
{
    Installation cw;
    cw.ini.setValue("EquateLoad", "Version", "4");
    cw.file.setBusyTimeout(std::chrono::milliseconds(50));
    sqlite3* holder = nullptr;
    EquateLoader loader(cw.file, (cw.dir.path() / "cw").string(), cw.dialogs);
    loader.setProgress([&](const std::string& step) {
        if (!holder && step.find("EQUATES.CLW") != std::string::npos) {
            // Another program holds the file for writing: the loader's transaction cannot begin.
            sqlite3_open("Equates5.tps", &holder);
            sqlite3_exec(holder, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        }
    });
    // The other program lets go once the error is shown, before the abort deletes the file (Windows
    // deletes no file that another program holds open).
    bool letGo = false;
    cw.dialogs.onMessage = [&] {
        if (holder && !letGo) {
            sqlite3_exec(holder, "ROLLBACK", nullptr, nullptr, nullptr);
            sqlite3_close(holder);
            letGo = true;
        }
    };
    const EquateLoadResult result = loader.run(cw.ini);
    EXPECT_TRUE(letGo);
    EXPECT_FALSE(result.completed);
    ASSERT_EQ(cw.dialogs.captions(), (std::vector<std::string>{"FILE ERROR", "LOAD ABORTED"}));
    EXPECT_EQ(cw.dialogs.shown[0].text.rfind("An error occured while writing the Equates File||Error: ", 0),
              0u);
    EXPECT_NE(cw.dialogs.shown[0].text.find("(32)"), std::string::npos) << cw.dialogs.shown[0].text;
    EXPECT_EQ(cw.ini.value("EquateLoad", "Version"), "");
    EXPECT_FALSE(fs::exists("Equates5.tps"));
}

TEST(EquateLoader, ACancelStopsAtTheNextStepAsAnAbortDoes)
{
    Installation cw;
    cw.ini.setValue("EquateLoad", "Version", "4");
    EquateLoader loader(cw.file, (cw.dir.path() / "cw").string(), cw.dialogs);
    int steps = 0;
    loader.setProgress([&](const std::string&) { ++steps; });
    loader.setCancelCheck([&] { return steps == 2; }); // as the first source file comes up
    const EquateLoadResult result = loader.run(cw.ini);
    EXPECT_FALSE(result.completed);
    EXPECT_EQ(steps, 2);
    EXPECT_EQ(cw.dialogs.captions(), std::vector<std::string>{"LOAD ABORTED"});
    EXPECT_EQ(cw.ini.value("EquateLoad", "Version"), "");
    EXPECT_FALSE(fs::exists("Equates5.tps"));
}

TEST(EquateLoader, AFileThatCannotBeCreatedIsReported)
{
    Installation cw;
    runtime::KeyedFile nowhere("no\\such\\folder\\Equates5.tps", equateLayout());
    EquateLoader loader(nowhere, "cw", cw.dialogs);
    EXPECT_FALSE(loader.run(cw.ini).completed);
    ASSERT_EQ(cw.dialogs.captions(), std::vector<std::string>{"FILE ERROR"});
    EXPECT_EQ(cw.dialogs.shown[0].text.rfind(
                  "An error occured while Creating/Opening the Equates File||Error: ", 0),
              0u);
}

TEST(ListEntries, FoldersColumnsAndTheForceFlag)
{
    const auto entries =
        readListEntries({"[FILES]", "EQUATES.CLW   Unknown        1", "PATH=%CW%\\Template",
                         "TPL.TPW       Tpl", "PATH=D:\\Other\\", "X.CLW", "[USER]", "42 notafile"},
                        "C:\\C5\\");
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].folder, "C:\\C5\\LIBSRC\\");
    EXPECT_EQ(entries[0].type, "Unknown");
    EXPECT_TRUE(entries[0].forceType);
    EXPECT_EQ(entries[1].folder, "C:\\C5\\TEMPLATE\\");
    EXPECT_FALSE(entries[1].forceType);
    EXPECT_EQ(entries[2].folder, "D:\\OTHER\\");
}

TEST(EquateLoader, AnUnfinishedLoadIsOfferedToWindowsThatShowEquates)
{
    Installation cw;
    cw.ini.setValue("EquateLoad", "Version", "4");
    EXPECT_FALSE(offerUnfinishedEquateLoad(cw.ini, cw.dialogs));
    EXPECT_TRUE(cw.dialogs.shown.empty());
    cw.ini.setValue("EquateLoad", "Version", ""); // a load began and never ended
    cw.dialogs.answers = {runtime::Button::No, runtime::Button::Yes};
    EXPECT_FALSE(offerUnfinishedEquateLoad(cw.ini, cw.dialogs));
    EXPECT_TRUE(offerUnfinishedEquateLoad(cw.ini, cw.dialogs));
    ASSERT_EQ(cw.dialogs.captions(), (std::vector<std::string>{"EQUATES INCOMPLETE", "EQUATES INCOMPLETE"}));
    EXPECT_EQ(cw.dialogs.shown[0].text,
              "The equates file is incomplete: its last load did not finish.||Load the equates now?");
}

TEST(EquateLoader, ASecondLoadIsRefusedWhileAnotherHoldsTheLoad)
{
    Installation cw;
    const runtime::FileLock other = runtime::FileLock::acquire("EquateLoad.lck");
    ASSERT_TRUE(other.locked());
    EquateLoader loader(cw.file, (cw.dir.path() / "cw").string(), cw.dialogs);
    const EquateLoadResult result = loader.run(cw.ini);
    EXPECT_TRUE(result.busy);
    EXPECT_FALSE(result.completed);
    EXPECT_FALSE(cw.ini.hasEntry("EquateLoad", "Version")); // nothing of the other load was touched
    EXPECT_FALSE(fs::exists("Equates5.tps"));
}
