#include "runtime/ui/CachedTextDelegate.h"

#include <QApplication>
#include <QPainter>

namespace kestrix::runtime {

const QStaticText& CachedTextDelegate::laidOut(const QString& text, const QFont& font) const
{
    if (font != m_font) {
        m_texts.clear();
        m_font = font;
    }
    if (QStaticText* kept = m_texts.object(text))
        return *kept;
    auto* made = new QStaticText(text);
    made->setTextFormat(Qt::PlainText);
    made->setPerformanceHint(QStaticText::AggressiveCaching);
    made->prepare(QTransform(), font);
    m_texts.insert(text, made);
    return *m_texts.object(text);
}

void CachedTextDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const bool plain = opt.icon.isNull() && !(opt.features & QStyleOptionViewItem::HasCheckIndicator) &&
                       !opt.text.contains(QLatin1Char('\n'));
    if (!plain) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    const QString text = opt.text;
    opt.text.clear();
    // Background, selection and focus frame as the style draws them; only the text is ours.
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
    if (text.isEmpty())
        return;

    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect box = opt.rect.adjusted(margin, 0, -margin, 0);
    const QPalette::ColorGroup group = !(opt.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (opt.state & QStyle::State_Active) ? QPalette::Active
                                                                            : QPalette::Inactive;
    const QPalette::ColorRole role =
        (opt.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text;
    painter->save();
    painter->setPen(opt.palette.color(group, role));
    painter->setFont(opt.font);
    painter->setClipRect(opt.rect);
    const QStaticText& laid = laidOut(text, opt.font);
    const QSizeF size = laid.size();
    if (size.width() > box.width()) {
        // Too wide for its column: elided as the standard delegate would, laid out afresh.
        painter->drawText(box, static_cast<int>(opt.displayAlignment) | Qt::TextSingleLine,
                          opt.fontMetrics.elidedText(text, opt.textElideMode, box.width()));
    } else {
        const Qt::Alignment align = QStyle::visualAlignment(opt.direction, opt.displayAlignment);
        qreal x = box.left();
        if (align & Qt::AlignRight)
            x = box.right() + 1 - size.width();
        else if (align & Qt::AlignHCenter)
            x = box.left() + (box.width() - size.width()) / 2;
        qreal y = box.top();
        if (align & Qt::AlignBottom)
            y = box.bottom() + 1 - size.height();
        else if (!(align & Qt::AlignTop))
            y = box.top() + (box.height() - size.height()) / 2;
        painter->drawStaticText(QPointF(x, y), laid);
    }
    painter->restore();
}

} // namespace kestrix::runtime
