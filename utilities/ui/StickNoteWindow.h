#pragma once

#include "runtime/ui/ToolWindow.h"
#include "utilities/StickNote.h"

#include <functional>
#include <memory>

class QAction;
class QPlainTextEdit;

namespace kestrix::utilities {

// "Stick Note": one note of the note book, its look kept in the configuration.
class StickNoteWindow final : public runtime::ToolWindow
{
    Q_OBJECT

public:
    // `settingsChanged` writes changed settings back; the note's text goes to `book` as it changes.
    StickNoteWindow(std::shared_ptr<NoteBook> book, OpenedNote note, NoteSettings settings,
                    std::function<void(const NoteSettings&)> settingsChanged, runtime::DialogService& dialogs,
                    runtime::ToolRegistry& registry, runtime::WindowPositionStore positions,
                    QWidget* parent = nullptr);
    ~StickNoteWindow() override;

    int number() const { return m_number; }
    const NoteSettings& settings() const { return m_settings; }
    QPlainTextEdit* editor() const { return m_text; }
    // The colour popup at `where`; what the user picks becomes the background.
    void chooseColor(const QPoint& where);
    void chooseFont();
    void setBars(NoteBars bars);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void textChanged();
    void applySettings();
    void settingsEdited();
    void save();

    std::shared_ptr<NoteBook> m_book;
    int m_number = 0;
    NoteSettings m_settings;
    std::function<void(const NoteSettings&)> m_settingsChanged;
    runtime::DialogService& m_dialogs;
    QPlainTextEdit* m_text = nullptr;
    QAction* m_bars[4] = {};
    QString m_accepted; // the text as last accepted, restored when a change is refused
    bool m_saveFailed = false;
    bool m_closed = false;
};

} // namespace kestrix::utilities
