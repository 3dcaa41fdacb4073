#include "ImportFixture.h"

#include "dictionary/TextDictionary.h"
#include "runtime/WinPath.h"

#include <algorithm>
#include <initializer_list>
#include <regex>
#include <utility>

using namespace kestrix;
using namespace kestrix::dictionary;
using dictionary::testing::ImportFixture;
using dictionary::testing::SampleDictionary;
using Row = ImportFixture::Row;

namespace {

std::string shownText(const runtime::testing::ScriptedDialogs& dialogs, const std::string& caption)
{
    for (const runtime::MessageRequest& m : dialogs.shown) {
        if (m.caption == caption)
            return m.text;
    }
    return {};
}

// One expected row of a list: its place, level, name and text (0 or nullptr: not checked).
struct Expected
{
    std::size_t index;
    std::int64_t level;
    const char* field;
    const char* notes;
};

void expectRows(const std::vector<Row>& rows, std::initializer_list<Expected> expected)
{
    for (const Expected& e : expected) {
        SCOPED_TRACE("row " + std::to_string(e.index));
        ASSERT_LT(e.index, rows.size());
        const Row& row = rows[e.index];
        if (e.level != 0) {
            EXPECT_EQ(row.level, e.level);
        }
        if (e.field) {
            EXPECT_EQ(row.field, e.field);
        }
        if (e.notes) {
            EXPECT_EQ(row.notes, e.notes);
        }
    }
}

} // namespace

TEST(DictionaryImport, TheSampleFillsEveryTable)
{
    ImportFixture f;
    const ImportResult result = f.import(SampleDictionary);
    ASSERT_TRUE(result.completed);
    EXPECT_TRUE(f.dialogs.shown.empty()) << f.dialogs.shown.front().text;
    EXPECT_EQ(result.store, "SHOP.dic");
    EXPECT_EQ(result.files, 5);
    EXPECT_EQ(result.aliases, 1);

    DictionaryStore store("SHOP.dic");
    ASSERT_EQ(store.openForBrowsing(f.dialogs), OpenState::Ready);
    const runtime::Record& info = *store.infoRecord();
    EXPECT_EQ(info.text(Dinfo::Version), "3");
    EXPECT_EQ(info.text(Dinfo::ImportName), SampleDictionary);
    EXPECT_GT(info.number(Dinfo::ImportDate), dayNumber(2020, 1, 1));
    EXPECT_GT(info.number(Dinfo::ImportTime), 0);
    EXPECT_EQ(store.tree().records(), result.treeRows);

    runtime::Record dif = store.files().newRecord();
    ASSERT_TRUE(store.fileByName("CUSTOMER", dif));
    EXPECT_EQ(dif.number(Dif::FileId), 1);
    EXPECT_EQ(dif.number(Dif::AliasId), 1);
    EXPECT_EQ(dif.text(Dif::Prefix), "CUS");
    EXPECT_EQ(dif.number(Dif::PreLen), 3);
    EXPECT_EQ(dif.text(Dif::Description), "Customers of the shop");
    EXPECT_EQ(dif.text(Dif::Driver), "TopSpeed");
    EXPECT_EQ(dif.text(Dif::FullName), "CUSTOMER.TPS");
    EXPECT_EQ(dif.text(Dif::FileSpec), "Create, Bindable, Thread");
    EXPECT_EQ(dif.text(Dif::UserOptions), "EXPORT=Yes; OWNER=Sales");

    ASSERT_TRUE(store.fileByName("Supplier", dif));
    EXPECT_EQ(dif.text(Dif::Driver), "ASCII");
    EXPECT_EQ(dif.text(Dif::DriverString), "/FILEBUFFERS=8");
    EXPECT_EQ(dif.text(Dif::UserOptions), ""); // the option belongs to the file after its marker only

    ASSERT_TRUE(store.fileByPrefix("buy", dif));
    EXPECT_EQ(dif.text(Dif::FileName), "Buyer");
    EXPECT_EQ(dif.number(Dif::FileId), 6);
    EXPECT_EQ(dif.number(Dif::AliasId), 1);
    EXPECT_EQ(dif.text(Dif::FileSpec), "ALIAS(Customer),THREAD");
    ASSERT_TRUE(store.fileById(3, dif));
    EXPECT_EQ(dif.text(Dif::FileSpec), "Create, OEM");
}

