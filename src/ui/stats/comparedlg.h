#pragma once

#include <QDialog>
#include <QStringList>

class CFuelDatabase;
class QTableWidget;

// Statistics > Compare vehicles: the totals of several logs side by side, one column per
// vehicle, the open one first. The other logs are read from their files and left unchanged.
class CCompareDlg : public QDialog {
    Q_OBJECT
public:
    explicit CCompareDlg(QWidget* owner);
    ~CCompareDlg() override;

    void setVehicles(const CFuelDatabase& open, const QStringList& otherPaths);
    // Runs modally; QDialog::Accepted after OK, Rejected after Escape.
    int doModal();

    QTableWidget* table() const { return m_table; }

private:
    // A vehicle's column: its totals, or none when its log could not be read.
    struct Vehicle;
    void showVehicles(const QList<Vehicle>& vehicles);
    void showCosts(const QList<Vehicle>& vehicles);
    void fitTableToContents();

    QTableWidget* m_table = nullptr;
};
