#include "ui/main/commands.h"

#include "core/debuglog.h"
#include "core/logdocument.h"
#include "core/paths.h"
#include "core/qttranslations.h"
#include "core/settings.h"
#include "core/vehicles.h"
#include "csv/csvwriter.h"
#include "csv/historyfit.h"
#include "csv/otherlogformat.h"
#include "csv/otherlogvalues.h"
#include "csv/vehiclelogs.h"
#include "db/filewrite.h"
#include "db/formats.h"
#include "db/fueldatabase.h"
#include "localisation/language.h"
#include "localisation/textfile.h"
#include "stats/icsexport.h"
#include "stats/reminders.h"
#include "ui/chartsmodule.h"
#include "ui/fill/categoriesdlg.h"
#include "ui/fill/costdlg.h"
#include "ui/fill/filldlg.h"
#include "ui/import/importdlg.h"
#include "ui/import/otherlogdlg.h"
#include "ui/main/costlistmodel.h"
#include "ui/main/costspage.h"
#include "ui/main/filllistmodel.h"
#include "ui/main/mainwnd.h"
#include "ui/main/remindersdlg.h"
#include "ui/main/shortcutsdlg.h"
#include "ui/messagebox.h"
#include "ui/settings/aboutdlg.h"
#include "ui/settings/newvehicledlg.h"
#include "ui/settings/settingsdlg.h"
#include "ui/stats/comparedlg.h"
#include "ui/stats/fillinfodlg.h"
#include "ui/stats/graphdlg.h"
#include "ui/stats/totalsdlg.h"

#include <QApplication>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QMenu>
#include <QPointer>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTimer>
#include <QUndoStack>
#include <algorithm>
#include <iterator>

