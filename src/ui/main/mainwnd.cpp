#include "ui/main/mainwnd.h"

#include "core/logdocument.h"
#include "core/settings.h"
#include "core/vehicles.h"
#include "db/formats.h"
#include "db/fueldatabase.h"
#include "localisation/language.h"
#include "stats/averageconsumption.h"
#include "stats/reminders.h"
#include "stats/totals.h"
#include "ui/elidinglabel.h"
#include "ui/main/commands.h"
#include "ui/main/costspage.h"
#include "ui/main/fillfilter.h"
#include "ui/main/filllistdelegate.h"
#include "ui/main/filllistheader.h"
#include "ui/main/filllistmodel.h"
#include "ui/main/remindersdlg.h"
#include "ui/messagebox.h"
#include "ui/programicon.h"
#include "ui/widgettext.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDialog>
#include <QDir>
#include <QEventLoop>
#include <QGestureEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QSessionManager>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QTapAndHoldGesture>
#include <QTimer>
#include <QToolBar>
#include <QUndoStack>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <utility>

namespace {

const QString kCaption = QStringLiteral("Tankometer");
constexpr QSize kPreferredSize(480, 640);
// More rows than a screen shows.
constexpr int kRowsFittedFirst = 256;
// The toolbar's add, edit and remove of the fills, and what stands there while the costs show.
constexpr int kFillTools[] = {CMainWnd::CmdAddFill, CMainWnd::CmdEditFill, CMainWnd::CmdRemoveFill};
constexpr int kCostTools[] = {CMainWnd::CmdAddCost, CMainWnd::CmdEditCost,
                              CMainWnd::CmdRemoveCosts};
// Their buttons' short texts, the same for both: the tips and screen readers have the whole
// texts, and the toolbar fits a narrow window in every language.
constexpr const TextId* kToolTexts[] = {&Text::toolbar_Add, &Text::toolbar_Edit,
                                        &Text::toolbar_Remove};

const TextId* toolText(int id) {
    for (std::size_t i = 0; i < std::size(kToolTexts); ++i) {
        if (id == kFillTools[i] || id == kCostTools[i])
            return kToolTexts[i];
    }
    return nullptr;
}

// Menu titles and items get Alt mnemonics on their first letter not taken by an earlier one of
// the same menu. The text is already escaped for a widget ("&&" for "&").
QString withMnemonic(QString text, QString* usedLetters) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar letter = text.at(i).toLower();
        if (letter.isLetter() && !usedLetters->contains(letter)) {
            usedLetters->append(letter);
            return text.insert(i, QLatin1Char('&'));
        }
    }
    return text;
}

QString menuTitleText(const QString& text, QString* usedLetters) {
    return withMnemonic(widgetText(text), usedLetters);
}

QByteArray readState(const TextKey& key) {
    return QByteArray::fromBase64(readSetting(key).toLatin1());
}

void writeState(const TextKey& key, const QByteArray& state) {
    writeSetting(key, QString::fromLatin1(state.toBase64()));
}

// The window's rectangle as earlier versions kept it, "x,y,width,height"; null when it does not
// read.
QRect rectFromText(const QString& text) {
    const QStringList parts = text.split(u',');
    QList<int> numbers;
    for (const QString& part : parts) {
        bool ok = false;
        numbers.append(part.toInt(&ok));
        if (!ok)
            return {};
    }
    if (numbers.size() != 4 || numbers[2] <= 0 || numbers[3] <= 0)
        return {};
    return QRect(numbers[0], numbers[1], numbers[2], numbers[3]);
}

// Earlier versions' "column:width" pairs of the widths the user dragged, by column kind.
QHash<int, int> widthsFromText(const QString& text) {
    QHash<int, int> widths;
    for (const QString& pair : text.split(u',', Qt::SkipEmptyParts)) {
        const QStringList parts = pair.split(u':');
        bool columnOk = false;
        bool widthOk = false;
        const int column = parts.value(0).toInt(&columnOk);
        const int width = parts.value(1).toInt(&widthOk);
        if (parts.size() == 2 && columnOk && widthOk && column >= 0 &&
            column <= CFillListModel::Endurance && width > 0 && width < 10000)
            widths.insert(column, width);
    }
    return widths;
}

} // namespace

QRect CMainWnd::fittedGeometry(const QRect& stored, const QRect& available) {
    QRect fitted(stored.topLeft(), stored.size().boundedTo(available.size()));
    if (fitted.right() > available.right())
        fitted.moveRight(available.right());
    if (fitted.bottom() > available.bottom())
        fitted.moveBottom(available.bottom());
    if (fitted.left() < available.left())
        fitted.moveLeft(available.left());
    if (fitted.top() < available.top())
        fitted.moveTop(available.top());
    return fitted;
}

namespace {} // namespace

