#pragma once

// The fills of the list whose station, driver or notes hold a search text. The view is given
// this model only while a text is typed: without one it shows the list model itself.

#include <QSortFilterProxyModel>
#include <QString>

class CFuelDatabase;

class CFillFilterModel : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit CFillFilterModel(const CFuelDatabase& database, QObject* parent = nullptr);

    // The text without the spaces around it; empty lets every fill through.
    QString text() const { return m_text; }
    void setText(const QString& text);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    const CFuelDatabase& m_database;
    QString m_text;
};
