#pragma once

#include "dictionary/AssignmentLines.h"
#include "runtime/Record.h"

#include <optional>
#include <string>
#include <vector>

// The SET/LOOP/NEXT read loop over a file and the lines that prime a key
// before it is used, in ABC or legacy style.
namespace kestrix::dictionary {

enum class SetType : int { File = 1, Key = 2, KeyKey = 3, Relation = 4 };

// One request of "Generate SET()/LOOP Code".
struct SetGenerator final
{
    std::string fileName;
    std::string keyName; // qualified
    int setType = 1;     // SetType; other values are refused by setLoopTitle
    bool hasMemo = false;
    bool noMemo = false;
    std::string next = "NEXT"; // or "PREVIOUS"
    std::string action = "NONE";
    std::string actionFile; // blank: the loop's file
    bool stream = false;
    bool flushEvery = false;
    int flushRecords = 0;
    bool cursorWait = false;
    bool yieldEvery = false;
    int yieldRecords = 0;
    bool abcSave = false;
    bool logout = false;
};

constexpr const char* LoopActions[] = {"NONE", "PUT", "ADD", "APPEND", "DELETE"};

// A key component and the value it is primed with.
struct Component final
{
    std::string field; // qualified, or "NOLINK"
    std::string value;
    bool descending = false;
};
bool isNoLink(const Component& c);

// What the loop needs to know of the file and key besides the request.
struct KeyContext final
{
    std::string prefix;    // the clipped prefix, for the save variable
    std::string qualifier; // for CLEAR(<qualifier>RECORD)
    std::vector<Component> components;
    bool isIndex = false;  // the key is an INDEX
    bool relation = false; // primed from a relation's linking fields
};

// The configuration the generated code follows.
struct CodeStyle final
{
    bool abc = true;
    std::string indent = "   "; // one nesting level
    bool endComment = true;
    std::string streamV = "StrmCnt#";
    std::string yieldV = "YldCnt#";
};
CodeStyle codeStyleOf(const runtime::Record& configuration, bool abc);

// A request filled as the window opens: counts from the configuration, the rest off.
SetGenerator setGeneratorFor(const std::string& fileName, const std::string& keyName, SetType type,
                             bool hasMemo, const runtime::Record& configuration);

// The window title for the request's type; nothing for a type that is not one of the four
// (`problem` then holds "Invalid type: " + the value).
std::optional<std::string> setLoopTitle(int setType, std::string& problem);

std::vector<std::string> keyPreparationLines(const SetGenerator& sg, const KeyContext& key,
                                             const CodeStyle& style);
std::vector<std::string> setLoopLines(const SetGenerator& sg, const KeyContext& key,
                                      const AssignmentList& assignments, const CodeStyle& style);

} // namespace kestrix::dictionary
