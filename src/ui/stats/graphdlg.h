#pragma once

// Two line charts one above the other, each under a list that chooses what it plots: fill
// cost, consumption, unit cost or endurance, over the fills from a start fill on. The dialog
// only reads the database.

#include "db/units.h"
#include "stats/graphseries.h"

#include <QDialog>

class CFuelDatabase;
class CGraphCtrl;
class QComboBox;
class QPushButton;

class CGraphDlg : public QDialog {
    Q_OBJECT
public:
    explicit CGraphDlg(QWidget* owner);
    ~CGraphDlg() override;

    void setDatabase(const CFuelDatabase* database) { m_database = database; }
    // The first fill graphed: 0 <= startIndex < the number of fills.
    void setStartIndex(int startIndex) { m_startIndex = startIndex; }

    // Initialises and runs the dialog modally.
    int doModal();

    CGraphCtrl* topChart() const { return m_topChart; }
    CGraphCtrl* bottomChart() const { return m_bottomChart; }
    QComboBox* topList() const { return m_topList; }
    QComboBox* bottomList() const { return m_bottomList; }

    // The kind the list has selected; fill cost when it has none.
    static GraphKind selectedKind(const QComboBox* list);
    LogUnits units() const;

private:
    void initDialog();
    void fillList(QComboBox* list, GraphKind defaultKind);
    void showKinds();
    QList<float> series(const QComboBox* list) const;

    QComboBox* m_topList = nullptr;
    CGraphCtrl* m_topChart = nullptr;
    QComboBox* m_bottomList = nullptr;
    CGraphCtrl* m_bottomChart = nullptr;
    QPushButton* m_ok = nullptr;
    const CFuelDatabase* m_database = nullptr;
    int m_startIndex = 0;
};
