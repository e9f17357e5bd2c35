#include "ui/settings/settingsdlg.h"

#include "core/paths.h"
#include "core/qttranslations.h"
#include "core/settings.h"
#include "db/logsettings.h"
#include "localisation/language.h"
#include "ui/main/filllistmodel.h"
#include "ui/messagebox.h"
#include "ui/settings/unitsgroup.h"
#include "ui/widgettext.h"

#include <QAction>
#include <QCheckBox>
#include <QCollator>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

struct ColumnBox {
    CFillListModel::Column column;
    const TextId* text;
    const char* objectName;
};

// Top to bottom, as the page shows them.
const ColumnBox kColumnBoxes[] = {
    {CFillListModel::RecordNumber, &Text::Settings_order, "columnRecordNumber"},
    {CFillListModel::Date, &Text::Settings_date, "columnDate"},
    {CFillListModel::Fuel, &Text::Settings_fuel, "columnFuel"},
    {CFillListModel::Cost, &Text::Settings_cost, "columnCost"},
    {CFillListModel::Odometer, &Text::Settings_odometer, "columnOdometer"},
    {CFillListModel::Consumption, &Text::Settings_consumption, "columnConsumption"},
    {CFillListModel::Endurance, &Text::Settings_endurance, "columnEndurance"},
    {CFillListModel::Marks, &Text::Settings_marks, "columnMarks"},
};

// The file name in a stored language path: the text after its last separator.
QString storedFileName(const QString& storedPath) {
    const qsizetype separator =
        std::max(storedPath.lastIndexOf(u'\\'), storedPath.lastIndexOf(u'/'));
    return storedPath.mid(separator + 1);
}

} // namespace

const QKeySequence& CSettingsDlg::revealShortcut() {
    static const QKeySequence sequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D);
    return sequence;
}

CSettingsDlg::CSettingsDlg(QWidget* owner) : CScrollDlg(owner) {
    setObjectName(QStringLiteral("settingsDialog"));

    QWidget* content = contentWidget();
    m_nameLabel = new QLabel(content);
    m_nameLabel->setObjectName(QStringLiteral("vehicleNameLabel"));
    m_nameLabel->setTextFormat(Qt::PlainText);
    m_name = new QLineEdit(content);
    m_name->setObjectName(QStringLiteral("vehicleName"));
    m_name->setMaxLength(kMaxVehicleNameUnits);
    m_nameLabel->setBuddy(m_name);
    m_languageLabel = new QLabel(content);
    m_languageLabel->setObjectName(QStringLiteral("languageLabel"));
    m_languageLabel->setTextFormat(Qt::PlainText);
    m_language = new QComboBox(content);
    m_language->setObjectName(QStringLiteral("language"));
    m_languageLabel->setBuddy(m_language);

    m_columnsGroup = new QGroupBox(content);
    m_columnsGroup->setObjectName(QStringLiteral("columnsGroup"));
    auto* columnsLayout = new QVBoxLayout(m_columnsGroup);
    for (const ColumnBox& box : kColumnBoxes) {
        auto* check = new QCheckBox(m_columnsGroup);
        check->setObjectName(QString::fromLatin1(box.objectName));
        columnsLayout->addWidget(check);
        m_columns.append({check, CFillListModel::columnBit(box.column)});
    }

    m_methodGroup = new QGroupBox(content);
    m_methodGroup->setObjectName(QStringLiteral("methodGroup"));
    m_fullTank = new QRadioButton(m_methodGroup);
    m_fullTank->setObjectName(QStringLiteral("fullTank"));
    m_emptyTank = new QRadioButton(m_methodGroup);
    m_emptyTank->setObjectName(QStringLiteral("emptyTank"));
    auto* methodLayout = new QVBoxLayout(m_methodGroup);
    methodLayout->addWidget(m_fullTank);
    methodLayout->addWidget(m_emptyTank);

    m_unitsGroup = new CUnitsGroup(content);

    m_debugModeBox = new QCheckBox(content);
    m_debugModeBox->setObjectName(QStringLiteral("debugMode"));
    m_debugModeBox->hide();

    m_buttons = new QDialogButtonBox(content);
    m_buttons->setObjectName(QStringLiteral("buttons"));
    m_done = m_buttons->addButton(QString(), QDialogButtonBox::AcceptRole);
    m_done->setObjectName(QStringLiteral("done"));
    m_done->setDefault(true);
    m_done->setAutoDefault(true);

    auto* rows = new QFormLayout;
    rows->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    rows->addRow(m_nameLabel, m_name);
    rows->addRow(m_languageLabel, m_language);

    auto* layout = new QVBoxLayout(content);
    layout->addLayout(rows);
    layout->addWidget(m_columnsGroup);
    layout->addWidget(m_methodGroup);
    layout->addWidget(m_unitsGroup);
    layout->addWidget(m_debugModeBox);
    layout->addWidget(m_buttons);
    layout->addStretch();

    setTabOrder(m_name, m_language);
    QWidget* previous = m_language;
    for (const auto& [check, bit] : std::as_const(m_columns)) {
        setTabOrder(previous, check);
        previous = check;
    }
    setTabOrder(previous, m_fullTank);
    setTabOrder(m_fullTank, m_emptyTank);
    setTabOrder(m_emptyTank, m_unitsGroup->firstControl());
    setTabOrder(m_unitsGroup->lastControl(), m_debugModeBox);
    setTabOrder(m_debugModeBox, m_done);

    m_revealAction = new QAction(this);
    m_revealAction->setObjectName(QStringLiteral("actionRevealDebugMode"));
    m_revealAction->setShortcut(revealShortcut());
    m_revealAction->setShortcutContext(Qt::WindowShortcut);
    connect(m_revealAction, &QAction::triggered, this, &CSettingsDlg::revealDebugMode);
    addAction(m_revealAction);

    connect(m_buttons, &QDialogButtonBox::accepted, this, &CSettingsDlg::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &CSettingsDlg::reject);
    connect(m_language, &QComboBox::currentIndexChanged, this, &CSettingsDlg::previewLanguage);
}

