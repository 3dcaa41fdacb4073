#pragma once

#include "runtime/IniFile.h"

#include <optional>
#include <string>

// Where each window was: entries "Maximize", "XPosit", "YPosit", "Width" and
// "Height" in a section named after the window's procedure.
namespace kestrix::runtime {

struct WindowPosition final
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool maximized = false;
    bool operator==(const WindowPosition&) const = default;
};

class WindowPositionStore final
{
public:
    explicit WindowPositionStore(IniFile ini) : m_ini(std::move(ini)) {}
    const IniFile& ini() const { return m_ini; }

    // Empty when the section holds no "XPosit", the sign that nothing was stored.
    std::optional<WindowPosition> restore(const std::string& procedure) const;
    void save(const std::string& procedure, const WindowPosition& position) const;

private:
    IniFile m_ini;
};

// Column widths of a browse, kept only while the window's layout version is unchanged.
class ListLayoutStore final
{
public:
    explicit ListLayoutStore(IniFile ini) : m_ini(std::move(ini)) {}

    // Widths as stored ("120,80,40"); empty when missing or of another version.
    std::optional<std::string> restore(const std::string& browse, const std::string& entry,
                                       int version) const;
    void save(const std::string& browse, const std::string& entry, int version,
              const std::string& widths) const;

private:
    IniFile m_ini;
};

} // namespace kestrix::runtime
