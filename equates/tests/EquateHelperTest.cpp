#include "equates/EquateHelper.h"
#include "LookupFixture.h"
#include "equates/EquateList.h"

#include <gtest/gtest.h>

using namespace kestrix;
using namespace kestrix::equates;
using kestrix::equates::testing::LookupFiles;
using kestrix::equates::testing::popupLine;

namespace {

std::vector<std::string> names(const std::vector<EquateRow>& rows)
{
    std::vector<std::string> out;
    for (const EquateRow& row : rows)
        out.push_back(row.name);
    return out;
}

std::vector<std::string> texts(const EquateMenu& menu)
{
    std::vector<std::string> out;
    for (const runtime::MenuItem& item : menu.items)
        out.push_back(std::to_string(item.id) + ":" + item.text);
    return out;
}

} // namespace

TEST(EquateMenuKey, TypeNameAndTheOverrides)
{
    EXPECT_EQ(equateMenuKey("Color", "COLOR:Black"), "EQ:COLOR");
    EXPECT_EQ(equateMenuKey("Std Color", "COLOR:Black"), "EQ:COLOR");
    EXPECT_EQ(equateMenuKey("Event Field", "EVENT:Accepted"), "EQ:EVENT");
    EXPECT_EQ(equateMenuKey("TCEvent", "TCEVENT:Click"), "EQ:EVENT"); // EVENT: in positions 3-8
    EXPECT_EQ(equateMenuKey("Pics", "@D6"), "EQ:PICS");
    EXPECT_EQ(equateMenuKey("Date Pics", "COLOR:odd"), "EQ:PICS"); // the last override wins
    EXPECT_EQ(equateMenuKey("Keycode", "EnterKey"), "EQ:KEYCODE");
    EXPECT_EQ(equateMenuKey("Icon", "ICON:Hand"), "EQ:ICON");
}

TEST(EquateMenu, OwnEntriesThenASeparatorThenTheCommonOnes)
{
    LookupFiles f;
    f.loadPopups({"TYPE=EQ:EVENT", popupLine("OF", "OF ^"), popupLine("CASE EVENT()", "CASE EVENT()|OF ^"),
                  "TYPE=EQUATE BROWSE", popupLine("Name Only", "^"), popupLine("Twice", "^ = ^")});
    const auto menu = equateMenu(f.popups, "Event Field", "EVENT:Accepted");
    ASSERT_TRUE(menu);
    EXPECT_EQ(menu->key, "EQ:EVENT");
    EXPECT_EQ(menu->typeEntries, 2);
    EXPECT_EQ(texts(*menu),
              (std::vector<std::string>{"1:OF", "2:CASE EVENT()", "0:-", "3:Name Only", "4:Twice"}));
    EXPECT_EQ(equateMenuTemplate(f.popups, *menu, 2), "CASE EVENT()\r\nOF ^");
    EXPECT_EQ(equateMenuTemplate(f.popups, *menu, 4), "^ = ^");
    EXPECT_EQ(equateMenuTemplate(f.popups, *menu, 5), "");

    // A type without its own menu has only the common entries, numbered from 1.
    const auto common = equateMenu(f.popups, "Keycode", "EnterKey");
    ASSERT_TRUE(common);
    EXPECT_EQ(common->typeEntries, 0);
    EXPECT_EQ(texts(*common), (std::vector<std::string>{"1:Name Only", "2:Twice"}));
    EXPECT_EQ(equateMenuTemplate(f.popups, *common, 1), "^");
}

TEST(EquateMenu, NoMenuAtAllWithoutEitherHeader)
{
    LookupFiles f;
    f.loadPopups({"TYPE=EQ:ICON", "TYPE=OTHER", popupLine("X", "x")}); // EQ:ICON has no entries, so no header
    EXPECT_FALSE(equateMenu(f.popups, "Icon", "ICON:Hand"));
}

