#include "KtxRun.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace kestrix::testing;

namespace {

TEST(KtxSnippets, AddListCopyAndDelete)
{
    KtxWorkspace w;
    const std::string code = w.write("open.clw", "  OPEN(_{File}_)\n  IF ERRORCODE() THEN STOP(_{file}_).\n"
                                                 "  SET(_{Key}_)\n");
    ASSERT_EQ(w.run({"snippets", "add", "Files", "Open a file", code}).code, 0);
    ASSERT_EQ(w.run({"snippets", "add", "files", "Close", w.write("close.clw", "  CLOSE(_{File}_)")}).code,
              0);
    ASSERT_EQ(w.run({"snippets", "add", "Loops", "All", w.write("loop.clw", "LOOP\nEND\n")}).code, 0);

    EXPECT_EQ(w.run({"snippets", "types"}).out, "Files\nLoops\n");
    EXPECT_EQ(w.run({"snippets", "list"}).out, "files\tClose\nFiles\tOpen a file\nLoops\tAll\n");
    EXPECT_EQ(w.run({"snippets", "list", "LOOPS"}).out, "Loops\tAll\n");

    const KtxRun copied = w.run({"snippets", "copy", "files", "open a file", "--value", "FILE=Customer"});
    ASSERT_EQ(copied.code, 0) << copied.err;
    EXPECT_EQ(copied.out, "  OPEN(Customer)\n  IF ERRORCODE() THEN STOP(Customer).\n  SET(_{KEY}_)\n");
    EXPECT_EQ(w.run({"snippets", "copy", "Loops", "All"}).out, "LOOP\nEND\n");

    ASSERT_EQ(w.run({"snippets", "delete", "Files", "Close"}).code, 0);
    EXPECT_EQ(w.run({"snippets", "list", "Files"}).out, "Files\tOpen a file\n");
    const KtxRun gone = w.run({"snippets", "delete", "Files", "Close"});
    EXPECT_EQ(gone.code, 1);
    EXPECT_EQ(gone.err, "No snippet Close of type Files\n");
}

TEST(KtxSnippets, RefusedInput)
{
    KtxWorkspace w;
    const KtxRun longType = w.run({"snippets", "add", "ElevenChars", "x", w.write("a", "x")});
    EXPECT_EQ(longType.code, 2);
    EXPECT_EQ(longType.err, "CDT:TYPE holds at most 10 characters, not 11.\n");
    const KtxRun longCode = w.run({"snippets", "add", "T", "x", w.write("b", std::string(4001, 'c'))});
    EXPECT_EQ(longCode.code, 2);
    EXPECT_EQ(longCode.err, "CDS:CODE holds at most 4000 characters, not 4001.\n");
    EXPECT_EQ(w.run({"snippets", "types"}).out, ""); // nothing was added, not even the type

    ASSERT_EQ(w.run({"snippets", "add", "T", "x", w.write("c", "a _{Name}_")}).code, 0);
    const KtxRun unknown = w.run({"snippets", "copy", "T", "x", "--value", "Other=1"});
    EXPECT_EQ(unknown.code, 2);
    EXPECT_EQ(unknown.err, "The snippet has no merge field Other\n");
    const KtxRun tooLong = w.run({"snippets", "copy", "T", "x", "--value", "Name=" + std::string(129, 'v')});
    EXPECT_EQ(tooLong.code, 2);
    EXPECT_EQ(tooLong.err, "The value of Name holds at most 128 characters, not 129.\n");
    const KtxRun ownToken = w.run({"snippets", "copy", "T", "x", "--value", "name=<_{Name}_>"});
    EXPECT_EQ(ownToken.out, "a <_{Name}_>\n");
    const KtxRun noType = w.run({"snippets", "list", "Nothing"});
    EXPECT_EQ(noType.code, 1);
}

} // namespace
