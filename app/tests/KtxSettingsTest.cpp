#include "app/tests/KtxRun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using kestrix::testing::KtxWorkspace;
using kestrix::testing::outputLines;

namespace {

std::string fileText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

} // namespace

TEST(KtxSettings, ExportAndImportCarryEverySettingToAnotherDataDirectory)
{
    KtxWorkspace from;
    ASSERT_EQ(from.run({"config", "set", "INDENT=6", "LOOK:FONT[6]=Courier New", "TABCHAR=~"}).code, 0);
    std::filesystem::create_directories(from.data);
    std::ofstream(std::filesystem::path(from.data) / "ktx5.INI")
        << "[ClipView]\r\nMaximize=No\r\nXPosit=40\r\nYPosit=50\r\nWidth=300\r\nHeight=200\r\n"
           "[Main]\r\nMakeInputShortcut=F7\r\n";
    std::ofstream(std::filesystem::path(from.data) / "KTX.INI")
        << "[EquateBrowse]\r\nVersionNumber=2\r\nListEquateColumnWidths=120,80\r\n";
    const auto exported = from.run({"config", "export", "carry.ini"});
    ASSERT_EQ(exported.code, 0) << exported.err;
    EXPECT_EQ(exported.out, "");
    const std::string text = fileText(from.dir.path() / "carry.ini");
    EXPECT_NE(text.find("[Configuration]\r\nCWPATH=\r\nINDENT=6\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("[Window:ClipView]\r\nMaximize=No\r\nXPosit=40\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("[List:EquateBrowse]\r\nVersionNumber=2\r\n"), std::string::npos) << text;

    KtxWorkspace to;
    std::filesystem::copy_file(from.dir.path() / "carry.ini", to.dir.path() / "carry.ini");
    const auto imported = to.run({"config", "import", "carry.ini"});
    ASSERT_EQ(imported.code, 0) << imported.err;
    EXPECT_EQ(to.run({"config", "show"}).out, from.run({"config", "show"}).out);
    EXPECT_EQ(to.run({"config", "export", "again.ini"}).code, 0);
    EXPECT_EQ(fileText(to.dir.path() / "again.ini"), text);
}

TEST(KtxSettings, ARefusedImportNamesTheFieldAndChangesNothing)
{
    KtxWorkspace ws;
    ASSERT_EQ(ws.run({"config", "set", "INDENT=2"}).code, 0);
    const std::string before = ws.run({"config", "show"}).out;
    ws.write("bad.ini", "[Configuration]\r\nINDENT=9\r\nNESTINDENT=11\r\n[Window:Main]\r\nXPosit=3\r\n");
    const auto refused = ws.run({"config", "import", "bad.ini"});
    EXPECT_EQ(refused.code, 2);
    EXPECT_EQ(outputLines(refused.err).front().rfind("[Configuration] NESTINDENT: ", 0), 0u) << refused.err;
    EXPECT_NE(refused.err.find("Nest Indent"), std::string::npos) << refused.err;
    EXPECT_EQ(outputLines(refused.err).back(), "Nothing was imported.");
    EXPECT_EQ(ws.run({"config", "show"}).out, before);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(ws.data) / "ktx5.INI"));

    const auto missing = ws.run({"config", "import", "absent.ini"});
    EXPECT_EQ(missing.code, 2);
    EXPECT_NE(missing.err.find("There is no settings file"), std::string::npos);
    const auto unwritable = ws.run({"config", "export", "no/such/folder/out.ini"});
    EXPECT_EQ(unwritable.code, 1);
    EXPECT_NE(unwritable.err.find("could not be written"), std::string::npos) << unwritable.err;
}
