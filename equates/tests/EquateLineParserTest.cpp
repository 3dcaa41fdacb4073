#include "equates/EquateLineParser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kestrix::equates;

namespace {
ParsedEquate parse(const std::string& line, const std::string& type = "Unknown", bool force = false)
{
    ItemizeBlock block;
    return parseEquateLine(line, type, force, block);
}
} // namespace

TEST(EquateLineParser, ColoursIconsAndNotes)
{
    ParsedEquate black = parse("COLOR:Black            EQUATE(0)          ! black as black");
    EXPECT_EQ(black.type, "Color");
    EXPECT_EQ(black.searchName, "Black");
    EXPECT_EQ(black.name, "COLOR:Black");
    EXPECT_EQ(black.equate, "0");
    EXPECT_EQ(black.value, 0);
    EXPECT_EQ(black.hex, "");
    EXPECT_EQ(black.notes, "black as black");

    ParsedEquate scroll = parse("COLOR:SCROLLBAR EQUATE(80000000H)");
    EXPECT_EQ(scroll.hex, "80000000H");
    EXPECT_EQ(scroll.value, -2147483648LL);

    ParsedEquate hand = parse("ICON:Hand EQUATE('<0FFH,01H,02H,7FH>')");
    EXPECT_EQ(hand.equate, "'<0FFH,01H,02H,7FH>'");
    EXPECT_EQ(hand.hex, "7F0201FFH");
    EXPECT_EQ(hand.value, 2130838015);
    EXPECT_EQ(hand.type, "Icon");

    ParsedEquate forced = parse("ICON:Hand EQUATE('<0FFH,01H,02H,7FH>')", "Icons", true);
    EXPECT_EQ(forced.type, "Icons");
    EXPECT_EQ(forced.searchName, "ICON:Hand");
}

TEST(EquateLineParser, TypeSpellingsAreRepaired)
{
    struct Case
    {
        const char* label;
        const char* type;
    };
    for (const Case c : {Case{"PROPLIST:Width", "PropList"},
                         {"PROPPRINT:Copies", "PropPrint"},
                         {"LISTZONE:Field", "ListZone"},
                         {"PAPERBIN:Upper", "PaperBin"},
                         {"DDE:auto", "DDE"},
                         {"OCXEVENT:Click", "OCXEvent"},
                         {"VBXEVENT:Load", "VBXEvent"},
                         {"TCOPTION:x", "TCOption"},
                         {"EVENT:Accepted", "Event"},
                         {"Level:Benign", "Level"}}) {
        EXPECT_EQ(parse(std::string(c.label) + " EQUATE(1)").type, c.type) << c.label;
    }
}

TEST(EquateLineParser, ValuesOfEveryKind)
{
    EXPECT_EQ(parse("CtrlA EQUATE(241H)", "Keycode").value, 0x241);
    EXPECT_EQ(parse("CtrlA EQUATE(241H)", "Keycode").type, "Keycode");
    EXPECT_EQ(parse("x EQUATE(-3)").value, -3);
    EXPECT_EQ(parse("x EQUATE('@D1')").value, 0);
    EXPECT_EQ(parse("x EQUATE('@D1')").equate, "'@D1'");
    EXPECT_EQ(parse("x EQUATE(BUTTON:OK+BUTTON:Cancel)").value, 0);
    EXPECT_EQ(parse("x EQUATE(0FFFFFFFFH)").value, -1);
    EXPECT_EQ(parse("x EQUATE(7FFFFFFFH)").value, 2147483647);
    EXPECT_EQ(parse("x EQUATE(ZZH)").value, 0);
    EXPECT_EQ(parse("x LONG").equate, "");      // no EQUATE: no value
    EXPECT_EQ(parse(" x EQUATE(1)").label, ""); // labels start in column 1
    EXPECT_EQ(parse("x EQUATE(12345678901234567890123)").equate.size(), 20u);
    EXPECT_EQ(parse("x EQUATE(1").equate, "1");                            // no closing parenthesis
    EXPECT_EQ(parse("x EQUATE(800000011111111111111111111111)").value, 0); // too large for a LONG
    EXPECT_EQ(parse("x EQUATE(2147483647)").value, 2147483647);
}

