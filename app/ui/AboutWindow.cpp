#include "app/ui/AboutWindow.h"

#include "runtime/ui/AppIcons.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace kestrix::app {

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
    auto* title = new QLabel(QStringLiteral("<h2>Kestrix</h2>"), this);
    title->setAlignment(Qt::AlignCenter);
    auto* text = new QLabel(QStringLiteral("Version %1<br>A desktop assistant for Clarion programmers:<br>"
                                           "code that pastes and compiles.")
                                .arg(QStringLiteral(KESTRIX_VERSION)),
                            this);
    text->setAlignment(Qt::AlignCenter);
    layout->addWidget(icon);
    layout->addWidget(title);
    layout->addWidget(text);
    if (fromMenu) {
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        layout->addWidget(buttons);
    } else {
        setStyleSheet(QStringLiteral("QDialog { border: 2px solid #2b5797; background: white; }"));
    }
}

void AboutWindow::mousePressEvent(QMouseEvent* event)
{
    if (!m_fromMenu)
        close();
    QDialog::mousePressEvent(event);
}

} // namespace kestrix::app
