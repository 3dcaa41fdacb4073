#include "app/cli/CliContext.h"

#include "config/ConfigFields.h"
#include "config/ConfigRecord.h"
#include "config/ConfigurationForm.h"
#include "data/DataFileNames.h"
#include "data/DataFileOpener.h"
#include "runtime/TextCodec.h"
#include "runtime/WholeFile.h"

#include <cstdio>
#include <iostream>
#include <sstream>

namespace kestrix::app {

namespace {

bool isUtf8(const std::string& bytes)
{
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        const int extra = c < 0x80           ? 0
                          : (c >> 5) == 0x6  ? 1
                          : (c >> 4) == 0xE  ? 2
                          : (c >> 3) == 0x1E ? 3
                                             : -1;
        if (extra < 0 || i + extra >= bytes.size() + (extra == 0 ? 1 : 0))
            return false;
        for (int k = 1; k <= extra; ++k) {
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80)
                return false;
        }
        i += extra + 1;
    }
    return true;
}

} // namespace

ArgumentText argumentText(const std::string& bytes, const std::string& where)
{
    ArgumentText result;
    if (!isUtf8(bytes)) {
        result.text = bytes;
        return result;
    }
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        const std::string character = bytes.substr(i, length);
        const std::string converted = runtime::utf8ToCp1252(character);
        if (converted == "?" && character != "?") {
            char32_t code = lead & (length == 2 ? 0x1F : length == 3 ? 0x0F : 0x07);
            for (std::size_t k = 1; k < length; ++k)
                code = (code << 6) | (static_cast<unsigned char>(character[k]) & 0x3F);
            char hex[16];
            std::snprintf(hex, sizeof hex, "U+%04X", static_cast<unsigned>(code));
            result.problem = "The character " + character + " (" + hex + ")" +
                             (where.empty() ? "" : " " + where) + " has no place in Windows-1252 text.";
            return result;
        }
        result.text += converted;
        i += length;
    }
    return result;
}

std::string printedClipboardText(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        out += text[i];
    }
    return runtime::cp1252ToUtf8(out) + "\n";
}

std::string tableColumn(std::string text)
{
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 32)
            c = ' ';
    }
    return runtime::cp1252ToUtf8(text);
}

CliContext::CliContext(std::ostream& o, std::ostream& e, std::filesystem::path invokedDirectory)
    : out(o), err(e), dialogs(e), session(dialogs), invokedIn(std::move(invokedDirectory))
{
}

runtime::KeyedFile* CliContext::open(const char* name, std::shared_ptr<const runtime::RecordLayout> layout)
{
    runtime::KeyedFile* file = session.files().acquire(name, std::move(layout));
    if (!file)
        reportUnusable();
    return file;
}

std::unique_ptr<data::DataFileUse> CliContext::use(const char* name,
                                                   std::shared_ptr<const runtime::RecordLayout> layout)
{
    auto held = std::make_unique<data::DataFileUse>(session.files(), name, std::move(layout),
                                                    runtime::Sharing::BriefWhenAlone);
    if (*held)
        return held;
    reportUnusable();
    return nullptr;
}

// The open has shown why the file cannot be used; the command ends as the program halts.
void CliContext::reportUnusable()
{
    err << data::HaltText << '\n';
}

int CliContext::loadConfiguration(const std::vector<std::string>& overrides)
{
    {
        // The record is kept in the session; a command that writes it opens the file again.
        const auto file = use(data::FileName::Configuration, config::configLayout());
        if (!file)
            return ExitFailure;
        session.configuration() = config::readConfiguration(*file->file()).value_or(config::defaultConfig());
    }
    return applyAssignments(session.configuration(), overrides);
}

int CliContext::applyAssignments(runtime::Record& config, const std::vector<std::string>& assignments)
{
    for (const std::string& given : assignments) {
        const auto assignment = argument(given);
        if (!assignment)
            return ExitRefused;
        const auto result = config::applyConfigAssignment(config, *assignment);
        if (result.refusal) {
            dialogs.message(*result.refusal);
            return ExitRefused;
        }
        if (!result.ok) {
            err << runtime::cp1252ToUtf8(result.error) << '\n';
            return ExitRefused;
        }
    }
    return 0;
}

std::optional<std::string> CliContext::argument(const std::string& given)
{
    ArgumentText converted = argumentText(given);
    if (!converted.problem.empty()) {
        err << converted.problem << '\n';
        return std::nullopt;
    }
    return std::move(converted.text);
}

bool CliContext::readRawInput(const std::string& source, std::string& bytes)
{
    if (source == "-") {
        std::stringstream buffer;
        buffer << std::cin.rdbuf();
        bytes = buffer.str();
        return true;
    }
    const std::filesystem::path file = invokedIn / source;
    runtime::FileBytes read = runtime::readWholeFile(file);
    if (read.error) {
        // Only a failed read asks why: the usual file costs one look, not two.
        std::error_code ec;
        err << "Cannot read " << source
            << (std::filesystem::is_directory(file, ec) ? ": it is a directory" : "") << '\n';
        return false;
    }
    bytes = std::move(read.bytes);
    return true;
}

int CliContext::readInput(const std::string& source, std::string& text)
{
    std::string bytes;
    if (!readRawInput(source, bytes))
        return ExitFailure;
    ArgumentText converted = argumentText(bytes, source == "-" ? "on standard input" : "in " + source);
    if (!converted.problem.empty()) {
        err << converted.problem << '\n';
        return ExitRefused;
    }
    text = std::move(converted.text);
    return 0;
}

} // namespace kestrix::app