TEST(DictionaryImport, FieldsKeysAndDeclarationLinesOfAFile)
{
    ImportFixture f;
    ASSERT_TRUE(f.import(SampleDictionary).completed);
    DictionaryStore store("SHOP.dic");
    ASSERT_EQ(store.openForBrowsing(f.dialogs), OpenState::Ready);

    // Keys and their components, numbered with the fields by one counter.
    const std::vector<Row> keys = ImportFixture::rows(store, 1, "2");
    ASSERT_EQ(keys.size(), 8u);
    EXPECT_EQ(keys[0].seq, 1);
    expectRows(keys, {{0, 1, "KeyCustNo", ",NOCASE,OPT,PRIMARY"},
                      {1, 2, "CustNo", ""},
                      {4, 2, "FirstName", ""}, // "+" dropped
                      {5, 1, "ByCity", "INDEX  ,NOCASE"},
                      {6, 2, "City", ""},
                      {7, 2, "Since", "-DESCENDING"}});

    const std::vector<Row> fields = ImportFixture::rows(store, 1, "1");
    ASSERT_EQ(fields.size(), 12u);
    EXPECT_EQ(fields[0].field, "Notes");
    EXPECT_EQ(fields[0].seq, 9);
    EXPECT_EQ(fields[0].notes, "MEMO(2000)");
    EXPECT_EQ(fields[1].field, "Record");
    EXPECT_EQ(fields[1].notes, "RECORD");
    EXPECT_EQ(fields[1].level, 1);
    EXPECT_EQ(fields[2].notes, "LONG,PICTURE(@n_7),VALID(INRANGE(CUS:CustNo,1,9999999))");
    EXPECT_EQ(fields[3].notes, "STRING(30),PICTURE(@s30)   Family name");
    EXPECT_EQ(fields[5].field, "Address");
    EXPECT_EQ(fields[5].level, 1);
    EXPECT_EQ(fields[6].field, "Street");
    EXPECT_EQ(fields[6].level, 2);
    EXPECT_EQ(fields[9].field, "Phones");
    EXPECT_EQ(fields[9].level, 1);
    EXPECT_EQ(fields[9].notes, "STRING(20),DIM(3)");
    EXPECT_EQ(fields[11].field, "Remarks");
    EXPECT_EQ(fields[11].seq, 20); // the continuation line after it is read again, not lost

    // The declaration lines give back the file's text, the consumed "!" lines aside.
    const std::vector<Row> lines = ImportFixture::rows(store, 1, "DEF");
    ASSERT_EQ(lines.size(), 20u);
    EXPECT_EQ(lines[0].seq, 1);
    EXPECT_EQ(lines[0].field + lines[0].notes,
              "Customer FILE,DRIVER('TOPSPEED'),PRE(CUS),CREATE,BINDABLE,THREAD,NAME('CUSTOMER.TPS')  "
              "!Customers of "
              "the shop");
    EXPECT_EQ(lines[0].field.size(), 50u);
    EXPECT_EQ(lines[17].field, "   NAME('REMARKS')");
    EXPECT_EQ(lines[19].field, "  END");

    // The tree key orders a file's rows by kind: fields, keys, lines, relations, aliases.
    const std::vector<runtime::Record> all = store.treeOf(1);
    std::vector<std::string> kinds;
    for (const runtime::Record& r : all) {
        if (kinds.empty() || kinds.back() != r.text(Dtr::Type))
            kinds.push_back(r.text(Dtr::Type));
    }
    EXPECT_EQ(kinds, (std::vector<std::string>{"1", "2", "DEF", "R", "Z"}));
    EXPECT_EQ(store.treeOf(1, "9").size(), 20u); // fields and keys only

    // A file without keys, relations or aliases.
    kinds.clear();
    for (const runtime::Record& r : store.treeOf(5))
        if (kinds.empty() || kinds.back() != r.text(Dtr::Type))
            kinds.push_back(r.text(Dtr::Type));
    EXPECT_EQ(kinds, (std::vector<std::string>{"1", "DEF"}));
}

