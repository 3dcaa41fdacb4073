#pragma once

#include <QDialog>

#include <functional>
#include <string>

class QLabel;

// A small modal window with one line of text that runs a long job on a
// worker thread; the job reports its steps through the callback it is given.
namespace kestrix::runtime {

class ProgressDialog final : public QDialog
{
    Q_OBJECT

public:
    using Report = std::function<void(const std::string&)>;

    ProgressDialog(const QString& title, QWidget* parent = nullptr);
    // Returns when the job has finished.
    void run(const std::function<void(const Report&)>& job);
    QString text() const;

protected:
    void reject() override {} // the job cannot be cancelled halfway

private:
    QLabel* m_line = nullptr;
};

} // namespace kestrix::runtime
