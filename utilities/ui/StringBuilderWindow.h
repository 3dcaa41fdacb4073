#pragma once

#include "config/Session.h"
#include "runtime/ui/ToolWindow.h"
#include "utilities/StringBuilder.h"
#include "utilities/StringBuilderCleanup.h"

#include <functional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QMenu;
class QSpinBox;

namespace kestrix::utilities {

class StringTextEdit;

// "String Builder" (StringFmt): binds the text and options to the string
// generator, the Clean menu and the quick inserts.
class StringBuilderWindow final : public runtime::ToolWindow
{
    Q_OBJECT

public:
    // Asks for a popup type's template (the popup-code routine); blank when none was chosen.
    using PopupCode = std::function<std::string(const std::string& type)>;

    StringBuilderWindow(config::Session& session, std::vector<std::string> variableChoices,
                        QWidget* parent = nullptr);

    void setPopupCode(PopupCode popupCode) { m_popupCode = std::move(popupCode); }
    // Iconizes the frame by default.
    void setFrameIconizer(std::function<void()> iconize) { m_iconizeFrame = std::move(iconize); }

    StringSettings settings() const;
    std::string text() const;
    void setText(const std::string& text);

    void acceptVariable();
    void generate(bool thenMinimize);
    void newText();
    void clean(CleanAction action);
    void addReturnsAtBreaks();
    void decompileClipboard();
    void quickInsert();
    void dropFields();

    QMenu* cleanMenu() const { return m_cleanMenu; }

private:
    void textEdited();
    // Replaces the text when the result fits the box; otherwise says why and keeps it.
    void replaceText(const std::string& text);
    void insertAtCaret(const std::string& piece);

    config::Session& m_session;
    PopupCode m_popupCode;
    std::function<void()> m_iconizeFrame;
    std::string m_lastGoodText;
    bool m_callMode = false;

    StringTextEdit* m_text = nullptr;
    QComboBox* m_variable = nullptr;
    QCheckBox* m_enter = nullptr;
    QSpinBox* m_indent = nullptr;
    QSpinBox* m_nest = nullptr;
    QSpinBox* m_end = nullptr;
    QMenu* m_cleanMenu = nullptr;
};

} // namespace kestrix::utilities
