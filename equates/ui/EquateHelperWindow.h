#pragma once

#include "equates/EquateHelper.h"
#include "equates/EquateList.h"
#include "runtime/ui/ToolWindow.h"

#include <memory>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableView;

namespace kestrix::runtime {
class FilterBox;
}

namespace kestrix::config {
class Session;
}
namespace kestrix::data {
class DataFileUse;
}

namespace kestrix::equates {

class EquateTableModel;

// "Equate Helper": the equates of a type, sorted and searched, turned into code
// through the right-click menu of code templates.
class EquateHelperWindow final : public runtime::ToolWindow
{
    Q_OBJECT

public:
    // Nullptr when the equates or popup file cannot be used (the user has been told).
    static EquateHelperWindow* open(config::Session& session, QWidget* parent = nullptr);
    ~EquateHelperWindow() override;

    std::optional<EquateRow> currentEquate() const;
    // The menu of the current equate at `where`, and its choice handed on (the copy button, a right-click).
    void makeCode(const QPoint& where);
    // A double-click: the last template on the current equate.
    void repeatCode();
    QTableView* table() const { return m_table; }
    // Selects the equate at the record position `request.number` under its type `request.key`.
    bool showItem(const runtime::ShowRequest& request) override;

protected:
    void onEquatesLoading() override;
    void closeEvent(QCloseEvent* event) override;

private:
    EquateHelperWindow(config::Session& session, std::shared_ptr<data::DataFileUse> equates,
                       std::shared_ptr<data::DataFileUse> popups, QWidget* parent);
    void showType();
    void search(const QString& typed);
    void applyFilter();
    void see();
    void help();
    void restoreWidths();
    void saveWidths();
    void hand(const CodeResult& result);

    config::Session& m_session;
    runtime::KeyedFile& m_equates;
    runtime::KeyedFile& m_popups;
    EquateList m_list;
    EquateCoder m_coder;
    EquateTableModel* m_model = nullptr;
    QListWidget* m_types = nullptr;
    QTableView* m_table = nullptr;
    QComboBox* m_sort = nullptr;
    QLineEdit* m_search = nullptr;
    runtime::FilterBox* m_filter = nullptr;
    QPushButton* m_see = nullptr;
    QLabel* m_empty = nullptr;
    SeeKind m_seeKind = SeeKind::None;
    bool m_cursorShown = false;
};

} // namespace kestrix::equates