TEST(EquateCoder, CaseTemplatesRepeatTheirOfLineAndNamesFillEveryCaret)
{
    EquateCoder coder;
    EXPECT_FALSE(coder.canRepeat());
    const CodeResult none = coder.repeat("EVENT:Closed");
    ASSERT_TRUE(none.refusal);
    EXPECT_EQ(none.refusal->caption, "CANNOT REPEAT");
    EXPECT_EQ(none.refusal->text,
              "A double click repeats the last operation. |But there was no last operation.");
    EXPECT_EQ(none.code, "");

    EXPECT_EQ(coder.use("CASE EVENT()\r\nOF ^", "EVENT:Accepted  ").code,
              "CASE EVENT()\r\nOF EVENT:Accepted \r\n");
    EXPECT_EQ(coder.repeat("EVENT:Closed").code, "OF EVENT:Closed \r\n");
    EXPECT_EQ(coder.use("^ = ^", "COLOR:Red").code, "COLOR:Red = COLOR:Red \r\n");
    EXPECT_EQ(coder.repeat("COLOR:Blue").code, "COLOR:Blue = COLOR:Blue \r\n");
}

TEST(EquateCoder, ALineTooLongForTheClipboardIsRefusedWhole)
{
    EquateCoder coder;
    const CodeResult result = coder.use("short\r\n" + std::string(240, 'x') + "^", "EVENT:Accepted");
    ASSERT_TRUE(result.refusal);
    EXPECT_EQ(result.refusal->caption, "LINE TOO LONG");
    EXPECT_NE(result.refusal->text.find("Line 2 of the code has 255 characters"), std::string::npos);
    EXPECT_EQ(result.code, "");
}

TEST(EquateList, TypesComeFromTheMarkersAndAnEmptyFileHasNone)
{
    LookupFiles f;
    EquateList list(f.equates);
    EXPECT_TRUE(list.types().empty());
    list.show("Color", EquateOrder::Name);
    EXPECT_TRUE(list.first(10).empty());
    EXPECT_FALSE(list.locate("A"));

    f.addType("Event");
    f.addType("Color");
    f.add({"Color", "Red", "COLOR:Red", 255, 1});
    EXPECT_EQ(list.types(), (std::vector<std::string>{"Color", "Event"}));
}

TEST(EquateList, PagesFollowEachOrderAcrossDuplicateKeys)
{
    LookupFiles f;
    f.addType("Color");
    f.add({"Color", "Red", "COLOR:Red", 255, 3});
    f.add({"Color", "Black", "COLOR:Black", 0, 1});
    f.add({"Color", "Red", "COLOR:Red2", 255, 4}); // a duplicate of every key but the sequence
    f.add({"Color", "Blue", "COLOR:Blue", 16711680, 2});
    f.add({"Event", "Accepted", "EVENT:Accepted", 1, 5});
    EquateList list(f.equates);

    list.show("Color", EquateOrder::Name);
    const auto firstTwo = list.first(2);
    EXPECT_EQ(names(firstTwo), (std::vector<std::string>{"COLOR:Black", "COLOR:Blue"}));
    const auto rest = list.after(firstTwo.back(), 10);
    EXPECT_EQ(names(rest), (std::vector<std::string>{"COLOR:Red", "COLOR:Red2"}));
    EXPECT_EQ(names(list.after(rest.front(), 10)), std::vector<std::string>{"COLOR:Red2"});
    EXPECT_TRUE(list.after(rest.back(), 10).empty());
    EXPECT_EQ(names(list.before(rest.back(), 2)), (std::vector<std::string>{"COLOR:Blue", "COLOR:Red"}));
    EXPECT_TRUE(list.before(firstTwo.front(), 5).empty());

    list.show("Color", EquateOrder::Sequence);
    EXPECT_EQ(names(list.first(10)),
              (std::vector<std::string>{"COLOR:Black", "COLOR:Blue", "COLOR:Red", "COLOR:Red2"}));
    list.show("Color", EquateOrder::Long);
    const auto byValue = list.first(10);
    EXPECT_EQ(names(byValue),
              (std::vector<std::string>{"COLOR:Black", "COLOR:Red", "COLOR:Red2", "COLOR:Blue"}));
    EXPECT_EQ(names(list.after(byValue[1], 1)), std::vector<std::string>{"COLOR:Red2"});
    EXPECT_EQ(names(list.before(byValue[2], 1)), std::vector<std::string>{"COLOR:Red"});
}

