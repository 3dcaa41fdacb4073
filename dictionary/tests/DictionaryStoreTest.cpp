#include "dictionary/DictionaryStore.h"
#include "runtime/testing/ScriptedDialogs.h"
#include "runtime/testing/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace kestrix;
using namespace kestrix::dictionary;
using runtime::Record;

namespace {

struct StoreFixture
{
    runtime::testing::TempDir dir;
    runtime::testing::ScriptedDialogs dialogs;
    DictionaryStore store{"TEST.dic"};

    StoreFixture()
    {
        std::string failing;
        EXPECT_FALSE(store.create(failing));
        EXPECT_FALSE(store.openAll(failing));
    }
    Record file(const std::string& name, std::int64_t id, const std::string& prefix)
    {
        Record r = store.files().newRecord();
        r.setText(Dif::FileName, name);
        r.setNumber(Dif::FileId, id);
        r.setNumber(Dif::AliasId, id);
        r.setText(Dif::Prefix, prefix);
        return r;
    }
    runtime::FileError row(std::int64_t id, const std::string& type, std::int64_t seq,
                           const std::string& field)
    {
        Record r = store.tree().newRecord();
        r.setNumber(Dtr::FileId, id);
        r.setText(Dtr::Type, type);
        r.setNumber(Dtr::Seq, seq);
        r.setNumber(Dtr::Level, 1);
        r.setText(Dtr::Name, field);
        return store.tree().add(r);
    }
};

} // namespace

TEST(DictionaryStore, KeysOfDicFiles)
{
    StoreFixture f;
    Record a = f.file("Customer", 1, "CUS");
    ASSERT_FALSE(f.store.files().add(a));
    Record twin = f.file("CUSTOMER", 2, "CU2");
    EXPECT_EQ(f.store.files().add(twin).code, runtime::ErrorCode::DuplicateKey); // names ignore case
    Record sameId = f.file("Other", 1, "OTH");
    EXPECT_EQ(f.store.files().add(sameId).code, runtime::ErrorCode::DuplicateKey);
    Record alias1 = f.file("Alias1", 3, "");
    Record alias2 = f.file("Alias2", 4, "");
    EXPECT_FALSE(f.store.files().add(alias1)); // blank prefixes may repeat
    EXPECT_FALSE(f.store.files().add(alias2));

    Record found = f.store.files().newRecord();
    EXPECT_TRUE(f.store.fileByName("customer", found));
    EXPECT_EQ(found.number(Dif::FileId), 1);
    EXPECT_TRUE(f.store.fileByPrefix("cus", found));
    EXPECT_TRUE(f.store.fileById(4, found));
    EXPECT_EQ(found.text(Dif::FileName), "Alias2");
    EXPECT_FALSE(f.store.fileByPrefix("", found)); // blank keys hold no records
    EXPECT_EQ(f.store.files().readAll(Dif::ByPrefix).size(), 1u);
}

TEST(DictionaryStore, TreeOrderAndFieldLookup)
{
    StoreFixture f;
    ASSERT_FALSE(f.row(1, "DEF", 1, "Customer FILE"));
    ASSERT_FALSE(f.row(1, "Z", 9, "Buyer"));
    ASSERT_FALSE(f.row(1, "2", 2, "Name"));
    ASSERT_FALSE(f.row(1, "1", 1, "Name"));
    ASSERT_FALSE(f.row(1, "R", 8, "Orders"));
    ASSERT_FALSE(f.row(2, "1", 1, "NAME"));
    EXPECT_EQ(f.row(1, "1", 1, "Other").code, runtime::ErrorCode::DuplicateKey);

    std::vector<std::string> order;
    for (const Record& r : f.store.treeOf(1))
        order.push_back(r.text(Dtr::Type));
    EXPECT_EQ(order, (std::vector<std::string>{"1", "2", "DEF", "R", "Z"}));
    EXPECT_EQ(f.store.treeOf(1, "9").size(), 2u);
    EXPECT_EQ(f.store.treeOf(2).size(), 1u);

    Record r = f.store.tree().newRecord();
    ASSERT_TRUE(f.store.findRow("name", 1, RowType::Key, r)); // any case, the wanted kind
    EXPECT_EQ(r.number(Dtr::Seq), 2);
    ASSERT_TRUE(f.store.findRow("nAmE", 2, RowType::Field, r));
    EXPECT_EQ(r.number(Dtr::FileId), 2);
    EXPECT_FALSE(f.store.findRow("Name", 3, RowType::Field, r));
    EXPECT_FALSE(f.store.findRow("Buyer", 1, RowType::Field, r));
}

