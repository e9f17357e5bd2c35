#include "ui/settings/settingsdlg.h"

#include "core/paths.h"
#include "core/settings.h"
#include "localisation/language.h"
#include "ui/main/filllistmodel.h"
#include "ui/messagebox.h"
#include "ui/widgettext.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
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
    // The caption is the same in every language.
    setWindowTitle(QStringLiteral("Settings"));

    QWidget* content = contentWidget();
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

    m_debugModeBox = new QCheckBox(QStringLiteral("Debug mode"), content);
    m_debugModeBox->setObjectName(QStringLiteral("debugMode"));
    m_debugModeBox->hide();

    m_done = new QPushButton(QStringLiteral("Done"), content);
    m_done->setObjectName(QStringLiteral("done"));
    m_done->setDefault(true);
    m_done->setAutoDefault(true);

    auto* languageRow = new QHBoxLayout;
    languageRow->addWidget(m_languageLabel);
    languageRow->addWidget(m_language, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_done);

    auto* layout = new QVBoxLayout(content);
    layout->addLayout(languageRow);
    layout->addWidget(m_columnsGroup);
    layout->addWidget(m_methodGroup);
    layout->addWidget(m_debugModeBox);
    layout->addLayout(buttons);
    layout->addStretch();

    QWidget* previous = m_language;
    for (const auto& [check, bit] : std::as_const(m_columns)) {
        setTabOrder(previous, check);
        previous = check;
    }
    setTabOrder(previous, m_fullTank);
    setTabOrder(m_fullTank, m_emptyTank);
    setTabOrder(m_emptyTank, m_debugModeBox);
    setTabOrder(m_debugModeBox, m_done);

    m_revealAction = new QAction(this);
    m_revealAction->setObjectName(QStringLiteral("actionRevealDebugMode"));
    m_revealAction->setShortcut(revealShortcut());
    m_revealAction->setShortcutContext(Qt::WindowShortcut);
    connect(m_revealAction, &QAction::triggered, this, &CSettingsDlg::revealDebugMode);
    addAction(m_revealAction);

    connect(m_done, &QPushButton::clicked, this, &CSettingsDlg::accept);
}

CSettingsDlg::~CSettingsDlg() = default;

int CSettingsDlg::doModal() {
    initDialog();
    execDialog(*this);
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
    m_language->setFocus();
    setupScrolling();
}

// Lists the base names of the language files beside the program, sorted, and selects the one
// the settings name. Each entry keeps its file name, so that a name of any length, and one
// whose extension is not written in small letters, is stored exactly as found.
void CSettingsDlg::fillLanguageList() {
    m_language->clear();
    QString current;
    const bool haveCurrent = readLanguagePath(&current);
    const QString currentName = storedFileName(current);

    QFileInfoList files =
        QDir(programFolder() + QStringLiteral("/lang"))
            .entryInfoList({QStringLiteral("*.lng")}, QDir::Files | QDir::Hidden, QDir::Unsorted);
    std::stable_sort(files.begin(), files.end(), [](const QFileInfo& a, const QFileInfo& b) {
        return QString::compare(a.completeBaseName(), b.completeBaseName(), Qt::CaseInsensitive) <
               0;
    });
    int selected = -1;
    for (const QFileInfo& file : std::as_const(files)) {
        m_language->addItem(file.completeBaseName(), file.fileName());
        if (haveCurrent && file.fileName().compare(currentName, Qt::CaseInsensitive) == 0)
            selected = m_language->count() - 1;
    }
    m_language->setCurrentIndex(selected);
}

void CSettingsDlg::translateControls() {
    m_languageLabel->setText(translatedWidgetText(Text::Settings_language));
    m_language->setAccessibleName(translate(Text::Settings_language));
    m_columnsGroup->setTitle(translatedWidgetText(Text::Settings_columns));
    for (qsizetype i = 0; i < m_columns.size(); ++i)
        m_columns.at(i).first->setText(translatedWidgetText(*kColumnBoxes[i].text));
    m_methodGroup->setTitle(translatedWidgetText(Text::Settings_method));
    m_fullTank->setText(translatedWidgetText(Text::Settings_fulltank));
    m_emptyTank->setText(translatedWidgetText(Text::Settings_emptytank));
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

void CSettingsDlg::done(int) {
    collectSettings();
    CScrollDlg::done(QDialog::Accepted);
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
    m_collected = true;
}
