#include "clipboard/ClipboardQueue.h"

#include <gtest/gtest.h>

using namespace kestrix::clipboard;
using kestrix::runtime::MemoryClipboard;

namespace {
std::vector<std::string> lines(std::initializer_list<const char*> l)
{
    return {l.begin(), l.end()};
}
} // namespace

TEST(ClipboardQueue, ChangeModeReplacesAndAddModeAppends)
{
    MemoryClipboard clip;
    ClipboardQueue queue(clip);
    auto first = lines({"MESSAGE('a', |", "'', ICON:None)"});
    queue.put(first, ClipMode::Change, true, false);
    EXPECT_EQ(first.size(), 2u); // the caller's lines are copied, not taken
    EXPECT_EQ(clip.text(), "MESSAGE('a', |\r\n'', ICON:None)");
    auto second = lines({"x = 1"});
    queue.put(second, ClipMode::Change, true, false);
    EXPECT_EQ(clip.text(), "x = 1");
    auto third = lines({"y = 2"});
    queue.put(third, ClipMode::Add, true, false);
    EXPECT_EQ(clip.text(), "x = 1\r\ny = 2");
    // Switching back to change mode keeps the queue until the next generation.
    queue.reput();
    EXPECT_EQ(clip.text(), "x = 1\r\ny = 2");
    auto fourth = lines({"z"});
    queue.put(fourth, ClipMode::Change, true, false);
    EXPECT_EQ(clip.text(), "z");
}

TEST(ClipboardQueue, ReputTakesNothingAndRebuildsOverOtherText)
{
    MemoryClipboard clip;
    ClipboardQueue queue(clip);
    auto code = lines({"a", "b"});
    queue.put(code, ClipMode::Add, true, false);
    clip.setText("copied by another program");
    EXPECT_EQ(queue.reput(), "a\r\nb");
    EXPECT_EQ(clip.text(), "a\r\nb");
    EXPECT_EQ(queue.lines().size(), 2u);
}

TEST(ClipboardQueue, TheSameLinesCanBePutTwice)
{
    MemoryClipboard clip;
    ClipboardQueue queue(clip);
    const std::vector<std::string> code = lines({"x = 1", "y = 2"});
    queue.put(code, ClipMode::Add, true, false);
    queue.put(code, ClipMode::Add, true, false);
    EXPECT_EQ(clip.text(), "x = 1\r\ny = 2\r\nx = 1\r\ny = 2");
    queue.put(std::span<const std::string>(code).subspan(1), ClipMode::Change, true, false);
    EXPECT_EQ(clip.text(), "y = 2");
}

TEST(ClipboardQueue, LinesWithoutAddedEndsAreTakenAsTheyAre)
{
    MemoryClipboard clip;
    ClipboardQueue queue(clip);
    auto code = lines({"one\r\n", "two  ", "\r\n"});
    queue.put(code, ClipMode::Change, false, false);
    EXPECT_EQ(clip.text(), "one\r\ntwo  "); // trailing blanks kept, final CR LF dropped
    EXPECT_EQ(queue.lines()[1], "two  ");
}

TEST(ClipboardQueue, EraseEmptiesQueueAndClipboard)
{
    MemoryClipboard clip;
    ClipboardQueue queue(clip);
    auto code = lines({"old"});
    queue.put(code, ClipMode::Add, true, false);
    queue.erase();
    EXPECT_EQ(clip.text(), "");
    auto fresh = lines({"new"});
    queue.put(fresh, ClipMode::Add, true, false);
    EXPECT_EQ(clip.text(), "new");
}

TEST(ClipboardQueue, TheTextEndsAtTheLastWholeLineThatFits)
{
    MemoryClipboard clip;
    ClipboardQueue queue(clip);
    std::vector<std::string> code(300, std::string(98, 'x')); // 100 with the line end
    queue.put(code, ClipMode::Change, true, false);
    EXPECT_EQ(clip.text().size(), 20000u - 2);
    EXPECT_EQ(queue.lines().size(), 300u); // the rest stays queued
    auto more = lines({"short"});
    queue.put(more, ClipMode::Add, true, false);
    EXPECT_EQ(clip.text().size(), 20000u - 2);
}

TEST(ClipboardQueue, OverlongLinesAreCutButKeepTheirLineEnd)
{
    MemoryClipboard clip;
    ClipboardQueue queue(clip);
    auto code = std::vector<std::string>{std::string(300, 'a'), "b"};
    queue.put(code, ClipMode::Change, true, false);
    EXPECT_EQ(queue.lines()[0].size(), 254u);
    EXPECT_EQ(clip.text(), std::string(252, 'a') + "\r\nb");
}

TEST(ClipboardQueue, ListenersHearEveryChangeUntilTheyUnsubscribe)
{
    MemoryClipboard clip;
    ClipboardQueue queue(clip);
    std::vector<std::size_t> seenA;
    std::vector<std::size_t> seenB;
    // A listener reads the queue as it is called: the lock is no longer held.
    const auto a = queue.subscribe([&] { seenA.push_back(queue.lines().size()); });
    ClipboardQueue::ListenerId b = 0;
    b = queue.subscribe([&] {
        seenB.push_back(queue.lines().size());
        if (seenB.size() == 2)
            queue.unsubscribe(b); // from inside its own call
    });
    std::vector<std::string> code{"one", "two"};
    queue.put(code, ClipMode::Add, true, false);
    queue.reput();
    queue.erase();
    queue.unsubscribe(a);
    std::vector<std::string> more{"three"};
    queue.put(more, ClipMode::Add, true, false);
    EXPECT_EQ(seenA, (std::vector<std::size_t>{2, 2, 0}));
    EXPECT_EQ(seenB, (std::vector<std::size_t>{2, 2}));
}

TEST(ClipboardQueue, TheSummaryCountsTheLinesOfTheText)
{
    MemoryClipboard clip;
    ClipboardQueue queue(clip);
    EXPECT_EQ(clipboardSummary(queue.text()), "The clipboard is empty");
    std::vector<std::string> one{"x = 1"};
    queue.put(one, ClipMode::Add, true, false);
    EXPECT_EQ(clipboardSummary(queue.text()), "1 line of code on the clipboard");
    // Lines that carry their own line ends count as the lines they hold.
    std::vector<std::string> own{"a\r\nb\r\n", "c"};
    queue.put(own, ClipMode::Add, false, false);
    EXPECT_EQ(queue.text(), "x = 1\r\na\r\nb\r\nc");
    EXPECT_EQ(clipboardSummary(queue.text()), "4 lines of code on the clipboard");
}

TEST(LowerCaseCode, OnlyOutsideStringLiterals)
{
    EXPECT_EQ(lowerCaseCode("IF ERRORCODE() THEN MESSAGE('Can''t Open')"),
              "if errorcode() then message('Can''t Open')");
    EXPECT_EQ(lowerCaseCode("BUTTON:Yes"), "button:yes");
    EXPECT_EQ(lowerCaseCode("X = 'ABC' ! COMMENT"), "x = 'ABC' ! comment");
    EXPECT_EQ(lowerCaseCode("   "), "   ");

    MemoryClipboard clip;
    ClipboardQueue queue(clip);
    auto code = lines({"MESSAGE('Can''t', 'TITLE', ICON:Hand)"});
    queue.put(code, ClipMode::Change, true, true);
    EXPECT_EQ(clip.text(), "message('Can''t', 'TITLE', icon:hand)");
}
