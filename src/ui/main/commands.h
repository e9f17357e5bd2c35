#pragma once

// The commands of the main window's menus, context menu and keyboard, each described once:
// its id, object names, texts, shortcuts and handler. The window builds its menus from the
// table and dispatches through it; the handlers run the dialogs and change the open log
// through its document.

#include <QKeySequence>
#include <QList>
#include <QPointer>
#include <QString>
#include <span>
#include <vector>

class CCostDlg;
class CLogDocument;
struct CostEntry;
class CMainWnd;
class QMenu;
class QWidget;
struct OtherLogFile;
struct OtherLogSettings;
struct OdometerReading;
struct TextId;

class CMainCommands;

// What a command needs to be enabled.
enum class CommandNeeds {
    Nothing,
    SelectedFill, // a row of the fill list is selected, and the list shown
    Fills,        // the log holds a fill
    UndoStep,
    RedoStep,
    SelectedCost, // a row of the cost list is selected, and the list shown
};

struct CommandInfo {
    int id;                                  // always named: a missing id does not compile
    const char* objectName = nullptr;        // of the menu bar's action
    const TextId* menuText = nullptr;        // null: not in the menu bar
    const char* contextObjectName = nullptr; // null: not in the context menu
    const TextId* contextText = nullptr;
    QList<QKeySequence> shortcuts = {};
    void (CMainCommands::*handler)() = nullptr; // null: a submenu
    bool opensDialog = false;                   // its menu items end in "…"
    CommandNeeds needs = CommandNeeds::Nothing;
    // Set for a command with a check mark: what the mark shows.
    bool (CMainWnd::*isChecked)() const = nullptr;
    // A key that another widget handles, shown beside the menu item (the list's Return).
    const char* shownKey = nullptr;
};

// An entry of the toolbar: a command and the icon the desktop's theme may have for it (the
// command's text stands in when it has none); id 0 is a separator.
struct ToolInfo {
    int id;
    const char* iconName;
};

// A menu of the bar: its title and its items in order, 0 for a separator.
struct MenuInfo {
    int id;
    const char* objectName;
    const TextId* title;
    std::span<const int> items;
};

class CMainCommands {
public:
    CMainCommands(CMainWnd& window, CLogDocument& document);

    static std::span<const CommandInfo> commands();
    static const CommandInfo* command(int id);
    static std::span<const MenuInfo> menus();
    // The context menu's items in order, 0 for a separator.
    static std::span<const int> contextItems();
    static std::span<const ToolInfo> toolItems();

    void run(int id);

    void addFill();
    void editFill();
    void removeFill();
    void fillInformation();
    void totals();
    void graph();
    void startGraphHere();
    void compareVehicles();
    void statisticsOverTime();
    void exportCsv();
    void importCsv();
    void importOtherLog();
    void convertNoteMarkers();
    void newVehicle();
    void openVehicle();
    void saveAs();
    void settings();
    void about();
    void keyboardShortcuts();
    void toggleToolbar();
    void toggleStatusLine();
    void undo();
    void redo();
    void exit();
    void cancel();
    void showFills();
    void showCosts();
    void addCost();
    void editCost();
    void removeCosts();
    void costCategories();
    void reminders();
    void exportReminders();

    // Makes the log at path the open vehicle and remembers it among the recent ones; false when
    // the open log could not be saved and stays open.
    bool openVehicleAt(const QString& path);
    // A log handed over by a later start: opened at once, or once no dialog of this window is
    // open (the dialog works on the open log).
    void openVehicleWhenIdle(const QString& path);
    // A recent vehicle whose file is gone is taken off the list, with a message.
    void openRecentVehicle(const QString& path);
    // One entry per recent vehicle, the open one checked.
    void fillRecentVehiclesMenu(QMenu* menu);
    // Whether some fill's notes hold the markers that convertNoteMarkers turns into flags.
    bool hasNoteMarkers() const;

private:
    void showGraph(int startIndex);
    // The name a CSV file of the open vehicle is offered under: the vehicle and today's date.
    QString suggestedCsvName() const;
    void importPerVehicle(const OtherLogFile& file, const OtherLogSettings& settings);
    // Asks for a new vehicle's file and units and opens its new log (a log already there is
    // opened as it is); false when none was opened.
    bool createVehicle();
    // An import whose readings do not continue the open log's asks whether they go into a new
    // vehicle's log (opened then, *otherLog set) or into the open one; false when the user
    // cancelled.
    bool chooseLogForImport(const std::vector<OdometerReading>& readings, bool* otherLog);
    void rememberVehicles(const QString& previous, const QString& opened);
    // The cost as the dialog gives it, with the category it names added to the log first.
    CostEntry costWithCategory(const CCostDlg& dialog);

    CMainWnd& m_window;
    CLogDocument& m_document;
    QPointer<QWidget> m_statistics;
};
