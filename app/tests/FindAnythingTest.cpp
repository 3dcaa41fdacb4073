#include "app/FindAnything.h"
#include "app/FindSources.h"
#include "equates/KeycodeTable.h"
#include "utilities/ErrorList.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace kestrix::app;

namespace {

struct FedSource : FindSource
{
    FindKind which;
    std::vector<FindEntry> fed;
    int reads = 0;
    FedSource(FindKind k, std::vector<FindEntry> e) : which(k), fed(std::move(e)) {}
    FindKind kind() const override { return which; }
    std::vector<FindEntry> entries() override
    {
        ++reads;
        return fed;
    }
};

FindEntry entry(const std::string& label, std::vector<std::string> searched, const std::string& tool = "T",
                std::int64_t number = 0)
{
    return {label, std::move(searched), {tool, {label, {}, number}}};
}

std::vector<std::string> labels(const FindGroup& group)
{
    std::vector<std::string> out;
    for (const FindHit& hit : group.hits)
        out.push_back(hit.label);
    return out;
}

std::vector<FindKind> kinds(const std::vector<FindGroup>& groups)
{
    std::vector<FindKind> out;
    for (const FindGroup& g : groups)
        out.push_back(g.kind);
    return out;
}

} // namespace

TEST(FindAnything, GroupsComeInTheFixedOrderWhateverOrderTheSourcesLoaded)
{
    FedSource keys(FindKind::Keycode, {entry("F5 = 116", {"F5", "116"})});
    FedSource errors(FindKind::Error, {entry("5 Access Denied", {"5", "NoAccessErr", "Access Denied"})});
    FedSource equates(FindKind::Equate,
                      {entry("EVENT:Accepted = 1 (Event)", {"EVENT:Accepted", "1", "01H"}),
                       entry("COLOR:Red = 255 (Color)", {"COLOR:Red", "255", "0FFH"}),
                       entry("EVENT:Selected = 3 (Event)", {"EVENT:Selected", "3", "03H"})});
    FedSource tools(FindKind::Tool, {entry("Equate Helper", {"Equate Helper", "EquateBrowse"})});
    FindAnything find;
    for (FedSource* s : {&keys, &errors, &equates, &tools})
        find.load(*s);
    EXPECT_EQ(find.entryCount(), 6u);

    const auto five = find.search("5");
    EXPECT_EQ(kinds(five), (std::vector<FindKind>{FindKind::Equate, FindKind::Error, FindKind::Keycode}));
    EXPECT_EQ(labels(five[0]), std::vector<std::string>{"COLOR:Red = 255 (Color)"});

    // Names and values alike, any case, in the source's order; the label itself is not searched.
    const auto event = find.search("event:");
    ASSERT_EQ(event.size(), 1u);
    EXPECT_EQ(labels(event[0]),
              (std::vector<std::string>{"EVENT:Accepted = 1 (Event)", "EVENT:Selected = 3 (Event)"}));
    EXPECT_TRUE(find.search("(event)").empty());
    EXPECT_EQ(kinds(find.search("equate")), std::vector<FindKind>{FindKind::Tool});
    EXPECT_EQ(find.search("0ffh")[0].hits[0].target.request.key, "COLOR:Red = 255 (Color)");

    // Blank text finds nothing rather than everything; a match never runs across two texts.
    EXPECT_TRUE(find.search("  ").empty());
    EXPECT_TRUE(find.search("accepted1").empty());
    EXPECT_EQ(equates.reads, 1); // searching reads no source again
}

TEST(FindAnything, EachGroupListsUpToItsLimitAndCountsEveryHit)
{
    std::vector<FindEntry> many;
    for (int i = 0; i < 7; ++i)
        many.push_back(entry("Snippet " + std::to_string(i), {"Open file " + std::to_string(i)}));
    FedSource snippets(FindKind::Snippet, many);
    FedSource more(FindKind::Snippet, {entry("Snippet x", {"OPEN FILE x"})});
    FindAnything find(3);
    find.load(snippets);
    find.load(more); // a second source of a kind adds to it
    const auto found = find.search("open file");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].total, 8u);
    EXPECT_EQ(labels(found[0]), (std::vector<std::string>{"Snippet 0", "Snippet 1", "Snippet 2"}));
    EXPECT_EQ(find.search("file x")[0].total, 1u);
}

TEST(FindAnything, TheSourcesTargetTheirToolsWithWhatToShow)
{
    std::vector<kestrix::utilities::ErrorEntry> errors = {{2, "NoFileErr", "File Not Found", ""},
                                                          {90, "FileSystemErr", "File System Error", ""}};
    ErrorFindSource errorSource(errors);
    ToolFindSource toolSource({{"EquateBrowse", "Equate Helper"}, {"ErrorHelper", "Error Helper"}});
    KeycodeFindSource keycodeSource;
    FindAnything find;
    find.load(errorSource);
    find.load(toolSource);
    find.load(keycodeSource);

    const auto helper = find.search("helper");
    ASSERT_EQ(kinds(helper), std::vector<FindKind>{FindKind::Tool});
    EXPECT_EQ(helper[0].hits[1].target.tool, "ErrorHelper");
    EXPECT_EQ(find.search("equatebrowse")[0].hits[0].label, "Equate Helper");

    const auto fileErrors = find.search("filesystem");
    ASSERT_EQ(fileErrors.size(), 1u);
    EXPECT_EQ(fileErrors[0].hits[0].label, "90 File System Error (FileSystemErr)");
    EXPECT_EQ(fileErrors[0].hits[0].target.tool, "ErrorHelper");
    EXPECT_EQ(fileErrors[0].hits[0].target.request.number, 90);

    const auto f5 = find.search("F5");
    ASSERT_FALSE(f5.empty());
    const FindGroup& keys = f5.back();
    ASSERT_EQ(keys.kind, FindKind::Keycode);
    const auto exact = std::find_if(keys.hits.begin(), keys.hits.end(),
                                    [](const FindHit& h) { return h.target.request.key == "F5"; });
    ASSERT_NE(exact, keys.hits.end());
    EXPECT_EQ(exact->target.tool, "KeycodeFinder");
    EXPECT_EQ(exact->target.request.number, *kestrix::equates::baseKeycode("F5"));
}

TEST(FindAnything, AToolIsNamedByItsMenuTextWithoutMarks)
{
    EXPECT_EQ(toolNameOf("E&quate Helper"), "Equate Helper");
    EXPECT_EQ(toolNameOf("&Open Dictionary..."), "Open Dictionary");
    EXPECT_EQ(toolNameOf("Save && Close"), "Save & Close");
    EXPECT_EQ(toolNameOf("&Color Designer"), "Color Designer");
}
