#include "dictionary/FileTree.h"
#include "ImportFixture.h"
#include "dictionary/BrowseTexts.h"
#include "dictionary/DictionaryQualifier.h"
#include "dictionary/FieldCode.h"
#include "dictionary/FileCode.h"

#include <gtest/gtest.h>

#include <map>

using namespace kestrix::dictionary;
using kestrix::dictionary::testing::ImportFixture;
using kestrix::dictionary::testing::SampleDictionary;

namespace {

struct ImportedShop : ImportFixture
{
    std::unique_ptr<DictionaryStore> store;
    ImportedShop()
    {
        EXPECT_TRUE(import(SampleDictionary).completed);
        store = std::make_unique<DictionaryStore>("SHOP.dic");
        EXPECT_EQ(store->openForBrowsing(dialogs), OpenState::Ready);
    }
    FileTree tree(const std::string& file, int width = 20)
    {
        kestrix::runtime::Record dif = store->files().newRecord();
        EXPECT_TRUE(store->fileByName(file, dif)) << file;
        return loadFileTree(*store, dicFileOf(dif), width);
    }
};

std::vector<std::string> texts(const FileTree& tree)
{
    std::vector<std::string> out;
    for (const TreeLine& l : tree.lines)
        out.push_back(l.type + "|" + std::to_string(l.level) + "|" + l.text);
    return out;
}

} // namespace

TEST(DictionaryQualifier, FollowsThePrefix)
{
    struct Case
    {
        const char* prefix;
        const char* expected;
    };
    const Case cases[] = {{"", ""},         {"   ", ""},       {"1", "Customer."}, {"CUS", "CUS:"},
                          {"Cus.", "Cus."}, {"CUS  ", "CUS:"}, {"11", "11:"}};
    for (const Case& c : cases)
        EXPECT_EQ(qualifierOf("Customer", c.prefix), c.expected) << '"' << c.prefix << '"';
}

TEST(FileTree, CustomerShowsHeadingsCollapsedKeysRelationsAndAliases)
{
    ImportedShop shop;
    const FileTree t = shop.tree("Customer");
    EXPECT_EQ(t.qualifier, "CUS:");
    EXPECT_TRUE(t.hasMemo);
    EXPECT_EQ(t.uniqueKeys,
              (std::vector<std::string>{"CUS:KeyCustNo"})); // KeyName has DUP, ByCity is an INDEX
    const std::vector<std::string> lines = texts(t);
    const std::vector<std::string> expected = {
        "H1|1|Customer",
        "1|2|Notes               MEMO(2000)",
        "1|2|Record              RECORD",
        "1|2|CustNo              LONG,PICTURE(@n_7),VALID(INRANGE(CUS:CustNo,1,9999999))",
        "1|2|LastName            STRING(30),PICTURE(@s30)   Family name",
        "1|2|FirstName           STRING(20)",
        "1|2|Address             GROUP",
        "1|3|Street              STRING(40)",
        "1|3|City                STRING(30)",
        "1|3|Zip                 STRING(10)",
        "1|2|Phones[]            STRING(20),DIM(3)",
        "1|2|Since               LONG,PICTURE(@d6)",
        "1|2|Remarks             STRING(120),|",
        "H2|1|KEYS",
        "2|-2|KeyCustNo           ,NOCASE,OPT,PRIMARY",
        "2|3|CustNo              ",
        "2|-2|KeyName             ,DUP,NOCASE",
        "2|3|LastName            ",
        "2|3|FirstName           ",
        "2|-2|ByCity              INDEX  ,NOCASE",
        "2|3|City                ",
        "2|3|Since               -DESCENDING",
        "HR|1| RELATIONSHIPS",
        "R|2|Orders <->>         ONE:MANY,RESTRICT,CASCADE",
        "R|3|KeyCustNo           KeyCustDate",
        "R|4|CUS:CustNo = ORD:CustNo",
        "R|4|NOLINK = ORD:Date",
        "HZ|1| ALIAS",
        "Z|2|Buyer               PREFIX(BUY)",
    };
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(t.lines[3].field, "CUS:CustNo");
    EXPECT_EQ(t.lines[14].field, "CUS:KeyCustNo");
    EXPECT_EQ(t.lines[15].field, "CUS:CustNo");
    EXPECT_EQ(keyLineOf(t, 21), 19);
    EXPECT_EQ(keyLineOf(t, 3), -1);
}

