#include "KtxRun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;
using kestrix::testing::KtxRun;
using kestrix::testing::SampleClarionRoot;

namespace {

std::string upper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// The shared workspace over the sample installation, with the template list file at hand.
struct TemplatesWorkspace : kestrix::testing::KtxWorkspace
{
    TemplatesWorkspace() { clarionRoot = SampleClarionRoot; }
    fs::path listFile() const { return fs::path(data) / "Registp4.TPM"; }
    std::string listText() const
    {
        std::ifstream in(listFile(), std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    void writeList(const std::string& text)
    {
        fs::create_directories(data);
        std::ofstream(listFile(), std::ios::binary) << text;
    }
};

const std::string NotRunning =
    "CW NOT RUNNING: Unable to make DDE Connection to CW.\nYou will have to start CW.\n\n"
    "!! Be sure to Exit the Pick Screen !!\n";

} // namespace

TEST(KtxTemplates, ScanTheSampleInstallationThenListAndMarkEntries)
{
    TemplatesWorkspace w;
    const KtxRun scan = w.run({"templates", "scan"});
    ASSERT_EQ(scan.code, 0) << scan.err;
    // WIZARD.TPL and KTXDEMO.TPL of the IDE, NOTEPAD.TPL of an add-on; the include file is no chain;
    // BIN\BACKUP is not searched.
    EXPECT_EQ(scan.out,
              "3 TPL files found and added to list.\n\n1 Bak/Sav/Old/$$$/Backup Directories were omited.\n");
    const std::string root = upper(SampleClarionRoot);
    const std::string listed = "\tNOTEPAD.TPL\t" + root + "\\3RDPARTY\\TEMPLATE\n" + "\tKTXDEMO.TPL\t" +
                               root + "\\TEMPLATE\n" + "\tWIZARD.TPL\t" + root + "\\TEMPLATE\n";
    EXPECT_EQ(w.run({"templates", "list"}).out, listed);
    EXPECT_EQ(w.run({"templates", "scan"}).out.rfind("0 TPL files found", 0), 0u);

    EXPECT_EQ(w.run({"templates", "load", "ktxdemo.tpl", "off"}).code, 0);
    EXPECT_NE(w.listText().find("\r\n!!" + root + "\\TEMPLATE\\KTXDEMO.TPL\r\n"), std::string::npos);
    EXPECT_EQ(w.run({"templates", "list"}).out, "\tNOTEPAD.TPL\t" + root + "\\3RDPARTY\\TEMPLATE\n" +
                                                    "No\tKTXDEMO.TPL\t" + root + "\\TEMPLATE\n" +
                                                    "\tWIZARD.TPL\t" + root + "\\TEMPLATE\n");
    EXPECT_EQ(w.run({"templates", "load", root + "\\TEMPLATE\\KTXDEMO.TPL", "on"}).code, 0);
    EXPECT_EQ(w.run({"templates", "list"}).out, listed);

    const KtxRun badState = w.run({"templates", "load", "WIZARD.TPL", "maybe"});
    EXPECT_EQ(badState.code, 2);
    EXPECT_NE(badState.err.find("on or off"), std::string::npos);
    const KtxRun unknown = w.run({"templates", "load", "NONE.TPL", "on"});
    EXPECT_EQ(unknown.code, 1);
    EXPECT_NE(unknown.err.find("No template NONE.TPL"), std::string::npos);
}

TEST(KtxTemplates, RegisteringWithoutTheIdeLeavesTheListAsItWas)
{
    TemplatesWorkspace w;
    w.writeList(">C:\\C5\\TEMPLATE\r\nWIZARD.TPL\r\n!!OFF.TPL\r\n");
    const std::string before = w.listText();
    for (const std::vector<std::string>& what :
         {std::vector<std::string>{"all"}, {"dir", "C:\\C5\\TEMPLATE"}, {"WIZARD.TPL"}}) {
        std::vector<std::string> args{"templates", "register"};
        args.insert(args.end(), what.begin(), what.end());
        const KtxRun run = w.run(args);
        EXPECT_EQ(run.code, 1) << what[0];
        EXPECT_EQ(run.err, NotRunning);
        EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(w.listText(), before);
    EXPECT_EQ(w.run({"templates", "list"}).out,
              "No\tOFF.TPL\tC:\\C5\\TEMPLATE\n\tWIZARD.TPL\tC:\\C5\\TEMPLATE\n");

    const KtxRun marked = w.run({"templates", "register", "OFF.TPL"});
    EXPECT_EQ(marked.code, 1);
    EXPECT_EQ(marked.err, "OFF.TPL is marked not to load: it is never registered\n");
    EXPECT_EQ(w.run({"templates", "register", "all", "extra"}).code, 2);
}

TEST(KtxTemplates, LongPathsStayWholeAndAmbiguousNamesAreRefused)
{
    TemplatesWorkspace w;
    const std::string deep = "D:\\" + std::string(200, 'd') + "\\TEMPLATES";
    w.writeList(deep + "\\SAME.TPL\r\nC:\\C5\\TEMPLATE\\SAME.TPL\r\n");
    EXPECT_EQ(w.run({"templates", "list"}).out,
              "\tSAME.TPL\tC:\\C5\\TEMPLATE\n\tSAME.TPL\t" + upper(deep) + "\n");
    const KtxRun ambiguous = w.run({"templates", "load", "SAME.TPL", "off"});
    EXPECT_EQ(ambiguous.code, 2);
    EXPECT_NE(ambiguous.err.find("listed in 2 directories"), std::string::npos);
    ASSERT_EQ(w.run({"templates", "load", deep + "\\same.tpl", "off"}).code, 0);
    EXPECT_NE(w.listText().find("\r\n!!" + upper(deep) + "\\SAME.TPL\r\n"), std::string::npos);
}

TEST(KtxTemplates, AListFileThatCannotBeReadIsNotWrittenOver)
{
    TemplatesWorkspace w;
    fs::create_directories(w.listFile() / "inside");
    const KtxRun scan = w.run({"templates", "scan"});
    EXPECT_EQ(scan.code, 1);
    EXPECT_NE(scan.err.find("could not be read"), std::string::npos) << scan.err;
    EXPECT_TRUE(fs::is_directory(w.listFile() / "inside"));
}

TEST(KtxTemplates, DeleteRegistryNeedsNoQuestionAndSaysWhatHappened)
{
    TemplatesWorkspace w;
    const fs::path templates = w.dir.path() / "CW" / "TEMPLATE";
    fs::create_directories(templates);
    fs::create_directories(w.dir.path() / "CW" / "LIBSRC"); // what makes it a Clarion directory
    w.clarionRoot = (w.dir.path() / "CW").string();
    std::ofstream(templates / "Registry.TRF") << "registry";
    const KtxRun deleted = w.run({"templates", "delete-registry"});
    EXPECT_EQ(deleted.code, 0) << deleted.err;
    EXPECT_EQ(deleted.err, "");
    EXPECT_FALSE(fs::exists(templates / "Registry.TRF"));

    const KtxRun missing = w.run({"templates", "delete-registry"});
    EXPECT_EQ(missing.code, 1);
    EXPECT_EQ(missing.err, "Delete Registry: No Registry file exists\n");

    fs::create_directories(templates / "Registry.TRF" / "kept");
    const KtxRun failed = w.run({"templates", "delete-registry"});
    EXPECT_EQ(failed.code, 1);
    EXPECT_EQ(
        failed.err.rfind("DELETE REGISTRY ERROR: An error occured while trying to delete the Registry.\n", 0),
        0u)
        << failed.err;
    EXPECT_TRUE(fs::exists(templates / "Registry.TRF" / "kept"));
}
