#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Merge tokens of code snippets: `_{Name}_` in a snippet asks for a value when
// the snippet is copied, and every occurrence of the token (in any case) is
// replaced by it.
namespace kestrix::utilities {

constexpr std::size_t MaxMergeTokens = 14;
constexpr std::size_t MergeValueLength = 128;
constexpr const char* MergeOpen = "_{";
constexpr const char* MergeClose = "}_";
constexpr const char* EmptyMergeToken = "_{}_";

struct MergeToken final
{
    std::string token; // upper-cased, brackets included: "_{FILE}_"
    std::string label; // the name between the brackets, as first written: "File"
    std::string value; // starts as the token, so a value left alone puts the token back in upper case
    bool operator==(const MergeToken&) const = default;
};

// The snippet's lines, split at CR LF (a lone LF also ends a line).
std::vector<std::string> splitCodeLines(const std::string& code);
std::string joinCodeLines(const std::vector<std::string>& lines);

// The distinct tokens in order of first appearance, at most MaxMergeTokens; a token
// that never closes is not one.
std::vector<MergeToken> scanMergeTokens(const std::vector<std::string>& lines);

// Each token in turn replaced by its value (without trailing blanks) wherever it stands,
// without regard to case. The search goes on after the inserted value, so a value that
// holds its own token is inserted once, not again and again.
std::vector<std::string> mergeTokens(std::vector<std::string> lines, const std::vector<MergeToken>& tokens);

// The code shifted left by the smallest indentation of its non-blank lines.
std::string leftJustifyCode(const std::string& code);

} // namespace kestrix::utilities
