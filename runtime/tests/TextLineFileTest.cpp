#include "runtime/TextLineFile.h"
#include "runtime/WholeFile.h"
#include "runtime/testing/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace kestrix::runtime;
namespace rt = kestrix::runtime::testing;

TEST(TextLineFile, AFileOfManyReadsComesBackLineForLine)
{
    rt::TempDir dir;
    // Longer than any one read, with both line ends, blank lines and no line end at the close.
    std::string text;
    std::vector<std::string> expected;
    for (int i = 0; i < 3000; ++i) {
        std::string line =
            i % 7 == 0 ? std::string() : "Line" + std::to_string(i) + " EQUATE(" + std::to_string(i) + ")";
        text += line + (i % 2 ? "\r\n" : "\n");
        expected.push_back(line);
    }
    text += "last";
    expected.push_back("last");
    rt::writeTestFile("big.txt", text);
    const TextLines read = readTextLines("big.txt");
    EXPECT_TRUE(read.error.ok());
    EXPECT_EQ(read.bytes, text.size());
    EXPECT_EQ(read.lines, expected);
    EXPECT_TRUE(read.cutLines.empty());
}

TEST(TextLineFile, LongLinesAreCutAndNumberedEmptyAndMissingFilesAreTold)
{
    rt::TempDir dir;
    rt::writeTestFile("long.txt", "short\n" + std::string(TextLineLength + 5, 'x') + "\nend\n");
    const TextLines read = readTextLines("long.txt");
    ASSERT_EQ(read.lines.size(), 3u);
    EXPECT_EQ(read.lines[1], std::string(TextLineLength, 'x'));
    EXPECT_EQ(read.cutLines, std::vector<std::size_t>{2});

    rt::writeTestFile("empty.txt", "");
    const TextLines empty = readTextLines("empty.txt");
    EXPECT_TRUE(empty.error.ok());
    EXPECT_TRUE(empty.lines.empty());
    EXPECT_EQ(empty.bytes, 0u);

    EXPECT_EQ(readTextLines("none.txt").error.code, ErrorCode::FileNotFound);
    EXPECT_EQ(readTextLines(dir.path()).error.code, ErrorCode::AccessDenied);
}

TEST(WholeFile, EveryByteComesBackAsItIsOnDisk)
{
    rt::TempDir dir;
    // Every byte value, NUL and the line ends included, in a file larger than one read.
    std::string bytes;
    for (int i = 0; i < 20000; ++i)
        bytes += static_cast<char>((i * 7) % 256);
    std::ofstream("all.bin", std::ios::binary) << bytes;
    FileBytes read = readWholeFile("all.bin");
    EXPECT_TRUE(read.error.ok());
    EXPECT_EQ(read.bytes, bytes);

    std::ofstream("empty.bin", std::ios::binary).flush();
    read = readWholeFile("empty.bin");
    EXPECT_TRUE(read.error.ok());
    EXPECT_EQ(read.bytes, "");

    EXPECT_EQ(readWholeFile("missing.bin").error.code, ErrorCode::FileNotFound);
    std::filesystem::create_directory("folder");
    EXPECT_EQ(readWholeFile("folder").error.code, ErrorCode::AccessDenied);
}
