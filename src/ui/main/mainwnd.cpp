#include "ui/main/mainwnd.h"

#include "core/paths.h"
#include "core/vehicles.h"
#include "localisation/language.h"
#include "ui/fill/fillcommands.h"
#include "ui/import/otherlogcommands.h"
#include "ui/main/csvcommands.h"
#include "ui/main/filllistmodel.h"
#include "ui/main/vehiclecommands.h"
#include "ui/messagebox.h"
#include "ui/programicon.h"
#include "ui/settings/settingscommands.h"
#include "ui/stats/graphcommands.h"
#include "ui/stats/infocommands.h"
#include "ui/widgettext.h"

#include <QAction>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QEventLoop>
#include <QGestureEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QSessionManager>
#include <QStyle>
#include <QTableView>
#include <QTapAndHoldGesture>

namespace {

const QString kCaption = QStringLiteral("Tankometer");
constexpr QSize kPreferredSize(480, 640);

const TextId* menuText(int id) {
    switch (id) {
    case CMainWnd::CmdFileMenu:
        return &Text::menu_MainFile;
    case CMainWnd::CmdFillMenu:
        return &Text::menu_MainFill;
    case CMainWnd::CmdStatisticsMenu:
        return &Text::menu_MainStats;
    case CMainWnd::CmdAbout:
        return &Text::menu_FileAbout;
    case CMainWnd::CmdExit:
        return &Text::menu_FileExit;
    case CMainWnd::CmdSettings:
        return &Text::menu_FileSettings;
    case CMainWnd::CmdImportCsv:
        return &Text::menu_FileImport;
    case CMainWnd::CmdImportOtherLog:
        return &Text::menu_FileImportOther;
    case CMainWnd::CmdNewVehicle:
        return &Text::menu_FileNewVehicle;
    case CMainWnd::CmdOpenVehicle:
        return &Text::menu_FileOpenVehicle;
    case CMainWnd::CmdRecentVehiclesMenu:
        return &Text::menu_FileRecentVehicles;
    case CMainWnd::CmdCompareVehicles:
        return &Text::menu_StatCompare;
    case CMainWnd::CmdExportCsv:
        return &Text::menu_FileExport;
    case CMainWnd::CmdAddFill:
        return &Text::menu_FillAdd;
    case CMainWnd::CmdEditFill:
        return &Text::menu_FillEdit;
    case CMainWnd::CmdRemoveFill:
        return &Text::menu_FillRemove;
    case CMainWnd::CmdFillInformation:
        return &Text::menu_FillShowInfo;
    case CMainWnd::CmdTotals:
        return &Text::menu_StatTotals;
    case CMainWnd::CmdGraph:
        return &Text::menu_StatGraph;
    }
    return nullptr;
}

const TextId* contextText(int id) {
    switch (id) {
    case CMainWnd::CmdEditFill:
        return &Text::context_FillEdit;
    case CMainWnd::CmdRemoveFill:
        return &Text::context_FillRemove;
    case CMainWnd::CmdFillInformation:
        return &Text::context_FillShowInfo;
    case CMainWnd::CmdStartGraphHere:
        return &Text::context_GraphHere;
    }
    return nullptr;
}

// The three menu titles get Alt mnemonics on their first letter not taken by an earlier one.
QString menuTitleText(const QString& text, QString* usedLetters) {
    QString title = widgetText(text);
    for (qsizetype i = 0; i < title.size(); ++i) {
        const QChar letter = title.at(i).toLower();
        if (letter.isLetter() && !usedLetters->contains(letter)) {
            usedLetters->append(letter);
            return title.insert(i, QLatin1Char('&'));
        }
    }
    return title;
}

} // namespace

