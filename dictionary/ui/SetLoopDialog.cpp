#include "dictionary/ui/SetLoopDialog.h"

#include "dictionary/ui/AssignmentDialog.h"
#include "runtime/ui/HelpRequest.h"
#include "runtime/ui/QtText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace kestrix::dictionary {

namespace {

template <typename W> W* named(W* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

SetLoopDialog::SetLoopDialog(config::Session& session, SetGenerator request,
                             const std::vector<std::string>& files, const std::string& title, QWidget* parent)
    : QDialog(parent), m_session(session), m_request(std::move(request))
{
    setObjectName(QString::fromLatin1(Procedure));
    setWindowTitle(runtime::toQt(title));
    auto* form = new QFormLayout;
    auto* file = named(new QLineEdit(runtime::toQt(m_request.fileName), this), "file");
    file->setReadOnly(true);
    auto* key = named(new QLineEdit(runtime::toQt(m_request.keyName), this), "key");
    key->setReadOnly(true);
    form->addRow(QStringLiteral("File:"), file);
    form->addRow(QStringLiteral("Key:"), key);
    auto* next = named(new QRadioButton(QStringLiteral("NEXT"), this), "next");
    m_previous = named(new QRadioButton(QStringLiteral("PREVIOUS"), this), "previous");
    (m_request.next.rfind('P', 0) == 0 ? m_previous : next)->setChecked(true);
    auto* direction = new QHBoxLayout;
    direction->addWidget(next);
    direction->addWidget(m_previous);
    form->addRow(QStringLiteral("Read:"), direction);
    m_noMemo = named(new QCheckBox(QStringLiteral("NOMEMO()"), this), "noMemo");
    m_noMemo->setToolTip(QStringLiteral("NOMEMO() causes NEXT() not to read memo"));
    m_noMemo->setChecked(m_request.noMemo);
    form->addRow(QString(), m_noMemo);
    m_actionFile = named(new QComboBox(this), "actionFile");
    for (const std::string& f : files)
        m_actionFile->addItem(runtime::toQt(f));
    m_actionFile->setCurrentText(
        runtime::toQt(m_request.actionFile.empty() ? m_request.fileName : m_request.actionFile));
    form->addRow(QStringLiteral("File to perform Action on"), m_actionFile);
    m_action = named(new QComboBox(this), "action");
    for (const char* a : LoopActions)
        m_action->addItem(QString::fromLatin1(a));
    m_action->setCurrentText(runtime::toQt(m_request.action));
    form->addRow(QStringLiteral("Action"), m_action);

    m_stream = named(new QCheckBox(QStringLiteral(" Stream/Flush"), this), "stream");
    m_flush = named(new QCheckBox(QStringLiteral(" Flush After Every"), this), "flush");
    m_flushCount = named(new QSpinBox(this), "flushCount");
    m_flushCount->setRange(0, 32767);
    m_flushCount->setValue(m_request.flushRecords);
    m_yield = named(new QCheckBox(QStringLiteral(" Yield After Every"), this), "yield");
    m_yieldCount = named(new QSpinBox(this), "yieldCount");
    m_yieldCount->setRange(0, 32767);
    m_yieldCount->setValue(m_request.yieldRecords);
    m_cursor = named(new QCheckBox(QStringLiteral(" Cursor(Hourglass)"), this), "cursor");
    m_logout = named(new QCheckBox(QStringLiteral(" Logout/Commit"), this), "logout");
    m_abcSave = named(new QCheckBox(QStringLiteral(" ABC Save/Restore File State"), this), "abcSave");
    m_stream->setChecked(m_request.stream);
    m_logout->setChecked(m_request.logout);
    m_abcSave->setChecked(m_request.abcSave);
    form->addRow(QString(), m_stream);
    auto* flushRow = new QHBoxLayout;
    flushRow->addWidget(m_flush);
    flushRow->addWidget(m_flushCount);
    flushRow->addWidget(new QLabel(QStringLiteral("Records"), this));
    form->addRow(QString(), flushRow);
    auto* yieldRow = new QHBoxLayout;
    yieldRow->addWidget(m_yield);
    yieldRow->addWidget(m_yieldCount);
    yieldRow->addWidget(new QLabel(QStringLiteral("Records"), this));
    form->addRow(QString(), yieldRow);
    form->addRow(QString(), m_cursor);
    form->addRow(QString(), m_logout);
    form->addRow(QString(), m_abcSave);
    connect(m_stream, &QCheckBox::toggled, this, [this] { streamChanged(); });
    streamChanged();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* assign = named(buttons->addButton(QStringLiteral("&Assignments"), QDialogButtonBox::ActionRole),
                         "assignments");
    connect(assign, &QPushButton::clicked, this, [this] {
        AssignmentDialog dialog(m_session, "Assignments In Loop", m_assignments, this);
        if (dialog.exec() == QDialog::Accepted)
            m_assignments = dialog.list();
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    runtime::addHelpKey(this, QStringLiteral("~Generate_Set_Loop_Code"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    if (const auto place = session.positions().restore(Procedure))
        move(place->x, place->y);
}

SetLoopDialog::~SetLoopDialog()
{
    m_session.positions().save(Procedure, {x(), y(), width(), height(), false});
}

void SetLoopDialog::streamChanged()
{
    const bool streaming = m_stream->isChecked();
    m_yield->setText(streaming ? QStringLiteral(" Yield After Flush") : QStringLiteral(" Yield After Every"));
    m_flush->setEnabled(streaming);
    m_flushCount->setEnabled(streaming);
    m_yieldCount->setEnabled(!streaming);
}

SetGenerator SetLoopDialog::request() const
{
    SetGenerator sg = m_request;
    sg.next = m_previous->isChecked() ? "PREVIOUS" : "NEXT";
    sg.noMemo = m_noMemo->isChecked();
    sg.actionFile = runtime::fromQt(m_actionFile->currentText());
    sg.action = runtime::fromQt(m_action->currentText());
    sg.stream = m_stream->isChecked();
    sg.flushEvery = m_flush->isChecked();
    sg.flushRecords = m_flushCount->value();
    sg.yieldEvery = m_yield->isChecked();
    sg.yieldRecords = m_yieldCount->value();
    sg.cursorWait = m_cursor->isChecked();
    sg.logout = m_logout->isChecked();
    sg.abcSave = m_abcSave->isChecked();
    return sg;
}

} // namespace kestrix::dictionary