TEST(EquateList, TheLocatorFindsTheFirstRowNotBelowWhatWasTyped)
{
    LookupFiles f;
    f.add({"Color", "Black", "COLOR:Black", 0, 1});
    f.add({"Color", "Blue", "COLOR:Blue", 16711680, 2});
    f.add({"Color", "Red", "COLOR:Red", 255, 3});
    f.add({"Event", "Accepted", "EVENT:Accepted", 1, 4});
    EquateList list(f.equates);
    list.show("Color", EquateOrder::Name);
    EXPECT_EQ(list.locate("blu")->name, "COLOR:Blue");
    EXPECT_EQ(list.locate("C")->name, "COLOR:Red");
    EXPECT_EQ(list.locate("")->name, "COLOR:Black");
    EXPECT_EQ(list.locate("zz")->name, "COLOR:Red"); // past the end: the last row, not another type's
    list.show("Color", EquateOrder::Long);
    EXPECT_EQ(list.locate("200")->name, "COLOR:Red");
    EXPECT_EQ(list.locate("-5")->name, "COLOR:Black");
    EXPECT_FALSE(list.locate("abc"));
    list.show("Color", EquateOrder::Sequence);
    EXPECT_EQ(list.locate("2")->name, "COLOR:Blue");
}

TEST(EquateList, AFilterPassesOverRowsWithoutItInEveryReadAndKeepsTheOrder)
{
    LookupFiles f;
    f.add({"Color", "Black", "COLOR:Black", 0, 1});
    f.add({"Color", "Blue", "COLOR:Blue", 16711680, 2});
    f.add({"Color", "LightBlue", "COLOR:LightBlue", 16776960, 3});
    f.add({"Color", "Red", "COLOR:Red", 255, 4});
    f.add({"Color", "Teal", "COLOR:Teal", 8421376, 5});
    f.add({"Event", "Blues", "EVENT:Blues", 1, 6});
    EquateList list(f.equates);
    list.show("Color", EquateOrder::Long);
    list.setFilter(runtime::TextFilter("bl"));
    const auto shown = list.first(10);
    EXPECT_EQ(names(shown), (std::vector<std::string>{"COLOR:Black", "COLOR:Blue", "COLOR:LightBlue"}));
    EXPECT_EQ(names(list.first(1)), std::vector<std::string>{"COLOR:Black"});
    EXPECT_EQ(names(list.after(shown[0], 10)), (std::vector<std::string>{"COLOR:Blue", "COLOR:LightBlue"}));
    EXPECT_EQ(names(list.before(shown[2], 1)), std::vector<std::string>{"COLOR:Blue"});
    // The locator lands on a kept row: the first at or after the number, else the last one kept.
    EXPECT_EQ(list.locate("300")->name, "COLOR:Blue");
    EXPECT_EQ(list.locate("99999999")->name, "COLOR:LightBlue");

    // The value and the hex column are searched as shown.
    list.show("Color", EquateOrder::Name);
    list.setFilter(runtime::TextFilter("255"));
    EXPECT_EQ(names(list.first(10)), std::vector<std::string>{"COLOR:Red"});
    list.setFilter(runtime::TextFilter("nothing"));
    EXPECT_TRUE(list.first(10).empty());
    EXPECT_FALSE(list.locate("r"));
    list.setFilter(runtime::TextFilter());
    EXPECT_EQ(list.first(10).size(), 5u);
}

