#include "message/MessageJson.h"
#include "message/MessageRecord.h"

#include <gtest/gtest.h>

using namespace kestrix::message;
using nlohmann::json;

TEST(MessageJson, FlagsAreBooleansOrNumbersOfAnySize)
{
    kestrix::runtime::Record r = templateMessage();
    EXPECT_EQ(applyMessageJson(r, json::parse(R"({"sound": 4.4e156, "codeLoop": 0, "codeIfError": true})"), '`'), "");
    EXPECT_EQ(r.number(Mes::Sound), 1);
    EXPECT_EQ(r.number(Mes::CodeLoop), 0);
    EXPECT_EQ(r.number(Mes::CodeIfError), 1);
    EXPECT_NE(applyMessageJson(r, json::parse(R"({"sound": "yes"})"), '`'), "");
    EXPECT_NE(applyMessageJson(r, json::parse(R"({"buttons": ["OK", "Maybe"]})"), '`'), "");
    EXPECT_NE(applyMessageJson(r, json::parse(R"({"caption": 12})"), '`'), "");
    EXPECT_NE(applyMessageJson(r, json::parse(R"([1, 2])"), '`'), "");
}

TEST(MessageJson, TextKeepsRealTabsAndLineEndsInTheFileForm)
{
    kestrix::runtime::Record r = templateMessage();
    ASSERT_EQ(applyMessageJson(r, json::parse(R"({"text": "a\tb\r\nc", "buttons": ["Yes", "No"]})"), '~'), "");
    EXPECT_EQ(r.text(Mes::Text), "a~b\r\nc");
    const auto back = messageToJson(r, '~');
    EXPECT_EQ(back["text"], "a\tb\r\nc");
    EXPECT_EQ(back["buttons"], json::array({"Yes", "No"}));
}
