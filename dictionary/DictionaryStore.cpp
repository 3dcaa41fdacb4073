#include "dictionary/DictionaryStore.h"

#include "dictionary/BrowseTexts.h"
#include "runtime/FixedText.h"
#include "runtime/LocalTime.h"

#include <chrono>
#include <cstdio>
#include <system_error>

namespace kestrix::dictionary {

namespace ErrorCode = runtime::ErrorCode;
using runtime::FieldType;
using runtime::FileError;
using runtime::Record;

std::shared_ptr<const runtime::RecordLayout> dicInfoLayout()
{
    static const std::shared_ptr<const runtime::RecordLayout> layout = [] {
        auto l = std::make_shared<runtime::RecordLayout>("DINFO");
        l->addString("VERSION", 5);
        l->addString("IMPORTNAME", 255);
        l->addNumber("IMPORTDATE", FieldType::Long);
        l->addNumber("IMPORTTIME", FieldType::Long);
        return l;
    }();
    return layout;
}

std::shared_ptr<const runtime::RecordLayout> dicFilesLayout()
{
    static const std::shared_ptr<const runtime::RecordLayout> layout = [] {
        auto l = std::make_shared<runtime::RecordLayout>("DIF");
        l->addString("FILENAME", 50);
        l->addNumber("FILEID", FieldType::Long);
        l->addNumber("ALIASID", FieldType::Long);
        l->addString("PREFIX", 14);
        l->addNumber("PRELEN", FieldType::Long);
        l->addString("DESCRIPTION", 40);
        l->addString("DRIVER", 10);
        l->addString("DRIVERSTRING", 60);
        l->addString("FULLNAME", 60);
        l->addString("FILESPEC", 80);
        l->addString("USEROPTIONS", 80);
        l->addKey("BYFILENAME", {Dif::FileName}, true);
        l->addKey("BYPREFIX", {Dif::Prefix}, false);
        l->addKey("BYFILEID", {Dif::FileId}, true);
        return l;
    }();
    return layout;
}

namespace {

std::shared_ptr<runtime::RecordLayout> treeLayout(const char* prefix, int fieldSize, int notesSize)
{
    auto l = std::make_shared<runtime::RecordLayout>(prefix);
    l->addNumber("FILEID", FieldType::Long);
    l->addString("TYPE", 4);
    l->addNumber("SEQ", FieldType::Long);
    l->addNumber("LEVEL", FieldType::Byte);
    l->addString("FIELD", fieldSize);
    l->addString("NOTES", notesSize);
    l->addKey("BYTREE", {Dtr::FileId, Dtr::Type, Dtr::Seq}, true);
    l->addKey("BYFIELD", {Dtr::Name, Dtr::FileId}, false);
    return l;
}

} // namespace

std::shared_ptr<const runtime::RecordLayout> dicTreeLayout()
{
    static const std::shared_ptr<const runtime::RecordLayout> layout = treeLayout("DTR", 50, 255);
    return layout;
}

std::shared_ptr<const runtime::RecordLayout> dicTrev1Layout()
{
    static const std::shared_ptr<const runtime::RecordLayout> layout = treeLayout("DTRV1", 30, 80);
    return layout;
}

StoreNames storeNames(const std::string& container)
{
    const std::string name(runtime::rtrim(container));
    return {name, name + "\\!DicInfo", name + "\\!DicFiles", name + "\\!DicTree", name + "\\!DicTrev1"};
}

// Days are counted with the civil-from-days algorithm on the proleptic Gregorian calendar.
namespace {

std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

const std::int64_t DayZero = daysFromCivil(1800, 12, 28);

} // namespace

std::int64_t dayNumber(int year, int month, int day)
{
    return daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - DayZero;
}

std::string dateText(std::int64_t days)
{
    std::int64_t z = days + DayZero + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    y += m <= 2;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04lld-%02u-%02u", static_cast<long long>(y), m, d);
    return buffer;
}

std::string timeText(std::int64_t clock)
{
    const std::int64_t seconds = clock > 0 ? (clock - 1) / 100 : 0;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    return buffer;
}

Moment now()
{
    const auto when = std::chrono::system_clock::now();
    const std::tm local = runtime::localTime(when);
    const auto centis =
        std::chrono::duration_cast<std::chrono::milliseconds>(when.time_since_epoch()).count() % 1000 / 10;
    Moment m;
    m.date = dayNumber(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    m.time = ((local.tm_hour * 60 + local.tm_min) * 60 + local.tm_sec) * 100 + centis + 1;
    return m;
}

DictionaryStore::DictionaryStore(const std::string& container)
    : m_names(storeNames(container)), m_info(m_names.info, dicInfoLayout()),
      m_files(m_names.files, dicFilesLayout()), m_tree(m_names.tree, dicTreeLayout())
{
}

void DictionaryStore::close()
{
    m_info.close();
    m_files.close();
    m_tree.close();
}

FileError DictionaryStore::removeContainer()
{
    close();
    const std::filesystem::path path = containerPath();
    for (const char* suffix : {"-wal", "-shm", ""}) {
        std::error_code ec;
        std::filesystem::remove(path.string() + suffix, ec);
        if (ec && ec != std::errc::no_such_file_or_directory) {
            if (ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted)
                return FileError::of(ErrorCode::AccessDenied);
            return FileError::system(ec.message(), ec.value());
        }
    }
    return FileError::none();
}

FileError DictionaryStore::create(std::string& failing)
{
    failing = m_names.files;
    if (FileError error = m_files.create())
        return error;
    failing = m_names.tree;
    if (FileError error = m_tree.create())
        return error;
    failing = m_names.info;
    if (FileError error = m_info.create())
        return error;
    failing.clear();
    return FileError::none();
}

FileError DictionaryStore::openAll(std::string& failing)
{
    for (runtime::KeyedFile* file : {&m_files, &m_tree, &m_info}) {
        if (file->isOpen())
            continue;
        if (FileError error = file->open()) {
            failing = file->name();
            return error;
        }
    }
    failing.clear();
    return FileError::none();
}

bool DictionaryStore::upgradeOlder()
{
    runtime::KeyedFile older(m_names.trev1, dicTrev1Layout());
    if (older.open())
        return false;
    Record row = older.newRecord();
    row.setNumber(Dtrv1::FileId, 0);
    row.setText(Dtrv1::Type, "I");
    row.setNumber(Dtrv1::Seq, 1);
    if (older.get(Dtrv1::ByTree, row))
        return false;
    older.close();
    if (m_info.create())
        return false;
    if (m_info.open())
        return false;
    Record info = m_info.newRecord();
    info.setText(Dinfo::Version, UpgradedStoreVersion);
    info.setText(Dinfo::ImportName, row.text(Dtrv1::Notes));
    const FileError added = m_info.add(info);
    m_info.close();
    return added.ok();
}

OpenState DictionaryStore::openForBrowsing(runtime::DialogService& dialogs)
{
    m_infoRecord.reset();
    const auto tellInfoError = [&dialogs](const FileError& error) {
        dialogs.message({"Open DICInfo File|Error: " + std::to_string(error.code) + "-" + error.text(),
                         "FILE ERROR", runtime::MessageIcon::Exclamation, runtime::Button::Ok,
                         runtime::Button::Ok});
    };
    FileError error = m_info.open();
    if (error.code == ErrorCode::FileNotFound && upgradeOlder())
        error = m_info.open();
    if (error) {
        tellInfoError(error);
        return error.code == ErrorCode::FileNotFound ? OpenState::Missing : OpenState::Failed;
    }
    Record info = m_info.newRecord();
    m_info.setOrder(runtime::KeyedFile::FileOrder);
    const FileError read = m_info.next(info);
    m_info.close();
    if (read) {
        tellInfoError(read);
        return OpenState::Missing;
    }
    m_infoRecord = info;
    if (!runtime::sameText(info.text(Dinfo::Version), CurrentStoreVersion))
        return OpenState::OlderVersion;
    std::string failing;
    if (FileError opened = openAll(failing)) {
        close();
        dialogs.message(tableOpenMessage(opened.text(), failing));
        return OpenState::Failed;
    }
    m_info.close();
    return OpenState::Ready;
}

bool DictionaryStore::fileByName(const std::string& name, Record& record)
{
    record = m_files.newRecord();
    record.setText(Dif::FileName, name);
    return m_files.get(Dif::ByFileName, record).ok();
}

bool DictionaryStore::fileByPrefix(const std::string& prefix, Record& record)
{
    record = m_files.newRecord();
    record.setText(Dif::Prefix, prefix);
    return m_files.get(Dif::ByPrefix, record).ok();
}

bool DictionaryStore::fileById(std::int64_t fileId, Record& record)
{
    record = m_files.newRecord();
    record.setNumber(Dif::FileId, fileId);
    return m_files.get(Dif::ByFileId, record).ok();
}

std::vector<Record> DictionaryStore::treeOf(std::int64_t fileId, const std::string& upToType)
{
    std::vector<Record> rows;
    Record r = m_tree.newRecord();
    r.setNumber(Dtr::FileId, fileId);
    r.setNumber(Dtr::Seq, -2147483648LL);
    m_tree.setFrom(Dtr::ByTree, r);
    while (m_tree.next(r).ok() && r.number(Dtr::FileId) == fileId) {
        if (!upToType.empty() && runtime::upper(r.text(Dtr::Type)) > upToType)
            break;
        rows.push_back(r);
    }
    return rows;
}

bool DictionaryStore::findRow(const std::string& name, std::int64_t fileId, const std::string& type,
                              Record& record)
{
    Record r = m_tree.newRecord();
    r.setText(Dtr::Name, name);
    r.setNumber(Dtr::FileId, fileId);
    m_tree.setFrom(Dtr::ByField, r);
    while (m_tree.next(r).ok() && runtime::sameTextNoCase(r.text(Dtr::Name), name)) {
        if (r.number(Dtr::FileId) != fileId)
            break; // the key orders a name's rows by FILEID: the wanted file's are behind
        if (runtime::sameText(r.text(Dtr::Type), type)) {
            record = r;
            return true;
        }
    }
    return false;
}

} // namespace kestrix::dictionary