TEST(EquateList, AFoundEquateIsFetchedAgainByPositionOrByNameWhenALoadRenumberedIt)
{
    LookupFiles f;
    f.add({"Color", "Black", "COLOR:Black", 0, 1});
    f.add({"Color", "Red", "COLOR:Red", 255, 2});
    f.add({"Event", "Accepted", "EVENT:Accepted", 1, 3});
    EquateList list(f.equates);
    list.show("Color", EquateOrder::Name);
    const auto rows = list.first(10);
    ASSERT_EQ(names(rows), (std::vector<std::string>{"COLOR:Black", "COLOR:Red"}));
    EXPECT_EQ(list.find(rows[1].position, "color", "color:red")->name, "COLOR:Red");
    EXPECT_EQ(list.find(rows[1].position, "Color", "")->name, "COLOR:Red");
    // The position now holds another equate: the name finds it in its type.
    EXPECT_EQ(list.find(rows[0].position, "Color", "COLOR:Red")->position, rows[1].position);
    EXPECT_EQ(list.find(-1, "Color", "COLOR:Red")->name, "COLOR:Red");
    // Not across types, and never without a name to go by.
    EXPECT_FALSE(list.find(rows[0].position, "Event", "COLOR:Red"));
    EXPECT_FALSE(list.find(rows[0].position, "Event", ""));
    EXPECT_FALSE(list.find(-1, "Color", "COLOR:Green"));
}

TEST(EquateList, ARowMatchesOnAnyShownColumnIgnoringCase)
{
    EquateRow row;
    row.searchName = "ACCEPTED";
    row.equate = "EQUATE(01H)";
    row.notes = "After a control's value changes";
    row.value = 1;
    row.hex = "01H";
    row.name = "EVENT:Accepted";
    row.file = "EQUATES.CLW";
    for (const char* text : {"event:", "equate(", "VALUE CHANGES", "01h", "equates.clw", "1", ""})
        EXPECT_TRUE(equateRowMatches(row, runtime::TextFilter(text))) << text;
    EXPECT_FALSE(equateRowMatches(row, runtime::TextFilter("2")));
    EXPECT_FALSE(equateRowMatches(row, runtime::TextFilter("accepted after")));
}

TEST(EquateSee, KindsCaptionsAndSounds)
{
    const std::pair<const char*, SeeKind> kinds[] = {{"Beep", SeeKind::Sound},
                                                     {"Cursor", SeeKind::Cursor},
                                                     {"Icon", SeeKind::Icon},
                                                     {"Warn", SeeKind::Warn},
                                                     {"Msg Icon", SeeKind::None}};
    for (const auto& [type, kind] : kinds)
        EXPECT_EQ(seeKindFor(type), kind) << type;
    EXPECT_EQ(seeCaption(SeeKind::Sound), "Play &Sound");
    EXPECT_EQ(seeCaption(SeeKind::Cursor), "&See Cursor");
    EXPECT_EQ(seeCaption(SeeKind::None), "");
    EXPECT_EQ(beepSound(0x30), runtime::SystemSound::Exclamation);
    EXPECT_EQ(beepSound(0), runtime::SystemSound::Default);
    EXPECT_FALSE(beepSound(0x11));
}

TEST(EquateSee, CursorAndIconValuesAreTheirFourBytes)
{
    // ICON:Hand '<0FFH,01H,02H,7FH>' as the loader stores it.
    EXPECT_EQ(fourBytes(2130838015), std::string("\xFF\x01\x02\x7F", 4));
    EXPECT_EQ(stockIcon(2130838015), runtime::MessageIcon::Hand);
    EXPECT_FALSE(stockCursor(2130838015));
    EXPECT_EQ(stockCursor(0x7F0302FF), StockCursor::Wait);
    EXPECT_EQ(stockCursor(0x7F0B02FF), StockCursor::SizeNS);
    EXPECT_FALSE(stockCursor(0x7F0C02FF));
    // A value without bytes (a cursor file's name) shows nothing and says why.
    EXPECT_FALSE(stockCursor(0));
    EXPECT_EQ(noCursorMessage("CURSOR:Drop").caption, "NO CURSOR");
    const runtime::MessageRequest example = iconExample("ICON:Hand", 2130838015);
    EXPECT_EQ(example.text, "Example of ICON:Hand");
    EXPECT_EQ(example.icon, runtime::MessageIcon::Hand);
    EXPECT_EQ(iconExample("ICON:Pick", 0).caption, "NO ICON");
}

