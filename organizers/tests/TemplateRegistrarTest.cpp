#include "organizers/TemplateRegistrar.h"
#include "runtime/FixedText.h"
#include "runtime/WinPath.h"
#include "runtime/testing/DirectoryLink.h"
#include "runtime/testing/ScriptedDde.h"
#include "runtime/testing/ScriptedDialogs.h"
#include "runtime/testing/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace fs = std::filesystem;
using namespace kestrix;
using namespace kestrix::organizers;
using runtime::testing::ScriptedDdeServer;
using runtime::testing::ScriptedDialogs;

namespace {

const std::string Root = "C:\\C5";

std::string command(const std::string& fullPath)
{
    return "execute [RegisterTemplateChain(" + fullPath + ",1)]";
}

class Registering : public ::testing::Test
{
protected:
    Registering()
    {
        list.add("C:\\C5\\3RDPARTY", "ABC.TPL", "");
        list.add("C:\\C5\\3RDPARTY", "OFF.TPL", "No");
        list.add("C:\\C5\\TEMPLATE", "CW.TPL", "");
        list.add("C:\\C5\\TEMPLATE", "WIZARD.TPL", "");
        list.add("C:\\C5\\TEMPLATE", "ZZ.TPL", "New");
    }
    TemplateRegistrar registrar()
    {
        TemplateRegistrar r(list, Root + "\\", dialogs, server.factory());
        r.setProgress(
            [this](std::size_t i, const std::string& load) { changes.push_back(list[i].file + " " + load); });
        return r;
    }
    std::vector<std::string> loads() const
    {
        std::vector<std::string> out;
        for (const TemplateEntry& e : list.entries())
            out.push_back(e.load);
        return out;
    }
    std::vector<std::string> executes() const
    {
        std::vector<std::string> out;
        for (const std::string& line : server.log) {
            if (line.starts_with("execute "))
                out.push_back(line);
        }
        return out;
    }

    TemplateList list;
    ScriptedDdeServer server;
    ScriptedDialogs dialogs;
    std::vector<std::string> changes;
};

} // namespace

TEST_F(Registering, AllSendsTheWizardFirstAndSkipsMarkedEntries)
{
    const RegisterResult result = registrar().registerAll();
    EXPECT_TRUE(result.connected);
    EXPECT_EQ(result.done, 4);
    EXPECT_EQ(result.failed, 0);
    EXPECT_EQ(server.log.front(), "connect ClarionWin|");
    EXPECT_EQ(server.log[1], "timeout 12000");
    EXPECT_EQ(server.log.back(), "disconnect");
    EXPECT_EQ(executes(), (std::vector<std::string>{
                              command("C:\\C5\\TEMPLATE\\WIZARD.TPL"), command("C:\\C5\\3RDPARTY\\ABC.TPL"),
                              command("C:\\C5\\TEMPLATE\\CW.TPL"), command("C:\\C5\\TEMPLATE\\ZZ.TPL")}));
    EXPECT_EQ(loads(), (std::vector<std::string>{"Done", "No", "Done", "Done", "Done"}));
    EXPECT_TRUE(dialogs.shown.empty());
    // Every entry of the set shows "Now" before the first command; then each its result in turn.
    const std::vector<std::string> expected = {
        "WIZARD.TPL Now", "ABC.TPL Now",  "CW.TPL Now", "ZZ.TPL Now",  "WIZARD.TPL Now", "WIZARD.TPL Done",
        "ABC.TPL Now",    "ABC.TPL Done", "CW.TPL Now", "CW.TPL Done", "ZZ.TPL Now",     "ZZ.TPL Done"};
    EXPECT_EQ(changes, expected);
}

TEST_F(Registering, AWizardOutsideTheIdesTemplateDirectoryHasNoPrecedence)
{
    list.add("C:\\C5\\3RDPARTY", "WIZARD.TPL", "");
    registrar().registerDirectory("c:\\c5\\3rdparty\\");
    EXPECT_EQ(executes(), (std::vector<std::string>{command("C:\\C5\\3RDPARTY\\ABC.TPL"),
                                                    command("C:\\C5\\3RDPARTY\\WIZARD.TPL")}));
    EXPECT_EQ(loads(), (std::vector<std::string>{"Done", "No", "Done", "", "", "New"}));
}