TEST(FileTree, AliasShowsBaseFieldsButItsOwnRelationsAndDeclaration)
{
    ImportedShop shop;
    const FileTree buyer = shop.tree("Buyer");
    const FileTree customer = shop.tree("Customer");
    EXPECT_EQ(buyer.qualifier, "BUY:");
    ASSERT_FALSE(buyer.lines.empty());
    EXPECT_EQ(buyer.lines[0].text, "Buyer");
    EXPECT_EQ(buyer.lines[3].field, "BUY:CustNo");
    EXPECT_EQ(buyer.uniqueKeys, (std::vector<std::string>{"BUY:KeyCustNo"}));
    // No relations of its own; its alias line names the base file.
    EXPECT_EQ(buyer.lines.back().text.substr(0, 8), "Customer");
    EXPECT_EQ(buyer.lines[buyer.lines.size() - 2].text, " ALIAS");
    for (const TreeLine& l : buyer.lines)
        EXPECT_NE(l.type, LineType::Relation);
    // File Specification of an alias is the base file's declaration.
    EXPECT_EQ(fileMenuChoice(true, 12, buyer).lines, customer.declaration);
    ASSERT_GE(customer.declaration.size(), 3u);
    EXPECT_EQ(customer.declaration[0],
              "Customer FILE,DRIVER('TOPSPEED'),PRE(CUS),CREATE,BINDABLE,THREAD,NAME('CUSTOMER.TPS')  "
              "!Customers of "
              "the shop");
    EXPECT_EQ(customer.declaration[1], "KeyCustNo KEY(CUS:CustNo),NOCASE,OPT,PRIMARY");
}

TEST(FileTree, RelationArrowsAndNoKeysNoFields)
{
    EXPECT_EQ(relationArrow("ONE:MANY"), " <->>");
    EXPECT_EQ(relationArrow("MANY:ONE"), " <<->");
    EXPECT_EQ(relationArrow("ONE:ONE "), " <--->");
    EXPECT_EQ(relationArrow("~MANY:MANY"), " ????");
    EXPECT_EQ(relationArrow(""), " ????");

    const DicFile keysOnly{"Codes", 7, 7, "COD"};
    const std::vector<TreeRow> rows = {{7, "2", 1, 1, "ByCode", ",DUP"}, {7, "2", 2, 2, "Code", ""}};
    const FileTree t = buildFileTree(keysOnly, rows, {}, 20);
    ASSERT_EQ(t.lines.size(), 3u);
    EXPECT_EQ(t.lines[0].type, "H2");
    EXPECT_EQ(t.lines[0].text, "KEYS");
    EXPECT_TRUE(t.uniqueKeys.empty());
    EXPECT_FALSE(t.hasMemo);
}

TEST(FileTree, NarrowFieldWidthKeepsThreeBlanks)
{
    const DicFile file{"People", 1, 1, ""};
    const std::vector<TreeRow> rows = {{1, "1", 1, 1, "AVeryLongFieldName", "STRING(20)"},
                                       {1, "1", 2, 1, "Ab", "LONG"},
                                       {1, "1", 3, 1, "Grid", "LONG,DIM(2,3)"}};
    const FileTree narrow = buildFileTree(file, rows, {}, 5);
    EXPECT_EQ(narrow.qualifier, "");
    EXPECT_EQ(narrow.lines[1].text, "AVeryLongFieldName   STRING(20)");
    EXPECT_EQ(narrow.lines[2].text, "Ab   LONG");
    EXPECT_EQ(narrow.lines[3].text, "Grid[]   LONG,DIM(2,3)");
    EXPECT_EQ(narrow.lines[2].field, "Ab");
    const FileTree wide = buildFileTree(file, rows, {}, 8);
    EXPECT_EQ(wide.lines[2].text, "Ab      LONG");
}

TEST(BrowseTexts, TitleTipAndVersionQuestion)
{
    kestrix::runtime::Record info(dicInfoLayout());
    info.setText(Dinfo::Version, "1");
    info.setText(Dinfo::ImportName, "C:\\Apps\\SHOP.TXD");
    info.setNumber(Dinfo::ImportDate, dayNumber(2026, 3, 7));
    info.setNumber(Dinfo::ImportTime, (14 * 3600 + 5 * 60 + 9) * 100 + 1);
    EXPECT_EQ(filesBrowseTitle("SHOP.dic  ", info), "SHOP.dic Files (03/07/26-14:05) C:\\Apps\\SHOP.TXD");
    EXPECT_EQ(updateTip(info), "Update Dictionary from c:\\apps\\shop.txd");
    const auto question = olderVersionQuestion("SHOP.dic", info);
    EXPECT_EQ(question.caption, "Dictionary Not Version 3");
    EXPECT_EQ(question.text,
              "The dictionary you are trying to open is not the current version. To view it you will "
              "have to import it again.||Dictionary:\tSHOP.dic|Source File:\tC:\\Apps\\SHOP.TXD|"
              "Version:\t\t1||Would you like to import from Clarion now?");
    EXPECT_EQ(missingFileText("Record Not Found"), "!@# error loading file Record Not Found");
}

