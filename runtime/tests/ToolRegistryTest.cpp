#include "runtime/ToolRegistry.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace kestrix::runtime;

namespace {
struct FakeTool : ToolInstance
{
    std::vector<ToolEvent> events;
    ToolRegistry* registry = nullptr;
    std::string name;
    void deliver(ToolEvent e) override
    {
        events.push_back(e);
        if (e == ToolEvent::Close && registry)
            registry->closed(name, this); // closes while the broadcast runs
    }
};
} // namespace

TEST(ToolRegistry, SecondStartActivatesTheRunningCopy)
{
    ToolRegistry registry;
    FakeTool first;
    int created = 0;
    auto make = [&]() -> ToolInstance* {
        ++created;
        return &first;
    };
    EXPECT_EQ(registry.start("MakeInput", make), ToolRegistry::StartOutcome::Started);
    EXPECT_EQ(registry.start("MakeInput", make), ToolRegistry::StartOutcome::Activated);
    EXPECT_EQ(created, 1);
    EXPECT_EQ(first.events, std::vector<ToolEvent>{ToolEvent::Activate});
}

TEST(ToolRegistry, WithTheRuleOffASecondCopyRunsButDoesNotOwnTheTool)
{
    ToolRegistry registry;
    registry.setSingleThreadOnly(false);
    FakeTool first, second;
    registry.start("ClipView", [&] { return &first; });
    registry.start("ClipView", [&] { return &second; });
    EXPECT_EQ(registry.owner("ClipView"), &first);
    EXPECT_EQ(registry.openCount(), 2u);
    registry.closed("ClipView", &second);
    EXPECT_EQ(registry.owner("ClipView"), &first); // only the owner clears the entry
    registry.closed("ClipView", &first);
    EXPECT_FALSE(registry.isRunning("ClipView"));
}

TEST(ToolRegistry, BroadcastsReachEveryOpenToolEvenWhenTheyCloseOnIt)
{
    ToolRegistry registry;
    registry.setSingleThreadOnly(false);
    FakeTool a, b, c;
    a.registry = b.registry = c.registry = &registry;
    a.name = b.name = "X";
    c.name = "Y";
    registry.start("X", [&] { return &a; });
    registry.start("X", [&] { return &b; });
    registry.start("Y", [&] { return &c; });
    registry.broadcast(ToolEvent::Iconize);
    registry.broadcast(ToolEvent::Close);
    for (FakeTool* t : {&a, &b, &c})
        EXPECT_EQ(t->events, (std::vector<ToolEvent>{ToolEvent::Iconize, ToolEvent::Close}));
    EXPECT_EQ(registry.openCount(), 0u);
}

TEST(ToolRegistry, AFailedCreationLeavesNothingRegistered)
{
    ToolRegistry registry;
    EXPECT_EQ(registry.start("X", [] { return nullptr; }), ToolRegistry::StartOutcome::Refused);
    EXPECT_FALSE(registry.isRunning("X"));
}

namespace {
struct ShowingTool : ToolInstance
{
    std::vector<std::string> shown;
    void deliver(ToolEvent) override {}
    bool showItem(const ShowRequest& request) override
    {
        if (request.key == "missing")
            return false;
        shown.push_back(request.key + "/" + request.subKey + "/" + std::to_string(request.number));
        return true;
    }
};
} // namespace

TEST(ToolRegistry, AShowRequestReachesTheOwnerOfTheToolOnly)
{
    ToolRegistry registry;
    ShowingTool equates;
    ShowingTool messages;
    FakeTool plain;
    registry.start("EquateBrowse", [&]() -> ToolInstance* { return &equates; });
    registry.start("MakeInput", [&]() -> ToolInstance* { return &messages; });
    registry.start("AsciiTable", [&]() -> ToolInstance* { return &plain; });

    EXPECT_TRUE(registry.showItem("EquateBrowse", {"EVENT", "EVENT:Accepted", 42}));
    EXPECT_EQ(equates.shown, std::vector<std::string>{"EVENT/EVENT:Accepted/42"});
    EXPECT_TRUE(messages.shown.empty());
    // The tool says when it could not show the item; a tool without the seam never can.
    EXPECT_FALSE(registry.showItem("EquateBrowse", {"missing", "", 0}));
    EXPECT_FALSE(registry.showItem("AsciiTable", {"x", "", 0}));
    // Nothing open under that name.
    registry.closed("MakeInput", &messages);
    EXPECT_FALSE(registry.showItem("MakeInput", {"Confirm", "", 0}));
    EXPECT_TRUE(messages.shown.empty());
}
