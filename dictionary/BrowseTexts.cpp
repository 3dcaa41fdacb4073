#include "dictionary/BrowseTexts.h"

#include "dictionary/DictionaryStore.h"
#include "runtime/FixedText.h"

namespace kestrix::dictionary {

namespace {

constexpr int FilesListVersion = 1;

// dateText is yyyy-mm-dd; the runtime's picture d1 is mm/dd/yy.
std::string shortDate(std::int64_t day)
{
    const std::string iso = dateText(day);
    if (iso.size() != 10)
        return iso;
    return iso.substr(5, 2) + "/" + iso.substr(8, 2) + "/" + iso.substr(2, 2);
}

std::string shortTime(std::int64_t clock)
{
    return timeText(clock).substr(0, 5);
}

} // namespace

std::string filesBrowseTitle(const std::string& store, const runtime::Record& info)
{
    return runtime::clip(store) + " Files (" + shortDate(info.number(Dinfo::ImportDate)) + "-" +
           shortTime(info.number(Dinfo::ImportTime)) + ") " + runtime::clip(info.text(Dinfo::ImportName));
}

std::string updateTip(const runtime::Record& info)
{
    return "Update Dictionary from " + runtime::lower(runtime::clip(info.text(Dinfo::ImportName)));
}

runtime::MessageRequest olderVersionQuestion(const std::string& store, const runtime::Record& info)
{
    runtime::MessageRequest request;
    request.text =
        "The dictionary you are trying to open is not the current version. To view it you will have "
        "to import it again.||Dictionary:\t" +
        runtime::clip(store) + "|Source File:\t" + runtime::clip(info.text(Dinfo::ImportName)) +
        "|Version:\t\t" + runtime::clip(info.text(Dinfo::Version)) +
        "||Would you like to import from Clarion now?";
    request.caption = "Dictionary Not Version 3";
    request.icon = runtime::MessageIcon::Question;
    request.buttons = runtime::Button::Yes | runtime::Button::No;
    return request;
}

std::string missingFileText(const std::string& error)
{
    return "!@# error loading file " + error;
}

runtime::MessageRequest tableOpenMessage(const std::string& error, const std::string& table)
{
    return {"An error occured while opening the below file.||Error: " + error + "|File: " + table,
            "FILE OPEN ERROR", runtime::MessageIcon::Exclamation};
}

std::vector<int> restoreFilesListWidths(const runtime::ListLayoutStore& layouts, std::size_t columns)
{
    std::vector<int> widths(columns, 0);
    const std::string saved =
        layouts.restore(FilesBrowseProcedure, "ListColumnWidths", FilesListVersion).value_or("");
    std::size_t column = 0;
    for (std::size_t at = 0; column < columns && at <= saved.size(); ++column) {
        const std::size_t comma = std::min(saved.find(',', at), saved.size());
        const std::string cell = saved.substr(at, comma - at);
        const bool digits =
            !cell.empty() && cell.size() <= 5 && cell.find_first_not_of("0123456789") == std::string::npos;
        widths[column] = digits ? std::stoi(cell) : 0;
        at = comma + 1;
    }
    return widths;
}

void saveFilesListWidths(const runtime::ListLayoutStore& layouts, const std::vector<int>& widths)
{
    std::string cells;
    for (std::size_t i = 0; i < widths.size(); ++i)
        cells += (i ? "," : "") + std::to_string(std::max(widths[i], 0));
    layouts.save(FilesBrowseProcedure, "ListGroupWidths", FilesListVersion, "");
    layouts.save(FilesBrowseProcedure, "ListColumnWidths", FilesListVersion, cells);
}

} // namespace kestrix::dictionary
