#include "app/StartupSequence.h"
#include "config/ConfigRecord.h"
#include "config/ConfigurationForm.h"
#include "config/Settings.h"
#include "data/DataFileNames.h"
#include "runtime/testing/ScriptedDialogs.h"
#include "runtime/testing/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace kestrix;
using runtime::testing::ScriptedDialogs;
namespace fs = std::filesystem;

TEST(StartupSequence, AFirstRunCreatesTheFilesAndHasNoConfiguration)
{
    runtime::testing::TempDir dir;
    ScriptedDialogs dialogs;
    config::Session session(dialogs);
    app::StartupSequence startup(session);
    ASSERT_TRUE(startup.openSharedFiles());
    EXPECT_TRUE(fs::exists("config5.tps"));
    EXPECT_TRUE(fs::exists("Equates5.tps"));
    EXPECT_TRUE(fs::exists("Config.tps"));
    EXPECT_FALSE(startup.readConfiguration());
    EXPECT_TRUE(startup.equatesNeedLoading());
    EXPECT_TRUE(startup.popupsNeedLoading());
    EXPECT_EQ(session.files().useCount(data::FileName::Configuration), 1);

    config::ConfigurationForm form(*session.files().file(data::FileName::Configuration));
    form.acceptNumber(config::Cfg::Indent, 5);
    ASSERT_TRUE(form.save(dialogs));
    ASSERT_TRUE(startup.readConfiguration());
    EXPECT_EQ(session.configuration().number(config::Cfg::Indent), 5);

    startup.closeSharedFiles();
    EXPECT_EQ(session.files().useCount(data::FileName::Configuration), 0);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST(StartupSequence, LoadVersionsCompareAsText)
{
    EXPECT_TRUE(app::loadVersionIsOld(""));
    EXPECT_TRUE(app::loadVersionIsOld("3"));
    EXPECT_TRUE(app::loadVersionIsOld("10")); // text comparison, as the stored value is text
    EXPECT_FALSE(app::loadVersionIsOld("4"));
    EXPECT_FALSE(app::loadVersionIsOld("5"));
}

TEST(StartupSequence, AFullEquatesFileIsReloadedOnlyForAnOldVersion)
{
    runtime::testing::TempDir dir;
    ScriptedDialogs dialogs;
    config::Session session(dialogs);
    app::StartupSequence startup(session);
    ASSERT_TRUE(startup.openSharedFiles());
    runtime::KeyedFile* equates = session.files().file(data::FileName::Equates);
    runtime::Record r = equates->newRecord();
    r.setText(0, "Color");
    ASSERT_TRUE(equates->add(r).ok());
    const auto ini = session.programIni();
    ini.setValue("EquateLoad", "Version", "3");
    EXPECT_TRUE(startup.equatesNeedLoading());
    ini.setValue("EquateLoad", "Version", "4");
    EXPECT_FALSE(startup.equatesNeedLoading());
    ini.setValue("EquateLoad", "Version", "5");
    EXPECT_FALSE(startup.equatesNeedLoading());
    EXPECT_TRUE(startup.popupsNeedLoading()); // still empty
    startup.closeSharedFiles();
}

TEST(StartupSequence, AbcModeDefaultsToOnAndFollowsTheIniFile)
{
    runtime::testing::TempDir dir;
    ScriptedDialogs dialogs;
    config::Session session(dialogs);
    app::StartupSequence startup(session);
    session.modes().abcMode = false;
    startup.readAbcMode();
    EXPECT_TRUE(session.modes().abcMode);
    session.setAbcMode(false);
    session.modes().abcMode = true;
    startup.readAbcMode();
    EXPECT_FALSE(session.modes().abcMode);
    EXPECT_EQ(session.programIni().value("abc", "abcmode"), "0");
}

TEST(StartupSequence, ADataFileThatCannotBeOpenedStopsStartUpAndReleasesTheOthers)
{
    runtime::testing::TempDir dir;
    std::ofstream("Equates5.tps") << std::string(300, 'j');
    ScriptedDialogs dialogs;
    config::Session session(dialogs);
    app::StartupSequence startup(session);
    EXPECT_FALSE(startup.openSharedFiles());
    EXPECT_EQ(dialogs.captions(), (std::vector<std::string>{"Damaged File", "File Access Error"}));
    EXPECT_EQ(session.files().useCount(data::FileName::Configuration), 0);
    EXPECT_EQ(fs::file_size("Equates5.tps"), 300u);
}
