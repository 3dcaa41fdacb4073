#pragma once

#include "config/Session.h"
#include "message/MessageMaker.h"
#include "message/ui/PopupCode.h"
#include "runtime/ui/ToolWindow.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace kestrix::message {

class MessageTextEdit;

// "Message Maker" (MakeInput): the editor of one message record with its
// menu, toolbar and right-click menu; the logic is MessageMaker's.
class MakeInputWindow final : public runtime::ToolWindow
{
    Q_OBJECT

public:
    // Opens the equates, message and inserts files and starts a new message;
    // nullptr when a file cannot be used or the template cannot be made (the user was told).
    static MakeInputWindow* open(config::Session& session, QWidget* parent = nullptr);
    ~MakeInputWindow() override;

    MessageMaker& maker() { return *m_maker; }
    // The popup-code routine by default; tests answer it themselves.
    void setPopupCode(PopupCode popupCode) { m_popupCode = std::move(popupCode); }
    // Iconizes the frame by default.
    void setFrameIconizer(std::function<void()> iconize) { m_iconizeFrame = std::move(iconize); }

    // The commands of the "&Message" menu.
    void newMessage();
    void openMessage(bool asNew);
    // False when nothing was saved (cancelled or refused).
    bool saveMessage(bool asNew);
    void generate(bool thenMinimize);
    void preview();
    void decompileClipboard();
    void renameButtons();
    void quickInsert();
    void miscInsert();
    void dropFields();
    void toggleExpanded();

    // A menu command by its id, as the context menu sends it.
    void runCommand(MakerCommand command);

    // Opens the saved message described `request.key`, after the question about unsaved changes.
    bool showItem(const runtime::ShowRequest& request) override;

    // Puts the record's values into the controls.
    void showRecord();

    // The record differs from what was last started, opened or saved.
    bool isModified() const;
    // Before the record is replaced or the window closes: asks whether to save
    // the changes; false when the user cancelled (or the save did not happen).
    bool changesSettled();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void onConfigurationChanged() override { applyConfiguredFonts(); }

private:
    void applyConfiguredFonts();
    struct Files;
    MakeInputWindow(config::Session& session, std::unique_ptr<Files> files, std::vector<std::string> icons,
                    QWidget* parent);
    void buildMenu(QWidget* body);
    void buildControls(QWidget* body);
    void insertAtCaret(const std::string& piece);
    void textEdited();
    void markUnmodified();
    void showTitle();

    config::Session& m_session;
    std::unique_ptr<Files> m_files;
    std::unique_ptr<MessageMaker> m_maker;
    PopupCode m_popupCode;
    std::function<void()> m_iconizeFrame;
    std::string m_lastGoodText;
    std::optional<runtime::Record> m_unmodified;

    QAction* m_saveAction = nullptr;
    QAction* m_saveTool = nullptr;
    QLineEdit* m_title = nullptr;
    MessageTextEdit* m_text = nullptr;
    QPushButton* m_expand = nullptr;
    QWidget* m_details = nullptr;
    QComboBox* m_icon = nullptr;
    std::array<QCheckBox*, 8> m_buttons{};
    QPushButton* m_rename = nullptr;
    std::array<QRadioButton*, 4> m_defaults{};
    std::array<QRadioButton*, 3> m_codeTypes{};
    QCheckBox* m_ifError = nullptr;
    QCheckBox* m_loop = nullptr;
    QCheckBox* m_sound = nullptr;
};

} // namespace kestrix::message
