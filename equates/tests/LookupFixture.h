#pragma once

#include "equates/EquateRecord.h"
#include "equates/PopupLoader.h"
#include "equates/PopupRecord.h"
#include "runtime/testing/RequireOk.h"
#include "runtime/testing/ScriptedDialogs.h"
#include "runtime/testing/TempDir.h"

#include <cstdint>
#include <string>
#include <vector>

// An equates file and a popup file of a few records, for the lookup tools' tests.
namespace kestrix::equates::testing {

struct EquateSpec
{
    std::string type;
    std::string searchName;
    std::string name;
    std::int64_t value = 0;
    std::int64_t loadSeq = 0;
    std::string equate;
};

inline std::string popupLine(const std::string& item, const std::string& data)
{
    return item + std::string(PopItemColumns - item.size(), ' ') + data;
}

struct LookupFiles
{
    runtime::testing::TempDir dir;
    runtime::testing::ScriptedDialogs dialogs;
    runtime::KeyedFile equates{"Equates5.tps", equateLayout()};
    runtime::KeyedFile popups{"Config\\!PopData", popupLayout()};

    LookupFiles()
    {
        runtime::testing::requireOk(equates.create(), "equates.create()");
        runtime::testing::requireOk(equates.open(), "equates.open()");
        runtime::testing::requireOk(popups.create(), "popups.create()");
        runtime::testing::requireOk(popups.open(), "popups.open()");
    }

    void add(const EquateSpec& spec)
    {
        runtime::Record r = equates.newRecord();
        r.setText(Equ::Type, spec.type);
        r.setText(Equ::SearchName, spec.searchName);
        r.setText(Equ::Name, spec.name);
        r.setText(Equ::Equate, spec.equate.empty() ? std::to_string(spec.value) : spec.equate);
        r.setNumber(Equ::Long, spec.value);
        r.setNumber(Equ::LoadSeq, spec.loadSeq);
        runtime::testing::requireOk(equates.add(r), "equates.add()");
    }
    void addType(const std::string& type) { add({"Z-Type", type, type, 0, 0, " "}); }

    void loadPopups(const std::vector<std::string>& lines)
    {
        PopupLoader loader(popups, dialogs);
        if (!loader.loadLines(lines))
            throw std::runtime_error("popup lines not loaded");
    }
};

} // namespace kestrix::equates::testing
