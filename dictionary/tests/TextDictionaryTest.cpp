#include "dictionary/TextDictionary.h"
#include "dictionary/DictionaryStore.h"
#include "runtime/testing/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <utility>
#include <vector>

using namespace kestrix::dictionary;

TEST(TextDictionaryLine, LabelAndKeyword)
{
    const struct
    {
        const char* line;
        const char* label;
        const char* keyword;
    } cases[] = {
        {"Customer FILE,DRIVER('TOPSPEED'),PRE(CUS)", "Customer", "FILE,DRIVER('TOPSPEE"},
        {"  END", "", "END                 "},
        {"    end", "", "END                 "},
        {"Names   index(PRE:Name)", "Names", "INDEX(PRE:NAME)     "},
        {"END", "END", "END                 "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(labelOf(c.line), c.label);
        EXPECT_EQ(keywordOf(c.line), c.keyword);
    }
}

TEST(TextDictionaryLine, TheSplitterHonoursQuotesParenthesesAndComments)
{
    const struct
    {
        const char* text;
        const char* attribute;
        const char* argument;
        const char* rest;
    } cases[] = {
        {"DRIVER('ASCII','/FILEBUFFERS=8'),PRE(SUP)", "DRIVER('ASCII','/FILEBUFFERS=8')",
         "ASCII','/FILEBUFFERS=8", "PRE(SUP)"},
        {"NAME('a,b!c(d'),CREATE", "NAME('a,b!c(d')", "a,b!c(d", "CREATE"},
        {"  CREATE   !The comment, with a comma", "CREATE", "", "!The comment, with a comma"},
        {"OWNER(GLO:Owner(1)),THREAD", "OWNER(GLO:Owner(1))", "GLO:Owner(1)", "THREAD"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const SplitAttribute s = splitAttribute(c.text);
        EXPECT_EQ(s.attribute, c.attribute);
        EXPECT_EQ(s.argument, c.argument);
        EXPECT_EQ(s.rest, c.rest);
    }
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
    // Whole: the import stores what fits DIF:DESCRIPTION and says what did not.
    EXPECT_EQ(a.description, "Customers of the shop and then some more text here");

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
    const std::pair<const char*, const char*> turned[] = {
        {"ONE:MANY", "MANY:ONE"}, {"MANY:ONE", "ONE:MANY"}, {"ONE:ONE ", "ONE:ONE"}, {"MANY", "~MANY"}};
    for (const auto& [word, other] : turned)
        EXPECT_EQ(reversedCardinality(word), other) << word;

    const std::pair<const char*, const char*> types[] = {{"DECIMAL(7,2),PICTURE(@n10.2)", "DECIMAL(7,2)"},
                                                         {"STRING(30)   Family name", "STRING(30)"},
                                                         {"LONG", "LONG"}};
    for (const auto& [notes, type] : types)
        EXPECT_EQ(declarationType(notes), type) << notes;

    const struct
    {
        const char* like;
        const char* referenced;
        const char* resolved;
    } likes[] = {
        {"LIKE(CUS:Name),PICTURE(@s30)", "STRING(30),PICTURE(@s30)",
         "STRING(30),PICTURE(@s30) LIKE(CUS:Name)"},
        {"LIKE(PRO:Price)   ", "DECIMAL(7,2),PICTURE(@n10.2)", "DECIMAL(7,2), LIKE(PRO:Price)"},
    };
    for (const auto& l : likes)
        EXPECT_EQ(resolvedLikeNotes(l.like, l.referenced), l.resolved) << l.like;

    EXPECT_EQ(likeReference("LIKE( CUS:Name ),DIM(2)"), "CUS:Name");
    EXPECT_EQ(likeReference("STRING(20)"), "");
}

TEST(TextDictionaryLine, StoreNames)
{
    const struct
    {
        std::string source;
        std::string store;
        const char* extension;
        bool periodTrouble;
    } cases[] = {
        {"C:\\APP\\SHOP.DCT", "SHOP.dic", "DCT", false},
        {"/home/me/shop.txd", "shop.dic", "TXD", false},
        {"C:\\APP\\NOEXTENSION", "NOEXTENSION.dic", "", true},
        {std::string(78, 'A') + ".TXD", std::string(78, 'A') + ".dic", "T", true}, // the name is read to 80
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source);
        const StoreName n = storeNameFor(c.source);
        EXPECT_EQ(n.store, c.store);
        EXPECT_EQ(n.extension, c.extension);
        EXPECT_EQ(n.periodTrouble, c.periodTrouble);
    }

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
    EXPECT_EQ(reader.lineNumber(), 3u);
    ASSERT_TRUE(reader.next(line));
    EXPECT_EQ(line, "last");
    EXPECT_FALSE(reader.next(line));
    EXPECT_EQ(reader.cutLines(), std::vector<std::size_t>{3});
    EXPECT_EQ(reader.position(), reader.size() + 1); // the last line has no line end
}

TEST(TextDictionaryReader, LinesAcrossTheReadBlocksComeWhole)
{
    kestrix::runtime::testing::TempDir dir;
    // Lines of every length up to the limit, so that line ends fall at every place of the blocks read.
    std::vector<std::string> written;
    std::size_t bytes = 0;
    for (std::size_t i = 0; bytes < 300000; ++i) {
        std::string line =
            std::to_string(i) + std::string(i * 7 % (TxdLineLength - 8), static_cast<char>('a' + i % 26));
        bytes += line.size() + (i % 3 == 0 ? 2 : 1);
        written.push_back(std::move(line));
    }
    {
        std::ofstream f("big.TXD", std::ios::binary);
        for (std::size_t i = 0; i < written.size(); ++i)
            f << written[i] << (i % 3 == 0 ? "\r\n" : "\n");
        f << "\n"; // an empty last line is a line too
    }
    written.emplace_back();
    TxdReader reader("big.TXD");
    ASSERT_TRUE(reader.isOpen());
    std::vector<std::string> read;
    for (std::string line; reader.next(line);)
        read.push_back(line);
    EXPECT_EQ(read.size(), written.size());
    EXPECT_TRUE(read == written);
    EXPECT_TRUE(reader.cutLines().empty());
    EXPECT_EQ(reader.position(), reader.size());
}