TEST_F(Registering, AFailureShowsTheIdesErrorAndTheOthersGoOn)
{
    server.onExecute = [](const std::string& text) {
        return text.find("CW.TPL") != std::string::npos ? runtime::DdeResult::failure(0x4009, "Not processed")
                                                        : runtime::DdeResult::success();
    };
    server.items = {{"GetErrorNum", "17"}, {"GetErrorMsg", "Template CW.TPL: unknown #CHAIN"}};
    const RegisterResult result = registrar().registerAll();
    EXPECT_EQ(result.done, 3);
    EXPECT_EQ(result.failed, 1);
    EXPECT_EQ(loads(), (std::vector<std::string>{"Done", "No", "Err", "Done", "Done"}));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].caption, "DDE ERROR");
    EXPECT_EQ(dialogs.shown[0].icon, runtime::MessageIcon::Hand);
    EXPECT_EQ(dialogs.shown[0].text, "An error occured trying to Register Template|Template: "
                                     "C:\\C5\\TEMPLATE\\CW.TPL||Error: 16393 Not processed||DDE Error: 17 "
                                     "Template CW.TPL: unknown #CHAIN");
    // The questions follow the failed command, before the next one.
    const auto failed = std::find(server.log.begin(), server.log.end(), command("C:\\C5\\TEMPLATE\\CW.TPL"));
    ASSERT_NE(failed, server.log.end());
    EXPECT_EQ(*(failed + 1), "request GetErrorNum");
    EXPECT_EQ(*(failed + 2), "request GetErrorMsg");
    EXPECT_EQ(*(failed + 3), command("C:\\C5\\TEMPLATE\\ZZ.TPL"));
}

TEST_F(Registering, AnIdeThatNeverAnswersTimesOutThatEntryOnly)
{
    server.unanswered = [](const std::string& call) {
        return call == command("C:\\C5\\3RDPARTY\\ABC.TPL") || call.starts_with("request ");
    };
    TemplateRegistrar r = registrar();
    r.setTimeout(5);
    const RegisterResult result = r.registerAll();
    EXPECT_EQ(server.log[1], "timeout 5");
    EXPECT_EQ(result.failed, 1);
    EXPECT_EQ(result.done, 3);
    EXPECT_EQ(loads(), (std::vector<std::string>{"Err", "No", "Done", "Done", "Done"}));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].caption, "DDE ERROR");
    EXPECT_NE(
        dialogs.shown[0].text.find("Template: C:\\C5\\3RDPARTY\\ABC.TPL||Error: 16389 No answer within 5 "
                                   "hundredths of a second||DDE Error: ? (No answer within 5"),
        std::string::npos)
        << dialogs.shown[0].text;
}

TEST_F(Registering, WithoutTheIdeNothingChanges)
{
    server.running = false;
    const std::vector<std::string> before = loads();
    const RegisterResult result = registrar().registerAll();
    EXPECT_FALSE(result.connected);
    EXPECT_EQ(loads(), before);
    EXPECT_TRUE(executes().empty());
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].caption, "CW NOT RUNNING");
    EXPECT_EQ(dialogs.shown[0].text, "Unable to make DDE Connection to CW.|You will have to start CW.||!! Be "
                                     "sure to Exit the Pick Screen !!");
    // The system's client outside Windows never connects either.
    TemplateRegistrar system(list, Root, dialogs);
    EXPECT_FALSE(system.registerOne(0).connected);
    EXPECT_EQ(list[0].load, "");
}

TEST_F(Registering, OneEntryAndCancelling)
{
    TemplateRegistrar r = registrar();
    EXPECT_EQ(r.registerOne(1).order.size(), 0u); // marked "No": never registered
    EXPECT_EQ(r.registerOne(0).done, 1);
    EXPECT_EQ(executes(), std::vector<std::string>{command("C:\\C5\\3RDPARTY\\ABC.TPL")});

    // Stopped after two commands: the entries not sent show what they showed before.
    int asked = 0;
    r.setCancelCheck([&asked] { return ++asked > 2; });
    const RegisterResult result = r.registerAll();
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(result.done, 2);
    EXPECT_EQ(loads(), (std::vector<std::string>{"Done", "No", "", "Done", "New"}));
    EXPECT_EQ(server.log.back(), "disconnect");
}

