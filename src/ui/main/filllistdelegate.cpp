#include "ui/main/filllistdelegate.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <cstring>

namespace {

// The styles known to draw an item as its panel, its text laid out in one line and the focus
// frame, the way paint() below does; any other style (a style sheet's too) draws the item itself.
bool drawsPlainItems(const QStyle* style) {
    const char* name = style->metaObject()->className();
    return std::strcmp(name, "QFusionStyle") == 0 || std::strcmp(name, "QWindowsStyle") == 0;
}

// A new font or a long scroll through the history: the kept layouts are let go at this count.
constexpr qsizetype kMaxTexts = 4096;

} // namespace

const QStaticText& CFillListDelegate::laidOut(const QString& text, const QFont& font) const {
    if (font != m_font || m_texts.size() >= kMaxTexts) {
        m_texts.clear();
        m_font = font;
    }
    auto found = m_texts.find(text);
    if (found == m_texts.end()) {
        QStaticText staticText(text);
        staticText.setTextFormat(Qt::PlainText);
        staticText.prepare(QTransform(), font);
        found = m_texts.insert(text, staticText);
    }
    return *found;
}

void CFillListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    const QWidget* widget = option.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const auto unusual = QStyleOptionViewItem::WrapText | QStyleOptionViewItem::HasCheckIndicator |
                         QStyleOptionViewItem::HasDecoration;
    // Right to left, the style orders the text's parts by their direction.
    if (!drawsPlainItems(style) || (item.features & unusual) ||
        (item.state & QStyle::State_Editing) || item.direction != Qt::LeftToRight) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect textRect = item.rect.adjusted(margin, 0, -margin, 0);
    const QStaticText* text = nullptr;
    if (!item.text.isEmpty()) {
        text = &laidOut(item.text, item.font);
        // A text cut short ends in an ellipsis, as the style makes it.
        if (text->size().width() > textRect.width()) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
    }

    painter->save();
    painter->setClipRect(item.rect);
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &item, painter, widget);
    QPalette::ColorGroup group =
        item.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    if (group == QPalette::Normal && !(item.state & QStyle::State_Active))
        group = QPalette::Inactive;
    if (text) {
        painter->setPen(item.palette.color(group, item.state & QStyle::State_Selected
                                                      ? QPalette::HighlightedText
                                                      : QPalette::Text));
        painter->setFont(item.font);
        // As the style lays a text out: in a line as wide as the cell, aligned within it, the
        // line's height placed by the alignment.
        const QSizeF size = text->size();
        const Qt::Alignment alignment = item.displayAlignment;
        const QRect line =
            QStyle::alignedRect(Qt::LeftToRight, alignment & Qt::AlignVertical_Mask,
                                QSize(textRect.width(), qRound(size.height())), textRect);
        qreal x = line.x();
        if (alignment & Qt::AlignRight)
            x += line.width() - size.width();
        else if (alignment & Qt::AlignHCenter)
            x += (line.width() - size.width()) / 2;
        const QPointF placed(x, line.y());
        painter->drawStaticText(placed, *text);
    }
    if (item.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(item);
        focus.rect = style->subElementRect(QStyle::SE_ItemViewItemFocusRect, &item, widget);
        focus.state |= QStyle::State_KeyboardFocusChange | QStyle::State_Item;
        focus.backgroundColor = item.palette.color(
            group, item.state & QStyle::State_Selected ? QPalette::Highlight : QPalette::Window);
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, widget);
    }
    painter->restore();
}
