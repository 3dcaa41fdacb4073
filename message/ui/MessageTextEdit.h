#pragma once

#include <QPlainTextEdit>

#include <functional>
#include <string>

namespace kestrix::message {

// The "Text:" box. It shows the record's text (CR LF line ends) with plain line
// feeds; Tab types the configured tab character; dictionary fields may be dropped on it.
class MessageTextEdit final : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit MessageTextEdit(QWidget* parent = nullptr);

    void setTabCharacter(std::function<char()> tab) { m_tab = std::move(tab); }
    // The record's form and back.
    void setRecordText(const std::string& text);
    std::string recordText() const;
    // The caret as characters before it in the record's form (a line end counts two).
    int recordCaret() const;
    void setRecordCaret(int caret);

signals:
    void fieldsDropped();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    std::function<char()> m_tab;
};

} // namespace kestrix::message
