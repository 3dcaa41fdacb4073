#pragma once

#include <filesystem>
#include <string>

// Tests that set a keyed file up as another program would: plain SQL on the file,
// outside the keyed-file layer.
namespace kestrix::runtime::testing {

// Runs `statements` on `file`; SQLite's error text, empty when all of them ran.
std::string runForeignSql(const std::filesystem::path& file, const std::string& statements);

} // namespace kestrix::runtime::testing
