#pragma once

#include <QCache>
#include <QFont>
#include <QStaticText>
#include <QStyledItemDelegate>

namespace kestrix::runtime {

// Paints plain one-line cells from text laid out once and kept: the standard delegate
// shapes every cell's text twice on every paint, which is most of the cost of
// repainting a long list as the user types into its locator.
class CachedTextDelegate final : public QStyledItemDelegate
{
public:
    explicit CachedTextDelegate(QObject* parent = nullptr) : QStyledItemDelegate(parent) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    // How many laid-out texts are kept; for tests.
    qsizetype cachedTexts() const { return m_texts.count(); }

private:
    const QStaticText& laidOut(const QString& text, const QFont& font) const;

    mutable QCache<QString, QStaticText> m_texts{4096};
    mutable QFont m_font;
};

} // namespace kestrix::runtime
