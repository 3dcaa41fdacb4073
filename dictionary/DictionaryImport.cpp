#include "dictionary/DictionaryImport.h"

#include "config/Settings.h"
#include "data/FileErrorMessage.h"
#include "dictionary/AliasSection.h"
#include "dictionary/DictionaryStore.h"
#include "dictionary/FileSection.h"
#include "dictionary/ImportRun.h"
#include "dictionary/LikeResolver.h"
#include "dictionary/RelationSection.h"
#include "dictionary/TextDictionary.h"
#include "runtime/FieldFit.h"
#include "runtime/FixedText.h"
#include "runtime/WinPath.h"

#include <chrono>
#include <filesystem>

namespace kestrix::dictionary {

using runtime::FileError;
using runtime::Record;
using runtime::upper;

namespace {

constexpr int ExportTimeout = 12000; // hundredths of a second

runtime::MessageRequest box(std::string text, std::string caption,
                            runtime::MessageIcon icon = runtime::MessageIcon::Exclamation)
{
    return {std::move(text), std::move(caption), icon, runtime::Button::Ok, runtime::Button::Ok};
}

// Reads the text dictionary into the run: section headers switch the handler the lines go to.
class SectionReader final
{
public:
    explicit SectionReader(ImportRun& run) : m_run(run), m_files(run), m_aliases(run), m_relations(run) {}

