#include "config/ClarionRootSearch.h"
#include "runtime/testing/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

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

// The same folders serve both systems: WINDIR names the prefix's windows folder, so Windows finds
// there the file that Wine's lookup finds through WINEPREFIX or HOME.
TEST(ClarionRootSearch, TheSystemIniFileIsFoundThroughTheEnvironment)
{
    kestrix::runtime::testing::TempDir dir;
    const std::filesystem::path prefixWindows = dir.path() / "prefix" / "drive_c" / "windows";
    const std::filesystem::path homeWindows = dir.path() / "home" / ".wine" / "drive_c" / "windows";
    std::filesystem::create_directories(prefixWindows);
    std::filesystem::create_directories(homeWindows);
    std::ofstream(prefixWindows / "WIN.INI") << "[x]\n";
    std::ofstream(homeWindows / "win.ini") << "[y]\n";
    const auto lookup = [](std::map<std::string, std::string> values) {
        return [values](std::string_view name) {
            const auto it = values.find(std::string(name));
            return it == values.end() ? std::string() : it->second;
        };
    };

    const auto fromPrefix = systemIniFile(lookup({{"WINEPREFIX", (dir.path() / "prefix").string()},
                                                  {"HOME", (dir.path() / "home").string()},
                                                  {"WINDIR", prefixWindows.string()}}));
    ASSERT_TRUE(fromPrefix);
    EXPECT_TRUE(std::filesystem::equivalent(*fromPrefix, prefixWindows / "WIN.INI")) << *fromPrefix;

    const auto fromHome =
        systemIniFile(lookup({{"HOME", (dir.path() / "home").string()}, {"WINDIR", homeWindows.string()}}));
    ASSERT_TRUE(fromHome);
    EXPECT_TRUE(std::filesystem::equivalent(*fromHome, homeWindows / "win.ini")) << *fromHome;

    const std::string elsewhere = (dir.path() / "elsewhere").string();
    EXPECT_FALSE(
        systemIniFile(lookup({{"WINEPREFIX", elsewhere}, {"HOME", elsewhere}, {"WINDIR", elsewhere}})));
}
