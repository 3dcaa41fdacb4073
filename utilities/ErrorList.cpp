#include "utilities/ErrorList.h"

#include "runtime/FieldFit.h"
#include "runtime/FixedText.h"

#include <algorithm>
#include <charconv>

namespace kestrix::utilities {

namespace {

std::vector<std::string> splitFields(const std::string& text, char separator)
{
    std::vector<std::string> out;
    std::size_t start = 0;
    while (true) {
        const std::size_t at = text.find(separator, start);
        out.emplace_back(runtime::trim(text.substr(start, at - start)));
        if (at == std::string::npos)
            return out;
        start = at + 1;
    }
}

bool readNumber(const std::string& text, long low, long high, int& value)
{
    long n = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty() || n < low || n > high)
        return false;
    value = static_cast<int>(n);
    return true;
}

std::string parseError(const std::string& body, const runtime::RecordLayout& layout, ErrorEntry& entry)
{
    const std::vector<std::string> f = splitFields(body, '|');
    if (f.size() != 4)
        return "expected code|equate|description|note";
    if (!readNumber(f[0], -32768, 32767, entry.code))
        return "the code " + f[0] + " is not a number of ERR:CODE";
    if (f[1].empty())
        return "the error has no equate";
    for (auto [field, value] :
         {std::pair{Err::Equate, &f[1]}, {Err::Description, &f[2]}, {Err::Notes, &f[3]}}) {
        if (auto problem = runtime::textDoesNotFit(layout, field, *value))
            return *problem;
    }
    entry.equate = f[1];
    entry.description = f[2];
    entry.notes = f[3];
    return {};
}

std::string parseCategory(const std::string& body, const runtime::RecordLayout& layout,
                          ErrorCategory& category)
{
    const std::vector<std::string> f = splitFields(body, '|');
    if (f.size() != 4)
        return "expected name|level|contracted|codes";
    if (f[0].empty())
        return "the category has no name";
    if (auto problem = runtime::textDoesNotFit(layout, ErCat::Name, f[0]))
        return *problem;
    int contracted = 0;
    if (!readNumber(f[1], 1, 255, category.level))
        return "the level " + f[1] + " is not 1 to 255";
    if (!readNumber(f[2], 0, 1, contracted))
        return "the contracted flag " + f[2] + " is not 0 or 1";
    category.name = f[0];
    category.contracted = contracted != 0;
    if (!f[3].empty()) {
        for (const std::string& item : splitFields(f[3], ',')) {
            int code = 0;
            if (!readNumber(item, -32768, 32767, code))
                return "the code " + item + " is not a number";
            category.errors.push_back(code);
        }
    }
    if (category.errors.size() > static_cast<std::size_t>(ErCat::MaxErrors))
        return "ERCAT:ERRORS holds at most " + std::to_string(ErCat::MaxErrors) + " codes, not " +
               std::to_string(category.errors.size()) + ".";
    return {};
}

} // namespace

std::shared_ptr<const runtime::RecordLayout> errorLayout()
{
    static const std::shared_ptr<const runtime::RecordLayout> layout = [] {
        auto l = std::make_shared<runtime::RecordLayout>("ERR");
        l->addNumber("CODE", runtime::FieldType::Short);
        l->addString("DESCRIPTION", Err::DescriptionSize);
        l->addString("EQUATE", Err::EquateSize);
        l->addString("NOTES", Err::NotesSize);
        l->addKey("BYCODE", {Err::Code}, true, true, false);
        return l;
    }();
    return layout;
}

std::shared_ptr<const runtime::RecordLayout> errorCategoryLayout()
{
    static const std::shared_ptr<const runtime::RecordLayout> layout = [] {
        auto l = std::make_shared<runtime::RecordLayout>("ERCAT");
        l->addString("NAME", ErCat::NameSize);
        l->addNumber("LEVEL", runtime::FieldType::Byte);
        l->addNumber("LOWERFLAG", runtime::FieldType::Byte);
        l->addNumber("COUNT", runtime::FieldType::Byte);
        l->addNumber("ERRORS", runtime::FieldType::Short, ErCat::MaxErrors);
        return l;
    }();
    return layout;
}