    void read(std::string text)
    {
        if (runtime::isBlank(text))
            return;
        const std::string head = text[0] == '[' ? upper(text.substr(0, 7)) : std::string();
        if (head == "[DICTIO") {
            m_section = Section::Header;
        } else if (head == "[FILES]") {
            m_section = Section::Files;
            m_files.start();
        } else if (head == "[ALIASE" || head == "[RELATI" || head == "[VIEWS]") {
            m_section = head == "[ALIASE"   ? Section::Aliases
                        : head == "[RELATI" ? Section::Relations
                                            : Section::Views;
            m_run.show(LoadingText);
        } else if (m_section == Section::Files) {
            m_files.read(std::move(text));
        } else if (m_section == Section::Aliases) {
            m_aliases.read(text);
        } else if (m_section == Section::Relations) {
            m_relations.read(text);
        } // the header and the views are not stored
    }

private:
    enum class Section { None, Header, Files, Aliases, Relations, Views };
    ImportRun& m_run;
    Section m_section = Section::None;
    FileSection m_files;
    AliasSection m_aliases;
    RelationSection m_relations;
};

// The LIKE rows are rewritten before the keys are built, and all inside the transaction that wrote the
// rows: the tree is committed once, whole. The file records follow through their own table.
bool finish(ImportRun& run)
{
    run.show(BuildingText, true);
    runtime::KeyedFile& tree = run.store.tree();
    LikeResolver(run).resolveAll();
    if (run.stopped)
        return false;
    if (const FileError error = tree.rebuildKeys()) {
        run.stopFor(error, "An error occured while building the keys of the Dictionary Tree", tree);
        return false;
    }
    if (const FileError error = tree.flush()) {
        run.stopFor(error, "An error occured while writing the Dictionary Tree", tree);
        return false;
    }
    return run.writeFiles();
}

} // namespace

bool stopBox(runtime::DialogService& dialogs, const std::string& text)
{
    const unsigned pressed = dialogs.message(
        {text + "||Abort ends the import; Ignore goes on.", "STOP", runtime::MessageIcon::Hand,
         runtime::Button::Abort | runtime::Button::Ignore, runtime::Button::Ignore});
    return pressed != runtime::Button::Abort;
}

DictionaryImporter::DictionaryImporter(runtime::DialogService& dialogs, runtime::IniFile programIni,
                                       runtime::DdeClientFactory dde)
    : m_dialogs(dialogs), m_ini(std::move(programIni)), m_dde(std::move(dde))
{
}

std::optional<std::string> DictionaryImporter::chooseSource()
{
    const std::string lastOpen = m_ini.value(config::Ini::PathsSection, "LastOpen");
    std::optional<std::string> chosen = m_dialogs.openFile(
        {"Select Dictionary to Import", "Dictionary (*.DCT)|*.DCT|TXD Dictionary (*.TXD)|*.TXD", lastOpen});
    if (!chosen || chosen->empty())
        return std::nullopt;
    const std::size_t slash = chosen->find_last_of("\\/");
    (void)m_ini.setValue(config::Ini::PathsSection, "LastOpen",
                         slash == std::string::npos ? std::string() : chosen->substr(0, slash));
    return chosen;
}

std::optional<std::string> DictionaryImporter::importNameOf(const std::string& store)
{
    runtime::KeyedFile info(storeNames(store).info, dicInfoLayout());
    if (info.open())
        return std::nullopt;
    Record r = info.newRecord();
    info.setOrder(runtime::KeyedFile::FileOrder);
    if (info.next(r))
        return std::nullopt;
    const std::string name = r.text(Dinfo::ImportName);
    if (runtime::isBlank(name))
        return std::nullopt;
    return name;
}

ImportResult DictionaryImporter::importChosen()
{
    const std::optional<std::string> source = chooseSource();
    if (!source)
        return {};
    return importFrom(*source);
}

ImportResult DictionaryImporter::reimport(const std::string& store)
{
    const std::optional<std::string> source = importNameOf(store);
    if (!source) {
        m_dialogs.message(
            box("The dictionary " + store + " does not name the file it was imported from.", ImportCaption));
        ImportResult result;
        result.store = store;
        return result;
    }
    return importFrom(*source);
}

ImportResult DictionaryImporter::importFrom(const std::string& source)
{
    const auto started = std::chrono::steady_clock::now();
    ImportResult result;
    const StoreName name = storeNameFor(source);
    result.store = name.store;
    m_current = name.store;
    if (const auto tooLong = runtime::textDoesNotFit(*dicInfoLayout(), Dinfo::ImportName, source)) {
        m_dialogs.message(box(*tooLong, ImportCaption));
        return result;
    }
    if (name.periodTrouble && !stopBox(m_dialogs, "bad DCT file name, period trouble: " + name.fileName))
        return result;
    if (m_progress)
        m_progress(LoadingText, 0);

    std::string txd;
    bool temporary = false;
    if (name.extension == "DCT") {
        temporary = true;
        txd = runtime::withoutTrailingBackslashes(runtime::toWinPath(std::filesystem::current_path())) +
              "\\~" + std::to_string(now().time) + ".TXD";
        std::error_code ec;
        std::filesystem::remove(runtime::resolveWinPath(txd), ec);
        std::unique_ptr<runtime::DdeClient> client = m_dde ? m_dde() : nullptr;
        if (!client || !client->connect("ClarionWin", "")) {
            m_dialogs.message(box("Unable to make DDE Connection to CW.|You will have to start CW.",
                                  "CW NOT RUNNING", runtime::MessageIcon::Hand));
            return result;
        }
        client->setTimeout(ExportTimeout);
        const runtime::DdeResult exported =
            client->execute("[ExportDct(" + runtime::clip(source) + "," + txd + ",0)]");
        client->disconnect();
        if (!exported.ok) {
            m_dialogs.message(box("An error occured trying to export a dictionary:||DCT: " + source +
                                      "|TXD: " + txd + "||Error: " + std::to_string(exported.errorNumber) +
                                      " " + exported.errorText,
                                  "DDE ERROR", runtime::MessageIcon::Hand));
            std::filesystem::remove(runtime::resolveWinPath(txd), ec);
            return result;
        }
    } else if (name.extension == "TXD") {
        txd = source;
    } else {
        m_dialogs.message(box("Unknown Dictionary File Type: " + name.extension, ImportCaption));
        return result;
    }
    // The text dictionary is opened before the old store goes: one that cannot be read costs nothing.
    TxdReader reader(txd);
    // Closed first: Windows removes no file that is still open.
    const auto removeTemporary = [&] {
        if (temporary) {
            reader.close();
            std::error_code ec;
            std::filesystem::remove(runtime::resolveWinPath(txd), ec);
        }
    };
    if (!reader.isOpen()) {
        const FileError error = runtime::winPathExists(txd) ? FileError::of(runtime::ErrorCode::AccessDenied)
                                                            : FileError::of(runtime::ErrorCode::FileNotFound);
        m_dialogs.message(
            box("An error occured opening the TXD file:||Error: " + error.text() + "|File: " + txd,
                "OPEN FILE ERROR"));
        removeTemporary();
        return result;
    }

    ImportRun run(m_dialogs, m_progress, name.store, reader, result);
    if (const FileError error = run.store.removeContainer()) {
        m_dialogs.message(
            box("An error occured while deleting the old Dictionary Files. You must close all windows "
                "accessing the Dictionary before importing.||Error: " +
                    error.text() + "|File: " + name.store,
                "FILE CREATE ERROR"));
        removeTemporary();
        return result;
    }
    std::string failing;
    FileError error = run.store.create(failing);
    if (!error)
        error = run.store.openAll(failing);
    if (error) {
        m_dialogs.message(
            box("An error occured while creating the Dictionary Files. You must close all windows "
                "accessing the Dictionary before importing.||Error: " +
                    error.text() + "|File: " + failing,
                "FILE CREATE ERROR"));
        run.store.close();
        removeTemporary();
        return result;
    }
    Record info = run.store.info().newRecord();
    const Moment when = now();
    info.setText(Dinfo::Version, CurrentStoreVersion);
    info.setText(Dinfo::ImportName, source);
    info.setNumber(Dinfo::ImportDate, when.date);
    info.setNumber(Dinfo::ImportTime, when.time);
    if (const FileError added = run.store.info().add(info))
        run.stopFor(added, "An error occured while adding the Dictionary Information", run.store.info());
    run.store.info().close();
    // The tree is written without its keys and in one transaction; the keys are built once at the end.
    if (!run.stopped) {
        if (const FileError dropped = run.store.tree().dropKeys())
            run.stopFor(dropped, "An error occured while preparing the Dictionary Tree", run.store.tree());
        else if (const FileError cache = run.store.tree().setPageCache(ImportPageCacheKib))
            run.stopFor(cache, "An error occured while preparing the Dictionary Tree", run.store.tree());
        else if (const FileError streaming = run.store.tree().stream())
            run.stopFor(streaming, "An error occured while writing the Dictionary Tree", run.store.tree());
    }

    std::string text;
    bool cancelled = false;
    std::size_t lines = 0;
    SectionReader sections(run);
    while (!run.stopped && reader.next(text)) {
        run.line = reader.lineNumber();
        sections.read(std::move(text));
        if (m_cancelled && (++lines & 255) == 0 && m_cancelled()) {
            cancelled = true;
            break;
        }
    }
    if (!cancelled && m_cancelled && m_cancelled())
        cancelled = true;
    if (!run.stopped && !cancelled)
        result.completed = finish(run);
    run.store.close();
    if (cancelled) {
        (void)run.store.removeContainer();
        m_dialogs.message(
            box("The import was cancelled; the dictionary store " + name.store + " has been removed.",
                ImportCaption));
        result.completed = false;
    }
    if (result.completed && !reader.cutLines().empty()) {
        std::string numbers;
        for (std::size_t i = 0; i < reader.cutLines().size() && i < 10; ++i)
            numbers += (i ? ", " : "") + std::to_string(reader.cutLines()[i]);
        if (reader.cutLines().size() > 10)
            numbers += ", ...";
        m_dialogs.message(box(std::to_string(reader.cutLines().size()) + " line(s) of " + txd +
                                  " are longer than " + std::to_string(TxdLineLength) +
                                  " characters and were read only up to that length: line " + numbers + ".",
                              "LINES READ IN PART"));
    }
    if (const std::string cut = run.cutReport(); result.completed && !cut.empty())
        m_dialogs.message(box(cut, "VALUES STORED IN PART"));
    removeTemporary();
    result.milliseconds =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started)
            .count();
    return result;
}

} // namespace kestrix::dictionary
