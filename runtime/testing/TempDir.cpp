#include "runtime/testing/TempDir.h"

#include "runtime/testing/ChildProcesses.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <random>
#include <string>

namespace fs = std::filesystem;

namespace kestrix::runtime::testing {

TempDir::TempDir()
{
    m_previous = fs::current_path();
    if (inChild()) {
        // A child works in its parent's folder, the current directory it started in.
        m_path = m_previous;
        return;
    }
    static std::atomic<int> counter{0};
    std::random_device rd;
    const auto stamp = std::to_string(rd()) + "-" + std::to_string(counter++);
    m_path = fs::temp_directory_path() / ("kestrix-test-" + stamp);
    fs::create_directories(m_path);
    fs::current_path(m_path);
}

TempDir::~TempDir()
{
    std::error_code ec;
    fs::current_path(m_previous, ec);
    if (m_path == m_previous)
        return;
    fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(m_path, ec);
}

void writeTestFile(const fs::path& file, std::string_view text)
{
    if (file.has_parent_path())
        fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

} // namespace kestrix::runtime::testing
