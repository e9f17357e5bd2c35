#pragma once

// The main window: the fill list of the open log, the menus, and the dialogs of the commands.

#include "core/recovery.h"

#include <QFont>
#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <limits>
#include <memory>

class CAverageConsumption;
class CCostsPage;
class CFillFilterModel;
class CFillListModel;
class CFuelDatabase;
class CLogDocument;
class CMainCommands;
class QAbstractItemModel;
class QLabel;
class QLineEdit;
class QMenuBar;
class QStackedWidget;
class QTableView;
class QToolBar;

class CMainWnd : public QMainWindow {
    Q_OBJECT
public:
    // Command ids of the menus, the context menu and the keyboard.
    enum Command : int {
        CmdOk = 1,
        CmdCancel = 2,
        CmdAbout = 40003,
        CmdAddFill = 40004,
        CmdFileMenu = 40005,
        CmdFillMenu = 40006,
        CmdExit = 40009,
        CmdEditFill = 40010,
        CmdRemoveFill = 40011,
        CmdStatisticsMenu = 40012,
        CmdTotals = 40015,
        CmdGraph = 40016,
        CmdSettings = 40017,
        CmdFillInformation = 40023,
        CmdStartGraphHere = 40025,
        CmdImportCsv = 40026,
        CmdExportCsv = 40027,
        CmdImportOtherLog = 40030,
        CmdNewVehicle = 40031,
        CmdOpenVehicle = 40032,
        CmdRecentVehiclesMenu = 40033,
        CmdCompareVehicles = 40034,
        CmdEditMenu = 40035,
        CmdUndo = 40036,
        CmdRedo = 40037,
        CmdSaveAs = 40038,
        CmdViewMenu = 40050,
        CmdToolbar = 40051,
        CmdStatusLine = 40052,
        CmdHelpMenu = 40053,
        CmdKeyboardShortcuts = 40054,
        CmdNoteMarkers = 40060,
        CmdStatisticsOverTime = 40070,
        CmdShowFills = 40080,
        CmdShowCosts = 40081,
        CmdCostsMenu = 40082,
        CmdAddCost = 40083,
        CmdEditCost = 40084,
        CmdRemoveCosts = 40085,
        CmdCostCategories = 40086,
        CmdReminders = 40087,
        CmdExportReminders = 40088,
    };

    explicit CMainWnd(CLogDocument& document, QWidget* parent = nullptr);
    ~CMainWnd() override;

    // Loads the log and builds the list (once), then shows the window.
    void open();
    // Opens the window and returns when it has ended: 1 after OK or Exit.
    int run();
    // 0 while the window has not ended, else as run().
    int result() const { return m_result; }

    CLogDocument& document() { return m_document; }
    const CFuelDatabase& database() const;
    CMainCommands& commands() { return *m_commands; }
    CFillListModel* listModel() const { return m_model; }
    QTableView* fillList() const { return m_list; }
    // The search field above the list: the list shows the fills whose station, driver or notes
    // hold its text.
    QLineEdit* searchField() const { return m_search; }

    // Rows are those of the log (and of listModel()), whatever the search field hides.
    // The row the fill commands act on: the current row while it is shown selected, else -1.
    int currentRow() const;
    // The rows shown selected, ascending; the current row alone while the list has no columns.
    QList<int> selectedRows() const;
    // Selects the row and scrolls it into view; a row outside the list or hidden by the search
    // clears the selection.
    void selectRow(int row);

    void dispatchCommand(int id);

    // Rebuilds columns and rows from the ColDef setting; the selection is lost.
    void buildList();
    void translateMenus();
    // After a dialog that may have loaded another language: menus, headers and column widths.
    void languageMayHaveChanged();

    // The open vehicle's log file.
    QString vehiclePath() const;
    QMenu* recentVehiclesMenu() const { return m_recentMenu; }

    // True after a change of the log that has not been saved.
    bool hasUnsavedChanges() const;

    QMenu* contextMenu() const { return m_contextMenu; }
    QMenu* costContextMenu() const { return m_costContextMenu; }

    // The costs beside the fill list: a page shown in the list's place (View menu), made at the
    // first call.
    CCostsPage* costsPage();
    bool costsShown() const;
    bool fillsShown() const { return !costsShown(); }
    void setCostsShown(bool shown);
    QToolBar* toolBar() const { return m_toolBar; }

    bool toolbarShown() const;
    void setToolbarShown(bool shown);
    bool statusLineShown() const;
    void setStatusLineShown(bool shown);
    // The stored window rectangle moved and shrunk into the screen area available now.
    static QRect fittedGeometry(const QRect& stored, const QRect& available);
    // The vehicle, the number of fills and the average consumption, as the status line shows them.
    QString summaryText() const;
    // The reminders overdue or due soon, most urgent first, as the status line shows them; empty
    // when none is.
    QString remindersText() const;
    // The action of a command in the menu bar and in the context menu (null when the menu has
    // no such item).
    QAction* commandAction(int id) const;
    QAction* contextAction(int id) const;

