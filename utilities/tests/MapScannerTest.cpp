#include "utilities/MapScanner.h"

#include "runtime/testing/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace kestrix::utilities {
namespace {

namespace fs = std::filesystem;

void writeFile(const fs::path& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

MapLists scanText(const std::string& text, bool cla = false)
{
    MapLists lists;
    MapScanner scanner(cla);
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!scanner.scanLine(line, lists))
            break;
    }
    return lists;
}

std::vector<std::string> protos(const std::vector<MapRow>& rows)
{
    std::vector<std::string> out;
    for (const MapRow& r : rows)
        out.push_back(r.module + "|" + r.proto);
    return out;
}

using Rows = std::vector<std::string>;

TEST(MapScanner, ProcedureOfAModuleInShortFormOnTheMapTab)
{
    const MapLists lists = scanText("  PROGRAM\n"
                                    "  MAP\n"
                                    "    MODULE('MyMod.clw')\n"
                                    "MyProc PROCEDURE(LONG pId),BYTE\n"
                                    "Other PROCEDURE ! no parameters\n"
                                    "      Indented PROCEDURE(STRING s)\n"
                                    "    END\n"
                                    "  END\n");
    EXPECT_EQ(protos(lists.map), (Rows{"MyMod.clw|MyProc(LONG pId),BYTE", "MyMod.clw|Other",
                                       "MyMod.clw|Indented PROCEDURE(STRING s)"}));
    EXPECT_EQ(lists.map[0].loc, "MYP");
    EXPECT_TRUE(lists.standard.empty());
    EXPECT_TRUE(lists.lib.empty());
}

TEST(MapScanner, ModuleKindsChooseTheTab)
{
    const MapLists lists = scanText("  MAP\n"
                                    "    MODULE('Win32.lib')\n"
                                    "      GetTickCount(),LONG,PASCAL\n"
                                    "    END\n"
                                    "    MODULE('APP_SF.CLW')\n"
                                    "      StandardWarning(LONG),LONG\n"
                                    "    END\n"
                                    "    MODULE('APIS')\n"
                                    "      Beep(LONG,LONG),PASCAL\n"
                                    "    END\n"
                                    "    MODULE('APP001.CLW')\n"
                                    "      Main()\n"
                                    "      RIUpdate:Customer(BYTE=0),LONG\n"
                                    "      DctInit\n"
                                    "    END\n"
                                    "  END\n");
    EXPECT_EQ(protos(lists.lib),
              (Rows{"Win32.lib|GetTickCount(),LONG,PASCAL", "APIS|Beep(LONG,LONG),PASCAL"}));
    EXPECT_EQ(protos(lists.standard),
              (Rows{"APP_SF.CLW|StandardWarning(LONG),LONG", "APP001.CLW|RIUpdate:Customer(BYTE=0),LONG",
                    "APP001.CLW|DctInit"}));
    EXPECT_EQ(protos(lists.map), (Rows{"APP001.CLW|Main()"}));
}

TEST(MapScanner, ModuleKindRules)
{
    EXPECT_EQ(moduleKind("x.lib"), 3);
    EXPECT_EQ(moduleKind("NODOT"), 3);
    EXPECT_EQ(moduleKind("a_ru.clw"), 2);
    EXPECT_EQ(moduleKind("A_RD.CLW"), 2);
    EXPECT_EQ(moduleKind("APP000.CLW"), 2);
    EXPECT_EQ(moduleKind("DETCORE.CLW"), 1); // only the bare name counts, and that has no '.'
    EXPECT_EQ(moduleKind("APP001.CLW"), 1);
}

TEST(MapScanner, EndOfTheMapClosesItForGood)
{
    const MapLists lists = scanText("  MAP\n"
                                    "    MODULE('A.CLW')\n"
                                    "      InA()\n"
                                    "    .\n"
                                    "    MODULE('B.CLW')\n"
                                    "      InB()\n"
                                    "    END\n"
                                    "  END\n"
                                    "    MODULE('C.CLW')\n"
                                    "      InC()\n");
    EXPECT_EQ(protos(lists.map), (Rows{"A.CLW|InA()", "B.CLW|InB()"}));
}

TEST(MapScanner, SkippedLinesAndFiles)
{
    const MapLists lists = scanText("  INCLUDE('EQUATES.CLW'),ONCE\n"
                                    "!KTX INCLUDE 'extra.inc' ! Extra declarations\n"
                                    "  MAP\n"
                                    "  ! a comment\n"
                                    "  * star line\n"
                                    "  OMIT('***')\n"
                                    "  COMPILE('***')\n"
                                    "     Shown()\n"
                                    "  END\n");
    EXPECT_EQ(protos(lists.files),
              (Rows{"EQUATES.CLW|INCLUDE('EQUATES.CLW'),ONCE", "extra.inc| Extra declarations"}));
    EXPECT_EQ(protos(lists.map), (Rows{"|Shown()"}));
}

