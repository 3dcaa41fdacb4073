#include "KtxRun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace kestrix::testing;

namespace {

struct EquatesWorkspace : KtxWorkspace
{
    EquatesWorkspace() { clarionRoot = SampleClarionRoot; }
};

} // namespace

TEST(KtxEquates, TheSampleInstallationLoadsWithEveryKindOfEquate)
{
    EquatesWorkspace w;
    const KtxRun load = w.run({"equates", "load"});
    ASSERT_EQ(load.code, 0) << load.err;
    EXPECT_EQ(load.err, "");
    EXPECT_EQ(load.out.rfind("loaded ", 0), 0u);
    const long count = std::stol(load.out.substr(7));
    EXPECT_GT(count, 1000);

    const auto colours = outputLines(w.run({"equates", "list", "--type", "Color"}).out);
    ASSERT_FALSE(colours.empty());
    EXPECT_EQ(colours.front().substr(0, 15), "Color\tAqua\tCOLO");
    const auto system = outputLines(w.run({"equates", "list", "--type", "Color Win", "--order", "long"}).out);
    ASSERT_FALSE(system.empty());
    EXPECT_EQ(system.front(),
              "Color Win\tScrollbar\tCOLOR:SCROLLBAR\t80000000H\t-2147483648\t80000000H\tEQUATES\t18\t");
    const auto keys = w.run({"equates", "list", "--type", "Keycode"}).out;
    EXPECT_NE(keys.find("Keycode\tCtrlShiftA\tCtrlShiftA\t0341H\t833\t0341H\tKEYCODES"), std::string::npos);
    const auto events = w.run({"equates", "list", "--type", "Event List"}).out;
    EXPECT_NE(events.find("\tNewSelection\t"), std::string::npos);
    const auto std = w.run({"equates", "list", "--type", "Std", "--order", "seq"}).out;
    EXPECT_NE(std.find("Std\tTileVertical\tSTD:TileVertical\t21\t21"), std::string::npos);
    const auto warn = outputLines(w.run({"equates", "list", "--type", "Warn", "--order", "long"}).out);
    EXPECT_EQ(warn.size(), 38u);

    // Every type the load met has its popup menu.
    ASSERT_EQ(w.run({"popups", "load"}).code, 0);
    const auto markers = outputLines(w.run({"equates", "list", "--type", "Z-Type"}).out);
    ASSERT_GT(markers.size(), 30u);
    for (const std::string& marker : markers) {
        const std::string type = marker.substr(7, marker.find('\t', 7) - 7);
        std::string upper = type;
        for (char& c : upper)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        const KtxRun popup = w.run({"popups", "show", "EQ:" + upper});
        EXPECT_EQ(popup.code, 0) << "no popup menu for type " << type;
    }
}

TEST(KtxPopups, MenusOfTheDeliveredFiles)
{
    EquatesWorkspace w;
    const KtxRun load = w.run({"popups", "load"});
    ASSERT_EQ(load.code, 0) << load.err;
    const auto colour = outputLines(w.run({"popups", "show", "eq:color"}).out);
    ASSERT_GE(colour.size(), 3u);
    EXPECT_EQ(colour[0], "6\tFont Color|Fill Color|Window Background|List Selected Bar|Assign|Compare");
    EXPECT_EQ(colour[1], "1\tFont Color\t?Control{PROP:FontColor} = ^");
    for (const char* type :
         {"EQ:EVENT", "EQ:PICS", "EQUATE BROWSE", "KEYCODE FIND", "TPL EQUATE", "TPL EQUATE ABC",
          "TPL SYMBOLS", "TPL SYMBOLS ABC", "MSG{Q}", "RENAME BUTTON", "STRING BLD"})
        EXPECT_EQ(w.run({"popups", "show", type}).code, 0) << type;
    EXPECT_EQ(w.run({"popups", "show", "NO SUCH"}).code, 1);
}

