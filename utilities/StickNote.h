#pragma once

#include "runtime/DialogService.h"
#include "runtime/KeyedFile.h"
#include "runtime/MenuItem.h"
#include "runtime/Record.h"

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

// The Stick Note: a scratch pad whose look starts from the configuration
// record and goes back to it when changed, and whose text is kept in a file of
// the data directory so that a note closed by mistake comes back.
namespace kestrix::utilities {

constexpr std::size_t NoteMaxLength = 3000;

// CFG:NOTE:BARS: which scroll bars the note shows.
enum class NoteBars : int { None = 0, Both = 1, Horizontal = 2, Vertical = 3 };

// The background of colour choice 1 to 8 (0x00BBGGRR); choice 6 for anything else.
std::int32_t noteColor(int choice);
// "Green|Lime|...": ids are the choices.
std::vector<runtime::MenuItem> noteColorMenu();

// The window's title for the note's text (Windows-1252).
std::string noteTitle(const std::string& text);

struct NoteSettings final
{
    NoteBars bars = NoteBars::Both;
    int color = 6;
    runtime::FontSpec font; // name "Default": the window's own font
    bool useFont() const;   // false for "Default"

    static NoteSettings from(const runtime::Record& config);
    // Writes the settings into a configuration record; true when anything changed.
    bool storeIn(runtime::Record& config) const;
};

// Writes changed settings into the configuration file's record and the program's buffer, so the
// next note starts the same way. False after the user was told why the file refused it.
bool storeNoteSettings(runtime::KeyedFile& configFile, runtime::Record& buffer, const NoteSettings& settings,
                       runtime::DialogService& dialogs);

// A refused text, for the box to keep what it had.
std::optional<runtime::MessageRequest> refuseNoteText(const std::string& text);

struct OpenedNote final
{
    int number = 0;
    std::string text;
    // Notes that could not be read: each is left as it is, and said so.
    std::vector<runtime::MessageRequest> problems;
};

// The notes kept in one folder ("Notes\Note<n>.txt"), and which are open in this program.
class NoteBook final
{
public:
    explicit NoteBook(std::filesystem::path folder) : m_folder(std::move(folder)) {}

    // The lowest-numbered kept note that is not open, or a new empty one.
    OpenedNote open();
    // Writes the text (an empty note leaves no file); the message when it could not be written.
    std::optional<runtime::MessageRequest> save(int number, const std::string& text) const;
    // The note's window went: its number may be opened again.
    void close(int number);
    std::filesystem::path fileOf(int number) const;
    std::set<int> openNumbers() const;

private:
    std::filesystem::path m_folder;
    mutable std::mutex m_mutex;
    std::set<int> m_open;
    std::set<int> m_unreadable; // left alone for the rest of the run
};

constexpr const char* NoteFolder = "Notes";

} // namespace kestrix::utilities