TEST(DictionaryStore, OpeningForBrowsingChecksTheVersion)
{
    StoreFixture f;
    Record info = f.store.info().newRecord();
    info.setText(Dinfo::Version, "2");
    info.setText(Dinfo::ImportName, "C:\\APP\\TEST.DCT");
    ASSERT_FALSE(f.store.info().add(info));
    f.store.close();
    EXPECT_EQ(f.store.openForBrowsing(f.dialogs), OpenState::OlderVersion);
    EXPECT_EQ(f.store.infoRecord()->text(Dinfo::ImportName), "C:\\APP\\TEST.DCT");
    EXPECT_FALSE(f.store.files().isOpen());

    EXPECT_TRUE(f.dialogs.shown.empty());
}

TEST(DictionaryStore, MissingTablesAreReportedByName)
{
    StoreFixture f;
    f.store.close();
    // No container at all: DicInfo cannot be opened.
    DictionaryStore none("NONE.dic");
    EXPECT_EQ(none.openForBrowsing(f.dialogs), OpenState::Missing);
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_EQ(f.dialogs.shown[0].caption, "FILE ERROR");
    EXPECT_EQ(f.dialogs.shown[0].text.rfind("Open DICInfo File|Error: 2-", 0), 0u) << f.dialogs.shown[0].text;

    // An empty DicInfo holds no dictionary either.
    f.dialogs.shown.clear();
    EXPECT_EQ(f.store.openForBrowsing(f.dialogs), OpenState::Missing);
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_EQ(f.dialogs.shown[0].text.rfind("Open DICInfo File|Error: ", 0), 0u);

    // A current DicInfo without the other two tables.
    {
        runtime::KeyedFile info("HALF.dic\\!DicInfo", dicInfoLayout());
        ASSERT_FALSE(info.create());
        ASSERT_FALSE(info.open());
        Record r = info.newRecord();
        r.setText(Dinfo::Version, CurrentStoreVersion);
        ASSERT_FALSE(info.add(r));
    }
    f.dialogs.shown.clear();
    DictionaryStore half("HALF.dic");
    EXPECT_EQ(half.openForBrowsing(f.dialogs), OpenState::Failed);
    EXPECT_FALSE(half.files().isOpen());
    EXPECT_FALSE(half.info().isOpen());
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_EQ(f.dialogs.shown[0].caption, "FILE OPEN ERROR");
    EXPECT_EQ(f.dialogs.shown[0].text.rfind("An error occured while opening the below file.||Error: ", 0),
              0u);
    EXPECT_NE(f.dialogs.shown[0].text.find("|File: HALF.dic\\!DicFiles"), std::string::npos)
        << f.dialogs.shown[0].text;
}

TEST(DictionaryStore, AnOlderStoreIsUpgradedToVersionOne)
{
    runtime::testing::TempDir dir;
    runtime::testing::ScriptedDialogs dialogs;
    {
        runtime::KeyedFile older("OLD.dic\\!DicTrev1", dicTrev1Layout());
        ASSERT_FALSE(older.create());
        ASSERT_FALSE(older.open());
        Record r = older.newRecord();
        r.setNumber(Dtrv1::FileId, 0);
        r.setText(Dtrv1::Type, "I");
        r.setNumber(Dtrv1::Seq, 1);
        r.setText(Dtrv1::Notes, "C:\\OLD\\SHOP.DCT");
        ASSERT_FALSE(older.add(r));
    }
    DictionaryStore store("OLD.dic");
    EXPECT_EQ(store.openForBrowsing(dialogs), OpenState::OlderVersion);
    ASSERT_TRUE(store.infoRecord());
    EXPECT_EQ(store.infoRecord()->text(Dinfo::Version), "1");
    EXPECT_EQ(store.infoRecord()->text(Dinfo::ImportName), "C:\\OLD\\SHOP.DCT");

    // Without the information row nothing is made.
    {
        runtime::KeyedFile older("EMPTY.dic\\!DicTrev1", dicTrev1Layout());
        ASSERT_FALSE(older.create());
    }
    DictionaryStore empty("EMPTY.dic");
    EXPECT_EQ(empty.openForBrowsing(dialogs), OpenState::Missing);
    EXPECT_FALSE(empty.upgradeOlder());
}

TEST(DictionaryStore, AnUnreadableInfoTableIsReported)
{
    runtime::testing::TempDir dir;
    runtime::testing::ScriptedDialogs dialogs;
    std::ofstream("BROKEN.dic") << "this is not a store at all, just some text that fills a page";
    DictionaryStore store("BROKEN.dic");
    EXPECT_EQ(store.openForBrowsing(dialogs), OpenState::Failed);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text.rfind("Open DICInfo File|Error: ", 0), 0u);
}
