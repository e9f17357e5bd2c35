#pragma once

// Paints the fill list's cells. Under the Fusion and Windows styles a cell is its background,
// its one line of text and the focus frame, drawn as the style draws them, with each text's
// layout kept from one painting to the next: a list of thousands of fills repaints without
// laying out every cell's text again. Other styles paint their own way.

#include <QFont>
#include <QHash>
#include <QStaticText>
#include <QStyledItemDelegate>

class CFillListDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    const QStaticText& laidOut(const QString& text, const QFont& font) const;

    mutable QHash<QString, QStaticText> m_texts;
    mutable QFont m_font;
};
