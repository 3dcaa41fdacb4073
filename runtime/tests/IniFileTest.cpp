#include "runtime/IniFile.h"
#include "runtime/WindowPositionStore.h"
#include "runtime/testing/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace kestrix::runtime;

namespace {
std::string contents(const char* name)
{
    std::ifstream in(name);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}
} // namespace

TEST(IniFile, SectionAndEntryNamesIgnoreCaseAndOtherLinesStay)
{
    kestrix::runtime::testing::TempDir dir;
    std::ofstream("KTX4.INI")
        << "; kept comment\n[EquateLoad]\nVersion=3\nOther=keep me\n[Someone Else]\nx=1\n";
    IniFile ini("KTX4.INI");
    EXPECT_EQ(ini.value("equateload", "VERSION"), "3");
    ASSERT_TRUE(ini.setValue("EQUATELOAD", "version", "4"));
    const std::string text = contents("KTX4.INI");
    EXPECT_NE(text.find("; kept comment"), std::string::npos);
    EXPECT_NE(text.find("Other=keep me"), std::string::npos);
    EXPECT_NE(text.find("[Someone Else]"), std::string::npos);
    EXPECT_NE(text.find("Version=4"), std::string::npos);
    EXPECT_EQ(text.find("version=4"), std::string::npos); // the stored spelling stays
}

TEST(IniFile, NumbersReadLikeGetIni)
{
    kestrix::runtime::testing::TempDir dir;
    IniFile ini("x.ini");
    EXPECT_EQ(ini.number("ABC", "ABCMode", 1), 1); // missing file: default
    ini.setNumber("ABC", "ABCMode", 0);
    EXPECT_EQ(ini.number("ABC", "ABCMode", 1), 0);
    ini.setValue("ABC", "Junk", "abc");
    EXPECT_EQ(ini.number("ABC", "Junk", 7), 0);
    ini.setValue("ABC", "Spaced", " 12");
    EXPECT_EQ(ini.number("ABC", "Spaced", 7), 12);
}

TEST(IniFile, WritingToAFolderThatIsGoneFails)
{
    kestrix::runtime::testing::TempDir dir;
    IniFile ini(dir.path() / "nowhere" / "x.ini");
    EXPECT_FALSE(ini.setValue("a", "b", "c"));
}

TEST(WindowPositionStore, RestoresOnlyWhatWasSaved)
{
    kestrix::runtime::testing::TempDir dir;
    WindowPositionStore store(IniFile("ktx5.INI"));
    EXPECT_FALSE(store.restore("MakeInput"));
    store.save("MakeInput", {10, 20, 300, 200, true});
    const auto restored = store.restore("makeinput");
    ASSERT_TRUE(restored);
    EXPECT_EQ(*restored, (WindowPosition{10, 20, 300, 200, true}));
    const std::string text = contents("ktx5.INI");
    EXPECT_NE(text.find("Maximize=Yes"), std::string::npos);
    EXPECT_NE(text.find("XPosit=10"), std::string::npos);
    EXPECT_NE(text.find("Height=200"), std::string::npos);
}

TEST(ListLayoutStore, IgnoresALayoutOfAnotherVersion)
{
    kestrix::runtime::testing::TempDir dir;
    ListLayoutStore store(IniFile("KTX.INI"));
    store.save("EquateBrowse", "ListEquateColumnWidths", 3, "80,40,120");
    EXPECT_EQ(store.restore("EquateBrowse", "ListEquateColumnWidths", 3), "80,40,120");
    EXPECT_FALSE(store.restore("EquateBrowse", "ListEquateColumnWidths", 4));
    EXPECT_FALSE(store.restore("EquateBrowse", "ListEquateGroupWidths", 3));
}

TEST(IniFile, ContentsListsSectionsAndEntriesInFileOrder)
{
    kestrix::runtime::testing::TempDir dir;
    std::ofstream("ktx5.INI")
        << "; comment\n[Main]\nXPosit=10\nMaximize=No\n[ClipView]\nWidth=300\n[Empty]\n";
    const auto all = IniFile("ktx5.INI").contents();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0].first, "Main");
    EXPECT_EQ(all[0].second,
              (std::vector<std::pair<std::string, std::string>>{{"XPosit", "10"}, {"Maximize", "No"}}));
    EXPECT_EQ(all[1].first, "ClipView");
    EXPECT_EQ(all[1].second.at(0), (std::pair<std::string, std::string>{"Width", "300"}));
    EXPECT_TRUE(all[2].second.empty());
    EXPECT_TRUE(IniFile("missing.INI").contents().empty());

    // One section alone, found in any case; a missing section or file has no entries.
    EXPECT_EQ(IniFile("ktx5.INI").entries("MAIN"), all[0].second);
    EXPECT_TRUE(IniFile("ktx5.INI").entries("Nowhere").empty());
    EXPECT_TRUE(IniFile("missing.INI").entries("Main").empty());
}