TEST(TemplateScan, FindsTemplatesBreadthFirstAndSkipsBackups)
{
    runtime::testing::TempDir dir;
    const fs::path root = dir.path() / "CW";
    for (const char* file :
         {"TEMPLATE/WIZARD.TPL", "TEMPLATE/cw.tpl", "TEMPLATE/NOTES.TXT", "OLD.BAK/ABC.TPL",
          "3RD/Deep/MINE.TPLX", "BACKUP/X.TPL", "TEMPLATE/TPL.SAV/Y.TPL"}) {
        fs::create_directories((root / file).parent_path());
        std::ofstream(root / file) << "x";
    }
    ASSERT_TRUE(runtime::testing::makeDirectoryLink(root, root / "3RD" / "LOOP"));
    const std::string winRoot = runtime::toWinPath(root);
    TemplateScanResult scan = scanForTemplates(winRoot);
    ASSERT_TRUE(scan.completed);
    EXPECT_EQ(scan.skippedDirectories, 3);
    const std::string upperRoot = runtime::upper(winRoot);
    TemplateList list;
    list.add(upperRoot + "\\TEMPLATE", "CW.TPL", "No");
    addScanned(list, scan);
    EXPECT_EQ(scan.added, 2);
    const std::vector<TemplateEntry> expected = {{"New", "MINE.TPLX", upperRoot + "\\3RD\\DEEP"},
                                                 {"No", "CW.TPL", upperRoot + "\\TEMPLATE"},
                                                 {"New", "WIZARD.TPL", upperRoot + "\\TEMPLATE"}};
    EXPECT_EQ(list.entries(), expected);
    EXPECT_EQ(templateScanReport(scan).text,
              "2 TPL files found and added to list.||3 Bak/Sav/Old/$$$/Backup Directories were omited.");
    EXPECT_EQ(templateScanReport(scan).caption, "SCAN FOR TEMPLATE FILES");
}

TEST(TemplateScan, StopsAtTwelveLevelsCountsUnreadableDirectoriesAndCancels)
{
    // A lister that makes every directory hold one template and one subdirectory, except the unreadable.
    int listed = 0;
    const DirectoryLister lister = [&listed](const fs::path& path, std::vector<DirectoryEntry>& entries) {
        ++listed;
        if (path.filename() == "BAD")
            return false;
        entries.push_back({"T.TPL", false, path / "T.TPL"});
        entries.push_back({"D", true, path / "D"});
        if (path.filename() == "ROOT")
            entries.push_back({"BAD", true, path / "BAD"});
        return true;
    };
    const TemplateScanResult scan = scanForTemplates("ROOT", {}, lister);
    EXPECT_TRUE(scan.completed);
    EXPECT_EQ(scan.found.size(), 12u);
    EXPECT_EQ(scan.unreadableDirectories, 1);
    EXPECT_EQ(listed, 13);
    EXPECT_NE(templateScanReport(scan).text.find("||1 directories could not be read"), std::string::npos);

    int asked = 0;
    const TemplateScanResult stopped = scanForTemplates(
        "ROOT", [&asked] { return ++asked > 3; }, lister);
    EXPECT_FALSE(stopped.completed);
}

TEST(RegistryDeletion, AsksThenDeletesOrSaysWhy)
{
    runtime::testing::TempDir dir;
    const fs::path templates = dir.path() / "CW" / "TEMPLATE";
    fs::create_directories(templates);
    const std::string root = runtime::toWinPath(dir.path() / "CW");
    ScriptedDialogs dialogs;
    std::ofstream(templates / "REGISTRY.TRF") << "x";

    dialogs.answers = {runtime::Button::No};
    EXPECT_EQ(deleteRegistry(root, dialogs), RegistryDeletion::Declined);
    EXPECT_TRUE(fs::exists(templates / "REGISTRY.TRF"));
    EXPECT_EQ(dialogs.shown.at(0), deleteRegistryQuestion());
    EXPECT_EQ(dialogs.shown.at(0).caption, "Delete Registry");

    dialogs.answers = {runtime::Button::Yes};
    EXPECT_EQ(deleteRegistry(root, dialogs), RegistryDeletion::Deleted);
    EXPECT_FALSE(fs::exists(templates / "REGISTRY.TRF"));
    EXPECT_EQ(dialogs.shown.size(), 2u); // the question only

    EXPECT_EQ(deleteRegistry(root, dialogs, true), RegistryDeletion::Missing);
    EXPECT_EQ(dialogs.shown.back().text, "No Registry file exists");

    fs::create_directories(templates / "Registry.TRF" / "inside");
    EXPECT_EQ(deleteRegistry(root, dialogs, true), RegistryDeletion::Failed);
    EXPECT_TRUE(fs::exists(templates / "Registry.TRF" / "inside"));
    EXPECT_EQ(dialogs.shown.back().caption, "DELETE REGISTRY ERROR");
    EXPECT_EQ(dialogs.shown.back().text.rfind(
                  "An error occured while trying to delete the Registry.|CW must NOT be "
                  "running.|Close CW and try this gain.||Error: ",
                  0),
              0u);
    EXPECT_NE(dialogs.shown.back().text.find("|File:   " + root + "\\Template\\Registry.TRF"),
              std::string::npos);
}
