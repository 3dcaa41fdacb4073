#include "clipboard/QueueFile.h"
#include "clipboard/ClipboardQueue.h"
#include "runtime/testing/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

using namespace kestrix::clipboard;

TEST(QueueFile, LinesComeBackExactlyWithTheirEndsAndBlanks)
{
    kestrix::runtime::testing::TempDir dir;
    const std::vector<std::string> lines = {
        "MESSAGE('a')\r\n", "  x = 1   \r\n",     "", "no end", std::string(MaxLineLength, 'w'),
        "a\nb\r\n",         std::string("\0z", 2)};
    ASSERT_TRUE(saveQueueFile(QueueFileName, lines).ok());
    const QueueFileRead read = loadQueueFile(QueueFileName);
    EXPECT_EQ(read.problem, "");
    EXPECT_EQ(read.lines, lines);
    // An empty queue is kept as such, and no file is an empty queue.
    ASSERT_TRUE(saveQueueFile(QueueFileName, {}).ok());
    EXPECT_TRUE(loadQueueFile(QueueFileName).lines.empty());
    const QueueFileRead none = loadQueueFile("absent.DAT");
    EXPECT_TRUE(none.lines.empty());
    EXPECT_EQ(none.problem, "");
}

TEST(QueueFile, RandomQueuesSurviveTheRoundTrip)
{
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        std::vector<std::string> lines(random() % 12);
        for (std::string& line : lines) {
            line.resize(random() % (MaxLineLength + 1));
            for (char& c : line)
                c = static_cast<char>(random() % 256);
        }
        const QueueFileRead read = parseQueueFile(queueFileText(lines));
        ASSERT_EQ(read.problem, "");
        ASSERT_EQ(read.lines, lines);
    }
}

TEST(QueueFile, ADamagedFileKeepsTheLinesBeforeTheDamageAndSaysSo)
{
    const std::string good = queueFileText({"one\r\n", "two\r\n", "three"});
    struct Case
    {
        std::string bytes;
        std::size_t kept;
    };
    const Case cases[] = {
        {good.substr(0, good.size() - 3), 2},                                 // cut inside the last line
        {good.substr(0, good.size() - 1), 2},                                 // its closing line feed missing
        {queueFileText({"one"}) + "x\nabc\n", 1},                             // a count that is no number
        {queueFileText({"one"}) + "300\n" + std::string(300, 'a') + "\n", 1}, // longer than a queue line
        {queueFileText({"one"}) + "2\nabc\n", 1},                             // the count does not match
        {queueFileText({"one"}) + "-1\n\n", 1},
    };
    for (const Case& c : cases) {
        const QueueFileRead read = parseQueueFile(c.bytes);
        EXPECT_EQ(read.lines.size(), c.kept);
        EXPECT_EQ(read.problem, "The saved clipboard queue is damaged after line " + std::to_string(c.kept) +
                                    "; only the lines before it were read.");
    }
    const QueueFileRead foreign = parseQueueFile("hello\n");
    EXPECT_TRUE(foreign.lines.empty());
    EXPECT_NE(foreign.problem, "");
}

TEST(QueueFile, ARestoredQueueIsShownButLeavesTheClipboardAlone)
{
    kestrix::runtime::MemoryClipboard clip;
    clip.setText("the user's own text");
    ClipboardQueue queue(clip);
    int changes = 0;
    queue.subscribe([&] { ++changes; });
    queue.restore({"a\r\n", "b"});
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(queue.lines(), (std::vector<std::string>{"a\r\n", "b"}));
    EXPECT_EQ(clip.text(), "the user's own text");
    queue.reput();
    EXPECT_EQ(clip.text(), "a\r\nb");
}
