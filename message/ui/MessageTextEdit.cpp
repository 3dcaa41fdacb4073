#include "message/ui/MessageTextEdit.h"

#include "config/DraggedFields.h"
#include "runtime/LineBreaks.h"
#include "runtime/ui/QtText.h"

#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>

namespace kestrix::message {

MessageTextEdit::MessageTextEdit(QWidget* parent) : QPlainTextEdit(parent)
{
    setTabChangesFocus(false);
    setAcceptDrops(true);
}

void MessageTextEdit::setRecordText(const std::string& text)
{
    const QString qt = runtime::toQt(runtime::lineFeedsFromCrLf(text));
    if (toPlainText() != qt)
        setPlainText(qt);
}

std::string MessageTextEdit::recordText() const
{
    return runtime::crLfFromLineFeeds(runtime::fromQt(toPlainText()));
}

int MessageTextEdit::recordCaret() const
{
    const int position = textCursor().position();
    return position + static_cast<int>(toPlainText().left(position).count(QLatin1Char('\n')));
}

void MessageTextEdit::setRecordCaret(int caret)
{
    const QString shown = toPlainText();
    int position = 0;
    for (int used = 0; position < shown.size() && used < caret; ++position)
        used += shown[position] == QLatin1Char('\n') ? 2 : 1;
    QTextCursor cursor = textCursor();
    cursor.setPosition(position);
    setTextCursor(cursor);
}

void MessageTextEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Tab && event->modifiers() == Qt::NoModifier && m_tab) {
        insertPlainText(runtime::toQt(std::string(1, m_tab())));
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void MessageTextEdit::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasFormat(QString::fromLatin1(config::DraggedFieldsMime))) {
        event->acceptProposedAction();
        return;
    }
    QPlainTextEdit::dragEnterEvent(event);
}

void MessageTextEdit::dragMoveEvent(QDragMoveEvent* event)
{
    if (event->mimeData()->hasFormat(QString::fromLatin1(config::DraggedFieldsMime))) {
        setTextCursor(cursorForPosition(event->position().toPoint()));
        event->acceptProposedAction();
        return;
    }
    QPlainTextEdit::dragMoveEvent(event);
}

void MessageTextEdit::dropEvent(QDropEvent* event)
{
    if (event->mimeData()->hasFormat(QString::fromLatin1(config::DraggedFieldsMime))) {
        // The fields themselves are in the process-wide dragged-field list.
        setTextCursor(cursorForPosition(event->position().toPoint()));
        event->acceptProposedAction();
        emit fieldsDropped();
        return;
    }
    QPlainTextEdit::dropEvent(event);
}

} // namespace kestrix::message
