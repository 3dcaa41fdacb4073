#include "equates/TipsFile.h"
#include "runtime/testing/RequireOk.h"
#include "runtime/testing/TempDir.h"

#include <gtest/gtest.h>

using namespace kestrix;
using namespace kestrix::equates;

TEST(TipsFile, BuiltFromTheTextSourceAndPagedRoundTheEnds)
{
    runtime::testing::TempDir dir;
    runtime::KeyedFile tips(TipsFileName, tipLayout());
    kestrix::runtime::testing::requireOk(tips.create(), "tips.create()");
    kestrix::runtime::testing::requireOk(tips.open(), "tips.open()");
    std::vector<std::string> lines = {"; tips", "TIP=Start", "First line", "goes on.", "", "New paragraph."};
    for (int i = 2; i <= 40; ++i) {
        lines.push_back("TIP=General");
        lines.push_back("Tip number " + std::to_string(i));
    }
    EXPECT_EQ(buildTipsFile(tips, lines), 40);
    const TipBrowser browser(tips, runtime::IniFile("KTX4.INI"));
    auto first = browser.next();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->number, 1);
    EXPECT_EQ(first->text, "First line goes on.\r\n\r\nNew paragraph.");
    EXPECT_EQ(browser.next()->number, 2);
    runtime::IniFile("KTX4.INI").setNumber("TipOfTheDay", "TipNumber", 40);
    EXPECT_EQ(browser.next()->number, 1);
    EXPECT_EQ(browser.previous()->number, 40);
    EXPECT_EQ(browser.previous()->text, "Tip number 39");
    EXPECT_TRUE(browser.showOnStartup());
    browser.setShowOnStartup(false);
    EXPECT_FALSE(browser.showOnStartup());
}

TEST(TipsFile, AnEmptyFileHasNoTips)
{
    runtime::testing::TempDir dir;
    runtime::KeyedFile tips(TipsFileName, tipLayout());
    kestrix::runtime::testing::requireOk(tips.create(), "tips.create()");
    kestrix::runtime::testing::requireOk(tips.open(), "tips.open()");
    EXPECT_EQ(buildTipsFile(tips, {}), 0);
    const TipBrowser browser(tips, runtime::IniFile("KTX4.INI"));
    EXPECT_FALSE(browser.next());
    EXPECT_FALSE(browser.previous());
}
