#include "KtxRun.h"
#include "message/MessageFile.h"
#include "message/MessageRecord.h"
#include "runtime/KeyedFile.h"
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
    KtxRun run = d.run({"message", "generate", "--text", "Delete this record?|It cannot be undone.",
                        "--caption", "Confirm", "--icon", "Question", "--buttons", "Yes,No", "--default",
                        "No", "--sound", "off", "--set", "INDENT=3", "--set", "NESTINDENT=2"});
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

TEST(KtxMessage, ARefusedGenerateSaysWhyOnStderrAndPrintsNothing)
{
    DataDir d;
    KtxRun run = d.run({"message", "generate", "--buttons", ""});
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "NO BUTTONS SELECTED: No buttons have been checked!\n");
    run = d.run({"message", "generate", "--text", "a {b"});
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "INVALID MESSAGE TEXT: The message text has unbalanced curly braces.\n"
                       "You must have the same number of { as }.\n");
    run = d.run({"message", "generate", "--buttons", "Yes,Maybe"});
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(run.err, "Unknown button: Maybe (one of OK, Yes, No, Abort, Retry, Ignore, Cancel, Help)\n");
}

TEST(KtxMessage, ValuesLongerThanTheirFieldAreRefusedByNameAndSize)
{
    DataDir d;
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--text", std::string(999, 'x') + "{}{"}, "MES:TEXT holds at most 1000 characters, not 1002.\n"},
        {{"--caption", std::string(61, 'c')}, "MES:CAPTION holds at most 60 characters, not 61.\n"},
        {{"--rename", "on", "--button-name", "Yes=" + std::string(16, 'n')},
         "MES:BUTTONNAME[2] holds at most 15 characters, not 16.\n"},
    };
    for (const auto& [flags, why] : cases) {
        std::vector<std::string> args = {"message", "generate"};
        args.insert(args.end(), flags.begin(), flags.end());
        const KtxRun run = d.run(args);
        EXPECT_EQ(run.code, 2) << why;
        EXPECT_EQ(run.out, "") << why;
        EXPECT_EQ(run.err, why);

        args[1] = "save";
        args.insert(args.begin() + 2, "Too long");
        EXPECT_EQ(d.run(args).code, 2) << why;
    }
    KtxRun run = d.run({"message", "save", std::string(41, 'd'), "--text", "x"});
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(run.err, "INVALID DESCRIPTION: MES:DESCRIPTION holds at most 40 characters, not 41.\n");
    // Two descriptions sharing their first 40 characters stay two names: the second is refused, not merged.
    EXPECT_EQ(d.run({"message", "list"}).out, "ZZ-DEFAULT\t\t\n");
}

TEST(KtxMessage, SaveAppliesTheMessageMakersChecks)
{
    DataDir d;
    const std::pair<std::vector<std::string>, std::string> refused[] = {
        {{"message", "save", "  ", "--text", "x"},
         "INVALID DESCRIPTION: A message is saved under a description"},
        {{"message", "save", "zz-default", "--text", "x"},
         "INVALID DESCRIPTION: ZZ-DEFAULT names the template"},
        {{"message", "save", "None", "--buttons", ""}, "NO BUTTONS SELECTED: "},
        {{"message", "save", "Braces", "--text", "a {b"}, "INVALID MESSAGE TEXT: "},
        {{"message", "save", "Icon", "--icon", "Hand); RUN('x')"},
         "MES:ICON takes an icon of the list (None, "},
        {{"message", "save", "Code", "--code", "Loop"}, "--code: Loop not in {None,Case,If}"},
        {{"message", "save", "Default", "--buttons", "Yes,No", "--default", "Cancel"},
         "MES:DEFAULT must be one of the first four chosen buttons (Yes, No), not Cancel.\n"},
    };
    for (const auto& [args, why] : refused) {
        const KtxRun run = d.run(args);
        EXPECT_EQ(run.code, 2) << args[2];
        EXPECT_NE(run.err.find(why), std::string::npos) << run.err;
    }
    std::ofstream((d.dir.path() / "loop.json").string()) << R"({"codeType": "Loop", "text": "x"})";
    const KtxRun json = d.run({"message", "save", "Json", "--json", (d.dir.path() / "loop.json").string()});
    EXPECT_EQ(json.code, 2);
    EXPECT_EQ(json.err, "MES:CODETYPE takes None, Case or If, not Loop.\n");
    EXPECT_EQ(d.run({"message", "list"}).out, "ZZ-DEFAULT\t\t\n"); // nothing of it was saved
    EXPECT_EQ(d.run({"message", "save", "Fine", "--text", "{a}{b}", "--icon", "question"}).code, 0);
}