ErrorSource parseErrorSource(const std::vector<std::string>& lines)
{
    ErrorSource source;
    const auto errors = errorLayout();
    const auto categories = errorCategoryLayout();
    std::vector<int> seen;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const std::string& line = lines[n];
        if (line.empty() || line[0] == ';' || line[0] == ' ' || line[0] == '\t')
            continue;
        const std::string where = "line " + std::to_string(n + 1) + ": ";
        const std::string head = runtime::upper(line.substr(0, line.find('=') + 1));
        std::string problem;
        if (head == "ERROR=") {
            ErrorEntry entry;
            problem = parseError(line.substr(6), *errors, entry);
            if (problem.empty()) {
                for (const ErrorEntry& earlier : source.errors) {
                    if (earlier.code == entry.code)
                        problem = "the code " + std::to_string(entry.code) + " is listed twice";
                }
            }
            if (problem.empty())
                source.errors.push_back(std::move(entry));
        } else if (head == "CATEGORY=") {
            ErrorCategory category;
            problem = parseCategory(line.substr(9), *categories, category);
            if (problem.empty())
                source.categories.push_back(std::move(category));
        } else {
            problem = "neither ERROR= nor CATEGORY=";
        }
        if (!problem.empty())
            source.problems.push_back(where + problem);
    }
    return source;
}

runtime::FileError buildErrorFile(runtime::KeyedFile& errors, runtime::KeyedFile& categories,
                                  const ErrorSource& source)
{
    const auto fill = [](runtime::KeyedFile& file, const auto& items, const auto& toRecord) {
        if (runtime::FileError e = file.stream())
            return e;
        runtime::FileError failed = file.empty();
        for (const auto& item : items) {
            if (failed)
                break;
            runtime::Record r = file.newRecord();
            toRecord(item, r);
            failed = file.add(r);
        }
        if (failed) {
            (void)file.rollback(); // the add's error is the one to report
            return failed;
        }
        return file.flush();
    };
    if (runtime::FileError e = fill(errors, source.errors, [](const ErrorEntry& entry, runtime::Record& r) {
            r.setNumber(Err::Code, entry.code);
            r.setText(Err::Equate, entry.equate);
            r.setText(Err::Description, entry.description);
            r.setText(Err::Notes, entry.notes);
        }))
        return e;
    return fill(categories, source.categories, [](const ErrorCategory& category, runtime::Record& r) {
        r.setText(ErCat::Name, category.name);
        r.setNumber(ErCat::Level, category.level);
        r.setNumber(ErCat::LowerFlag, category.contracted ? 1 : 0);
        r.setNumber(ErCat::Count, static_cast<long>(category.errors.size()));
        for (std::size_t k = 0; k < category.errors.size(); ++k)
            r.setNumber(ErCat::Errors, category.errors[k], static_cast<int>(k + 1));
    });
}

namespace {

runtime::FileError readRecords(runtime::KeyedFile& file, int key, std::vector<runtime::Record>& rows)
{
    runtime::Record r = file.newRecord();
    file.setOrder(key);
    while (true) {
        const runtime::FileError e = file.next(r);
        if (e.code == runtime::ErrorCode::RecordNotAvailable)
            return runtime::FileError::none(); // the end of the file
        if (e)
            return e;
        rows.push_back(r);
    }
}

} // namespace

runtime::FileError readCategories(runtime::KeyedFile& categories, std::vector<ErrorCategory>& out)
{
    std::vector<runtime::Record> rows;
    const runtime::FileError error = readRecords(categories, runtime::KeyedFile::FileOrder, rows);
    for (const runtime::Record& r : rows) {
        ErrorCategory c;
        c.name = r.text(ErCat::Name);
        c.level = static_cast<int>(r.number(ErCat::Level));
        c.contracted = r.number(ErCat::LowerFlag) == 1;
        const auto count = std::min<std::int64_t>(r.number(ErCat::Count), ErCat::MaxErrors);
        for (int k = 1; k <= count; ++k)
            c.errors.push_back(static_cast<int>(r.number(ErCat::Errors, k)));
        out.push_back(std::move(c));
    }
    return error;
}

runtime::FileError readErrors(runtime::KeyedFile& errors, std::vector<ErrorEntry>& out)
{
    std::vector<runtime::Record> rows;
    const runtime::FileError error = readRecords(errors, Err::ByCode, rows);
    for (const runtime::Record& r : rows)
        out.push_back({static_cast<int>(r.number(Err::Code)), r.text(Err::Equate), r.text(Err::Description),
                       r.text(Err::Notes)});
    return error;
}

} // namespace kestrix::utilities
