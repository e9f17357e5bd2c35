#pragma once

#include "db/units.h"
#include "localisation/language.h"
#include "ui/fill/scrolldlg.h"
#include "ui/settings/tapseries.h"

#include <QList>
#include <QString>
#include <QtGlobal>
#include <utility>

class QAction;
class QKeySequence;
class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class CUnitsGroup;

// The settings page: the interface language, the columns of the fill list, the filling method
// and, once revealed, debug mode. It shows the stored settings when it opens and collects the
// choices when it closes; storing and applying them is the Settings command's work.
//
// Done ends it with the choices collected; Cancel, Escape and the window's close button end it
// without. A language chosen in the list shows in the page's own texts at once.
class CSettingsDlg : public CScrollDlg {
    Q_OBJECT
public:
    // The hidden debug-mode check box appears after this many clicks on the dialog's
    // background, each within the time window of the first, or at once with the key combination.
    static constexpr int kRevealClicks = 5;
    static constexpr quint64 kRevealWindowMs = 3000;
    static const QKeySequence& revealShortcut();

    explicit CSettingsDlg(QWidget* owner);
    ~CSettingsDlg() override;

    // Initialises and runs the dialog modally; QDialog::Accepted when it has ended with Done and
    // the choices collected.
    int doModal();

    // The chosen language file relative to languageBaseFolder(), as "lang\<file name>".
    const QString& langPath() const { return m_langPath; }
    quint32 colDef() const { return m_colDef; }
    quint32 debugMode() const { return m_debugMode; }
    quint32 fillingMethod() const { return m_fillingMethod; }
    // The open vehicle's name (or its file's name), shown when the dialog opens; as typed after.
    void setVehicleName(const QString& name);
    QString vehicleName() const;
    // The units of the open vehicle's log: shown when the dialog opens, collected when it ends.
    void setUnits(const LogUnits& units);
    const LogUnits& units() const { return m_units; }
    // How many fills of the open log are fuel and how many charges: a log that holds charges
    // cannot become a fuel log, and one that holds fuel becomes electric only when the user
    // agrees that its fills count as charges.
    void setFillKinds(int fuelFills, int charges) {
        m_fuelFills = fuelFills;
        m_charges = charges;
    }

    // Shows the debug-mode check box and puts the focus on it.
    void revealDebugMode();

    void done(int result) override;

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void initDialog();
    void fillLanguageList();
    void translateControls();
    // Shows the page in the language chosen in the list.
    void previewLanguage();
    QString text(const TextId& id) const;
    // False, after saying why and with the field focused, when the units cannot be taken.
    bool unitsAccepted();
    void collectSettings();

    QLabel* m_nameLabel = nullptr;
    QLineEdit* m_name = nullptr;
    QLabel* m_languageLabel = nullptr;
    QComboBox* m_language = nullptr;
    QGroupBox* m_columnsGroup = nullptr;
    // Each column's check box with the ColDef bit it stands for, top to bottom.
    QList<std::pair<QCheckBox*, quint32>> m_columns;
    QGroupBox* m_methodGroup = nullptr;
    QRadioButton* m_fullTank = nullptr;
    QRadioButton* m_emptyTank = nullptr;
    CUnitsGroup* m_unitsGroup = nullptr;
    QCheckBox* m_debugModeBox = nullptr;
    QPushButton* m_done = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
    // The chosen language file, while it is not the loaded one.
    CLanguage m_preview;
    bool m_previewing = false;
    QAction* m_revealAction = nullptr;

    TapSeries m_backgroundClicks{kRevealClicks, kRevealWindowMs};
    bool m_collected = false;

    QString m_langPath;
    quint32 m_colDef = 0;
    quint32 m_debugMode = 0;
    quint32 m_fillingMethod = 0;
    LogUnits m_units;
    int m_fuelFills = 0;
    int m_charges = 0;
};