CMainWnd::CMainWnd(CLogDocument& document, QWidget* parent)
    : QMainWindow(parent), m_document(document),
      m_commands(std::make_unique<CMainCommands>(*this, document)),
      m_consumption(std::make_unique<CAverageConsumption>(document.database())) {
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(vehicleTitle(m_document.filePath(), m_document.database().vehicleName(),
                                kCaption, m_document.fileUnread()));
    // What can wait until the list has painted, or a moment when it does not paint.
    QTimer::singleShot(kAfterPaintWaitMs, this, &CMainWnd::afterFirstPaint);
    m_document.setMessageSink([](const QString& message) {
        showMessageBox(nullptr, kCaption, message, QMessageBox::NoIcon, QMessageBox::Ok);
    });

    // Before the list: the status line is made again as the list follows a change.
    followConsumption();
    m_model = new CFillListModel(m_document, this);
    m_list = new QTableView(this);
    m_list->setObjectName(QStringLiteral("fillList"));
    m_list->setHorizontalHeader(new CFillListHeader(m_list));
    m_list->setItemDelegate(new CFillListDelegate(m_list));
    m_list->setAccessibleName(kCaption);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSortingEnabled(false);
    m_list->setWordWrap(false);
    m_list->setShowGrid(false);
    m_list->horizontalHeader()->setSectionsClickable(false);
    m_list->horizontalHeader()->setSectionsMovable(true);
    m_list->horizontalHeader()->setDefaultAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // The last column takes what the window has to spare; a column the user drags keeps its
    // width from then on, and one the user moves its place.
    m_list->horizontalHeader()->setStretchLastSection(true);
    connect(m_list->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int position, int, int width) { rememberDraggedWidth(position, width); });
    m_list->verticalHeader()->hide();
    // Rows of one fixed height keep a list of many thousand fills fluent.
    m_list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_list->verticalHeader()->setDefaultSectionSize(m_list->fontMetrics().height() + 6);
    m_list->installEventFilter(this);
    m_list->viewport()->installEventFilter(this);
    m_list->viewport()->grabGesture(Qt::TapAndHoldGesture);
    m_filter = new CFillFilterModel(m_document.database(), this);
    showModel(m_model);
    createSearch();
    createCostsPage();

    m_emptyHint = new QLabel(m_list->viewport());
    m_emptyHint->setObjectName(QStringLiteral("emptyHint"));
    m_emptyHint->setAlignment(Qt::AlignCenter);
    m_emptyHint->setWordWrap(true);
    m_emptyHint->setTextFormat(Qt::PlainText);
    m_emptyHint->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_emptyHint->setForegroundRole(QPalette::PlaceholderText);

    for (const auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(m_model, signal, this, [this] { updateSummary(); });
    connect(m_model, &QAbstractItemModel::modelReset, this, &CMainWnd::updateSummary);
    connect(m_model, &QAbstractItemModel::dataChanged, this, &CMainWnd::updateSummary);
    connect(m_model, &QAbstractItemModel::headerDataChanged, this,
            [this] { m_headerWidths.clear(); });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] { m_headerWidths.clear(); });
    // A column the log has come to need (or no longer needs).
    for (const auto signal :
         {&QAbstractItemModel::columnsInserted, &QAbstractItemModel::columnsRemoved}) {
        connect(m_model, signal, this, [this] {
            m_headerWidths.clear();
            fitColumns(true);
        });
    }

    createMenuBar();
    // The status line tells what happened to the log's file (a copy merged, the file gone). A
    // label of its own: the list's hover status tips would clear a temporary message.
    statusBar()->setObjectName(QStringLiteral("statusLine"));
    m_notice = new QLabel(statusBar());
    m_notice->setObjectName(QStringLiteral("notice"));
    m_notice->setWordWrap(true);
    statusBar()->addWidget(m_notice, 1);
    // Reminders due soon stand in the status line: no question interrupts the start.
    // In a narrow window it gives way to the log's figures: cut, and whole in its tip.
    m_reminders = new CElidingLabel(statusBar());
    m_reminders->setObjectName(QStringLiteral("reminderLine"));
    m_reminders->setTextFormat(Qt::PlainText);
    statusBar()->addWidget(m_reminders, 1);
    m_summary = new QLabel(statusBar());
    m_summary->setObjectName(QStringLiteral("summary"));
    m_summary->setTextFormat(Qt::PlainText);
    statusBar()->addPermanentWidget(m_summary);
    createToolBar();
    createContextMenu();
    createShortcuts();
    followDocument();

    if (auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(application, &QGuiApplication::commitDataRequest, this,
                [this](QSessionManager&) { saveForSessionEnd(); });
    }
    resize(kPreferredSize);
}

CMainWnd::~CMainWnd() {
    // The window's children are hidden after this destructor has run, and a list header that
    // resizes its sections then would call back into a window that is no longer one.
    disconnect(m_list->horizontalHeader(), nullptr, this, nullptr);
}

const CFuelDatabase& CMainWnd::database() const {
    return m_document.database();
}

QString CMainWnd::vehiclePath() const {
    return m_document.filePath();
}

bool CMainWnd::hasUnsavedChanges() const {
    return m_document.hasUnsavedChanges();
}

void CMainWnd::followConsumption() {
    CAverageConsumption* consumption = m_consumption.get();
    consumption->reset(readFillingMethod());
    connect(&m_document, &CLogDocument::fillsInserted, this,
            [this, consumption](int first, int last) {
                if (!m_consumptionPending)
                    consumption->fillsInserted(first, last);
            });
    connect(&m_document, &CLogDocument::fillsRemoved, this,
            [this, consumption](int first, int last) {
                if (!m_consumptionPending)
                    consumption->fillsRemoved(first, last);
            });
    connect(&m_document, &CLogDocument::fillsChanged, this,
            [this, consumption](int first, int last) {
                if (!m_consumptionPending)
                    consumption->fillsChanged(first, last);
            });
    // The average of another log is a pass over its whole history: made once the window is
    // idle (and, at the start, has painted), so that the list of a long history is up without
    // waiting for it.
    connect(&m_document, &CLogDocument::logReplaced, this, [this] {
        m_consumptionPending = true;
        if (m_afterPaintDone)
            QTimer::singleShot(0, this, &CMainWnd::updatePendingConsumption);
    });
}

void CMainWnd::updatePendingConsumption() {
    if (!std::exchange(m_consumptionPending, false))
        return;
    m_consumption->reset(m_model->fillingMethod());
    updateSummary();
}