CMainWnd::CMainWnd(QWidget* parent) : QMainWindow(parent), m_database(readDatabasePath()) {
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(vehicleTitle(m_database.filePath(), kCaption));
    setWindowIcon(programIcon());
    m_database.setMessageSink([](const QString& message) {
        showMessageBox(nullptr, kCaption, message, QMessageBox::NoIcon, QMessageBox::Ok);
    });

    m_model = new CFillListModel(m_database, this);
    m_list = new QTableView(this);
    m_list->setObjectName(QStringLiteral("fillList"));
    m_list->setAccessibleName(kCaption);
    m_list->setModel(m_model);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSortingEnabled(false);
    m_list->setWordWrap(false);
    m_list->setShowGrid(false);
    m_list->horizontalHeader()->setSectionsClickable(false);
    m_list->horizontalHeader()->setHighlightSections(false);
    m_list->horizontalHeader()->setDefaultAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_list->verticalHeader()->hide();
    // Rows of one fixed height keep a list of many thousand fills fluent.
    m_list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_list->verticalHeader()->setDefaultSectionSize(m_list->fontMetrics().height() + 6);
    m_list->installEventFilter(this);
    m_list->viewport()->installEventFilter(this);
    m_list->viewport()->grabGesture(Qt::TapAndHoldGesture);
    setCentralWidget(m_list);

    connect(m_list->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &CMainWnd::onCurrentRowChanged);

    createMenuBar();
    createContextMenu();
    createShortcuts();

    if (auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(application, &QGuiApplication::commitDataRequest, this,
                [this](QSessionManager&) { saveForSessionEnd(); });
    }
    resize(kPreferredSize);
}

CMainWnd::~CMainWnd() = default;

void CMainWnd::open() {
    initialise();
    show();
    m_list->setFocus();
}

