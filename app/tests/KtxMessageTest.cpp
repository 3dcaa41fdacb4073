#include "KtxRun.h"
#include "runtime/testing/TempDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>

using kestrix::testing::ktx;
using kestrix::testing::KtxRun;

namespace {
struct DataDir
{
    kestrix::runtime::testing::TempDir dir;
    std::string path = (dir.path() / "data").string();

    KtxRun run(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--data-dir", path});
        return ktx(args);
    }
};
} // namespace

TEST(KtxMessage, GenerateFromTheTemplateAndFlags)
{
    DataDir d;
    KtxRun run = d.run({"message", "generate", "--text", "Delete this record?|It cannot be undone.", "--caption",
                        "Confirm", "--icon", "Question", "--buttons", "Yes,No", "--default", "No", "--sound", "off",
                        "--set", "INDENT=3", "--set", "NESTINDENT=2"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "  CASE MESSAGE('Delete this record?'&|\n"
                       "      '|It cannot be undone.', |\n"
                       "      'Confirm', ICON:Question, |\n"
                       "       BUTTON:Yes+BUTTON:No, BUTTON:No, 0)\n"
                       "  OF BUTTON:Yes\n"
                       "  OF BUTTON:No\n"
                       "  END !CASE\n");
    // --set lasts for the run only.
    run = d.run({"config", "show"});
    EXPECT_NE(run.out.find("\nINDENT=0\n"), std::string::npos);
}

TEST(KtxMessage, CheckFailuresPrintTheirLineAndMessage)
{
    DataDir d;
    KtxRun run = d.run({"message", "generate", "--buttons", ""});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out, "No buttons\n");
    EXPECT_EQ(run.err, "NO BUTTONS SELECTED: No buttons have been checked!\n");
    run = d.run({"message", "generate", "--text", "a {b"});
    EXPECT_EQ(run.out, "Unbalanced Curly Braces\n");
    EXPECT_EQ(run.err, "INVALID MESSAGE TEXT: The message text has unbalanced curly braces.\n"
                       "You must have the same number of { as }.\n");
    run = d.run({"message", "generate", "--buttons", "Yes,Maybe"});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err, "Unknown button: Maybe\n");
}

TEST(KtxMessage, LowerCaseCodeAndTabsOnTheWayOut)
{
    DataDir d;
    KtxRun run = d.run({"--set", "LOWERCASE=1", "message", "generate", "--code", "None", "--sound", "off", "--text",
                        "Can't\tStop", "--caption", "TITLE"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "message('Can''t<9>Stop', |\n     'TITLE', )\n");
}

TEST(KtxMessage, DecompileThenGenerateGivesTheSameCode)
{
    DataDir d;
    const KtxRun first = d.run({"message", "generate", "--text", "Total: {Cnt}\n\tnext line", "--caption",
                                "Delete {CLIP(Name)}?", "--icon", "Exclamation", "--buttons", "OK,Cancel", "--code", "If",
                                "--loop", "on", "--iferror", "on", "--default", "OK"});
    ASSERT_EQ(first.code, 0) << first.err;
    std::ofstream((d.dir.path() / "code.clw").string()) << first.out;
    const KtxRun json = d.run({"message", "decompile", "code.clw"}); // relative to where ktx was started
    ASSERT_EQ(json.code, 0) << json.err;
    const auto parsed = nlohmann::json::parse(json.out);
    EXPECT_EQ(parsed["text"], "Total: {Cnt}\r\n\tnext line");
    EXPECT_EQ(parsed["caption"], "Delete {CLIP(Name)}?");
    EXPECT_EQ(parsed["icon"], "Exclamation");
    EXPECT_EQ(parsed["buttons"], nlohmann::json::array({"OK", "Cancel"}));
    EXPECT_EQ(parsed["codeType"], "If");
    EXPECT_EQ(parsed["codeLoop"], true);
    EXPECT_EQ(parsed["codeIfError"], true);
    EXPECT_EQ(parsed["sound"], true);
    EXPECT_EQ(parsed["buttonNames"].size(), 8u);
    std::ofstream((d.dir.path() / "msg.json").string()) << json.out;
    const KtxRun again = d.run({"message", "generate", "--json", (d.dir.path() / "msg.json").string(), "--default", "OK"});
    EXPECT_EQ(again.out, first.out);

    std::ofstream((d.dir.path() / "none.clw").string()) << "x = 1";
    const KtxRun none = d.run({"message", "decompile", (d.dir.path() / "none.clw").string()});
    EXPECT_EQ(none.code, 1);
    EXPECT_EQ(none.err, "NO MESSAGE FOUND: No MESSAGE( found on clipboard\n");
}

TEST(KtxMessage, SaveListAndGenerateFromASavedMessage)
{
    DataDir d;
    ASSERT_EQ(d.run({"message", "save", "Delete Check", "--text", "Really\tdelete?", "--caption", "Sure"}).code, 0);
    ASSERT_EQ(d.run({"message", "save", "Another", "--text", "Second"}).code, 0);
    ASSERT_EQ(d.run({"message", "save", "delete check", "--text", "Duplicate names are kept"}).code, 0);
    const KtxRun list = d.run({"message", "list"});
    EXPECT_EQ(list.out, "Another\t\tSecond\n"
                        "Delete Check\tSure\tReally delete?\n"
                        "delete check\t\tDuplicate names are kept\n"
                        "ZZ-DEFAULT\t\t\n");
    const KtxRun from = d.run({"message", "generate", "--from", "DELETE CHECK", "--code", "None", "--sound", "off"});
    EXPECT_EQ(from.out, "MESSAGE('Really<9>delete?', |\n     'Sure', )\n");
    EXPECT_EQ(d.run({"message", "generate", "--from", "Nothing"}).code, 1);
    std::ofstream((d.dir.path() / "bad.json").string()) << "{ not json";
    EXPECT_EQ(d.run({"message", "generate", "--json", (d.dir.path() / "bad.json").string()}).err,
              "The message is not valid JSON.\n");
}
