#include "utilities/ErrorList.h"
#include "data/DataFileNames.h"
#include "runtime/TextLineFile.h"
#include "runtime/testing/RequireOk.h"
#include "runtime/testing/ScriptedDialogs.h"
#include "runtime/testing/TempDir.h"
#include "utilities/ErrorListFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

using namespace kestrix;
using namespace kestrix::utilities;
namespace fs = std::filesystem;

namespace {

const fs::path ShippedSource = fs::path(KESTRIX_SOURCE_DIR) / "resources" / "data" / ErrorSourceName;

std::vector<std::string> shippedLines()
{
    const runtime::TextLines text = runtime::readTextLines(ShippedSource);
    runtime::testing::requireOk(text.error, "reading the shipped error list");
    EXPECT_TRUE(text.cutLines.empty());
    return text.lines;
}

void writeFile(const fs::path& path, const std::string& content)
{
    std::ofstream(path, std::ios::binary) << content;
}

} // namespace

TEST(ErrorSource, LinesThatCannotBeTakenAreNamedAndTheRestIsRead)
{
    const ErrorSource source = parseErrorSource({
        "; comment",
        "ERROR=2|NoFileErr|File Not Found|The file is not there.",
        "ERROR=two|X|Y|Z",
        "ERROR=3|NoPathErr|A description far longer than thirty-three|",
        "ERROR=2|Again|Twice|",
        "ERROR=4|OnlyThree|Fields",
        "CATEGORY=File Access|1|0|2, 3",
        "CATEGORY=A name that is too long|1|0|2",
        "CATEGORY=Locks|1|2|",
        "category=Empty|2|1|",
        "Something else",
    });
    ASSERT_EQ(source.errors.size(), 1u);
    EXPECT_EQ(source.errors[0].notes, "The file is not there.");
    ASSERT_EQ(source.categories.size(), 2u);
    EXPECT_EQ(source.categories[0].errors, (std::vector<int>{2, 3}));
    EXPECT_TRUE(source.categories[1].contracted);
    EXPECT_EQ(source.categories[1].level, 2);
    EXPECT_EQ(source.problems, (std::vector<std::string>{
                                   "line 3: the code two is not a number of ERR:CODE",
                                   "line 4: ERR:DESCRIPTION holds at most 33 characters, not 42.",
                                   "line 5: the code 2 is listed twice",
                                   "line 6: expected code|equate|description|note",
                                   "line 8: ERCAT:NAME holds at most 16 characters, not 23.",
                                   "line 9: the contracted flag 2 is not 0 or 1",
                                   "line 11: neither ERROR= nor CATEGORY=",
                               }));
    std::string fiftyOne;
    for (int i = 1; i <= 51; ++i)
        fiftyOne += (i > 1 ? "," : "") + std::to_string(i);
    EXPECT_EQ(parseErrorSource({"CATEGORY=Big|1|0|" + fiftyOne}).problems,
              std::vector<std::string>{"line 1: ERCAT:ERRORS holds at most 50 codes, not 51."});
}

TEST(ErrorSource, TheShippedListIsWhole)
{
    const ErrorSource source = parseErrorSource(shippedLines());
    EXPECT_TRUE(source.problems.empty()) << source.problems.front();
    EXPECT_GE(source.errors.size(), 60u);
    std::set<int> codes;
    for (const ErrorEntry& e : source.errors) {
        codes.insert(e.code);
        EXPECT_FALSE(e.description.empty()) << e.code;
        EXPECT_FALSE(e.notes.empty()) << e.code;
    }
    std::set<int> categorised;
    bool someContracted = false;
    for (const ErrorCategory& c : source.categories) {
        someContracted = someContracted || c.contracted;
        EXPECT_FALSE(c.errors.empty()) << c.name;
        for (const int code : c.errors) {
            EXPECT_TRUE(codes.count(code)) << c.name << " lists " << code;
            categorised.insert(code);
        }
    }
    EXPECT_TRUE(someContracted);
    EXPECT_EQ(categorised, codes); // every error is in some category
}

