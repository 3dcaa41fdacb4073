#include "KtxRun.h"
#include "runtime/testing/TempDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>

using kestrix::testing::ktx;
using nlohmann::json;

namespace {
const std::string Samples = std::string(KESTRIX_SOURCE_DIR) + "/samples/windows/";

struct KeysWorkspace
{
    kestrix::runtime::testing::TempDir dir;
    std::string data = (dir.path() / "data").string();
    json analyze(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--data-dir", data, "keys", "analyze"});
        const auto run = ktx(args);
        EXPECT_EQ(run.code, 0) << run.err;
        return json::parse(run.out);
    }
};
} // namespace

TEST(KtxKeys, ASheetOfTabsAnalysedWholeOrByTab)
{
    KeysWorkspace w;
    const json all = w.analyze({Samples + "CustomerForm.clw"});
    EXPECT_EQ(all["title"], "Update Customer");
    EXPECT_TRUE(all["isMdi"]);
    EXPECT_EQ(all["tabMode"], 0);
    // A: Address, Active; N: Name, Newsletter, Notes; O: N&otes, OK.
    EXPECT_EQ(all["captions"][0], "&Alt Keys  (4 Conflicts)");
    EXPECT_EQ(all["conflicts"]["key"], 1); // F1Key against the IDE's Help
    EXPECT_EQ(all["frame"]["name"], "None");
    EXPECT_TRUE(all["messages"].empty());
    EXPECT_EQ(all["alt"][0]["key"], ""); // controls without a letter sort first
    EXPECT_EQ(all["usedLetters"], "A C E GHI    NOP  S");

    const json second =
        w.analyze({Samples + "CustomerForm.clw", "--tab", "2", "--sort", "5", "--suggest", "1"});
    EXPECT_EQ(second["tabMode"], 2);
    for (const json& row : second["alt"])
        EXPECT_NE(row["name"], "&Name:");
    EXPECT_EQ(second["alt"][0]["type"], "TAB"); // tab order
    EXPECT_EQ(second["suggestion"].get<std::string>().rfind("** WARNING **", 0), 0u);
    const json none = w.analyze({Samples + "CustomerForm.clw", "--tab", "none"});
    EXPECT_EQ(none["tabMode"], 999);
}

TEST(KtxKeys, TheFrameIsSavedAndMergedIntoItsChildren)
{
    KeysWorkspace w;
    const json frame = w.analyze({Samples + "MainFrame.clw", "--save-frame"});
    EXPECT_TRUE(frame["isApplication"]);
    EXPECT_EQ(frame["frame"]["status"], "Frame is being Analyzed");
    const json child = w.analyze({Samples + "OrderBrowse.clw"});
    EXPECT_EQ(child["frame"]["name"], "Order Entry");
    EXPECT_EQ(child["frame"]["status"], "Frame is Included");
    EXPECT_EQ(child["frame"]["button"], "Ex&clude");
    bool frameEntry = false;
    for (const json& row : child["menu"])
        frameEntry = frameEntry || (row["frame"] == true && row["path"] == "\\Window");
    EXPECT_TRUE(frameEntry);
    const json excluded = w.analyze({Samples + "OrderBrowse.clw", "--frame", "exclude"});
    EXPECT_EQ(excluded["frame"]["status"], "Frame is Excluded");
}

TEST(KtxKeys, TextThatIsNoWindowFailsAndSaysSoOnStderr)
{
    KeysWorkspace w;
    std::ofstream((w.dir.path() / "junk.txt").string()) << "x = 1\nBUTTON('&B')\n";
    std::ofstream((w.dir.path() / "empty.txt").string());
    for (const char* input : {"junk.txt", "empty.txt"}) {
        const auto run = ktx({"--data-dir", w.data, "keys", "analyze", (w.dir.path() / input).string()});
        EXPECT_EQ(run.code, 1) << input;
        EXPECT_EQ(run.err.rfind("NO WINDOW FOUND: There does not appear", 0), 0u) << run.err;
        const json junk = json::parse(run.out);
        ASSERT_EQ(junk["messages"].size(), 1u);
        EXPECT_EQ(junk["messages"][0].get<std::string>().rfind("NO WINDOW FOUND: There does not appear", 0),
                  0u);
    }
    const auto directory = ktx({"--data-dir", w.data, "keys", "analyze", w.dir.path().string()});
    EXPECT_EQ(directory.code, 1);
    EXPECT_EQ(directory.out, "");
    EXPECT_EQ(directory.err, "Cannot read " + w.dir.path().string() + ": it is a directory\n");
}

TEST(KtxKeys, OptionsThatCannotApplyAreRefused)
{
    KeysWorkspace w;
    const std::string window = Samples + "CustomerForm.clw";
    const std::pair<std::vector<std::string>, std::string> refused[] = {
        {{window, "--tab", "abc"}, "--tab takes all, none or the number of a tab, not abc\n"},
        {{window, "--suggest", "-1"}, "--suggest"},
        {{window, "--suggest", "0"}, "--suggest"},
        {{window, "--save-frame"},
         "--save-frame keeps an APPLICATION( structure as the frame; this is a WINDOW(.\n"},
    };
    for (const auto& [args, why] : refused) {
        std::vector<std::string> full = {"--data-dir", w.data, "keys", "analyze"};
        full.insert(full.end(), args.begin(), args.end());
        const auto run = ktx(full);
        EXPECT_EQ(run.code, 2) << args[1];
        EXPECT_EQ(run.out, "") << args[1];
        EXPECT_NE(run.err.find(why), std::string::npos) << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(w.data) / "APPFrame.DAT"));
}

// A window file is read as UTF-8 when it is UTF-8 and as Windows-1252 otherwise; a character that
// Windows-1252 cannot hold is refused with the file's name rather than read as '?'.
TEST(KtxKeys, AWindowFileIsReadAsUtf8OrWindows1252AndACharacterWithoutAPlaceIsRefused)
{
    KeysWorkspace w;
    const auto window = [](const std::string& title) {
        return "Window WINDOW('" + title + "'),AT(,,100,50)\n  BUTTON('&OK'),USE(?Ok)\nEND\n";
    };
    const std::string utf8File = (w.dir.path() / "utf8.clw").string();
    const std::string cp1252File = (w.dir.path() / "cp1252.clw").string();
    const std::string hanFile = (w.dir.path() / "han.clw").string();
    std::ofstream(utf8File, std::ios::binary) << window("\xC3\x84pfel \xE2\x82\xAC");
    std::ofstream(cp1252File, std::ios::binary) << window("\xC4pfel \x80");
    std::ofstream(hanFile, std::ios::binary) << window("Tea \xE4\xB8\xAD");
    EXPECT_EQ(w.analyze({utf8File})["title"], "\xC3\x84pfel \xE2\x82\xAC");
    EXPECT_EQ(w.analyze({cp1252File})["title"], "\xC3\x84pfel \xE2\x82\xAC");
    const auto refused = ktx({"--data-dir", w.data, "keys", "analyze", hanFile});
    EXPECT_EQ(refused.code, 2);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err,
              "The character \xE4\xB8\xAD (U+4E2D) in " + hanFile + " has no place in Windows-1252 text.\n");
}
