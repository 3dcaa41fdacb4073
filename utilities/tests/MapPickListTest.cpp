#include "utilities/MapPickList.h"

#include "runtime/WinPath.h"
#include "runtime/testing/TempDir.h"

#include <gtest/gtest.h>

namespace kestrix::utilities {
namespace {

std::vector<std::string> names(const MapPickList& list)
{
    std::vector<std::string> out;
    for (const MapPickRow& row : list.rows())
        out.push_back(row.fileName);
    return out;
}

TEST(MapPickList, MostRecentFirstWithoutDuplicatesAndAtMostTwenty)
{
    runtime::testing::TempDir dir;
    MapPickList list = MapPickList::inCurrentDirectory();
    list.load();
    EXPECT_TRUE(list.rows().empty());
    for (int i = 1; i <= 22; ++i)
        ASSERT_TRUE(list.opened("C:\\Src\\App" + std::to_string(i) + ".CLW"));
    ASSERT_TRUE(list.opened("c:\\src\\app10.clw"));

    MapPickList again = MapPickList::inCurrentDirectory();
    again.load();
    const auto rows = again.rows();
    ASSERT_EQ(rows.size(), 20u);
    EXPECT_EQ(rows[0], (MapPickRow{1, "c:\\src\\app10.clw"}));
    EXPECT_EQ(rows[1], (MapPickRow{2, "c:\\src\\app22.clw"}));
    EXPECT_EQ(rows[19], (MapPickRow{20, "c:\\src\\app3.clw"}));

    runtime::IniFile ini(runtime::resolveWinPath(MapPickList::FileName));
    EXPECT_EQ(ini.value("MapList", "1"), "c:\\src\\app10.clw");
    EXPECT_EQ(ini.value("MapList", "SortBy"), "Last Used");
}

TEST(MapPickList, SortOrderRemoveAndLastFolder)
{
    runtime::testing::TempDir dir;
    MapPickList list = MapPickList::inCurrentDirectory();
    list.load();
    for (const char* name : {"b.clw", "c.clw", "a.clw"})
        ASSERT_TRUE(list.opened(name));
    EXPECT_EQ(names(list), (std::vector<std::string>{"a.clw", "c.clw", "b.clw"}));
    list.setOrder(MapPickOrder::FileName);
    ASSERT_TRUE(list.saveOrder());
    EXPECT_EQ(names(list), (std::vector<std::string>{"a.clw", "b.clw", "c.clw"}));
    ASSERT_TRUE(list.remove("C.CLW"));
    ASSERT_TRUE(list.setLastOpenPath("C:\\Work"));

    MapPickList again = MapPickList::inCurrentDirectory();
    again.load();
    EXPECT_EQ(again.order(), MapPickOrder::FileName);
    EXPECT_EQ(names(again), (std::vector<std::string>{"a.clw", "b.clw"}));
    EXPECT_EQ(again.rows()[1].number, 2);
    EXPECT_EQ(again.lastOpenPath(), "C:\\Work");
}

} // namespace
} // namespace kestrix::utilities
