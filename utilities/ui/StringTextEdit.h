#pragma once

#include <QPlainTextEdit>

#include <string>
#include <vector>

namespace kestrix::utilities {

// The String Builder's text box: the text in the program's form (CR LF line
// ends, Windows-1252), the lines as it shows them word-wrapped, and drops of
// dictionary fields.
class StringTextEdit final : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit StringTextEdit(QWidget* parent = nullptr);

    void setProgramText(const std::string& text);
    std::string programText() const;
    std::vector<std::string> displayedLines() const;

signals:
    void fieldsDropped();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

} // namespace kestrix::utilities