int CMainWnd::run() {
    open();
    if (m_result == 0) {
        QEventLoop loop;
        connect(this, &CMainWnd::finished, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return m_result;
}

void CMainWnd::activate() {
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

void CMainWnd::initialise() {
    if (m_initialised)
        return;
    m_initialised = true;
    // Whatever the load leaves in the database is shown; it reports its own failures.
    m_database.load();
    buildList();
    translateMenus();
    resize(firstSize());
    // A history of years opens at its newest fill.
    m_list->scrollToBottom();
}

// Wide enough for every column of the list, as far as the screen has room for the window.
QSize CMainWnd::firstSize() const {
    const int columnsWidth = m_list->horizontalHeader()->length() + 2 * m_list->frameWidth() +
                             m_list->verticalScrollBar()->sizeHint().width();
    QSize size(qMax(kPreferredSize.width(), columnsWidth), kPreferredSize.height());
    if (const QScreen* currentScreen = screen())
        size = size.boundedTo(currentScreen->availableGeometry().size());
    return size;
}

void CMainWnd::buildList() {
    m_model->rebuild();
    fitColumns(false);
    m_currentRow = -1;
}

void CMainWnd::fitColumns(bool keepWider, int firstRow, int lastRow) {
    QHeaderView* header = m_list->horizontalHeader();
    const QFontMetrics metrics = m_list->fontMetrics();
    // The room the item delegate leaves around a cell's text, and a little to spare.
    const int margin =
        2 * (m_list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_list) + 1) + 4;
    for (int position = 0; position < m_model->columnCount(); ++position) {
        const CFillListModel::Column column = m_model->columnAt(position);
        int width = qMax(CFillListModel::columnWidth(column), header->sectionSizeHint(position));
        for (const QString& text : m_model->widestTexts(column, firstRow, lastRow))
            width = qMax(width, metrics.horizontalAdvance(text) + margin);
        if (keepWider)
            width = qMax(width, header->sectionSize(position));
        header->resizeSection(position, width);
    }
}

int CMainWnd::currentRow() const {
    // A click on the empty area below the rows clears the selection but not the view's
    // current index: the commands then have no row to act on.
    if (m_currentRow >= 0 && m_model->columnCount() > 0 &&
        !m_list->selectionModel()->isRowSelected(m_currentRow, {}))
        return -1;
    return m_currentRow;
}

void CMainWnd::selectRow(int row) {
    if (row < 0 || row >= m_model->rowCount()) {
        m_list->clearSelection();
        m_currentRow = -1;
        return;
    }
    m_currentRow = row;
    if (m_model->columnCount() == 0)
        return;
    const QModelIndex index = m_model->index(row, 0);
    m_list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                         QItemSelectionModel::Rows);
    m_list->scrollTo(index);
}

void CMainWnd::onCurrentRowChanged(const QModelIndex& current) {
    if (!current.isValid())
        return;
    m_currentRow = current.row();
    // The list puts its cursor on the first row when it gets the focus, without selecting it:
    // the row the commands act on is always shown selected.
    QItemSelectionModel* selection = m_list->selectionModel();
    if (!selection->isRowSelected(current.row(), {}))
        selection->select(current, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void CMainWnd::fillAdded(int index) {
    m_unsavedChanges = true;
    m_model->rowInserted(index);
    // Only the new fill and the one after it (whose derived values change) can be wider.
    fitColumns(true, index, index + 1);
    selectRow(index);
}

void CMainWnd::fillEdited(int index) {
    m_unsavedChanges = true;
    m_model->refreshAll();
    fitColumns(true);
    selectRow(index);
}

void CMainWnd::fillRemoved(int index) {
    m_unsavedChanges = true;
    m_model->rowRemoved(index);
    selectRow(index < m_database.getFillCount() ? index : index - 1);
}

void CMainWnd::importEnded() {
    if (m_model->rowCount() != m_database.getFillCount())
        m_unsavedChanges = true;
    m_model->rowsAppended();
    fitColumns(true);
}

bool CMainWnd::switchToLog(const QString& path) {
    // Before the window has opened, the log is only chosen; the window loads it on opening.
    if (!m_initialised) {
        m_database.setFilePath(path);
        setWindowTitle(vehicleTitle(path, kCaption));
        return true;
    }
    if (!m_database.save()) {
        showMessageBox(this, kCaption, translate(Text::Main_VehicleNotSaved), QMessageBox::Warning);
        return false;
    }
    m_unsavedChanges = false;
    // A fresh database: a file whose header is refused must not show the previous vehicle's
    // fills, nor have them saved into it.
    m_database = CFuelDatabase(path);
    m_database.setMessageSink([](const QString& message) {
        showMessageBox(nullptr, kCaption, message, QMessageBox::NoIcon, QMessageBox::Ok);
    });
    m_database.load();
    setWindowTitle(vehicleTitle(path, kCaption));
    buildList();
    m_list->scrollToBottom();
    return true;
}

void CMainWnd::settingsEnded() {
    buildList();
}

void CMainWnd::fillInformationClosed(int index) {
    selectRow(index);
}

void CMainWnd::dispatchCommand(int id) {
    switch (id) {
    case CmdOk:
    case CmdExit:
        saveAndEnd();
        break;
    case CmdCancel:
        cancel();
        break;
    case CmdRemoveFill:
        removeFill();
        break;
    case CmdAddFill:
        addFillCommand(*this);
        break;
    case CmdEditFill:
        editFillCommand(*this);
        break;
    case CmdImportOtherLog:
        importOtherLogCommand(*this);
        break;
    case CmdNewVehicle:
        newVehicleCommand(*this);
        break;
    case CmdOpenVehicle:
        openVehicleCommand(*this);
        break;
    case CmdCompareVehicles:
        compareVehiclesCommand(*this);
        break;
    case CmdExportCsv:
        exportCsvCommand(*this);
        break;
    case CmdImportCsv:
        importCsvCommand(*this);
        break;
    case CmdFillInformation:
        fillInformationCommand(*this);
        break;
    case CmdTotals:
        totalsCommand(*this);
        break;
    case CmdGraph:
        graphCommand(*this);
        break;
    case CmdStartGraphHere:
        startGraphHereCommand(*this);
        break;
    case CmdSettings:
        settingsCommand(*this);
        break;
    case CmdAbout:
        aboutCommand(*this);
        break;
    default:
        break;
    }
}

void CMainWnd::removeFill() {
    const int row = currentRow();
    if (m_database.getFillCount() == 0 || row < 0 || row >= m_database.getFillCount())
        return;
    const auto answer =
        showMessageBox(this, kCaption, translate(Text::Main_QuestionDeleteFill),
                       QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    m_database.removeFill(row);
    fillRemoved(row);
}

bool CMainWnd::saveBeforeEnd() {
    if (m_database.save())
        return true;
    // The database has shown why the save failed; leaving now would lose this session's fills.
    const auto answer =
        showMessageBox(this, kCaption, translate(Text::Main_QuestionCloseUnsaved),
                       QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    return answer == QMessageBox::Yes;
}

void CMainWnd::saveAndEnd() {
    if (saveBeforeEnd())
        end(1);
}

void CMainWnd::cancel() {
    if (m_unsavedChanges) {
        const auto answer = showMessageBox(
            this, kCaption, translate(Text::Main_QuestionDiscardChanges), QMessageBox::Question,
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer != QMessageBox::Yes)
            return;
    }
    end(2);
}

void CMainWnd::end(int result) {
    m_result = result;
    m_ending = true;
    close();
    emit finished(result);
}

void CMainWnd::saveForSessionEnd() {
    if (m_initialised && !m_ending && m_database.save())
        m_unsavedChanges = false;
}

void CMainWnd::showEvent(QShowEvent* event) {
    initialise();
    QMainWindow::showEvent(event);
}

// The window's close button is OK: save, then end.
void CMainWnd::closeEvent(QCloseEvent* event) {
    if (m_ending) {
        event->accept();
        return;
    }
    if (!saveBeforeEnd()) {
        event->ignore();
        return;
    }
    m_result = 1;
    m_ending = true;
    event->accept();
    emit finished(m_result);
}

bool CMainWnd::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == m_list || watched == m_list->viewport()) &&
        event->type() == QEvent::ContextMenu) {
        auto* menuEvent = static_cast<QContextMenuEvent*>(event);
        if (menuEvent->reason() == QContextMenuEvent::Mouse && watched == m_list->viewport())
            showContextMenuAt(menuEvent->pos());
        else
            showContextMenuForCurrentRow();
        return true;
    }
    if (watched == m_list && event->type() == QEvent::FocusIn) {
        // The keyboard's first current row is the newest fill, not the oldest.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::MouseFocusReason && !m_list->currentIndex().isValid() &&
            m_model->rowCount() > 0)
            selectRow(m_model->rowCount() - 1);
    }
    if (watched == m_list && event->type() == QEvent::KeyPress &&
        listKeyPressed(*static_cast<QKeyEvent*>(event)))
        return true;
    if (watched == m_list->viewport()) {
        if (event->type() == QEvent::Paint)
            m_model->startPass();
        // The first click of a double-click has already made its row the current one.
        if (event->type() == QEvent::MouseButtonDblClick) {
            dispatchCommand(CmdEditFill);
            return true;
        }
        if (event->type() == QEvent::Gesture) {
            auto* gestureEvent = static_cast<QGestureEvent*>(event);
            if (auto* hold = static_cast<QTapAndHoldGesture*>(
                    gestureEvent->gesture(Qt::TapAndHoldGesture))) {
                if (hold->state() == Qt::GestureFinished) {
                    showContextMenuAt(
                        m_list->viewport()->mapFromGlobal(hold->position().toPoint()));
                }
                gestureEvent->accept(hold);
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// Home and End go to the first and the last fill, whatever column the cursor is in.
bool CMainWnd::listKeyPressed(const QKeyEvent& event) {
    if (event.modifiers() & ~(Qt::ControlModifier | Qt::KeypadModifier))
        return false;
    if (event.key() != Qt::Key_Home && event.key() != Qt::Key_End)
        return false;
    if (m_model->rowCount() > 0)
        selectRow(event.key() == Qt::Key_Home ? 0 : m_model->rowCount() - 1);
    return true;
}

QAction* CMainWnd::addCommand(QMenu* menu, QHash<int, QAction*>* actions, int id,
                              const char* objectName) {
    QAction* action = menu->addAction(QString());
    action->setObjectName(QString::fromLatin1(objectName));
    action->setData(id);
    connect(action, &QAction::triggered, this, [this, id] { dispatchCommand(id); });
    actions->insert(id, action);
    return action;
}

void CMainWnd::createMenuBar() {
    auto* bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("menuBar"));
    m_barActions.clear();

    QMenu* file = bar->addMenu(QString());
    file->setObjectName(QStringLiteral("fileMenu"));
    m_barActions.insert(CmdFileMenu, file->menuAction());
    addCommand(file, &m_barActions, CmdSettings, "actionSettings");
    file->addSeparator();
    addCommand(file, &m_barActions, CmdImportCsv, "actionImportCsv");
    addCommand(file, &m_barActions, CmdImportOtherLog, "actionImportOtherLog");
    addCommand(file, &m_barActions, CmdExportCsv, "actionExportCsv");
    file->addSeparator();
    addCommand(file, &m_barActions, CmdNewVehicle, "actionNewVehicle")
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N));
    addCommand(file, &m_barActions, CmdOpenVehicle, "actionOpenVehicle")
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    m_recentMenu = file->addMenu(QString());
    m_recentMenu->setObjectName(QStringLiteral("recentVehiclesMenu"));
    m_barActions.insert(CmdRecentVehiclesMenu, m_recentMenu->menuAction());
    connect(m_recentMenu, &QMenu::aboutToShow, this, [this] { fillRecentVehiclesMenu(*this); });
    file->addSeparator();
    addCommand(file, &m_barActions, CmdAbout, "actionAbout");
    addCommand(file, &m_barActions, CmdExit, "actionExit")
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu* fill = bar->addMenu(QString());
    fill->setObjectName(QStringLiteral("fillMenu"));
    m_barActions.insert(CmdFillMenu, fill->menuAction());
    addCommand(fill, &m_barActions, CmdAddFill, "actionAddFill")
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    addCommand(fill, &m_barActions, CmdEditFill, "actionEditFill");
    addCommand(fill, &m_barActions, CmdRemoveFill, "actionRemoveFill")
        ->setShortcut(QKeySequence(Qt::Key_Delete));
    fill->addSeparator();
    addCommand(fill, &m_barActions, CmdFillInformation, "actionFillInformation");

    QMenu* statistics = bar->addMenu(QString());
    statistics->setObjectName(QStringLiteral("statisticsMenu"));
    m_barActions.insert(CmdStatisticsMenu, statistics->menuAction());
    addCommand(statistics, &m_barActions, CmdTotals, "actionTotals");
    addCommand(statistics, &m_barActions, CmdGraph, "actionGraph");
    addCommand(statistics, &m_barActions, CmdCompareVehicles, "actionCompareVehicles");

    setMenuBar(bar);
    m_menuBar = bar;
}

void CMainWnd::createContextMenu() {
    m_contextMenu = new QMenu(this);
    m_contextMenu->setObjectName(QStringLiteral("contextMenu"));
    addCommand(m_contextMenu, &m_contextActions, CmdEditFill, "contextEditFill");
    addCommand(m_contextMenu, &m_contextActions, CmdRemoveFill, "contextRemoveFill");
    m_contextMenu->addSeparator();
    addCommand(m_contextMenu, &m_contextActions, CmdFillInformation, "contextFillInformation");
    addCommand(m_contextMenu, &m_contextActions, CmdStartGraphHere, "contextStartGraphHere");
}

void CMainWnd::createShortcuts() {
    // Escape is Cancel, as for a dialog.
    auto* cancel = new QAction(this);
    cancel->setObjectName(QStringLiteral("actionCancel"));
    cancel->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(cancel, &QAction::triggered, this, [this] { dispatchCommand(CmdCancel); });
    addAction(cancel);

    auto* edit = new QAction(m_list);
    edit->setObjectName(QStringLiteral("actionEditCurrentFill"));
    edit->setShortcuts({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    edit->setShortcutContext(Qt::WidgetShortcut);
    connect(edit, &QAction::triggered, this, [this] { dispatchCommand(CmdEditFill); });
    m_list->addAction(edit);
}

void CMainWnd::destroyMenuBar() {
    if (!m_menuBar)
        return;
    m_barActions.clear();
    setMenuWidget(nullptr);
    m_menuBar = nullptr;
}

void CMainWnd::restoreMenuBar() {
    if (!m_menuBar)
        createMenuBar();
    translateMenus();
}

void CMainWnd::languageMayHaveChanged() {
    restoreMenuBar();
    m_model->headersChanged();
    fitColumns(true);
}

void CMainWnd::translateMenus() {
    QString usedLetters;
    for (const int id : {CmdFileMenu, CmdFillMenu, CmdStatisticsMenu}) {
        if (QAction* action = m_barActions.value(id))
            action->setText(menuTitleText(translate(*menuText(id)), &usedLetters));
    }
    for (auto it = m_barActions.cbegin(); it != m_barActions.cend(); ++it) {
        if (it.key() != CmdFileMenu && it.key() != CmdFillMenu && it.key() != CmdStatisticsMenu)
            it.value()->setText(translatedWidgetText(*menuText(it.key())));
    }
    for (auto it = m_contextActions.cbegin(); it != m_contextActions.cend(); ++it)
        it.value()->setText(translatedWidgetText(*contextText(it.key())));
}

QAction* CMainWnd::commandAction(int id) const {
    return m_barActions.value(id);
}

QAction* CMainWnd::contextAction(int id) const {
    return m_contextActions.value(id);
}

void CMainWnd::showContextMenuAt(const QPoint& viewportPosition) {
    const QModelIndex index = m_list->indexAt(viewportPosition);
    if (index.isValid())
        selectRow(index.row());
    m_contextMenu->popup(m_list->viewport()->mapToGlobal(viewportPosition));
}

// From the keyboard the menu opens below the current row, which stays the current row.
void CMainWnd::showContextMenuForCurrentRow() {
    QPoint position;
    if (currentRow() >= 0 && m_model->columnCount() > 0)
        position = m_list->visualRect(m_model->index(currentRow(), 0)).bottomLeft();
    if (!m_list->viewport()->rect().contains(position))
        position = QPoint(0, 0);
    m_contextMenu->popup(m_list->viewport()->mapToGlobal(position));
}
