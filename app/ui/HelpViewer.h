#pragma once

#include "runtime/WindowPositionStore.h"

#include <QWidget>

class QListWidget;
class QStackedWidget;
class QTextBrowser;

namespace kestrix::runtime {
class FilterBox;
}

namespace kestrix::app {

// The help window over the pages compiled into the program, with a search
// list of every page by title.
class HelpViewer final : public QWidget
{
    Q_OBJECT

public:
    explicit HelpViewer(runtime::WindowPositionStore positions, QWidget* parent = nullptr);

    // A page that is not written yet shows the contents instead.
    void showPage(const QString& page);
    void showSearch();
    QString currentPage() const;
    QTextBrowser* browser() const { return m_browser; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void fillSearchList();

    runtime::WindowPositionStore m_positions;
    QStackedWidget* m_stack = nullptr;
    QTextBrowser* m_browser = nullptr;
    runtime::FilterBox* m_filter = nullptr;
    QListWidget* m_pages = nullptr;
};

} // namespace kestrix::app
