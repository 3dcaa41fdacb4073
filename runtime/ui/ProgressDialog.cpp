#include "runtime/ui/ProgressDialog.h"

#include "runtime/ui/QtText.h"

#include <QEventLoop>
#include <QLabel>
#include <QPointer>
#include <QVBoxLayout>

#include <thread>

namespace kestrix::runtime {

ProgressDialog::ProgressDialog(const QString& title, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(title);
    setWindowFlags(windowFlags() & ~Qt::WindowCloseButtonHint);
    m_line = new QLabel(this);
    m_line->setMinimumWidth(420);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_line);
}

QString ProgressDialog::text() const
{
    return m_line->text();
}

void ProgressDialog::run(const std::function<void(const Report&)>& job)
{
    setModal(true);
    show();
    QEventLoop loop;
    QPointer<QLabel> line = m_line;
    const Report report = [line](const std::string& step) {
        const QString text = toQt(step);
        QMetaObject::invokeMethod(line, [line, text] {
            if (line)
                line->setText(text);
        }, Qt::QueuedConnection);
    };
    std::thread worker([&] {
        job(report);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    hide();
}

} // namespace kestrix::runtime
