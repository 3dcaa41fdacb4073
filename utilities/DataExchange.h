#pragma once

#include "runtime/KeyedFile.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <string>
#include <vector>

// The user's own data in one JSON file: code snippets with their types, saved
// messages and message inserts. An import is a merge: a record whose key is
// already in the file is skipped, replaces it, or is added beside it.
namespace kestrix::utilities {

constexpr const char* ExchangeFormat = "Kestrix data exchange";
constexpr int ExchangeVersion = 1;

struct ExchangeSelection final
{
    bool snippets = true;
    bool messages = true;
    bool inserts = true;
};

// The files taking part; a null file is left out of an export and must not be needed by an import.
struct ExchangeFiles final
{
    runtime::KeyedFile* snippets = nullptr;
    runtime::KeyedFile* types = nullptr;
    runtime::KeyedFile* messages = nullptr;
    runtime::KeyedFile* inserts = nullptr;
};

struct ExchangeCounts final
{
    int types = 0;
    int snippets = 0;
    int messages = 0;
    int inserts = 0;
};

// The records as JSON text (UTF-8), each kind in its key order.
std::string exportText(ExchangeFiles files, ExchangeSelection selection, ExchangeCounts* counts = nullptr);
// Written whole or not at all; the error text is empty when written.
std::string writeExport(const std::filesystem::path& target, const std::string& text);

enum class DuplicateChoice { Skip, Replace, KeepBoth };

// One record of the file, checked and ready to write.
struct ImportRecord final
{
    int kind = 0; // 0 type, 1 snippet, 2 message, 3 insert
    runtime::Record record;
    std::string label; // how the messages name it: "snippet SQL / Open file"
    bool duplicate = false;
};

struct ImportPlan final
{
    std::vector<ImportRecord> records;
    std::string error; // set when the file is refused; then nothing may be written
    int duplicates = 0;
    std::string firstDuplicate;
};

// Reads and checks the whole file before anything is written: a file of another version,
// one that is not JSON or not this format, or one holding a value that does not fit its
// field, is refused with a sentence that says why.
ImportPlan planImport(const std::string& bytes, ExchangeFiles files);

struct ImportReport final
{
    int added = 0;
    int replaced = 0;
    int skipped = 0;
    std::string error; // a write that failed; what was written to that file is rolled back
};
ImportReport applyImport(const ImportPlan& plan, ExchangeFiles files, DuplicateChoice choice);

// "added 3, replaced 1, skipped 2"
std::string importSummary(const ImportReport& report);

} // namespace kestrix::utilities