TEST(KtxMessage, ButtonsAndTheDefaultFollowTheWindowsRules)
{
    DataDir d;
    KtxRun run = d.run({"message", "generate", "--code", "None", "--sound", "off", "--buttons", "Yes,No"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "MESSAGE('', |\n     , , |\n      BUTTON:Yes+BUTTON:No, BUTTON:Yes, 0)\n");
    run = d.run({"message", "generate", "--buttons", "Yes,No", "--default", "Bogus"});
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "MES:DEFAULT must be one of the first four chosen buttons (Yes, No), not Bogus.\n");
    // Only the first four chosen buttons are offered as the default, in the window and here.
    run = d.run({"message", "generate", "--buttons", "Yes,No,Abort,Retry,Cancel", "--default", "Cancel"});
    EXPECT_EQ(run.code, 2);
}

TEST(KtxMessage, TextWindows1252CannotHoldIsRefusedAndRawBytesAreWindows1252)
{
    DataDir d;
    KtxRun run = d.run({"message", "generate", "--caption", "\xE4\xB8\xAD"});
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(run.err, "The character \xE4\xB8\xAD (U+4E2D) has no place in Windows-1252 text.\n");
    run = d.run({"message", "generate", "--code", "None", "--sound", "off", "--caption", "\xE9t\xE9 \x80"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out,
              "MESSAGE('', |\n     '\xC3\xA9t\xC3\xA9 \xE2\x82\xAC', )\n"); // as UTF-8 again on the way out
    EXPECT_EQ(d.run({"config", "set", "EDITOR=\xE2\x98\x83"}).code, 2);
    std::ofstream((d.dir.path() / "snow.json").string()) << "{\"caption\": \"\xE2\x98\x83\"}";
    run = d.run({"message", "generate", "--json", (d.dir.path() / "snow.json").string()});
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(run.err, "The character \xE2\x98\x83 (U+2603) in " + (d.dir.path() / "snow.json").string() +
                           " has no place in Windows-1252 text.\n");
    // Decompile sources follow the same rule: UTF-8 when they are UTF-8, refused by name when
    // Windows-1252 cannot hold a character, Windows-1252 bytes as they stand.
    std::ofstream((d.dir.path() / "utf8.clw").string(), std::ios::binary)
        << "MESSAGE('\xE2\x82\xAC 5', 'Price')";
    run = d.run({"message", "decompile", (d.dir.path() / "utf8.clw").string()});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(nlohmann::json::parse(run.out)["text"], "\xE2\x82\xAC 5");
    std::ofstream((d.dir.path() / "cp1252.clw").string(), std::ios::binary) << "MESSAGE('\x80 5', 'Price')";
    run = d.run({"message", "decompile", (d.dir.path() / "cp1252.clw").string()});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(nlohmann::json::parse(run.out)["text"], "\xE2\x82\xAC 5");
    std::ofstream((d.dir.path() / "snow.clw").string(), std::ios::binary)
        << "MESSAGE('\xE2\x98\x83', 'Cold')";
    run = d.run({"message", "decompile", (d.dir.path() / "snow.clw").string()});
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "The character \xE2\x98\x83 (U+2603) in " + (d.dir.path() / "snow.clw").string() +
                           " has no place in Windows-1252 text.\n");
}

TEST(KtxMessage, DecompileOfATextTooLongKeepsWhatFitsAndTheCaptionAndSaysSo)
{
    DataDir d;
    std::ofstream((d.dir.path() / "long.clw").string())
        << "MESSAGE('" << std::string(1100, 'y') << "', 'Still here', ICON:Hand)";
    const KtxRun run = d.run({"message", "decompile", (d.dir.path() / "long.clw").string()});
    ASSERT_EQ(run.code, 0) << run.err;
    const auto parsed = nlohmann::json::parse(run.out);
    EXPECT_EQ(parsed["text"], std::string(1000, 'y'));
    EXPECT_EQ(parsed["caption"], "Still here");
    EXPECT_EQ(run.err,
              "The message text has 1100 characters; MES:TEXT holds 1000, so the last 100 were dropped.\n");
    const KtxRun none = d.run({"message", "decompile", "-"});
    EXPECT_EQ(none.err, "NO MESSAGE FOUND: No MESSAGE( found in standard input\n");
}

