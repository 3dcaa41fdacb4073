#include "app/ui/HelpViewer.h"

#include "config/Settings.h"
#include "runtime/ui/FilterBox.h"
#include "runtime/ui/QtText.h"
#include "runtime/ui/WindowPlacement.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

namespace kestrix::app {
namespace {

const QString HelpRoot = QStringLiteral(":/help");

QString pageTitle(const QString& file)
{
    QFile page(HelpRoot + QLatin1Char('/') + file);
    if (!page.open(QIODevice::ReadOnly))
        return file;
    const auto match =
        QRegularExpression(QStringLiteral("<title>(.*?)</title>")).match(QString::fromUtf8(page.readAll()));
    return match.hasMatch() ? match.captured(1) : file;
}

// What a reader sees of a page: its text without the markup.
QString pageText(const QString& file)
{
    QFile page(HelpRoot + QLatin1Char('/') + file);
    if (!page.open(QIODevice::ReadOnly))
        return {};
    QTextDocument document;
    document.setHtml(QString::fromUtf8(page.readAll()));
    return document.toPlainText();
}

} // namespace

HelpViewer::HelpViewer(runtime::WindowPositionStore positions, QWidget* parent)
    : QWidget(parent, Qt::Window), m_positions(std::move(positions))
{
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(QStringLiteral("Kestrix Help"));
    resize(620, 520);
    m_browser = new QTextBrowser(this);
    m_browser->setSearchPaths({HelpRoot});
    m_browser->setOpenExternalLinks(true);
    connect(m_browser, &QTextBrowser::sourceChanged, this,
            [this] { setWindowTitle(m_browser->documentTitle()); });

    auto* searchPage = new QWidget(this);
    m_filter = new runtime::FilterBox(searchPage);
    m_filter->setPlaceholderText(QStringLiteral("Type part of a title or of a page's text"));
    m_pages = new QListWidget(searchPage);
    m_pages->setObjectName(QStringLiteral("pages"));
    auto* searchLayout = new QVBoxLayout(searchPage);
    searchLayout->addLayout(runtime::filterRow(searchPage, m_filter));
    searchLayout->addWidget(m_pages);
    connect(m_filter, &runtime::FilterBox::filterChanged, this, &HelpViewer::fillSearchList);
    connect(m_pages, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { showPage(item->data(Qt::UserRole).toString()); });

    m_stack = new QStackedWidget(this);
    m_stack->addWidget(m_browser);
    m_stack->addWidget(searchPage);

    auto* buttons = new QHBoxLayout;
    auto* contents = new QPushButton(QStringLiteral("&Contents"), this);
    auto* search = new QPushButton(QStringLiteral("&Search"), this);
    auto* back = new QPushButton(QStringLiteral("&Back"), this);
    connect(contents, &QPushButton::clicked, this, [this] { showPage(QStringLiteral("contents.html")); });
    connect(search, &QPushButton::clicked, this, &HelpViewer::showSearch);
    connect(back, &QPushButton::clicked, this, [this] {
        m_stack->setCurrentWidget(m_browser);
        m_browser->backward();
    });
    buttons->addWidget(contents);
    buttons->addWidget(search);
    buttons->addWidget(back);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_stack);
    runtime::restorePlacement(this, m_positions, config::Ini::HelpProcedure);
}

void HelpViewer::showPage(const QString& page)
{
    const QString file =
        QFile::exists(HelpRoot + QLatin1Char('/') + page) ? page : QStringLiteral("contents.html");
    m_browser->setSource(QUrl(file));
    m_stack->setCurrentWidget(m_browser);
}

QString HelpViewer::currentPage() const
{
    return m_browser->source().fileName();
}

void HelpViewer::showSearch()
{
    fillSearchList();
    m_stack->setCurrentIndex(1);
    m_filter->setFocus();
}

void HelpViewer::fillSearchList()
{
    const runtime::TextFilter filter = m_filter->filter();
    m_pages->clear();
    for (const QString& file : QDir(HelpRoot).entryList({QStringLiteral("*.html")})) {
        const QString title = pageTitle(file);
        // Past the title the page's own text is searched too: that is what a reader is after.
        if (!filter.matches(runtime::fromQt(title)) && !filter.matches(runtime::fromQt(pageText(file))))
            continue;
        auto* item = new QListWidgetItem(title, m_pages);
        item->setData(Qt::UserRole, file);
    }
    m_pages->sortItems();
}

void HelpViewer::closeEvent(QCloseEvent* event)
{
    runtime::savePlacement(this, m_positions, config::Ini::HelpProcedure);
    QWidget::closeEvent(event);
}

} // namespace kestrix::app