TEST(DictionaryImport, AliasesRelationsAndLikes)
{
    ImportFixture f;
    ASSERT_TRUE(f.import(SampleDictionary).completed);
    DictionaryStore store("SHOP.dic");
    ASSERT_EQ(store.openForBrowsing(f.dialogs), OpenState::Ready);

    const std::vector<Row> underAlias = ImportFixture::rows(store, 6, "Z");
    ASSERT_EQ(underAlias.size(), 1u);
    EXPECT_EQ(underAlias[0].field, "Customer");
    EXPECT_EQ(underAlias[0].notes, "PREFIX(CUS)");
    EXPECT_EQ(underAlias[0].seq, 1);
    EXPECT_TRUE(ImportFixture::rows(store, 6, "1").empty()); // an alias has no rows of its own
    const std::vector<Row> underBase = ImportFixture::rows(store, 1, "Z");
    ASSERT_EQ(underBase.size(), 1u);
    EXPECT_EQ(underBase[0].field, "Buyer");
    EXPECT_EQ(underBase[0].notes, "PREFIX(BUY)");
    EXPECT_EQ(underBase[0].seq, 2);

    // Customer -> Orders (ONE:MANY) seen from both sides; SEQ goes on from the aliases.
    const std::vector<Row> customer = ImportFixture::rows(store, 1, "R");
    ASSERT_EQ(customer.size(), 4u);
    EXPECT_EQ(customer[0].seq, 3);
    expectRows(customer, {{0, 1, "Orders", "ONE:MANY,RESTRICT,CASCADE"},
                          {1, 2, "KeyCustNo", "KeyCustDate"},
                          {2, 3, "CUS:CustNo", "ORD:CustNo"},
                          {3, 0, "NOLINK", nullptr}});

    // The first relation's other side, then its own with OrderItem.
    const std::vector<Row> orders = ImportFixture::rows(store, 2, "R");
    ASSERT_EQ(orders.size(), 3u + 4u);
    expectRows(orders, {{0, 1, "Customer", "MANY:ONE,RESTRICT,CASCADE"},
                        {1, 2, "KeyCustDate", "KeyCustNo"},
                        {2, 3, "ORD:CustNo", nullptr},
                        {3, 1, "OrderItem", nullptr}});

    const std::vector<Row> product = ImportFixture::rows(store, 3, "R");
    ASSERT_EQ(product.size(), 3u);
    expectRows(product, {{0, 1, nullptr, "ONE:MANY,RESTRICT"}, {1, 2, "KeyProdNo", "NOLINK"}});
    const std::vector<Row> item = ImportFixture::rows(store, 4, "R");
    ASSERT_EQ(item.size(), 5u);
    expectRows(item, {{3, 1, nullptr, "MANY:ONE,RESTRICT"}, {4, 2, "NOLINK", "KeyProdNo"}});

    const struct
    {
        std::int64_t fileId;
        const char* field;
        const char* notes;
    } likes[] = {
        {2, "CustNo", "LONG,PICTURE(@n_7) LIKE(CUS:CustNo)"},
        {4, "price", "DECIMAL(7,2), LIKE(PRO:Price)"},
        {4, "ProdNo", "LONG,PICTURE(@n_7) LIKE(PRO:ProdNo)"},
        {4, "CustNo", "LONG, LIKE(ORD:CustNo)"}, // a LIKE of a LIKE
    };
    for (const auto& like : likes)
        EXPECT_EQ(ImportFixture::notesOf(store, like.fileId, like.field), like.notes) << like.field;
}

