#pragma once

#include <filesystem>
#include <string_view>

// A fresh temporary folder that is the current directory while the object lives (in a child of a
// test, the parent's, left in place).
namespace kestrix::runtime::testing {

class TempDir final
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
    std::filesystem::path m_previous;
};

// Writes `text` to `file`, making its folders first.
void writeTestFile(const std::filesystem::path& file, std::string_view text = "x");

} // namespace kestrix::runtime::testing
