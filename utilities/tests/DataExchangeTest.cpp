#include "utilities/DataExchange.h"

#include "data/DataFileNames.h"
#include "message/MessageInsertRecord.h"
#include "message/MessageRecord.h"
#include "runtime/testing/ScriptedDialogs.h"
#include "runtime/testing/TempDir.h"
#include "utilities/CodeLibrary.h"
#include "utilities/CodeStoreRecord.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

namespace kestrix::utilities {
namespace {

namespace Mes = message::Mes;
namespace Mi = message::Mi;

// The four files of one data directory.
struct Store
{
    explicit Store(const std::filesystem::path& folder)
        : made(std::filesystem::create_directories(folder)),
          snippets((folder / data::FileName::CodeLibrary).string(), snippetLayout()),
          types((folder / "CodeStor").string() + "\\!CodeType", codeTypeLayout()),
          messages((folder / data::FileName::Messages).string(), message::messageLayout()),
          inserts((folder / data::FileName::MessageInserts).string(), message::messageInsertLayout())
    {
        for (runtime::KeyedFile* f : {&snippets, &types, &messages, &inserts}) {
            EXPECT_TRUE(f->createIfMissing().ok());
            EXPECT_TRUE(f->open().ok());
        }
    }
    ExchangeFiles files() { return {&snippets, &types, &messages, &inserts}; }
    void addMessage(const std::string& description, const std::string& text)
    {
        runtime::Record r = messages.newRecord();
        r.setText(Mes::Description, description);
        r.setText(Mes::Text, text);
        r.setNumber(Mes::Button, 1, 2);
        ASSERT_TRUE(messages.add(r).ok());
    }
    void addInsert(const std::string& text)
    {
        runtime::Record r = inserts.newRecord();
        message::setInsertText(r, text);
        r.setNumber(Mi::Curly, 1);
        ASSERT_TRUE(inserts.add(r).ok());
    }

    bool made; // the folder exists before the files are named in it
    runtime::KeyedFile snippets, types, messages, inserts;
    runtime::testing::ScriptedDialogs dialogs;
    CodeLibrary library{snippets, types, dialogs};
};

class DataExchangeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(from.library.addType("Empty"));
        ASSERT_TRUE(from.library.addType("SQL"));
        ASSERT_TRUE(from.library.addSnippet({"SQL", "Select", "SELECT *\r\n  FROM _{Table}_"}));
        ASSERT_TRUE(from.library.addSnippet({"Loops", "Each caf\xe9", "LOOP\r\nEND"}));
        from.addMessage("Ask", "Sure?\tReally");
        from.addInsert("CLIP(Name)");
    }

    runtime::testing::TempDir dir;
    Store from{"from"};
    Store to{"to"};
};

TEST_F(DataExchangeTest, RoundTripIntoAnEmptyStore)
{
    ExchangeCounts counts;
    const std::string text = exportText(from.files(), {}, &counts);
    EXPECT_EQ(counts.types, 2);
    EXPECT_EQ(counts.snippets, 2);
    EXPECT_EQ(counts.messages, 1);
    EXPECT_EQ(counts.inserts, 1);
    EXPECT_NE(text.find("caf\xc3\xa9"), std::string::npos); // UTF-8 in the file

    const ImportPlan plan = planImport(text, to.files());
    ASSERT_EQ(plan.error, "");
    EXPECT_EQ(plan.duplicates, 0);
    const ImportReport report = applyImport(plan, to.files(), DuplicateChoice::Skip);
    ASSERT_EQ(report.error, "");
    EXPECT_EQ(importSummary(report),
              "added 7, replaced 0, skipped 0"); // 3 types: "Loops" came with its snippet
    EXPECT_EQ(to.library.types(), (std::vector<std::string>{"Empty", "Loops", "SQL"}));
    EXPECT_EQ(to.library.allSnippets(), from.library.allSnippets());
    const auto messages = to.messages.readAll(Mes::ByDescription);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].sameValues(from.messages.readAll(Mes::ByDescription)[0]));
    EXPECT_EQ(message::insertText(to.inserts.readAll(Mi::Key).at(0)), "CLIP(Name)");
}

