#include "utilities/ui/StringTextEdit.h"

#include "config/DraggedFields.h"
#include "runtime/LineBreaks.h"
#include "runtime/ui/QtText.h"

#include <QDropEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextLayout>

namespace kestrix::utilities {

namespace {

bool carriesFields(const QMimeData* data)
{
    return data && data->hasFormat(QString::fromLatin1(config::DraggedFieldsMime));
}

} // namespace

StringTextEdit::StringTextEdit(QWidget* parent) : QPlainTextEdit(parent)
{
    setAcceptDrops(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
}

void StringTextEdit::setProgramText(const std::string& text)
{
    const QString qt = runtime::toQt(runtime::lineFeedsFromCrLf(text));
    if (toPlainText() != qt)
        setPlainText(qt);
}

std::string StringTextEdit::programText() const
{
    return runtime::crLfFromLineFeeds(runtime::fromQt(toPlainText()));
}

std::vector<std::string> StringTextEdit::displayedLines() const
{
    std::vector<std::string> lines;
    // Blocks are laid out when first painted; the lines of every block are wanted now.
    auto* documentLayout = qobject_cast<QPlainTextDocumentLayout*>(document()->documentLayout());
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        if (documentLayout)
            documentLayout->ensureBlockLayout(block);
        const QString text = block.text();
        const QTextLayout* layout = block.layout();
        if (!layout || layout->lineCount() == 0) {
            lines.push_back(runtime::fromQt(text));
            continue;
        }
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            lines.push_back(runtime::fromQt(text.mid(line.textStart(), line.textLength())));
        }
    }
    return lines;
}

void StringTextEdit::dragEnterEvent(QDragEnterEvent* event)
{
    if (carriesFields(event->mimeData())) {
        event->acceptProposedAction();
        return;
    }
    QPlainTextEdit::dragEnterEvent(event);
}

void StringTextEdit::dragMoveEvent(QDragMoveEvent* event)
{
    if (carriesFields(event->mimeData())) {
        event->acceptProposedAction();
        return;
    }
    QPlainTextEdit::dragMoveEvent(event);
}

void StringTextEdit::dropEvent(QDropEvent* event)
{
    if (carriesFields(event->mimeData())) {
        event->acceptProposedAction();
        emit fieldsDropped();
        return;
    }
    QPlainTextEdit::dropEvent(event);
}

} // namespace kestrix::utilities
