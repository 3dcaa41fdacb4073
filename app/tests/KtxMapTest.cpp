#include "KtxRun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace kestrix::testing;

namespace {

TEST(KtxMap, ListsTheFourTabsInOrder)
{
    KtxWorkspace w;
    w.write("app.clw", "  PROGRAM\n"
                       "  INCLUDE('KEYCODES.CLW')\n"
                       "  MAP\n"
                       "    MODULE('APP001.CLW')\n"
                       "Main PROCEDURE\n"
                       "    END\n"
                       "    MODULE('APP_RU.CLW')\n"
                       "      RIDelete:Orders(),LONG\n"
                       "    END\n"
                       "    MODULE('USER32.LIB')\n"
                       "      MessageBeep(LONG),PASCAL\n"
                       "    END\n"
                       "  END\n"
                       "  CODE\n");
    const KtxRun run = w.run({"map", "app.clw"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "map\tAPP001.CLW\tMain\n"
                       "std\tAPP_RU.CLW\tRIDelete:Orders(),LONG\n"
                       "lib\tUSER32.LIB\tMessageBeep(LONG),PASCAL\n"
                       "files\tKEYCODES.CLW\tINCLUDE('KEYCODES.CLW')\n"
                       "files\tapp.clw\t PROGRAM\n"
                       "files\tapp.CLW\t Program\n"
                       "files\tapp.EXP\t Exports File\n"
                       "files\tapp.MAP\t Link Map\n"
                       "files\tapp.LNK\t Linker Files\n"
                       "files\tapp.SHP\t Ship List\n");

    const KtxRun exported = w.run({"map", "app.clw", "--export"});
    ASSERT_EQ(exported.code, 0) << exported.err;
    EXPECT_EQ(std::filesystem::path(exported.out.substr(0, exported.out.size() - 1)).filename(), "app.KTX");
    EXPECT_TRUE(std::filesystem::exists(w.dir.path() / "app.KTX"));
}

TEST(KtxMap, FailuresOnStandardError)
{
    KtxWorkspace w;
    w.write("none.clw", "  PROGRAM\n  CODE\n");
    const KtxRun none = w.run({"map", "none.clw"});
    EXPECT_EQ(none.code, 1);
    EXPECT_EQ(none.out, "");
    EXPECT_EQ(none.err, "NO MAP FOUND: No Map Found\n");
    const KtxRun missing = w.run({"map", "missing.clw"});
    EXPECT_EQ(missing.code, 1);
    EXPECT_EQ(missing.err.rfind("OPEN FILE ERROR: An error occured opening the import file:", 0), 0u);
}

} // namespace