TEST(EquateSee, WarningsAskFirstAndTwoCodesShowTheirSecondForm)
{
    const runtime::MessageRequest question = warnQuestion("Warn:InvalidFile");
    EXPECT_EQ(question.text, "I can show you this Standard Warning:|Warn:InvalidFile|But then it will HALT "
                             "Kestrix.||Do you want see it, (then Halt)?");
    EXPECT_EQ(question.defaultButton, runtime::Button::No);
    EXPECT_EQ(warnSequence(1).size(), 1u);
    const auto down = warnSequence(29);
    ASSERT_EQ(down.size(), 2u);
    EXPECT_EQ(down[0].text1, ">>Text1<<");
    EXPECT_EQ(down[1].text1, "Down");
    EXPECT_TRUE(down[1].alternate);
    EXPECT_EQ(down[1].noteBefore,
              "This standard warning shows a different message if Text 1 is sent as: Down");
    EXPECT_EQ(warnSequence(31)[1].text1, "Put");
}

TEST(EquateHelp, KeywordAndFileByTypeFirstMatch)
{
    struct Case
    {
        const char* type;
        const char* name;
        const char* keyword;
        const char* file; // under the installation's BIN folder
    };
    const Case cases[] = {{"Color Win", "COLOR:Scrollbar", "COLOR", "C5Help.HLP"},
                          {"FontMode", "x", "PROPPRINT:FontMode", "C5Help.HLP"},
                          {"Font", "x", "FONT", "C5Help.HLP"},
                          {"PaperBin", "x", "PROPPRINT:PaperBin", "C5Help.HLP"},
                          {"TCEvent", "TCEVENT:X", "TC_Browse Procedure", "TCTPL.HLP"},
                          {"Template", "TPL:Thing", "TPL:Thing", "CW20TLR.HLP"},
                          {"Unknown", "Whatever", "Whatever", "C5Help.HLP"}};
    for (const Case& c : cases) {
        const HelpTarget target = equateHelp(c.type, c.name, "C:\\CLARION5");
        EXPECT_EQ(target.keyword, c.keyword) << c.type;
        EXPECT_EQ(target.file, std::string("C:\\CLARION5\\BIN\\") + c.file) << c.type;
        EXPECT_FALSE(target.ownHelp) << c.type;
    }
    const HelpTarget warn = equateHelp("Warn", "Warn:InvalidFile", "C:\\C5");
    EXPECT_TRUE(warn.ownHelp);
    EXPECT_EQ(warn.keyword, "Standard Warning");
    EXPECT_EQ(missingHelpMessage(equateHelp("Color Win", "COLOR:Red", "C:\\C5")).caption, "NO CLARION HELP");
}

TEST(EquateColumnWidths, ThreeDigitCellsUpToTheFirstZero)
{
    EXPECT_EQ(parseWidthCells("077081160048042120048"), (std::vector<int>{77, 81, 160, 48, 42, 120, 48}));
    EXPECT_TRUE(parseWidthCells("###").empty());
    EXPECT_EQ(parseWidthCells("050000070"), std::vector<int>{50});
    EXPECT_EQ(parseWidthCells("0500"), std::vector<int>{50}); // a cut cell is not read
    EXPECT_EQ(widthCells(equateColumnWidths()), "077081160048042120048");
    EXPECT_EQ(widthCells({5, 1200, 0, 9}), "005999");
}