// The window's icon, the search field's clear button (both images to read) and the status line's
// average wait until the window is up.
void CMainWnd::afterFirstPaint() {
    if (std::exchange(m_afterPaintDone, true))
        return;
    setWindowIcon(programIcon());
    m_search->setClearButtonEnabled(true);
    updatePendingConsumption();
}

void CMainWnd::followDocument() {
    // New rows (and the one after them, whose derived values change) may be wider.
    connect(&m_document, &CLogDocument::fillsInserted, this,
            [this](int first, int last) { fitColumns(true, first, last + 1); });
    connect(&m_document, &CLogDocument::logReplaced, this, [this] { fitColumns(true); });
    // The headers name the log's units: other units, other widths.
    connect(&m_document, &CLogDocument::unitsChanged, this, [this] { fitColumns(false); });
    connect(&m_document, &CLogDocument::logOpened, this, &CMainWnd::logOpened);
    connect(&m_document, &CLogDocument::vehicleNamed, this, [this] {
        setWindowTitle(vehicleTitle(m_document.filePath(), m_document.database().vehicleName(),
                                    kCaption, m_document.fileUnread()));
        updateSummary();
    });
    // At start, after a new fill (the estimate of today's reading moves) and after any change of
    // the reminders.
    connect(&m_document, &CLogDocument::fillsInserted, this, &CMainWnd::updateReminders);
    connect(&m_document, &CLogDocument::remindersChanged, this, &CMainWnd::updateReminders);
    connect(&m_document, &CLogDocument::stepShown, this, [this](int row) {
        if (row < 0)
            return;
        fitColumns(true, row, row + 1);
        selectRow(row);
    });
    connect(&m_document, &CLogDocument::unsavedChangesChanged, this, &QWidget::setWindowModified);
    connect(&m_document, &CLogDocument::notice, m_notice, &QLabel::setText);
    QUndoStack* undoStack = m_document.undoStack();
    // After the stack has named its actions (see addCommand): these texts replace the stack's.
    connect(undoStack, &QUndoStack::undoTextChanged, this, &CMainWnd::updateUndoTexts);
    connect(undoStack, &QUndoStack::redoTextChanged, this, &CMainWnd::updateUndoTexts);
    connect(undoStack, &QUndoStack::cleanChanged, this, &CMainWnd::updateUndoTexts);
    connect(undoStack, &QUndoStack::indexChanged, this, &CMainWnd::updateSummary);
}

void CMainWnd::logOpened() {
    setWindowTitle(vehicleTitle(m_document.filePath(), m_document.database().vehicleName(),
                                kCaption, m_document.fileUnread()));
    updateSummary();
    updateReminders();
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
    restoreWindowState();
}

void CMainWnd::restoreWindowState() {
    setToolbarShown(readSetting(SettingsKey::ToolbarShown) != 0);
    setStatusLineShown(readSetting(SettingsKey::StatusLineShown) != 0);
    // Qt's state gives up on a screen of another size (or resolution): the window then opens at
    // its first size there.
    if (const QByteArray state = readState(SettingsKey::MainWindowGeometry); !state.isEmpty()) {
        if (!restoreGeometry(state))
            resize(firstSize());
        return;
    }
    QRect geometry = rectFromText(readSetting(SettingsKey::OldWindowGeometry));
    const QScreen* currentScreen = screen();
    if (geometry.isValid() && currentScreen) {
        // A screen smaller than the one the window was left on gets the window within its bounds.
        geometry = fittedGeometry(geometry, currentScreen->availableGeometry());
        move(geometry.topLeft());
        resize(geometry.size());
    } else {
        resize(firstSize());
    }
    if (readSetting(SettingsKey::OldWindowMaximized) != 0)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void CMainWnd::storeWindowState() {
    if (!m_initialised)
        return;
    writeState(SettingsKey::MainWindowGeometry, saveGeometry());
    writeSetting(SettingsKey::ToolbarShown, toolbarShown() ? 1 : 0);
    writeSetting(SettingsKey::StatusLineShown, statusLineShown() ? 1 : 0);
    if (m_model->columnCount() > 0) {
        writeState(SettingsKey::FillListHeader, m_list->horizontalHeader()->saveState());
        writeSetting(SettingsKey::FillListHeaderColumns, columnKinds());
    }
}

quint32 CMainWnd::columnKinds() const {
    quint32 kinds = 0;
    for (int position = 0; position < m_model->columnCount(); ++position)
        kinds |= 1u << int(m_model->columnAt(position));
    return kinds;
}

// Wide enough for every column of the list and the toolbar, and a good share of the screen, as
// far as the screen has room for the window.
QSize CMainWnd::firstSize() const {
    const int columnsWidth = m_list->horizontalHeader()->length() + 2 * m_list->frameWidth() +
                             m_list->verticalScrollBar()->sizeHint().width();
    QSize size(qMax(kPreferredSize.width(), qMax(columnsWidth, m_toolBar->sizeHint().width())),
               kPreferredSize.height());
    if (const QScreen* currentScreen = screen()) {
        const QSize available = currentScreen->availableGeometry().size();
        size = size.expandedTo(QSize(available.width() / 2, available.height() * 3 / 4));
        size = size.boundedTo(available);
    }
    return size;
}

void CMainWnd::buildList() {
    // The columns' order and widths as the user left them: this run's through a rebuild, else
    // the stored ones.
    QHeaderView* header = m_list->horizontalHeader();
    QByteArray state;
    quint32 kinds = 0;
    if (std::exchange(m_listStateRead, true)) {
        state = header->saveState();
        kinds = columnKinds();
    } else {
        state = readState(SettingsKey::FillListHeader);
        kinds = readSetting(SettingsKey::FillListHeaderColumns);
        if (state.isEmpty())
            m_draggedWidths = widthsFromText(readSetting(SettingsKey::OldColumnWidths));
    }
    m_model->rebuild();
    // A header state of other columns does not fit this list.
    m_fittingColumns = true;
    const bool restored = !state.isEmpty() && kinds == columnKinds() && header->restoreState(state);
    m_fittingColumns = false;
    // The list opens at its newest fills: they are measured before the first painting, the
    // whole history once it is done (which can only widen a column).
    fitColumns(restored, m_model->rowCount() - kRowsFittedFirst);
    m_fitAfterPaint = true;
    m_currentRow = -1;
    updateCommandStates();
}

void CMainWnd::rememberDraggedWidth(int position, int width) {
    // The last column stretches with the window: its width is not the user's choice.
    if (m_fittingColumns ||
        m_list->horizontalHeader()->visualIndex(position) >= m_model->columnCount() - 1)
        return;
    m_draggedWidths.insert(int(m_model->columnAt(position)), width);
}

void CMainWnd::fitColumns(bool keepWider, int firstRow, int lastRow) {
    QHeaderView* header = m_list->horizontalHeader();
    const QFontMetrics metrics = m_list->fontMetrics();
    // The room the item delegate leaves around a cell's text, and a little to spare.
    const int margin =
        2 * (m_list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_list) + 1) + 4;
    m_fittingColumns = true;
    for (int position = 0; position < m_model->columnCount(); ++position) {
        const CFillListModel::Column column = m_model->columnAt(position);
        if (const auto dragged = m_draggedWidths.constFind(int(column));
            dragged != m_draggedWidths.cend()) {
            header->resizeSection(position, *dragged);
            continue;
        }
        int width = qMax(CFillListModel::columnWidth(column), headerWidth(position));
        for (const QString& text : m_model->widestTexts(column, firstRow, lastRow))
            width = qMax(width, metrics.horizontalAdvance(text) + margin);
        if (keepWider)
            width = qMax(width, header->sectionSize(position));
        header->resizeSection(position, width);
    }
    m_fittingColumns = false;
}