namespace {

using W = CMainWnd;
using C = CMainCommands;

const QString kCaption = QStringLiteral("Tankometer");

QList<QKeySequence> keys(std::initializer_list<QKeyCombination> combinations) {
    QList<QKeySequence> sequences;
    for (const QKeyCombination combination : combinations)
        sequences.append(QKeySequence(combination));
    return sequences;
}

using N = CommandNeeds;

// The commands of the menus and keys. Undo and Redo take their action from the log's undo stack,
// which triggers, enables and names it; the handlers here serve the dispatch by id.
const CommandInfo kCommands[] = {
    {.id = W::CmdSettings,
     .objectName = "actionSettings",
     .menuText = &Text::menu_FileSettings,
     .shortcuts = keys({Qt::CTRL | Qt::Key_Comma}),
     .handler = &C::settings,
     .opensDialog = true},
    {.id = W::CmdImportCsv,
     .objectName = "actionImportCsv",
     .menuText = &Text::menu_FileImport,
     .handler = &C::importCsv,
     .opensDialog = true},
    {.id = W::CmdImportOtherLog,
     .objectName = "actionImportOtherLog",
     .menuText = &Text::menu_FileImportOther,
     .handler = &C::importOtherLog,
     .opensDialog = true},
    {.id = W::CmdNoteMarkers,
     .objectName = "actionNoteMarkers",
     .menuText = &Text::menu_FileNoteMarkers,
     .handler = &C::convertNoteMarkers,
     .opensDialog = true,
     .needs = N::Fills},
    {.id = W::CmdExportCsv,
     .objectName = "actionExportCsv",
     .menuText = &Text::menu_FileExport,
     .shortcuts = keys({Qt::CTRL | Qt::Key_E}),
     .handler = &C::exportCsv,
     .opensDialog = true,
     .needs = N::Fills},
    {.id = W::CmdNewVehicle,
     .objectName = "actionNewVehicle",
     .menuText = &Text::menu_FileNewVehicle,
     .shortcuts = keys({Qt::CTRL | Qt::SHIFT | Qt::Key_N}),
     .handler = &C::newVehicle,
     .opensDialog = true},
    {.id = W::CmdOpenVehicle,
     .objectName = "actionOpenVehicle",
     .menuText = &Text::menu_FileOpenVehicle,
     .shortcuts = keys({Qt::CTRL | Qt::Key_O}),
     .handler = &C::openVehicle,
     .opensDialog = true},
    {.id = W::CmdRecentVehiclesMenu,
     .objectName = "recentVehiclesMenu",
     .menuText = &Text::menu_FileRecentVehicles},
    {.id = W::CmdAbout,
     .objectName = "actionAbout",
     .menuText = &Text::menu_FileAbout,
     .handler = &C::about,
     .opensDialog = true},
    {.id = W::CmdExit,
     .objectName = "actionExit",
     .menuText = &Text::menu_FileExit,
     .shortcuts = keys({Qt::CTRL | Qt::Key_Q}),
     .handler = &C::exit},
    {.id = W::CmdUndo,
     .objectName = "actionUndo",
     .menuText = &Text::menu_EditUndo,
     .shortcuts = keys({Qt::CTRL | Qt::Key_Z}),
     .handler = &C::undo,
     .needs = N::UndoStep},
    {.id = W::CmdRedo,
     .objectName = "actionRedo",
     .menuText = &Text::menu_EditRedo,
     .shortcuts = keys({Qt::CTRL | Qt::SHIFT | Qt::Key_Z, Qt::CTRL | Qt::Key_Y}),
     .handler = &C::redo,
     .needs = N::RedoStep},
    {.id = W::CmdAddFill,
     .objectName = "actionAddFill",
     .menuText = &Text::menu_FillAdd,
     .shortcuts = keys({Qt::CTRL | Qt::Key_N}),
     .handler = &C::addFill,
     .opensDialog = true},
    {.id = W::CmdEditFill,
     .objectName = "actionEditFill",
     .menuText = &Text::menu_FillEdit,
     .contextObjectName = "contextEditFill",
     .contextText = &Text::context_FillEdit,
     .handler = &C::editFill,
     .opensDialog = true,
     .needs = N::SelectedFill,
     .shownKey = "Return"},
    {.id = W::CmdRemoveFill,
     .objectName = "actionRemoveFill",
     .menuText = &Text::menu_FillRemove,
     .contextObjectName = "contextRemoveFill",
     .contextText = &Text::context_FillRemove,
     .shortcuts = keys({Qt::Key_Delete}),
     .handler = &C::removeFill,
     .needs = N::SelectedFill},
    {.id = W::CmdFillInformation,
     .objectName = "actionFillInformation",
     .menuText = &Text::menu_FillShowInfo,
     .contextObjectName = "contextFillInformation",
     .contextText = &Text::context_FillShowInfo,
     .shortcuts = keys({Qt::CTRL | Qt::Key_I}),
     .handler = &C::fillInformation,
     .opensDialog = true,
     .needs = N::SelectedFill},
    {.id = W::CmdStartGraphHere,
     .contextObjectName = "contextStartGraphHere",
     .contextText = &Text::context_GraphHere,
     .handler = &C::startGraphHere,
     .opensDialog = true,
     .needs = N::SelectedFill},
    {.id = W::CmdTotals,
     .objectName = "actionTotals",
     .menuText = &Text::menu_StatTotals,
     .shortcuts = keys({Qt::CTRL | Qt::Key_T}),
     .handler = &C::totals,
     .opensDialog = true},
    {.id = W::CmdGraph,
     .objectName = "actionGraph",
     .menuText = &Text::menu_StatGraph,
     .shortcuts = keys({Qt::CTRL | Qt::Key_G}),
     .handler = &C::graph,
     .opensDialog = true,
     .needs = N::Fills},
    {.id = W::CmdCompareVehicles,
     .objectName = "actionCompareVehicles",
     .menuText = &Text::menu_StatCompare,
     .handler = &C::compareVehicles,
     .opensDialog = true},
    {.id = W::CmdSaveAs,
     .objectName = "actionSaveAs",
     .menuText = &Text::menu_FileSaveAs,
     .shortcuts = keys({Qt::CTRL | Qt::SHIFT | Qt::Key_S}),
     .handler = &C::saveAs,
     .opensDialog = true},
    {.id = W::CmdCancel,
     .objectName = "actionDiscardSession",
     .menuText = &Text::menu_FileDiscard,
     .handler = &C::cancel,
     .needs = N::UndoStep},
    {.id = W::CmdToolbar,
     .objectName = "actionToolbar",
     .menuText = &Text::menu_ViewToolbar,
     .handler = &C::toggleToolbar,
     .isChecked = &W::toolbarShown},
    {.id = W::CmdStatusLine,
     .objectName = "actionStatusLine",
     .menuText = &Text::menu_ViewStatusLine,
     .handler = &C::toggleStatusLine,
     .isChecked = &W::statusLineShown},
    {.id = W::CmdKeyboardShortcuts,
     .objectName = "actionKeyboardShortcuts",
     .menuText = &Text::menu_HelpShortcuts,
     .shortcuts = keys({Qt::Key_F1}),
     .handler = &C::keyboardShortcuts,
     .opensDialog = true},
    {.id = W::CmdOk, .handler = &C::exit},
    {.id = W::CmdStatisticsOverTime,
     .objectName = "actionStatisticsOverTime",
     .menuText = &Text::menu_StatOverTime,
     .shortcuts = keys({Qt::CTRL | Qt::SHIFT | Qt::Key_T}),
     .handler = &C::statisticsOverTime,
     .opensDialog = true},
    {.id = W::CmdShowFills,
     .objectName = "actionShowFills",
     .menuText = &Text::costlist_ShowFills,
     .shortcuts = keys({Qt::CTRL | Qt::Key_1}),
     .handler = &C::showFills,
     .isChecked = &W::fillsShown},
    {.id = W::CmdShowCosts,
     .objectName = "actionShowCosts",
     .menuText = &Text::costlist_ShowCosts,
     .shortcuts = keys({Qt::CTRL | Qt::Key_2}),
     .handler = &C::showCosts,
     .isChecked = &W::costsShown},
    {.id = W::CmdAddCost,
     .objectName = "actionAddCost",
     .menuText = &Text::costlist_AddCost,
     .shortcuts = keys({Qt::CTRL | Qt::Key_K}),
     .handler = &C::addCost,
     .opensDialog = true},
    {.id = W::CmdEditCost,
     .objectName = "actionEditCost",
     .menuText = &Text::costlist_EditCost,
     .handler = &C::editCost,
     .opensDialog = true,
     .needs = N::SelectedCost,
     .shownKey = "Return"},
    {.id = W::CmdRemoveCosts,
     .objectName = "actionRemoveCosts",
     .menuText = &Text::costlist_RemoveCosts,
     .shortcuts = keys({Qt::Key_Delete}),
     .handler = &C::removeCosts,
     .needs = N::SelectedCost},
    {.id = W::CmdCostCategories,
     .objectName = "actionCostCategories",
     .menuText = &Text::costlist_Categories,
     .handler = &C::costCategories,
     .opensDialog = true},
    {.id = W::CmdReminders,
     .objectName = "actionReminders",
     .menuText = &Text::costlist_Reminders,
     .shortcuts = keys({Qt::CTRL | Qt::Key_R}),
     .handler = &C::reminders,
     .opensDialog = true},
    {.id = W::CmdExportReminders,
     .objectName = "actionExportReminders",
     .menuText = &Text::costlist_ExportReminders,
     .handler = &C::exportReminders,
     .opensDialog = true},
};

// clang-format off
constexpr int kFileItems[] = {
    W::CmdSettings, 0,
    W::CmdImportCsv, W::CmdImportOtherLog, W::CmdNoteMarkers, W::CmdExportCsv, 0,
    W::CmdNewVehicle, W::CmdOpenVehicle, W::CmdRecentVehiclesMenu, W::CmdSaveAs, W::CmdCancel, 0,
    W::CmdExit};
constexpr int kEditItems[] = {W::CmdUndo, W::CmdRedo};
constexpr int kViewItems[] = {W::CmdToolbar, W::CmdStatusLine, 0, W::CmdShowFills,
                              W::CmdShowCosts};
constexpr int kFillItems[] = {W::CmdAddFill, W::CmdEditFill, W::CmdRemoveFill, 0,
                              W::CmdFillInformation};
constexpr int kStatisticsItems[] = {W::CmdTotals, W::CmdGraph, W::CmdCompareVehicles,
                                    W::CmdStatisticsOverTime};
constexpr int kCostItems[] = {W::CmdAddCost, W::CmdEditCost, W::CmdRemoveCosts, 0,
                              W::CmdCostCategories, 0, W::CmdReminders, W::CmdExportReminders};
constexpr int kHelpItems[] = {W::CmdKeyboardShortcuts, 0, W::CmdAbout};
constexpr int kContextItems[] = {W::CmdEditFill, W::CmdRemoveFill, 0, W::CmdFillInformation,
                                 W::CmdStartGraphHere};
// Names from the freedesktop icon naming, then the ones common themes add for charts.
constexpr ToolInfo kToolItems[] = {
    {W::CmdAddFill, "list-add"},
    {W::CmdEditFill, "document-edit"},
    {W::CmdRemoveFill, "list-remove"},
    {0, nullptr},
    {W::CmdUndo, "edit-undo"},
    {W::CmdRedo, "edit-redo"},
    {0, nullptr},
    {W::CmdGraph, "office-chart-line"},
};

const MenuInfo kMenus[] = {
    {W::CmdFileMenu, "fileMenu", &Text::menu_MainFile, kFileItems},
    {W::CmdEditMenu, "editMenu", &Text::menu_MainEdit, kEditItems},
    {W::CmdViewMenu, "viewMenu", &Text::menu_MainView, kViewItems},
    {W::CmdFillMenu, "fillMenu", &Text::menu_MainFill, kFillItems},
    {W::CmdCostsMenu, "costsMenu", &Text::costlist_MenuCosts, kCostItems},
    {W::CmdStatisticsMenu, "statisticsMenu", &Text::menu_MainStats, kStatisticsItems},
    {W::CmdHelpMenu, "helpMenu", &Text::menu_MainHelp, kHelpItems},
};
// clang-format on

// Held while a dialog that may load another language is open: afterwards the window's texts
// follow, whatever the dialog's result.
class Retranslate {
public:
    explicit Retranslate(CMainWnd& window) : m_window(window) {}
    ~Retranslate() { m_window.languageMayHaveChanged(); }
    Retranslate(const Retranslate&) = delete;
    Retranslate& operator=(const Retranslate&) = delete;

private:
    CMainWnd& m_window;
};

// A file dialog's title names the command that opened it.
QString dialogTitle(const TextId& menuText) {
    QString title = translate(menuText);
    if (title.endsWith(u'\u2026'))
        title.chop(1);
    return title.trimmed();
}

FileDialogRequest logFileRequest(const TextId& command) {
    FileDialogRequest request;
    request.caption = dialogTitle(command);
    request.filter = translate(Text::Main_LogFilter) + QStringLiteral(" (*.fil)");
    request.defaultSuffix = QStringLiteral("fil");
    request.directory = documentsFolder();
    return request;
}

FileDialogRequest csvFileRequest(const TextId& command) {
    FileDialogRequest request;
    request.caption = dialogTitle(command);
    request.filter = QStringLiteral("CSV (*.csv)");
    request.defaultSuffix = QStringLiteral("csv");
    request.directory = documentsFolder();
    return request;
}

// The markers an earlier import may have written, in the loaded language, in every language
// file the program has and in English.
NoteMarkers noteMarkersOfAllLanguages() {
    NoteMarkers markers = {
        {translate(Text::OtherLog_markerpartial), translate(Text::OtherLog_markermissed)}};
    const QString folder = languageBaseFolder();
    for (const QString& file :
         QDir(folder + QStringLiteral("/lang")).entryList({QStringLiteral("*.lng")}, QDir::Files)) {
        CLanguage table;
        table.load(QStringLiteral("lang\\") + file, folder);
        const auto marker = [&table](const TextId& text) {
            return table.translate(text.section, text.key, text.defaultText);
        };
        markers.append({marker(Text::OtherLog_markerpartial), marker(Text::OtherLog_markermissed)});
    }
    return markers;
}

void reportSettingsNotStored(QWidget* owner) {
    showMessageBox(owner, kCaption, translate(Text::Settings_errorsave), QMessageBox::Warning,
                   QMessageBox::Ok);
}

} // namespace