CSettingsDlg::~CSettingsDlg() = default;

void CSettingsDlg::setVehicleName(const QString& name) {
    m_name->setText(name);
}

QString CSettingsDlg::vehicleName() const {
    return m_name->text();
}

void CSettingsDlg::setUnits(const LogUnits& units) {
    m_units = units;
    m_unitsGroup->setUnits(units);
}

int CSettingsDlg::doModal() {
    initDialog();
    execDialog(*this);
    // Qt's texts go back to the loaded language; the Settings command installs the chosen one.
    if (m_previewing)
        installQtTranslations(language().localeName());
    return m_collected ? QDialog::Accepted : QDialog::Rejected;
}

void CSettingsDlg::initDialog() {
    fillLanguageList();

    const quint32 columns = readColumnDefinition();
    for (const auto& [check, bit] : std::as_const(m_columns))
        check->setChecked((columns & bit) != 0);

    const bool debugMode = readDebugMode();
    m_debugModeBox->setVisible(debugMode);
    m_debugModeBox->setChecked(debugMode);

    if (readFillingMethod() == FillingMethod::ToEmptyTank)
        m_emptyTank->setChecked(true);
    else
        m_fullTank->setChecked(true);

    translateControls();
    m_name->setFocus();
    setupScrolling();
}

// Lists the base names of the language files beside the program, sorted, and selects the one
// the settings name. Each entry keeps its file name, so that a name of any length, and one
// whose extension is not written in small letters, is stored exactly as found.
void CSettingsDlg::fillLanguageList() {
    const QSignalBlocker blocker(m_language);
    m_language->clear();
    QString current;
    const bool haveCurrent = readLanguagePath(&current);
    const QString currentName = storedFileName(current);

    QFileInfoList files =
        QDir(languageBaseFolder() + QStringLiteral("/lang"))
            .entryInfoList({QStringLiteral("*.lng")}, QDir::Files | QDir::Hidden, QDir::Unsorted);
    // A file that names its language is listed under that name, any other under its base name.
    QList<std::pair<QString, QFileInfo>> entries;
    for (const QFileInfo& file : std::as_const(files)) {
        CLanguage table;
        table.load(QStringLiteral("lang/") + file.fileName(), languageBaseFolder());
        const QString name = table.ownName();
        entries.append({name.isEmpty() ? file.completeBaseName() : name, file});
    }
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(entries.begin(), entries.end(), [&collator](const auto& a, const auto& b) {
        return collator.compare(a.first, b.first) < 0;
    });
    int selected = -1;
    for (const auto& [name, file] : std::as_const(entries)) {
        m_language->addItem(name, file.fileName());
        if (haveCurrent && file.fileName().compare(currentName, Qt::CaseInsensitive) == 0)
            selected = m_language->count() - 1;
    }
    m_language->setCurrentIndex(selected);
}

