#pragma once

#include "organizers/InstallationWalk.h"
#include "runtime/DialogService.h"
#include "runtime/KeyedFile.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

// Fills the help list: from the text list "HelpLis5.TXT", then by walking the
// Clarion directory tree for help files, then dropping entries whose file is
// gone. Plain logic: the window and the command line supply the answers.
namespace kestrix::organizers {

constexpr const char* HelpListTextName = "HelpLis5.TXT";
// The walk goes at most this many levels below the Clarion root.
constexpr int HelpScanLevels = InstallationLevels;
// Writes of a scan are committed in batches of this many: a large tree is not a
// transaction per file, and another program waits for one batch at most.
constexpr int HelpScanBatch = 5000;

// The answer to "Would you like to clear out the current file list?".
enum class ClearChoice { None, HelpFiles, AllFiles };

// The four-button question that starts a scan; nothing for Cancel.
runtime::MessageRequest clearQuestion();
std::optional<ClearChoice> clearChoiceFor(unsigned answer);
runtime::MessageRequest examplesQuestion(const std::string& directory);

// One entry line of the text list.
struct HelpListLine final
{
    char type = 'X';
    std::string name;
    std::string file;
    std::string path;
    bool rememberOnly = false; // a "~" name: its path is known, the entry is not listed
};

struct HelpListText final
{
    std::vector<HelpListLine> entries;
    // Lines longer than a line may be: not taken, as a part of one could name another file.
    std::vector<std::size_t> longLines;
};

// The entries of the text list's lines; `cutLines` are the (1-based) lines that were longer
// than the reader takes. "%CW%" in a PATH= line stands for `clarionRoot`.
HelpListText parseHelpListText(const std::vector<std::string>& lines,
                               const std::vector<std::size_t>& cutLines, const std::string& clarionRoot);

// Upper-cased full paths: no file is listed twice.
class KnownPaths final
{
public:
    // True when the path was new (and is now known).
    bool add(const std::string& path, const std::string& file);
    void remove(const std::string& path, const std::string& file);
    bool contains(const std::string& path, const std::string& file) const;
    std::size_t size() const { return m_paths.size(); }

private:
    std::unordered_set<std::string> m_paths;
};

struct HelpScanResult final
{
    bool completed = false; // false: cancelled, or the list file could not be written
    long long added = 0;
    long long skippedDirectories = 0;    // backup-like names
    long long unreadableDirectories = 0; // could not be listed
    int levels = 0;                      // levels walked
    bool listOpened = false;
    std::vector<std::size_t> longLines;
};

// The report that ends a scan: the two counts, then what was not read.
runtime::MessageRequest scanReport(const HelpScanResult& result);

class HelpScanner final
{
public:
    // `file` is "HelpLis5.TPS", open. `clarionRoot` is the configured Clarion directory.
    HelpScanner(runtime::KeyedFile& file, std::string clarionRoot, runtime::DialogService& dialogs);

    // The status line ("Delete: ", "Check: ", a found file's path).
    void setStatus(std::function<void(const std::string&)> status) { m_status = std::move(status); }
    // Asked between steps: true stops the scan there.
    void setCancelCheck(std::function<bool()> cancelled) { m_cancelled = std::move(cancelled); }
    // Whether to enter an EXAMPLES directory (default: the question, through the dialogs).
    void setExamplesAnswer(std::function<bool(const std::string&)> answer) { m_examples = std::move(answer); }
    void setListFile(std::filesystem::path listFile) { m_listFile = std::move(listFile); }
    void setLister(DirectoryLister lister) { m_lister = std::move(lister); }

    HelpScanResult run(ClearChoice clear);

private:
    bool cancelled() const { return m_cancelled && m_cancelled(); }
    void status(const std::string& text) const;
    bool clearList(ClearChoice clear);
    bool loadListText(HelpScanResult& result);
    bool walk(HelpScanResult& result);
    bool checkPass(HelpScanResult& result);
    bool addRecord(char type, const std::string& name, const std::string& file, const std::string& path);
    bool deleteRecord(runtime::Record& record);
    bool write(runtime::Record& record, bool adding);
    bool commitBatch();

    runtime::KeyedFile& m_file;
    std::string m_root;
    runtime::DialogService& m_dialogs;
    std::function<void(const std::string&)> m_status;
    std::function<bool()> m_cancelled;
    std::function<bool(const std::string&)> m_examples;
    std::filesystem::path m_listFile = HelpListTextName;
    DirectoryLister m_lister = listDirectory;
    KnownPaths m_known;
    int m_batched = 0; // writes in the open transaction
};

} // namespace kestrix::organizers
