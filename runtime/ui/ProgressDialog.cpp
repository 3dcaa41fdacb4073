#include "runtime/ui/ProgressDialog.h"

#include "runtime/ui/QtText.h"

#include <QEventLoop>
#include <QLabel>
#include <QLocale>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <thread>

namespace kestrix::runtime {

namespace {
ProgressDialog* g_running = nullptr;
}

void ProgressReport::step(const std::string& text)
{
    {
        const std::lock_guard lock(m_mutex);
        m_state.text = text;
    }
    changed();
}

void ProgressReport::setFiles(int done, int total)
{
    {
        const std::lock_guard lock(m_mutex);
        m_state.filesDone = done;
        m_state.filesTotal = total;
    }
    changed();
}

void ProgressReport::setRecords(std::int64_t records)
{
    {
        const std::lock_guard lock(m_mutex);
        m_state.records = records;
    }
    changed();
}

// One pending redraw at a time: a job that reports often cannot flood the GUI thread.
void ProgressReport::changed()
{
    {
        const std::lock_guard lock(m_mutex);
        if (m_posted)
            return;
        m_posted = true;
    }
    m_post();
}

ProgressDialog::ProgressDialog(const QString& title, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(title);
    m_line = new QLabel(this);
    m_line->setObjectName(QStringLiteral("step"));
    m_line->setMinimumWidth(420);
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("bar"));
    m_bar->setRange(0, 0); // busy until the job says how many files
    m_counts = new QLabel(this);
    m_counts->setObjectName(QStringLiteral("counts"));
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("cancel"));
    connect(m_cancel, &QPushButton::clicked, this, &ProgressDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_line);
    layout->addWidget(m_bar);
    layout->addWidget(m_counts);
    layout->addWidget(m_cancel, 0, Qt::AlignRight);
}

ProgressDialog::~ProgressDialog()
{
    if (g_running == this)
        g_running = nullptr;
}

ProgressDialog* ProgressDialog::running()
{
    return g_running;
}

QString ProgressDialog::text() const
{
    return m_line->text();
}

QString ProgressDialog::counts() const
{
    return m_counts->text();
}

void ProgressDialog::reject()
{
    if (!m_report || m_report->m_cancel.exchange(true))
        return;
    m_cancel->setEnabled(false);
    m_line->setText(QStringLiteral("Cancelling..."));
}

void ProgressDialog::showState()
{
    ProgressReport::State state;
    {
        const std::lock_guard lock(m_report->m_mutex);
        state = m_report->m_state;
        m_report->m_posted = false;
    }
    if (!m_report->cancelRequested())
        m_line->setText(toQt(state.text));
    if (state.filesTotal > 0) {
        m_bar->setRange(0, state.filesTotal);
        m_bar->setValue(std::min(state.filesDone, state.filesTotal));
    }
    QStringList parts;
    if (state.filesTotal > 0)
        parts << QStringLiteral("%1 of %2 files").arg(state.filesDone).arg(state.filesTotal);
    if (state.records >= 0)
        parts << QStringLiteral("%1 records")
                     .arg(QLocale::system().toString(static_cast<qlonglong>(state.records)));
    m_counts->setText(parts.join(QStringLiteral(", ")));
    emit shown();
}

void ProgressDialog::runJob(const std::function<void(ProgressReport&)>& job)
{
    m_report = std::make_unique<ProgressReport>();
    QPointer<ProgressDialog> self = this;
    m_report->m_post = [self] {
        QMetaObject::invokeMethod(
            self,
            [self] {
                if (self)
                    self->showState();
            },
            Qt::QueuedConnection);
    };
    m_cancel->setEnabled(true);
    ProgressDialog* outer = g_running;
    g_running = this;
    show();
    QEventLoop loop;
    std::thread worker([&] {
        job(*m_report);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    g_running = outer;
    hide();
}

void ProgressDialog::run(const std::function<void(const Report&)>& job)
{
    runJob(
        [&job](ProgressReport& report) { job([&report](const std::string& text) { report.step(text); }); });
}

} // namespace kestrix::runtime