// Measuring a header's text is as costly as the rest of a fit: kept until the headers, the
// columns or the font change.
int CMainWnd::headerWidth(int position) {
    QHeaderView* header = m_list->horizontalHeader();
    if (m_headerWidths.size() != m_model->columnCount() || m_headerWidthsFont != header->font()) {
        m_headerWidths.clear();
        for (int each = 0; each < m_model->columnCount(); ++each)
            m_headerWidths.append(header->sectionSizeHint(each));
        m_headerWidthsFont = header->font();
    }
    return m_headerWidths.at(position);
}

int CMainWnd::currentRow() const {
    if (m_model->columnCount() == 0)
        return m_currentRow;
    // A click on the empty area below the rows clears the selection but not the view's
    // current index: the commands then have no row to act on.
    const QModelIndex current = m_list->selectionModel()->currentIndex();
    if (!current.isValid() || !m_list->selectionModel()->isRowSelected(current.row(), {}))
        return -1;
    return logRow(current.row());
}

QList<int> CMainWnd::selectedRows() const {
    if (m_model->columnCount() == 0)
        return m_currentRow >= 0 ? QList<int>{m_currentRow} : QList<int>{};
    QList<int> rows;
    for (const QModelIndex& index : m_list->selectionModel()->selectedRows())
        rows.append(logRow(index.row()));
    std::sort(rows.begin(), rows.end());
    return rows;
}

int CMainWnd::logRow(int viewRow) const {
    if (m_list->model() != m_filter)
        return viewRow;
    return m_filter->mapToSource(m_filter->index(viewRow, 0)).row();
}

QModelIndex CMainWnd::viewIndex(int row) const {
    const QModelIndex index = m_model->index(row, 0);
    return m_list->model() == m_filter ? m_filter->mapFromSource(index) : index;
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
    const QModelIndex index = viewIndex(row);
    if (!index.isValid()) {
        m_list->clearSelection();
        return;
    }
    m_list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                         QItemSelectionModel::Rows);
    m_list->scrollTo(index);
}

