#include "runtime/KeyedFile.h"
#include "runtime/PackedFields.h"
#include "runtime/testing/ForeignSql.h"
#include "runtime/testing/TempDir.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdint>
#include <limits>

using namespace kestrix::runtime;
namespace fs = std::filesystem;

namespace {

enum { NoteName, NoteText, NoteLines, NoteSize, NoteFlag };

// A record whose key reads one field: the others are packed.
std::shared_ptr<RecordLayout> notes(bool keyOnSize = false)
{
    auto l = std::make_shared<RecordLayout>("N");
    l->addString("NAME", 10);
    l->addString("NOTE", 20);
    l->addString("LINES", 8, 2);
    l->addNumber("SIZE", FieldType::Short);
    l->addNumber("FLAG", FieldType::Byte);
    l->addKey("BYNAME", {NoteName});
    if (keyOnSize)
        l->addKey("BYSIZE", {NoteSize}, false, true, false);
    return l;
}

// The same records as a table with a column for every field, stamped as files were before packing.
constexpr const char* EarlierLayout =
    "CREATE TABLE Records (_ver INTEGER NOT NULL DEFAULT 0, NAME TEXT COLLATE NOCASE NOT NULL DEFAULT '', "
    "NOTE TEXT COLLATE NOCASE NOT NULL DEFAULT '', LINES_1 TEXT COLLATE NOCASE NOT NULL DEFAULT '', "
    "LINES_2 TEXT COLLATE NOCASE NOT NULL DEFAULT '', SIZE INTEGER NOT NULL DEFAULT 0, "
    "FLAG INTEGER NOT NULL DEFAULT 0);"
    "CREATE INDEX \"Records_BYNAME\" ON Records (NAME) WHERE (NAME <> '');"
    "INSERT INTO Records (rowid, _ver, NAME, NOTE, LINES_1, LINES_2, SIZE, FLAG) VALUES "
    "(7, 3, 'beta', 'second', 'b1', '', -2, 1), (3, 0, 'alpha', 'first \xE9', '', 'a2', 300, 0);";
constexpr const char* EarlierStamp =
    "CREATE TABLE \"_KeyedLayout\" (tbl TEXT PRIMARY KEY COLLATE NOCASE, columns TEXT NOT NULL, keys TEXT "
    "NOT "
    "NULL);"
    "INSERT INTO \"_KeyedLayout\" VALUES ('Records', "
    "'_VER:I,NAME:T,NOTE:T,LINES_1:T,LINES_2:T,SIZE:I,FLAG:I', 'BYNAME(NAME)X;');"
    "PRAGMA user_version = 1;";

void runSql(const fs::path& file, const std::string& statement)
{
    EXPECT_EQ(kestrix::runtime::testing::runForeignSql(file, statement), "");
}

// The first column of each row a query returns, as text.
std::vector<std::string> queryRows(const fs::path& file, const std::string& statement)
{
    std::vector<std::string> rows;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.string().c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, statement.c_str(), -1, &stmt, nullptr) == SQLITE_OK) {
            while (sqlite3_step(stmt) == SQLITE_ROW) {
                const auto* text = sqlite3_column_text(stmt, 0);
                rows.emplace_back(text ? reinterpret_cast<const char*>(text) : "");
            }
        }
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return rows;
}

std::vector<std::string> tableColumns(const fs::path& file)
{
    return queryRows(file, "SELECT name FROM pragma_table_info('Records') ORDER BY cid");
}

struct StoredRow
{
    std::int64_t position;
    std::string name, note, line1, line2;
    std::int64_t size, flag;
    bool operator==(const StoredRow&) const = default;
};

std::vector<StoredRow> storedRows(KeyedFile& file)
{
    std::vector<StoredRow> out;
    Record r = file.newRecord();
    file.setOrder(KeyedFile::FileOrder);
    while (file.next(r).ok())
        out.push_back({r.position(), r.text(NoteName), r.text(NoteText), r.text(NoteLines, 1),
                       r.text(NoteLines, 2), r.number(NoteSize), r.number(NoteFlag)});
    return out;
}

} // namespace

