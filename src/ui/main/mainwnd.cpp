#include "ui/main/mainwnd.h"

#include "core/logdocument.h"
#include "core/vehicles.h"
#include "localisation/language.h"
#include "ui/main/commands.h"
#include "ui/main/filllistmodel.h"
#include "ui/messagebox.h"
#include "ui/programicon.h"
#include "ui/widgettext.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDialog>
#include <QEventLoop>
#include <QGestureEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QSessionManager>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QTapAndHoldGesture>
#include <QUndoStack>

namespace {

const QString kCaption = QStringLiteral("Tankometer");
constexpr QSize kPreferredSize(480, 640);

// The menu titles get Alt mnemonics on their first letter not taken by an earlier one.
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

CMainWnd::CMainWnd(CLogDocument& document, QWidget* parent)
    : QMainWindow(parent), m_document(document),
      m_commands(std::make_unique<CMainCommands>(*this, document)) {
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(vehicleTitle(m_document.filePath(), kCaption));
    setWindowIcon(programIcon());
    m_document.setMessageSink([](const QString& message) {
        showMessageBox(nullptr, kCaption, message, QMessageBox::NoIcon, QMessageBox::Ok);
    });

    m_model = new CFillListModel(m_document, this);
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
    // The status line tells what happened to the log's file (a copy merged, the file gone). A
    // label of its own: the list's hover status tips would clear a temporary message.
    statusBar()->setObjectName(QStringLiteral("statusLine"));
    m_notice = new QLabel(statusBar());
    m_notice->setObjectName(QStringLiteral("notice"));
    m_notice->setWordWrap(true);
    statusBar()->addWidget(m_notice, 1);
    createContextMenu();
    createShortcuts();
    followDocument();

    if (auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(application, &QGuiApplication::commitDataRequest, this,
                [this](QSessionManager&) { saveForSessionEnd(); });
    }
    resize(kPreferredSize);
}

CMainWnd::~CMainWnd() = default;

const CFuelDatabase& CMainWnd::database() const {
    return m_document.database();
}

QString CMainWnd::vehiclePath() const {
    return m_document.filePath();
}

bool CMainWnd::hasUnsavedChanges() const {
    return m_document.hasUnsavedChanges();
}

void CMainWnd::followDocument() {
    // New rows (and the one after them, whose derived values change) may be wider.
    connect(&m_document, &CLogDocument::fillsInserted, this,
            [this](int first, int last) { fitColumns(true, first, last + 1); });
    connect(&m_document, &CLogDocument::logReplaced, this, [this] { fitColumns(true); });
    connect(&m_document, &CLogDocument::logOpened, this, &CMainWnd::logOpened);
    connect(&m_document, &CLogDocument::stepShown, this, [this](int row) {
        if (row < 0)
            return;
        fitColumns(true, row, row + 1);
        selectRow(row);
    });
    connect(&m_document, &CLogDocument::unsavedChangesChanged, this, &QWidget::setWindowModified);
    connect(&m_document, &CLogDocument::notice, m_notice, &QLabel::setText);
    QUndoStack* undoStack = m_document.undoStack();
    connect(undoStack, &QUndoStack::indexChanged, this, &CMainWnd::updateUndoTexts);
    connect(undoStack, &QUndoStack::cleanChanged, this, &CMainWnd::updateUndoTexts);
}

void CMainWnd::logOpened() {
    setWindowTitle(vehicleTitle(m_document.filePath(), kCaption));
    setWindowModified(m_document.hasUnsavedChanges());
    buildList();
    // A history of years opens at its newest fill.
    m_list->scrollToBottom();
    updateUndoTexts();
}

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
    // Whatever the load leaves in the log is shown; it reports its own failures.
    if (!m_document.isLoaded())
        m_document.load();
    else
        logOpened();
    translateMenus();
    resize(firstSize());
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
    if (m_model->columnCount() == 0)
        return m_currentRow;
    // A click on the empty area below the rows clears the selection but not the view's
    // current index: the commands then have no row to act on.
    const QModelIndex current = m_list->selectionModel()->currentIndex();
    if (!current.isValid() || !m_list->selectionModel()->isRowSelected(current.row(), {}))
        return -1;
    return current.row();
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
    // The list puts its cursor on the first row when it gets the focus, without selecting it:
    // the row the commands act on is always shown selected.
    QItemSelectionModel* selection = m_list->selectionModel();
    if (!selection->isRowSelected(current.row(), {}))
        selection->select(current, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void CMainWnd::dispatchCommand(int id) {
    m_commands->run(id);
}

bool CMainWnd::saveBeforeEnd() {
    if (m_document.save())
        return true;
    // The log has shown why the save failed; leaving now would lose this session's fills.
    const auto answer =
        showMessageBox(this, kCaption, translate(Text::Main_QuestionCloseUnsaved),
                       QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    return answer == QMessageBox::Yes;
}

void CMainWnd::saveAndEnd() {
    if (saveBeforeEnd())
        end(1);
}

void CMainWnd::endWithoutQuestions() {
    // Whatever dialog is open is left; the log is written as it stands.
    m_document.save();
    // A dialog that is open is cancelled, so that its event loop ends too.
    for (int open = 0; open < 16 && QApplication::activeModalWidget(); ++open) {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    }
    end(1);
}

void CMainWnd::cancel() {
    if (m_document.undoStack()->index() == 0)
        return;
    const auto answer =
        showMessageBox(this, kCaption, translate(Text::Main_QuestionDiscardChanges),
                       QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer == QMessageBox::Yes)
        m_document.discardSession();
}

void CMainWnd::end(int result) {
    m_result = result;
    m_ending = true;
    close();
    emit finished(result);
}

void CMainWnd::saveForSessionEnd() {
    if (m_initialised && !m_ending)
        m_document.save();
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

QAction* CMainWnd::addCommand(QWidget* menu, QHash<int, QAction*>* actions, int id, bool context) {
    const CommandInfo* info = CMainCommands::command(id);
    auto* action = new QAction(menu);
    action->setObjectName(
        QString::fromLatin1(context ? info->contextObjectName : info->objectName));
    action->setData(id);
    if (!context)
        action->setShortcuts(info->shortcuts);
    connect(action, &QAction::triggered, this, [this, id] { dispatchCommand(id); });
    menu->addAction(action);
    actions->insert(id, action);
    return action;
}

void CMainWnd::createMenuBar() {
    auto* bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("menuBar"));
    for (const MenuInfo& info : CMainCommands::menus()) {
        QMenu* menu = bar->addMenu(QString());
        menu->setObjectName(QString::fromLatin1(info.objectName));
        m_barActions.insert(info.id, menu->menuAction());
        for (const int id : info.items) {
            if (id == 0) {
                menu->addSeparator();
            } else if (id == CmdRecentVehiclesMenu) {
                m_recentMenu = menu->addMenu(QString());
                m_recentMenu->setObjectName(
                    QString::fromLatin1(CMainCommands::command(id)->objectName));
                m_barActions.insert(id, m_recentMenu->menuAction());
                connect(m_recentMenu, &QMenu::aboutToShow, this,
                        [this] { m_commands->fillRecentVehiclesMenu(m_recentMenu); });
            } else {
                addCommand(menu, &m_barActions, id, false);
            }
        }
    }
    setMenuBar(bar);
}

void CMainWnd::createContextMenu() {
    m_contextMenu = new QMenu(this);
    m_contextMenu->setObjectName(QStringLiteral("contextMenu"));
    for (const int id : CMainCommands::contextItems()) {
        if (id == 0)
            m_contextMenu->addSeparator();
        else
            addCommand(m_contextMenu, &m_contextActions, id, true);
    }
}

void CMainWnd::createShortcuts() {
    auto* edit = new QAction(m_list);
    edit->setObjectName(QStringLiteral("actionEditCurrentFill"));
    edit->setShortcuts({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    edit->setShortcutContext(Qt::WidgetShortcut);
    connect(edit, &QAction::triggered, this, [this] { dispatchCommand(CmdEditFill); });
    m_list->addAction(edit);
}

void CMainWnd::languageMayHaveChanged() {
    translateMenus();
    m_model->headersChanged();
    fitColumns(true);
}

void CMainWnd::translateMenus() {
    QString usedLetters;
    for (const MenuInfo& info : CMainCommands::menus())
        m_barActions.value(info.id)->setText(menuTitleText(translate(*info.title), &usedLetters));
    m_recentMenu->menuAction()->setText(translatedWidgetText(Text::menu_FileRecentVehicles));
    for (auto it = m_barActions.cbegin(); it != m_barActions.cend(); ++it) {
        const CommandInfo* command = CMainCommands::command(it.key());
        if (command && command->handler)
            it.value()->setText(translatedWidgetText(*command->menuText));
    }
    for (auto it = m_contextActions.cbegin(); it != m_contextActions.cend(); ++it)
        it.value()->setText(translatedWidgetText(*CMainCommands::command(it.key())->contextText));
    updateUndoTexts();
}

// Undo and Redo name the step they would take back or do again.
void CMainWnd::updateUndoTexts() {
    const QUndoStack* undoStack = m_document.undoStack();
    QAction* undo = m_barActions.value(CmdUndo);
    QAction* redo = m_barActions.value(CmdRedo);
    undo->setEnabled(undoStack->canUndo());
    undo->setText(
        undoStack->canUndo()
            ? translatedWidgetText(Text::menu_EditUndoStep).arg(widgetText(m_document.undoText()))
            : translatedWidgetText(Text::menu_EditUndo));
    redo->setEnabled(undoStack->canRedo());
    redo->setText(
        undoStack->canRedo()
            ? translatedWidgetText(Text::menu_EditRedoStep).arg(widgetText(m_document.redoText()))
            : translatedWidgetText(Text::menu_EditRedo));
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