void CMainWnd::onCurrentRowChanged(const QModelIndex& current) {
    if (!current.isValid())
        return;
    // The list puts its cursor on the first row when it gets the focus, without selecting it:
    // the row the commands act on is always shown selected. A click selects rows itself (with
    // Ctrl and Shift several), after making its row the current one.
    QItemSelectionModel* selection = m_list->selectionModel();
    if (QGuiApplication::mouseButtons() == Qt::NoButton &&
        !selection->isRowSelected(current.row(), {}))
        selection->select(current, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void CMainWnd::dispatchCommand(int id) {
    m_commands->run(id);
}

bool CMainWnd::saveBeforeEnd() {
    if (m_document.save())
        return true;
    // The log has shown why the save failed. The fills may still be in the recovery file, which
    // stays for the next start; else leaving now loses this session's fills.
    const QString recovery = m_document.recoveryPath();
    const QString question = recovery.isEmpty()
                                 ? translate(Text::Main_QuestionCloseUnsaved)
                                 : translate(Text::Main_QuestionCloseRecovered)
                                       .arg(QDir::toNativeSeparators(m_document.filePath()),
                                            QDir::toNativeSeparators(recovery));
    const auto answer = showMessageBox(this, kCaption, question, QMessageBox::Warning,
                                       QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    return answer == QMessageBox::Yes;
}

void CMainWnd::saveAndEnd() {
    if (saveBeforeEnd())
        end(1);
}

SavedTo CMainWnd::endWithoutQuestions() {
    // Whatever dialog is open is left; the log is written as it stands.
    const SavedTo savedTo = m_document.saveWithoutQuestions();
    // A dialog that is open is cancelled, so that its event loop ends too.
    for (int open = 0; open < 16 && QApplication::activeModalWidget(); ++open) {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    }
    end(1);
    return savedTo;
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
    storeWindowState();
    m_result = result;
    m_ending = true;
    close();
    emit finished(result);
}

void CMainWnd::saveForSessionEnd() {
    if (m_initialised && !m_ending) {
        m_document.save();
        storeWindowState();
    }
}

void CMainWnd::showEvent(QShowEvent* event) {
    initialise();
    QMainWindow::showEvent(event);
    // Once the frame is known, the whole window is brought onto the screen.
    if (const QScreen* currentScreen = screen(); currentScreen && !isMaximized()) {
        const QRect frame = frameGeometry();
        const QRect fitted = fittedGeometry(frame, currentScreen->availableGeometry());
        if (fitted != frame) {
            resize(size() - (frame.size() - fitted.size()));
            move(fitted.topLeft());
        }
    }
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
    storeWindowState();
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
        const int rows = m_list->model()->rowCount();
        if (reason != Qt::MouseFocusReason && !m_list->currentIndex().isValid() && rows > 0)
            selectRow(logRow(rows - 1));
    }
    if (watched == m_list && event->type() == QEvent::KeyPress &&
        listKeyPressed(*static_cast<QKeyEvent*>(event)))
        return true;
    if (watched == m_search && event->type() == QEvent::KeyPress &&
        searchKeyPressed(*static_cast<QKeyEvent*>(event)))
        return true;
    if (watched == m_list->viewport()) {
        if (event->type() == QEvent::Resize)
            placeEmptyHint();
        if (event->type() == QEvent::Paint) {
            m_model->startPass();
            if (std::exchange(m_fitAfterPaint, false))
                QTimer::singleShot(0, this, [this] { fitColumns(true); });
            if (!m_afterPaintDone)
                QTimer::singleShot(0, this, &CMainWnd::afterFirstPaint);
        }
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
    if (const int rows = m_list->model()->rowCount(); rows > 0)
        selectRow(logRow(event.key() == Qt::Key_Home ? 0 : rows - 1));
    return true;
}

// Escape empties the field and goes back to the list; Down and Enter go to the list too.
bool CMainWnd::searchKeyPressed(const QKeyEvent& event) {
    if (event.modifiers() & ~Qt::KeypadModifier)
        return false;
    switch (event.key()) {
    case Qt::Key_Escape:
        m_search->clear();
        break;
    case Qt::Key_Down:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        break;
    default:
        return false;
    }
    m_list->setFocus(Qt::ShortcutFocusReason);
    return true;
}

void CMainWnd::createSearch() {
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("searchField"));
    m_search->installEventFilter(this);
    connect(m_search, &QLineEdit::textChanged, this, &CMainWnd::searchChanged);
    m_searchCount = new QLabel(this);
    m_searchCount->setObjectName(QStringLiteral("searchCount"));
    m_searchCount->setTextFormat(Qt::PlainText);
    m_searchCount->hide();
    for (const auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(m_filter, signal, this, [this] { updateSearchCount(); });
    connect(m_filter, &QAbstractItemModel::modelReset, this, &CMainWnd::updateSearchCount);
    connect(m_filter, &QAbstractItemModel::layoutChanged, this, &CMainWnd::updateSearchCount);

    auto* find = new QAction(this);
    find->setObjectName(QStringLiteral("actionSearch"));
    find->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    find->setShortcutContext(Qt::WindowShortcut);
    connect(find, &QAction::triggered, this, [this] {
        m_search->setFocus(Qt::ShortcutFocusReason);
        m_search->selectAll();
    });
    addAction(find);

    auto* searchLine = new QHBoxLayout;
    searchLine->addWidget(m_search, 1);
    searchLine->addWidget(m_searchCount);
    auto* pane = new QWidget(this);
    pane->setObjectName(QStringLiteral("listPane"));
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(searchLine);
    layout->addWidget(m_list, 1);
    setCentralWidget(pane);
    setTabOrder(m_search, m_list);
    translateSearch();
}

void CMainWnd::translateSearch() {
    m_search->setPlaceholderText(translate(Text::Main_SearchHint));
    m_search->setAccessibleName(translate(Text::Main_Search));
    m_search->setToolTip(QStringLiteral("%1 (%2)").arg(
        translate(Text::Main_Search),
        QKeySequence(Qt::CTRL | Qt::Key_F).toString(QKeySequence::NativeText)));
    updateSearchCount();
}

void CMainWnd::searchChanged(const QString& text) {
    const int selected = currentRow();
    m_filter->setText(text);
    const bool searching = !m_filter->text().isEmpty();
    if (searching && m_list->model() != m_filter) {
        m_filter->setSourceModel(m_model);
        showModel(m_filter);
    } else if (!searching && m_list->model() == m_filter) {
        showModel(m_model);
        m_filter->setSourceModel(nullptr);
    }
    // The fill that was selected stays so, and in view, while the search lets it through.
    selectRow(selected);
    updateSearchCount();
}

// A new model gives the view a new selection model and the header its default widths and
// order: the columns are kept as they are.
void CMainWnd::showModel(QAbstractItemModel* model) {
    QHeaderView* header = m_list->horizontalHeader();
    const QByteArray state = header->count() > 0 ? header->saveState() : QByteArray();
    QItemSelectionModel* oldSelection = m_list->selectionModel();
    m_fittingColumns = true;
    m_list->setModel(model);
    if (!state.isEmpty())
        header->restoreState(state);
    m_fittingColumns = false;
    delete oldSelection;
    connect(m_list->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &CMainWnd::onCurrentRowChanged);
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CMainWnd::updateCommandStates);
    updateCommandStates();
}

void CMainWnd::updateSearchCount() {
    const bool searching = m_list->model() == m_filter;
    if (searching) {
        m_searchCount->setText(
            translate(Text::Main_SearchShown).arg(m_filter->rowCount()).arg(m_model->rowCount()));
    }
    m_searchCount->setVisible(searching);
    // A screen reader in the field hears how many fills the search lets through.
    m_search->setAccessibleDescription(searching ? m_searchCount->text() : QString());
}

QAction* CMainWnd::addCommand(QWidget* menu, QHash<int, QAction*>* actions, int id, bool context) {
    const CommandInfo* info = CMainCommands::command(id);
    // The stack's actions undo and redo themselves; their texts are the window's (see
    // updateUndoTexts).
    QAction* action = nullptr;
    if (id == CmdUndo && !context) {
        action = m_document.undoStack()->createUndoAction(menu);
    } else if (id == CmdRedo && !context) {
        action = m_document.undoStack()->createRedoAction(menu);
    } else {
        action = new QAction(menu);
        connect(action, &QAction::triggered, this, [this, id] { dispatchCommand(id); });
    }
    action->setObjectName(
        QString::fromLatin1(context ? info->contextObjectName : info->objectName));
    action->setData(id);
    action->setCheckable(info->isChecked != nullptr);
    if (!context)
        action->setShortcuts(info->shortcuts);
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
                m_recentMenu->menuAction()->setData(id);
                m_barActions.insert(id, m_recentMenu->menuAction());
                connect(m_recentMenu, &QMenu::aboutToShow, this,
                        [this] { m_commands->fillRecentVehiclesMenu(m_recentMenu); });
            } else {
                addCommand(menu, &m_barActions, id, false);
            }
        }
        // The clean-up of notes from old imports is offered only to a log that has such notes.
        if (info.id == CmdFileMenu) {
            connect(menu, &QMenu::aboutToShow, this, [this] {
                m_barActions.value(CmdNoteMarkers)->setVisible(m_commands->hasNoteMarkers());
            });
        }
    }
    setMenuBar(bar);
}

