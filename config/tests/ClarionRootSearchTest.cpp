#include "config/ClarionRootSearch.h"
#include "runtime/testing/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace kestrix::config;
using kestrix::runtime::IniFile;

TEST(ClarionRootSearch, NewestVersionWinsAndEnterpriseEntriesComeFirst)
{
    kestrix::runtime::testing::TempDir dir;
    std::ofstream("win.ini") << "[Clarion 4]\nworkdir=C:\\C4\\WORK\n"
                                "[Clarion 5  Enterprise Edition]\nworkdir=D:\\C5EE\\Apps\\\\\n"
                                "[Clarion 5]\nworkdir=C:\\C5\\WORK\n"
                                "[Clarion 6]\nworkdir=\n";
    EXPECT_EQ(clarionRootFromWinIni(IniFile("win.ini")), "D:\\C5EE");
    std::ofstream("plain.ini")
        << "[Clarion 5  Enterprise Edition]\nworkdir=  \n[Clarion 5]\nworkdir=C:\\C5\\WORK\n";
    EXPECT_EQ(clarionRootFromWinIni(IniFile("plain.ini")), "C:\\C5");
    std::ofstream("none.ini") << "[Windows]\nload=\n";
    EXPECT_EQ(clarionRootFromWinIni(IniFile("none.ini")), "");
    EXPECT_EQ(clarionRootFromWinIni(IniFile("missing.ini")), "");
}

TEST(ClarionRootSearch, TheSystemIniFileIsWinesWhenThereIsOne)
{
    kestrix::runtime::testing::TempDir dir;
    std::filesystem::create_directories("prefix/drive_c/windows");
    std::ofstream("prefix/drive_c/windows/WIN.INI") << "[x]\n";
    setenv("WINEPREFIX", (dir.path() / "prefix").c_str(), 1);
    const auto found = systemIniFile();
    ASSERT_TRUE(found);
    EXPECT_EQ(found->filename(), "WIN.INI");
    setenv("WINEPREFIX", (dir.path() / "elsewhere").c_str(), 1);
    const char* home = getenv("HOME");
    const std::string savedHome = home ? home : "";
    setenv("HOME", dir.path().c_str(), 1);
    EXPECT_FALSE(systemIniFile());
    setenv("HOME", savedHome.c_str(), 1);
    unsetenv("WINEPREFIX");
}
