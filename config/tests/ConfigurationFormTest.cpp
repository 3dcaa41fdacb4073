#include "config/ConfigurationForm.h"
#include "config/ConfigChecks.h"
#include "runtime/testing/RequireOk.h"
#include "runtime/testing/ScriptedDialogs.h"
#include "runtime/testing/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace kestrix::config;
using namespace kestrix::runtime;
using kestrix::runtime::testing::ScriptedDialogs;
using kestrix::runtime::testing::TempDir;
namespace fs = std::filesystem;

namespace {
struct ConfigFile
{
    TempDir dir;
    KeyedFile file{"config5.tps", configLayout()};
    ConfigFile()
    {
        kestrix::runtime::testing::requireOk(file.create(), "file.create()");
        kestrix::runtime::testing::requireOk(file.open(), "file.open()");
    }
};
} // namespace

TEST(ConfigurationForm, InsertModeOnAnEmptyFileThenChangeMode)
{
    ConfigFile f;
    ScriptedDialogs dialogs;
    ConfigurationForm first(f.file);
    EXPECT_EQ(first.mode(), ConfigurationForm::Mode::Insert);
    EXPECT_EQ(first.record().text(Cfg::Btn), "Btn#");
    ASSERT_TRUE(first.save(dialogs));
    EXPECT_EQ(f.file.records(), 1);

    ConfigurationForm second(f.file);
    EXPECT_EQ(second.mode(), ConfigurationForm::Mode::Change);
    EXPECT_FALSE(second.acceptNumber(Cfg::Indent, 4));
    ASSERT_TRUE(second.save(dialogs));
    EXPECT_EQ(f.file.records(), 1);
    EXPECT_EQ(readConfiguration(f.file)->number(Cfg::Indent), 4);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST(ConfigurationForm, RangesAreCheckedAsEachValueIsAccepted)
{
    ConfigFile f;
    ConfigurationForm form(f.file);
    const auto refused = form.acceptNumber(Cfg::Indent, 31);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->caption, "Range Error");
    EXPECT_EQ(refused->text, "The value of Initial Indent must be between 0 and 30.");
    EXPECT_EQ(form.record().number(Cfg::Indent), 0); // unchanged
    EXPECT_FALSE(form.acceptNumber(Cfg::Indent, 0));
    EXPECT_EQ(form.acceptNumber(Cfg::NestIndent, 0)->text,
              "The value of Nest Indent must be between 1 and 10.");
    EXPECT_EQ(form.acceptNumber(Cfg::StreamRecords, 10000)->text,
              "The value of Stream Count must be between 1 and 9999.");
    EXPECT_EQ(form.acceptNumber(Cfg::YieldRecords, 0)->text,
              "The value of Yield Count must be between 1 and 9999.");
    EXPECT_EQ(form.acceptNumber(Cfg::FieldWidth, 4)->text,
              "The value of Field Width must be between 5 and 50.");
    EXPECT_FALSE(form.acceptNumber(Cfg::FieldWidth, 50));
}

TEST(ConfigurationForm, TheClarionPathMustHoldLibSrc)
{
    ConfigFile f;
    fs::create_directories("C5/LIBSRC");
    fs::create_directories("Other");
    ConfigurationForm form(f.file);
    EXPECT_FALSE(form.acceptClarionPath("C5\\"));
    EXPECT_EQ(form.record().text(Cfg::CwPath), "C5");
    const auto refused = form.acceptClarionPath("Other\\");
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->text,
              "Clarion Path is invalid: Other||I checked for: Other\\LibSrc|and did not find it.||If you "
              "blank the path I'll try find CW for you.");
    EXPECT_EQ(form.record().text(Cfg::CwPath), "C5");
    EXPECT_FALSE(form.acceptClarionPath(""));
    EXPECT_EQ(form.record().text(Cfg::CwPath), "");
}

TEST(ConfigurationForm, ABlankPathIsLookedUpInTheSystemIniFile)
{
    ConfigFile f;
    std::ofstream("win.ini") << "[Clarion 5]\nworkdir=C:\\C5\\WORK\\\n";
    ConfigurationForm form(f.file);
    form.fillBlankClarionPath(std::nullopt);
    EXPECT_EQ(form.record().text(Cfg::CwPath), "");
    form.fillBlankClarionPath(IniFile("win.ini"));
    EXPECT_EQ(form.record().text(Cfg::CwPath), "C:\\C5");
}

