#include "KtxRun.h"
#include "runtime/testing/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using kestrix::testing::ktx;
using kestrix::testing::KtxRun;

namespace {

struct ExchangeWorkspace
{
    kestrix::runtime::testing::TempDir dir;
    KtxRun run(const std::string& data, std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--data-dir", (dir.path() / data).string()});
        return ktx(args);
    }
    std::string write(const std::string& name, const std::string& text)
    {
        std::ofstream(dir.path() / name, std::ios::binary) << text;
        return name;
    }
    std::string read(const std::string& name)
    {
        std::ifstream in(dir.path() / name, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
};

TEST(KtxExchange, ExportThenImportElsewhereWithEachDuplicateChoice)
{
    ExchangeWorkspace w;
    ASSERT_EQ(w.run("a", {"snippets", "add", "SQL", "Select", w.write("s", "SELECT 1")}).code, 0);
    ASSERT_EQ(w.run("a", {"message", "save", "Greeting", "--text", "Hello", "--buttons", "OK"}).code, 0);
    const KtxRun exported = w.run("a", {"export", "all.json"});
    ASSERT_EQ(exported.code, 0) << exported.err;
    EXPECT_EQ(exported.out,
              "exported 1 code types, 1 snippets, 2 messages, 0 inserts\n"); // with the template
    const KtxRun onlySnippets = w.run("a", {"export", "snippets.json", "--snippets"});
    EXPECT_EQ(onlySnippets.out, "exported 1 code types, 1 snippets, 0 messages, 0 inserts\n");
    EXPECT_EQ(w.read("snippets.json").find("\"messages\""), std::string::npos);

    const KtxRun first = w.run("b", {"import", "all.json"});
    ASSERT_EQ(first.code, 0) << first.err;
    EXPECT_EQ(first.out, "added 4, replaced 0, skipped 0\n");
    EXPECT_EQ(w.run("b", {"import", "all.json"}).out, "added 0, replaced 0, skipped 3\n");
    EXPECT_EQ(w.run("b", {"import", "all.json", "--on-duplicate", "replace"}).out,
              "added 0, replaced 3, skipped 0\n");
    EXPECT_EQ(w.run("b", {"import", "snippets.json", "--on-duplicate", "both"}).out,
              "added 1, replaced 0, skipped 0\n");
    EXPECT_EQ(w.run("b", {"snippets", "list"}).out, "SQL\tSelect\nSQL\tSelect\n");
    EXPECT_EQ(w.run("b", {"message", "list"}).out, w.run("a", {"message", "list"}).out);
}

TEST(KtxExchange, RefusedFilesAndUnwritableTargets)
{
    ExchangeWorkspace w;
    const KtxRun garbage = w.run("a", {"import", w.write("g.json", "\x7f\x45LF garbage")});
    EXPECT_EQ(garbage.code, 2);
    EXPECT_EQ(garbage.err, "The file is not a Kestrix data exchange file; nothing was imported.\n");
    const KtxRun older =
        w.run("a", {"import", w.write("o.json", "{\"format\": \"Kestrix data exchange\", \"version\": 0}")});
    EXPECT_EQ(older.code, 2);
    EXPECT_EQ(older.err,
              "The file was written by another version of Kestrix (format version 0, this one reads 1); "
              "nothing was imported.\n");
    EXPECT_EQ(w.run("a", {"snippets", "types"}).out, "");
    const KtxRun unwritable = w.run("a", {"export", "no/such/folder/x.json"});
    EXPECT_EQ(unwritable.code, 1);
    EXPECT_EQ(unwritable.err.rfind("The export file cannot be written: ", 0), 0u);
    EXPECT_EQ(w.run("a", {"import", "x.json", "--on-duplicate", "merge"}).code, 2);
}

} // namespace
