#include "app/ui/FindAnythingWindow.h"

#include "app/FindSources.h"
#include "config/Session.h"
#include "runtime/ui/QtText.h"
#include "runtime/ui/ToolShelf.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kestrix::app {

namespace {
constexpr int GroupRole = Qt::UserRole + 1;
constexpr int HitRole = Qt::UserRole + 2;
} // namespace

FindAnythingWindow::FindAnythingWindow(std::shared_ptr<const FindAnything> find, Opener open, QWidget* parent)
    : QDialog(parent), m_find(std::move(find)), m_open(std::move(open))
{
    setObjectName(QStringLiteral("findAnything"));
    setWindowTitle(QStringLiteral("Find Anything"));
    m_box = new QLineEdit(this);
    m_box->setObjectName(QStringLiteral("findText"));
    m_box->setPlaceholderText(QStringLiteral("Equates, messages, snippets, errors, keycodes, tools"));
    m_hits = new QTreeWidget(this);
    m_hits->setObjectName(QStringLiteral("findHits"));
    m_hits->setHeaderHidden(true);
    m_hits->setUniformRowHeights(true);
    m_hits->setRootIsDecorated(false);
    m_hits->setItemsExpandable(false);
    auto* hint = new QLabel(QStringLiteral("Enter opens the highlighted item in its tool; Esc closes"), this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_box);
    layout->addWidget(m_hits, 1);
    layout->addWidget(hint);
    resize(560, 420);

    m_box->installEventFilter(this);
    connect(m_box, &QLineEdit::textChanged, this, &FindAnythingWindow::search);
    connect(m_box, &QLineEdit::returnPressed, this, &FindAnythingWindow::openCurrent);
    connect(m_hits, &QTreeWidget::itemActivated, this, [this] { openCurrent(); });
}

const FindHit* FindAnythingWindow::hitOf(const QTreeWidgetItem* item) const
{
    if (!item || !item->data(0, HitRole).isValid())
        return nullptr;
    const auto group = static_cast<std::size_t>(item->data(0, GroupRole).toULongLong());
    const auto hit = static_cast<std::size_t>(item->data(0, HitRole).toULongLong());
    return group < m_groups.size() && hit < m_groups[group].hits.size() ? &m_groups[group].hits[hit]
                                                                        : nullptr;
}

void FindAnythingWindow::search()
{
    m_groups = m_find->search(runtime::fromQt(m_box->text()));
    m_hits->clear();
    QTreeWidgetItem* first = nullptr;
    for (std::size_t g = 0; g < m_groups.size(); ++g) {
        const FindGroup& group = m_groups[g];
        QString title = QString::fromLatin1(findGroupTitle(group.kind));
        title += group.total > group.hits.size()
                     ? QStringLiteral(" (%1 of %2)").arg(group.hits.size()).arg(group.total)
                     : QStringLiteral(" (%1)").arg(group.total);
        auto* heading = new QTreeWidgetItem(m_hits, {title});
        heading->setFlags(Qt::ItemIsEnabled);
        QFont bold = heading->font(0);
        bold.setBold(true);
        heading->setFont(0, bold);
        for (std::size_t h = 0; h < group.hits.size(); ++h) {
            auto* item = new QTreeWidgetItem(heading, {runtime::toQt(group.hits[h].label)});
            item->setData(0, GroupRole, static_cast<qulonglong>(g));
            item->setData(0, HitRole, static_cast<qulonglong>(h));
            if (!first)
                first = item;
        }
    }
    m_hits->expandAll();
    if (first)
        m_hits->setCurrentItem(first);
}

bool FindAnythingWindow::openCurrent()
{
    const FindHit* hit = hitOf(m_hits->currentItem());
    if (!hit || !m_open(hit->target))
        return false;
    close();
    return true;
}

// Up and Down in the box move through the hits, so the box keeps the keyboard for typing.
bool FindAnythingWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_box && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Down || key == Qt::Key_Up || key == Qt::Key_PageDown || key == Qt::Key_PageUp) {
            QTreeWidgetItem* from = m_hits->currentItem();
            QTreeWidgetItem* to = from;
            const bool down = key == Qt::Key_Down || key == Qt::Key_PageDown;
            do
                to = to ? (down ? m_hits->itemBelow(to) : m_hits->itemAbove(to)) : nullptr;
            while (to && !hitOf(to));
            if (to)
                m_hits->setCurrentItem(to);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

FindAnythingWindow* showFindAnything(QWidget* parent, config::Session& session,
                                     const runtime::ToolShelf& shelf,
                                     std::function<bool(const std::string& procedure)> start)
{
    // One box at a time, read afresh: the data may have changed since the last one opened.
    if (auto* open = parent->findChild<FindAnythingWindow*>(QStringLiteral("findAnything"))) {
        open->setObjectName(QString());
        open->close();
    }
    std::vector<ToolName> tools;
    for (const runtime::ToolRegistration& tool : shelf.tools()) {
        if (tool.open)
            tools.push_back({tool.spec.procedure, toolNameOf(tool.spec.menuText)});
    }
    auto find = std::make_shared<FindAnything>();
    loadFindSources(*find, session, tools);
    auto opener = [&session, start = std::move(start)](const FindTarget& target) {
        if (!start(target.tool))
            return false;
        // A tool is opened; an item in it is asked for once its window is there.
        const runtime::ShowRequest& r = target.request;
        if (r.key.empty() && r.subKey.empty() && r.number == 0)
            return true;
        return session.tools().showItem(target.tool, r);
    };
    auto* window = new FindAnythingWindow(std::move(find), std::move(opener), parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    window->activateWindow();
    window->box()->setFocus();
    return window;
}

} // namespace kestrix::app
