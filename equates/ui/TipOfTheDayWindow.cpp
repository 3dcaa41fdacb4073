#include "equates/ui/TipOfTheDayWindow.h"

#include "runtime/ui/QtText.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace kestrix::equates {

TipOfTheDayWindow::TipOfTheDayWindow(runtime::KeyedFile& tips, runtime::IniFile programIni, bool boldText,
                                     runtime::ToolRegistry& registry, runtime::WindowPositionStore positions,
                                     QWidget* parent)
    : ToolWindow("TipOfTheDay", registry, std::move(positions), parent),
      m_browser(tips, std::move(programIni))
{
    setWindowTitle(QStringLiteral("Tip of the Day"));
    auto* body = new QWidget(this);
    m_text = new QTextBrowser(body);
    m_text->setObjectName(QStringLiteral("tipText"));
    if (boldText) {
        QFont font = m_text->font();
        font.setBold(true);
        m_text->setFont(font);
    }
    auto* next = new QPushButton(QStringLiteral("&Next"), body);
    next->setObjectName(QStringLiteral("next"));
    next->setToolTip(QStringLiteral("Show Next Tip"));
    auto* previous = new QPushButton(QStringLiteral("&Prev"), body);
    previous->setObjectName(QStringLiteral("previous"));
    previous->setToolTip(QStringLiteral("Show Previous Tip"));
    m_onStartup = new QCheckBox(QStringLiteral("Show Tips on Startup"), body);
    m_onStartup->setObjectName(QStringLiteral("showOnStartup"));
    m_onStartup->setChecked(m_browser.showOnStartup());
    auto* close = new QPushButton(QStringLiteral("Close"), body);
    connect(next, &QPushButton::clicked, this, &TipOfTheDayWindow::showNext);
    connect(previous, &QPushButton::clicked, this, &TipOfTheDayWindow::showPrevious);
    connect(m_onStartup, &QCheckBox::toggled, this, [this](bool on) { m_browser.setShowOnStartup(on); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_onStartup);
    buttons->addStretch();
    buttons->addWidget(previous);
    buttons->addWidget(next);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(body);
    layout->addWidget(m_text);
    layout->addLayout(buttons);
    setWidget(body);
    resize(460, 260);
}

bool TipOfTheDayWindow::show(const std::optional<ShownTip>& tip)
{
    if (!tip)
        return false;
    m_text->setPlainText(runtime::toQt(tip->text));
    return true;
}

bool TipOfTheDayWindow::showNext()
{
    return show(m_browser.next());
}

bool TipOfTheDayWindow::showPrevious()
{
    return show(m_browser.previous());
}

QString TipOfTheDayWindow::currentText() const
{
    return m_text->toPlainText();
}

} // namespace kestrix::equates