TEST(ConfigurationForm, FontRowsAndBoldFlags)
{
    ConfigFile f;
    ConfigurationForm form(f.file);
    form.fixedFontRow(FontRow::ClipboardViewer);
    EXPECT_EQ(fontOf(form.record(), 6), (FontSpec{"Fixedsys", 9, 0, 400}));
    EXPECT_EQ(form.acceptFontRow(2, {"Arial", 12, 255, 700}), std::nullopt);
    form.defaultFontRow(6);
    EXPECT_EQ(fontOf(form.record(), 6), (FontSpec{"Default", 8, 0, 0}));
    EXPECT_EQ(fontOf(form.record(), 2).name, "Arial");
    form.checkAllBold();
    for (int e = 1; e <= 12; ++e)
        EXPECT_EQ(form.record().number(Cfg::LookBold, e), 1);
    EXPECT_EQ(form.record().number(Cfg::LookBold, 13), 0);
    EXPECT_EQ(ConfigurationForm::fontDialogStart({"Default", 8, 0, 0}).name, "MS Sans Serif");
    EXPECT_EQ(ConfigurationForm::fontDialogStart({"Arial", 8, 0, 0}).name, "Arial");
}

TEST(ConfigurationForm, TwoProgramsWritingAtOnceLoseNothing)
{
    ConfigFile f;
    ScriptedDialogs dialogs;
    ConfigurationForm(f.file).save(dialogs);
    KeyedFile otherFile("config5.tps", configLayout());
    ASSERT_TRUE(otherFile.open().ok());
    ConfigurationForm mine(f.file), theirs(otherFile);
    theirs.acceptNumber(Cfg::Indent, 7);
    ASSERT_TRUE(theirs.save(dialogs));
    mine.acceptNumber(Cfg::NestIndent, 2);
    EXPECT_FALSE(mine.save(dialogs));
    EXPECT_EQ(dialogs.captions(), std::vector<std::string>{"Record Was Not Updated"});
    EXPECT_EQ(mine.record().number(Cfg::Indent), 7); // the window now shows their values
    mine.acceptNumber(Cfg::NestIndent, 2);
    ASSERT_TRUE(mine.save(dialogs));
    const auto stored = readConfiguration(f.file);
    EXPECT_EQ(stored->number(Cfg::Indent), 7);
    EXPECT_EQ(stored->number(Cfg::NestIndent), 2);
}

TEST(ConfigurationForm, PathFieldsHoldAWholePathAndOldNarrowFilesStillOpen)
{
    TempDir dir;
    // The file as the program wrote it while paths and file names held 64 characters.
    auto narrow = std::make_shared<RecordLayout>("CFG");
    for (const FieldDef& field : configLayout()->fields()) {
        if (field.type == FieldType::String)
            narrow->addString(field.name, field.size == PathLength ? 64 : field.size, field.dims);
        else
            narrow->addNumber(field.name, field.type, field.dims);
    }
    {
        KeyedFile old("config5.tps", narrow);
        ASSERT_TRUE(old.create().ok());
        ASSERT_TRUE(old.open().ok());
        Record r(narrow);
        r.setText(Cfg::Editor, "vim");
        r.setNumber(Cfg::NestIndent, 4);
        ASSERT_TRUE(old.add(r).ok());
    }
    for (const Cfg::Field field : {Cfg::CwPath, Cfg::Editor, Cfg::RenameFixFile, Cfg::Acrobat})
        EXPECT_GE(configLayout()->field(field).size, 260) << configLayout()->field(field).name;

    KeyedFile file("config5.tps", configLayout());
    ASSERT_TRUE(file.open().ok());
    ConfigurationForm form(file);
    ASSERT_EQ(form.mode(), ConfigurationForm::Mode::Change);
    EXPECT_EQ(form.record().text(Cfg::Editor), "vim");
    EXPECT_EQ(form.record().number(Cfg::NestIndent), 4);

    const std::string deep = (dir.path() / std::string(180, 'p') / "Clarion").string();
    ASSERT_GE(deep.size(), 200u);
    fs::create_directories(fs::path(deep) / "LibSrc");
    EXPECT_EQ(form.acceptClarionPath(deep), std::nullopt);
    ScriptedDialogs dialogs;
    ASSERT_TRUE(form.save(dialogs));
    EXPECT_EQ(readConfiguration(file)->text(Cfg::CwPath), deep);

    // Past the field's size a path is refused, not cut to one that names another folder.
    const std::string tooDeep = "/" + std::string(PathLength, 'q');
    const auto refusal = form.acceptClarionPath(tooDeep);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->text, "CFG:CWPATH holds at most 260 characters, not 261.");
    EXPECT_EQ(form.record().text(Cfg::CwPath), deep);
    EXPECT_EQ(form.acceptEditor(deep + "/bin/editor"), std::nullopt);
    ASSERT_TRUE(form.acceptEditor(tooDeep));
    EXPECT_EQ(form.record().text(Cfg::Editor), deep + "/bin/editor");
}
