#pragma once

#include <string>
#include <string_view>

// Records keep line breaks as CR LF, as Clarion text does; text boxes hold one line feed per break.
namespace kestrix::runtime {

// CR LF, or a CR alone, becomes one line feed.
std::string lineFeedsFromCrLf(std::string_view text);
// Each line feed becomes CR LF.
std::string crLfFromLineFeeds(std::string_view text);

} // namespace kestrix::runtime