// The toolbar shares the menu bar's actions, and with them their texts and enabled states.
void CMainWnd::createToolBar() {
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    // Without the toolbar's own entry in its context menu: the View menu shows and hides it.
    m_toolBar->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::PreventContextMenu);
    bool everyIcon = true;
    for (const ToolInfo& tool : CMainCommands::toolItems()) {
        if (tool.id == 0) {
            m_toolBar->addSeparator();
            continue;
        }
        QAction* action = m_barActions.value(tool.id);
        const QIcon icon = QIcon::fromTheme(QString::fromLatin1(tool.iconName));
        everyIcon = everyIcon && !icon.isNull();
        action->setIcon(icon);
        m_toolBar->addAction(action);
        m_toolBar->widgetForAction(action)->setObjectName(action->objectName() +
                                                          QStringLiteral("Button"));
    }
    // One look for all buttons: icons when the theme has them all, otherwise words.
    m_toolBar->setToolButtonStyle(everyIcon ? Qt::ToolButtonFollowStyle : Qt::ToolButtonTextOnly);
    // The menus keep to words: an icon from one theme beside the texts would look out of place.
    for (QAction* action : m_toolBar->actions())
        action->setIconVisibleInMenu(false);
    addToolBar(Qt::TopToolBarArea, m_toolBar);
}

bool CMainWnd::toolbarShown() const {
    return !m_toolBar->isHidden();
}

void CMainWnd::setToolbarShown(bool shown) {
    m_toolBar->setVisible(shown);
    updateCommandStates();
}

bool CMainWnd::statusLineShown() const {
    return !statusBar()->isHidden();
}

void CMainWnd::setStatusLineShown(bool shown) {
    statusBar()->setVisible(shown);
    updateCommandStates();
}

void CMainWnd::createContextMenu() {
    m_costContextMenu = new QMenu(this);
    m_costContextMenu->setObjectName(QStringLiteral("costContextMenu"));
    for (const int id : {int(CmdEditCost), int(CmdRemoveCosts), 0, int(CmdAddCost)}) {
        if (id == 0)
            m_costContextMenu->addSeparator();
        else
            m_costContextMenu->addAction(m_barActions.value(id));
    }
    m_contextMenu = new QMenu(this);
    m_contextMenu->setObjectName(QStringLiteral("contextMenu"));
    for (const int id : CMainCommands::contextItems()) {
        if (id == 0)
            m_contextMenu->addSeparator();
        else
            addCommand(m_contextMenu, &m_contextActions, id, true);
    }
}

// The costs take the fill list's place; the fill list keeps its search, selection and focus
// order as they were. The page itself is made when first asked for (see costsPage()): the window
// shows sooner.
void CMainWnd::createCostsPage() {
    QWidget* listPane = takeCentralWidget();
    m_pages = new QStackedWidget(this);
    m_pages->setObjectName(QStringLiteral("pages"));
    m_pages->addWidget(listPane);
    setCentralWidget(m_pages);
}

