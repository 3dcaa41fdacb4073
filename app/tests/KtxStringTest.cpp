#include "KtxRun.h"
#include "runtime/testing/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

using kestrix::testing::ktx;
using kestrix::testing::KtxRun;

namespace {

struct StringWorkspace
{
    kestrix::runtime::testing::TempDir dir;
    std::string data = (dir.path() / "data").string();

    std::string file(const std::string& content)
    {
        const std::string path = (dir.path() / ("input" + std::to_string(++files) + ".txt")).string();
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }
    KtxRun run(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--data-dir", data});
        return ktx(args);
    }
    int files = 0;
};

} // namespace

TEST(KtxString, BuildAcceptsTheVariableFirstThenTheOptions)
{
    StringWorkspace w;
    const std::string twoLines = w.file("line one\nline two\n");
    KtxRun r = w.run({"string", "build", "--variable", "STOP(", twoLines});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "STOP('line one' &|\n'<13,10>line two' )\n");
    EXPECT_EQ(r.err, "");

    // --enter given explicitly overrides what the Variable set; CR LF reads as LF does.
    r = w.run({"string", "build", "--variable", "STOP(", "--enter", "off", w.file("line one\r\nline two")});
    EXPECT_EQ(r.out, "STOP('line one' &|\n'line two' )\n");

    r = w.run({"string", "build", "--variable", "Msg", "--indent", "3", "--nest", "2", "--end", "30",
               w.file("aaaa bbbb cccc dddd eeee ffff gggg")});
    EXPECT_EQ(r.out, "  Msg = 'aaaa bbbb cccc ' &|\n      'dddd eeee ffff ' &|\n      'gggg'\n");

    // Windows-1252 input is taken as it stands, UTF-8 converted; both print as UTF-8.
    EXPECT_EQ(w.run({"string", "build", "--variable", "Msg", w.file("caf\xe9")}).out,
              "Msg = 'caf\xc3\xa9'\n");
    EXPECT_EQ(w.run({"string", "build", "--set", "LOWERCASE=1", "--variable", "MSG", w.file("It's")}).out,
              "msg = 'It''s'\n");
}

TEST(KtxString, RefusedInputPrintsNoCode)
{
    StringWorkspace w;
    KtxRun r = w.run({"string", "build", "--variable", "Msg", w.file("a } b {")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err,
              "INVALID MESSAGE TEXT: The message text has unbalanced curly braces.\nYou must have the same "
              "number of { as }.\n");

    r = w.run({"string", "build", "--variable", std::string(61, 'V'), w.file("x")});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.err, "Variable holds at most 60 characters, not 61.\n");

    r = w.run({"string", "build", w.file(std::string(3001, 'x'))});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.err, "TEXT TOO LONG: The text holds at most 3000 characters, not 3001.\n");
    // A line break counts as the two characters the text box holds.
    EXPECT_EQ(w.run({"string", "clean", "remove-tabs", w.file(std::string(2999, 'x') + "\n")}).code, 2);

    EXPECT_EQ(w.run({"string", "build", "--end", "100", w.file("x")}).code, 2);
    EXPECT_EQ(w.run({"string", "build", (w.dir.path() / "missing.txt").string()}).code, 1);

    r = w.run({"string", "build", w.file("{" + std::string(300, 'A') + "}")});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.err, "STRING BUILDER: 47 characters did not fit in a line of 254 and were left out.\n");
}

TEST(KtxString, CleanAndDecompile)
{
    StringWorkspace w;
    const std::string text = w.file("  two\tcols  \nnext\x01 line");
    EXPECT_EQ(w.run({"string", "clean", "remove-returns", text}).out, "  two\tcols   next\x01 line\n");
    EXPECT_EQ(w.run({"string", "clean", "remove-tabs", text}).out, "  two cols  \nnext\x01 line\n");
    EXPECT_EQ(w.run({"string", "clean", "remove-extra-spaces", text}).out, "two\tcols \nnext\x01 line\n");
    EXPECT_EQ(w.run({"string", "clean", "remove-non-ascii", text}).out, "  two cols  \nnext  line\n");
    EXPECT_EQ(w.run({"string", "clean", "remove-everything", text}).code, 2);

    KtxRun r = w.run(
        {"string", "decompile", w.file("Msg = 'Total: '&CLIP(Amt)&' of '& |\r\n  'it''s' & '<13,10>end'")});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "Total: {CLIP(Amt)} of it's\nend\n");

    r = w.run({"string", "decompile", w.file("CLIP(Name)")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "NO STRING FOUND: The clipboard holds no quoted string to decompile.\n");
}
