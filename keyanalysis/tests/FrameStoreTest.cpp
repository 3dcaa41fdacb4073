#include "keyanalysis/WindowAnalysis.h"
#include "runtime/testing/ScriptedDialogs.h"
#include "runtime/testing/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace kestrix;
using namespace kestrix::keyanalysis;

namespace {
const std::string Frame =
    "F APPLICATION('Orders'),AT(,,100,100)\r\n MENUBAR\r\n  MENU('&File')\r\n   ITEM('E&xit')\r\n  END\r\n"
    "  MENU('&Window')\r\n   ITEM('&Tile')\r\n  END\r\n END\r\nEND\r\n";
const std::string Child = "C WINDOW('Child'),AT(,,10,10),MDI\r\n MENUBAR\r\n  MENU('&File')\r\n   "
                          "ITEM('&Print')\r\n  END\r\n END\r\n"
                          " BUTTON('&Whatever')\r\nEND\r\n";
} // namespace

TEST(FrameStore, AFrameIsSavedThenMergedIntoMdiChildren)
{
    runtime::testing::TempDir dir;
    runtime::testing::ScriptedDialogs dialogs;
    WindowAnalysis analysis(dialogs, FrameStore::inDataDirectory());
    analysis.analyse(Frame, {});
    EXPECT_EQ(analysis.queues().frame.status, "Frame is being Analyzed");
    EXPECT_EQ(analysis.queues().frame.lastUpdate, "Not Saved");
    EXPECT_TRUE(analysis.queues().frame.saveEnabled);
    ASSERT_TRUE(analysis.saveFrame());
    const FrameStore store = FrameStore::inDataDirectory();
    EXPECT_EQ(store.name(), "Orders");
    EXPECT_TRUE(store.include());
    EXPECT_EQ(store.lastUpdate().size(), 16u); // mm/dd/yy hh:mmAM

    analysis.analyse(Child, {});
    const AnalysisQueues& q = analysis.queues();
    EXPECT_EQ(q.frame.status, "Frame is Included");
    EXPECT_EQ(q.frame.button, "Ex&clude");
    bool merged = false;
    for (const std::string& line : q.code)
        merged = merged || line.rfind("!merged=>", 0) == 0;
    EXPECT_TRUE(merged);
    int windowAndButton = 0;
    for (const AltRow& row : q.alt)
        windowAndButton += row.key == 'W';
    EXPECT_EQ(windowAndButton, 2); // the frame's &Window against the child's &Whatever
    EXPECT_EQ(q.conflictsAlt, 1);
    bool frameWindow = false;
    for (const AltRow& row : q.alt)
        frameWindow = frameWindow || row.type == "FR-MENU";
    EXPECT_TRUE(frameWindow);
    int fileRows = 0;
    for (const MenuRow& row : q.menu)
        fileRows += row.path == "\\File";
    EXPECT_EQ(fileRows, 1); // only the child's

    analysis.toggleInclude(Child, {});
    EXPECT_EQ(analysis.queues().frame.status, "Frame is Excluded");
    EXPECT_EQ(analysis.queues().frame.button, "In&clude");
    analysis.toggleInclude(Child, {});
    EXPECT_EQ(analysis.queues().frame.status, "Frame is Included");
}

TEST(FrameStore, ChildrenThatAreNotMdiOrDoNotMergeStayApart)
{
    runtime::testing::TempDir dir;
    runtime::testing::ScriptedDialogs dialogs;
    WindowAnalysis analysis(dialogs, FrameStore::inDataDirectory());
    analysis.analyse("C WINDOW('Plain'),AT(,,10,10)\r\n BUTTON('&W')\r\nEND\r\n", {});
    EXPECT_EQ(analysis.queues().frame.name, "None"); // nothing stored yet
    analysis.analyse(Frame, {});
    analysis.saveFrame();
    analysis.analyse("C WINDOW('Plain'),AT(,,10,10)\r\n BUTTON('&W')\r\nEND\r\n", {});
    EXPECT_EQ(analysis.queues().frame.status, "Frame Excluded, Window is Not MDI");
    EXPECT_EQ(analysis.queues().frame.button, "Not MDI");
    analysis.analyse("C WINDOW('NoMerge'),MDI\r\n MENUBAR,NOMERGE\r\n END\r\nEND\r\n", {});
    EXPECT_EQ(analysis.queues().frame.status, "Frame Excluded, Child Menu is NoMerge");
}

TEST(FrameStore, TimestampsAreMonthDayYearAndTwelveHourTime)
{
    std::tm t{};
    t.tm_year = 126;
    t.tm_mon = 11;
    t.tm_mday = 8;
    t.tm_hour = 14;
    t.tm_min = 5;
    t.tm_isdst = -1;
    const auto when = std::chrono::system_clock::from_time_t(std::mktime(&t));
    EXPECT_EQ(frameTimestamp(when), "12/08/26 02:05PM");
}

TEST(FrameStore, SavingReplacesLinksInsteadOfWritingThroughThem)
{
    runtime::testing::TempDir dir;
    std::filesystem::create_directory("elsewhere");
    std::ofstream("elsewhere/precious.txt") << "not a frame";
    std::ofstream("elsewhere/settings.ini") << "[Mine]\nkeep=1\n";
    std::error_code ec;
    std::filesystem::create_symlink("elsewhere/precious.txt", "APPFrame.DAT", ec);
    std::filesystem::create_symlink("elsewhere/settings.ini", "KTX4.INI", ec);
    if (ec)
        GTEST_SKIP() << "no symbolic links here";
    const FrameStore store = FrameStore::inDataDirectory();
    ASSERT_TRUE(store.save({"F APPLICATION('Orders')", "END"}, "Orders"));
    std::ifstream precious("elsewhere/precious.txt");
    std::string text;
    std::getline(precious, text);
    EXPECT_EQ(text, "not a frame");
    std::ifstream settings("elsewhere/settings.ini");
    std::stringstream all;
    all << settings.rdbuf();
    EXPECT_EQ(all.str(), "[Mine]\nkeep=1\n");
    EXPECT_FALSE(std::filesystem::is_symlink("APPFrame.DAT"));
    EXPECT_FALSE(std::filesystem::is_symlink("KTX4.INI"));
    EXPECT_EQ(store.lines()->front(), "F APPLICATION('Orders')");
    EXPECT_EQ(store.name(), "Orders");
}
