#include "utilities/CodeLibrary.h"

#include "data/DataFileNames.h"
#include "runtime/testing/ScriptedDialogs.h"
#include "runtime/testing/TempDir.h"
#include "utilities/CodeStoreRecord.h"

#include <gtest/gtest.h>

namespace kestrix::utilities {
namespace {

using runtime::testing::ScriptedDialogs;

class CodeLibraryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(snippetFile.createIfMissing().ok());
        ASSERT_TRUE(typeFile.createIfMissing().ok());
        ASSERT_TRUE(snippetFile.open().ok());
        ASSERT_TRUE(typeFile.open().ok());
    }

    std::vector<std::string> names(const std::string& type)
    {
        std::vector<std::string> out;
        for (const Snippet& s : library.snippets(type))
            out.push_back(s.name);
        return out;
    }

    runtime::testing::TempDir dir;
    runtime::KeyedFile snippetFile{data::FileName::CodeLibrary, snippetLayout()};
    runtime::KeyedFile typeFile{data::FileName::CodeTypes, codeTypeLayout()};
    ScriptedDialogs dialogs;
    CodeLibrary library{snippetFile, typeFile, dialogs};
};

TEST_F(CodeLibraryTest, BothTablesLiveInOneFile)
{
    ASSERT_TRUE(library.addType("SQL"));
    ASSERT_TRUE(library.addSnippet({"SQL", "Select", "SELECT *"}));
    EXPECT_EQ(snippetFile.path(), typeFile.path());
}

TEST_F(CodeLibraryTest, SnippetsOfATypeInNameOrderWithoutRegardToCase)
{
    ASSERT_TRUE(library.addType("Loops"));
    ASSERT_TRUE(library.addType("Files"));
    for (const char* name : {"while", "Each record", "ALL"})
        ASSERT_TRUE(library.addSnippet({"Loops", name, "LOOP"}));
    ASSERT_TRUE(library.addSnippet({"Files", "Open", "OPEN(x)"}));
    EXPECT_EQ(library.types(), (std::vector<std::string>{"Files", "Loops"}));
    EXPECT_EQ(names("loops"), (std::vector<std::string>{"ALL", "Each record", "while"}));
    EXPECT_EQ(names("Files"), (std::vector<std::string>{"Open"}));
    EXPECT_TRUE(names("Other").empty());
    EXPECT_TRUE(library.typeExists("FILES"));
    EXPECT_FALSE(library.typeExists("File"));
    ASSERT_TRUE(library.findSnippet("LOOPS", "each RECORD").has_value());
    EXPECT_FALSE(library.findSnippet("Files", "each record").has_value());
}

TEST_F(CodeLibraryTest, DeletingATypeDeletesItsSnippetsOnly)
{
    ASSERT_TRUE(library.addType("A"));
    ASSERT_TRUE(library.addType("AB"));
    ASSERT_TRUE(library.addSnippet({"A", "one", "1"}));
    ASSERT_TRUE(library.addSnippet({"A", "two", "2"}));
    ASSERT_TRUE(library.addSnippet({"AB", "three", "3"}));
    ASSERT_TRUE(library.deleteType("a"));
    EXPECT_EQ(library.types(), (std::vector<std::string>{"AB"}));
    EXPECT_EQ(library.allSnippets(), (std::vector<Snippet>{{"AB", "three", "3"}}));
}

TEST_F(CodeLibraryTest, ChangingATypeTakesItsSnippetsAlong)
{
    ASSERT_TRUE(library.addType("Old"));
    ASSERT_TRUE(library.addSnippet({"Old", "one", "1"}));
    ASSERT_TRUE(library.changeType("Old", "New"));
    EXPECT_EQ(library.types(), (std::vector<std::string>{"New"}));
    EXPECT_EQ(library.allSnippets(), (std::vector<Snippet>{{"New", "one", "1"}}));
}

TEST_F(CodeLibraryTest, SecondTypeOfTheSameNameIsRefusedByTheFile)
{
    ASSERT_TRUE(library.addType("SQL"));
    EXPECT_FALSE(library.addType("sql"));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(library.types(), (std::vector<std::string>{"SQL"}));
}

TEST_F(CodeLibraryTest, ChangedSnippetKeepsItsPlace)
{
    ASSERT_TRUE(library.addSnippet({"T", "a", "x"}));
    auto record = library.findSnippet("T", "a");
    ASSERT_TRUE(record);
    ASSERT_TRUE(library.changeSnippet(*record, {"T", "b", "y\r\nz"}));
    EXPECT_EQ(library.allSnippets(), (std::vector<Snippet>{{"T", "b", "y\r\nz"}}));
    ASSERT_TRUE(library.deleteSnippet(*record));
    EXPECT_TRUE(library.allSnippets().empty());
}

TEST(CodeLibraryChecks, ValuesThatDoNotFitAreRefusedByName)
{
    EXPECT_EQ(CodeLibrary::checkType("ABCDEFGHIJK"), "CDT:TYPE holds at most 10 characters, not 11.");
    EXPECT_EQ(CodeLibrary::checkType("   "), "The code type must not be blank.");
    EXPECT_FALSE(CodeLibrary::checkType("ABCDEFGHIJ"));
    EXPECT_EQ(CodeLibrary::checkSnippet({"T", std::string(41, 'n'), ""}),
              "CDS:NAME holds at most 40 characters, not 41.");
    EXPECT_EQ(CodeLibrary::checkSnippet({"T", "n", std::string(4001, 'c')}),
              "CDS:CODE holds at most 4000 characters, not 4001.");
    EXPECT_FALSE(CodeLibrary::checkSnippet({"T", "n", std::string(4000, 'c')}));
}

TEST(CodeLibraryCopy, SnippetWithoutTokensNeedsNoQuestions)
{
    const SnippetCopy copy = prepareCopy("a\r\nb");
    EXPECT_TRUE(copy.tokens.empty());
    EXPECT_EQ(copy.lines, (std::vector<std::string>{"a", "b"}));
}

} // namespace
} // namespace kestrix::utilities
