#include "KtxRun.h"

#include <gtest/gtest.h>

using namespace kestrix::testing;

namespace {

struct FindWorkspace : KtxWorkspace
{
    FindWorkspace() { clarionRoot = SampleClarionRoot; }
};

std::vector<std::string> ofKind(const std::string& out, const std::string& kind)
{
    std::vector<std::string> lines;
    for (const std::string& line : outputLines(out)) {
        if (line.starts_with(kind + "\t"))
            lines.push_back(line.substr(kind.size() + 1));
    }
    return lines;
}

} // namespace

TEST(KtxFind, PrintsTheHitsOfEveryKindGroupedInAFixedOrder)
{
    FindWorkspace w;
    ASSERT_EQ(w.run({"equates", "load"}).code, 0);
    ASSERT_EQ(w.run({"message", "save", "Accepted order", "--text", "The order was accepted."}).code, 0);
    ASSERT_EQ(w.run({"snippets", "add", "Events", "On accepted", w.write("a.clw", "OF EVENT:Accepted")}).code,
              0);

    const KtxRun r = w.run({"find", "ACCEPTED"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    // Each line is KIND<TAB>label, the kinds in one block each, in the fixed order.
    std::vector<std::string> order;
    for (const std::string& line : outputLines(r.out)) {
        const std::string kind = line.substr(0, line.find('\t'));
        if (order.empty() || order.back() != kind)
            order.push_back(kind);
    }
    EXPECT_EQ(order, (std::vector<std::string>{"EQUATE", "MESSAGE", "SNIPPET"}));
    const auto equates = ofKind(r.out, "EQUATE");
    EXPECT_NE(std::find(equates.begin(), equates.end(), "EVENT:Accepted = 1 (Event)"), equates.end());
    EXPECT_EQ(ofKind(r.out, "MESSAGE"), std::vector<std::string>{"Accepted order"});
    EXPECT_EQ(ofKind(r.out, "SNIPPET"), std::vector<std::string>{"On accepted (Events)"});

    // Values, errors, keycodes and tools.
    const KtxRun errors = w.run({"find", "file not found"});
    EXPECT_EQ(ofKind(errors.out, "ERROR"), std::vector<std::string>{"2 File Not Found (NoFileErr)"});
    const auto keys = ofKind(w.run({"find", "pgdn"}).out, "KEYCODE");
    ASSERT_FALSE(keys.empty());
    EXPECT_EQ(keys.front().substr(0, 7), "PgDn = ");
    EXPECT_EQ(ofKind(w.run({"find", "equatebrowse"}).out, "TOOL"), std::vector<std::string>{"EquateBrowse"});
}

TEST(KtxFind, BlankTextIsRefusedAndNothingFoundPrintsNothing)
{
    FindWorkspace w;
    const KtxRun blank = w.run({"find", "  "});
    EXPECT_EQ(blank.code, 2);
    EXPECT_EQ(blank.err, "FIND: Type the text to look for\n");
    EXPECT_EQ(blank.out, "");
    const KtxRun none = w.run({"find", "no such thing anywhere"});
    EXPECT_EQ(none.code, 0) << none.err;
    EXPECT_EQ(none.out, "");
}
