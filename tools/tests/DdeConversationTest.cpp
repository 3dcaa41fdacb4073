#include "app/tests/KtxRun.h"
#include "tools/tests/StandInSession.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>

namespace fs = std::filesystem;
using kestrix::testing::KtxRun;
using kestrix::testing::KtxWorkspace;
using kestrix::tools::testing::PrivateDesktop;
using kestrix::tools::testing::StandInIde;
using kestrix::tools::testing::windowsPath;

namespace {

const std::string SampleDictionary =
    windowsPath(std::string(KESTRIX_SOURCE_DIR) + "/samples/dictionaries/SHOP.TXD");
const std::string Dct = "C:\\APP\\SHOP.DCT";

const std::string NotRunningTemplates =
    "CW NOT RUNNING: Unable to make DDE Connection to CW.\nYou will have to start CW.\n\n"
    "!! Be sure to Exit the Pick Screen !!\n";
const std::string NotRunningImport =
    "CW NOT RUNNING: Unable to make DDE Connection to CW.\nYou will have to start CW.\n";

// DDEML's numbers for a refused command and for transactions that were not answered in time.
const std::string Refused = "16393 The other program did not carry out the command";
const std::string ExecuteTimedOut = "16389 The other program did not answer in time";
const std::string RequestTimedOut = "The other program did not answer in time";

const std::string AddOnTemplates = "D:\\ADDON\\TEMPLATE";

std::string upper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

class DdeConversation : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(desktop.created()) << "error " << GetLastError();
        // An installation as far as the path check looks; the stand-in reads no template.
        const fs::path root = workspace.dir.path() / "C5";
        fs::create_directories(root / "LibSrc");
        workspace.clarionRoot = root.string();
        templates = upper(workspace.clarionRoot) + "\\TEMPLATE";
    }

    // ktx with its DDE conversations on the test's desktop.
    KtxRun ktx(const std::vector<std::string>& args)
    {
        KtxRun run;
        run.code = -1;
        EXPECT_EQ(desktop.run([&] { run = workspace.run(args); }), 0u);
        return run;
    }

    // Three templates of the IDE's own directory and one of an add-on, in list order.
    void writeTemplateList() const
    {
        fs::create_directories(workspace.data);
        std::ofstream(fs::path(workspace.data) / "Registp4.TPM", std::ios::binary)
            << ">" << templates << "\r\nABC.TPL\r\nBAD.TPL\r\nWIZARD.TPL\r\n>" << AddOnTemplates
            << "\r\nNOTEPAD.TPL\r\n";
    }
    // How register prints an entry.
    std::string printed(const std::string& load, const std::string& file, const std::string& directory) const
    {
        return load + "\t" + file + "\t" + directory + "\n";
    }

    PrivateDesktop desktop;
    KtxWorkspace workspace;
    std::string templates;
};

// Shortens every DDE time-out for as long as it lives.
class ShortDdeTimeout final
{
public:
    explicit ShortDdeTimeout(const char* hundredths) { _putenv_s("KESTRIX_DDE_TIMEOUT", hundredths); }
    ~ShortDdeTimeout() { _putenv_s("KESTRIX_DDE_TIMEOUT", ""); }
};

std::vector<std::string> temporaryDictionaries(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().filename().string().rfind('~', 0) == 0)
            names.push_back(entry.path().filename().string());
    return names;
}

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

} // namespace