TEST_F(DataExchangeTest, SelectionLeavesKindsOut)
{
    const std::string text = exportText(from.files(), {false, true, false});
    EXPECT_EQ(text.find("snippets"), std::string::npos);
    EXPECT_EQ(text.find("inserts"), std::string::npos);
    EXPECT_NE(text.find("messages"), std::string::npos);
}

TEST_F(DataExchangeTest, DuplicatesAreSkippedReplacedOrKeptBoth)
{
    const std::string text = exportText(from.files(), {});
    ASSERT_TRUE(to.library.addType("sql"));
    ASSERT_TRUE(to.library.addSnippet({"SQL", "SELECT", "old"}));
    to.addMessage("ASK", "old text");

    ImportPlan plan = planImport(text, to.files());
    ASSERT_EQ(plan.error, "");
    EXPECT_EQ(plan.duplicates, 2);
    EXPECT_EQ(plan.firstDuplicate, "snippet \"SQL / Select\"");

    struct Case
    {
        DuplicateChoice choice;
        const char* summary;
        std::size_t snippets;
        const char* code;
    };
    for (const Case& c :
         {Case{DuplicateChoice::Skip, "added 4, replaced 0, skipped 2", 2, "old"},
          Case{DuplicateChoice::Replace, "added 4, replaced 2, skipped 0", 2, "SELECT *\r\n  FROM _{Table}_"},
          Case{DuplicateChoice::KeepBoth, "added 6, replaced 0, skipped 0", 3,
               "SELECT *\r\n  FROM _{Table}_"}}) {
        runtime::testing::TempDir fresh;
        Store store(".");
        ASSERT_TRUE(store.library.addType("sql"));
        ASSERT_TRUE(store.library.addSnippet({"SQL", "SELECT", "old"}));
        store.addMessage("ASK", "old text");
        const ImportReport report = applyImport(planImport(text, store.files()), store.files(), c.choice);
        ASSERT_EQ(report.error, "");
        EXPECT_EQ(importSummary(report), c.summary);
        const auto sql = store.library.snippets("SQL");
        EXPECT_EQ(store.library.allSnippets().size(), c.snippets);
        EXPECT_EQ(sql.back().code, c.code);
        EXPECT_EQ(store.library.types().size(), 3u); // "sql" is not added again as "SQL"
    }
}

TEST_F(DataExchangeTest, RefusedFilesChangeNothing)
{
    const std::string good = exportText(from.files(), {});
    std::string newer = good;
    newer.replace(newer.find("\"version\": 1"), 12, "\"version\": 2");
    std::string longType = good;
    longType.replace(longType.find("\"Empty\""), 7, "\"ElevenChars\"");
    std::string wrongType = good;
    wrongType.replace(wrongType.find("\"curly\": 1"), 10, "\"curly\": \"1\"");
    std::string unknownField = good;
    unknownField.replace(unknownField.find("\"curly\": 1"), 10, "\"curly\": 1, \"colour\": 3");
    std::string badChar = good;
    badChar.replace(badChar.find("Select"), 6, "Sel\xe2\x82\xact"); // the euro sign is in Windows-1252
    std::string outside = good;
    outside.replace(outside.find("Select"), 6, "Sel\xe2\x88\x9e"); // infinity is not

    struct Case
    {
        std::string text;
        const char* error;
    };
    const Case cases[] = {
        {"\x01\x02garbage{", "The file is not a Kestrix data exchange file; nothing was imported."},
        {"{\"format\": \"other\"}", "The file is not a Kestrix data exchange file; nothing was imported."},
        {newer, "The file was written by a newer version of Kestrix (format version 2, this one reads 1); "
                "nothing was imported."},
        {longType,
         "Entry 1 of \"codeTypes\": CDT:TYPE holds at most 10 characters, not 11. Nothing was imported."},
        {wrongType, "Entry 1 of \"inserts\": MI:CURLY must be a whole number. Nothing was imported."},
        {unknownField, "Entry 1 of \"inserts\": has a field \"colour\" that this version does not know. "
                       "Nothing was imported."},
        {outside,
         "Entry 2 of \"snippets\": CDS:NAME holds a character that Windows-1252 does not have. Nothing was "
         "imported."},
    };
    for (const Case& c : cases) {
        const ImportPlan plan = planImport(c.text, to.files());
        EXPECT_EQ(plan.error, c.error);
        EXPECT_EQ(applyImport(plan, to.files(), DuplicateChoice::Replace).error, c.error);
    }
    EXPECT_TRUE(to.library.types().empty());
    EXPECT_TRUE(to.library.allSnippets().empty());
    EXPECT_EQ(to.messages.records(), 0);
    EXPECT_EQ(to.inserts.records(), 0);
    EXPECT_EQ(planImport(badChar, to.files()).error, "");
}

