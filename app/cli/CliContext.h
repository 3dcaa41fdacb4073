#pragma once

#include "app/cli/ConsoleDialogs.h"
#include "config/Session.h"
#include "data/DataFileRegistry.h"

#include <filesystem>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// What every ktx command works with: the streams, the session in the data
// directory, and the configuration with this run's --set overrides.
namespace kestrix::app {

constexpr int ExitFailure = 1;
constexpr int ExitRefused = 2;

class CliContext final
{
public:
    // `invokedIn`: the directory ktx was started in, against which file arguments resolve.
    CliContext(std::ostream& out, std::ostream& err, std::filesystem::path invokedIn);

    std::ostream& out;
    std::ostream& err;
    ConsoleDialogs dialogs;
    config::Session session;
    std::filesystem::path invokedIn;

    // Opens a data file as the windows do; nullptr (and "Disk Error" on stderr) when it cannot be used.
    runtime::KeyedFile* open(const char* name, std::shared_ptr<const runtime::RecordLayout> layout);
    // The same for a short use, a few reads and perhaps one save: the file is closed again when the use
    // ends (unless the command holds it too), so a command keeps open only the files it still works with,
    // and while no other program has it open the use takes it alone (runtime::Sharing::BriefWhenAlone).
    // nullptr (and "Disk Error") as above.
    std::unique_ptr<data::DataFileUse> use(const char* name,
                                           std::shared_ptr<const runtime::RecordLayout> layout);
    // Reads the configuration (defaults when there is none) and applies NAME=VALUE overrides
    // for this run. Returns 0, or the exit code after telling why.
    int loadConfiguration(const std::vector<std::string>& overrides);
    // Applies NAME=VALUE assignments with the Configuration window's checks; 0 or the exit code.
    int applyAssignments(runtime::Record& config, const std::vector<std::string>& assignments);
    // A file's text, or standard input for "-", as the program's own text: UTF-8 becomes Windows-1252,
    // other bytes are Windows-1252 already. Returns 0, or the exit code after saying why: the file
    // cannot be read, or it holds a character Windows-1252 does not have (named with the file).
    int readInput(const std::string& source, std::string& text);
    // The bytes as they stand.
    bool readRawInput(const std::string& source, std::string& bytes);
    // An argument as the program's text; nothing (after saying which character) when it holds
    // a character Windows-1252 does not have.
    std::optional<std::string> argument(const std::string& given);

private:
    void reportUnusable();
};

struct ArgumentText final
{
    std::string text;    // Windows-1252
    std::string problem; // names the character that has no Windows-1252 form; empty when none
};
// UTF-8 becomes Windows-1252 when every character has a place in it; bytes that are not
// UTF-8 are taken as Windows-1252 already. `where` ("in FILE") is named in the problem.
ArgumentText argumentText(const std::string& bytes, const std::string& where = {});
// Text handed to the clipboard as a command prints it: each CR LF one line feed, in UTF-8, and a line
// feed at the end.
std::string printedClipboardText(const std::string& text);
// A field of a tab-separated output line, in UTF-8: control characters become blanks so the columns hold.
std::string tableColumn(std::string text);

} // namespace kestrix::app
