#include "app/ui/AboutWindow.h"

#include "runtime/ui/AppIcons.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace kestrix::app {

namespace {
constexpr int SplashBorder = 2;
const QColor SplashBorderColour(0x2b, 0x57, 0x97);
} // namespace

using runtime::appIcon;

AboutWindow::AboutWindow(bool fromMenu, QWidget* parent) : QDialog(parent), m_fromMenu(fromMenu)
{
    setObjectName(QStringLiteral("About"));
    setWindowTitle(QStringLiteral("About Kestrix"));
    if (!fromMenu)
        setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    auto* layout = new QVBoxLayout(this);
    auto* icon = new QLabel(this);
    icon->setPixmap(appIcon("1HAND1.ICO").pixmap(48, 48));
    icon->setAlignment(Qt::AlignCenter);
    // Plain text in a larger bold font: a rich-text label lays out a whole document, which was a
    // good part of a start's cost.
    auto* title = new QLabel(QStringLiteral("Kestrix"), this);
    title->setTextFormat(Qt::PlainText);
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    title->setFont(titleFont);
    title->setAlignment(Qt::AlignCenter);
    auto* text = new QLabel(QStringLiteral("Version %1\nA desktop assistant for Clarion programmers:\n"
                                           "code that pastes and compiles.")
                                .arg(QStringLiteral(KESTRIX_VERSION)),
                            this);
    text->setTextFormat(Qt::PlainText);
    text->setAlignment(Qt::AlignCenter);
    layout->addWidget(icon);
    layout->addWidget(title);
    layout->addWidget(text);
    if (fromMenu) {
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        layout->addWidget(buttons);
    } else {
        // Black on white whatever the desktop's colours, inside a border of its own (drawn in
        // paintEvent: a style sheet costs the splash more than the rest of it).
        QPalette white = palette();
        white.setColor(QPalette::Window, Qt::white);
        white.setColor(QPalette::WindowText, Qt::black);
        setPalette(white);
        setAutoFillBackground(true);
        layout->setContentsMargins(layout->contentsMargins() +
                                   QMargins(SplashBorder, SplashBorder, SplashBorder, SplashBorder));
    }
}

void AboutWindow::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    if (m_fromMenu)
        return;
    QPainter painter(this);
    painter.setPen(QPen(SplashBorderColour, SplashBorder, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    const qreal inset = SplashBorder / 2.0;
    painter.drawRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset));
}

void AboutWindow::mousePressEvent(QMouseEvent* event)
{
    if (!m_fromMenu)
        close();
    QDialog::mousePressEvent(event);
}

} // namespace kestrix::app