TEST(KtxPopups, EveryMenuListsItsOwnEntriesOnceAfterItsHeader)
{
    EquatesWorkspace w;
    ASSERT_EQ(w.run({"popups", "load"}).code, 0);
    const KtxRun icon = w.run({"popups", "show", "EQ:ICON"});
    ASSERT_EQ(icon.code, 0) << icon.err;
    EXPECT_EQ(outputLines(icon.out),
              (std::vector<std::string>{"3\tWindow Icon|Button Icon|In MESSAGE()",
                                        "1\tWindow Icon\t0{PROP:Icon} = ^",
                                        "2\tButton Icon\t?Button{PROP:Icon} = ^",
                                        "3\tIn MESSAGE()\tMESSAGE('Text', 'Caption', ^)"}));
    // The header counts the entries that follow it, numbered from 1, the header never again.
    for (const char* type : {"EQ:COLOR", "EQ:BEEP", "EQ:EVENT", "RENAME BUTTON"}) {
        const auto menu = outputLines(w.run({"popups", "show", type}).out);
        ASSERT_FALSE(menu.empty()) << type;
        const std::size_t entries = std::stoul(menu[0].substr(0, menu[0].find('\t')));
        ASSERT_EQ(menu.size(), entries + 1) << type;
        for (std::size_t i = 1; i < menu.size(); ++i)
            EXPECT_EQ(menu[i].rfind(std::to_string(i) + "\t", 0), 0u) << type << ": " << menu[i];
    }
}

TEST(KtxEquates, AListFileThatCannotBeReadIsReportedAndTheOthersLoaded)
{
    EquatesWorkspace w;
    std::filesystem::create_directories(std::filesystem::path(w.data) /
                                        "EQU-USE5.TXT"); // a folder, not a file
    const KtxRun load = w.run({"equates", "load"});
    EXPECT_EQ(load.code, 0);
    EXPECT_EQ(load.err.rfind(
                  "FILE OPEN ERROR: An error occured while opening a file used to build the equates list\n\n"
                  "Error: Access Denied (5)\nFile: EQU-USE5.TXT \n",
                  0),
              0u)
        << load.err;
    EXPECT_NE(w.run({"equates", "list", "--type", "Color"}).out.find("COLOR:Black"), std::string::npos);
    EXPECT_EQ(w.run({"equates", "list", "--type", "Std Button"}).out,
              ""); // that list's duplicates are missing
}

TEST(KtxEquates, AnEquatesFileThatCannotBeCreatedFailsTheLoad)
{
    EquatesWorkspace w;
    ASSERT_EQ(w.run({"config", "show"}).code, 0);
    std::ofstream(std::filesystem::path(w.data) / "Equates5.tps") << std::string(100, 'x');
    const KtxRun load = w.run({"equates", "load"});
    EXPECT_EQ(load.code, 1);
    EXPECT_NE(load.err.find("Disk Error"), std::string::npos);
}

TEST(KtxEquates, AnUnknownTypeIsSaidAndFails)
{
    EquatesWorkspace w;
    ASSERT_EQ(w.run({"equates", "load"}).code, 0);
    const KtxRun run = w.run({"equates", "list", "--type", "NoSuchType"});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "Unknown equate type: NoSuchType (the equates file holds none of it)\n");
}

TEST(KtxEquates, AClarionPathOf200CharactersIsStoredWholeAndLoadedFrom)
{
    kestrix::runtime::testing::TempDir dir;
    const std::filesystem::path root = dir.path() / std::string(160, 'w') / "Programs" / "Clarion";
    std::filesystem::create_directories(root.parent_path());
    std::filesystem::copy(SampleClarionRoot, root, std::filesystem::copy_options::recursive);
    ASSERT_GE(root.string().size(), 200u);
    const std::string data = (dir.path() / "data").string();

    KtxRun run = ktx({"--data-dir", data, "config", "set", "CWPATH=" + root.string()});
    ASSERT_EQ(run.code, 0) << run.err;
    run = ktx({"--data-dir", data, "config", "show"});
    EXPECT_NE(run.out.find("CWPATH=" + root.string() + "\n"), std::string::npos);
    run = ktx({"--data-dir", data, "equates", "load"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_GT(std::stol(run.out.substr(7)), 1000); // the sample's equates, not a handful from a cut path

    run = ktx({"--data-dir", data, "config", "set", "CWPATH=/" + std::string(260, 'x')});
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(run.err, "INVALID CLARION PATH: CFG:CWPATH holds at most 260 characters, not 261.\n");
}
