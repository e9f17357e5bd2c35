#pragma once

// The fill list's column header. Qt sizes a header section for its text in bold, in case the
// section is drawn highlighted; this header never highlights a section, so it sizes them in
// its own font, and the window's start does without loading a bold face it never shows.

#include <QHeaderView>

class CFillListHeader : public QHeaderView {
public:
    explicit CFillListHeader(QWidget* parent = nullptr);

protected:
    QSize sectionSizeFromContents(int logicalIndex) const override;
};