TEST(DictionaryImport, FaultsLeaveAConsistentStore)
{
    ImportFixture f;
    std::string text = "[FILES]\n"
                       "Alpha FILE,DRIVER('TOPSPEED'),PRE(A)\n"
                       "Record RECORD,PRE()\n"
                       "Self LIKE(A:Self)\n"
                       "Ping LIKE(A:Pong)\n"
                       "Pong LIKE(A:Ping)\n"
                       "Far LIKE(NOPE:Thing)\n"
                       "Long STRING(10)  !" +
                       std::string(600, 'c') +
                       "\n"
                       "  END\n"
                       "  END\n"
                       "Beta FILE,DRIVER('TOPSPEED'),PRE(B)\n"
                       "Record RECORD,PRE()\n"
                       "Id LONG\n"
                       // Beta's END never comes: Gamma starts while it is open.
                       "Gamma FILE,DRIVER('TOPSPEED'),PRE(G)\n"
                       "Record RECORD,PRE()\n"
                       "Code STRING(4)\n"
                       "[RELATIONS]\n"
                       "  RELATION,ONE:MANY\n"
                       "Alpha FILE(KeyA)\n"
                       "Beta RELATED_FILE(KeyB)\n"
                       "  FILE_TO_RELATED_KEY\n";
    for (int i = 1; i <= 20; ++i)
        text += "    FIELD(A:F" + std::to_string(i) + ",B:F" + std::to_string(i) + ")\n";
    text += "  END\n  RELATED_FILE_TO_KEY\n    FIELD(B:F1,A:F1)\n  END\n  END\n";
    const ImportResult result = f.import(f.write("FAULTS.TXD", text));
    ASSERT_TRUE(result.completed);
    EXPECT_EQ(result.files, 3);

    EXPECT_NE(shownText(f.dialogs, "LINES READ IN PART").find("line 8"), std::string::npos);
    EXPECT_NE(
        shownText(f.dialogs, "VALUES STORED IN PART").find("DTR:NOTES (255 characters): 2 values, line 8"),
        std::string::npos);
    EXPECT_NE(shownText(f.dialogs, "DICTIONARY IMPORT").find("first 16"), std::string::npos);

    DictionaryStore store("FAULTS.dic");
    ASSERT_EQ(store.openForBrowsing(f.dialogs), OpenState::Ready);
    // A LIKE of itself, a circle of two, an unknown prefix: each row stays as written.
    for (const auto& [field, notes] :
         {std::pair{"Self", "LIKE(A:Self)"}, std::pair{"Ping", "LIKE(A:Pong)"},
          std::pair{"Pong", "LIKE(A:Ping)"}, std::pair{"Far", "LIKE(NOPE:Thing)"}})
        EXPECT_EQ(ImportFixture::notesOf(store, 1, field), notes) << field;
    EXPECT_EQ(ImportFixture::notesOf(store, 1, "Long").rfind("STRING(10)   ccc", 0), 0u);

    const std::vector<Row> relation = ImportFixture::rows(store, 1, "R");
    ASSERT_EQ(relation.size(), 2u + 16u);
    EXPECT_EQ(relation.back().field, "A:F16");
    EXPECT_EQ(ImportFixture::rows(store, 2, "R").size(), 3u);
    EXPECT_EQ(ImportFixture::notesOf(store, 3, "Code"), "STRING(4)");
    EXPECT_EQ(ImportFixture::rows(store, 3, "DEF").size(), 3u);
}

