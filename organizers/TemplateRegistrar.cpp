#include "organizers/TemplateRegistrar.h"

#include "runtime/FixedText.h"
#include "runtime/WinPath.h"

#include <algorithm>
#include <system_error>

namespace fs = std::filesystem;

namespace kestrix::organizers {

namespace {

constexpr const char* Service = "ClarionWin";

runtime::MessageRequest box(std::string text, std::string caption, runtime::MessageIcon icon)
{
    return {std::move(text), std::move(caption), icon, runtime::Button::Ok, runtime::Button::Ok};
}

bool holds(const std::string& upperText, const char* part)
{
    return upperText.find(part) != std::string::npos;
}

std::string clarionRootOf(const std::string& configured)
{
    return runtime::withoutTrailingBackslashes(runtime::trim(configured));
}

} // namespace

TemplateRegistrar::TemplateRegistrar(TemplateList& list, std::string clarionRoot,
                                     runtime::DialogService& dialogs, runtime::DdeClientFactory dde)
    : m_list(list), m_root(clarionRootOf(clarionRoot)), m_dialogs(dialogs), m_dde(std::move(dde))
{
}

bool TemplateRegistrar::isWizard(const TemplateEntry& entry) const
{
    return entry.file == "WIZARD.TPL" && entry.path == runtime::upper(m_root + "\\TEMPLATE");
}

void TemplateRegistrar::show(std::size_t index, const char* load)
{
    m_list.setLoad(index, load);
    if (m_progress)
        m_progress(index, load);
}

RegisterResult TemplateRegistrar::registerAll()
{
    std::vector<std::size_t> set;
    for (std::size_t i = 0; i < m_list.size(); ++i)
        set.push_back(i);
    return registerSet(std::move(set));
}

RegisterResult TemplateRegistrar::registerDirectory(const std::string& directory)
{
    const std::string wanted = runtime::upper(runtime::withoutTrailingBackslashes(runtime::trim(directory)));
    std::vector<std::size_t> set;
    for (std::size_t i = 0; i < m_list.size(); ++i) {
        if (m_list[i].path == wanted)
            set.push_back(i);
    }
    return registerSet(std::move(set));
}

RegisterResult TemplateRegistrar::registerOne(std::size_t index)
{
    return registerSet({index});
}

RegisterResult TemplateRegistrar::registerSet(std::vector<std::size_t> set)
{
    RegisterResult result;
    std::erase_if(set, [this](std::size_t i) { return m_list[i].marked(); });
    // The IDE's own wizard templates are registered before any other.
    std::stable_partition(set.begin(), set.end(), [this](std::size_t i) { return isWizard(m_list[i]); });
    std::vector<std::string> before;
    for (const std::size_t i : set) {
        before.push_back(m_list[i].load);
        show(i, TemplateLoad::Now);
    }
    // Entries that were never sent keep what they said before.
    const auto restoreFrom = [&](std::size_t position) {
        for (std::size_t p = position; p < set.size(); ++p)
            show(set[p], before[p].c_str());
    };

    std::unique_ptr<runtime::DdeClient> client = m_dde ? m_dde() : nullptr;
    if (!client || !client->connect(Service, "")) {
        restoreFrom(0);
        m_dialogs.message(notRunningMessage());
        return result;
    }
    result.connected = true;
    client->setTimeout(m_timeout);
    for (std::size_t p = 0; p < set.size(); ++p) {
        if (cancelled()) {
            result.cancelled = true;
            restoreFrom(p);
            break;
        }
        const std::size_t i = set[p];
        const TemplateEntry& entry = m_list[i];
        show(i, TemplateLoad::Now);
        result.order.push_back(i);
        const runtime::DdeResult sent =
            client->execute("[RegisterTemplateChain(" + entry.fullPath() + ",1)]");
        if (sent.ok) {
            show(i, TemplateLoad::Done);
            ++result.done;
            continue;
        }
        show(i, TemplateLoad::Err);
        ++result.failed;
        const runtime::DdeReply number = client->request("GetErrorNum");
        const runtime::DdeReply text = client->request("GetErrorMsg");
        // An IDE that does not answer these either is named by the reason the request failed.
        m_dialogs.message(registerErrorMessage(
            entry, sent, number.result.ok ? std::string(runtime::trim(number.data)) : "?",
            text.result.ok ? runtime::clip(text.data) : "(" + text.result.errorText + ")"));
    }
    client->disconnect();
    return result;
}

runtime::MessageRequest notRunningMessage()
{
    return box("Unable to make DDE Connection to CW.|You will have to start CW.||!! Be sure to Exit the Pick "
               "Screen !!",
               "CW NOT RUNNING", runtime::MessageIcon::Hand);
}

runtime::MessageRequest registerErrorMessage(const TemplateEntry& entry, const runtime::DdeResult& failure,
                                             const std::string& ideNumber, const std::string& ideText)
{
    return box("An error occured trying to Register Template|Template: " + entry.fullPath() +
                   "||Error: " + std::to_string(failure.errorNumber) + " " + failure.errorText +
                   "||DDE Error: " + ideNumber + " " + ideText,
               "DDE ERROR", runtime::MessageIcon::Hand);
}

TemplateScanResult scanForTemplates(const std::string& clarionRoot, const std::function<bool()>& cancelled,
                                    const DirectoryLister& lister)
{
    TemplateScanResult result;
    InstallationVisitor visitor;
    visitor.cancelled = cancelled;
    visitor.file = [&result](const std::string& directory, const DirectoryEntry&,
                             const std::string& upperName) {
        if (holds(upperName, ".TPL"))
            result.found.push_back({TemplateLoad::Register, upperName, runtime::upper(directory)});
        return true;
    };
    WalkCounts counts;
    result.completed =
        walkInstallation(clarionRootOf(clarionRoot), visitor, counts, lister, TemplateScanLevels);
    result.skippedDirectories = counts.skippedDirectories;
    result.unreadableDirectories = counts.unreadableDirectories;
    return result;
}

void addScanned(TemplateList& list, TemplateScanResult& result)
{
    result.added = 0;
    for (const TemplateEntry& e : result.found) {
        if (list.add(e.path, e.file, TemplateLoad::New))
            ++result.added;
    }
}

runtime::MessageRequest templateScanReport(const TemplateScanResult& result)
{
    std::string text = std::to_string(result.added) + " TPL files found and added to list." + "||" +
                       std::to_string(result.skippedDirectories) +
                       " Bak/Sav/Old/$$$/Backup Directories were omited.";
    if (result.unreadableDirectories > 0)
        text += "||" + std::to_string(result.unreadableDirectories) +
                " directories could not be read and were skipped.";
    return box(std::move(text), "SCAN FOR TEMPLATE FILES", runtime::MessageIcon::Asterisk);
}

std::string registryFile(const std::string& clarionRoot)
{
    return clarionRootOf(clarionRoot) + "\\Template\\Registry.TRF";
}

runtime::MessageRequest deleteRegistryQuestion()
{
    return {"Do you really want to delete the Registry?", "Delete Registry", runtime::MessageIcon::Question,
            runtime::Button::Yes | runtime::Button::No, runtime::Button::No};
}

RegistryDeletion deleteRegistry(const std::string& clarionRoot, runtime::DialogService& dialogs,
                                bool confirmed)
{
    if (!confirmed && dialogs.message(deleteRegistryQuestion()) != runtime::Button::Yes)
        return RegistryDeletion::Declined;
    const std::string file = registryFile(clarionRoot);
    const fs::path native = runtime::resolveWinPath(file);
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(native, ec);
    if (!fs::exists(status)) {
        dialogs.message(box("No Registry file exists", "Delete Registry", runtime::MessageIcon::Exclamation));
        return RegistryDeletion::Missing;
    }
    if (fs::is_directory(status))
        ec = std::make_error_code(std::errc::is_a_directory); // a directory is not the IDE's file
    else
        fs::remove(native, ec);
    if (!ec)
        return RegistryDeletion::Deleted;
    dialogs.message(
        box("An error occured while trying to delete the Registry.|CW must NOT be running.|Close CW and "
            "try this gain.||Error: " +
                ec.message() + "|File:   " + file,
            "DELETE REGISTRY ERROR", runtime::MessageIcon::Hand));
    return RegistryDeletion::Failed;
}

} // namespace kestrix::organizers