TEST(ErrorListFiles, BuiltFromTheSourceWhenMissingAndReadBack)
{
    runtime::testing::TempDir dir;
    fs::copy_file(ShippedSource, ErrorSourceName);
    runtime::testing::ScriptedDialogs dialogs;
    data::DataFileRegistry registry(dialogs);
    const ErrorSource source = parseErrorSource(shippedLines());
    {
        ErrorListFiles files(registry, dialogs);
        ASSERT_TRUE(files.ok());
        EXPECT_TRUE(dialogs.shown.empty());
        ASSERT_EQ(files.errors().size(), source.errors.size());
        ASSERT_EQ(files.categories().size(), source.categories.size());
        for (std::size_t i = 0; i < source.categories.size(); ++i) {
            EXPECT_EQ(files.categories()[i].name, source.categories[i].name);
            EXPECT_EQ(files.categories()[i].errors, source.categories[i].errors);
            EXPECT_EQ(files.categories()[i].contracted, source.categories[i].contracted);
        }
        EXPECT_TRUE(std::is_sorted(files.errors().begin(), files.errors().end(),
                                   [](const ErrorEntry& a, const ErrorEntry& b) { return a.code < b.code; }));
        EXPECT_EQ(registry.useCount(data::FileName::Errors), 1);
    }
    EXPECT_EQ(registry.useCount(data::FileName::Errors), 0);

    // A file emptied (a build cut short) is filled again.
    {
        runtime::KeyedFile errors(data::FileName::Errors, errorLayout());
        runtime::testing::requireOk(errors.open(), "errors.open()");
        runtime::testing::requireOk(errors.empty(), "errors.empty()");
    }
    ErrorListFiles again(registry, dialogs);
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(again.errors().size(), source.errors.size());
    EXPECT_EQ(again.categories().size(), source.categories.size());
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST(ErrorListFiles, AFileOfAnotherLayoutIsRebuiltOnTheUsersYes)
{
    runtime::testing::TempDir dir;
    fs::copy_file(ShippedSource, ErrorSourceName);
    const auto otherLayout = std::make_shared<runtime::RecordLayout>("ERR");
    otherLayout->addString("CODE", 5);
    {
        runtime::KeyedFile other(data::FileName::Errors, otherLayout);
        runtime::testing::requireOk(other.create(), "other.create()");
    }
    runtime::testing::ScriptedDialogs dialogs;
    data::DataFileRegistry registry(dialogs);
    dialogs.answers = {runtime::Button::No};
    {
        ErrorListFiles refused(registry, dialogs);
        EXPECT_FALSE(refused.ok());
        EXPECT_EQ(dialogs.captions(), (std::vector<std::string>{"Damaged File", "File Access Error"}));
        EXPECT_TRUE(fs::exists("Errors5.tps"));
    }
    dialogs.shown.clear();
    dialogs.answers = {runtime::Button::Yes};
    ErrorListFiles rebuilt(registry, dialogs);
    ASSERT_TRUE(rebuilt.ok());
    EXPECT_EQ(dialogs.captions(), std::vector<std::string>{"Damaged File"});
    EXPECT_NE(dialogs.shown[0].text.find("ERRORS5.TXT"), std::string::npos);
    EXPECT_TRUE(fs::exists("Errors5.tps.damaged"));
    EXPECT_FALSE(rebuilt.errors().empty());
}

TEST(ErrorListFiles, ADamagedFileIsSetAsideAndRebuilt)
{
    runtime::testing::TempDir dir;
    fs::copy_file(ShippedSource, ErrorSourceName);
    writeFile("Errors5.tps", std::string(4096, 'x'));
    runtime::testing::ScriptedDialogs dialogs;
    data::DataFileRegistry registry(dialogs);
    dialogs.answers = {runtime::Button::Yes};
    ErrorListFiles files(registry, dialogs);
    ASSERT_TRUE(files.ok());
    EXPECT_EQ(dialogs.captions(), std::vector<std::string>{"Damaged File"});
    EXPECT_FALSE(files.categories().empty());
}

TEST(ErrorListFiles, ASourceThatIsMissingOrReadInPartIsReported)
{
    runtime::testing::TempDir dir;
    runtime::testing::ScriptedDialogs dialogs;
    data::DataFileRegistry registry(dialogs);
    {
        ErrorListFiles files(registry, dialogs);
        EXPECT_FALSE(files.ok());
        EXPECT_EQ(dialogs.captions(), std::vector<std::string>{"FILE OPEN ERROR"});
    }
    dialogs.shown.clear();
    writeFile(ErrorSourceName, "ERROR=2|NoFileErr|File Not Found|Note\r\nERROR=x|Bad||\r\n"
                               "CATEGORY=Files|1|0|2\r\n");
    ErrorListFiles files(registry, dialogs);
    ASSERT_TRUE(files.ok());
    ASSERT_EQ(dialogs.captions(), std::vector<std::string>{"FILE LOAD ERROR"});
    EXPECT_EQ(
        dialogs.shown[0].text,
        "ERRORS5.TXT was read in part: 1 line was left out.|line 2: the code x is not a number of ERR:CODE");
    EXPECT_EQ(files.errors().size(), 1u);
}
