#pragma once

#include <optional>
#include <string>
#include <vector>

// The locator of a browse list: typing the start of a key jumps to the first
// row with that key; typing what starts no key narrows the list to the rows
// that contain it anywhere, and when no row does, shows every row positioned
// at the nearest key.
namespace kestrix::runtime {

struct LocatorRow final
{
    std::string key;     // the column the list is ordered by
    std::string content; // everything the row shows, searched when filtering
};

struct LocatorResult final
{
    std::vector<std::size_t> visible;   // rows to show, in their order
    std::optional<std::size_t> current; // row to highlight
};

// `rows` are in key order. Matching ignores case and trailing blanks of the typed text.
LocatorResult locate(const std::vector<LocatorRow>& rows, const std::string& typed);

} // namespace kestrix::runtime