TEST(MapScanner, IndentedCodeEndsTheScan)
{
    EXPECT_FALSE(scanText("  CODE\n  MAP\n   P()\n  END\n").hasProcedures());
    // CODE in column 1 is a label, not the statement.
    EXPECT_TRUE(scanText("CODE\n  MAP\n   P()\n  END\n").hasProcedures());
}

TEST(MapScanner, ClaSourceKeepsPrototypesAndNamesModules)
{
    const MapLists lists = scanText("  MAP\n"
                                    "    MODULE('CUST')\n"
                                    "Browse PROCEDURE\n"
                                    "    END\n"
                                    "  END\n",
                                    true);
    EXPECT_EQ(protos(lists.map), (Rows{"CUST.CLA|Browse PROCEDURE"}));
}

TEST(MapScanner, ShortPrototypeForms)
{
    EXPECT_EQ(shortPrototype("A PROCEDURE(LONG x),BYTE"), "A(LONG x),BYTE");
    EXPECT_EQ(shortPrototype("A   procedure ! comment"), "A");
    EXPECT_EQ(shortPrototype("A PROCEDURE"), "A");
    EXPECT_EQ(shortPrototype("A FUNCTION(LONG)"), "A FUNCTION(LONG)");
    EXPECT_EQ(shortPrototype("A PROCEDURE,PRIVATE"), "A PROCEDURE,PRIVATE");
    EXPECT_EQ(shortPrototype("Alone"), "Alone");
}

TEST(MapScanner, MapThatNeverEndsKeepsWhatItRead)
{
    const MapLists lists = scanText("  MAP\n  MODULE('A.CLW')\n   P1()\n   P2()\n");
    EXPECT_EQ(protos(lists.map), (Rows{"A.CLW|P1()", "A.CLW|P2()"}));
}

TEST(MapScanner, RowMenusPerList)
{
    const MapRow row{"MAI", "APP001.CLW", "Main"};
    const auto texts = [&](MapList list) {
        std::vector<std::string> out;
        for (const runtime::MenuItem& item : mapRowMenu(list, row, "C:\\Src\\app.clw"))
            out.push_back(item.text);
        return out;
    };
    EXPECT_EQ(texts(MapList::Map), (Rows{"Copy Prototype to Clipboard (Double-Click)",
                                         "Load Editor with Module APP001.CLW", "Update Map of app.clw"}));
    EXPECT_EQ(texts(MapList::Lib),
              (Rows{"Copy Prototype to Clipboard (Double-Click)", "Update Map of app.clw"}));
    EXPECT_EQ(texts(MapList::Files), (Rows{"Copy Description to Clipboard", "Load Editor with APP001.CLW",
                                           "Update Map of app.clw"}));
    EXPECT_EQ(editorTarget(row, "C:\\Src\\app.clw"), "C:\\Src\\APP001.CLW");
}

class MapSourceTest : public ::testing::Test
{
protected:
    runtime::testing::TempDir dir;
};

TEST_F(MapSourceTest, ModuleIncludeFilesAreScannedAndFilesListed)
{
    writeFile("invoice.clw",
              "  PROGRAM\n  MAP\n    MODULE('INVOI001.CLW')\nMain PROCEDURE\n    END\n  END\n  CODE\n");
    writeFile("INVOI002.INC", "  MODULE('INVOI002.CLW')\nBrowseItems PROCEDURE\n  END\nStray()\n");
    writeFile("invoi003.inc", "   MODULE('WINAPI.LIB')\n     Sleep(LONG),PASCAL\n   END\n");
    writeFile("INVOI04.INC", "  MODULE('X.CLW')\nNotMine()\n  END\n");
    const MapScan scan = scanMapSource("invoice.clw");
    ASSERT_FALSE(scan.failure);
    EXPECT_EQ(protos(scan.lists.map), (Rows{"INVOI001.CLW|Main", "INVOI002.CLW|BrowseItems"}));
    EXPECT_EQ(protos(scan.lists.lib), (Rows{"WINAPI.LIB|Sleep(LONG),PASCAL"}));
    EXPECT_EQ(protos(scan.lists.files),
              (Rows{"invoice.clw| PROGRAM", "invoice.CLW| Program", "invoice.EXP| Exports File",
                    "invoice.MAP| Link Map", "invoice.LNK| Linker Files", "invoice.SHP| Ship List"}));
    std::vector<MapRow> sorted = scan.lists.files;
    sortMapRows(sorted);
    EXPECT_EQ(sorted[0].module, "invoice.EXP");
    EXPECT_EQ(sorted[3].proto, " PROGRAM");
}

