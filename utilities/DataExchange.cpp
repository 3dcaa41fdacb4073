#include "utilities/DataExchange.h"

#include "message/MessageInsertRecord.h"
#include "message/MessageRecord.h"
#include "runtime/AtomicFile.h"
#include "runtime/FieldFit.h"
#include "runtime/FixedText.h"
#include "runtime/TextCodec.h"
#include "utilities/CodeStoreRecord.h"

#include <array>
#include <chrono>

namespace kestrix::utilities {

using nlohmann::json;

namespace {

enum Kind : int { TypeKind, SnippetKind, MessageKind, InsertKind };
constexpr std::array<const char*, 4> Sections = {"codeTypes", "snippets", "messages", "inserts"};
constexpr std::array<const char*, 4> KindNames = {"code type", "snippet", "message", "insert"};
constexpr std::array<int, 4> KindKeys = {Cdt::Key, Cds::ByName, message::Mes::ByDescription,
                                         message::Mi::Key};

std::shared_ptr<const runtime::RecordLayout> layoutOf(int kind)
{
    switch (kind) {
    case TypeKind:
        return codeTypeLayout();
    case SnippetKind:
        return snippetLayout();
    case MessageKind:
        return message::messageLayout();
    default:
        return message::messageInsertLayout();
    }
}

runtime::KeyedFile* fileOf(int kind, const ExchangeFiles& files)
{
    switch (kind) {
    case TypeKind:
        return files.types;
    case SnippetKind:
        return files.snippets;
    case MessageKind:
        return files.messages;
    default:
        return files.inserts;
    }
}

std::string jsonName(const runtime::FieldDef& field)
{
    return runtime::lower(field.name);
}

json recordToJson(const runtime::Record& record)
{
    json out = json::object();
    const runtime::RecordLayout& layout = record.layout();
    for (int f = 0; f < static_cast<int>(layout.fields().size()); ++f) {
        const runtime::FieldDef& def = layout.field(f);
        const auto value = [&](int element) -> json {
            if (def.type == runtime::FieldType::String)
                return runtime::cp1252ToUtf8(record.text(f, element));
            return record.number(f, element);
        };
        if (def.dims == 1) {
            out[jsonName(def)] = value(1);
        } else {
            json items = json::array();
            for (int e = 1; e <= def.dims; ++e)
                items.push_back(value(e));
            out[jsonName(def)] = std::move(items);
        }
    }
    return out;
}

// The value into the record, or the sentence that refuses it.
std::string setFromJson(runtime::Record& record, int field, int element, const json& value)
{
    const runtime::RecordLayout& layout = record.layout();
    const runtime::FieldDef& def = layout.field(field);
    const std::string label = runtime::fieldLabel(layout, field, element);
    if (def.type == runtime::FieldType::String) {
        if (!value.is_string())
            return label + " must be a text.";
        const std::string utf8 = value.get<std::string>();
        const std::string text = runtime::utf8ToCp1252(utf8);
        if (runtime::cp1252ToUtf8(text) != utf8)
            return label + " holds a character that Windows-1252 does not have.";
        if (auto refusal = runtime::textDoesNotFit(layout, field, text, element))
            return *refusal;
        record.setText(field, text, element);
        return {};
    }
    if (!value.is_number_integer())
        return label + " must be a whole number.";
    const std::int64_t number =
        value.is_number_unsigned() && value.get<std::uint64_t>() > static_cast<std::uint64_t>(INT64_MAX)
            ? INT64_MAX
            : value.get<std::int64_t>();
    if (auto refusal = runtime::numberDoesNotFit(layout, field, number, element))
        return *refusal;
    record.setNumber(field, number, element);
    return {};
}

std::string recordFromJson(const json& item, runtime::Record& record)
{
    if (!item.is_object())
        return "is not a record.";
    const runtime::RecordLayout& layout = record.layout();
    for (int f = 0; f < static_cast<int>(layout.fields().size()); ++f) {
        const runtime::FieldDef& def = layout.field(f);
        const auto found = item.find(jsonName(def));
        if (found == item.end())
            return "has no \"" + jsonName(def) + "\".";
        if (def.dims == 1) {
            if (std::string refusal = setFromJson(record, f, 1, *found); !refusal.empty())
                return refusal;
            continue;
        }
        if (!found->is_array() || found->size() != static_cast<std::size_t>(def.dims))
            return "\"" + jsonName(def) + "\" must be a list of " + std::to_string(def.dims) + " values.";
        for (int e = 1; e <= def.dims; ++e) {
            if (std::string refusal = setFromJson(record, f, e, (*found)[static_cast<std::size_t>(e - 1)]);
                !refusal.empty())
                return refusal;
        }
    }
    for (const auto& [name, value] : item.items()) {
        if (layout.fieldIndex(runtime::upper(name)) < 0)
            return "has a field \"" + name + "\" that this version does not know.";
    }
    return {};
}

std::string recordLabel(int kind, const runtime::Record& record)
{
    std::string key;
    const runtime::KeyDef& def = record.layout().keys().at(static_cast<std::size_t>(KindKeys[kind]));
    for (const int field : def.fields) {
        if (!key.empty())
            key += " / ";
        key += record.text(field);
    }
    return std::string(KindNames[kind]) + " \"" + key + "\"";
}

bool sameKey(int kind, const runtime::Record& a, const runtime::Record& b)
{
    const runtime::KeyDef& def = a.layout().keys().at(static_cast<std::size_t>(KindKeys[kind]));
    for (const int field : def.fields) {
        if (!runtime::sameTextNoCase(a.text(field), b.text(field)))
            return false;
    }
    return true;
}

std::optional<runtime::Record> findExisting(runtime::KeyedFile& file, int kind, const runtime::Record& record)
{
    runtime::Record found = file.newRecord();
    file.setFrom(KindKeys[kind], record);
    if (file.next(found).ok() && sameKey(kind, record, found))
        return found;
    return std::nullopt;
}

} // namespace

std::string exportText(ExchangeFiles files, ExchangeSelection selection, ExchangeCounts* counts)
{
    json out = json::object();
    out["format"] = ExchangeFormat;
    out["version"] = ExchangeVersion;
    ExchangeCounts n;
    const auto add = [&](int kind, int& count) {
        runtime::KeyedFile* file = fileOf(kind, files);
        json items = json::array();
        if (file) {
            for (const runtime::Record& r : file->readAll(KindKeys[kind]))
                items.push_back(recordToJson(r));
        }
        count = static_cast<int>(items.size());
        out[Sections[static_cast<std::size_t>(kind)]] = std::move(items);
    };
    if (selection.snippets) {
        add(TypeKind, n.types);
        add(SnippetKind, n.snippets);
    }
    if (selection.messages)
        add(MessageKind, n.messages);
    if (selection.inserts)
        add(InsertKind, n.inserts);
    if (counts)
        *counts = n;
    return out.dump(2) + "\n";
}

std::string writeExport(const std::filesystem::path& target, const std::string& text)
{
    if (const runtime::FileError error = runtime::writeFileAtomically(target, text))
        return "The export file cannot be written: " + error.describe() + ". File: " + target.string();
    return {};
}

ImportPlan planImport(const std::string& bytes, ExchangeFiles files)
{
    ImportPlan plan;
    const json parsed = json::parse(bytes, nullptr, false);
    if (parsed.is_discarded() || !parsed.is_object() || parsed.value("format", json()) != ExchangeFormat) {
        plan.error = "The file is not a Kestrix data exchange file; nothing was imported.";
        return plan;
    }
    const json& version = parsed["version"];
    if (!version.is_number_integer() || version.get<std::int64_t>() != ExchangeVersion) {
        plan.error = "The file was written by " +
                     std::string(version.is_number_integer() && version.get<std::int64_t>() > ExchangeVersion
                                     ? "a newer"
                                     : "another") +
                     " version of Kestrix (format version " + version.dump() + ", this one reads " +
                     std::to_string(ExchangeVersion) + "); nothing was imported.";
        return plan;
    }
    for (const auto& [name, value] : parsed.items()) {
        if (name != "format" && name != "version" &&
            std::find(Sections.begin(), Sections.end(), name) == Sections.end()) {
            plan.error = "The file has a section \"" + name +
                         "\" that this version does not know; nothing was imported.";
            return plan;
        }
    }
    for (int kind = TypeKind; kind <= InsertKind; ++kind) {
        const auto section = parsed.find(Sections[static_cast<std::size_t>(kind)]);
        if (section == parsed.end())
            continue;
        const std::string where = std::string("\"") + Sections[static_cast<std::size_t>(kind)] + "\"";
        if (!section->is_array()) {
            plan.error = where + " must be a list; nothing was imported.";
            return plan;
        }
        runtime::KeyedFile* file = fileOf(kind, files);
        if (!section->empty() && !file) {
            plan.error = where + " cannot be imported here; nothing was imported.";
            return plan;
        }
        for (std::size_t i = 0; i < section->size(); ++i) {
            runtime::Record record(layoutOf(kind));
            if (std::string refusal = recordFromJson((*section)[i], record); !refusal.empty()) {
                plan.error = "Entry " + std::to_string(i + 1) + " of " + where + ": " + refusal +
                             " Nothing was imported.";
                return plan;
            }
            if (kind == TypeKind && runtime::isBlank(record.text(Cdt::Type))) {
                plan.error = "Entry " + std::to_string(i + 1) + " of " + where +
                             ": the code type is blank. Nothing was imported.";
                return plan;
            }
            ImportRecord item{kind, record, recordLabel(kind, record), false};
            item.duplicate = kind != TypeKind && findExisting(*file, kind, record).has_value();
            if (item.duplicate && ++plan.duplicates == 1)
                plan.firstDuplicate = item.label;
            plan.records.push_back(std::move(item));
        }
    }
    // A snippet's type comes with it when the file does not list it.
    std::vector<ImportRecord> types;
    for (const ImportRecord& item : plan.records) {
        if (item.kind != SnippetKind)
            continue;
        runtime::Record type(codeTypeLayout());
        type.setText(Cdt::Type, item.record.text(Cds::Type));
        const auto listed = [&](const ImportRecord& other) {
            return other.kind == TypeKind && sameKey(TypeKind, other.record, type);
        };
        if (std::none_of(plan.records.begin(), plan.records.end(), listed) &&
            std::none_of(types.begin(), types.end(), listed))
            types.push_back({TypeKind, type, recordLabel(TypeKind, type), false});
    }
    plan.records.insert(plan.records.begin(), types.begin(), types.end());
    return plan;
}

ImportReport applyImport(const ImportPlan& plan, ExchangeFiles files, DuplicateChoice choice)
{
    ImportReport report;
    if (!plan.error.empty()) {
        report.error = plan.error;
        return report;
    }
    // One transaction per file, one file after the other: the code types share their file with the snippets.
    for (int kind = TypeKind; kind <= InsertKind; ++kind) {
        runtime::KeyedFile* file = fileOf(kind, files);
        if (!file)
            continue;
        ImportReport part;
        if (runtime::FileError error = file->beginTransaction(std::chrono::seconds(2))) {
            report.error = "The file " + file->name() + " cannot be changed now: " + error.describe();
            return report;
        }
        runtime::FileError error;
        for (const ImportRecord& item : plan.records) {
            if (item.kind != kind || error)
                continue;
            runtime::Record record = item.record;
            std::optional<runtime::Record> existing = findExisting(*file, kind, record);
            if (existing && kind == TypeKind)
                continue; // the type is there already: nothing to merge
            if (existing && choice == DuplicateChoice::Skip) {
                ++part.skipped;
                continue;
            }
            if (existing && choice == DuplicateChoice::Replace) {
                runtime::Record changed = *existing;
                const runtime::RecordLayout& layout = changed.layout();
                for (int f = 0; f < static_cast<int>(layout.fields().size()); ++f) {
                    for (int e = 1; e <= layout.field(f).dims; ++e) {
                        if (layout.field(f).type == runtime::FieldType::String)
                            changed.setText(f, record.text(f, e), e);
                        else
                            changed.setNumber(f, record.number(f, e), e);
                    }
                }
                error = file->put(changed);
                if (!error)
                    ++part.replaced;
                continue;
            }
            error = file->add(record);
            if (!error)
                ++part.added;
        }
        if (!error)
            error = file->commit();
        else
            (void)file->rollback(); // the failed write is what the user must hear of
        if (error) {
            report.error = "Importing into " + file->name() + " failed: " + error.describe() +
                           ". Nothing of it was written to that file.";
            return report;
        }
        report.added += part.added;
        report.replaced += part.replaced;
        report.skipped += part.skipped;
    }
    return report;
}

std::string importSummary(const ImportReport& report)
{
    return "added " + std::to_string(report.added) + ", replaced " + std::to_string(report.replaced) +
           ", skipped " + std::to_string(report.skipped);
}

} // namespace kestrix::utilities
