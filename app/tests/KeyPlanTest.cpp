// A GET must find its record through the key's index: a scan of the whole table
// costs a second per few hundred lookups on a real equates file.
#include "config/ConfigRecord.h"
#include "equates/EquateRecord.h"
#include "equates/PopupRecord.h"
#include "equates/TipsFile.h"
#include "message/MessageInsertRecord.h"
#include "message/MessageRecord.h"
#include "runtime/KeyedFile.h"
#include "runtime/testing/TempDir.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>

using namespace kestrix;

namespace {

std::string queryPlan(const std::string& file, const std::string& sql)
{
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    sqlite3_stmt* stmt = nullptr;
    std::string plan;
    if (sqlite3_prepare_v2(db, ("EXPLAIN QUERY PLAN " + sql).c_str(), -1, &stmt, nullptr) == SQLITE_OK) {
        while (sqlite3_step(stmt) == SQLITE_ROW)
            plan += std::string(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 3))) + "\n";
    } else {
        plan = std::string("cannot prepare: ") + sqlite3_errmsg(db);
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return plan;
}

} // namespace

TEST(KeyPlan, AGetOnEveryKeyOfEveryRecordSearchesTheKeysIndex)
{
    runtime::testing::TempDir dir;
    const std::pair<const char*, std::shared_ptr<const runtime::RecordLayout>> files[] = {
        {"Equates5.tps", equates::equateLayout()},
        {"Config\\!PopData", equates::popupLayout()},
        {"Tips5", equates::tipLayout()},
        {"MESSAGE", message::messageLayout()},
        {"MSGINSER", message::messageInsertLayout()},
        {"config5.tps", config::configLayout()},
    };
    int checked = 0;
    for (const auto& [name, layout] : files) {
        runtime::KeyedFile file(name, layout);
        ASSERT_TRUE(file.create().ok()) << name;
        const runtime::DataFileName parts = runtime::splitDataFileName(name);
        const runtime::KeyedSchema schema(parts.table, layout);
        for (std::size_t k = 0; k < layout->keys().size(); ++k) {
            const std::string plan = queryPlan(parts.fileName, schema.getSql(static_cast<int>(k)));
            const std::string index = parts.table + "_" + layout->keys()[k].name;
            EXPECT_EQ(plan.rfind("SEARCH ", 0), 0u) << name << " key " << layout->keys()[k].name << ":\n"
                                                    << plan;
            EXPECT_NE(plan.find("INDEX " + index + " ("), std::string::npos)
                << name << " key " << layout->keys()[k].name << ":\n"
                << plan;
            EXPECT_EQ(plan.find("SCAN"), std::string::npos) << plan;
            ++checked;
        }
    }
    EXPECT_GE(checked, 8); // the configuration record has no key; the others have one or more each
}
