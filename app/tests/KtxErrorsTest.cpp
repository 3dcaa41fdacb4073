#include "KtxRun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace kestrix::testing;

TEST(KtxErrors, ListAndCategoriesFromTheDeliveredList)
{
    KtxWorkspace w;
    const KtxRun cats = w.run({"errors", "categories"});
    ASSERT_EQ(cats.code, 0) << cats.err;
    EXPECT_EQ(cats.err, "");
    const auto catLines = outputLines(cats.out);
    ASSERT_GE(catLines.size(), 6u);
    EXPECT_EQ(catLines[0].substr(0, 16), "1\t0\tFile Access\t");
    EXPECT_NE(cats.out.find("\t1\tRecord Access\t"), std::string::npos);
    EXPECT_NE(cats.out.find("\tDDE and OLE\t"), std::string::npos);

    const auto all = outputLines(w.run({"errors", "list"}).out);
    ASSERT_GE(all.size(), 60u);
    EXPECT_EQ(all[0], "2\tNoFileErr\tFile Not Found");
    EXPECT_NE(std::find(all.begin(), all.end(), "90\tFileSystemErr\tFile System Error"), all.end());

    const auto locking = outputLines(w.run({"errors", "list", "--category", "locking"}).out);
    EXPECT_EQ(locking.front(), "32\tIsLockedErr\tFile Is Already Locked");

    const KtxRun unknown = w.run({"errors", "list", "--category", "Nothing"});
    EXPECT_EQ(unknown.code, 1);
    EXPECT_EQ(unknown.out, "");
}

TEST(KtxErrors, CaseBlockForChosenCodes)
{
    KtxWorkspace w;
    KtxRun r = w.run({"errors", "case", "90", "2", "90", "4242", "--else", "--fileerror"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "No error 4242 in the error list; it is left out.\n");
    EXPECT_EQ(r.out, "CASE ERRORCODE()\n"
                     "OF NoFileErr                           !2 File Not Found\n"
                     "OF FileSystemErr                       !90 File System Error\n"
                     "   CASE FILEERRORCODE()\n"
                     "   ELSE\n"
                     "      STOP('File Error: '&FILEERRORCODE()&'-'&CLIP(FILEERROR()) &|\n"
                     "           '<13,10>'&CLIP(ERRORFILE()))\n"
                     "   END !CASE FileError\n"
                     "ELSE\n"
                     "   STOP('Error: '&ERRORCODE()&'-'&CLIP(ERROR()) &|\n"
                     "        '<13,10>'&FILEERRORCODE()&'-'&CLIP(FILEERROR()))\n"
                     "END !CASE Error\n");
    r = w.run({"errors", "case", "--of-noerror", "--set", "ENDCOMMENT=0"});
    EXPECT_EQ(r.out, "CASE ERRORCODE()\nOF NoError                             !0 No Error Occured\nEND\n");
    EXPECT_EQ(w.run({"errors", "case", "two"}).code, 2);
}

TEST(KtxErrors, AnErrorsFileOfAnotherLayoutIsReportedNotRebuiltUnasked)
{
    KtxWorkspace w;
    ASSERT_EQ(w.run({"errors", "categories"}).code, 0);
    {
        std::ofstream(std::filesystem::path(w.data) / "Errors5.tps", std::ios::binary | std::ios::trunc)
            << std::string(4096, 'x');
    }
    const KtxRun r = w.run({"errors", "list"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("Damaged File: The file Errors5 is damaged"), std::string::npos) << r.err;
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(w.data) / "Errors5.tps"));
}