// LIKE rows that name an earlier field are rewritten as they are read, the others at the end: both ways
// give each row the type of the first field of that name, through LIKEs of LIKEs in either direction.
TEST(DictionaryImport, LikeRowsTakeTheTypeOfTheNamedFieldBeforeOrAfterThem)
{
    ImportFixture f;
    const std::string text = "[FILES]\n"
                             "Alpha FILE,DRIVER('TOPSPEED'),PRE(A)\n"
                             "Record RECORD,PRE()\n"
                             "Back STRING(20)\n"
                             "Early LIKE(A:Back)\n"
                             "Chain LIKE(a:early)\n"
                             "Ahead LIKE(A:Later),DIM(3)\n"
                             "Wait LIKE(A:Ahead)\n"
                             "Other LIKE(B:Code)\n"
                             "Later DECIMAL(7,2)\n"
                             "Back LONG\n"
                             "Again LIKE(A:Back)\n"
                             "Twice STRING(3)\n"
                             "Twice LIKE(A:Twice)\n"
                             "Wide LIKE(A:Back)   !" +
                             std::string(300, 'w') +
                             "\n"
                             "  END\n"
                             "  END\n"
                             "Beta FILE,DRIVER('TOPSPEED'),PRE(B)\n"
                             "Record RECORD,PRE()\n"
                             "Code BYTE\n"
                             "Late LIKE(A:Other)\n"
                             "Loop LIKE(B:Loop)\n"
                             "  END\n"
                             "  END\n";
    const ImportResult result = f.import(f.write("LIKES.TXD", text));
    ASSERT_TRUE(result.completed);
    // The wide line is cut in its declaration row, in its row as written and in its rewritten row.
    EXPECT_NE(
        shownText(f.dialogs, "VALUES STORED IN PART").find("DTR:NOTES (255 characters): 3 values, line 15."),
        std::string::npos)
        << shownText(f.dialogs, "VALUES STORED IN PART");

    DictionaryStore store("LIKES.dic");
    ASSERT_EQ(store.openForBrowsing(f.dialogs), OpenState::Ready);
    const struct
    {
        std::int64_t fileId;
        const char* field;
        const char* notes;
    } expected[] = {
        {1, "Early", "STRING(20), LIKE(A:Back)"},
        {1, "Chain", "STRING(20), LIKE(a:early)"},         // a LIKE of a LIKE before it
        {1, "Ahead", "DECIMAL(7,2),DIM(3) LIKE(A:Later)"}, // a field after it
        {1, "Wait", "DECIMAL(7,2), LIKE(A:Ahead)"},        // a LIKE before it that had to wait itself
        {1, "Other", "BYTE, LIKE(B:Code)"},                // a field of a later file
        {1, "Again", "STRING(20), LIKE(A:Back)"},          // the first Back, not the second
        {2, "Late", "BYTE, LIKE(A:Other)"},                // a LIKE of an earlier file's waiting LIKE
        {2, "Loop", "LIKE(B:Loop)"},                       // itself: stays as written
    };
    for (const auto& like : expected)
        EXPECT_EQ(ImportFixture::notesOf(store, like.fileId, like.field), like.notes) << like.field;
    EXPECT_EQ(ImportFixture::notesOf(store, 1, "Wide").rfind("STRING(20), LIKE(A:Back)   www", 0), 0u);
    std::vector<std::string> twice;
    for (const Row& row : ImportFixture::rows(store, 1, "1")) {
        if (row.field == "Twice")
            twice.push_back(row.notes);
    }
    EXPECT_EQ(twice, (std::vector<std::string>{"STRING(3)", "STRING(3), LIKE(A:Twice)"}));
}

TEST(DictionaryImport, TheImportsLargerCacheEndsWithTheImport)
{
    ImportFixture f;
    ASSERT_TRUE(f.import(SampleDictionary).completed);
    DictionaryStore store("SHOP.dic");
    ASSERT_EQ(store.openForBrowsing(f.dialogs), OpenState::Ready);
    EXPECT_NE(store.tree().pageCache(), -ImportPageCacheKib);
    EXPECT_EQ(store.tree().pageCache(), store.files().pageCache());
}

