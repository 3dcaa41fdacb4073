#include "KtxRun.h"

#include <gtest/gtest.h>

using namespace kestrix::testing;

namespace {

struct ColorWorkspace : KtxWorkspace
{
    ColorWorkspace() { clarionRoot = SampleClarionRoot; }
    void load() { ASSERT_EQ(run({"equates", "load"}).code, 0); }
};

} // namespace

TEST(KtxColor, ListsTheColoursOfTheEquatesWithNoneLast)
{
    ColorWorkspace w;
    w.load();
    const KtxRun list = w.run({"color", "list"});
    ASSERT_EQ(list.code, 0) << list.err;
    const auto rows = outputLines(list.out);
    ASSERT_GT(rows.size(), 30u);
    EXPECT_EQ(rows.back(), "<none>\t-1");
    EXPECT_NE(list.out.find("\nRed\t255\n"), std::string::npos);
    EXPECT_NE(list.out.find("\nScrollbar\t-2147483648\n"), std::string::npos);
    EXPECT_EQ(list.out.find("\nNone\t"), std::string::npos); // COLOR:None is left out
}

TEST(KtxColor, CodeOfEachPopupItem)
{
    ColorWorkspace w;
    w.load();
    KtxRun run = w.run({"color", "code", "Entry1", "--fg", "Red", "--item", "Control COLOR()"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "Entry1: FONT(,,COLOR:Red), COLOR(COLOR:None,COLOR:None,COLOR:None)\n");
    run = w.run({"color", "code", "Button1", "--fg", "blue", "--item", "Color Equates"});
    EXPECT_EQ(run.out, "Button1: COLOR:Blue COLOR:None COLOR:None COLOR:None     , ICON(ICON:None)\n");
    run = w.run({"color", "code", "Column 2", "--bg", "Yellow", "--sbg", "<none>", "--grid", "Scrollbar",
                 "--item", "Control PROP:Color"});
    EXPECT_EQ(run.out, "Column 2:\n  ??{PROP:FontColor}=COLOR:None\n  ??{PROP:Color,1}  =COLOR:Yellow\n"
                       "  ??{PROP:Color,2}  =COLOR:None\n  ??{PROP:Color,3}  =COLOR:None\n"
                       "  ??{PROPLIST:Grid} =COLOR:Scrollbar\n");
    run = w.run({"color", "code", "Cell 3,6", "--fg", "Red", "--item", "Control COLOR()"});
    EXPECT_EQ(run.out,
              "Cell 3,6: FONT(,,COLOR:Red), COLOR(COLOR:None,COLOR:None,COLOR:None), GRID(COLOR:None)\n");
}

TEST(KtxColor, BadNamesObjectsAndItemsAreRefused)
{
    ColorWorkspace w;
    w.load();
    KtxRun run = w.run({"color", "code", "Entry3", "--item", "Color Equates"});
    EXPECT_EQ(run.code, 2);
    EXPECT_NE(run.err.find("Unknown object: Entry3"), std::string::npos);
    EXPECT_EQ(w.run({"color", "code", "Column 4", "--item", "Color Equates"}).code, 2);
    EXPECT_EQ(w.run({"color", "code", "Cell 2", "--item", "Color Equates"}).code, 2);
    run = w.run({"color", "code", "Entry1", "--fg", "Mauve", "--item", "Color Equates"});
    EXPECT_EQ(run.code, 2);
    EXPECT_NE(run.err.find("Unknown colour: Mauve"), std::string::npos);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(w.run({"color", "code", "Entry1", "--item", "Color"}).code, 2);
    EXPECT_EQ(w.run({"color", "add", "12G"}).code, 2);
}

TEST(KtxColor, CustomColoursAddedRefusedAndDeleted)
{
    ColorWorkspace w;
    w.load();
    KtxRun run = w.run({"color", "add", "00FF8040H"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "added 00FF8040H\t16744512\n");
    run = w.run({"color", "add", "16744512"});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err, "CUSTOM COLOR: That color is already loaded and \nis named: 00FF8040H\n");
    run = w.run({"color", "add", "1000000H"});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err.rfind("CUSTOM COLOR: ", 0), 0u);
    run = w.run({"color", "add", "-5"});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err, "CUSTOM COLOR: Windows Standard colors are already loaded\n");
    EXPECT_EQ(outputLines(w.run({"color", "list"}).out).front(), "00FF8040H\t16744512"); // in name order
    EXPECT_EQ(w.run({"color", "code", "Entry2", "--bg", "00ff8040h", "--item", "Color Equates"}).out,
              "Entry2: COLOR:None 00FF8040H COLOR:None COLOR:None\n");

    run = w.run({"color", "delete", "Red"});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err,
              "CONFIRM DELETE COLOR: For now I don't let you delete standard color equates\n\nName: Red\n");
    run = w.run({"color", "delete", "00FF8040H"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "deleted 00FF8040H\n");
    EXPECT_EQ(w.run({"color", "list"}).out.find("00FF8040H"), std::string::npos);
    EXPECT_EQ(w.run({"color", "delete", "00FF8040H"}).code, 2);
}

TEST(KtxColor, AnEquatesFileWithoutColoursListsOnlyNone)
{
    ColorWorkspace w;
    const KtxRun run = w.run({"color", "list"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "<none>\t-1\n");
}

TEST(KtxAscii, TheThreeTables)
{
    ColorWorkspace w;
    const auto oem = outputLines(w.run({"ascii"}).out);
    ASSERT_EQ(oem.size(), 128u);
    EXPECT_EQ(oem[0], "\u2400\t0\t00\t\u00C7\t128\t80");
    EXPECT_EQ(oem[65], "A\t65\t41\t\u2534\t193\tC1");
    EXPECT_EQ(oem[127], "\u2302\t127\t7F\t\u237D\t255\tFF");
    const auto ansi = outputLines(w.run({"ascii", "--ansi"}).out);
    ASSERT_EQ(ansi.size(), 128u);
    EXPECT_EQ(ansi[0], "\u2400\t0\t00\t\u20AC\t128\t80");
    EXPECT_EQ(ansi[65], "A\t65\t41\t\u00C1\t193\tC1");
    const auto control = outputLines(w.run({"ascii", "--control"}).out);
    ASSERT_EQ(control.size(), 33u);
    EXPECT_EQ(control[9], "09\tHT\t^I\tHorizontal Tab");
    EXPECT_EQ(control[32], "20\tSP\t\tSpace");
}
