#include "dictionary/ImportRun.h"

#include "data/FileErrorMessage.h"
#include "runtime/FieldFit.h"
#include "runtime/FixedText.h"

#include <algorithm>

namespace kestrix::dictionary {

using runtime::FileError;
using runtime::Record;
using runtime::rtrim;
using runtime::upper;

namespace {

constexpr std::size_t ReportedLines = 10;

runtime::MessageRequest exclamationBox(std::string text, std::string caption)
{
    return {std::move(text), std::move(caption), runtime::MessageIcon::Exclamation, runtime::Button::Ok,
            runtime::Button::Ok};
}

} // namespace

bool isEndKeyword(std::string_view keyword)
{
    return startsWith(keyword, "END") &&
           (keyword.size() == 3 || keyword[3] == ' ' || keyword[3] == '!' || keyword[3] == ',');
}

std::string between(const std::string& line, std::size_t open)
{
    const std::size_t close = line.find(')', open);
    return std::string(
        runtime::trim(line.substr(open, close == std::string::npos ? std::string::npos : close - open)));
}

ImportRun::ImportRun(runtime::DialogService& d, const DictionaryImporter::Progress& progress,
                     const std::string& storeName, TxdReader& r, ImportResult& res)
    : dialogs(d), store(storeName), reader(r), result(res), m_progress(progress),
      m_row(store.tree().newRecord())
{
}

void ImportRun::show(const std::string& text, bool force)
{
    const int percent =
        reader.size() == 0
            ? 100
            : static_cast<int>(std::min<std::uintmax_t>(reader.position() * 100 / reader.size(), 100));
    if (m_progress && (force || percent != m_lastPercent))
        m_progress(text, percent);
    m_lastPercent = percent;
}

void ImportRun::tell(const std::string& text)
{
    dialogs.message(exclamationBox(text, ImportCaption));
}

void ImportRun::stopBox(const std::string& text)
{
    if (!dictionary::stopBox(dialogs, text))
        stopped = true;
}

void ImportRun::stopFor(const FileError& error, const std::string& sentence, const runtime::KeyedFile& file)
{
    if (!stopped)
        dialogs.message(data::fileErrorMessage("FILE ERROR", sentence, file.name(), error));
    stopped = true;
}

void ImportRun::setText(Record& record, int field, std::string_view value)
{
    noteIfCut(record.layout(), field, value);
    record.setText(field, value);
}

void ImportRun::noteIfCut(const runtime::RecordLayout& layout, int field, std::string_view value)
{
    const int size = layout.field(field).size;
    if (rtrim(value).size() > static_cast<std::size_t>(size)) {
        Cut& cut = m_cuts[runtime::fieldLabel(layout, field)];
        cut.size = size;
        ++cut.count;
        if (cut.lines.empty() || cut.lines.back() != line) {
            if (cut.lines.size() < ReportedLines)
                cut.lines.push_back(line);
            else
                cut.moreLines = true;
        }
    }
}

const Record* ImportRun::addRow(std::int64_t id, const char* type, std::int64_t seq, int rowLevel,
                                std::string_view field, std::string_view notes)
{
    if (stopped)
        return nullptr;
    m_row.setNumber(Dtr::FileId, id);
    m_row.setText(Dtr::Type, type);
    m_row.setNumber(Dtr::Seq, seq);
    m_row.setNumber(Dtr::Level, rowLevel);
    setText(m_row, Dtr::Name, field);
    setText(m_row, Dtr::Notes, notes);
    if (const FileError error = store.tree().add(m_row)) {
        stopFor(error, "An error occured while adding a row to the Dictionary Tree", store.tree());
        return nullptr;
    }
    ++result.treeRows;
    return &m_row;
}

namespace {

void upperNameInto(std::string_view name, std::string& key)
{
    const std::string_view clipped = rtrim(name);
    key.resize(clipped.size());
    std::transform(clipped.begin(), clipped.end(), key.begin(), runtime::upperChar);
}

} // namespace

const FieldTarget* ImportRun::findField(std::int64_t id, std::string_view name)
{
    if (id <= 0 || static_cast<std::uint64_t>(id) >= m_fields.size())
        return nullptr;
    upperNameInto(name, m_fieldName);
    const auto& fields = m_fields[static_cast<std::size_t>(id)];
    const auto found = fields.find(m_fieldName);
    return found == fields.end() ? nullptr : &found->second;
}

std::pair<FieldTarget*, bool> ImportRun::addField(std::int64_t id, std::string_view name)
{
    const auto at = static_cast<std::size_t>(std::max<std::int64_t>(id, 0));
    if (at >= m_fields.size())
        m_fields.resize(at + 1);
    upperNameInto(name, m_fieldName);
    const auto [entry, added] = m_fields[at].try_emplace(m_fieldName);
    return {&entry->second, added};
}

bool ImportRun::addFile(Record dif)
{
    const std::string name = upper(dif.text(Dif::FileName));
    if (!name.empty() && m_difByName.count(name)) {
        tell("The dictionary declares " + dif.text(Dif::FileName) +
             " twice.|The second one is read under FILEID " + std::to_string(dif.number(Dif::FileId)) +
             " without a file record of its own.");
        return false;
    }
    if (!name.empty())
        m_difByName.emplace(name, m_difs.size());
    m_difs.push_back(std::move(dif));
    return true;
}

const Record* ImportRun::findFile(const std::string& name) const
{
    const auto found = m_difByName.find(upper(rtrim(name)));
    return found == m_difByName.end() ? nullptr : &m_difs[found->second];
}

bool ImportRun::writeFiles()
{
    runtime::KeyedFile& files = store.files();
    if (const FileError error = files.stream()) {
        stopFor(error, "An error occured while writing the Dictionary Files", files);
        return false;
    }
    for (Record& dif : m_difs) {
        if (const FileError error = files.add(dif)) {
            stopFor(error, "An error occured while adding a record to the Dictionary Files", files);
            return false;
        }
    }
    if (const FileError error = files.flush()) {
        stopFor(error, "An error occured while writing the Dictionary Files", files);
        return false;
    }
    return true;
}

std::string ImportRun::cutReport() const
{
    if (m_cuts.empty())
        return {};
    std::string text =
        "These values are longer than their fields and were stored only up to the field's size:";
    for (const auto& [label, cut] : m_cuts) {
        text += "|" + label + " (" + std::to_string(cut.size) + " characters): " + std::to_string(cut.count) +
                (cut.count == 1 ? " value" : " values") + ", line ";
        for (std::size_t i = 0; i < cut.lines.size(); ++i)
            text += (i ? ", " : "") + std::to_string(cut.lines[i]);
        if (cut.moreLines)
            text += ", ...";
    }
    return text + ".";
}

} // namespace kestrix::dictionary