TEST(DictionaryImport, ValuesLongerThanTheirFieldsAreReportedByFieldAndLine)
{
    ImportFixture f;
    const std::string fileLabel(55, 'F');
    const std::string fieldLabel(52, 'N');
    const std::string text = "[FILES]\n"
                             "[USEROPTION]\n"
                             "!" +
                             std::string(90, 'u') + "\n" + fileLabel +
                             " FILE,DRIVER('TOPSPEEDPLUS'),PRE(ABCDEFGHIJKLMNOP),NAME('" +
                             std::string(70, 'n') + "') !" + std::string(45, 'd') +
                             "\n"
                             "Record RECORD,PRE()\n"
                             "Name STRING(20)  !" +
                             std::string(300, 'c') + "\n" + fieldLabel +
                             " LONG\n"
                             "  END\n"
                             "  END\n"
                             "Other FILE,PRE(OTH)\n"
                             "Record RECORD\n"
                             "Id LONG\n"
                             "  END\n"
                             "  END\n"
                             "[RELATIONS]\n"
                             "  RELATION,MANY:MANY,RESTRICT\n"
                             "Other FILE(KeyA)\n" +
                             fileLabel.substr(0, 50) +
                             " RELATED_FILE(KeyB)\n"
                             "  END\n";
    const ImportResult result = f.import(f.write("LONG.TXD", text));
    ASSERT_TRUE(result.completed);
    const std::string report = shownText(f.dialogs, "VALUES STORED IN PART");
    const char* expected[] = {
        "DIF:DESCRIPTION (40 characters): 1 value, line 4",
        "DIF:DRIVER (10 characters): 1 value, line 4",
        "DIF:FILENAME (50 characters): 1 value, line 4",
        "DIF:FULLNAME (60 characters): 1 value, line 4",
        "DIF:PREFIX (14 characters): 1 value, line 4",
        "DIF:USEROPTIONS (80 characters): 1 value, line 4",
        "DTR:NOTES (255 characters): 2 values, line 6",
        "DTR:FIELD (50 characters): 1 value, line 7",
    };
    for (const char* line : expected)
        EXPECT_NE(report.find(line), std::string::npos) << line << " in " << report;
    EXPECT_EQ(std::count(report.begin(), report.end(), '|'), 8) << report;

    // What fits is stored, and the store stays whole: the file is found by its stored name.
    DictionaryStore store("LONG.dic");
    ASSERT_EQ(store.openForBrowsing(f.dialogs), OpenState::Ready);
    runtime::Record dif = store.files().newRecord();
    ASSERT_TRUE(store.fileById(1, dif));
    EXPECT_EQ(dif.text(Dif::FileName), fileLabel.substr(0, 50));
    EXPECT_EQ(dif.text(Dif::Prefix), "ABCDEFGHIJKLMN");
    EXPECT_EQ(dif.number(Dif::PreLen), 14);
    EXPECT_EQ(ImportFixture::notesOf(store, 1, "Name"), "STRING(20)   " + std::string(242, 'c'));
    EXPECT_EQ(ImportFixture::notesOf(store, 1, fieldLabel.substr(0, 50)), "LONG");

    // A cardinality longer than the usual three words is kept whole on both sides.
    const std::vector<Row> other = ImportFixture::rows(store, 2, "R");
    ASSERT_EQ(other.size(), 2u);
    EXPECT_EQ(other[0].notes, "MANY:MANY,RESTRICT");
    const std::vector<Row> first = ImportFixture::rows(store, 1, "R");
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0].notes, "~MANY:MANY,RESTRICT");
}

TEST(DictionaryImport, MissingTargetsAreNamedAndSkipped)
{
    ImportFixture f;
    const std::string text = "[FILES]\n"
                             "One FILE,PRE(ONE)\n"
                             "K KEY(ONE:Id)\n"
                             "Record RECORD\n"
                             "Id LONG\n"
                             "  END\n"
                             "  END\n"
                             "[ALIASES]\n"
                             "Ghost ALIAS(Nowhere),PRE(GH)\n"
                             "Twin ALIAS(One)\n"
                             "[RELATIONS]\n"
                             "  RELATION,ONE:MANY\n"
                             "Lost FILE(K)\n"
                             "One RELATED_FILE(K)\n"
                             "  END\n"
                             "  RELATION,ONE:ONE,CASCADE\n"
                             "One FILE(K)\n"
                             "Away RELATED_FILE()\n"
                             "  END\n";
    const ImportResult result = f.import(f.write("MISSING.TXD", text));
    ASSERT_TRUE(result.completed);
    EXPECT_EQ(result.aliases, 1);
    ASSERT_EQ(f.dialogs.shown.size(), 3u);
    EXPECT_EQ(f.dialogs.shown[0].text, "!@# could not find Aliasfile=Nowhere");
    EXPECT_EQ(f.dialogs.shown[1].text, "!@# could not find Relation File 1=Lost");
    EXPECT_EQ(f.dialogs.shown[2].text, "!@# could not find Relation File 2=Away");

    DictionaryStore store("MISSING.dic");
    ASSERT_EQ(store.openForBrowsing(f.dialogs), OpenState::Ready);
    const std::vector<Row> one = ImportFixture::rows(store, 1, "R");
    ASSERT_EQ(one.size(), 2u); // the ONE:ONE relation's first side
    EXPECT_EQ(one[0].notes, "ONE:ONE ,CASCADE");
    EXPECT_EQ(one[1].notes, "NOLINK");
    runtime::Record twin = store.files().newRecord();
    ASSERT_TRUE(store.fileByName("Twin", twin));
    EXPECT_EQ(twin.text(Dif::Prefix), "");
    EXPECT_EQ(twin.number(Dif::FileId), 2);
}

