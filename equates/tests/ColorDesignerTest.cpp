#include "equates/ColorDesigner.h"
#include "equates/EquateRecord.h"
#include "runtime/testing/RequireOk.h"
#include "runtime/testing/TempDir.h"

#include <gtest/gtest.h>

using namespace kestrix;
using namespace kestrix::equates;
using kestrix::runtime::testing::requireOk;

namespace {

struct EquatesFile
{
    runtime::testing::TempDir dir;
    runtime::KeyedFile file{"Equates5.tps", equateLayout()};

    EquatesFile()
    {
        requireOk(file.create(), "create");
        requireOk(file.open(), "open");
    }
    void add(const std::string& type, const std::string& name, const std::string& shortName,
             std::int64_t value)
    {
        runtime::Record r = file.newRecord();
        r.setText(Equ::Type, type);
        r.setText(Equ::Name, name);
        r.setText(Equ::SearchName, shortName);
        r.setNumber(Equ::Long, value);
        requireOk(file.add(r), "add");
    }
    void addColours()
    {
        add("Color", "COLOR:Red", "Red", 0x0000FF);
        add("Color", "COLOR:Blue", "Blue", 0xFF0000);
        add("Color", "COLOR:None", "None", -1);
        add("Color Win", "COLOR:WINDOW", "Window", static_cast<std::int32_t>(0x80000005u));
        add("Colour", "COLOUR:Other", "Other", 7); // sorts after "ColorWin": not a colour
        add("Clr", "CLR:Before", "Before", 8);     // sorts before "Color"
        add("Z-Type", "Color", "Color", 0);
    }
};

std::vector<std::string> displays(const ColorDesigner& d)
{
    std::vector<std::string> out;
    for (const ColorEntry& c : d.colors())
        out.push_back(c.display);
    return out;
}

} // namespace

TEST(ColorCode, TheThreeFormsOfEachObjectKind)
{
    ColorCodeInput entry{"Entry1", false, 4, {"Red", "", "", ""}};
    EXPECT_EQ(colorCode(entry, ColorCodeForm::ControlColor),
              std::vector<std::string>{"Entry1: FONT(,,COLOR:Red), COLOR(COLOR:None,COLOR:None,COLOR:None)"});
    EXPECT_EQ(colorCode(entry, ColorCodeForm::ColorEquates),
              std::vector<std::string>{"Entry1: COLOR:Red COLOR:None COLOR:None COLOR:None"});
    EXPECT_EQ(colorCode(entry, ColorCodeForm::PropColor),
              (std::vector<std::string>{"Entry1:", "  ??{PROP:FontColor}=COLOR:Red",
                                        "  ??{PROP:Color,1}  =COLOR:None", "  ??{PROP:Color,2}  =COLOR:None",
                                        "  ??{PROP:Color,3}  =COLOR:None"}));

    ColorCodeInput button{"Button1", true, 4, {"Blue", "", "", ""}};
    EXPECT_EQ(colorCode(button, ColorCodeForm::ColorEquates),
              std::vector<std::string>{
                  "Button1: COLOR:Blue COLOR:None COLOR:None COLOR:None     , ICON(ICON:None)"});
    EXPECT_EQ(colorCode(button, ColorCodeForm::ControlColor),
              std::vector<std::string>{"Button1: FONT(,,COLOR:Blue) , ICON(ICON:None)"});
    EXPECT_EQ(colorCode(button, ColorCodeForm::PropColor),
              (std::vector<std::string>{"Button1:", "  ??{PROP:FontColor}=COLOR:Blue",
                                        "  ??{PROP:Icon}     =ICON:None"}));

    ColorCodeInput column{"Column 2", false, 5, {"<none>", "00FF8040H", "Red", "Blue", "Window"}};
    EXPECT_EQ(
        colorCode(column, ColorCodeForm::ColorEquates),
        std::vector<std::string>{"Column 2: COLOR:None 00FF8040H COLOR:Red COLOR:Blue    COLOR:Window"});
    EXPECT_EQ(colorCode(column, ColorCodeForm::ControlColor),
              std::vector<std::string>{
                  "Column 2: FONT(,,COLOR:None), COLOR(00FF8040H,COLOR:Red,COLOR:Blue), GRID(COLOR:Window)"});
    EXPECT_EQ(colorCode(column, ColorCodeForm::PropColor).back(), "  ??{PROPLIST:Grid} =COLOR:Window");
}

TEST(ColorDesigner, ReadsTheColourTypesOnlyWithNoneLast)
{
    EquatesFile f;
    f.addColours();
    ColorDesigner d(f.file);
    ASSERT_TRUE(d.load().ok());
    EXPECT_EQ(displays(d), (std::vector<std::string>{"Blue", "Red", "Window", "<none>"}));
    EXPECT_EQ(d.colors()[2].value, static_cast<std::int32_t>(0x80000005u));
    EXPECT_EQ(d.colors().back().value, NoColor);
    EXPECT_EQ(d.selected(Foreground), d.noneIndex());
}

