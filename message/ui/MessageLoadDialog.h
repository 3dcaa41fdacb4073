#pragma once

#include "message/MessageMaker.h"
#include "runtime/DialogService.h"
#include "runtime/KeyedFile.h"
#include "runtime/WindowPositionStore.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <vector>

class QLineEdit;

namespace kestrix::runtime {
class BrowseList;
}

namespace kestrix::message {

// The Open Message window ("MessageLoad"): the saved messages by description.
// Open chooses one for the caller; To Clip, Clip Min and Preview act on the
// highlighted one through `perform` and leave the window open; Delete asks first.
class MessageLoadDialog final : public QDialog
{
    Q_OBJECT

public:
    using Perform = std::function<void(SavedMessageCommand command, const runtime::Record& saved)>;

    MessageLoadDialog(runtime::KeyedFile& messages, runtime::DialogService& dialogs, bool bold,
                      Perform perform, runtime::WindowPositionStore positions, QWidget* parent = nullptr);
    ~MessageLoadDialog() override;

    // After Open: the record chosen.
    const std::optional<runtime::Record>& chosen() const { return m_chosen; }
    runtime::BrowseList* list() const { return m_list; }
    QLineEdit* locator() const { return m_locator; }
    void reload();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void openHighlighted();
    void act(SavedMessageCommand command);
    void deleteHighlighted();
    const runtime::Record* highlighted() const;

    runtime::KeyedFile& m_messages;
    runtime::DialogService& m_dialogs;
    Perform m_perform;
    runtime::WindowPositionStore m_positions;
    std::vector<runtime::Record> m_rows;
    std::optional<runtime::Record> m_chosen;
    QLineEdit* m_locator = nullptr;
    runtime::BrowseList* m_list = nullptr;
};

} // namespace kestrix::message