TEST(EquateLineParser, NumbersAreTakenOnlyWithinALong)
{
    // A number sets the value and the next member's count; anything else leaves both.
    const auto read = [](const std::string& value) {
        ItemizeBlock block;
        block.inside = true;
        block.counter = 77;
        const std::int32_t got = parseEquateLine("x EQUATE(" + value + ")", "x", false, block).value;
        return std::pair{got, block.counter};
    };
    EXPECT_EQ(read("2147483647"), (std::pair<std::int32_t, std::int64_t>{2147483647, 2147483648LL}));
    EXPECT_EQ(read("-2147483648"), (std::pair<std::int32_t, std::int64_t>{-2147483647 - 1, -2147483647LL}));
    EXPECT_EQ(read("+12"), (std::pair<std::int32_t, std::int64_t>{12, 13}));
    EXPECT_EQ(read(" 007 "), (std::pair<std::int32_t, std::int64_t>{7, 8}));
    EXPECT_EQ(read("-0"), (std::pair<std::int32_t, std::int64_t>{0, 1}));
    EXPECT_EQ(read("12.9"), (std::pair<std::int32_t, std::int64_t>{12, 13})); // a fraction is cut
    for (const char* outside : {"2147483648", "-2147483649", "99999999999999999999", "-", "1.2.3", "1-2"})
        EXPECT_EQ(read(outside), (std::pair<std::int32_t, std::int64_t>{0, 77})) << outside;
}

TEST(EquateLineParser, ItemizeMembersCount)
{
    ItemizeBlock block;
    block.inside = true;
    block.counter = 10;
    EXPECT_EQ(parseEquateLine("CLR:Red EQUATE", "x", false, block).value, 10);
    EXPECT_EQ(parseEquateLine("CLR:Green EQUATE", "x", false, block).equate, "11");
    EXPECT_EQ(parseEquateLine("CLR:Blue EQUATE(20)", "x", false, block).value, 20);
    EXPECT_EQ(parseEquateLine("CLR:Cyan EQUATE", "x", false, block).value, 21);
    EXPECT_EQ(parseEquateLine("CLR:Mask EQUATE(0FFH)", "x", false, block).value, 255);
    EXPECT_EQ(parseEquateLine("CLR:Next EQUATE", "x", false, block).value, 22); // hex leaves the counter
    ItemizeBlock outside;
    EXPECT_EQ(parseEquateLine("Loose EQUATE", "x", false, outside).equate, "");
}

TEST(EquateLineParser, GarbageNeverBreaksIt)
{
    std::string garbage;
    for (int i = 0; i < 600; ++i)
        garbage += static_cast<char>((i * 37) % 256);
    ItemizeBlock block;
    block.inside = true;
    for (std::size_t cut = 0; cut < garbage.size(); cut += 7) {
        const ParsedEquate e = parseEquateLine(garbage.substr(cut), "x", false, block);
        EXPECT_LE(e.label.size(), 30u);
        EXPECT_LE(e.equate.size(), 20u);
        EXPECT_LE(e.hex.size(), 10u);
        EXPECT_LE(e.type.size(), 12u);
    }
    EXPECT_EQ(parseEquateLine("EQUATE(((((", "x", false, block).equate, "");
    EXPECT_EQ(parseEquateLine("a EQUATE()", "x", false, block).equate, "");
    EXPECT_EQ(parseEquateLine("a EQUATE('<", "x", false, block).equate, "'<");
}

TEST(EquateLineParser, ALineParsedIntoAUsedBufferKeepsNothingOfTheLineBefore)
{
    const std::vector<std::string> lines = {
        "PROPLIST:MouseDownField   EQUATE(7C00H)  ! the field under the mouse",
        "Short equate(3)",
        "ICON:Hand EQUATE('<0FFH,01H,02H,7FH>')",
        "   ",
        "lower:case   Equate ( 12 )",
    };
    ParsedEquate reused;
    ItemizeBlock reusedBlock;
    ItemizeBlock freshBlock;
    for (const std::string& line : lines) {
        parseEquateLine(line, "Unknown", false, reusedBlock, reused);
        const ParsedEquate fresh = parseEquateLine(line, "Unknown", false, freshBlock);
        EXPECT_EQ(reused.label, fresh.label) << line;
        EXPECT_EQ(reused.type, fresh.type) << line;
        EXPECT_EQ(reused.name, fresh.name) << line;
        EXPECT_EQ(reused.searchName, fresh.searchName) << line;
        EXPECT_EQ(reused.equate, fresh.equate) << line;
        EXPECT_EQ(reused.value, fresh.value) << line;
        EXPECT_EQ(reused.hex, fresh.hex) << line;
        EXPECT_EQ(reused.notes, fresh.notes) << line;
    }
    // The keyword and its value are found in any case; the type's spelling is repaired.
    const ParsedEquate mixed = parseEquateLine("PROPLIST:Tip equate(7D00H)", "x", false, freshBlock);
    EXPECT_EQ(mixed.type, "PropList");
    EXPECT_EQ(mixed.hex, "7D00H");
    EXPECT_EQ(parseEquateLine("lower:case   Equate ( 12 )", "x", false, freshBlock).value, 12);
    EXPECT_EQ(reused.equate, "12");
    EXPECT_TRUE(reused.notes.empty());
}
