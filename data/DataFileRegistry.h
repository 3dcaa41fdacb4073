#pragma once

#include "data/DataFileOpener.h"
#include "runtime/KeyedFile.h"

#include <map>
#include <memory>
#include <string>

// Process-wide use counts of the keyed files: the first window that needs a
// file opens it, the last one that lets go closes it.
namespace kestrix::data {

class DataFileRegistry final
{
public:
    DataFileRegistry(runtime::DialogService& dialogs, OpenOptions options = {});

    // Opens the file when nobody uses it yet and raises its count; nullptr and
    // Halt when it cannot be opened. `sharing` is how the file is opened; a file open already stays
    // as it was opened.
    runtime::KeyedFile* acquire(const std::string& name, std::shared_ptr<const runtime::RecordLayout> layout,
                                OpenOutcome* outcome = nullptr,
                                runtime::Sharing sharing = runtime::Sharing::Shared);
    void release(const std::string& name);
    runtime::KeyedFile* file(const std::string& name) const;
    int useCount(const std::string& name) const;

private:
    struct Entry
    {
        std::unique_ptr<runtime::KeyedFile> file;
        int count = 0;
    };
    runtime::DialogService& m_dialogs;
    OpenOptions m_options;
    std::map<std::string, Entry> m_entries; // by upper-cased name
};

// Holds one use of a file for as long as it lives.
class DataFileUse final
{
public:
    DataFileUse(DataFileRegistry& registry, std::string name,
                std::shared_ptr<const runtime::RecordLayout> layout,
                runtime::Sharing sharing = runtime::Sharing::Shared);
    ~DataFileUse();
    DataFileUse(const DataFileUse&) = delete;
    DataFileUse& operator=(const DataFileUse&) = delete;

    runtime::KeyedFile* file() const { return m_file; }
    OpenOutcome outcome() const { return m_outcome; }
    explicit operator bool() const { return m_file != nullptr; }

private:
    DataFileRegistry& m_registry;
    std::string m_name;
    runtime::KeyedFile* m_file = nullptr;
    OpenOutcome m_outcome = OpenOutcome::Halt;
};

} // namespace kestrix::data
