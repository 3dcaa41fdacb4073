#include "dictionary/TextDictionary.h"
#include "dictionary/DictionaryStore.h"
#include "runtime/testing/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace kestrix::dictionary;

TEST(TextDictionaryLine, LabelAndKeyword)
{
    EXPECT_EQ(labelOf("Customer FILE,DRIVER('TOPSPEED')"), "Customer");
    EXPECT_EQ(labelOf("  END"), "");
    EXPECT_EQ(keywordOf("Customer FILE,DRIVER('TOPSPEED'),PRE(CUS)"), "FILE,DRIVER('TOPSPEE");
    EXPECT_EQ(keywordOf("    end"), "END                 ");
    EXPECT_EQ(keywordOf("Names   index(PRE:Name)"), "INDEX(PRE:NAME)     ");
    EXPECT_EQ(keywordOf("END").size(), 20u);
}

TEST(TextDictionaryLine, TheSplitterHonoursQuotesParenthesesAndComments)
{
    SplitAttribute s = splitAttribute("DRIVER('ASCII','/FILEBUFFERS=8'),PRE(SUP)");
    EXPECT_EQ(s.attribute, "DRIVER('ASCII','/FILEBUFFERS=8')");
    EXPECT_EQ(s.argument, "ASCII','/FILEBUFFERS=8");
    EXPECT_EQ(s.rest, "PRE(SUP)");

    s = splitAttribute("NAME('a,b!c(d'),CREATE");
    EXPECT_EQ(s.argument, "a,b!c(d");
    EXPECT_EQ(s.rest, "CREATE");

    s = splitAttribute("  CREATE   !The comment, with a comma");
    EXPECT_EQ(s.attribute, "CREATE");
    EXPECT_EQ(s.argument, "");
    EXPECT_EQ(s.rest, "!The comment, with a comma");

    s = splitAttribute("OWNER(GLO:Owner(1)),THREAD");
    EXPECT_EQ(s.argument, "GLO:Owner(1)");
    EXPECT_EQ(s.rest, "THREAD");
}

TEST(TextDictionaryLine, FileAttributes)
{
    FileAttributes a =
        parseFileAttributes("DRIVER('TOPSPEED'),PRE(CUS),CREATE,BINDABLE,OEM,NAME('CUSTOMER.TPS'),"
                            "OWNER('x')  !Customers of the shop and then some more text here");
    EXPECT_EQ(a.driver, "TopSpeed");
    EXPECT_EQ(a.driverString, "");
    EXPECT_EQ(a.prefix, "CUS");
    EXPECT_EQ(a.fullName, "CUSTOMER.TPS");
    EXPECT_EQ(a.fileSpec, "Create, Bindable, OEM, OWNER('x')");
    EXPECT_EQ(a.description, "Customers of the shop and then some more");

    a = parseFileAttributes("DRIVER('ASCII','/FILEBUFFERS=8'),PRE(SUP)");
    EXPECT_EQ(a.driver, "ASCII");
    EXPECT_EQ(a.driverString, "/FILEBUFFERS=8");

    EXPECT_EQ(parseFileAttributes("").fileSpec, "");

    std::string many;
    for (int i = 1; i <= 25; ++i)
        many += "A" + std::to_string(i) + ",";
    a = parseFileAttributes(many);
    EXPECT_EQ(a.fileSpec.rfind("A1, A2", 0), 0u);
    EXPECT_NE(a.fileSpec.find("A20"), std::string::npos);
    EXPECT_EQ(a.fileSpec.find("A21"), std::string::npos);
}

