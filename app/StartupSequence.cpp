#include "app/StartupSequence.h"

#include "config/ConfigRecord.h"
#include "config/ConfigurationForm.h"
#include "config/Settings.h"
#include "data/DataFileNames.h"
#include "equates/EquateRecord.h"
#include "equates/LoadLock.h"
#include "equates/PopupRecord.h"

namespace kestrix::app {

namespace FileName = data::FileName;

bool loadVersionIsOld(const std::string& stored)
{
    return equates::loadVersionIsOld(stored);
}

bool StartupSequence::openSharedFiles()
{
    auto& files = m_session.files();
    const std::pair<const char*, std::shared_ptr<const runtime::RecordLayout>> shared[] = {
        {FileName::Configuration, config::configLayout()},
        {FileName::Equates, equates::equateLayout()},
        {FileName::Popups, equates::popupLayout()},
    };
    std::size_t opened = 0;
    for (const auto& [name, layout] : shared) {
        if (!files.acquire(name, layout))
            break;
        ++opened;
    }
    if (opened == std::size(shared)) {
        m_holdsFiles = true;
        return true;
    }
    for (std::size_t i = 0; i < opened; ++i)
        files.release(shared[i].first);
    return false;
}

void StartupSequence::closeSharedFiles()
{
    if (!m_holdsFiles)
        return;
    for (const char* name : {FileName::Configuration, FileName::Equates, FileName::Popups})
        m_session.files().release(name);
    m_holdsFiles = false;
}

bool StartupSequence::readConfiguration()
{
    runtime::KeyedFile* file = m_session.files().file(FileName::Configuration);
    if (!file)
        return false;
    auto record = config::readConfiguration(*file);
    if (!record)
        return false;
    m_session.configuration() = *record;
    return true;
}

bool StartupSequence::loadIsDue(const char* fileName, const char* section)
{
    runtime::KeyedFile* file = m_session.files().file(fileName);
    if (file) {
        // Whether one record exists, not how many: the cost stays the same however big the file.
        runtime::Record first = file->newRecord();
        file->setOrder(runtime::KeyedFile::FileOrder);
        if (!file->next(first).ok())
            return true;
    }
    return equates::loadUnfinished(m_session.programIni(), section);
}

bool StartupSequence::equatesNeedLoading()
{
    return loadIsDue(FileName::Equates, config::Ini::EquateLoadSection);
}

bool StartupSequence::popupsNeedLoading()
{
    return loadIsDue(FileName::Popups, config::Ini::PopupLoadSection);
}

void StartupSequence::readAbcMode()
{
    m_session.modes().abcMode =
        m_session.programIni().number(config::Ini::AbcSection, config::Ini::AbcModeEntry, 1) != 0;
}

} // namespace kestrix::app
