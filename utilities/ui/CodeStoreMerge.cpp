#include "utilities/ui/CodeStoreMerge.h"

#include "runtime/ui/HelpRequest.h"
#include "runtime/ui/QtText.h"
#include "runtime/ui/WindowPlacement.h"

#include <QDialogButtonBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QVBoxLayout>

#include <functional>

namespace kestrix::utilities {

namespace {

constexpr const char* MergeProcedure = "CodeStoreMerge";

// A button that accepts dictionary fields dragged onto it.
class DropButton final : public QPushButton
{
public:
    DropButton(std::function<void()> dropped, QWidget* parent)
        : QPushButton(parent), m_dropped(std::move(dropped))
    {
        setAcceptDrops(true);
    }

protected:
    void dragEnterEvent(QDragEnterEvent* event) override
    {
        if (event->mimeData()->hasFormat(QString::fromLatin1(config::DraggedFieldsMime)))
            event->acceptProposedAction();
    }
    void dropEvent(QDropEvent* event) override
    {
        if (!event->mimeData()->hasFormat(QString::fromLatin1(config::DraggedFieldsMime)))
            return;
        event->acceptProposedAction();
        m_dropped(); // the fields themselves are in the process-wide dragged-field list
    }

private:
    std::function<void()> m_dropped;
};

} // namespace

CodeStoreMerge::CodeStoreMerge(std::vector<MergeToken> tokens, const config::DraggedFieldList& dragged,
                               runtime::WindowPositionStore positions, QWidget* parent)
    : QDialog(parent), m_tokens(std::move(tokens)), m_dragged(dragged), m_positions(std::move(positions))
{
    setObjectName(QString::fromLatin1(MergeProcedure));
    setWindowTitle(QStringLiteral("Enter/Drop Code Merge Data"));
    auto* grid = new QGridLayout;
    for (std::size_t i = 0; i < m_tokens.size(); ++i) {
        const int row = static_cast<int>(i);
        auto* label = new QLabel(runtime::toQt(m_tokens[i].label), this);
        auto* value = new QLineEdit(runtime::toQt(m_tokens[i].value), this);
        value->setObjectName(QStringLiteral("value%1").arg(row + 1));
        value->setMaxLength(static_cast<int>(MergeValueLength));
        label->setBuddy(value);
        auto* drop = new DropButton(
            [this, value] {
                if (!m_dragged.empty())
                    value->setText(runtime::toQt(m_dragged.front().vari));
            },
            this);
        drop->setObjectName(QStringLiteral("drop%1").arg(row + 1));
        drop->setText(QStringLiteral("Drop"));
        drop->setToolTip(QStringLiteral("Drop a dictionary field here"));
        drop->setAutoDefault(false);
        connect(drop, &QPushButton::clicked, this, [this, value] {
            if (!m_dragged.empty())
                value->setText(runtime::toQt(m_dragged.front().vari));
        });
        grid->addWidget(label, row, 0);
        grid->addWidget(value, row, 1);
        grid->addWidget(drop, row, 2);
        m_values.push_back(value);
        m_drops.push_back(drop);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("ok"));
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    runtime::addHelpKey(this, QStringLiteral("~Code_Library"));
    runtime::restorePlacement(this, m_positions, MergeProcedure);
}

CodeStoreMerge::~CodeStoreMerge()
{
    runtime::savePlacement(this, m_positions, MergeProcedure);
}

std::vector<MergeToken> CodeStoreMerge::tokens() const
{
    std::vector<MergeToken> out = m_tokens;
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i].value = runtime::fromQt(m_values[i]->text());
    return out;
}

} // namespace kestrix::utilities
