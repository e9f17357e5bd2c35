#pragma once

#include "csv/otherlogformat.h"
#include "csv/otherlogvalues.h"

#include <QDialog>
#include <QList>

class CFuelDatabase;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTableWidget;

// The import of another fuel log's export: the recognised format, the vehicle, the date order,
// decimal character and units, the column of each value, and a preview of every row as it will
// be stored or why it will be skipped. Every change shows in the preview at once. The dialog
// reads the log only to find the rows already in it; the caller imports rows() after Import.
class COtherLogDlg : public QDialog {
    Q_OBJECT
public:
    // The dialog's result when the user chose one new log per vehicle.
    static constexpr int PerVehicleResult = 2;

    COtherLogDlg(QWidget* owner, const CFuelDatabase& log, OtherLogFile file);
    ~COtherLogDlg() override;

    const OtherLogSettings& settings() const { return m_settings; }
    const QList<OtherLogRow>& rows() const { return m_rows; }
    const QList<OtherCostRow>& costRows() const { return m_costRows; }

private:
    void translateControls();
    // Reads the file as the format says, and shows what that gives.
    void applyFormat(OtherLogFormat format);
    void showSettings();
    void readSettings();
    void refreshPreview();

    const CFuelDatabase& m_log;
    OtherLogFile m_file;
    OtherLogSettings m_settings;
    QList<OtherLogRow> m_rows;
    QList<OtherCostRow> m_costRows;

    QLabel* m_formatLabel = nullptr;
    QComboBox* m_format = nullptr;
    QLabel* m_vehicleLabel = nullptr;
    QComboBox* m_vehicle = nullptr;
    QLabel* m_dateOrderLabel = nullptr;
    QComboBox* m_dateOrder = nullptr;
    QLabel* m_dateOrderHint = nullptr;
    QLabel* m_decimalLabel = nullptr;
    QComboBox* m_decimal = nullptr;
    QLabel* m_distanceLabel = nullptr;
    QComboBox* m_distance = nullptr;
    QLabel* m_volumeLabel = nullptr;
    QComboBox* m_volume = nullptr;
    QLabel* m_costCategoryLabel = nullptr;
    QComboBox* m_costCategory = nullptr;
    QGroupBox* m_columnsBox = nullptr;
    QList<QLabel*> m_columnLabels;
    QList<QComboBox*> m_columns;
    QTableWidget* m_preview = nullptr;
    QLabel* m_previewSummary = nullptr;
    QPushButton* m_import = nullptr;
    QPushButton* m_perVehicle = nullptr;
    QPushButton* m_cancel = nullptr;
};

// The translated reason a row is skipped for.
QString otherLogSkipText(OtherLogSkip skip);
QString otherCostSkipText(OtherCostSkip skip);

// Added, already in the log, skipped by reason, partial and after missed fills, and the same of
// the costs when the file had any: one line each; then a line for each section of the file that
// could not be read.
QString otherLogSummaryText(const OtherLogSummary& summary, const QStringList& damaged = {});
