#include "KtxRun.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>

using kestrix::testing::KtxWorkspace;
using kestrix::testing::outputLines;
using kestrix::testing::SampleDictionary;

namespace {

} // namespace

TEST(KtxDict, ImportThenInfoFilesAndTree)
{
    KtxWorkspace w;
    const auto imported = w.run({"dict", "import", SampleDictionary});
    ASSERT_EQ(imported.code, 0) << imported.err;
    EXPECT_TRUE(std::regex_match(
        imported.out,
        std::regex("imported 5 files, 1 aliases, [0-9]+ tree rows into SHOP.dic in [0-9]+ ms\n")))
        << imported.out;
    EXPECT_EQ(imported.err, "");

    const auto info = w.run({"dict", "info", "SHOP.dic"});
    ASSERT_EQ(info.code, 0) << info.err;
    const auto infoLines = outputLines(info.out);
    ASSERT_EQ(infoLines.size(), 4u);
    EXPECT_EQ(infoLines[0], "VERSION=3");
    EXPECT_EQ(infoLines[1], "IMPORTNAME=" + SampleDictionary);
    EXPECT_TRUE(std::regex_match(infoLines[2], std::regex("IMPORTDATE=20[0-9]{2}-[01][0-9]-[0-3][0-9]")));
    EXPECT_TRUE(std::regex_match(infoLines[3], std::regex("IMPORTTIME=[0-2][0-9]:[0-5][0-9]:[0-5][0-9]")));

    const auto files = w.run({"dict", "files", "SHOP.dic"});
    ASSERT_EQ(files.code, 0) << files.err;
    const auto fileLines = outputLines(files.out);
    ASSERT_EQ(fileLines.size(), 6u);
    EXPECT_EQ(fileLines[0],
              "Customer\t1\t1\tCUS\t3\tCustomers of the shop\tTopSpeed\t\tCUSTOMER.TPS\tCreate, Bindable, "
              "Thread\tEXPORT=Yes; OWNER=Sales");
    EXPECT_EQ(fileLines[4], "Supplier\t5\t5\tSUP\t3\t\tASCII\t/FILEBUFFERS=8\tSUPPLIER.TXT\tCreate\t");
    EXPECT_EQ(fileLines[5], "Buyer\t6\t1\tBUY\t3\t\t\t\t\tALIAS(Customer),THREAD\t");

    const auto supplier = w.run({"dict", "tree", "SHOP.dic", "supplier"});
    ASSERT_EQ(supplier.code, 0) << supplier.err;
    const auto rows = outputLines(supplier.out);
    ASSERT_EQ(rows.size(), 2u + 5u);
    EXPECT_EQ(rows[0], "5\t1\t1\t1\tRecord\tRECORD");
    EXPECT_EQ(rows[1], "5\t1\t2\t1\tLine\tSTRING(200)");
    EXPECT_EQ(rows[2].substr(0, 12), "5\tDEF\t1\t1\tSu");

    const auto all = w.run({"dict", "tree", "SHOP.dic"});
    ASSERT_EQ(all.code, 0);
    const auto allRows = outputLines(all.out);
    EXPECT_GT(allRows.size(), rows.size());
    EXPECT_EQ(allRows.front().substr(0, 4), "1\t1\t");
    EXPECT_EQ(allRows.back(), "6\tZ\t1\t1\tCustomer\tPREFIX(CUS)");
}

TEST(KtxDict, FailuresSayWhyAndExitOne)
{
    KtxWorkspace w;
    const auto missing = w.run({"dict", "import", (w.dir.path() / "NONE.TXD").string()});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("OPEN FILE ERROR: "), std::string::npos);
    EXPECT_EQ(missing.out, "");

    const auto dct = w.run({"dict", "import", "C:\\APP\\SHOP.DCT"});
    EXPECT_EQ(dct.code, 1);
    EXPECT_NE(dct.err.find("CW NOT RUNNING: Unable to make DDE Connection to CW."), std::string::npos);

    const auto info = w.run({"dict", "info", "SHOP.dic"});
    EXPECT_EQ(info.code, 1);
    EXPECT_NE(info.err.find("holds no imported dictionary"), std::string::npos);
    EXPECT_NE(info.err.find("FILE ERROR: Open DICInfo File\nError: 2-File Not Found\n"), std::string::npos)
        << info.err;

    ASSERT_EQ(w.run({"dict", "import", SampleDictionary}).code, 0);
    const auto unknown = w.run({"dict", "tree", "SHOP.dic", "Nothing"});
    EXPECT_EQ(unknown.code, 1);
    EXPECT_EQ(unknown.err, "No file Nothing in SHOP.dic\n");
    EXPECT_EQ(w.run({"dict"}).code, 2);
}

TEST(KtxDict, ValuesLongerThanTheirFieldsAreNamedOnStderr)
{
    KtxWorkspace w;
    const std::string txd = (w.dir.path() / "WIDE.TXD").string();
    std::ofstream(txd, std::ios::binary) << "[FILES]\n"
                                         << std::string(60, 'W') << " FILE,PRE(WID)\n"
                                         << "Record RECORD\nId LONG\n  END\n  END\n";
    const auto imported = w.run({"dict", "import", txd});
    EXPECT_EQ(imported.code, 0) << imported.err;
    EXPECT_NE(imported.err.find("VALUES STORED IN PART: "), std::string::npos) << imported.err;
    EXPECT_NE(imported.err.find("DIF:FILENAME (50 characters): 1 value, line 2"), std::string::npos)
        << imported.err;
    const auto files = w.run({"dict", "files", "WIDE.dic"});
    EXPECT_EQ(files.out.substr(0, 51), std::string(50, 'W') + "\t");
}
