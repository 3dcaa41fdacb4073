#include "runtime/WinPath.h"
#include "runtime/testing/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

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
    if (std::distance(fs::directory_iterator("."), fs::directory_iterator()) != 2)
        GTEST_SKIP() << "the file system ignores case: one name, one folder";
    EXPECT_EQ(resolveWinPath("DATA"), fs::path("DATA"));
    EXPECT_EQ(resolveWinPath("data"), fs::path("data"));
}

TEST(WinPath, NameParts)
{
    EXPECT_EQ(withoutTrailingBackslashes("C:\\C5\\\\"), "C:\\C5");
    EXPECT_EQ(fileNamePart("C:\\Dicts\\PEOPLE.DIC"), "PEOPLE.DIC");
    EXPECT_EQ(fileNamePart("PEOPLE.DIC"), "PEOPLE.DIC");
    // The system's names (UTF-8 here, UTF-16 on Windows) become the program's Windows-1252 text.
    EXPECT_EQ(pathText(fs::path(u8"Caf\u00e9 \u20ac.HLP")), "Caf\xE9 \x80.HLP");
}

TEST(WinPath, NamesReadFromTheFileSystemBecomeTheProgramsText)
{
    kestrix::runtime::testing::TempDir dir;
    const fs::path written(u8"\u00C4nderung \u20AC.TXT");
    std::ofstream(written) << "x";
    std::vector<std::string> seen;
    for (const auto& entry : fs::directory_iterator("."))
        seen.push_back(pathText(entry.path().filename()));
    EXPECT_EQ(seen,
              std::vector<std::string>{"\xC4nderung \x80.TXT"}); // Windows-1252: 0xC4 and the euro at 0x80
}