TEST_F(MapSourceTest, FailuresCloseTheViewer)
{
    MapScan missing = scanMapSource("nothere.clw");
    ASSERT_TRUE(missing.failure);
    EXPECT_EQ(missing.failure->caption, "OPEN FILE ERROR");
    EXPECT_EQ(missing.failure->text.rfind("An error occured opening the import file:||Error: ", 0), 0u);
    EXPECT_NE(missing.failure->text.find("|File: nothere.clw"), std::string::npos);

    writeFile("nomap.clw", "  PROGRAM\n  CODE\n  MESSAGE('x')\n");
    ASSERT_TRUE(scanMapSource("nomap.clw").failure);
    EXPECT_EQ(scanMapSource("nomap.clw").failure->text, "No Map Found");

    std::string garbage;
    for (int i = 0; i < 5000; ++i)
        garbage += static_cast<char>((i * 7919) % 256);
    writeFile("garbage.clw", garbage);
    ASSERT_TRUE(scanMapSource("garbage.clw").failure);
    EXPECT_EQ(scanMapSource("garbage.clw").failure->text, "No Map Found");
}

TEST_F(MapSourceTest, LongLinesAndNamesAreNotCutSilently)
{
    const std::string module(40, 'M');
    const std::string params(600, 'x');
    writeFile("long.clw",
              "  MAP\n    MODULE('" + module + ".CLW')\nP PROCEDURE(" + params + ")\n    END\n  END\n");
    const MapScan scan = scanMapSource("long.clw");
    ASSERT_FALSE(scan.failure);
    ASSERT_EQ(scan.lists.map.size(), 1u);
    EXPECT_EQ(scan.lists.map[0].module, module + ".CLW");
    EXPECT_EQ(scan.lists.map[0].proto.size(), 502u);
    ASSERT_EQ(scan.notes.size(), 1u);
    EXPECT_EQ(scan.notes[0],
              "Line 3 of long.clw is longer than 512 characters: only its first 512 were read.");
}

TEST_F(MapSourceTest, ExportLayout)
{
    writeFile("shop.clw", "  MAP\n"
                          "    MODULE('SHOP001.CLW')\n"
                          "Zeta PROCEDURE\n"
                          "Alpha PROCEDURE(LONG)\n"
                          "    END\n"
                          "    MODULE('K.LIB')\n"
                          "      Ext()\n"
                          "    END\n"
                          "    MODULE('SHOP_SF.CLW')\n"
                          "      Std()\n"
                          "    END\n"
                          "  END\n");
    const MapScan scan = scanMapSource("shop.clw");
    ASSERT_FALSE(scan.failure);
    const MapExport result = exportMap("shop.clw", scan.lists);
    ASSERT_TRUE(result.written);
    EXPECT_EQ(result.fileName, "shop.KTX");
    EXPECT_EQ(result.message.caption, "Map Export");
    EXPECT_EQ(result.message.text, "Map exported to text file||shop.KTX");
    const std::string expected = "Map Info for: SHOP.CLW\r\n" + std::string(70, '-') +
                                 "\r\n"
                                 "\r\n"
                                 "Files Included:\r\n"
                                 "---------------\r\n"
                                 "shop.clw       PROGRAM\r\n"
                                 "shop.CLW       Program\r\n"
                                 "shop.EXP       Exports File\r\n"
                                 "shop.MAP       Link Map\r\n"
                                 "shop.LNK       Linker Files\r\n"
                                 "shop.SHP       Ship List\r\n"
                                 "\r\n"
                                 "Map Procedures Sorted By Name:\r\n" +
                                 std::string(30, '-') +
                                 "\r\n"
                                 "SHOP001.CLW   Alpha(LONG)\r\n"
                                 "SHOP001.CLW   Zeta\r\n"
                                 "\r\n"
                                 "LIB Procedures Imported:\r\n" +
                                 std::string(24, '-') +
                                 "\r\n"
                                 "K.LIB         Ext()\r\n"
                                 "\r\n"
                                 "Standard and RI Procedures Sorted By Name:\r\n" +
                                 std::string(42, '-') +
                                 "\r\n"
                                 "SHOP_SF.CLW   Std()\r\n";
    EXPECT_EQ(readFile("shop.KTX"), expected);
}

TEST_F(MapSourceTest, ExportIntoAFolderThatCannotBeWritten)
{
    fs::create_directory("gone");
    writeFile("gone/a.clw", "  MAP\n  P()\n  END\n");
    const MapScan scan = scanMapSource("gone/a.clw");
    fs::remove_all("gone");
    const MapExport result = exportMap("gone/a.clw", scan.lists);
    EXPECT_FALSE(result.written);
    EXPECT_EQ(result.message.caption, "CREATE FILE ERROR");
    EXPECT_EQ(result.message.text.rfind("An error occured creating export file:||Error: ", 0), 0u);
    EXPECT_NE(result.message.text.find("|File: gone/a.KTX"), std::string::npos);
}

} // namespace
} // namespace kestrix::utilities
