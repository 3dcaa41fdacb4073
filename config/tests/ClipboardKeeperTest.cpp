#include "config/ClipboardKeeper.h"
#include "clipboard/QueueFile.h"
#include "config/ConfigRecord.h"
#include "config/testing/ScratchSession.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace kestrix;
using config::testing::ScratchSession;

namespace {
void keep(config::Session& session, bool on)
{
    session.configuration() = config::defaultConfig();
    session.configuration().setNumber(config::Cfg::FutBytes, on ? 1 : 0, config::FutByte::KeepClipboardQueue);
}
const std::vector<std::string> Code = {"MESSAGE('Hi')"};
} // namespace

TEST(ClipboardKeeper, AKeptQueueComesBackInTheNextRun)
{
    ScratchSession first;
    keep(first.session, true);
    {
        config::ClipboardKeeper keeper(first.session, clipboard::QueueFileName);
        first.session.putCode(Code);
        first.session.modes().clipAddMode = true;
        first.session.putCode(std::vector<std::string>{"  x = 1  "});
        EXPECT_EQ(keeper.lastError(), "");
    }
    const auto file = first.dir.path() / clipboard::QueueFileName;
    ASSERT_TRUE(std::filesystem::exists(file));

    // The next run, in the same data directory.
    runtime::MemoryClipboard clip;
    clip.setText("something else");
    config::Session next(first.dialogs, clip);
    keep(next, true);
    config::ClipboardKeeper keeper(next, clipboard::QueueFileName);
    EXPECT_EQ(keeper.restore(), "");
    EXPECT_EQ(next.clipboardQueue().lines(),
              (std::vector<std::string>{"MESSAGE('Hi')\r\n", "  x = 1  \r\n"}));
    EXPECT_EQ(clip.text(), "something else");
    // Erasing is kept as well.
    next.clipboardQueue().erase();
    EXPECT_TRUE(clipboard::loadQueueFile(file).lines.empty());
}

TEST(ClipboardKeeper, WithoutTheOptionNothingIsWrittenOrRead)
{
    ScratchSession s;
    ASSERT_TRUE(clipboard::saveQueueFile(clipboard::QueueFileName, {"old\r\n"}).ok());
    keep(s.session, false);
    config::ClipboardKeeper keeper(s.session, clipboard::QueueFileName);
    EXPECT_EQ(keeper.restore(), "");
    EXPECT_TRUE(s.session.clipboardQueue().lines().empty());
    s.session.putCode(Code);
    EXPECT_EQ(clipboard::loadQueueFile(clipboard::QueueFileName).lines, std::vector<std::string>{"old\r\n"});
    // Switching the option off removes what an earlier run kept; on again writes the queue now.
    keeper.configurationChanged();
    EXPECT_FALSE(std::filesystem::exists(clipboard::QueueFileName));
    keep(s.session, true);
    keeper.configurationChanged();
    EXPECT_EQ(clipboard::loadQueueFile(clipboard::QueueFileName).lines,
              std::vector<std::string>{"MESSAGE('Hi')\r\n"});
}

TEST(ClipboardKeeper, ADamagedFileGivesWhatItCanAndSaysSo)
{
    ScratchSession s;
    keep(s.session, true);
    std::ofstream(clipboard::QueueFileName, std::ios::binary)
        << clipboard::queueFileText({"a\r\n"}) << "9\nab";
    config::ClipboardKeeper keeper(s.session, clipboard::QueueFileName);
    EXPECT_EQ(keeper.restore(),
              "The saved clipboard queue is damaged after line 1; only the lines before it were read.");
    EXPECT_EQ(s.session.clipboardQueue().lines(), std::vector<std::string>{"a\r\n"});
}

TEST(ClipboardKeeper, AFailedWriteIsReported)
{
    ScratchSession s;
    keep(s.session, true);
    config::ClipboardKeeper keeper(s.session,
                                   s.dir.path() / "no" / "such" / "folder" / clipboard::QueueFileName);
    s.session.putCode(Code);
    EXPECT_EQ(keeper.lastError().rfind("The clipboard queue could not be kept: ", 0), 0u)
        << keeper.lastError();
}
