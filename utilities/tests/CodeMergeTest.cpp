#include "utilities/CodeMerge.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrix::utilities {
namespace {

using Lines = std::vector<std::string>;

std::vector<std::string> labels(const std::vector<MergeToken>& tokens)
{
    std::vector<std::string> out;
    for (const MergeToken& t : tokens)
        out.push_back(t.label);
    return out;
}

TEST(CodeMerge, SplitsAtCrLfAndJoinsBack)
{
    EXPECT_EQ(splitCodeLines("a\r\nb\r\n\r\nc"), (Lines{"a", "b", "", "c"}));
    EXPECT_EQ(splitCodeLines("a\nb"), (Lines{"a", "b"}));
    EXPECT_EQ(splitCodeLines(""), (Lines{""}));
    EXPECT_EQ(joinCodeLines({"a", "", "c"}), "a\r\n\r\nc");
}

TEST(CodeMerge, SameTokenInAnyCaseIsAskedForOnceAndReplacedEverywhere)
{
    const Lines lines = {"OPEN(_{File}_)", "IF ERRORCODE() THEN STOP(_{File}_).", "CLOSE(_{file}_)"};
    std::vector<MergeToken> tokens = scanMergeTokens(lines);
    ASSERT_EQ(tokens.size(), 1u);
    EXPECT_EQ(tokens[0].token, "_{FILE}_");
    EXPECT_EQ(tokens[0].label, "File");
    EXPECT_EQ(tokens[0].value, "_{FILE}_");
    tokens[0].value = "Customer   ";
    EXPECT_EQ(mergeTokens(lines, tokens),
              (Lines{"OPEN(Customer)", "IF ERRORCODE() THEN STOP(Customer).", "CLOSE(Customer)"}));
}

TEST(CodeMerge, UntouchedValueLeavesTheTokenUpperCased)
{
    const Lines lines = {"x = _{Name}_ + _{name}_"};
    EXPECT_EQ(mergeTokens(lines, scanMergeTokens(lines)), (Lines{"x = _{NAME}_ + _{NAME}_"}));
}

TEST(CodeMerge, TokensInOrderOfFirstAppearanceSeveralPerLine)
{
    const Lines lines = {"_{B}_ _{A}_ _{b}_", "_{C}_"};
    EXPECT_EQ(labels(scanMergeTokens(lines)), (Lines{"B", "A", "C"}));
}

TEST(CodeMerge, TokenThatNeverClosesIsNoToken)
{
    EXPECT_TRUE(scanMergeTokens({"x = _{Name"}).empty());
    const Lines lines = {"_{A}_ and _{Name"};
    std::vector<MergeToken> tokens = scanMergeTokens(lines);
    ASSERT_EQ(labels(tokens), (Lines{"A"}));
    tokens[0].value = "1";
    EXPECT_EQ(mergeTokens(lines, tokens), (Lines{"1 and _{Name"}));
}

TEST(CodeMerge, FifteenthTokenIsLeftInTheText)
{
    std::string line;
    for (int i = 1; i <= 20; ++i)
        line += "_{T" + std::to_string(i) + "}_ ";
    std::vector<MergeToken> tokens = scanMergeTokens({line});
    ASSERT_EQ(tokens.size(), MaxMergeTokens);
    EXPECT_EQ(tokens.back().label, "T14");
    for (MergeToken& t : tokens)
        t.value = "v";
    const std::string merged = mergeTokens({line}, tokens).front();
    EXPECT_EQ(merged.substr(0, 28), "v v v v v v v v v v v v v v ");
    EXPECT_NE(merged.find("_{T15}_"), std::string::npos);
    EXPECT_NE(merged.find("_{T20}_"), std::string::npos);
}

TEST(CodeMerge, ValueHoldingItsOwnTokenIsInsertedOnce)
{
    const Lines lines = {"a _{Name}_ b _{NAME}_"};
    std::vector<MergeToken> tokens = scanMergeTokens(lines);
    tokens[0].value = "<_{Name}_>";
    EXPECT_EQ(mergeTokens(lines, tokens), (Lines{"a <_{Name}_> b <_{Name}_>"}));
}

TEST(CodeMerge, ValueHoldingALaterTokenIsReplacedByThatToken)
{
    const Lines lines = {"_{A}_ _{B}_"};
    std::vector<MergeToken> tokens = scanMergeTokens(lines);
    tokens[0].value = "[_{b}_]";
    tokens[1].value = "x";
    EXPECT_EQ(mergeTokens(lines, tokens), (Lines{"[x] x"}));
}

TEST(CodeMerge, LargeSnippetWithTwentyTokens)
{
    Lines lines;
    std::size_t size = 0;
    for (int i = 0; size < 4000; ++i) {
        lines.push_back("  Field" + std::to_string(i) + " = _{Value" + std::to_string(i % 20) + "}_ ! note");
        size += lines.back().size() + 2;
    }
    std::vector<MergeToken> tokens = scanMergeTokens(lines);
    ASSERT_EQ(tokens.size(), MaxMergeTokens);
    for (MergeToken& t : tokens)
        t.value = "V";
    const Lines merged = mergeTokens(lines, tokens);
    EXPECT_EQ(merged[0], "  Field0 = V ! note");
    EXPECT_EQ(merged[15], "  Field15 = _{Value15}_ ! note");
    EXPECT_EQ(merged[33], "  Field33 = V ! note");
}

TEST(CodeMerge, EmptyMergeBracketsAreAToken)
{
    const std::vector<MergeToken> tokens = scanMergeTokens({std::string("x ") + EmptyMergeToken});
    ASSERT_EQ(tokens.size(), 1u);
    EXPECT_EQ(tokens[0].label, "");
}

struct JustifyCase
{
    const char* code;
    const char* justified;
};

TEST(CodeMerge, LeftJustifyShiftsByTheSmallestIndentOfNonBlankLines)
{
    const JustifyCase cases[] = {
        {"    a\r\n      b\r\n    c", "a\r\n  b\r\nc"},
        {"    a\r\n\r\n  b", "  a\r\n\r\nb"},
        {"   a\r\n \r\n     b", "a\r\n\r\n  b"},
        {"a\r\n  b", "a\r\n  b"},
        {"\t\ta\r\n\tb", "\ta\r\nb"},
        {"   \r\n  ", "   \r\n  "},
    };
    for (const JustifyCase& c : cases)
        EXPECT_EQ(leftJustifyCode(c.code), c.justified) << c.code;
}

} // namespace
} // namespace kestrix::utilities