CMainCommands::CMainCommands(CMainWnd& window, CLogDocument& document)
    : m_window(window), m_document(document) {}

std::span<const CommandInfo> CMainCommands::commands() {
    return kCommands;
}

const CommandInfo* CMainCommands::command(int id) {
    const auto found = std::find_if(std::begin(kCommands), std::end(kCommands),
                                    [id](const CommandInfo& info) { return info.id == id; });
    return found == std::end(kCommands) ? nullptr : &*found;
}

std::span<const MenuInfo> CMainCommands::menus() {
    return kMenus;
}

std::span<const int> CMainCommands::contextItems() {
    return kContextItems;
}

std::span<const ToolInfo> CMainCommands::toolItems() {
    return kToolItems;
}

void CMainCommands::run(int id) {
    const CommandInfo* info = command(id);
    if (info && info->handler)
        (this->*info->handler)();
}

void CMainCommands::addFill() {
    Retranslate retranslate(m_window);
    CFillDlg dialog(&m_window, nullptr, nullptr, nullptr);
    dialog.setDatabase(&m_document.database());
    if (dialog.doModal() != QDialog::Accepted)
        return;
    StationRecord station;
    FillRecord fill;
    DriverRecord driver;
    dialog.getRecords(&station, &fill, &driver);
    m_document.addFill(fieldText(station.name), fill, fieldText(driver.name), dialog.flags());
}