CCostsPage* CMainWnd::costsPage() {
    if (m_costsPage)
        return m_costsPage;
    m_costsPage = new CCostsPage(m_document, m_pages);
    m_pages->addWidget(m_costsPage);
    m_costsPage->setAddKeys(
        m_barActions.value(CmdAddCost)->shortcut().toString(QKeySequence::NativeText));
    connect(m_costsPage, &CCostsPage::editRequested, this,
            [this] { dispatchCommand(CmdEditCost); });
    connect(m_costsPage, &CCostsPage::selectionChanged, this, &CMainWnd::updateCommandStates);
    connect(m_costsPage, &CCostsPage::contextMenuRequested, this, [this](const QPoint& position) {
        updateCommandStates();
        m_costContextMenu->popup(position);
    });
    return m_costsPage;
}

bool CMainWnd::costsShown() const {
    return m_costsPage && m_pages->currentWidget() == m_costsPage;
}

void CMainWnd::setCostsShown(bool shown) {
    if (shown != costsShown()) {
        m_pages->setCurrentWidget(shown ? static_cast<QWidget*>(costsPage()) : m_pages->widget(0));
        showPageToolsInToolBar();
        (shown ? static_cast<QWidget*>(m_costsPage->list()) : m_list)->setFocus();
    }
    updateCommandStates();
}

// The toolbar's add, edit and remove act on the page shown: its fills or its costs.
void CMainWnd::showPageToolsInToolBar() {
    const bool costs = costsShown();
    for (std::size_t i = 0; i < std::size(kFillTools); ++i) {
        QAction* wanted = m_barActions.value(costs ? kCostTools[i] : kFillTools[i]);
        QAction* other = m_barActions.value(costs ? kFillTools[i] : kCostTools[i]);
        if (!m_toolBar->actions().contains(other))
            continue;
        wanted->setIcon(other->icon());
        wanted->setIconVisibleInMenu(false);
        m_toolBar->insertAction(other, wanted);
        m_toolBar->removeAction(other);
        m_toolBar->widgetForAction(wanted)->setObjectName(wanted->objectName() +
                                                          QStringLiteral("Button"));
    }
    // The new buttons' names for screen readers.
    updateUndoTexts();
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
    m_summaryTitleOf.clear();
    if (m_costsPage)
        m_costsPage->translate();
    updateReminders();
    translateMenus();
    translateSearch();
    m_model->headersChanged();
    fitColumns(true);
    updateSummary();
}

void CMainWnd::translateMenus() {
    QString usedLetters;
    for (const MenuInfo& info : CMainCommands::menus())
        m_barActions.value(info.id)->setText(menuTitleText(translate(*info.title), &usedLetters));
    translateMenuItems(m_contextMenu, m_contextActions, true);
    updateUndoTexts();
}

QString CMainWnd::commandText(int id, bool context) const {
    const CommandInfo* info = CMainCommands::command(id);
    const QUndoStack* undoStack = m_document.undoStack();
    QString text;
    if (id == CmdUndo && undoStack->canUndo())
        text = translatedWidgetText(Text::menu_EditUndoStep).arg(widgetText(m_document.undoText()));
    else if (id == CmdRedo && undoStack->canRedo())
        text = translatedWidgetText(Text::menu_EditRedoStep).arg(widgetText(m_document.redoText()));
    else
        text = translatedWidgetText(context ? *info->contextText : *info->menuText);
    if (info->opensDialog && !text.endsWith(u'\u2026') && !text.endsWith(QStringLiteral("...")))
        text += u'\u2026';
    return text;
}

void CMainWnd::translateMenuItems(QMenu* menu, const QHash<int, QAction*>& actions, bool context) {
    QString usedLetters;
    for (QAction* action : menu->actions()) {
        const int id = action->data().toInt();
        if (action->isSeparator() || actions.value(id) != action)
            continue;
        QString text = withMnemonic(commandText(id, context), &usedLetters);
        const CommandInfo* info = CMainCommands::command(id);
        // A tab puts the key in the menu's column of shortcuts.
        if (info->shownKey && !context)
            text += u'\t' + QKeySequence(QString::fromLatin1(info->shownKey))
                                .toString(QKeySequence::NativeText);
        action->setText(text);
    }
}

// Undo and Redo name the step they would take back or do again.
void CMainWnd::updateUndoTexts() {
    for (const MenuInfo& info : CMainCommands::menus())
        translateMenuItems(m_barActions.value(info.id)->menu(), m_barActions, false);
    // The toolbar's buttons show the short texts, the tips the whole text and the keys.
    QList<int> tools(std::begin(kCostTools), std::end(kCostTools));
    for (const ToolInfo& tool : CMainCommands::toolItems())
        tools.append(tool.id);
    for (const int id : tools) {
        QAction* action = m_barActions.value(id);
        if (!action)
            continue;
        const TextId* shortText = toolText(id);
        QString plain =
            translatedWidgetText(shortText ? *shortText : *CMainCommands::command(id)->menuText);
        if (plain.endsWith(u'\u2026'))
            plain.chop(1);
        action->setIconText(plain);
        QString tip = commandText(id, false).replace(QStringLiteral("&&"), QStringLiteral("&"));
        if (tip.endsWith(u'\u2026'))
            tip.chop(1);
        if (QWidget* button = m_toolBar->widgetForAction(action))
            button->setAccessibleName(tip);
        if (!action->shortcut().isEmpty())
            tip +=
                QStringLiteral(" (%1)").arg(action->shortcut().toString(QKeySequence::NativeText));
        action->setToolTip(tip);
    }
    updateCommandStates();
}