TEST(ColorDesigner, AFileWithoutColoursLeavesOnlyNone)
{
    EquatesFile f;
    f.add("Event", "EVENT:Accepted", "Accepted", 1);
    ColorDesigner d(f.file);
    ASSERT_TRUE(d.load().ok());
    EXPECT_EQ(displays(d), std::vector<std::string>{"<none>"});
    d.setObject(SampleObject::Entry1);
    d.apply();
    EXPECT_EQ(
        d.code(ColorCodeForm::ControlColor),
        std::vector<std::string>{"Entry1: FONT(,,COLOR:None), COLOR(COLOR:None,COLOR:None,COLOR:None)"});
}

TEST(ColorDesigner, ApplyingColoursTheSampleAndResetting)
{
    EquatesFile f;
    f.addColours();
    ColorDesigner d(f.file);
    ASSERT_TRUE(d.load().ok());
    const int red = d.indexOf("red");
    const int blue = d.indexOf("Blue");
    ASSERT_GE(red, 0);

    d.setObject(SampleObject::Entry1);
    EXPECT_EQ(d.resetToObject()->caption, "NO COLOR APPLIED");
    EXPECT_EQ(d.resetToObject()->text, "You have not applied any colors to: Entry1");
    d.select(Foreground, red);
    d.select(Background, blue);
    d.apply();
    EXPECT_EQ(d.controlColors(SampleObject::Entry1), (ColorQuad{0x0000FF, 0xFF0000, NoColor, NoColor}));
    EXPECT_EQ(d.controlColors(SampleObject::Entry2), NoColors);
    EXPECT_EQ(d.code(ColorCodeForm::ControlColor).front(),
              "Entry1: FONT(,,COLOR:Red), COLOR(COLOR:Blue,COLOR:None,COLOR:None)");

    // Another object, then back: the lists pick Entry1's colours again.
    d.setObject(SampleObject::Prompt2);
    d.resetToNone();
    EXPECT_EQ(d.selected(Foreground), d.noneIndex());
    d.setObject(SampleObject::Entry1);
    EXPECT_FALSE(d.resetToObject());
    EXPECT_EQ(d.selected(Foreground), red);
    EXPECT_EQ(d.selected(Background), blue);
    d.resetToNone();
    EXPECT_EQ(d.controlColors(SampleObject::Entry1), NoColors);
    EXPECT_TRUE(d.resetToObject());

    // Column, row and cell colour the sample list; the last applied wins where they meet.
    d.select(Foreground, red);
    d.select(Grid, blue);
    d.setObject(SampleObject::Column);
    d.setListPosition(3, 2);
    EXPECT_EQ(d.objectText(), "Column 2");
    d.apply();
    d.select(Foreground, blue);
    d.setObject(SampleObject::Row);
    EXPECT_EQ(d.objectText(), "Row 3");
    d.apply();
    for (int row = 1; row <= SampleRows; ++row)
        EXPECT_EQ(d.cellColors(row, 2)[0], row == 3 ? 0xFF0000 : 0x0000FF) << row;
    EXPECT_EQ(d.cellColors(3, 1)[0], 0xFF0000);
    EXPECT_EQ(d.cellColors(2, 1)[0], NoColor);
    EXPECT_EQ(d.gridColor(), 0xFF0000);
    d.setObject(SampleObject::Cell);
    d.setListPosition(5, 3);
    EXPECT_EQ(d.objectText(), "Cell 3,5");
    d.apply();
    EXPECT_EQ(d.cellColors(5, 3)[0], 0xFF0000);
    EXPECT_EQ(d.cellColors(5, 2)[0], 0x0000FF);
    // A control's grid slot stays blank, a list part's is filled.
    EXPECT_EQ(d.code(ColorCodeForm::ColorEquates).front(),
              "Cell 3,5: COLOR:Blue COLOR:None COLOR:None COLOR:None    COLOR:Blue");
}

TEST(ColorDesigner, CustomColoursAreAddedNamedByValueAndRefusedTwice)
{
    EquatesFile f;
    f.addColours();
    ColorDesigner d(f.file);
    ASSERT_TRUE(d.load().ok());
    EXPECT_EQ(customColorName(0x00FF8040), "00FF8040H");
    EXPECT_EQ(customColorName(static_cast<std::int32_t>(0x80000005u)), "80000005H");

    const ColorOutcome added = d.addCustom(0x00FF8040);
    EXPECT_TRUE(added.changed);
    EXPECT_FALSE(added.message);
    EXPECT_EQ(displays(d), (std::vector<std::string>{"Blue", "Red", "Window", "00FF8040H", "<none>"}));
    runtime::Record r = f.file.newRecord();
    r.setText(Equ::Name, "00FF8040H");
    ASSERT_TRUE(f.file.get(Equ::ByName, r).ok());
    EXPECT_EQ(r.text(Equ::Type), "Color");
    EXPECT_EQ(r.text(Equ::Hex), "00FF8040H");
    EXPECT_EQ(r.text(Equ::File), "Color");
    EXPECT_EQ(r.number(Equ::Long), 0x00FF8040);

    const ColorOutcome again = d.addCustom(0x00FF8040);
    EXPECT_FALSE(again.changed);
    ASSERT_TRUE(again.message);
    EXPECT_EQ(again.message->caption, "CUSTOM COLOR");
    EXPECT_EQ(again.message->text, "That color is already loaded and |is named: 00FF8040H");
    EXPECT_EQ(d.addCustom(0x0000FF).message->text, "That color is already loaded and |is named: Red");
    EXPECT_EQ(d.addCustom(static_cast<std::int32_t>(0x80000006u)).message->text,
              "Windows Standard colors are already loaded");
    EXPECT_EQ(d.addCustom(-1).message->text, "Windows Standard colors are already loaded");
    const ColorOutcome tooLarge = d.addCustom(0x01000000);
    EXPECT_FALSE(tooLarge.changed);
    EXPECT_EQ(tooLarge.message->caption, "CUSTOM COLOR");
    EXPECT_EQ(f.file.records(), 8);

    // The next designer reads it back from the file.
    ColorDesigner next(f.file);
    ASSERT_TRUE(next.load().ok());
    EXPECT_GE(next.indexOf("00FF8040H"), 0);
}

