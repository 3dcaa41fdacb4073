#include "runtime/TextFilter.h"

#include <gtest/gtest.h>

using namespace kestrix::runtime;

TEST(TextFilter, findsTheTextAnywhereIgnoringCaseAndSurroundingBlanks)
{
    const TextFilter filter("  accept ");
    EXPECT_FALSE(filter.empty());
    EXPECT_EQ(filter.folded(), "ACCEPT");
    EXPECT_TRUE(filter.matches("EVENT:Accepted"));
    EXPECT_TRUE(filter.matches("accept"));
    EXPECT_FALSE(filter.matches("Acept"));
    EXPECT_FALSE(filter.matches("ACC"));
    // Blanks inside the text are part of it.
    EXPECT_TRUE(TextFilter("out of").matches("Out of stock"));
    EXPECT_FALSE(TextFilter("out of").matches("Outof stock"));
}

TEST(TextFilter, windows1252LettersMatchTheirOtherCase)
{
    // "é" (E9H) against "É" (C9H), "š" (9AH) against "Š" (8AH), "ÿ" (FFH) against "Ÿ" (9FH).
    EXPECT_TRUE(TextFilter("\xE9t\xE9").matches("R\xC9T\xC9"));
    EXPECT_TRUE(TextFilter("\x8A").matches("a\x9A"));
    EXPECT_TRUE(TextFilter("\xFF").matches("\x9F"));
    // The division and multiplication signs are not letters: no case to ignore.
    EXPECT_FALSE(TextFilter("\xF7").matches("\xD7"));
}

TEST(TextFilter, nothingTypedKeepsEveryRow)
{
    EXPECT_TRUE(TextFilter().empty());
    EXPECT_TRUE(TextFilter("   ").empty());
    EXPECT_TRUE(TextFilter("").matches(""));
    EXPECT_TRUE(TextFilter(" ").matchesAny({}));
    EXPECT_EQ(filteredRows({{"a"}, {"b"}}, TextFilter()), (std::vector<std::size_t>{0, 1}));
}

TEST(TextFilter, aMatchStaysInsideOneCell)
{
    const TextFilter filter("ab");
    EXPECT_FALSE(filter.matchesAny({"xa", "by"}));
    EXPECT_TRUE(filter.matchesAny({"xa", "cAB"}));
    const std::string joined = foldForFilter("xa") + FilterCellBreak + foldForFilter("by");
    EXPECT_FALSE(filter.matchesFolded(joined));
    EXPECT_TRUE(filter.matchesFolded(foldForFilter("xa") + FilterCellBreak + foldForFilter("Abby")));
    // A line break in what was typed cannot bridge two cells either.
    EXPECT_FALSE(TextFilter("a\nb").matchesFolded(joined));
}

TEST(TextFilter, filteredRowsKeepTheirOrder)
{
    const std::vector<std::vector<std::string>> rows = {
        {"Zeta", "10"}, {"Alpha", "110"}, {"Beta", "2"}, {"Gamma", "1"}};
    EXPECT_EQ(filteredRows(rows, TextFilter("1")), (std::vector<std::size_t>{0, 1, 3}));
    EXPECT_EQ(filteredRows(rows, TextFilter("ETA")), (std::vector<std::size_t>{0, 2}));
    EXPECT_TRUE(filteredRows(rows, TextFilter("delta")).empty());
}
