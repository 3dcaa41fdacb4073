#pragma once

#include "message/ui/PopupCode.h"
#include "runtime/DialogService.h"
#include "runtime/KeyedFile.h"
#include "runtime/ui/ToolWindow.h"

#include <QWidget>

#include <optional>
#include <vector>

class QLineEdit;
class QPushButton;

namespace kestrix::runtime {
class BrowseList;
}

namespace kestrix::message {

// The list of message inserts in MI:KEY order with Insert, Change and Delete;
// in select mode also Select, which hands the highlighted insert to the caller.
class MsgInsertBrowse final : public QWidget
{
    Q_OBJECT

public:
    MsgInsertBrowse(runtime::KeyedFile& inserts, runtime::DialogService& dialogs, PopupCode popupCode,
                    bool bold, bool selectMode, QWidget* parent = nullptr);

    void reload();
    void setPopupCode(PopupCode popupCode) { m_popupCode = std::move(popupCode); }
    runtime::BrowseList* list() const { return m_list; }
    QLineEdit* locator() const { return m_locator; }

signals:
    void selected(const runtime::Record& insert);
    void closeRequested();

private:
    void update(bool adding);
    void deleteHighlighted();
    const runtime::Record* highlighted() const;

    runtime::KeyedFile& m_inserts;
    runtime::DialogService& m_dialogs;
    PopupCode m_popupCode;
    bool m_selectMode;
    std::vector<runtime::Record> m_rows;
    QLineEdit* m_locator = nullptr;
    runtime::BrowseList* m_list = nullptr;
};

// "Browse Message Inserts" as a tool of its own ("MsgInsertBrowse").
class MsgInsertBrowseWindow final : public runtime::ToolWindow
{
    Q_OBJECT

public:
    MsgInsertBrowseWindow(runtime::KeyedFile& inserts, runtime::DialogService& dialogs, PopupCode popupCode,
                          bool bold, runtime::ToolRegistry& registry, runtime::WindowPositionStore positions,
                          QWidget* parent = nullptr);

    MsgInsertBrowse* browse() const { return m_browse; }

private:
    MsgInsertBrowse* m_browse = nullptr;
};

// The browse in select mode, modal: the insert chosen, if any.
std::optional<runtime::Record> selectInsert(QWidget* parent, runtime::KeyedFile& inserts,
                                            runtime::DialogService& dialogs, PopupCode popupCode, bool bold);

} // namespace kestrix::message
