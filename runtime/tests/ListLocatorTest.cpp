#include "runtime/ListLocator.h"

#include <gtest/gtest.h>

using namespace kestrix::runtime;

namespace {
const std::vector<LocatorRow> rows = {
    {"Confirm Delete", "Confirm Delete|Delete?|Delete this record?"},
    {"Order saved", "Order saved|Saved|The order was saved."},
    {"Out of stock", "Out of stock|Stock|No more {Item}."},
};
}

TEST(ListLocator, aPrefixJumpsAndKeepsEveryRow)
{
    const LocatorResult r = locate(rows, "ou");
    EXPECT_EQ(r.visible.size(), 3u);
    ASSERT_TRUE(r.current);
    EXPECT_EQ(*r.current, 2u);
    EXPECT_EQ(*locate(rows, "ORDER ").current, 1u); // case and trailing blanks do not matter
}

TEST(ListLocator, textThatStartsNoKeyFiltersOnEveryColumn)
{
    const LocatorResult saved = locate(rows, "saved");
    EXPECT_EQ(saved.visible, std::vector<std::size_t>{1});
    const LocatorResult item = locate(rows, "{item}");
    EXPECT_EQ(item.visible, std::vector<std::size_t>{2});
    ASSERT_TRUE(item.current);
    EXPECT_EQ(*item.current, 2u);
}

TEST(ListLocator, textNoRowHoldsShowsEveryRowAtTheNearestKey)
{
    const LocatorResult after = locate(rows, "zz");
    EXPECT_EQ(after.visible.size(), 3u);
    ASSERT_TRUE(after.current);
    EXPECT_EQ(*after.current, 2u); // sorts after every key: the last row
    const LocatorResult between = locate(rows, "Dx");
    EXPECT_EQ(between.visible.size(), 3u);
    EXPECT_EQ(*between.current, 1u); // between "Confirm Delete" and "Order saved"
    const LocatorResult before = locate(rows, "#");
    EXPECT_EQ(*before.current, 0u);
    EXPECT_FALSE(locate({}, "zz").current);
}

TEST(ListLocator, anEmptyLocatorShowsAllFromTheTop)
{
    const LocatorResult r = locate(rows, "");
    EXPECT_EQ(r.visible.size(), 3u);
    EXPECT_EQ(*r.current, 0u);
    EXPECT_FALSE(locate({}, "").current);
}
