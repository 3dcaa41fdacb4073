#pragma once

#include "runtime/DialogService.h"
#include "runtime/KeyedFile.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The dictionary store "<name>.dic": one container of keyed tables holding a
// dictionary as imported from the IDE. DicInfo says when and from what it was
// imported, DicFiles has a record per file and alias, DicTree the rows of each
// file's tree (fields, keys, declaration lines, relations, alias links).
// DicTrev1 is the tree of older stores, read only to upgrade them.
namespace kestrix::dictionary {

namespace Dinfo {
enum Field : int { Version, ImportName, ImportDate, ImportTime };
} // namespace Dinfo

namespace Dif {
enum Field : int {
    FileName,
    FileId,
    AliasId,
    Prefix,
    PreLen,
    Description,
    Driver,
    DriverString,
    FullName,
    FileSpec,
    UserOptions
};
enum Key : int { ByFileName, ByPrefix, ByFileId };
} // namespace Dif

namespace Dtr {
enum Field : int { FileId, Type, Seq, Level, Name, Notes };
enum Key : int { ByTree, ByField };
} // namespace Dtr

namespace Dtrv1 {
enum Field : int { FileId, Type, Seq, Level, Name, Notes };
enum Key : int { ByTree, ByField };
} // namespace Dtrv1

// Row kinds of DTR:TYPE.
namespace RowType {
constexpr const char* Field = "1";
constexpr const char* Key = "2";
constexpr const char* Declaration = "DEF";
constexpr const char* Relation = "R";
constexpr const char* Alias = "Z";
} // namespace RowType

constexpr const char* CurrentStoreVersion = "3";
constexpr const char* UpgradedStoreVersion = "1";

std::shared_ptr<const runtime::RecordLayout> dicInfoLayout();
std::shared_ptr<const runtime::RecordLayout> dicFilesLayout();
std::shared_ptr<const runtime::RecordLayout> dicTreeLayout();
std::shared_ptr<const runtime::RecordLayout> dicTrev1Layout();

// The table names of one container: clipped container name + "\!DicInfo" and so on.
struct StoreNames final
{
    std::string container;
    std::string info;
    std::string files;
    std::string tree;
    std::string trev1;
};
StoreNames storeNames(const std::string& container);

// The runtime's day number (days since 28 December 1800) and clock reading (hundredths of a
// second since midnight, plus one) of a calendar date and time, and back as text.
std::int64_t dayNumber(int year, int month, int day);
std::string dateText(std::int64_t dayNumber);       // yyyy-mm-dd
std::string timeText(std::int64_t clockHundredths); // hh:mm:ss
struct Moment final
{
    std::int64_t date = 0;
    std::int64_t time = 0;
};
Moment now();

// What opening a store for browsing found.
enum class OpenState {
    Ready,        // tables open, DINFO:VERSION is the current one
    OlderVersion, // DicInfo holds another version (also after an upgrade): import again
    Missing,      // no DicInfo and nothing to upgrade from
    Failed        // DicInfo could not be opened; the message has been shown
};

class DictionaryStore final
{
public:
    explicit DictionaryStore(const std::string& container);
    DictionaryStore(const DictionaryStore&) = delete;
    DictionaryStore& operator=(const DictionaryStore&) = delete;

    const StoreNames& names() const { return m_names; }
    runtime::KeyedFile& info() { return m_info; }
    runtime::KeyedFile& files() { return m_files; }
    runtime::KeyedFile& tree() { return m_tree; }
    std::filesystem::path containerPath() const { return m_files.path(); }

    void close();
    // Closes the tables and removes the container; a container that is not there is no error.
    runtime::FileError removeContainer();
    // Creates DicFiles, then DicTree, then DicInfo; `failing` names the table that could not be made.
    runtime::FileError create(std::string& failing);
    // Opens the three tables for reading and writing; `failing` as create's.
    runtime::FileError openAll(std::string& failing);

    // Reads DicInfo (upgrading an older store first) and opens DicFiles and DicTree when the
    // version is current. Tells the user when DicInfo cannot be opened.
    OpenState openForBrowsing(runtime::DialogService& dialogs);
    // The DINFO record read by openForBrowsing.
    const std::optional<runtime::Record>& infoRecord() const { return m_infoRecord; }
    // Turns an older store's DicTrev1 into a DicInfo of version "1"; false when there is nothing to do.
    bool upgradeOlder();

    // Lookups on DicFiles; each fills `record` and returns true when found.
    bool fileByName(const std::string& name, runtime::Record& record);
    bool fileByPrefix(const std::string& prefix, runtime::Record& record);
    bool fileById(std::int64_t fileId, runtime::Record& record);
    // The rows of one file in DTR:BYTREE order; `types` limits them to kinds up to that text ("9": only
    // fields and keys), blank for all.
    std::vector<runtime::Record> treeOf(std::int64_t fileId, const std::string& upToType = {});
    // The first row of `fileId` named `name` (any case) of kind `type`, through DTR:BYFIELD.
    bool findRow(const std::string& name, std::int64_t fileId, const std::string& type,
                 runtime::Record& record);

private:
    StoreNames m_names;
    runtime::KeyedFile m_info;
    runtime::KeyedFile m_files;
    runtime::KeyedFile m_tree;
    std::optional<runtime::Record> m_infoRecord;
};

} // namespace kestrix::dictionary