TEST(PackedFields, EveryValueReadsBackAndAShortOrOverlongValueIsRefused)
{
    constexpr auto Min = std::numeric_limits<std::int64_t>::min();
    constexpr auto Max = std::numeric_limits<std::int64_t>::max();
    const std::string text("a\0b\xFF", 4);
    std::string packed;
    packText(packed, "");
    packText(packed, text);
    for (const std::int64_t n : {std::int64_t{0}, std::int64_t{-1}, std::int64_t{63}, std::int64_t{-64},
                                 std::int64_t{300}, Min, Max})
        packNumber(packed, n);
    packText(packed, std::string(200, 'x')); // a length of two bytes

    PackedReader reader(packed.data(), packed.size());
    std::string_view read;
    ASSERT_TRUE(reader.text(read));
    EXPECT_EQ(read, "");
    ASSERT_TRUE(reader.text(read));
    EXPECT_EQ(read, text);
    for (const std::int64_t n : {std::int64_t{0}, std::int64_t{-1}, std::int64_t{63}, std::int64_t{-64},
                                 std::int64_t{300}, Min, Max}) {
        std::int64_t number = 7;
        ASSERT_TRUE(reader.number(number));
        EXPECT_EQ(number, n);
    }
    ASSERT_TRUE(reader.text(read));
    EXPECT_EQ(read, std::string(200, 'x'));
    EXPECT_TRUE(reader.atEnd());
    EXPECT_FALSE(reader.text(read)) << "nothing is left";

    // A text longer than the bytes left, and a number whose last byte is missing, are not read.
    std::string cut;
    packText(cut, "abcdef");
    PackedReader shortText(cut.data(), cut.size() - 1);
    EXPECT_FALSE(shortText.text(read));
    std::string big;
    packNumber(big, Max);
    PackedReader shortNumber(big.data(), big.size() - 1);
    std::int64_t number = 0;
    EXPECT_FALSE(shortNumber.number(number));
    const std::string endless(11, '\xFF');
    PackedReader overlong(endless.data(), endless.size());
    EXPECT_FALSE(overlong.number(number));
}

TEST(PackedRecord, FieldsNoKeyReadsAreKeptInOneColumnAndReadBackWhole)
{
    kestrix::runtime::testing::TempDir dir;
    KeyedFile file("NOTES", notes());
    ASSERT_TRUE(file.create().ok());
    ASSERT_TRUE(file.open().ok());
    EXPECT_EQ(tableColumns(file.path()), (std::vector<std::string>{"_ver", "NAME", "_rec"}));

    Record r = file.newRecord();
    r.setText(NoteName, "alpha");
    r.setText(NoteText, "caf\xE9 and more");
    r.setText(NoteLines, "second", 2);
    r.setNumber(NoteSize, -32768);
    r.setNumber(NoteFlag, 255);
    ASSERT_TRUE(file.add(r).ok());
    r.setText(NoteText, "changed");
    r.setText(NoteLines, "first", 1);
    ASSERT_TRUE(file.put(r).ok());
    const std::int64_t position = r.position();

    Record found = file.newRecord();
    found.setText(NoteName, "ALPHA");
    ASSERT_TRUE(file.get(0, found).ok());
    EXPECT_EQ(found.text(NoteText), "changed");
    EXPECT_EQ(found.text(NoteLines, 1), "first");
    EXPECT_EQ(found.text(NoteLines, 2), "second");
    EXPECT_EQ(found.number(NoteSize), -32768);
    EXPECT_EQ(found.number(NoteFlag), 255);
    EXPECT_EQ(found.version(), 1);
    EXPECT_EQ(storedRows(file),
              (std::vector<StoredRow>{{position, "alpha", "changed", "first", "second", -32768, 255}}));

    // A row another program added with only the columns it knows has its packed fields blank.
    file.close();
    runSql(file.path(), "INSERT INTO Records (NAME) VALUES ('bare')");
    ASSERT_TRUE(file.open().ok());
    const std::vector<StoredRow> read = storedRows(file);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[1], (StoredRow{read[1].position, "bare", "", "", "", 0, 0}));
}