    // Exit: saves and ends; after a failed save, asks whether to end anyway.
    void saveAndEnd();
    // Ends as Exit does, asking nothing and showing no message: the process was told to end.
    // Returns where the fills are now.
    SavedTo endWithoutQuestions();
    // "Discard the changes of this session": after a question whose default is No, the log
    // goes back to what it was when it was opened. The window stays open.
    void cancel();

public slots:
    // Brings the window to the front (a second start of the program asks for it).
    void activate();
    // The desktop session is ending: the log is saved, the window stays as it is.
    void saveForSessionEnd();

signals:
    void finished(int result);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void initialise();
    QSize firstSize() const;
    void createMenuBar();
    void createContextMenu();
    void createShortcuts();
    void createToolBar();
    QAction* addCommand(QWidget* menu, QHash<int, QAction*>* actions, int id, bool context);
    // Texts with a mnemonic letter of their own for the items of one menu, in menu order.
    void translateMenuItems(QMenu* menu, const QHash<int, QAction*>& actions, bool context);
    // Enabled and checked as the commands' needs and the window allow, in every menu and the
    // toolbar.
    void updateCommandStates();
    void updateSummary();
    void updateReminders();
    // The text of a command's item before its mnemonic is chosen.
    QString commandText(int id, bool context) const;
    void placeEmptyHint();
    void restoreWindowState();
    void storeWindowState();
    // The kinds of the list's columns, one bit each: what a stored header state was made for.
    quint32 columnKinds() const;
    // A column width the user has dragged, kept through rebuilds of the list.
    void rememberDraggedWidth(int position, int width);
    // Keeps the status line's average up to date with the log.
    void followConsumption();
    void updatePendingConsumption();
    void afterFirstPaint();
    void followDocument();
    void logOpened();
    void updateUndoTexts();
    // At the pointer, making the row under it the current row.
    void showContextMenuAt(const QPoint& viewportPosition);
    void showContextMenuForCurrentRow();
    void onCurrentRowChanged(const QModelIndex& current);
    // The width the header asks for the column at the position.
    int headerWidth(int position);
    // Each column as wide as its header and the widest text of the rows from firstRow to
    // lastRow; with keepWider a column stays as wide as it is (the user may have widened it).
    void fitColumns(bool keepWider, int firstRow = 0,
                    int lastRow = std::numeric_limits<int>::max());
    bool listKeyPressed(const QKeyEvent& event);
    bool searchKeyPressed(const QKeyEvent& event);
    void createSearch();
    void createCostsPage();
    void showPageToolsInToolBar();
    void translateSearch();
    // Shows the fills that hold the text: through the filter while there is one, else the
    // list model itself, which keeps long lists as fast as without a search.
    void searchChanged(const QString& text);
    void showModel(QAbstractItemModel* model);
    void updateSearchCount();
    // The log's row of a row of the view, and the view's index of a log's row (invalid while
    // the search hides the row).
    int logRow(int viewRow) const;
    QModelIndex viewIndex(int row) const;

    bool saveBeforeEnd();
    void end(int result);

    CLogDocument& m_document;
    std::unique_ptr<CMainCommands> m_commands;
    // The status line's average, followed through every change of the log.
    std::unique_ptr<CAverageConsumption> m_consumption;
    // The average of the log just opened is still to be made; the status line leaves it out.
    bool m_consumptionPending = false;
    // The status line's vehicle, and the log file and read state it was made for.
    mutable QString m_summaryTitle;
    mutable QString m_summaryTitleOf;
    CFillListModel* m_model = nullptr;
    QTableView* m_list = nullptr;
    CFillFilterModel* m_filter = nullptr;
    QLineEdit* m_search = nullptr;
    QLabel* m_searchCount = nullptr;
    QLabel* m_notice = nullptr;
    QLabel* m_summary = nullptr;
    QLabel* m_reminders = nullptr;
    QLabel* m_emptyHint = nullptr;
    QToolBar* m_toolBar = nullptr;
    QHash<int, int> m_draggedWidths; // by CFillListModel::Column
    QList<int> m_headerWidths;       // by position; empty when to be measured again
    QFont m_headerWidthsFont;
    bool m_fittingColumns = false;
    // The stored state of the list's header has been taken (at the first build).
    bool m_listStateRead = false;
    // The columns are fitted to the whole history once the list has painted.
    bool m_fitAfterPaint = false;
    // afterFirstPaint() has run; how long it waits for a list that does not paint.
    bool m_afterPaintDone = false;
    static constexpr int kAfterPaintWaitMs = 500;
    QHash<int, QAction*> m_barActions;
    QMenu* m_contextMenu = nullptr;
    QMenu* m_costContextMenu = nullptr;
    QStackedWidget* m_pages = nullptr;
    CCostsPage* m_costsPage = nullptr;
    QPointer<QMenu> m_recentMenu;
    QHash<int, QAction*> m_contextActions;
    int m_currentRow = -1;
    int m_result = 0;
    bool m_initialised = false;
    bool m_ending = false;
};