void CSettingsDlg::previewLanguage() {
    m_preview.clear();
    if (m_language->currentIndex() >= 0)
        m_preview.load(QStringLiteral("lang/") + m_language->currentData().toString(),
                       languageBaseFolder());
    m_previewing = true;
    installQtTranslations(m_preview.localeName());
    translateControls();
    // Longer texts may need a wider page.
    setupScrolling();
}

QString CSettingsDlg::text(const TextId& id) const {
    return m_previewing ? m_preview.translate(id.section, id.key, id.defaultText) : translate(id);
}

void CSettingsDlg::translateControls() {
    setWindowTitle(text(Text::Settings_caption));
    m_nameLabel->setText(widgetText(text(Text::Settings_vehiclename)));
    m_languageLabel->setText(widgetText(text(Text::Settings_language)));
    m_columnsGroup->setTitle(widgetText(text(Text::Settings_columns)));
    for (qsizetype i = 0; i < m_columns.size(); ++i)
        m_columns.at(i).first->setText(widgetText(text(*kColumnBoxes[i].text)));
    m_methodGroup->setTitle(widgetText(text(Text::Settings_method)));
    m_fullTank->setText(widgetText(text(Text::Settings_fulltank)));
    m_emptyTank->setText(widgetText(text(Text::Settings_emptytank)));
    m_unitsGroup->translateControls([this](const TextId& id) { return text(id); });
    m_debugModeBox->setText(widgetText(text(Text::Settings_debugmode)));
    m_done->setText(widgetText(text(Text::Settings_done)));
    // A standard button takes Qt's text in the language installed when it is made.
    m_buttons->setStandardButtons(QDialogButtonBox::Cancel);
    QPushButton* cancel = m_buttons->button(QDialogButtonBox::Cancel);
    cancel->setObjectName(QStringLiteral("cancel"));
    setTabOrder(m_done, cancel);
}

void CSettingsDlg::revealDebugMode() {
    if (m_debugModeBox->isVisible())
        return;
    m_debugModeBox->show();
    // The page has grown by one line.
    setupScrolling();
    m_debugModeBox->setFocus();
}

// Clicks that no control takes reach the dialog: those on the page itself, and those that a
// label or a group box, which do nothing with a click, pass on.
void CSettingsDlg::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && !m_debugModeBox->isVisible() &&
        m_backgroundClicks.tap(event->timestamp()))
        revealDebugMode();
    CScrollDlg::mousePressEvent(event);
}

void CSettingsDlg::done(int result) {
    if (result == QDialog::Accepted) {
        if (!unitsAccepted())
            return;
        collectSettings();
    }
    CScrollDlg::done(result);
}

bool CSettingsDlg::unitsAccepted() {
    if (m_unitsGroup->refuseHomePrice(this))
        return false;
    const VehicleEnergy chosen = m_unitsGroup->units().energy;
    if (chosen == m_units.energy)
        return true;
    QMessageBox::StandardButton answer = QMessageBox::Yes;
    if (chosen == VehicleEnergy::Fuel && m_charges > 0) {
        // A fuel log has no place for charges; they stay as they are until removed.
        showMessageBox(this, QStringLiteral("Tankometer"),
                       text(Text::Settings_chargesinfuellog).arg(m_charges), QMessageBox::Warning,
                       QMessageBox::Ok);
        answer = QMessageBox::No;
    } else if (chosen == VehicleEnergy::Electric && m_fuelFills > 0) {
        answer = showMessageBox(this, QStringLiteral("Tankometer"),
                                text(Text::Settings_fuelbecomescharges).arg(m_fuelFills),
                                QMessageBox::Question, QMessageBox::Yes | QMessageBox::No,
                                QMessageBox::No);
    }
    if (answer == QMessageBox::Yes)
        return true;
    m_unitsGroup->energyControl()->setFocus(Qt::OtherFocusReason);
    return false;
}

void CSettingsDlg::collectSettings() {
    m_langPath = QStringLiteral("lang\\");
    if (m_language->currentIndex() >= 0)
        m_langPath += m_language->currentData().toString();
    else
        m_langPath += QStringLiteral(".lng");

    m_colDef = 0;
    for (const auto& [check, bit] : std::as_const(m_columns)) {
        if (check->isChecked())
            m_colDef |= bit;
    }
    m_debugMode = m_debugModeBox->isChecked() ? 1 : 0;
    m_fillingMethod =
        quint32(m_emptyTank->isChecked() ? FillingMethod::ToEmptyTank : FillingMethod::FullTank);
    m_units = m_unitsGroup->units();
    m_collected = true;
}