// Every byte Windows-1252 has a character for, line ends and blanks at either end included.
std::string randomText(std::mt19937& random, std::size_t maxLength)
{
    std::uniform_int_distribution<std::size_t> length(1, maxLength);
    std::uniform_int_distribution<int> byte(1, 255);
    std::string text;
    for (std::size_t n = length(random); text.size() < n;) {
        const auto c = static_cast<unsigned char>(byte(random));
        if (c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D)
            continue; // unassigned in Windows-1252
        text += static_cast<char>(c);
    }
    if (text.front() == ' ')
        text.front() = 'x'; // a key must not be blank
    return text;
}

TEST(DataExchangeRoundTrip, RandomRecordsComeBackUnchanged)
{
    runtime::testing::TempDir dir;
    Store source("a");
    Store target("b");
    std::mt19937 random(20261208);
    for (int i = 0; i < 150; ++i) {
        runtime::Record snippet = source.snippets.newRecord();
        snippet.setText(Cds::Type, randomText(random, Cds::TypeLength));
        snippet.setText(Cds::Name, randomText(random, Cds::NameLength));
        snippet.setText(Cds::Code, randomText(random, 600));
        ASSERT_TRUE(source.snippets.add(snippet).ok());
        runtime::Record message = source.messages.newRecord();
        message.setText(Mes::Description, randomText(random, 40));
        message.setText(Mes::Text, randomText(random, 1000));
        message.setNumber(Mes::Button, static_cast<std::int64_t>(random() % 2),
                          1 + static_cast<int>(random() % 8));
        message.setText(Mes::ButtonName, randomText(random, 15), 3);
        ASSERT_TRUE(source.messages.add(message).ok());
        runtime::Record insert = source.inserts.newRecord();
        message::setInsertText(insert, randomText(random, Mi::TextLength));
        insert.setNumber(Mi::Clip, static_cast<std::int64_t>(random() % 2));
        ASSERT_TRUE(source.inserts.add(insert).ok());
    }
    const ImportPlan plan = planImport(exportText(source.files(), {}), target.files());
    ASSERT_EQ(plan.error, "");
    ASSERT_EQ(applyImport(plan, target.files(), DuplicateChoice::KeepBoth).error, "");
    for (const auto& [from, to] :
         {std::pair{&source.snippets, &target.snippets}, std::pair{&source.messages, &target.messages},
          std::pair{&source.inserts, &target.inserts}}) {
        const auto before = from->readAll(runtime::KeyedFile::FileOrder);
        const auto after = to->readAll(runtime::KeyedFile::FileOrder);
        ASSERT_EQ(before.size(), after.size()) << from->name();
        for (std::size_t i = 0; i < before.size(); ++i) {
            bool found = false;
            for (const runtime::Record& r : after)
                found = found || r.sameValues(before[i]);
            EXPECT_TRUE(found) << from->name() << " record " << i;
        }
    }
}

TEST_F(DataExchangeTest, ExportIntoAFolderThatCannotBeWritten)
{
    const std::string error = writeExport("missing/folder/out.json", exportText(from.files(), {}));
    EXPECT_EQ(error.rfind("The export file cannot be written: ", 0), 0u);
    EXPECT_FALSE(std::filesystem::exists("missing"));
}

} // namespace
} // namespace kestrix::utilities
