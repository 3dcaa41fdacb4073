#pragma once

#include <QDialog>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

class QLabel;
class QProgressBar;
class QPushButton;

// The window of a long job that runs on a worker thread: what it does now, a
// bar of the files done, the records written, and Cancel. Cancel (also Escape
// and the close button) only asks: the job stops at its next safe point.
namespace kestrix::runtime {

// What a job tells its window and asks of it; every call is safe from the worker thread.
class ProgressReport final
{
public:
    void step(const std::string& text);
    void operator()(const std::string& text) { step(text); }
    void setFiles(int done, int total);
    void setRecords(std::int64_t records);
    bool cancelRequested() const { return m_cancel.load(); }

private:
    friend class ProgressDialog;
    struct State
    {
        std::string text;
        int filesDone = 0;
        int filesTotal = 0;
        std::int64_t records = -1; // not reported
    };
    void changed();

    std::function<void()> m_post; // asks the window to show the state once
    mutable std::mutex m_mutex;
    State m_state;
    bool m_posted = false;
    std::atomic<bool> m_cancel{false};
};

class ProgressDialog final : public QDialog
{
    Q_OBJECT

public:
    using Report = std::function<void(const std::string&)>;

    ProgressDialog(const QString& title, QWidget* parent = nullptr);
    ~ProgressDialog() override;
    // Returns when the job has finished; the rest of the program stays responsive meanwhile.
    void runJob(const std::function<void(ProgressReport&)>& job);
    // For jobs that only report their steps.
    void run(const std::function<void(const Report&)>& job);
    bool cancelled() const { return m_report && m_report->cancelRequested(); }

    QString text() const;
    QString counts() const;
    QProgressBar* bar() const { return m_bar; }
    // The window of the job now running, if any.
    static ProgressDialog* running();

public slots:
    void reject() override; // asks the job to stop; the window closes when it has

signals:
    void shown(); // the window shows a new state (for tests)

private:
    void showState();

    QLabel* m_line = nullptr;
    QProgressBar* m_bar = nullptr;
    QLabel* m_counts = nullptr;
    QPushButton* m_cancel = nullptr;
    std::unique_ptr<ProgressReport> m_report;
};

} // namespace kestrix::runtime
