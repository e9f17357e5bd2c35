#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The small About box: the program's icon, name and version, the support contact and, when
// the loaded language file has one, the translator's credit.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    static const QString& supportAddress();

    explicit CAboutDlg(QWidget* owner);
    ~CAboutDlg() override;

    // Initialises the dialog, centres it on its owner and runs it modally.
    int doModal();

    // Where a dialog of the given size stands centred on the owner's frame, in the owner's
    // screen coordinates; halves are rounded down.
    static QPoint centredTopLeft(const QRect& ownerFrame, const QSize& size);

private:
    void initDialog();

    QLabel* m_icon = nullptr;
    QLabel* m_version = nullptr;
    QLabel* m_supportLabel = nullptr;
    QLabel* m_supportAddress = nullptr;
    QLabel* m_translation = nullptr;
    QPushButton* m_ok = nullptr;
};