TEST(KtxMessage, LowerCaseCodeAndTabsOnTheWayOut)
{
    DataDir d;
    KtxRun run = d.run({"--set", "LOWERCASE=1", "message", "generate", "--code", "None", "--sound", "off",
                        "--text", "Can't\tStop", "--caption", "TITLE"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "message('Can''t<9>Stop', |\n     'TITLE', )\n");
}

TEST(KtxMessage, DecompileThenGenerateGivesTheSameCode)
{
    DataDir d;
    const KtxRun first = d.run({"message", "generate", "--text", "Total: {Cnt}\n\tnext line", "--caption",
                                "Delete {CLIP(Name)}?", "--icon", "Exclamation", "--buttons", "OK,Cancel",
                                "--code", "If", "--loop", "on", "--iferror", "on", "--default", "OK"});
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
    const KtxRun again =
        d.run({"message", "generate", "--json", (d.dir.path() / "msg.json").string(), "--default", "OK"});
    EXPECT_EQ(again.out, first.out);

    std::ofstream((d.dir.path() / "none.clw").string()) << "x = 1";
    const KtxRun none = d.run({"message", "decompile", (d.dir.path() / "none.clw").string()});
    EXPECT_EQ(none.code, 1);
    EXPECT_EQ(none.err,
              "NO MESSAGE FOUND: No MESSAGE( found in " + (d.dir.path() / "none.clw").string() + "\n");
}

TEST(KtxMessage, SaveListAndGenerateFromASavedMessage)
{
    DataDir d;
    ASSERT_EQ(
        d.run({"message", "save", "Delete Check", "--text", "Really\tdelete?", "--caption", "Sure"}).code, 0);
    ASSERT_EQ(d.run({"message", "save", "Another", "--text", "Second"}).code, 0);
    ASSERT_EQ(d.run({"message", "save", "delete check", "--text", "Duplicate names are kept"}).code, 0);
    const KtxRun list = d.run({"message", "list"});
    EXPECT_EQ(list.out, "Another\t\tSecond\n"
                        "Delete Check\tSure\tReally delete?\n"
                        "delete check\t\tDuplicate names are kept\n"
                        "ZZ-DEFAULT\t\t\n");
    const KtxRun from =
        d.run({"message", "generate", "--from", "DELETE CHECK", "--code", "None", "--sound", "off"});
    EXPECT_EQ(from.out, "MESSAGE('Really<9>delete?', |\n     'Sure', )\n");
    EXPECT_EQ(d.run({"message", "generate", "--from", "Nothing"}).code, 1);
    std::ofstream((d.dir.path() / "bad.json").string()) << "{ not json";
    const KtxRun bad = d.run({"message", "generate", "--json", (d.dir.path() / "bad.json").string()});
    EXPECT_EQ(bad.code, 2);
    EXPECT_EQ(bad.err, "The message is not valid JSON.\n");
}

TEST(KtxMessage, ASaveWhileTheWindowsHoldTheMessageFileReachesThem)
{
    DataDir d;
    ASSERT_EQ(d.run({"message", "save", "First", "--text", "One"}).code, 0);
    // The program's windows have the file open: ktx shares it rather than waiting for them to let go.
    kestrix::runtime::KeyedFile held((std::filesystem::path(d.path) / "MESSAGE.tps").string(),
                                     kestrix::message::messageLayout());
    held.setBusyTimeout(std::chrono::milliseconds(60000));
    ASSERT_TRUE(held.open().ok());
    ASSERT_EQ(d.run({"message", "save", "Second", "--text", "Two"}).code, 0);
    const KtxRun generated =
        d.run({"message", "generate", "--from", "First", "--code", "None", "--sound", "off"});
    ASSERT_EQ(generated.code, 0) << generated.err;
    EXPECT_EQ(generated.out, "MESSAGE('One', |\n     , )\n");
    const auto seen = kestrix::message::findByDescription(held, "Second");
    ASSERT_TRUE(seen);
    EXPECT_EQ(seen->text(kestrix::message::Mes::Text).substr(0, 3), "Two");
}