TEST(ColorDesigner, OnlyCustomColoursAreDeletedAndAVanishedOneIsReported)
{
    EquatesFile f;
    f.addColours();
    ColorDesigner d(f.file);
    ASSERT_TRUE(d.load().ok());
    bool mayDelete = true;
    d.select(SelectedBackground, d.indexOf("Red"));
    runtime::MessageRequest question = d.deleteQuestion(mayDelete);
    EXPECT_FALSE(mayDelete);
    EXPECT_EQ(question.caption, "CONFIRM DELETE COLOR");
    EXPECT_EQ(question.text, "For now I don't let you delete standard color equates||Name: Red");
    d.select(SelectedBackground, d.noneIndex());
    d.deleteQuestion(mayDelete);
    EXPECT_FALSE(mayDelete);

    ASSERT_TRUE(d.addCustom(0x00112233).changed);
    ASSERT_TRUE(d.addCustom(0x00445566).changed);
    d.select(SelectedBackground, d.indexOf("00112233H"));
    d.select(Foreground, d.indexOf("00445566H"));
    question = d.deleteQuestion(mayDelete);
    EXPECT_TRUE(mayDelete);
    EXPECT_EQ(question.text,
              "Do you want to delete the below color from your list?||Name: 00112233H|Equate: 00112233H|");
    EXPECT_EQ(question.buttons, runtime::Button::Yes | runtime::Button::No);
    const ColorOutcome deleted = d.deleteSelected();
    EXPECT_TRUE(deleted.changed);
    EXPECT_EQ(d.indexOf("00112233H"), -1);
    EXPECT_EQ(d.selected(SelectedBackground), d.noneIndex());
    EXPECT_EQ(d.colors()[d.selected(Foreground)].display, "00445566H"); // still the same colour
    runtime::Record r = f.file.newRecord();
    r.setText(Equ::Name, "00112233H");
    EXPECT_EQ(f.file.get(Equ::ByName, r).code, runtime::ErrorCode::RecordNotFound);

    // Another program deletes the other one first.
    r.setText(Equ::Name, "00445566H");
    ASSERT_TRUE(f.file.get(Equ::ByName, r).ok());
    ASSERT_TRUE(f.file.remove(r).ok());
    d.select(SelectedBackground, d.indexOf("00445566H"));
    const ColorOutcome vanished = d.deleteSelected();
    EXPECT_FALSE(vanished.changed);
    ASSERT_TRUE(vanished.message);
    EXPECT_EQ(vanished.message->caption, "EQUATE DELETE ERROR");
    EXPECT_EQ(vanished.message->text.rfind("An error occured while Deleting Color||Error: ", 0), 0u);
    EXPECT_NE(vanished.message->text.find("|File: Equates5.tps |File Error: "), std::string::npos);
    EXPECT_GE(d.indexOf("00445566H"), 0); // the lists keep their state after the message
}

TEST(SampleObjects, AllSixteenByNameInListOrder)
{
    EXPECT_STREQ(sampleObjectName(SampleObject::List), "List");
    EXPECT_STREQ(sampleObjectName(SampleObject::Tab3), "Tab3");
    EXPECT_STREQ(sampleObjectName(SampleObject::None), "None");
    EXPECT_EQ(sampleObjectNamed("entry1"), SampleObject::Entry1);
    EXPECT_EQ(sampleObjectNamed("Entry3"), std::nullopt);
    for (int i = 0; i < SampleObjectCount; ++i)
        EXPECT_EQ(sampleObjectNamed(sampleObjectName(static_cast<SampleObject>(i))),
                  static_cast<SampleObject>(i));
}

TEST(ColorDesigner, AnEmptyEquatesFileEndsTheWalkWithoutAnError)
{
    EquatesFile f;
    ColorDesigner d(f.file);
    ASSERT_TRUE(d.load().ok());
    EXPECT_EQ(displays(d), std::vector<std::string>{"<none>"});
}