void CMainWnd::updateCommandStates() {
    if (!m_toolBar)
        return;
    const bool selected = currentRow() >= 0;
    const bool fills = m_document.database().getFillCount() > 0;
    const bool costs = costsShown();
    const QUndoStack* undoStack = m_document.undoStack();
    for (const QHash<int, QAction*>* actions : {&m_barActions, &m_contextActions}) {
        for (auto it = actions->cbegin(); it != actions->cend(); ++it) {
            const CommandInfo* info = CMainCommands::command(it.key());
            if (!info)
                continue;
            bool enabled = true;
            switch (info->needs) {
            case CommandNeeds::Nothing:
                break;
            case CommandNeeds::SelectedFill:
                enabled = selected && !costs;
                break;
            case CommandNeeds::SelectedCost:
                enabled = costs && m_costsPage->currentCost() >= 0;
                break;
            case CommandNeeds::Fills:
                enabled = fills;
                break;
            case CommandNeeds::UndoStep:
                enabled = undoStack->canUndo();
                break;
            case CommandNeeds::RedoStep:
                enabled = undoStack->canRedo();
                break;
            }
            it.value()->setEnabled(enabled);
            if (info->isChecked)
                it.value()->setChecked((this->*info->isChecked)());
        }
    }
}

QString CMainWnd::summaryText() const {
    const CFuelDatabase& database = m_document.database();
    QStringList parts;
    // The title looks at the file system: it is made again for another log or language only.
    const QString titleOf = m_document.filePath() + (m_document.fileUnread() ? u'1' : u'0') +
                            m_document.database().vehicleName();
    if (titleOf != m_summaryTitleOf) {
        m_summaryTitle = vehicleTitle(m_document.filePath(), m_document.database().vehicleName(),
                                      kCaption, m_document.fileUnread())
                             .remove(QStringLiteral("[*]"));
        m_summaryTitleOf = titleOf;
    }
    parts.append(m_summaryTitle);
    const int count = database.getFillCount();
    parts.append(count == 1 ? translate(Text::Main_StatusOneFill)
                            : translate(Text::Main_StatusFills).arg(count));
    // Not yet made for a log just opened: the average is left out.
    FillTotals totals;
    if (!m_consumptionPending)
        totals.consumption = m_consumption->consumption();
    const LogUnits units = database.units();
    totals.charges = units.energy == VehicleEnergy::Electric;
    if (isPlausibleAmount(shownConsumption(totals, units))) {
        parts.append(translate(Text::Main_StatusAverage)
                         .arg(totalsValueText(totals, TotalsRow::Consumption, units),
                              totalsUnit(totals, TotalsRow::Consumption, units)));
    }
    return parts.join(QStringLiteral("  \u00b7  "));
}

void CMainWnd::updateSummary() {
    // The status line has the list's filling method.
    if (!m_consumptionPending && m_model->fillingMethod() != m_consumption->method())
        m_consumption->reset(m_model->fillingMethod());
    m_summary->setText(summaryText());
    const bool empty = m_document.database().getFillCount() == 0;
    const QString addKeys =
        m_barActions.value(CmdAddFill)->shortcut().toString(QKeySequence::NativeText);
    m_emptyHint->setText(translate(Text::Main_EmptyLog).arg(addKeys));
    m_emptyHint->setVisible(empty);
    // A screen reader on the empty list hears the hint too.
    m_list->setAccessibleDescription(empty ? m_emptyHint->text() : QString());
    placeEmptyHint();
    updateCommandStates();
}

QString CMainWnd::remindersText() const {
    const CFuelDatabase& database = m_document.database();
    const LogUnits units = database.units();
    QStringList parts;
    for (const ReminderDue& due :
         remindersDueSoon(m_document.costs(), odometerEstimate(database), QDate::currentDate())) {
        const QString title = m_document.costs().reminders[std::size_t(due.index)].title;
        const QString off = reminderOffText(due, units);
        parts.append(off.isEmpty() ? title : QStringLiteral("%1 (%2)").arg(title, off));
    }
    return parts.isEmpty()
               ? QString()
               : translate(Text::reminderlist_Status).arg(parts.join(QStringLiteral("; ")));
}

void CMainWnd::updateReminders() {
    m_reminders->setText(remindersText());
    m_reminders->setVisible(!m_reminders->text().isEmpty());
}

void CMainWnd::placeEmptyHint() {
    const int margin = m_list->fontMetrics().height();
    m_emptyHint->setGeometry(m_list->viewport()->rect().adjusted(margin, margin, -margin, -margin));
}

QAction* CMainWnd::commandAction(int id) const {
    return m_barActions.value(id);
}

QAction* CMainWnd::contextAction(int id) const {
    return m_contextActions.value(id);
}

void CMainWnd::showContextMenuAt(const QPoint& viewportPosition) {
    const QModelIndex index = m_list->indexAt(viewportPosition);
    // On one of several selected rows, the menu's Remove takes them all.
    if (index.isValid() && m_list->selectionModel()->isRowSelected(index.row(), {}))
        m_list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    else if (index.isValid())
        selectRow(logRow(index.row()));
    m_contextMenu->popup(m_list->viewport()->mapToGlobal(viewportPosition));
}

// From the keyboard the menu opens below the current row, which stays the current row.
void CMainWnd::showContextMenuForCurrentRow() {
    QPoint position;
    if (currentRow() >= 0 && m_model->columnCount() > 0)
        position = m_list->visualRect(viewIndex(currentRow())).bottomLeft();
    if (!m_list->viewport()->rect().contains(position))
        position = QPoint(0, 0);
    m_contextMenu->popup(m_list->viewport()->mapToGlobal(position));
}
