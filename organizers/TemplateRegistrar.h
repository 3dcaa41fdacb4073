#pragma once

#include "organizers/InstallationWalk.h"
#include "organizers/TemplateList.h"
#include "runtime/DdeClient.h"
#include "runtime/DialogService.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// Registers the listed template files in the running IDE over DDE, one command
// per file, finds template files under the Clarion directory, and deletes the
// IDE's registry file. The window and the command line supply the answers.
namespace kestrix::organizers {

// How long one command may take before it counts as failed, in hundredths of a second.
constexpr int TemplateRegisterTimeout = 12000;
constexpr int TemplateScanLevels = InstallationLevels;

struct RegisterResult final
{
    bool connected = false;
    bool cancelled = false;
    int done = 0;
    int failed = 0;
    std::vector<std::size_t> order; // the entries sent, in the order they were sent
};

class TemplateRegistrar final
{
public:
    // `clarionRoot` is the configured Clarion directory.
    TemplateRegistrar(TemplateList& list, std::string clarionRoot, runtime::DialogService& dialogs,
                      runtime::DdeClientFactory dde = runtime::systemDdeClient);

    void setTimeout(int hundredths) { m_timeout = hundredths; }
    // Told of every change of an entry's load column while registering (from the registering thread).
    void setProgress(std::function<void(std::size_t index, const std::string& load)> progress)
    {
        m_progress = std::move(progress);
    }
    // Asked before each command: true stops there; the entries not sent get back their load column.
    void setCancelCheck(std::function<bool()> cancelled) { m_cancelled = std::move(cancelled); }

    RegisterResult registerAll();
    // Every entry of that directory (as listed, any case).
    RegisterResult registerDirectory(const std::string& directory);
    RegisterResult registerOne(std::size_t index);

    // The entry of the IDE's own template directory that must go first.
    bool isWizard(const TemplateEntry& entry) const;

private:
    RegisterResult registerSet(std::vector<std::size_t> set);
    void show(std::size_t index, const char* load);
    bool cancelled() const { return m_cancelled && m_cancelled(); }

    TemplateList& m_list;
    std::string m_root;
    runtime::DialogService& m_dialogs;
    runtime::DdeClientFactory m_dde;
    int m_timeout = TemplateRegisterTimeout;
    std::function<void(std::size_t, const std::string&)> m_progress;
    std::function<bool()> m_cancelled;
};

runtime::MessageRequest notRunningMessage();
runtime::MessageRequest registerErrorMessage(const TemplateEntry& entry, const runtime::DdeResult& failure,
                                             const std::string& ideNumber, const std::string& ideText);

struct TemplateScanResult final
{
    bool completed = false;           // false: cancelled
    std::vector<TemplateEntry> found; // load column empty; directories and names upper case
    long long skippedDirectories = 0;
    long long unreadableDirectories = 0;
    long long added = 0; // set by addScanned
};

// Breadth-first below `clarionRoot`, at most TemplateScanLevels levels; backup-like directories
// are skipped and counted, and a directory reached twice (through a link) is walked once.
TemplateScanResult scanForTemplates(const std::string& clarionRoot,
                                    const std::function<bool()>& cancelled = {},
                                    const DirectoryLister& lister = listDirectory);
// Adds the files found as "New"; those already listed stay as they are.
void addScanned(TemplateList& list, TemplateScanResult& result);
runtime::MessageRequest templateScanReport(const TemplateScanResult& result);

enum class RegistryDeletion { Declined, Deleted, Missing, Failed };

// "Clarion path\Template\Registry.TRF".
std::string registryFile(const std::string& clarionRoot);
runtime::MessageRequest deleteRegistryQuestion();
// Asks first unless `confirmed`; shows the outcome's message (none for Deleted or Declined).
RegistryDeletion deleteRegistry(const std::string& clarionRoot, runtime::DialogService& dialogs,
                                bool confirmed = false);

} // namespace kestrix::organizers