TEST(PackedRecord, AFileWithAColumnForEveryFieldIsConvertedWhenOpened)
{
    kestrix::runtime::testing::TempDir dir;
    const std::vector<StoredRow> expected{{3, "alpha", "first \xE9", "", "a2", 300, 0},
                                          {7, "beta", "second", "b1", "", -2, 1}};
    // Stamped by the earlier layout, and made before stamps (or by another program).
    for (const std::string stamp : {EarlierStamp, ""}) {
        SCOPED_TRACE(stamp.empty() ? "unstamped" : "stamped");
        runSql("OLD.tps", std::string(EarlierLayout) + stamp);
        KeyedFile file("OLD", notes());
        ASSERT_TRUE(file.open().ok()) << file.lastError().describe();
        EXPECT_EQ(tableColumns(file.path()), (std::vector<std::string>{"_ver", "NAME", "_rec"}));
        EXPECT_EQ(queryRows(file.path(), "PRAGMA user_version"), std::vector<std::string>{"2"});
        // Every record keeps its values, its place in file order and its version.
        EXPECT_EQ(storedRows(file), expected);
        Record r = file.newRecord();
        r.setText(NoteName, "beta");
        ASSERT_TRUE(file.get(0, r).ok());
        EXPECT_EQ(r.version(), 3);
        r.setText(NoteText, "edited");
        EXPECT_TRUE(file.put(r).ok()) << "the version read is the one on file";
        file.close();

        // The next open finds it current and changes nothing.
        ASSERT_TRUE(file.open().ok());
        EXPECT_EQ(storedRows(file)[1].note, "edited");
        file.close();
        fs::remove("OLD.tps");
    }
}

TEST(PackedRecord, AFileItCannotReadIsRefusedAndLeftAsItIs)
{
    kestrix::runtime::testing::TempDir dir;
    // Other fields than the layout's: not converted.
    runSql("OTHER.tps", std::string(EarlierLayout) + "ALTER TABLE Records ADD COLUMN EXTRA TEXT;");
    KeyedFile other("OTHER", notes());
    EXPECT_EQ(other.open().code, ErrorCode::InvalidRecordDeclaration);
    EXPECT_EQ(tableColumns("OTHER.tps").size(), 8u);

    // Made by a later version of this layer.
    KeyedFile later("LATER", notes());
    ASSERT_TRUE(later.create().ok());
    runSql("LATER.tps", "PRAGMA user_version = 3");
    EXPECT_EQ(later.open().code, ErrorCode::InvalidRecordDeclaration);

    // A packed value that does not hold the fields is a damaged file, by every way of reading it.
    KeyedFile damaged("DAMAGED", notes());
    ASSERT_TRUE(damaged.create().ok());
    ASSERT_TRUE(damaged.open().ok());
    Record r = damaged.newRecord();
    r.setText(NoteName, "alpha");
    r.setText(NoteText, "a note");
    ASSERT_TRUE(damaged.add(r).ok());
    damaged.close();
    runSql("DAMAGED.tps", "UPDATE Records SET _rec = substr(_rec, 1, 3)");
    ASSERT_TRUE(damaged.open().ok());
    Record read = damaged.newRecord();
    damaged.setOrder(KeyedFile::FileOrder);
    EXPECT_TRUE(damaged.next(read).isDamaged());
    read.setText(NoteName, "alpha");
    EXPECT_TRUE(damaged.get(0, read).isDamaged());
    EXPECT_TRUE(damaged.fetch(r.position(), read).isDamaged());
}

TEST(PackedRecord, AKeyOnAPackedFieldIsBuiltByARebuildThatMovesTheField)
{
    kestrix::runtime::testing::TempDir dir;
    KeyedFile before("MOVE", notes());
    ASSERT_TRUE(before.create().ok());
    ASSERT_TRUE(before.open().ok());
    for (const auto& [name, size] : {std::pair{"small", 1}, {"large", 9}}) {
        Record r = before.newRecord();
        r.setText(NoteName, name);
        r.setText(NoteText, std::string(name) + " note");
        r.setNumber(NoteSize, size);
        ASSERT_TRUE(before.add(r).ok());
    }
    before.close();

    KeyedFile after("MOVE", notes(true));
    EXPECT_EQ(after.open().code, ErrorCode::BadKeyFile);
    ASSERT_TRUE(after.rebuildKeys().ok()) << after.lastError().describe();
    ASSERT_TRUE(after.open().ok());
    EXPECT_EQ(tableColumns(after.path()), (std::vector<std::string>{"_ver", "NAME", "SIZE", "_rec"}));
    Record r = after.newRecord();
    r.setNumber(NoteSize, 9);
    ASSERT_TRUE(after.get(1, r).ok());
    EXPECT_EQ(r.text(NoteName), "large");
    EXPECT_EQ(r.text(NoteText), "large note");
    after.close();
    EXPECT_EQ(before.open().code, ErrorCode::BadKeyFile) << "the earlier declaration is told apart";
}