TEST_F(DdeConversation, ADictionaryExportedByTheIdeImportsLikeItsTextFile)
{
    StandInIde ide(desktop, {"--dictionary", SampleDictionary});
    ASSERT_TRUE(ide.ready()) << ide.failure();
    const KtxRun imported = ktx({"dict", "import", Dct});
    ASSERT_EQ(imported.code, 0) << imported.err;
    EXPECT_EQ(imported.err, "");
    EXPECT_TRUE(
        std::regex_match(imported.out, std::regex("imported 5 files, 1 aliases, [0-9]+ tree rows into "
                                                  "SHOP.dic in [0-9]+ ms\n")))
        << imported.out;
    const std::vector<std::string> heard = ide.stop();
    EXPECT_EQ(ide.exitCode(), 0u);
    ASSERT_EQ(heard.size(), 3u);
    EXPECT_EQ(heard[0], "initiate ClarionWin|");
    const std::regex exportCommand(R"(execute \[ExportDct\(C:\\APP\\SHOP\.DCT,(.*)\\~[0-9]+\.TXD,0\)\])");
    std::smatch parts;
    ASSERT_TRUE(std::regex_match(heard[1], parts, exportCommand)) << heard[1];
    // ktx imports where its stores lie.
    EXPECT_TRUE(fs::equivalent(fs::path(parts[1].str()), workspace.data)) << parts[1].str();
    EXPECT_EQ(heard[2], "terminate");
    EXPECT_EQ(temporaryDictionaries(workspace.data), std::vector<std::string>{})
        << "the exported text dictionary is removed after the import";

    const KtxRun info = ktx({"dict", "info", "SHOP.dic"});
    ASSERT_EQ(info.code, 0) << info.err;
    EXPECT_TRUE(contains(info.out, "IMPORTNAME=" + Dct + "\n")) << info.out;
    const KtxRun files = ktx({"dict", "files", "SHOP.dic"});
    const KtxRun tree = ktx({"dict", "tree", "SHOP.dic"});
    ASSERT_EQ(files.code, 0) << files.err;
    ASSERT_EQ(tree.code, 0) << tree.err;
    EXPECT_TRUE(contains(files.out, "CUSTOMER")) << files.out;

    // The same store, read straight from the text file: no conversation is opened for it.
    const KtxRun direct = ktx({"dict", "import", SampleDictionary});
    ASSERT_EQ(direct.code, 0) << direct.err;
    EXPECT_EQ(ktx({"dict", "files", "SHOP.dic"}).out, files.out);
    EXPECT_EQ(ktx({"dict", "tree", "SHOP.dic"}).out, tree.out);
}

TEST_F(DdeConversation, ARefusedExportLeavesTheOldStore)
{
    ASSERT_EQ(ktx({"dict", "import", SampleDictionary}).code, 0);
    const std::string before = ktx({"dict", "info", "SHOP.dic"}).out;
    ASSERT_TRUE(contains(before, "IMPORTNAME=" + SampleDictionary)) << before;
    // Without a dictionary to copy the stand-in refuses the export.
    StandInIde ide(desktop, {});
    ASSERT_TRUE(ide.ready()) << ide.failure();
    const KtxRun refused = ktx({"dict", "import", Dct});
    EXPECT_EQ(refused.code, 1);
    EXPECT_EQ(refused.err.rfind(
                  "DDE ERROR: An error occured trying to export a dictionary:\n\nDCT: " + Dct + "\nTXD: ", 0),
              0u)
        << refused.err;
    EXPECT_TRUE(contains(refused.err, "\n\nError: " + Refused + "\n")) << refused.err;
    EXPECT_EQ(ktx({"dict", "info", "SHOP.dic"}).out, before);
    EXPECT_EQ(temporaryDictionaries(workspace.data), std::vector<std::string>{});
}

TEST_F(DdeConversation, AnExportThatWritesNothingLeavesTheOldStore)
{
    ASSERT_EQ(ktx({"dict", "import", SampleDictionary}).code, 0);
    const std::string before = ktx({"dict", "info", "SHOP.dic"}).out;
    StandInIde ide(desktop, {"--write-nothing"});
    ASSERT_TRUE(ide.ready()) << ide.failure();
    const KtxRun missing = ktx({"dict", "import", Dct});
    EXPECT_EQ(missing.code, 1);
    EXPECT_TRUE(contains(missing.err, "OPEN FILE ERROR: An error occured opening the TXD file:"))
        << missing.err;
    EXPECT_EQ(ide.stop().size(), 3u);
    EXPECT_EQ(ktx({"dict", "info", "SHOP.dic"}).out, before);
}

