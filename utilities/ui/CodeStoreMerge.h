#pragma once

#include "config/DraggedFields.h"
#include "runtime/WindowPositionStore.h"
#include "utilities/CodeMerge.h"

#include <QDialog>

#include <vector>

class QLineEdit;
class QPushButton;

namespace kestrix::utilities {

// "Enter/Drop Code Merge Data": one value per merge token, each with a button
// that takes the dictionary field dropped on it (or last dragged) into the entry.
class CodeStoreMerge final : public QDialog
{
    Q_OBJECT

public:
    CodeStoreMerge(std::vector<MergeToken> tokens, const config::DraggedFieldList& dragged,
                   runtime::WindowPositionStore positions, QWidget* parent = nullptr);
    ~CodeStoreMerge() override;

    // The tokens with the values as entered.
    std::vector<MergeToken> tokens() const;
    QLineEdit* valueEntry(std::size_t index) const { return m_values.at(index); }
    QPushButton* dropButton(std::size_t index) const { return m_drops.at(index); }

private:
    std::vector<MergeToken> m_tokens;
    const config::DraggedFieldList& m_dragged;
    runtime::WindowPositionStore m_positions;
    std::vector<QLineEdit*> m_values;
    std::vector<QPushButton*> m_drops;
};

} // namespace kestrix::utilities
