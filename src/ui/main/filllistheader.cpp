#include "ui/main/filllistheader.h"

#include <QStyle>
#include <QStyleOptionHeader>

CFillListHeader::CFillListHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    setHighlightSections(false);
}

QSize CFillListHeader::sectionSizeFromContents(int logicalIndex) const {
    if (highlightSections() ||
        model()->headerData(logicalIndex, orientation(), Qt::SizeHintRole).isValid())
        return QHeaderView::sectionSizeFromContents(logicalIndex);
    QStyleOptionHeader option;
    initStyleOption(&option);
    initStyleOptionForIndex(&option, logicalIndex);
    if (isSortIndicatorShown())
        option.sortIndicator = QStyleOptionHeader::SortDown;
    return style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), this);
}
