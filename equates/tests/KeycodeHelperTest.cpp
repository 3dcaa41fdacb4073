#include "equates/KeycodeHelper.h"
#include "LookupFixture.h"
#include "equates/KeycodeTable.h"

#include <gtest/gtest.h>

using namespace kestrix;
using namespace kestrix::equates;
using kestrix::equates::testing::LookupFiles;

TEST(KeycodeTable, KeysAsPeopleNameThem)
{
    const std::vector<std::pair<std::string, int>> cases = {
        {"F5", 0x74},
        {"Ctrl+Shift+A", 0x341},
        {"Enter", 13},
        {"Esc", 27},
        {"PgDn", 0x22},
        {"Num5", 0x65},
        {"A", 0x41},
        {"a", 0x41},
        {"Alt+F4", 0x473},
        {"shift+tab", 0x109},
        {"Ctrl+Alt+Del", 0x62E},
        {"Escape", 27},
        {"Ctrl+Num+", 0x26B},
        {"Num+", 0x6B},
        {" Alt + 7 ", 0x437},
        {"F24", 0x87},
        {"Backspace", 8},
        {"Space", 32},
        {"Ctrl+[", 0x2DB},
    };
    for (const auto& [spec, code] : cases)
        EXPECT_EQ(keycodeOf(spec), code) << spec;
    for (const char* unknown : {"", "F25", "Hyper+A", "Ctrl+", "NotAKey", "Ctrl+Shift"})
        EXPECT_FALSE(keycodeOf(unknown)) << unknown;
}

TEST(KeycodeTable, EveryNameReadsBackToItsCode)
{
    for (const KeyName& key : keyNames()) {
        for (const int bits : {0, KeyBit::Shift, KeyBit::Ctrl | KeyBit::Alt, KeyBit::Shift | KeyBit::Ctrl})
            EXPECT_EQ(keycodeOf(keySpecOf(key.code | bits)), key.code | bits) << key.name;
    }
    EXPECT_EQ(keySpecOf(0x2FF), "Ctrl+255"); // a base code the table lacks stays a number
}

namespace {
struct KeycodeFiles : LookupFiles
{
    KeycodeFiles()
    {
        add({"Keycode", "EnterKey", "EnterKey", 13, 1});
        add({"Keycode", "EscKey", "EscKey", 27, 2});
        add({"Keycode", "AltEsc", "AltEsc", 0x41B, 3});
        add({"Keycode", "CtrlShiftMouseLeft2", "CtrlShiftMouseLeft2", 773, 4});
        add({"Keycode", "CtrlShiftA", "CtrlShiftA", 0x341, 5});
        add({"Mouse", "MouseLeft", "NotAKeycode", 1, 6}); // another type never names a key
    }
};
} // namespace

TEST(KeycodeHelper, MouseButtonsSpecialKeysAndModifiers)
{
    KeycodeFiles f;
    KeycodeHelper helper(f.equates);
    helper.setShift(true);
    helper.setCtrl(true);
    helper.setDouble(true); // a blank choice with Double counts as Left
    EXPECT_EQ(helper.value(), 773);
    EXPECT_EQ(helper.name(), "CtrlShiftMouseLeft2");
    helper.chooseMouse(MouseChoice::Center);
    EXPECT_EQ(helper.value(), 7 + 0x300);
    helper.setDouble(false);
    EXPECT_EQ(helper.value(), 3 + 0x300);
    EXPECT_EQ(helper.name(), "771");       // no equate: the number
    helper.chooseMouse(MouseChoice::None); // blank without Double keeps the value
    EXPECT_EQ(helper.value(), 3 + 0x300);

    helper.setShift(false);
    helper.setCtrl(false);
    helper.setAlt(true);
    helper.pressSpecial(SpecialKey::Escape);
    EXPECT_EQ(helper.value(), 1051);
    EXPECT_EQ(helper.name(), "AltEsc");
    helper.setAlt(false);
    EXPECT_EQ(helper.name(), "EscKey");
    helper.chooseMouse(MouseChoice::Left);
    EXPECT_EQ(helper.name(), "1"); // "MouseLeft" is a Mouse equate, not a Keycode one
}

TEST(KeycodeHelper, ACapturedKeyClearsTheMouseAndShowsItsLowByte)
{
    KeycodeFiles f;
    KeycodeHelper helper(f.equates);
    helper.chooseMouse(MouseChoice::Right);
    helper.setDouble(true);
    helper.captureKey(*keycodeOf("Ctrl+Shift+A"));
    EXPECT_EQ(helper.mouse(), MouseChoice::None);
    EXPECT_FALSE(helper.isDouble());
    EXPECT_EQ(helper.value(), 0x341);
    EXPECT_EQ(helper.unmodified(), 0x41);
    EXPECT_EQ(helper.character(), 'A');
    EXPECT_EQ(helper.name(), "CtrlShiftA");
    helper.setCtrl(true); // already held: counted once
    EXPECT_EQ(helper.value(), 0x341);
}

TEST(KeycodeHelper, CaseTemplatesAgainWithTheirOfLine)
{
    KeycodeFiles f;
    KeycodeHelper helper(f.equates);
    EXPECT_EQ(helper.again(), ""); // no template yet: an empty line
    helper.captureKey(13);
    EXPECT_EQ(helper.code("CASE KEYCODE()\r\nOF ^"), "CASE KEYCODE()\r\nOF EnterKey");
    helper.captureKey(27);
    EXPECT_EQ(helper.again(), "OF EscKey");
    EXPECT_EQ(helper.code("case keycode()\r\nOF ^"), "case keycode()\r\nOF EscKey"); // upper-cased test
    EXPECT_EQ(helper.again(), "OF EscKey");
    EXPECT_EQ(helper.code("ALERT(^)  "), "ALERT(EscKey)");
    helper.captureKey(0x2FF);
    EXPECT_EQ(helper.again(), "ALERT(767)");
}
