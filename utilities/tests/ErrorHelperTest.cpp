#include "utilities/ErrorHelper.h"

#include <gtest/gtest.h>

using namespace kestrix::utilities;

namespace {

using Lines = std::vector<std::string>;

std::vector<ErrorEntry> sampleErrors()
{
    return {{90, "FileSystemErr", "File System Error", "The driver's own error."},
            {2, "NoFileErr", "File Not Found", "The file is not there."},
            {35, "NoRecErr", "Record Not Found", ""},
            {32, "IsLockedErr", "File Is Already Locked", ""},
            {601, "DdeChannelErr", "A Description Longer Than The Field Holds", ""}};
}

std::vector<ErrorCategory> sampleCategories()
{
    return {{"File Access", 1, false, {35, 2, 999, 90}}, {"Locking", 2, true, {32}}, {"Empty", 1, false, {}}};
}

} // namespace

TEST(ErrorCase, GeneratedBlocks)
{
    const std::vector<ErrorEntry> errors = sampleErrors();
    // Errors 2 and 90 with commented ends: comments at column 40, the four FILEERRORCODE() lines.
    EXPECT_EQ(errorCaseCode({errors[1], errors[0]}, {}, true),
              (Lines{"CASE ERRORCODE()", "OF NoFileErr                           !2 File Not Found",
                     "OF FileSystemErr                       !90 File System Error",
                     "   CASE FILEERRORCODE()", "   ELSE",
                     "      STOP('File Error: '&FILEERRORCODE()&'-'&CLIP(FILEERROR()) &|\r\n"
                     "           '<13,10>'&CLIP(ERRORFILE()))",
                     "   END !CASE FileError", "END !CASE Error"}));
    EXPECT_EQ(errorCaseCode({}, {}, false), (Lines{"CASE ERRORCODE()", "END"}));

    // The comment is cut at 41 characters.
    EXPECT_EQ(errorCaseCode({errors[4]}, {}, false)[1],
              "OF DdeChannelErr                       !601 A Description Longer Than The Field");

    ErrorCaseOptions all{true, true, true, true};
    EXPECT_EQ(errorCaseCode({}, all, false),
              (Lines{"CASE ERRORCODE()", "OF NoError                             !0 No Error Occured", "ELSE",
                     "   STOP('Error: '&ERRORCODE()&'-'&CLIP(ERROR()) &|\r\n"
                     "        '<13,10>'&CLIP(ERRORFILE()) &|\r\n"
                     "        '<13,10>'&FILEERRORCODE()&'-'&CLIP(FILEERROR()))",
                     "END"}));
    ErrorCaseOptions fileErrorOnly{false, true, false, true};
    EXPECT_EQ(errorCaseCode({}, fileErrorOnly, true)[2],
              "   STOP('Error: '&ERRORCODE()&'-'&CLIP(ERROR()) &|\r\n"
              "        '<13,10>'&FILEERRORCODE()&'-'&CLIP(FILEERROR()))");
    EXPECT_EQ(errorCaseCode({}, {false, true, false, false}, true)[2],
              "   STOP('Error: '&ERRORCODE()&'-'&CLIP(ERROR()))");
}

TEST(ErrorHelper, CategoriesListTheirKnownErrorsAndAllListsEvery)
{
    ErrorHelper helper(sampleErrors(), sampleCategories());
    ASSERT_EQ(helper.categoryTree().size(), 4u);
    EXPECT_EQ(helper.categoryTree()[1].name, "Locking");
    EXPECT_TRUE(helper.categoryTree()[1].contracted);
    EXPECT_EQ(helper.categoryTree()[1].level, 2);
    EXPECT_EQ(helper.categoryTree()[3].name, "All");
    EXPECT_EQ(helper.categoryTree()[3].level, 1);

    // The first category is chosen at the start; its unknown code 999 is skipped, its order kept.
    EXPECT_EQ(helper.heading(), "Errors for: File Access");
    std::vector<int> codes;
    for (const ErrorEntry& e : helper.listed())
        codes.push_back(e.code);
    EXPECT_EQ(codes, (std::vector<int>{35, 2, 90}));

    helper.chooseCategory(2);
    EXPECT_EQ(helper.heading(), "Errors for: Empty");
    EXPECT_TRUE(helper.listed().empty());

    helper.chooseCategory(3);
    EXPECT_EQ(helper.heading(), "Errors for: All");
    codes.clear();
    for (const ErrorEntry& e : helper.listed())
        codes.push_back(e.code);
    EXPECT_EQ(codes, (std::vector<int>{2, 32, 35, 90, 601}));
    EXPECT_EQ(helper.notes(2), "The file is not there.");
    EXPECT_EQ(helper.notes(7), "");
}

TEST(ErrorHelper, ChosenErrorsStayAscendingWithoutDuplicates)
{
    ErrorHelper helper(sampleErrors(), sampleCategories());
    EXPECT_TRUE(helper.add(90));
    EXPECT_TRUE(helper.add(2));
    EXPECT_TRUE(helper.add(90));
    EXPECT_FALSE(helper.add(1234));
    helper.addAllListed(); // File Access: 35, 2, 90
    std::vector<int> codes;
    for (const ErrorEntry& e : helper.chosen())
        codes.push_back(e.code);
    EXPECT_EQ(codes, (std::vector<int>{2, 35, 90}));
    helper.remove(35);
    helper.remove(35);
    EXPECT_EQ(helper.chosen().size(), 2u);
    EXPECT_EQ(helper.generate(true)[1], "OF NoFileErr                           !2 File Not Found");
    helper.removeAll();
    EXPECT_EQ(helper.generate(true), (Lines{"CASE ERRORCODE()", "END !CASE Error"}));
}
