#include "runtime/WinPath.h"
#include "runtime/testing/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace kestrix::runtime;
namespace fs = std::filesystem;

TEST(WinPath, BackslashesSeparateAndCaseIsIgnoredWhenTheExactNameIsMissing)
{
    kestrix::runtime::testing::TempDir dir;
    fs::create_directories("Clarion/LIBSRC");
    std::ofstream("Clarion/LIBSRC/Equates.clw") << "x";
    EXPECT_TRUE(winPathExists("clarion\\LibSrc\\EQUATES.CLW"));
    EXPECT_TRUE(winDirectoryExists("Clarion\\libsrc"));
    EXPECT_EQ(resolveWinPath("CLARION\\libsrc\\equates.clw"), fs::path("Clarion/LIBSRC/Equates.clw"));
    const std::string absolute = (dir.path() / "CLARION").string() + "\\LibSrc";
    EXPECT_TRUE(winDirectoryExists(absolute));
    EXPECT_FALSE(winPathExists("Clarion\\Bin"));
    // Names below a missing folder keep their spelling.
    EXPECT_EQ(resolveWinPath("Missing\\Sub\\File.TXT"), fs::path("Missing/Sub/File.TXT"));
}

TEST(WinPath, ExactCaseWinsWhenBothSpellingsExist)
{
    kestrix::runtime::testing::TempDir dir;
    fs::create_directories("data");
    fs::create_directories("DATA");
    EXPECT_EQ(resolveWinPath("DATA"), fs::path("DATA"));
    EXPECT_EQ(resolveWinPath("data"), fs::path("data"));
}

TEST(WinPath, NameParts)
{
    EXPECT_EQ(withoutTrailingBackslashes("C:\\C5\\\\"), "C:\\C5");
    EXPECT_EQ(fileNamePart("C:\\Dicts\\PEOPLE.DIC"), "PEOPLE.DIC");
    EXPECT_EQ(fileNamePart("PEOPLE.DIC"), "PEOPLE.DIC");
}

TEST(WinPath, NamesReadFromTheFileSystemBecomeTheProgramsText)
{
    kestrix::runtime::testing::TempDir dir;
    const fs::path written(u8"\u00C4nderung \u20AC.TXT");
    std::ofstream(written) << "x";
    std::vector<std::string> seen;
    for (const auto& entry : fs::directory_iterator("."))
        seen.push_back(fileNameText(entry.path().filename()));
    EXPECT_EQ(seen,
              std::vector<std::string>{"\xC4nderung \x80.TXT"}); // Windows-1252: 0xC4 and the euro at 0x80
}
