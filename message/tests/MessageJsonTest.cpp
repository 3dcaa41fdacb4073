#include "message/MessageJson.h"
#include "message/MessageRecord.h"

#include <gtest/gtest.h>

using namespace kestrix::message;
using nlohmann::json;

TEST(MessageJson, FlagsAreBooleansOrNumbersOfAnySize)
{
    const ParsedMessageJson read =
        parseMessageJson(json::parse(R"({"sound": 4.4e156, "codeLoop": 0, "codeIfError": true})"), '`');
    EXPECT_EQ(read.error, "");
    EXPECT_EQ(read.edits.sound, true);
    EXPECT_EQ(read.edits.codeLoop, false);
    EXPECT_EQ(read.edits.codeIfError, true);
    EXPECT_FALSE(read.edits.renameButtons.has_value()); // absent members are left alone
    EXPECT_NE(parseMessageJson(json::parse(R"({"sound": "yes"})"), '`').error, "");
    EXPECT_EQ(parseMessageJson(json::parse(R"({"buttons": ["OK", "Maybe"]})"), '`').error,
              "Unknown button: Maybe");
    EXPECT_NE(parseMessageJson(json::parse(R"({"caption": 12})"), '`').error, "");
    EXPECT_NE(parseMessageJson(json::parse(R"([1, 2])"), '`').error, "");
}

TEST(MessageJson, TextKeepsRealTabsAndLineEndsInTheFileForm)
{
    const ParsedMessageJson read =
        parseMessageJson(json::parse(R"({"text": "a\tb\r\nc", "buttons": ["Yes", "No"]})"), '~');
    ASSERT_EQ(read.error, "");
    EXPECT_EQ(read.edits.text, "a~b\r\nc");
    EXPECT_EQ(read.edits.buttons, (std::vector<int>{2, 3}));

    kestrix::runtime::Record r = templateMessage();
    r.setText(Mes::Text, "a~b\r\nc");
    r.setNumber(Mes::Button, 1, 2);
    const auto back = messageToJson(r, '~');
    EXPECT_EQ(back["text"], "a\tb\r\nc");
    EXPECT_EQ(back["buttons"], json::array({"OK", "Yes"}));
}
