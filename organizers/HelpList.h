#pragma once

#include "runtime/RecordLayout.h"

#include <memory>
#include <string>

// The help list "HelpLis5.TPS": reference files of the Clarion installation
// the developer opens from the Help Organizer. Paths and names are kept whole:
// a path cut to a short field names another file, or none.
namespace kestrix::organizers {

namespace Hlp {
enum Field : int { Type, Name, File, Path };
enum Key : int { ByName };
} // namespace Hlp

// Wide enough for any name and path the file systems allow.
constexpr int HelpNameLength = 255;
constexpr int HelpFileLength = 255;
constexpr int HelpPathLength = 260;

std::shared_ptr<const runtime::RecordLayout> helpListLayout();

// The tabs of the list, in order: "H" Help, "X" Text, "S" Source, "C" Class, "T" Template.
constexpr const char* HelpTypeLetters = "HXSCT";
// "Help", "Text", ... for a type letter; empty for another letter.
std::string helpTypeName(char type);
bool isHelpType(char type);

// PATH + "\" + FILE, as the program spells paths.
std::string helpFullPath(const std::string& path, const std::string& file);

} // namespace kestrix::organizers
