// Writes that are whole or absent, the lock between programs, and INI files
// written by several programs at once.
#include "runtime/AtomicFile.h"
#include "runtime/CrashPoint.h"
#include "runtime/FileLock.h"
#include "runtime/IniFile.h"
#include "runtime/testing/ChildProcesses.h"
#include "runtime/testing/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace kestrix::runtime;
namespace fs = std::filesystem;
using kestrix::runtime::testing::TempDir;

namespace {

std::string fileText(const fs::path& name)
{
    std::ifstream in(name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

int strayTemporaries()
{
    int count = 0;
    for (const auto& entry : fs::directory_iterator("."))
        count += entry.path().extension() == ".tmp";
    return count;
}

} // namespace

TEST(AtomicFile, ReplacesOrKeepsAsAsked)
{
    TempDir dir;
    ASSERT_TRUE(writeFileAtomically("a.txt", "first").ok());
    ASSERT_TRUE(writeFileAtomically("a.txt", "second").ok());
    EXPECT_EQ(fileText("a.txt"), "second");
    ASSERT_TRUE(writeFileAtomically("a.txt", "third", Existing::Keep).ok());
    EXPECT_EQ(fileText("a.txt"), "second"); // the user's copy stays
    ASSERT_TRUE(writeFileAtomically("b.txt", "new", Existing::Keep).ok());
    EXPECT_EQ(fileText("b.txt"), "new");
    EXPECT_EQ(strayTemporaries(), 0);
    EXPECT_TRUE(writeFileAtomically(dir.path() / "gone" / "c.txt", "x"));
}

TEST(AtomicFile, ASymbolicLinkIsReplacedNotWrittenThrough)
{
    TempDir dir;
    fs::create_directory("elsewhere");
    std::ofstream("elsewhere/target.ini") << "[Theirs]\nx=1\n";
    std::error_code ec;
    fs::create_symlink("elsewhere/target.ini", "KTX4.INI", ec);
    if (ec)
        GTEST_SKIP() << "no symbolic links here";
    ASSERT_TRUE(IniFile("KTX4.INI").setValue("ABC", "ABCMode", "1"));
    EXPECT_EQ(fileText("elsewhere/target.ini"), "[Theirs]\nx=1\n");
    EXPECT_FALSE(fs::is_symlink("KTX4.INI"));
    EXPECT_EQ(IniFile("KTX4.INI").value("ABC", "ABCMode"), "1");
    EXPECT_EQ(IniFile("KTX4.INI").value("Theirs", "x"), "1"); // what was read through the link is kept
}

TEST(CrashPoint, TheEnvironmentSettingNamesAPointAndAPass)
{
    const auto setting = [](std::string_view text) {
        const CrashSetting s = crashSettingFrom(text);
        return std::make_pair(s.point, s.pass);
    };
    EXPECT_EQ(setting("equate-record:30000"), std::make_pair(CrashPoint::EquateRecord, 30000L));
    EXPECT_EQ(setting("before-rename"), std::make_pair(CrashPoint::BeforeRename, 1L));
    EXPECT_EQ(setting("tip-record:5"), std::make_pair(CrashPoint::TipRecord, 5L));
    EXPECT_EQ(setting("popup-record:0"), std::make_pair(CrashPoint::None, 0L));
    EXPECT_EQ(setting("popup-record:12x"), std::make_pair(CrashPoint::None, 0L));
    EXPECT_EQ(setting("no-such-point:3"), std::make_pair(CrashPoint::None, 0L));
}

TEST(AtomicFile, AWriterKilledBeforeTheRenameLeavesTheOldFileWhole)
{
    TempDir dir;
    ASSERT_TRUE(writeFileAtomically("KTX4.INI", "[EquateLoad]\r\nVersion=4\r\n").ok());
    ASSERT_TRUE(kestrix::runtime::testing::killedAt(CrashPoint::BeforeRename, 1, [] {
        (void)IniFile("KTX4.INI").setValue("EquateLoad", "Version", "");
    })) << "the writer was to stop itself before its rename";
    EXPECT_EQ(IniFile("KTX4.INI").value("EquateLoad", "Version"), "4");
    EXPECT_EQ(strayTemporaries(), 1);
    // The lock died with its holder: the next writer is not kept waiting.
    EXPECT_TRUE(IniFile("KTX4.INI").setValue("EquateLoad", "Version", "5"));
}

TEST(FileLock, ASecondProgramIsRefusedUntilTheFirstLetsGo)
{
    TempDir dir;
    kestrix::runtime::testing::Child holder([] {
        FileLock lock = FileLock::acquire("load.lck");
        kestrix::runtime::testing::tellParent(lock ? "held" : "refused");
        kestrix::runtime::testing::waitForParent();
        return 0;
    });
    ASSERT_EQ(holder.heard(), "held");
    EXPECT_FALSE(FileLock::tryAcquire("load.lck").locked());
    EXPECT_EQ(holder.wait(), 0);
    FileLock mine = FileLock::tryAcquire("load.lck");
    EXPECT_TRUE(mine.locked());
    FileLock moved = std::move(mine);
    EXPECT_TRUE(moved.locked());
    EXPECT_FALSE(mine.locked());
}

TEST(IniFile, ParallelWritersLoseNoEntry)
{
    TempDir dir;
    constexpr int Writers = 8;
    constexpr int Entries = 25;
    const std::vector<int> statuses = kestrix::runtime::testing::runTogether(Writers, [](int w) {
        IniFile ini("KTX4.INI");
        bool ok = true;
        for (int e = 0; e < Entries; ++e)
            ok = ini.setValue("Writer" + std::to_string(w), "Entry" + std::to_string(e), std::to_string(e)) &&
                 ok;
        return ok ? 0 : 1;
    });
    EXPECT_EQ(statuses, std::vector<int>(Writers, 0));
    IniFile ini("KTX4.INI");
    int found = 0;
    for (int w = 0; w < Writers; ++w) {
        for (int e = 0; e < Entries; ++e)
            found +=
                ini.value("Writer" + std::to_string(w), "Entry" + std::to_string(e)) == std::to_string(e);
    }
    EXPECT_EQ(found, Writers * Entries);
    EXPECT_EQ(strayTemporaries(), 0);
}