TEST(TextDictionaryLine, CardinalityLikeAndTypes)
{
    EXPECT_EQ(reversedCardinality("ONE:MANY"), "MANY:ONE");
    EXPECT_EQ(reversedCardinality("MANY:ONE"), "ONE:MANY");
    EXPECT_EQ(reversedCardinality("ONE:ONE "), "ONE:ONE");
    EXPECT_EQ(reversedCardinality("MANY"), "~MANY");

    EXPECT_EQ(declarationType("DECIMAL(7,2),PICTURE(@n10.2)"), "DECIMAL(7,2)");
    EXPECT_EQ(declarationType("STRING(30)   Family name"), "STRING(30)");
    EXPECT_EQ(declarationType("LONG"), "LONG");
    EXPECT_EQ(resolvedLikeNotes("LIKE(CUS:Name),PICTURE(@s30)", "STRING(30),PICTURE(@s30)"),
              "STRING(30),PICTURE(@s30) LIKE(CUS:Name)");
    EXPECT_EQ(resolvedLikeNotes("LIKE(PRO:Price)   ", "DECIMAL(7,2),PICTURE(@n10.2)"),
              "DECIMAL(7,2), LIKE(PRO:Price)");
    EXPECT_EQ(likeReference("LIKE( CUS:Name ),DIM(2)"), "CUS:Name");
    EXPECT_EQ(likeReference("STRING(20)"), "");
}

TEST(TextDictionaryLine, StoreNames)
{
    StoreName n = storeNameFor("C:\\APP\\SHOP.DCT");
    EXPECT_EQ(n.store, "SHOP.dic");
    EXPECT_EQ(n.extension, "DCT");
    EXPECT_FALSE(n.periodTrouble);
    n = storeNameFor("/home/me/shop.txd");
    EXPECT_EQ(n.store, "shop.dic");
    EXPECT_EQ(n.extension, "TXD");
    n = storeNameFor("C:\\APP\\NOEXTENSION");
    EXPECT_TRUE(n.periodTrouble);
    EXPECT_EQ(n.extension, "");
    n = storeNameFor(std::string(78, 'A') + ".TXD");
    EXPECT_TRUE(n.periodTrouble);

    const StoreNames names = storeNames("SHOP.dic  ");
    EXPECT_EQ(names.info, "SHOP.dic\\!DicInfo");
    EXPECT_EQ(names.files, "SHOP.dic\\!DicFiles");
    EXPECT_EQ(names.tree, "SHOP.dic\\!DicTree");
    EXPECT_EQ(names.trev1, "SHOP.dic\\!DicTrev1");
}

TEST(TextDictionaryLine, DayNumbersAndClockReadings)
{
    EXPECT_EQ(dayNumber(1801, 1, 1), 4);
    EXPECT_EQ(dayNumber(1900, 3, 1), 36222);
    EXPECT_EQ(dateText(dayNumber(2026, 12, 8)), "2026-12-08");
    EXPECT_EQ(dateText(dayNumber(2000, 2, 29)), "2000-02-29");
    EXPECT_EQ(timeText(((13 * 60 + 5) * 60 + 9) * 100 + 42 + 1), "13:05:09");
    EXPECT_EQ(timeText(1), "00:00:00");
}

TEST(TextDictionaryReader, LinesEndingsCutsAndPutBack)
{
    kestrix::runtime::testing::TempDir dir;
    {
        std::ofstream f("x.TXD", std::ios::binary);
        f << "first\r\n\tsecond\n" << std::string(600, 'x') << "\nlast";
    }
    TxdReader reader("x.TXD");
    ASSERT_TRUE(reader.isOpen());
    std::string line;
    ASSERT_TRUE(reader.next(line));
    EXPECT_EQ(line, "first");
    ASSERT_TRUE(reader.next(line));
    EXPECT_EQ(line, " second");
    reader.putBack();
    ASSERT_TRUE(reader.next(line));
    EXPECT_EQ(line, " second");
    ASSERT_TRUE(reader.next(line));
    EXPECT_EQ(line.size(), TxdLineLength);
    ASSERT_TRUE(reader.next(line));
    EXPECT_EQ(line, "last");
    EXPECT_FALSE(reader.next(line));
    EXPECT_EQ(reader.cutLines(), std::vector<std::size_t>{3});
    EXPECT_EQ(reader.position(), reader.size() + 1); // the last line has no line end
}
