#include "organizers/TemplateList.h"
#include "runtime/FixedText.h"
#include "runtime/testing/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace kestrix;
using namespace kestrix::organizers;

namespace {

void writeFile(const std::string& text)
{
    std::ofstream(TemplateListFileName, std::ios::binary) << text;
}

std::string fileText()
{
    std::ifstream in(TemplateListFileName, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace

TEST(TemplateListFile, ReadsEveryKindOfLine)
{
    runtime::testing::TempDir dir;
    writeFile("!KTX Template Registrar File\r\n"
              "!=Comments  !!=No Load\r\n"
              "\r\n"
              "C:\\C5\\TEMPLATE\\ABCHAIN.TPL\r\n"
              ">C:\\C5\\3RDPARTY\r\n"
              "abc.tpl\r\n"
              "!!Off.tpl\r\n"
              " indented.tpl\r\n"
              "!a comment\r\n"
              "!!c:\\c5\\template\\cw.tpl   \r\n"
              "!!\r\n"
              ">\r\n"
              "bare.tpl\n"
              ">C:\\NOTHING\\AFTER");
    const TemplateListRead read = readTemplateList();
    EXPECT_FALSE(read.error);
    EXPECT_TRUE(read.longLines.empty());
    const std::vector<TemplateEntry> expected = {
        {"", "BARE.TPL", ""},
        {"", "ABC.TPL", "C:\\C5\\3RDPARTY"},
        {"No", "OFF.TPL", "C:\\C5\\3RDPARTY"},
        {"", "ABCHAIN.TPL", "C:\\C5\\TEMPLATE"},
        {"No", "CW.TPL", "C:\\C5\\TEMPLATE"},
    };
    EXPECT_EQ(read.list.entries(), expected);
}

TEST(TemplateListFile, WritesMarkedEntriesBackAndReadsThemAgain)
{
    runtime::testing::TempDir dir;
    TemplateList list;
    list.add("c:\\c5\\template\\", "wizard.tpl");
    list.add("C:\\C5\\3RDPARTY", "ZED.TPL");
    const auto marked = list.add("C:\\C5\\3RDPARTY", "ABC.TPL");
    ASSERT_TRUE(marked);
    list.toggleLoad(*marked);
    ASSERT_FALSE(writeTemplateList(list));
    EXPECT_EQ(fileText(), "!KTX Template Registrar File\r\n!=Comments  !!=No Load\r\n\r\n"
                          "!!C:\\C5\\3RDPARTY\\ABC.TPL\r\n"
                          "C:\\C5\\3RDPARTY\\ZED.TPL\r\n"
                          "C:\\C5\\TEMPLATE\\WIZARD.TPL\r\n");
    const TemplateListRead read = readTemplateList();
    ASSERT_EQ(read.list.size(), 3u);
    EXPECT_EQ(read.list[0], (TemplateEntry{"No", "ABC.TPL", "C:\\C5\\3RDPARTY"}));
    // "New" is a state of this session only: read back it is a plain entry.
    EXPECT_EQ(read.list[2], (TemplateEntry{"", "WIZARD.TPL", "C:\\C5\\TEMPLATE"}));
}

TEST(TemplateListFile, KeepsPathsLongerThanTheOldFieldWhole)
{
    runtime::testing::TempDir dir;
    const std::string deep = "D:\\" + std::string(300, 'x') + "\\TEMPLATES";
    const std::string name = "A-TEMPLATE-NAME-LONGER-THAN-EIGHT-THREE.TPL";
    TemplateList list;
    list.add(deep, name, "");
    ASSERT_FALSE(writeTemplateList(list));
    const TemplateListRead read = readTemplateList();
    ASSERT_EQ(read.list.size(), 1u);
    EXPECT_EQ(read.list[0].path, runtime::upper(deep));
    EXPECT_EQ(read.list[0].file, name);
}

TEST(TemplateListFile, ALineTooLongToBeAPathIsNotTakenAndSaidSo)
{
    runtime::testing::TempDir dir;
    writeFile("C:\\A\\ONE.TPL\r\nC:\\" + std::string(TemplateListLineLength, 'q') +
              "\\TWO.TPL\r\nC:\\A\\THREE.TPL\r\n");
    const TemplateListRead read = readTemplateList();
    ASSERT_EQ(read.list.size(), 2u);
    EXPECT_EQ(read.list[0].file, "ONE.TPL");
    EXPECT_EQ(read.list[1].file, "THREE.TPL");
    EXPECT_EQ(read.longLines, std::vector<std::size_t>{2});
    const auto note = templateListReadNote(read, TemplateListFileName);
    ASSERT_TRUE(note);
    EXPECT_NE(note->text.find("(line 2)"), std::string::npos) << note->text;
}

TEST(TemplateListFile, AMissingFileIsAnEmptyListAndAnUnreadableOneIsReported)
{
    runtime::testing::TempDir dir;
    const TemplateListRead missing = readTemplateList();
    EXPECT_FALSE(missing.error);
    EXPECT_TRUE(missing.list.empty());
    EXPECT_FALSE(templateListReadNote(missing, TemplateListFileName));

    std::filesystem::create_directory(TemplateListFileName);
    const TemplateListRead unreadable = readTemplateList();
    EXPECT_TRUE(unreadable.error);
    ASSERT_TRUE(templateListReadNote(unreadable, TemplateListFileName));
    // Nor can it be written over: the error box names the file.
    const runtime::FileError written = writeTemplateList(unreadable.list);
    ASSERT_TRUE(written);
    const runtime::MessageRequest box = templateListWriteError(written, TemplateListFileName);
    EXPECT_EQ(box.caption, "FILE OPEN ERROR");
    EXPECT_EQ(box.text.rfind("An error occured while opening REGISTER.TPM file.||Error: ", 0), 0u);
    EXPECT_NE(box.text.find("|File: Registp4.TPM"), std::string::npos);
}

TEST(TemplateListEntries, StaySortedUniqueAndToggle)
{
    TemplateList list;
    EXPECT_TRUE(list.add("C:\\B", "X.TPL"));
    EXPECT_TRUE(list.add("C:\\A", "Y.TPL"));
    EXPECT_TRUE(list.add("C:\\A", "X.TPL"));
    EXPECT_FALSE(list.add("c:\\a\\", "x.tpl")); // already listed, in another spelling
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].fullPath(), "C:\\A\\X.TPL");
    EXPECT_EQ(list[1].fullPath(), "C:\\A\\Y.TPL");
    EXPECT_EQ(list[2].fullPath(), "C:\\B\\X.TPL");
    EXPECT_EQ(list[0].load, "New");

    EXPECT_EQ(list.findFile("x.tpl"), (std::vector<std::size_t>{0, 2}));
    EXPECT_EQ(list.find("c:\\b", "X.TPL"), 2u);
    EXPECT_FALSE(list.find("C:\\B", "Y.TPL"));

    list.toggleLoad(1);
    EXPECT_EQ(list[1].load, "No");
    list.toggleLoad(1);
    EXPECT_EQ(list[1].load, "");
    list.setLoad(1, "Err");
    list.toggleLoad(1);
    EXPECT_EQ(list[1].load, "No");

    list.remove(0);
    EXPECT_EQ(list[0].fullPath(), "C:\\A\\Y.TPL");
}
