#include "data/DataFileRegistry.h"

#include "runtime/FixedText.h"

namespace kestrix::data {

DataFileRegistry::DataFileRegistry(runtime::DialogService& dialogs, OpenOptions options)
    : m_dialogs(dialogs), m_options(options)
{
}

runtime::KeyedFile* DataFileRegistry::acquire(const std::string& name,
                                              std::shared_ptr<const runtime::RecordLayout> layout,
                                              OpenOutcome* outcome, runtime::Sharing sharing)
{
    Entry& entry = m_entries[runtime::upper(name)];
    if (entry.count == 0) {
        entry.file = std::make_unique<runtime::KeyedFile>(name, std::move(layout));
        entry.file->setSharing(sharing);
        const OpenOutcome result = openDataFile(*entry.file, m_dialogs, m_options);
        if (outcome)
            *outcome = result;
        if (result == OpenOutcome::Halt) {
            entry.file.reset();
            return nullptr;
        }
    } else if (outcome) {
        *outcome = OpenOutcome::Opened;
    }
    ++entry.count;
    return entry.file.get();
}

void DataFileRegistry::release(const std::string& name)
{
    auto it = m_entries.find(runtime::upper(name));
    if (it == m_entries.end() || it->second.count == 0)
        return;
    if (--it->second.count == 0) {
        it->second.file->close();
        it->second.file.reset();
    }
}

runtime::KeyedFile* DataFileRegistry::file(const std::string& name) const
{
    auto it = m_entries.find(runtime::upper(name));
    return it == m_entries.end() ? nullptr : it->second.file.get();
}

int DataFileRegistry::useCount(const std::string& name) const
{
    auto it = m_entries.find(runtime::upper(name));
    return it == m_entries.end() ? 0 : it->second.count;
}

DataFileUse::DataFileUse(DataFileRegistry& registry, std::string name,
                         std::shared_ptr<const runtime::RecordLayout> layout, runtime::Sharing sharing)
    : m_registry(registry), m_name(std::move(name))
{
    m_file = m_registry.acquire(m_name, std::move(layout), &m_outcome, sharing);
}

DataFileUse::~DataFileUse()
{
    if (m_file)
        m_registry.release(m_name);
}

} // namespace kestrix::data
