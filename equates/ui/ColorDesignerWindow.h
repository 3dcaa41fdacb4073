#pragma once

#include "equates/ColorDesigner.h"
#include "runtime/ui/ToolWindow.h"

#include <QColor>

#include <array>
#include <functional>
#include <optional>

class QComboBox;
class QLineEdit;
class QTabWidget;
class QTableWidget;
class QTreeWidget;

namespace kestrix::config {
class Session;
}

namespace kestrix::equates {

// The platform's colour for a stored one: a system colour (8000xxxxH) through the palette.
QColor platformColor(std::int32_t value, const QPalette& palette);

// "Color Designer": colours tried on a sample window and copied as code.
class ColorDesignerWindow final : public runtime::ToolWindow
{
    Q_OBJECT

public:
    ColorDesignerWindow(config::Session& session, runtime::KeyedFile& equates, QWidget* parent = nullptr);

    ColorDesigner& designer() { return m_designer; }
    // Reads the colours again and refills the lists.
    void reload();
    // The colour dialog; tests answer it.
    void setColorPicker(std::function<std::optional<QColor>()> picker) { m_pickColor = std::move(picker); }
    void setFrameIconizer(std::function<void()> iconize) { m_iconizeFrame = std::move(iconize); }
    // "To &Clip": the popup at `where`, then the code on the clipboard.
    void copyCode(const QPoint& where, bool thenMinimize);
    void addCustomColor();
    void deleteColor();
    void applyColors();

private:
    QTreeWidget* pickList(ColorRole role, const QString& objectName);
    void fillLists();
    void showSelections();
    void showSample();
    void tell(const runtime::MessageRequest& message);

    config::Session& m_session;
    ColorDesigner m_designer;
    std::array<QTreeWidget*, RoleCount> m_lists{};
    QComboBox* m_object = nullptr;
    QTabWidget* m_sheet = nullptr;
    QTableWidget* m_sample = nullptr;
    std::array<QWidget*, SampleObjectCount> m_controls{}; // by SampleObject; null for list parts and None
    std::array<QPalette, SampleObjectCount> m_originalPalettes{};
    QComboBox* m_dropList = nullptr;
    QComboBox* m_dropCombo = nullptr;
    QPalette m_samplePalette;
    std::function<std::optional<QColor>()> m_pickColor;
    std::function<void()> m_iconizeFrame;
};

} // namespace kestrix::equates
