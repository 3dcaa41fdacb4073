#include "utilities/StickNote.h"

#include "config/ConfigRecord.h"
#include "config/ConfigurationForm.h"
#include "data/FileErrorMessage.h"
#include "data/RecordWriter.h"
#include "runtime/AtomicFile.h"
#include "runtime/FixedText.h"
#include "runtime/TextCodec.h"

#include <fstream>
#include <system_error>

namespace kestrix::utilities {

namespace {

constexpr std::int32_t Colors[config::NoteColorCount] = {0x80FFFF, 0x00FF00, 0xFFFF00, 0xFFFF80,
                                                         0xFF00FF, 0x00FFFF, 0xC0C0C0, 0xFFFFFF};
constexpr int DefaultColor = 6;
constexpr const char* NoteCaption = "STICK NOTE";

runtime::MessageRequest notice(std::string text, const char* caption = NoteCaption)
{
    runtime::MessageRequest request;
    request.text = std::move(text);
    request.caption = caption;
    request.icon = runtime::MessageIcon::Exclamation;
    return request;
}

std::string shown(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return runtime::utf8ToCp1252(std::string(text.begin(), text.end()));
}

} // namespace

std::int32_t noteColor(int choice)
{
    return Colors[(choice >= 1 && choice <= config::NoteColorCount ? choice : DefaultColor) - 1];
}

std::vector<runtime::MenuItem> noteColorMenu()
{
    std::vector<runtime::MenuItem> items;
    for (int i = 1; i <= config::NoteColorCount; ++i)
        items.push_back({i, config::noteColorName(i), true});
    return items;
}

std::string noteTitle(const std::string& text)
{
    std::string head = runtime::fitted(runtime::ltrim(text.substr(0, 100)), 32);
    for (char& c : head) {
        if (static_cast<unsigned char>(c) < 32)
            c = ' ';
    }
    if (runtime::isBlank(head))
        return "Stick Note";
    head.resize(20, ' ');
    return head + " - Stick Note";
}

bool NoteSettings::useFont() const
{
    return config::hasCustomFont(font);
}

NoteSettings NoteSettings::from(const runtime::Record& config)
{
    NoteSettings s;
    const auto bars = config.number(config::Cfg::NoteBars);
    s.bars = bars >= 0 && bars <= 3 ? static_cast<NoteBars>(bars) : NoteBars::Both;
    const auto color = config.number(config::Cfg::NoteColor);
    s.color = color >= 1 && color <= config::NoteColorCount ? static_cast<int>(color) : DefaultColor;
    s.font = config::noteFont(config);
    return s;
}

bool NoteSettings::storeIn(runtime::Record& config) const
{
    const runtime::Record before = config;
    config.setNumber(config::Cfg::NoteBars, static_cast<int>(bars));
    config.setNumber(config::Cfg::NoteColor, color);
    config::setNoteFont(config, font);
    return !config.sameValues(before);
}

bool storeNoteSettings(runtime::KeyedFile& configFile, runtime::Record& buffer, const NoteSettings& settings,
                       runtime::DialogService& dialogs)
{
    // The record as it is now in the file: other settings changed since start-up stay as they are.
    if (auto record = config::readConfiguration(configFile); record && settings.storeIn(*record)) {
        if (!data::writeRecord(configFile, *record, data::WriteOperation::Update, dialogs))
            return false;
    }
    settings.storeIn(buffer);
    return true;
}

std::optional<runtime::MessageRequest> refuseNoteText(const std::string& text)
{
    if (text.size() <= NoteMaxLength)
        return std::nullopt;
    return notice("A note holds at most 3,000 characters; this text has " + std::to_string(text.size()) +
                  ".|The note keeps what it had.");
}

std::filesystem::path NoteBook::fileOf(int number) const
{
    return m_folder / ("Note" + std::to_string(number) + ".txt");
}

std::set<int> NoteBook::openNumbers() const
{
    const std::lock_guard lock(m_mutex);
    return m_open;
}

OpenedNote NoteBook::open()
{
    const std::lock_guard lock(m_mutex);
    OpenedNote note;
    std::set<int> kept;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(m_folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() > 8 && name.rfind("Note", 0) == 0 && name.substr(name.size() - 4) == ".txt") {
            const std::string digits = name.substr(4, name.size() - 8);
            if (!digits.empty() && digits.size() < 6 &&
                digits.find_first_not_of("0123456789") == std::string::npos)
                kept.insert(std::stoi(digits));
        }
    }
    for (int number : kept) {
        if (m_open.count(number) || m_unreadable.count(number))
            continue;
        const std::filesystem::path path = fileOf(number);
        std::string text;
        std::error_code fileError;
        bool read = std::filesystem::is_regular_file(path, fileError);
        const auto size = read ? std::filesystem::file_size(path, fileError) : 0;
        if (read && !fileError && size <= NoteMaxLength) {
            std::ifstream in(path, std::ios::binary);
            text.resize(size);
            read = in && in.read(text.data(), static_cast<std::streamsize>(size)) &&
                   in.gcount() == static_cast<std::streamsize>(size);
        }
        if (!read || fileError) {
            m_unreadable.insert(number);
            note.problems.push_back(
                notice("The note kept in " + shown(path) + " cannot be read.|It is left as it is."));
            continue;
        }
        if (size > NoteMaxLength) {
            m_unreadable.insert(number);
            note.problems.push_back(
                notice("The note kept in " + shown(path) + " holds " + std::to_string(size) +
                       " characters, more than a note holds (3,000).|It is left as it is."));
            continue;
        }
        note.number = number;
        note.text = std::move(text);
        m_open.insert(number);
        return note;
    }
    int number = 1;
    while (m_open.count(number) || kept.count(number))
        ++number;
    note.number = number;
    m_open.insert(number);
    return note;
}

std::optional<runtime::MessageRequest> NoteBook::save(int number, const std::string& text) const
{
    const std::filesystem::path path = fileOf(number);
    std::error_code ec;
    if (text.empty()) {
        std::filesystem::remove(path, ec);
        if (ec)
            return notice("The empty note's file " + shown(path) + " cannot be removed: " + ec.message(),
                          "FILE ERROR");
        return std::nullopt;
    }
    std::filesystem::create_directories(m_folder, ec);
    if (const runtime::FileError error = runtime::writeFileAtomically(path, text))
        return data::fileErrorMessage("FILE ERROR", "The note could not be kept", shown(path), error);
    return std::nullopt;
}

void NoteBook::close(int number)
{
    const std::lock_guard lock(m_mutex);
    m_open.erase(number);
}

} // namespace kestrix::utilities