TEST(DictionaryImport, StopBoxesEndTheImportWhenTheUserAborts)
{
    ImportFixture f;
    const std::string text = "[FILES]\nA FILE,PRE(A)\nRecord RECORD\nX LONG\n  END\n  END\n"
                             "[RELATIONS]\n  RELATION,ONE:MANY\nA FILE(K)\nA RELATED_FILE(K)\n"
                             "  FILE_TO_RELATED_KEY\n    FIELD(A:X)\n  END\n  END\n";
    f.dialogs.answers = {runtime::Button::Ignore};
    EXPECT_TRUE(f.import(f.write("BAD.TXD", text)).completed);
    EXPECT_NE(f.dialogs.shown.at(0).text.find("no comma in relationship !@#"), std::string::npos);

    f.dialogs.answers = {runtime::Button::Abort};
    EXPECT_FALSE(f.import(f.write("BAD.TXD", text)).completed);

    // A name without a period: the stop box, then the unknown type.
    f.dialogs.shown.clear();
    f.dialogs.answers = {runtime::Button::Ignore};
    const ImportResult noPeriod = f.import(f.write("NOPERIOD", text));
    EXPECT_FALSE(noPeriod.completed);
    ASSERT_EQ(f.dialogs.shown.size(), 2u);
    EXPECT_NE(f.dialogs.shown[0].text.find("bad DCT file name, period trouble: NOPERIOD"), std::string::npos);
    EXPECT_EQ(f.dialogs.shown[1].text, "Unknown Dictionary File Type: ");
}

TEST(DictionaryImport, ADctIsExportedByTheIdeAndItsTemporaryTextRemoved)
{
    ImportFixture f;
    std::string exportedTo;
    f.ide.onExecute = [&](const std::string& command) {
        const std::regex form(R"(\[ExportDct\((.*),(.*),0\)\])");
        std::smatch m;
        if (!std::regex_match(command, m, form))
            return runtime::DdeResult::failure(1, "bad command");
        exportedTo = m[2];
        std::filesystem::copy_file(SampleDictionary, runtime::resolveWinPath(exportedTo));
        return runtime::DdeResult::success();
    };
    const std::string dct = f.write("SHOP.DCT", "binary dictionary");
    const ImportResult result = f.import(dct);
    ASSERT_TRUE(result.completed);
    EXPECT_EQ(result.files, 5);
    ASSERT_EQ(f.ide.log.size(), 4u);
    EXPECT_EQ(f.ide.log[0], "connect ClarionWin|");
    EXPECT_EQ(f.ide.log[1], "timeout 12000");
    EXPECT_EQ(f.ide.log[2], "execute [ExportDct(" + dct + "," + exportedTo + ",0)]");
    EXPECT_EQ(f.ide.log[3], "disconnect");
    EXPECT_TRUE(std::regex_match(runtime::fileNamePart(exportedTo), std::regex(R"(~[0-9]+\.TXD)")));
    EXPECT_FALSE(runtime::winPathExists(exportedTo));
    EXPECT_EQ(DictionaryImporter::importNameOf("SHOP.dic"), dct);
}

