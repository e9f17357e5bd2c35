#pragma once

#include <QDialog>

class CMainWnd;
class QTableWidget;

// Help > Keyboard shortcuts: every key of the main window with the command it runs, from the
// window's own commands, so that the page always tells what the keys do.
class CShortcutsDlg : public QDialog {
    Q_OBJECT
public:
    explicit CShortcutsDlg(CMainWnd* window);
    ~CShortcutsDlg() override;

    // Runs modally; QDialog::Accepted after OK, Rejected after Escape.
    int doModal();

    QTableWidget* table() const { return m_table; }

private:
    void addRow(const QString& command, const QString& keys);

    QTableWidget* m_table = nullptr;
};
