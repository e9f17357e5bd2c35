#pragma once

// The dialog in which the user tells which column of a CSV file holds which value of a fill,
// and which then imports the file into the open log. Under the column pickers it shows the
// first lines of the file, so that the user sees which column is which.

#include "csv/csvimport.h"

#include <QDialog>
#include <QString>
#include <array>

class CFuelDatabase;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

class CImportDlg : public QDialog {
    Q_OBJECT
public:
    explicit CImportDlg(QWidget* owner);
    ~CImportDlg() override;

    void setCsvPath(const QString& path) { m_csvPath = path; }
    // The log the file goes into: its units, and the fills it already holds.
    void setLog(const CFuelDatabase* log) { m_log = log; }

    // Fills the pickers and the preview from the file and runs the dialog modally:
    // QDialog::Accepted once the file has been read (read() says how that went), Rejected after
    // Cancel.
    int doModal();

    // The column each picker has chosen, -1 for none.
    CsvColumnMap columnMap() const;

    // Import: a value without a column of its own is named and the dialog stays as it is;
    // otherwise the file is read and the dialog closes.
    void accept() override;

    // What the last Import read.
    const CsvImportResult& result() const { return m_result; }
    // Reads the file with the chosen columns for the given log (readFailed when it cannot be
    // opened or read).
    CsvImportResult read(const CFuelDatabase& log) const;

    // The message after an import: how many fills came in, how many lines were skipped, and
    // the first skipped lines with what did not read.
    static QString importReport(const CsvImportResult& result);

private:
    void initDialog();
    void translateControls();
    void fillColumnPicker(QComboBox* picker, bool allowMissing, const QStringList& header);
    void fillPreview(const QStringList& header, const QList<QStringList>& lines);
    void fitPreview();

    std::array<QLabel*, kCsvValueCount> m_labels{};
    std::array<QComboBox*, kCsvValueCount> m_pickers{};
    QLabel* m_comment = nullptr;
    QLabel* m_previewLabel = nullptr;
    QTableWidget* m_preview = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QString m_csvPath;
    const CFuelDatabase* m_log = nullptr;
    CsvImportResult m_result;
};
