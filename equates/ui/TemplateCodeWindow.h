#pragma once

#include "equates/TemplateCode.h"
#include "runtime/KeyedFile.h"
#include "runtime/ui/ToolWindow.h"

#include <memory>

class QPlainTextEdit;

namespace kestrix::config {
class Session;
}
namespace kestrix::data {
class DataFileUse;
}

namespace kestrix::equates {

// "Template Equates Code Builder": word buttons build code at the caret of a
// text box; "To Clip" hands it to the clipboard line by line.
class TemplateCodeWindow final : public runtime::ToolWindow
{
    Q_OBJECT

public:
    static TemplateCodeWindow* open(config::Session& session, QWidget* parent = nullptr);
    ~TemplateCodeWindow() override;

    QPlainTextEdit* editor() const { return m_editor; }
    // The text as the program holds it (CR LF line ends).
    std::string code() const { return m_code.text(); }

protected:
    void onConfigurationChanged() override;

private:
    TemplateCodeWindow(config::Session& session, std::shared_ptr<data::DataFileUse> popups, QWidget* parent);
    void press(const std::string& buttonText);
    void pressPopup(TemplatePopup popup);
    void insert(const std::string& word);
    void takeEdits();
    void showCode();
    void toClip();
    void copyMenu();

    config::Session& m_session;
    runtime::KeyedFile& m_popups;
    TemplateCode m_code;
    QPlainTextEdit* m_editor = nullptr;
    QString m_accepted; // the editor's text last taken, to go back to when an edit makes it too long
    bool m_showing = false;
};

} // namespace kestrix::equates
