#pragma once

// The main window: the fill list over the one database of the run, the menus and the
// dispatch of every command.

#include "db/fueldatabase.h"

#include <QHash>
#include <QMenu>
#include <QMainWindow>
#include <QPointer>
#include <limits>

class CFillListModel;
class QMenu;
class QMenuBar;
class QTableView;

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
    };

    explicit CMainWnd(QWidget* parent = nullptr);
    ~CMainWnd() override;

    // Loads the database and builds the list (once), then shows the window.
    void open();
    // Opens the window and returns when it has ended: 1 after OK or Exit, 2 after Cancel.
    int run();
    // 0 while the window has not ended, else as run().
    int result() const { return m_result; }

    CFuelDatabase& database() { return m_database; }
    const CFuelDatabase& database() const { return m_database; }
    CFillListModel* listModel() const { return m_model; }
    QTableView* fillList() const { return m_list; }

    // The row the fill commands act on: the current row while it is shown selected, else -1.
    int currentRow() const;
    void selectRow(int row);

    void dispatchCommand(int id);

    // The list after a change of the database or the settings.
    void fillAdded(int index);
    void fillEdited(int index);
    void fillRemoved(int index);
    void importEnded();
    void settingsEnded();
    void fillInformationClosed(int index);
    // Rebuilds columns and rows from the ColDef setting; the selection is lost.
    void buildList();

    // The menu bar can be taken away and restored with freshly translated texts.
    void destroyMenuBar();
    void restoreMenuBar();
    void translateMenus();
    // After a dialog that may have loaded another language: menus, headers and column widths.
    void languageMayHaveChanged();

    // The open vehicle's log file.
    QString vehiclePath() const { return m_database.filePath(); }
    // Saves the open log and, when that worked, loads the one at path and shows it from its
    // newest fill; false (the open log stays) when the save failed.
    bool switchToLog(const QString& path);
    QMenu* recentVehiclesMenu() const { return m_recentMenu; }

    // True after a change of the database that has not been saved.
    bool hasUnsavedChanges() const { return m_unsavedChanges; }

    QMenu* contextMenu() const { return m_contextMenu; }
    // The action of a command in the menu bar (null while the bar is destroyed) and in the
    // context menu (null when the context menu has no such item).
    QAction* commandAction(int id) const;
    QAction* contextAction(int id) const;

public slots:
    // Brings the window to the front (a second start of the program asks for it).
    void activate();
    // The desktop session is ending: the database is saved, the window stays as it is.
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
    QAction* addCommand(QMenu* menu, QHash<int, QAction*>* actions, int id, const char* objectName);
    // At the pointer, making the row under it the current row.
    void showContextMenuAt(const QPoint& viewportPosition);
    void showContextMenuForCurrentRow();
    void onCurrentRowChanged(const QModelIndex& current);
    // Each column as wide as its header and the widest text of the rows from firstRow to
    // lastRow; with keepWider a column stays as wide as it is (the user may have widened it).
    void fitColumns(bool keepWider, int firstRow = 0,
                    int lastRow = std::numeric_limits<int>::max());
    bool listKeyPressed(const QKeyEvent& event);

    // Saves; after a failed save, asks whether to end anyway.
    bool saveBeforeEnd();
    void saveAndEnd();
    void cancel();
    void end(int result);
    void removeFill();

    CFuelDatabase m_database;
    CFillListModel* m_model = nullptr;
    QTableView* m_list = nullptr;
    QPointer<QMenuBar> m_menuBar;
    QHash<int, QAction*> m_barActions;
    QMenu* m_contextMenu = nullptr;
    QPointer<QMenu> m_recentMenu;
    QHash<int, QAction*> m_contextActions;
    int m_currentRow = -1;
    int m_result = 0;
    bool m_initialised = false;
    bool m_ending = false;
    bool m_unsavedChanges = false;
};