TEST(BrowseTexts, FilesListLayoutKeepsColumnWidthsBesideEmptyGroups)
{
    kestrix::runtime::testing::TempDir dir;
    const kestrix::runtime::IniFile ini(dir.path() / "KTX.INI");
    const kestrix::runtime::ListLayoutStore layouts(ini);
    EXPECT_EQ(restoreFilesListWidths(layouts, 3), (std::vector<int>{0, 0, 0})); // nothing saved yet

    saveFilesListWidths(layouts, {120, 80, 45});
    EXPECT_EQ(ini.value("DickFilesBrowse", "VersionNumber"), "1");
    EXPECT_TRUE(ini.hasEntry("DickFilesBrowse", "ListGroupWidths"));
    EXPECT_EQ(ini.value("DickFilesBrowse", "ListGroupWidths"), "");
    EXPECT_EQ(ini.value("DickFilesBrowse", "ListColumnWidths"), "120,80,45");
    EXPECT_EQ(restoreFilesListWidths(layouts, 3), (std::vector<int>{120, 80, 45}));
    EXPECT_EQ(restoreFilesListWidths(layouts, 4), (std::vector<int>{120, 80, 45, 0}));
    EXPECT_EQ(restoreFilesListWidths(layouts, 2), (std::vector<int>{120, 80}));

    // Cells that are not widths fall back to the default; another layout version is not used.
    ASSERT_TRUE(ini.setValue("DickFilesBrowse", "ListColumnWidths", "12,wide,,-3,99999999,30"));
    EXPECT_EQ(restoreFilesListWidths(layouts, 6), (std::vector<int>{12, 0, 0, 0, 0, 30}));
    ASSERT_TRUE(ini.setNumber("DickFilesBrowse", "VersionNumber", 2));
    EXPECT_EQ(restoreFilesListWidths(layouts, 2), (std::vector<int>{0, 0}));
}

TEST(BrowseTexts, TableOpenMessage)
{
    const auto message = tableOpenMessage("File Not Found", "SHOP.dic\\!DicTree");
    EXPECT_EQ(message.caption, "FILE OPEN ERROR");
    EXPECT_EQ(
        message.text,
        "An error occured while opening the below file.||Error: File Not Found|File: SHOP.dic\\!DicTree");
}

TEST(FileTree, EveryLineButHeadingsCanBeMarkedAndDragged)
{
    ImportedShop shop;
    FileTree t = shop.tree("Customer");
    std::map<std::string, int> marked;
    for (TreeLine& l : t.lines) {
        EXPECT_EQ(l.canMark(), !l.isHeading()) << l.type << " " << l.name;
        if (l.canMark())
            ++marked[l.type];
    }
    EXPECT_GT(marked["1"], 0);
    EXPECT_GT(marked["2"], 0);
    EXPECT_GT(marked["R"], 0);
    EXPECT_GT(marked["Z"], 0);

    const auto at = [&t](const std::string& type, const std::string& name) {
        for (std::size_t i = 0; i < t.lines.size(); ++i) {
            if (t.lines[i].type == type && t.lines[i].name == name)
                return i;
        }
        ADD_FAILURE() << type << " " << name;
        return std::size_t{0};
    };
    t.lines[at("2", "KeyCustNo")].mark = true;
    t.lines[at("1", "Since")].mark = true;
    t.lines[at("R", "Orders")].mark = true;
    const FieldDrag drag = fieldDrag(t, -1);
    EXPECT_EQ(drag.text, "CUS:Since CUS:KeyCustNo Orders");
    ASSERT_EQ(drag.fields.size(), 3u);
    EXPECT_EQ(drag.fields[0].picture, "@d6");
    EXPECT_EQ(drag.fields[1].vari, "CUS:KeyCustNo");
    EXPECT_EQ(drag.fields[1].type, ",NOCASE,OPT,PRIMARY");
    EXPECT_EQ(drag.fields[1].picture, "");
    // The field generators take the marked fields only.
    const std::vector<int> fields = selectedFieldLines(t, -1);
    ASSERT_EQ(fields.size(), 1u);
    EXPECT_EQ(t.lines[static_cast<std::size_t>(fields[0])].name, "Since");
    // "Select all Fields" leaves only data fields marked.
    selectFields(t, false);
    EXPECT_FALSE(t.lines[at("2", "KeyCustNo")].mark);
    EXPECT_TRUE(t.lines[at("1", "City")].mark);
}

TEST(FileTree, MemoFieldsAreFoundForAnyFileOfTheStore)
{
    ImportedShop shop;
    const auto memo = [&shop](const std::string& file) {
        kestrix::runtime::Record dif = shop.store->files().newRecord();
        EXPECT_TRUE(shop.store->fileByName(file, dif)) << file;
        return hasMemoFields(*shop.store, dicFileOf(dif));
    };
    EXPECT_TRUE(memo("Customer"));
    EXPECT_TRUE(memo("Product")); // a BLOB
    EXPECT_TRUE(memo("Buyer"));   // an alias has its base file's fields
    EXPECT_FALSE(memo("Orders"));
}