TEST(DictionaryImport, FailuresBeforeTheDeleteKeepTheOldStore)
{
    ImportFixture f;
    ASSERT_TRUE(f.import(SampleDictionary).completed);
    const std::string dct = f.write("SHOP.DCT", "binary dictionary");
    const auto before = std::filesystem::file_size("SHOP.dic");

    f.ide.running = false;
    EXPECT_FALSE(f.import(dct).completed);
    EXPECT_EQ(f.dialogs.shown.back().caption, "CW NOT RUNNING");
    EXPECT_EQ(f.dialogs.shown.back().text, "Unable to make DDE Connection to CW.|You will have to start CW.");

    f.ide.running = true;
    f.ide.onExecute = [](const std::string&) { return runtime::DdeResult::failure(1234, "Export refused"); };
    EXPECT_FALSE(f.import(dct).completed);
    EXPECT_EQ(f.dialogs.shown.back().caption, "DDE ERROR");
    EXPECT_EQ(f.dialogs.shown.back().text.rfind(
                  "An error occured trying to export a dictionary:||DCT: " + dct + "|TXD: ", 0),
              0u);
    EXPECT_NE(f.dialogs.shown.back().text.find("||Error: 1234 Export refused"), std::string::npos);
    EXPECT_EQ(f.ide.log.back(), "disconnect");

    EXPECT_FALSE(f.import(f.write("SHOP.XYZ", "")).completed);
    EXPECT_EQ(f.dialogs.shown.back().text, "Unknown Dictionary File Type: XYZ");

    EXPECT_FALSE(f.import((f.dir.path() / "SHOP.TXD").string()).completed);
    EXPECT_EQ(f.dialogs.shown.back().caption, "OPEN FILE ERROR");
    EXPECT_EQ(f.dialogs.shown.back().text.rfind("An error occured opening the TXD file:||Error: ", 0), 0u);

    EXPECT_EQ(std::filesystem::file_size("SHOP.dic"), before);
    DictionaryStore store("SHOP.dic");
    EXPECT_EQ(store.openForBrowsing(f.dialogs), OpenState::Ready);
    EXPECT_EQ(store.files().records(), 6);
}

TEST(DictionaryImport, MenuAndUpdateModes)
{
    ImportFixture f;
    f.dialogs.fileAnswers = {std::nullopt};
    EXPECT_FALSE(f.importer.importChosen().completed);
    EXPECT_FALSE(std::filesystem::exists("SHOP.dic"));

    f.ini.setValue("Paths", "LastOpen", "C:\\DICTS");
    f.dialogs.fileAnswers = {SampleDictionary};
    ASSERT_TRUE(f.importer.importChosen().completed);
    EXPECT_EQ(f.dialogs.dialogTitles.back(), "Select Dictionary to Import");
    EXPECT_EQ(f.ini.value("Paths", "LastOpen"),
              std::filesystem::path(SampleDictionary).parent_path().string());
    EXPECT_EQ(f.importer.currentDictionary(), "SHOP.dic");

    // The update reads the source again: a changed source gives a changed store.
    const std::string copy =
        f.write("COPY.TXD", "[FILES]\nOnly FILE,PRE(O)\nRecord RECORD\nX LONG\n  END\n  END\n");
    ASSERT_TRUE(f.import(copy).completed);
    f.write("COPY.TXD", "[FILES]\nOnly FILE,PRE(O)\nRecord RECORD\nX LONG\nY LONG\n  END\n  END\n"
                        "Second FILE,PRE(S)\nRecord RECORD\nZ LONG\n  END\n  END\n");
    const ImportResult again = f.importer.reimport("COPY.dic");
    ASSERT_TRUE(again.completed);
    EXPECT_EQ(again.files, 2);
}

TEST(DictionaryImport, CancellingRemovesTheHalfBuiltStore)
{
    ImportFixture f;
    std::string text = "[FILES]\n";
    for (int i = 0; i < 200; ++i)
        text += "F" + std::to_string(i) + " FILE,PRE(P" + std::to_string(i) +
                ")\nRecord RECORD\nX LONG\n  END\n  END\n";
    int asked = 0;
    f.importer.setCancelCheck([&asked] { return ++asked == 2; });
    std::vector<int> percents;
    f.importer.setProgress([&](const std::string&, int percent) { percents.push_back(percent); });
    EXPECT_FALSE(f.import(f.write("BIG.TXD", text)).completed);
    EXPECT_FALSE(std::filesystem::exists("BIG.dic"));
    ASSERT_FALSE(percents.empty());
    EXPECT_LT(percents.back(), 100);
    EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
}