void CMainCommands::editFill() {
    const CFuelDatabase& database = m_document.database();
    const int row = m_window.currentRow();
    const FillRecord* fill = database.getFill(row);
    if (!fill)
        return;
    // The dialog edits copies: the log changes only through the document.
    FillRecord fillCopy = *fill;
    const StationRecord* station = database.getStation(fill->stationId);
    const DriverRecord* driver = database.getDriver(fill->driverId);
    StationRecord stationCopy = station ? *station : StationRecord();
    DriverRecord driverCopy = driver ? *driver : DriverRecord();

    Retranslate retranslate(m_window);
    CFillDlg dialog(&m_window, station ? &stationCopy : nullptr, &fillCopy,
                    driver ? &driverCopy : nullptr);
    dialog.setDatabase(&database);
    dialog.setFillIndex(row);
    dialog.setFlags(database.getFillFlags(row));
    if (dialog.doModal() != QDialog::Accepted)
        return;
    dialog.getRecords(&stationCopy, &fillCopy, &driverCopy);
    m_document.editFill(row, fieldText(stationCopy.name), fillCopy, fieldText(driverCopy.name),
                        dialog.flags());
}

// The selected fills, the current one among them.
void CMainCommands::removeFill() {
    const int row = m_window.currentRow();
    if (!m_document.database().getFill(row))
        return;
    const QList<int> rows = m_window.selectedRows();
    const QString question = rows.size() > 1
                                 ? translate(Text::Main_QuestionDeleteFills).arg(rows.size())
                                 : translate(Text::Main_QuestionDeleteFill);
    const auto answer = showMessageBox(&m_window, kCaption, question, QMessageBox::Question,
                                       QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    if (rows.size() > 1)
        m_document.removeFills({rows.begin(), rows.end()});
    else
        m_document.removeFill(row);
}

void CMainCommands::fillInformation() {
    const int row = m_window.currentRow();
    if (row < 0)
        return;
    // The menus stay as they are: this dialog changes nothing they show.
    CFillInfoDlg dialog(&m_window);
    dialog.setDatabase(&m_document.database());
    dialog.setCurrentIndex(row);
    dialog.doModal();
    m_window.selectRow(dialog.currentIndex());
}

void CMainCommands::totals() {
    Retranslate retranslate(m_window);
    CTotalsDlg dialog(&m_window);
    dialog.setDatabase(&m_document.database());
    dialog.doModal();
}

void CMainCommands::showGraph(int startIndex) {
    if (startIndex < 0 || startIndex >= m_document.database().getFillCount())
        return;
    Retranslate retranslate(m_window);
    CGraphDlg dialog(&m_window);
    dialog.setDatabase(&m_document.database());
    dialog.setStartIndex(startIndex);
    dialog.doModal();
}

void CMainCommands::graph() {
    showGraph(0);
}

void CMainCommands::startGraphHere() {
    showGraph(m_window.currentRow());
}

void CMainCommands::compareVehicles() {
    QStringList others = readRecentVehicles();
    others.removeIf(
        [this](const QString& path) { return sameLogFile(path, m_document.filePath()); });
    Retranslate retranslate(m_window);
    CCompareDlg dialog(&m_window);
    dialog.setVehicles(m_document.database(), others);
    dialog.doModal();
}

void CMainCommands::statisticsOverTime() {
    if (!m_statistics) {
        IChartsModule* module = chartsModule(&m_window);
        if (!module)
            return;
        m_statistics = module->createStatisticsWindow(m_document, &m_window);
    }
    m_statistics->show();
    m_statistics->raise();
    m_statistics->activateWindow();
}

QString CMainCommands::suggestedCsvName() const {
    QString vehicle = isDefaultDatabase(m_document.filePath())
                          ? QString()
                          : QFileInfo(m_document.filePath()).completeBaseName();
    // Characters that no file system takes in a name.
    static const QRegularExpression unsafe(QStringLiteral("[\\\\/:*?\"<>|]"));
    vehicle.replace(unsafe, QStringLiteral("_"));
    return QStringLiteral("%1 %2.csv")
        .arg(vehicle.isEmpty() ? QStringLiteral("Tankometer") : vehicle,
             QDate::currentDate().toString(Qt::ISODate));
}

void CMainCommands::exportCsv() {
    FileDialogRequest request = csvFileRequest(Text::menu_FileExport);
    request.directory = QDir(request.directory).filePath(suggestedCsvName());
    const QString path = askSaveFileName(&m_window, request);
    if (path.isEmpty())
        return;
    const bool written = writeCsvFile(path, m_document.database());
    showMessageBox(&m_window, translate(Text::FillList_exportcaption),
                   translate(written ? Text::FillList_exported : Text::FillList_errorsave),
                   written ? QMessageBox::Information : QMessageBox::Warning);
}

void CMainCommands::importCsv() {
    const QString path = askOpenFileName(&m_window, csvFileRequest(Text::menu_FileImport));
    if (path.isEmpty())
        return;
    Retranslate retranslate(m_window);
    CImportDlg dialog(&m_window);
    dialog.setCsvPath(path);
    dialog.setLog(&m_document.database());
    if (dialog.doModal() != QDialog::Accepted)
        return;
    CsvImportResult read = dialog.result();
    bool otherLog = false;
    if (!read.readFailed && !chooseLogForImport(csvNewReadings(read), &otherLog))
        return;
    // The numbers of the file are read in the units of the log they go into.
    if (otherLog)
        read = dialog.read(m_document.database());
    const QString caption = translate(Text::Import_importcaption);
    if (read.readFailed) {
        showMessageBox(&m_window, caption, translate(Text::Import_errorload), QMessageBox::Warning);
        return;
    }
    const CsvImportResult imported = m_document.importCsv(std::move(read));
    showMessageBox(&m_window, caption, CImportDlg::importReport(imported),
                   QMessageBox::Information);
}

bool CMainCommands::chooseLogForImport(const std::vector<OdometerReading>& readings,
                                       bool* otherLog) {
    *otherLog = false;
    const CFuelDatabase& log = m_document.database();
    const HistoryFit fit = checkHistoryFit(odometerReadings(log), readings, log.units());
    if (fit.continues)
        return true;
    const LogUnits units = log.units();
    const auto spanText = [&units](const TextId& text, const HistorySpan& span) {
        return translate(text).arg(QString::number(distanceIn(units, span.lowest)),
                                   QString::number(distanceIn(units, span.highest)),
                                   unitTexts(units).odometer, formatDate(span.first),
                                   formatDate(span.last));
    };
    const QString question = QStringList{translate(Text::Import_othervehicle),
                                         spanText(Text::Import_historyfile, fit.file),
                                         spanText(Text::Import_historylog, fit.log),
                                         translate(Text::Import_newvehiclequestion)}
                                 .join(u'\n');
    switch (showMessageBox(
        &m_window, translate(Text::Import_importcaption), question, QMessageBox::Question,
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes)) {
    case QMessageBox::Yes:
        *otherLog = createVehicle();
        return *otherLog;
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

void CMainCommands::importPerVehicle(const OtherLogFile& file, const OtherLogSettings& settings) {
    const QString folder = askFolder(&m_window, {});
    if (folder.isEmpty())
        return;
    const auto sink = [this](const QString& message) {
        showMessageBox(&m_window, translate(Text::Import_importcaption), message,
                       QMessageBox::Warning);
    };
    QStringList lines;
    for (const VehicleLogImport& import : importOtherLogPerVehicle(file, settings, folder, sink)) {
        if (import.saved)
            lines.append(QFileInfo(import.path).fileName() + u'\n' +
                         otherLogSummaryText(import.summary));
    }
    if (!lines.isEmpty())
        showMessageBox(&m_window, translate(Text::Import_importcaption),
                       lines.join(QStringLiteral("\n\n")), QMessageBox::Information);
}

void CMainCommands::importOtherLog() {
    Retranslate retranslate(m_window);
    FileDialogRequest request;
    request.caption = dialogTitle(Text::menu_FileImportOther);
    request.directory = documentsFolder();
    // The apps name their exports freely: any file may be chosen.
    request.filter = QStringLiteral("CSV (*.csv *.txt);;* (*)");
    const QString path = askOpenFileName(&m_window, request);
    if (path.isEmpty())
        return;

    QString text;
    if (!readTextFile(path, kOtherLogFileBytes, &text)) {
        showMessageBox(&m_window, translate(Text::Import_importcaption),
                       translate(Text::Import_errorload), QMessageBox::Warning);
        return;
    }
    const OtherLogFile file = readOtherLog(text);

    COtherLogDlg dialog(&m_window, m_document.database(), file);
    const int result = execDialog(dialog);
    if (result == COtherLogDlg::PerVehicleResult) {
        importPerVehicle(file, dialog.settings());
        return;
    }
    if (result != QDialog::Accepted)
        return;
    QList<OtherLogRow> rows = dialog.rows();
    QList<OtherCostRow> costs = dialog.costRows();
    std::vector<OdometerReading> readings;
    for (const OtherLogRow& row : std::as_const(rows)) {
        if (row.skip == OtherLogSkip::None)
            readings.push_back({row.dateTime, row.odometer});
    }
    bool otherLog = false;
    if (!chooseLogForImport(readings, &otherLog))
        return;
    // Which rows are in the log already is a question of the log they go into.
    if (otherLog) {
        rows = convertOtherLog(file, dialog.settings(), m_document.database());
        costs = convertOtherCosts(file, dialog.settings(), m_document.database());
    }
    const OtherLogSummary summary = m_document.importOtherLog(rows, costs);
    showMessageBox(&m_window, translate(Text::Import_importcaption),
                   otherLogSummaryText(summary, file.damagedSections), QMessageBox::Information);
}

// Logs imported before the flags existed carry them as words in the notes; the user decides
// whether they become flags (the notes stay as they are by default).
void CMainCommands::convertNoteMarkers() {
    const NoteMarkers markers = noteMarkersOfAllLanguages();
    const int count = m_document.noteMarkerCount(markers);
    const QString partial = translate(Text::OtherLog_markerpartial);
    const QString missed = translate(Text::OtherLog_markermissed);
    if (count == 0) {
        showMessageBox(&m_window, kCaption,
                       translate(Text::Main_NoNoteMarkers).arg(partial, missed),
                       QMessageBox::Information);
        return;
    }
    const auto answer = showMessageBox(
        &m_window, kCaption,
        translate(Text::Main_QuestionNoteMarkers).arg(QString::number(count), partial, missed),
        QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer == QMessageBox::Yes)
        m_document.convertNoteMarkers(markers);
}

bool CMainCommands::hasNoteMarkers() const {
    return m_document.database().getFillCount() > 0 &&
           m_document.noteMarkerCount(noteMarkersOfAllLanguages()) > 0;
}

void CMainCommands::rememberVehicles(const QString& previous, const QString& opened) {
    QStringList recent = readRecentVehicles();
    // A default log never saved is no vehicle to come back to.
    if (QFileInfo(previous).isFile())
        recent = addRecentVehicle(recent, previous);
    const bool pathStored = writeDatabasePath(opened);
    const bool recentStored = writeRecentVehicles(addRecentVehicle(recent, opened));
    if (!pathStored || !recentStored)
        reportSettingsNotStored(&m_window);
}

bool CMainCommands::openVehicleAt(const QString& path) {
    const QString previous = m_document.filePath();
    switch (m_document.switchTo(path)) {
    case CLogDocument::Switch::Opened:
        rememberVehicles(previous, path);
        return true;
    case CLogDocument::Switch::NotSaved:
        showMessageBox(&m_window, kCaption, translate(Text::Main_VehicleNotSaved),
                       QMessageBox::Warning);
        break;
    // The log has said why; the file is no vehicle to remember.
    case CLogDocument::Switch::NotALog:
        break;
    }
    return false;
}

void CMainCommands::openVehicleWhenIdle(const QString& path) {
    if (QApplication::activeModalWidget() == nullptr) {
        openVehicleAt(path);
        return;
    }
    QPointer<CMainWnd> window(&m_window);
    QTimer::singleShot(250, &m_window, [this, window, path] {
        if (window)
            openVehicleWhenIdle(path);
    });
}

void CMainCommands::newVehicle() {
    createVehicle();
}

bool CMainCommands::createVehicle() {
    const QString path = askSaveFileName(&m_window, logFileRequest(Text::menu_FileNewVehicle));
    if (path.isEmpty())
        return false;
    // An existing log is opened as it is, never replaced by an empty one.
    if (QFileInfo::exists(path))
        return openVehicleAt(path);
    const QString previous = m_document.filePath();
    if (m_document.hasUnsavedChanges() && !m_document.save()) {
        showMessageBox(&m_window, kCaption, translate(Text::Main_VehicleNotSaved),
                       QMessageBox::Warning);
        return false;
    }
    CNewVehicleDlg units(&m_window, QFileInfo(path).completeBaseName(), localeUnits(QLocale()));
    if (execDialog(units) != QDialog::Accepted)
        return false;
    // The failed write has said why; the open log stays as it was.
    if (!m_document.createLog(path, units.units(), vehicleNameToStore(units.vehicleName(), path))) {
        showMessageBox(&m_window, kCaption,
                       translate(Text::Main_VehicleNotCreated).arg(QDir::toNativeSeparators(path)),
                       QMessageBox::Warning);
        return false;
    }
    rememberVehicles(previous, path);
    return true;
}

void CMainCommands::saveAs() {
    const QString path = askSaveFileName(&m_window, logFileRequest(Text::menu_FileSaveAs));
    if (path.isEmpty())
        return;
    const QString previous = m_document.filePath();
    // An error has been shown; the log stays open where it was.
    if (m_document.saveAs(path))
        rememberVehicles(previous, path);
}

void CMainCommands::openVehicle() {
    const QString path = askOpenFileName(&m_window, logFileRequest(Text::menu_FileOpenVehicle));
    if (!path.isEmpty())
        openVehicleAt(path);
}

void CMainCommands::openRecentVehicle(const QString& path) {
    if (QFileInfo(path).isFile()) {
        openVehicleAt(path);
        return;
    }
    QStringList recent = readRecentVehicles();
    recent.removeIf([&path](const QString& entry) { return entry == path; });
    if (!writeRecentVehicles(recent))
        reportSettingsNotStored(&m_window);
    showMessageBox(&m_window, kCaption,
                   translate(Text::Main_VehicleMissing).arg(QDir::toNativeSeparators(path)),
                   QMessageBox::Warning);
}

void CMainCommands::fillRecentVehiclesMenu(QMenu* menu) {
    menu->clear();
    const QStringList recent = readRecentVehicles();
    QStringList names;
    for (const QString& path : recent) {
        names.append(sameLogFile(path, m_document.filePath())
                         ? vehicleDisplayName(m_document.database().vehicleName(), path)
                         : vehicleDisplayName(path));
    }
    for (qsizetype i = 0; i < recent.size(); ++i) {
        const QString& path = recent.at(i);
        // Two vehicles of the same name are told apart by their files.
        QString name = names.count(names.at(i)) > 1
                           ? QStringLiteral("%1 (%2)").arg(names.at(i), QFileInfo(path).fileName())
                           : names.at(i);
        name.replace(u'&', QStringLiteral("&&"));
        QAction* action = menu->addAction(name);
        action->setObjectName(QStringLiteral("recentVehicle"));
        action->setToolTip(QDir::toNativeSeparators(path));
        action->setStatusTip(action->toolTip());
        action->setCheckable(true);
        action->setChecked(sameLogFile(path, m_document.filePath()));
        QObject::connect(action, &QAction::triggered, &m_window,
                         [this, path] { openRecentVehicle(path); });
    }
}

void CMainCommands::settings() {
    Retranslate retranslate(m_window);
    CSettingsDlg dialog(&m_window);
    const CFuelDatabase& database = m_document.database();
    dialog.setVehicleName(vehicleDisplayName(database.vehicleName(), m_document.filePath()));
    dialog.setUnits(database.units());
    int charges = 0;
    for (int row = 0; row < database.getFillCount(); ++row)
        charges += database.getFillFlags(row).charge ? 1 : 0;
    dialog.setFillKinds(database.getFillCount() - charges, charges);
    const quint32 shownColumns = m_window.listModel()->shownColumnBits();
    dialog.setShownColumns(shownColumns);
    if (dialog.doModal() != QDialog::Accepted)
        return;
    // A log that never had units chosen keeps having none until they are changed here.
    if (dialog.units() != m_document.database().units())
        m_document.setUnits(dialog.units());
    const QString name = vehicleNameToStore(dialog.vehicleName(), m_document.filePath());
    if (name != m_document.database().vehicleName())
        m_document.setVehicleName(name);

    language().load(dialog.langPath(), languageBaseFolder());
    installQtTranslations(language().localeName());
    const RegistryStatus statuses[] = {
        CRegistry::writeString(SettingsKey::Lang, dialog.langPath()),
        CRegistry::writeNumber(SettingsKey::ColDef, dialog.colDef()),
        CRegistry::writeNumber(SettingsKey::DebugMode, dialog.debugMode()),
        CRegistry::writeNumber(SettingsKey::FillingMethod, dialog.fillingMethod()),
    };
    const quint32 chosenBefore = readChosenColumns();
    const quint32 chosen =
        CFillListModel::chosenColumns(chosenBefore, shownColumns, dialog.colDef());
    const bool chosenStored =
        chosen == chosenBefore || writeSetting(SettingsKey::ColumnsChosen, chosen) == RegistryOk;
    setDebugFlag(dialog.debugMode() != 0);
    m_window.buildList();
    // The list reads its columns and filling method from the store, so a refused write also
    // means the choices have not taken effect: the user must not take them as made.
    if (!chosenStored || std::any_of(std::begin(statuses), std::end(statuses),
                                     [](RegistryStatus status) { return status != RegistryOk; }))
        reportSettingsNotStored(&m_window);
}

void CMainCommands::about() {
    CAboutDlg dialog(&m_window);
    dialog.doModal();
}

void CMainCommands::keyboardShortcuts() {
    CShortcutsDlg dialog(&m_window);
    dialog.doModal();
}

void CMainCommands::toggleToolbar() {
    m_window.setToolbarShown(!m_window.toolbarShown());
}

void CMainCommands::toggleStatusLine() {
    m_window.setStatusLineShown(!m_window.statusLineShown());
}

void CMainCommands::undo() {
    m_document.undoStack()->undo();
}

void CMainCommands::redo() {
    m_document.undoStack()->redo();
}

void CMainCommands::exit() {
    m_window.saveAndEnd();
}

void CMainCommands::cancel() {
    m_window.cancel();
}

void CMainCommands::showFills() {
    m_window.setCostsShown(false);
}

void CMainCommands::showCosts() {
    m_window.setCostsShown(true);
}

CostEntry CMainCommands::costWithCategory(const CCostDlg& dialog) {
    CostEntry cost = dialog.cost();
    const QString name = dialog.newCategory();
    if (name.isEmpty())
        return cost;
    // A name the log has already stands for that category, not for a second one.
    for (const auto& [id, existing] : costCategoryNames(m_document.costs())) {
        if (existing.compare(name, Qt::CaseInsensitive) == 0) {
            cost.categoryId = id;
            return cost;
        }
    }
    cost.categoryId = m_document.addCostCategory(name);
    return cost;
}

void CMainCommands::addCost() {
    CCostDlg dialog(&m_window, m_document.database().units(),
                    costCategoryNames(m_document.costs()));
    if (execDialog(dialog) != QDialog::Accepted)
        return;
    const CostEntry cost = costWithCategory(dialog);
    m_document.addCost(cost);
    m_window.setCostsShown(true);
    const std::vector<CostEntry>& costs = m_document.costs().costs;
    const auto added = std::find(costs.rbegin(), costs.rend(), cost);
    if (added != costs.rend())
        m_window.costsPage()->selectCost(int(std::distance(added, costs.rend())) - 1);
}

void CMainCommands::editCost() {
    CCostsPage* page = m_window.costsPage();
    const int index = page->currentCost();
    if (index < 0 || index >= int(m_document.costs().costs.size()))
        return;
    CCostDlg dialog(&m_window, m_document.database().units(),
                    costCategoryNames(m_document.costs()));
    dialog.setCost(m_document.costs().costs[std::size_t(index)]);
    if (execDialog(dialog) != QDialog::Accepted)
        return;
    const CostEntry cost = costWithCategory(dialog);
    if (cost == m_document.costs().costs[std::size_t(index)])
        return;
    m_document.editCost(index, cost);
    const std::vector<CostEntry>& costs = m_document.costs().costs;
    const auto edited = std::find(costs.begin(), costs.end(), cost);
    if (edited != costs.end())
        page->selectCost(int(std::distance(costs.begin(), edited)));
}

void CMainCommands::removeCosts() {
    const std::vector<int> indexes = m_window.costsPage()->selectedCosts();
    if (indexes.empty())
        return;
    QString question = indexes.size() == 1
                           ? translate(Text::costlist_RemoveOne)
                           : translate(Text::costlist_RemoveMany).arg(indexes.size());
    const std::vector<CostEntry>& costs = m_document.costs().costs;
    if (std::any_of(indexes.begin(), indexes.end(), [&costs](int index) {
            return costs.at(std::size_t(index)).intervalMonths > 0;
        }))
        question += u'\n' + translate(Text::costlist_RemoveRecurring);
    const auto answer = showMessageBox(&m_window, kCaption, question, QMessageBox::Question,
                                       QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer == QMessageBox::Yes)
        m_document.removeCosts(indexes);
}

void CMainCommands::costCategories() {
    CCategoriesDlg dialog(&m_window, m_document);
    execDialog(dialog);
}

void CMainCommands::reminders() {
    CRemindersDlg dialog(&m_window, m_document);
    QObject::connect(&dialog, &CRemindersDlg::exportRequested, &m_window,
                     [this] { exportReminders(); });
    execDialog(dialog);
}

void CMainCommands::exportReminders() {
    FileDialogRequest request;
    request.caption = dialogTitle(Text::costlist_ExportReminders);
    request.filter = translate(Text::reminderlist_IcsFilter) + QStringLiteral(" (*.ics)");
    request.defaultSuffix = QStringLiteral("ics");
    request.directory = documentsFolder();
    QWidget* owner = QApplication::activeModalWidget() ? QApplication::activeModalWidget()
                                                       : static_cast<QWidget*>(&m_window);
    const QString path = askSaveFileName(owner, request);
    if (path.isEmpty())
        return;
    const CFuelDatabase& database = m_document.database();
    const QByteArray calendar =
        remindersCalendar(m_document.costs(), odometerEstimate(database), QDate::currentDate(),
                          unitTexts(database.units()).odometer, QDateTime::currentDateTimeUtc());
    QSaveFile file(path);
    const bool written = file.open(QIODevice::WriteOnly) && commitSaveFile(file, calendar);
    const QString shownPath = QDir::toNativeSeparators(path);
    showMessageBox(owner, request.caption,
                   translate(written ? Text::reminderlist_Exported : Text::reminderlist_ExportError)
                       .arg(shownPath),
                   written ? QMessageBox::Information : QMessageBox::Warning);
}