TEST_F(DdeConversation, RegisteringMarksTheRefusedTemplateErrWithTheIdesOwnError)
{
    writeTemplateList();
    // Longer than the 300 characters the IDE's message is said to have: it arrives whole.
    const std::string ideText = "BAD.TPL line 12: unknown symbol %Missing" + std::string(400, '!');
    StandInIde ide(desktop, {"--fail", "bad.tpl", "--error-number", "147", "--error-text", ideText});
    ASSERT_TRUE(ide.ready()) << ide.failure();
    const KtxRun registered = ktx({"templates", "register", "all"});
    EXPECT_EQ(registered.code, 1);
    // The IDE's own wizard templates first, then the list order.
    EXPECT_EQ(registered.out,
              printed("Done", "WIZARD.TPL", templates) + printed("Done", "ABC.TPL", templates) +
                  printed("Err", "BAD.TPL", templates) + printed("Done", "NOTEPAD.TPL", AddOnTemplates));
    EXPECT_EQ(registered.err,
              "DDE ERROR: An error occured trying to Register Template\nTemplate: " + templates +
                  "\\BAD.TPL\n\nError: " + Refused + "\n\nDDE Error: 147 " + ideText + "\n");
    const auto sent = [](const std::string& path) {
        return "execute [RegisterTemplateChain(" + path + ",1)]";
    };
    EXPECT_EQ(ide.stop(), (std::vector<std::string>{
                              "initiate ClarionWin|",
                              sent(templates + "\\WIZARD.TPL"),
                              sent(templates + "\\ABC.TPL"),
                              sent(templates + "\\BAD.TPL"),
                              "request GetErrorNum",
                              "request GetErrorMsg",
                              sent(AddOnTemplates + "\\NOTEPAD.TPL"),
                              "terminate",
                          }));
}

TEST_F(DdeConversation, WithoutAnIdeBothCallersSayCwIsNotRunning)
{
    writeTemplateList();
    const KtxRun registered = ktx({"templates", "register", "all"});
    EXPECT_EQ(registered.code, 1);
    EXPECT_EQ(registered.err, NotRunningTemplates);
    EXPECT_EQ(registered.out, "");
    const KtxRun imported = ktx({"dict", "import", Dct});
    EXPECT_EQ(imported.code, 1);
    EXPECT_EQ(imported.err, NotRunningImport);
    EXPECT_EQ(ktx({"dict", "info", "SHOP.dic"}).code, 1);
}

TEST_F(DdeConversation, AnIdeThatNeverAnswersTimesOutAndTheRunGoesOn)
{
    writeTemplateList();
    const ShortDdeTimeout shortened("5");
    StandInIde ide(desktop, {"--silent"});
    ASSERT_TRUE(ide.ready()) << ide.failure();

    const KtxRun registered = ktx({"templates", "register", "all"});
    EXPECT_EQ(registered.code, 1);
    EXPECT_EQ(registered.out, printed("Err", "WIZARD.TPL", templates) + printed("Err", "ABC.TPL", templates) +
                                  printed("Err", "BAD.TPL", templates) +
                                  printed("Err", "NOTEPAD.TPL", AddOnTemplates));
    const std::string oneFailure =
        "\n\nError: " + ExecuteTimedOut + "\n\nDDE Error: ? (" + RequestTimedOut + ")\n";
    std::size_t failures = 0;
    for (std::size_t at = registered.err.find(oneFailure); at != std::string::npos;
         at = registered.err.find(oneFailure, at + 1))
        ++failures;
    EXPECT_EQ(failures, 4u) << registered.err;

    const KtxRun imported = ktx({"dict", "import", Dct});
    EXPECT_EQ(imported.code, 1);
    EXPECT_TRUE(contains(imported.err, "\n\nError: " + ExecuteTimedOut + "\n")) << imported.err;
    EXPECT_EQ(ktx({"dict", "info", "SHOP.dic"}).code, 1);

    const std::vector<std::string> heard = ide.stop();
    // Every template was sent although none was answered, and so was the export.
    std::size_t executes = 0;
    for (const std::string& line : heard)
        executes += line.rfind("execute [", 0) == 0 ? 1 : 0;
    EXPECT_EQ(executes, 5u);
    EXPECT_EQ(heard.back(), "terminate");
}
