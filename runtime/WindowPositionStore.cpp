#include "runtime/WindowPositionStore.h"

#include "runtime/FixedText.h"

namespace kestrix::runtime {

std::optional<WindowPosition> WindowPositionStore::restore(const std::string& procedure) const
{
    if (!m_ini.hasEntry(procedure, "XPosit"))
        return std::nullopt;
    WindowPosition position;
    position.x = static_cast<int>(m_ini.number(procedure, "XPosit", 0));
    position.y = static_cast<int>(m_ini.number(procedure, "YPosit", 0));
    position.width = static_cast<int>(m_ini.number(procedure, "Width", 0));
    position.height = static_cast<int>(m_ini.number(procedure, "Height", 0));
    position.maximized = sameTextNoCase(m_ini.value(procedure, "Maximize", "No"), "Yes");
    return position;
}

void WindowPositionStore::save(const std::string& procedure, const WindowPosition& position) const
{
    m_ini.setValue(procedure, "Maximize", position.maximized ? "Yes" : "No");
    m_ini.setNumber(procedure, "XPosit", position.x);
    m_ini.setNumber(procedure, "YPosit", position.y);
    m_ini.setNumber(procedure, "Width", position.width);
    m_ini.setNumber(procedure, "Height", position.height);
}

std::optional<std::string> ListLayoutStore::restore(const std::string& browse, const std::string& entry,
                                                    int version) const
{
    if (m_ini.number(browse, "VersionNumber", -1) != version || !m_ini.hasEntry(browse, entry))
        return std::nullopt;
    return m_ini.value(browse, entry);
}

void ListLayoutStore::save(const std::string& browse, const std::string& entry, int version,
                           const std::string& widths) const
{
    m_ini.setNumber(browse, "VersionNumber", version);
    m_ini.setValue(browse, entry, widths);
}

} // namespace kestrix::runtime
