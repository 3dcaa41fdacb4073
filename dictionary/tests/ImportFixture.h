#pragma once

#include "dictionary/DictionaryImport.h"
#include "dictionary/DictionaryStore.h"
#include "runtime/FixedText.h"
#include "runtime/IniFile.h"
#include "runtime/testing/ScriptedDde.h"
#include "runtime/testing/ScriptedDialogs.h"
#include "runtime/testing/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace kestrix::dictionary::testing {

inline const std::string SampleDictionary =
    std::string(KESTRIX_SOURCE_DIR) + "/samples/dictionaries/SHOP.TXD";

// A data directory as the current one, with the dialogs and the IDE played by the test.
struct ImportFixture
{
    runtime::testing::TempDir dir;
    runtime::testing::ScriptedDialogs dialogs;
    runtime::testing::ScriptedDdeServer ide;
    runtime::IniFile ini{dir.path() / "KTX4.INI"};
    DictionaryImporter importer{dialogs, ini, ide.factory()};

    std::string write(const std::string& name, const std::string& text)
    {
        std::ofstream(dir.path() / name, std::ios::binary) << text;
        return (dir.path() / name).string();
    }
    ImportResult import(const std::string& path) { return importer.importFrom(path); }

    struct Row
    {
        std::int64_t fileId;
        std::string type;
        std::int64_t seq;
        std::int64_t level;
        std::string field;
        std::string notes;
    };
    static std::vector<Row> rows(DictionaryStore& store, std::int64_t fileId, const std::string& type)
    {
        std::vector<Row> found;
        for (const runtime::Record& r : store.treeOf(fileId)) {
            if (runtime::sameText(r.text(Dtr::Type), type))
                found.push_back({r.number(Dtr::FileId), r.text(Dtr::Type), r.number(Dtr::Seq),
                                 r.number(Dtr::Level), r.text(Dtr::Name), r.text(Dtr::Notes)});
        }
        return found;
    }
    static std::string notesOf(DictionaryStore& store, std::int64_t fileId, const std::string& field)
    {
        runtime::Record r = store.tree().newRecord();
        return store.findRow(field, fileId, RowType::Field, r) ? r.text(Dtr::Notes) : "<missing>";
    }
};

} // namespace kestrix::dictionary::testing
