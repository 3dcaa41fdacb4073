#pragma once

#include "equates/KeycodeHelper.h"
#include "runtime/ui/ToolWindow.h"

#include <memory>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace kestrix::config {
class Session;
}
namespace kestrix::data {
class DataFileUse;
}

namespace kestrix::equates {

// "Keycode Helper": every key pressed in the window, a mouse button or a special
// key, with its keycode equate, turned into code from the "KEYCODE FIND" menu.
class KeycodeHelperWindow final : public runtime::ToolWindow
{
    Q_OBJECT

public:
    static KeycodeHelperWindow* open(config::Session& session, QWidget* parent = nullptr);
    ~KeycodeHelperWindow() override;

    const KeycodeHelper& helper() const { return m_helper; }
    // Shows keycode `request.number` as if its key had been pressed.
    bool showItem(const runtime::ShowRequest& request) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void onEquatesLoading() override;

private:
    KeycodeHelperWindow(config::Session& session, std::shared_ptr<data::DataFileUse> equates,
                        std::shared_ptr<data::DataFileUse> popups, QWidget* parent);
    void refresh();
    void toClip();

    config::Session& m_session;
    runtime::KeyedFile& m_popups;
    KeycodeHelper m_helper;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_value = nullptr;
    QLineEdit* m_unmodified = nullptr;
    QLineEdit* m_character = nullptr;
    QRadioButton* m_left = nullptr;
    QRadioButton* m_center = nullptr;
    QRadioButton* m_right = nullptr;
    QButtonGroup* m_mouse = nullptr;
    QCheckBox* m_double = nullptr;
    QCheckBox* m_shift = nullptr;
    QCheckBox* m_ctrl = nullptr;
    QCheckBox* m_alt = nullptr;
};

} // namespace kestrix::equates
