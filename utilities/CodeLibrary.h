#pragma once

#include "runtime/DialogService.h"
#include "runtime/KeyedFile.h"
#include "utilities/CodeMerge.h"

#include <optional>
#include <string>
#include <vector>

// The user's store of code snippets by type: what the Code Library windows and
// `ktx snippets` read and change. Writes go through the forms' record pattern,
// so a failure has been shown through the dialogs when a call returns false.
namespace kestrix::utilities {

struct Snippet final
{
    std::string type;
    std::string name;
    std::string code; // lines separated by CR LF
    bool operator==(const Snippet&) const = default;
};

// A refusal of input, with the text to show; empty when the input is taken.
using Refusal = std::optional<std::string>;

class CodeLibrary final
{
public:
    CodeLibrary(runtime::KeyedFile& snippets, runtime::KeyedFile& types, runtime::DialogService& dialogs);

    // Types in CDT:KEY order.
    std::vector<std::string> types();
    bool typeExists(const std::string& type);
    // The snippets of one type (any case) in CDS:BYNAME order, with their records for changes.
    std::vector<runtime::Record> snippetRecords(const std::string& type);
    std::vector<Snippet> snippets(const std::string& type);
    // Every snippet in CDS:BYNAME order.
    std::vector<Snippet> allSnippets();
    std::optional<runtime::Record> findSnippet(const std::string& type, const std::string& name);

    // Checks of a value against its field: blank type, too long for the field.
    static Refusal checkType(const std::string& type);
    static Refusal checkSnippet(const Snippet& snippet);

    bool addType(const std::string& type);
    // Renames the type and moves its snippets with it.
    bool changeType(const std::string& from, const std::string& to);
    // Deletes the type and every snippet of it.
    bool deleteType(const std::string& type);

    bool addSnippet(const Snippet& snippet);
    bool changeSnippet(runtime::Record& record, const Snippet& snippet);
    bool deleteSnippet(runtime::Record& record);

    runtime::KeyedFile& snippetFile() { return m_snippets; }
    runtime::KeyedFile& typeFile() { return m_types; }

private:
    runtime::KeyedFile& m_snippets;
    runtime::KeyedFile& m_types;
    runtime::DialogService& m_dialogs;
};

Snippet snippetOf(const runtime::Record& record);

// What "&To Clip" puts out: the snippet's lines with the tokens replaced.
struct SnippetCopy final
{
    std::vector<std::string> lines;
    std::vector<MergeToken> tokens; // to ask for; empty when the snippet has none
};
SnippetCopy prepareCopy(const std::string& code);

} // namespace kestrix::utilities
