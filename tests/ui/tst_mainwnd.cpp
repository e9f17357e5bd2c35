#include "core/paths.h"
#include "core/recovery.h"
#include "core/settings.h"
#include "db/fueldatabase.h"
#include "db/regional.h"
#include "localisation/language.h"
#include "stats/totals.h"
#include "ui/main/filllistmodel.h"
#include "ui/main/mainwnd.h"
#include "ui/messagebox.h"
#include "windowtest.h"

#include <QContextMenuEvent>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QSessionManager>
#include <QSettings>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QUndoStack>
#include <algorithm>
#include <cstdlib>

namespace {

constexpr quint64 kDay = 864000000000ull; // 100 ns units
constexpr quint64 kFirstDay = 154000ull * kDay;
const QString kCaption = QStringLiteral("Tankometer");
const QString kDiscardQuestion = QStringLiteral("Discard the changes of this session?");

FillRecord makeFill(int day, qint32 odometer, float fuel) {
    FillRecord fill;
    fill.odometer = odometer;
    fill.fuel = fuel;
    fill.cost = fuel * 1.5f;
    fill.dateTime = FileTime::fromValue(kFirstDay + quint64(day) * kDay);
    return fill;
}

// Writes a database file of fills on days 0, 1, 2, ... with odometers 1000, 1500, 2000, ...
void writeDatabase(int fillCount) {
    CFuelDatabase database(databaseFilePath());
    for (int i = 0; i < fillCount; ++i) {
        FillRecord fill = makeFill(i, 1000 + 500 * i, 40.5f);
        fill.stationId = database.findOrAddStation(QStringLiteral("Station"));
        database.insertFill(fill);
    }
    QVERIFY(database.save());
}

QList<qint32> savedOdometers() {
    CFuelDatabase database(databaseFilePath());
    database.setMessageSink([](const QString&) {});
    database.load();
    QList<qint32> odometers;
    for (int i = 0; i < database.getFillCount(); ++i)
        odometers.append(database.getFill(i)->odometer);
    return odometers;
}

QString cell(const CMainWnd& window, int row, CFillListModel::Column column) {
    return window.listModel()->cellText(row, column);
}

QList<int> selectedRows(const CMainWnd& window) {
    QList<int> rows;
    for (const QModelIndex& index : window.fillList()->selectionModel()->selectedRows())
        rows.append(index.row());
    return rows;
}

int questionsAsked(const QString& text) {
    int count = 0;
    for (const MessageBoxRecord& record : DialogSeams::askedMessages())
        count += record.text == text ? 1 : 0;
    return count;
}

} // namespace

class MainWndTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { DialogSeams::enable(); }

    void init() { startPlainRegionWindowCase(); }

    void cleanup() { endPlainRegionWindowCase(); }

    void emptyDatabaseShowsHeadersAndNoRows() {
        TestWindow window;
        window.open();
        QCOMPARE(window.windowTitle(), kCaption + QStringLiteral("[*]"));
        // Set once the window has painted, as is the search field's clear button.
        QTRY_VERIFY(!window.windowIcon().isNull());
        QVERIFY(
            window.findChild<QLineEdit*>(QStringLiteral("searchField"))->isClearButtonEnabled());
        QTableView* list = window.findChild<QTableView*>(QStringLiteral("fillList"));
        QVERIFY(list);
        QCOMPARE(list->model()->rowCount(), 0);
        QCOMPARE(list->model()->columnCount(), 7);
        QCOMPARE(list->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Date"));
        QCOMPARE(window.currentRow(), -1);
        QVERIFY(list->selectionBehavior() == QAbstractItemView::SelectRows);
        QVERIFY(list->selectionMode() == QAbstractItemView::ExtendedSelection);
        QVERIFY(!list->isSortingEnabled());
        // Remove fill without fills asks nothing.
        window.dispatchCommand(CMainWnd::CmdRemoveFill);
        QCOMPARE(questionsAsked(translate(Text::Main_QuestionDeleteFill)), 0);
    }

    void listShowsTheDatabase() {
        writeDatabase(3);
        setRegionalSettingsOverride(RegionalSettings{QLatin1Char(','), QStringLiteral("."), 1});
        TestWindow window;
        window.open();
        QCOMPARE(window.listModel()->rowCount(), 3);
        QCOMPARE(cell(window, 0, CFillListModel::Fuel), QStringLiteral("40,50"));
        QCOMPARE(cell(window, 2, CFillListModel::Odometer), QStringLiteral("2000"));
        QCOMPARE(cell(window, 0, CFillListModel::Consumption), QString());
        QCOMPARE(cell(window, 0, CFillListModel::Endurance), QString());
        QVERIFY(!cell(window, 1, CFillListModel::Consumption).isEmpty());
    }

    void damagedDatabaseIsReportedAndTheWindowOpens() {
        QFile file(databaseFilePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a fuel log");
        file.close();
        TestWindow window;
        window.open();
        QVERIFY(!DialogSeams::askedMessages().isEmpty());
        for (const MessageBoxRecord& message : DialogSeams::askedMessages()) {
            QCOMPARE(message.caption, kCaption);
            QCOMPARE(message.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        }
        QVERIFY(window.isVisible());
        QCOMPARE(window.listModel()->rowCount(), 0);
    }

    void contextMenuByMouseAndKeyboard() {
        writeDatabase(3);
        TestWindow window;
        window.open();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTableView* list = window.fillList();
        const QPoint position = list->visualRect(list->model()->index(2, 1)).center();
        QContextMenuEvent byMouse(QContextMenuEvent::Mouse, position,
                                  list->viewport()->mapToGlobal(position));
        QCoreApplication::sendEvent(list->viewport(), &byMouse);
        QCOMPARE(window.currentRow(), 2);
        QTRY_VERIFY(window.contextMenu()->isVisible());
        window.contextMenu()->close();

        // The menu key keeps the current row, wherever the list says the event happened.
        window.selectRow(0);
        QContextMenuEvent byKeyboard(QContextMenuEvent::Keyboard, position,
                                     list->mapToGlobal(position));
        QCoreApplication::sendEvent(list, &byKeyboard);
        QCOMPARE(window.currentRow(), 0);
        QTRY_VERIFY(window.contextMenu()->isVisible());
        window.contextMenu()->close();
    }

    void columnDefinitions() {
        writeDatabase(3);
        programSettings().setValue(QStringLiteral("ColDef"), 0x10);
        TestWindow window;
        window.open();
        QAbstractItemModel* model = window.fillList()->model();
        QCOMPARE(model->columnCount(), 1);
        QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QString());
        for (int row = 0; row < 3; ++row)
            QCOMPARE(model->index(row, 0).data().toString(), QStringLiteral("%1.").arg(row + 1));

        // Settings ended with OK: columns and rows anew, selection lost.
        window.selectRow(1);
        programSettings().setValue(QStringLiteral("ColDef"), 0);
        window.buildList();
        QCOMPARE(model->columnCount(), 0);
        QCOMPARE(model->rowCount(), 3);
        QCOMPARE(window.currentRow(), -1);

        // Without columns the current row is still kept and acted on.
        window.selectRow(2);
        QCOMPARE(window.currentRow(), 2);
        DialogSeams::setNextAnswer(QMessageBox::Yes);
        window.dispatchCommand(CMainWnd::CmdRemoveFill);
        QCOMPARE(model->rowCount(), 2);
        QCOMPARE(window.currentRow(), 1);
        window.dispatchCommand(CMainWnd::CmdOk);
        QCOMPARE(savedOdometers(), (QList<qint32>{1000, 1500}));
    }

    void removeFill_data() {
        QTest::addColumn<int>("fillCount");
        QTest::addColumn<int>("row");
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::addColumn<QList<qint32>>("remaining");
        QTest::addColumn<int>("currentRow");
        QTest::newRow("no keeps everything")
            << 3 << 1 << QMessageBox::No << QList<qint32>{1000, 1500, 2000} << 1;
        QTest::newRow("middle row: the next fill takes its place")
            << 3 << 1 << QMessageBox::Yes << QList<qint32>{1000, 2000} << 1;
        QTest::newRow("last row: the new last row")
            << 3 << 2 << QMessageBox::Yes << QList<qint32>{1000, 1500} << 1;
        QTest::newRow("first row") << 2 << 0 << QMessageBox::Yes << QList<qint32>{1500} << 0;
        QTest::newRow("only row: none") << 1 << 0 << QMessageBox::Yes << QList<qint32>{} << -1;
    }
    void removeFill() {
        QFETCH(int, fillCount);
        QFETCH(int, row);
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(QList<qint32>, remaining);
        QFETCH(int, currentRow);
        writeDatabase(fillCount);
        TestWindow window;
        window.open();
        window.selectRow(row);
        DialogSeams::setNextAnswer(answer);
        window.dispatchCommand(CMainWnd::CmdRemoveFill);

        QCOMPARE(DialogSeams::askedMessages().size(), 1);
        const MessageBoxRecord& asked = DialogSeams::askedMessages().constFirst();
        QCOMPARE(asked.caption, kCaption);
        QCOMPARE(asked.text, QStringLiteral("Do you really want to delete this fill"));
        QCOMPARE(asked.icon, QMessageBox::Question);
        QCOMPARE(asked.buttons, QMessageBox::Yes | QMessageBox::No);

        QCOMPARE(window.database().getFillCount(), remaining.size());
        QCOMPARE(window.listModel()->rowCount(), remaining.size());
        QCOMPARE(window.currentRow(), currentRow);
        if (currentRow >= 0) {
            QCOMPARE(window.fillList()->selectionModel()->selectedRows().size(), 1);
            QCOMPARE(window.fillList()->selectionModel()->selectedRows().constFirst().row(),
                     currentRow);
        }
        for (int i = 0; i < remaining.size(); ++i)
            QCOMPARE(cell(window, i, CFillListModel::RecordNumber),
                     QStringLiteral("%1.").arg(i + 1));
        window.dispatchCommand(CMainWnd::CmdExit);
        QCOMPARE(savedOdometers(), remaining);
    }

    // Rows picked with Ctrl and Shift go in one step after one question (No by default), and
    // one undo brings them all back; Edit acts on the row clicked last.
    void removeSeveralFills_data() {
        QTest::addColumn<QList<int>>("clicks"); // Ctrl+click; a negative row: Shift+click
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::addColumn<QList<qint32>>("remaining");
        QTest::newRow("two apart")
            << QList<int>{0, 2} << QMessageBox::Yes << QList<qint32>{1500, 2500};
        QTest::newRow("a range") << QList<int>{1, -3} << QMessageBox::Yes << QList<qint32>{1000};
        QTest::newRow("no keeps them")
            << QList<int>{0, 3} << QMessageBox::No << QList<qint32>{1000, 1500, 2000, 2500};
    }
    void removeSeveralFills() {
        QFETCH(QList<int>, clicks);
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(QList<qint32>, remaining);
        writeDatabase(4);
        TestWindow window;
        window.open();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTableView* list = window.fillList();
        QList<int> picked;
        for (qsizetype i = 0; i < clicks.size(); ++i) {
            const int row = std::abs(clicks.at(i));
            const Qt::KeyboardModifiers keys = i == 0             ? Qt::NoModifier
                                               : clicks.at(i) < 0 ? Qt::ShiftModifier
                                                                  : Qt::ControlModifier;
            QTest::mouseClick(list->viewport(), Qt::LeftButton, keys,
                              list->visualRect(list->model()->index(row, 1)).center());
            if (clicks.at(i) < 0) {
                for (int each = picked.last() + 1; each <= row; ++each)
                    picked.append(each);
            } else {
                picked.append(row);
            }
        }
        QCOMPARE(window.selectedRows(), picked);
        QCOMPARE(window.currentRow(), picked.last());
        QVERIFY(window.commandAction(CMainWnd::CmdEditFill)->isEnabled());

        DialogSeams::setNextAnswer(answer);
        window.commandAction(CMainWnd::CmdRemoveFill)->trigger();
        QCOMPARE(DialogSeams::askedMessages().size(), 1);
        const MessageBoxRecord& asked = DialogSeams::askedMessages().constFirst();
        QCOMPARE(asked.text, QStringLiteral("Remove %1 fills?").arg(picked.size()));
        QCOMPARE(asked.defaultButton, QMessageBox::No);
        QCOMPARE(window.database().getFillCount(), remaining.size());
        if (answer == QMessageBox::No)
            return;
        QCOMPARE(window.document().undoStack()->count(), 1);
        QCOMPARE(window.currentRow(), std::min(picked.first(), int(remaining.size()) - 1));
        window.dispatchCommand(CMainWnd::CmdUndo);
        QCOMPARE(window.listModel()->rowCount(), 4);
        window.dispatchCommand(CMainWnd::CmdExit);
        QCOMPARE(savedOdometers(), (QList<qint32>{1000, 1500, 2000, 2500}));
    }

    // "Flags from import notes" is offered while the log has notes it would turn into flags.
    void noteMarkersAreOfferedWhenTheLogHasThem_data() {
        QTest::addColumn<QString>("notes");
        QTest::addColumn<bool>("offered");
        QTest::newRow("no notes") << QString() << false;
        QTest::newRow("other notes") << QStringLiteral("new tyres") << false;
        QTest::newRow("a marker") << QStringLiteral("partial fill") << true;
    }
    void noteMarkersAreOfferedWhenTheLogHasThem() {
        QFETCH(QString, notes);
        QFETCH(bool, offered);
        writeDatabase(2);
        TestWindow window;
        window.open();
        FillRecord fill = makeFill(5, 4000, 30.0f);
        setFieldText(fill.notes, notes);
        window.document().addFill(QString(), fill, QString());
        auto* fileMenu = window.menuBar()->findChild<QMenu*>(QStringLiteral("fileMenu"));
        QAction* command = window.commandAction(CMainWnd::CmdNoteMarkers);
        emit fileMenu->aboutToShow();
        QCOMPARE(command->isVisible(), offered);
        if (!offered)
            return;
        DialogSeams::setNextAnswer(QMessageBox::Yes);
        command->trigger();
        emit fileMenu->aboutToShow();
        QVERIFY(!command->isVisible());
    }

    void removeWithoutCurrentRowAsksNothing() {
        writeDatabase(2);
        TestWindow window;
        window.open();
        QCOMPARE(window.currentRow(), -1);
        window.dispatchCommand(CMainWnd::CmdRemoveFill);
        QVERIFY(DialogSeams::askedMessages().isEmpty());
        QCOMPARE(window.listModel()->rowCount(), 2);
    }

    void fillAddedAndEditedUpdateTheList() {
        writeDatabase(2);
        TestWindow window;
        window.open();
        QCOMPARE(window.document().addFill(QString(), makeFill(-3, 100, 20.0f), QString()), 0);
        QCOMPARE(window.listModel()->rowCount(), 3);
        QCOMPARE(window.currentRow(), 0);
        QCOMPARE(cell(window, 0, CFillListModel::RecordNumber), QStringLiteral("1."));
        QCOMPARE(cell(window, 1, CFillListModel::Odometer), QStringLiteral("1000"));
        QCOMPARE(cell(window, 2, CFillListModel::RecordNumber), QStringLiteral("3."));

        FillRecord edited = *window.database().getFill(2);
        edited.odometer = 2500;
        window.document().editFill(2, QStringLiteral("Station"), edited, QString());
        QCOMPARE(window.currentRow(), 2);
        QCOMPARE(cell(window, 2, CFillListModel::Odometer), QStringLiteral("2500"));

        window.document().addFill(QString(), makeFill(30, 9000, 20.0f), QString());
        window.document().addFill(QString(), makeFill(31, 9500, 20.0f), QString());
        QCOMPARE(window.listModel()->rowCount(), 5);
        window.dispatchCommand(CMainWnd::CmdOk);
        QCOMPARE(savedOdometers(), (QList<qint32>{100, 1000, 2500, 9000, 9500}));
    }

    // Undo and Redo from the menu and the keyboard: texts name the step, the changed row is
    // selected, the title's unsaved mark follows the saved state.
    void undoAndRedoFromTheWindow() {
        writeDatabase(3);
        TestWindow window;
        window.open();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QAction* undo = window.commandAction(CMainWnd::CmdUndo);
        QAction* redo = window.commandAction(CMainWnd::CmdRedo);
        QVERIFY(!undo->isEnabled());
        QVERIFY(!window.isWindowModified());
        QVERIFY(undo->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Z)));
        QVERIFY(redo->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)));
        QVERIFY(redo->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Y)));

        window.selectRow(1);
        DialogSeams::setNextAnswer(QMessageBox::Yes);
        window.dispatchCommand(CMainWnd::CmdRemoveFill);
        QCOMPARE(window.listModel()->rowCount(), 2);
        QVERIFY(window.isWindowModified());
        QCOMPARE(shownText(undo->text()), QStringLiteral("Undo Remove fill"));
        window.selectRow(0);

        QTest::keyClick(window.fillList(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(window.listModel()->rowCount(), 3);
        QCOMPARE(window.currentRow(), 1);
        QCOMPARE(cell(window, 1, CFillListModel::Odometer), QStringLiteral("1500"));
        QVERIFY(!window.isWindowModified());
        QVERIFY(!undo->isEnabled());
        QCOMPARE(shownText(redo->text()), QStringLiteral("Redo Remove fill"));

        redo->trigger();
        QCOMPARE(window.listModel()->rowCount(), 2);
        QVERIFY(window.isWindowModified());
        // A step that leaves the log as unsaved as it was names itself too.
        window.document().addFill(QString(), makeFill(30, 9000, 20.0f), QString());
        QCOMPARE(shownText(undo->text()), QStringLiteral("Undo Add fill"));
        undo->trigger();
        QCOMPARE(shownText(redo->text()), QStringLiteral("Redo Add fill"));
        window.dispatchCommand(CMainWnd::CmdOk);
        QVERIFY(!window.isWindowModified());
        QCOMPARE(savedOdometers(), (QList<qint32>{1000, 2000}));
    }

    // Cancel ends without saving; with changes it asks first. OK, Exit and the close button
    // save.
    void leavingTheWindow_data() {
        QTest::addColumn<int>("command"); // 0: the window's close button
        QTest::addColumn<QList<QMessageBox::StandardButton>>("answers");
        QTest::addColumn<int>("result");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<bool>("asked");
        using B = QList<QMessageBox::StandardButton>;
        QTest::newRow("ok") << int(CMainWnd::CmdOk) << B{} << 1 << true << false;
        QTest::newRow("exit") << int(CMainWnd::CmdExit) << B{} << 1 << true << false;
        QTest::newRow("close button") << 0 << B{} << 1 << true << false;
        QTest::newRow("discard the session")
            << int(CMainWnd::CmdCancel) << B{QMessageBox::Yes} << 0 << false << true;
        QTest::newRow("keep the session")
            << int(CMainWnd::CmdCancel) << B{QMessageBox::No} << 0 << false << true;
    }
    void leavingTheWindow() {
        QFETCH(int, command);
        QFETCH(QList<QMessageBox::StandardButton>, answers);
        QFETCH(int, result);
        QFETCH(bool, saved);
        QFETCH(bool, asked);
        writeDatabase(2);
        TestWindow window;
        window.open();
        window.document().addFill(QString(), makeFill(10, 7000, 30.0f), QString());
        QVERIFY(window.hasUnsavedChanges());
        for (const QMessageBox::StandardButton answer : answers)
            DialogSeams::setNextAnswer(answer);
        if (command == 0)
            window.close();
        else
            window.dispatchCommand(command);
        QCOMPARE(window.result(), result);
        QCOMPARE(window.isVisible(), result == 0);
        QCOMPARE(questionsAsked(kDiscardQuestion), asked ? 1 : 0);
        const QList<qint32> expected =
            saved ? QList<qint32>{1000, 1500, 7000} : QList<qint32>{1000, 1500};
        QCOMPARE(savedOdometers(), expected);
        // Discarding takes the list back to where it was when it was opened.
        if (command == CMainWnd::CmdCancel)
            QCOMPARE(window.listModel()->rowCount(), answers.first() == QMessageBox::Yes ? 2 : 3);
    }

    // A copy of the log that another program put in place is merged into the list, and the
    // status line says what came in.
    void anotherCopyIsShownInTheListAndTheStatusLine() {
        writeDatabase(2);
        TestWindow window;
        window.open();
        CFuelDatabase other(databaseFilePath());
        other.load();
        other.insertFill(makeFill(9, 9000, 30.0f));
        QVERIFY(other.save());
        QVERIFY(window.document().save());
        QCOMPARE(window.listModel()->rowCount(), 3);
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("notice"))->text(),
                 QStringLiteral(
                     "Changes from another copy of this log: added 1, removed 0, changed 0."));
    }

    // Escape neither ends the window nor discards anything; without changes there is nothing
    // to discard and nothing is asked.
    void escapeLeavesTheWindowOpen() {
        writeDatabase(1);
        TestWindow window;
        window.open();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.document().addFill(QString(), makeFill(5, 4000, 30.0f), QString());
        QTest::keyClick(window.fillList(), Qt::Key_Escape);
        QCOMPARE(window.result(), 0);
        QVERIFY(window.isVisible());
        QCOMPARE(window.listModel()->rowCount(), 2);
        QVERIFY(window.document().save());
        window.document().undoStack()->clear();
        window.dispatchCommand(CMainWnd::CmdCancel);
        QVERIFY(DialogSeams::askedMessages().isEmpty());
    }

    void runReturnsWhenTheWindowEnds() {
        TestWindow window;
        QMetaObject::invokeMethod(
            &window, [&window] { window.dispatchCommand(CMainWnd::CmdExit); },
            Qt::QueuedConnection);
        QCOMPARE(window.run(), 1);
        QVERIFY(QFile::exists(databaseFilePath()));
    }

    // When the file cannot be written, leaving with OK would lose the session's fills: the
    // window asks, and stays open unless the user agrees.
    void failedSaveAsksBeforeClosing() {
        QVERIFY(QDir().mkpath(databaseFilePath())); // a folder where the file should be
        TestWindow window;
        window.open();
        const int messagesAfterLoad = int(DialogSeams::askedMessages().size());
        DialogSeams::setNextAnswer(QMessageBox::Ok); // the database's own message
        DialogSeams::setNextAnswer(QMessageBox::No);
        window.dispatchCommand(CMainWnd::CmdOk);
        QCOMPARE(window.result(), 0);
        QVERIFY(window.isVisible());
        QCOMPARE(DialogSeams::askedMessages().size(), messagesAfterLoad + 2);
        QCOMPARE(DialogSeams::askedMessages().constLast().caption, kCaption);

        DialogSeams::setNextAnswer(QMessageBox::Ok);
        DialogSeams::setNextAnswer(QMessageBox::Yes);
        window.close();
        QCOMPARE(window.result(), 1);
        QVERIFY(QDir().rmdir(databaseFilePath()));
    }

    // The log was deleted while open: Exit asks (default No) and names the recovery file that
    // holds the fills; Yes leaves them there, and nothing is made beside the deleted log.
    void exitAfterTheLogWasDeletedSaysWhereTheFillsAre() {
        writeDatabase(1);
        const QString log = databaseFilePath();
        const QString recovery = recoveryFilePath(log);
        QFile::remove(recovery);
        {
            TestWindow window;
            window.open();
            QVERIFY(QFile::remove(log));
            window.document().addFill(QString(), makeFill(5, 4000, 30.0f), QString());
            DialogSeams::setNextAnswer(QMessageBox::Ok); // the log is gone
            DialogSeams::setNextAnswer(QMessageBox::Yes);
            window.dispatchCommand(CMainWnd::CmdExit);
            QCOMPARE(window.result(), 1);
            const MessageBoxRecord& asked = DialogSeams::askedMessages().constLast();
            QCOMPARE(asked.text,
                     translate(Text::Main_QuestionCloseRecovered)
                         .arg(QDir::toNativeSeparators(log), QDir::toNativeSeparators(recovery)));
            QCOMPARE(asked.defaultButton, QMessageBox::No);
        }
        QVERIFY(!QFile::exists(log));
        QVERIFY(!QFile::exists(log + QStringLiteral(".bak")));
        QVERIFY(QFile::remove(recovery));
    }

    void sessionEndSaves() {
        writeDatabase(1);
        TestWindow window;
        window.open();
        window.document().addFill(QString(), makeFill(5, 4000, 30.0f), QString());
        window.saveForSessionEnd();
        QCOMPARE(savedOdometers(), (QList<qint32>{1000, 4000}));
        QVERIFY(!window.hasUnsavedChanges());
    }

    // Every item has a mnemonic letter of its own within its menu, "…" when it opens a dialog,
    // and its keys beside it.
    void menusInResourceOrder() {
        TestWindow window;
        window.open();
        auto texts = [](const QMenu* menu) {
            QStringList result;
            QSet<QChar> mnemonics;
            for (const QAction* action : menu->actions()) {
                if (action->isSeparator()) {
                    result.append(QStringLiteral("-"));
                    continue;
                }
                const QString text = action->text();
                const qsizetype mark = text.indexOf(QRegularExpression(QStringLiteral("&[^&]")));
                if (mark < 0 || mnemonics.contains(text.at(mark + 1).toLower()))
                    qWarning("no mnemonic of its own: %s", qPrintable(text));
                else
                    mnemonics.insert(text.at(mark + 1).toLower());
                QString shown = shownText(text);
                if (!action->shortcut().isEmpty())
                    shown += u' ' + action->shortcut().toString();
                else if (text.contains(u'\t'))
                    shown += u' ' + text.section(u'\t', 1);
                result.append(shown);
            }
            // Every item had a letter of its own.
            return mnemonics.size() == result.size() - result.count(QStringLiteral("-"))
                       ? result
                       : QStringList();
        };
        QMenuBar* bar = window.findChild<QMenuBar*>(QStringLiteral("menuBar"));
        QVERIFY(bar);
        QStringList titles;
        for (const QAction* action : bar->actions())
            titles.append(action->text());
        QCOMPARE(titles, (QStringList{"&File", "&Edit", "&View", "F&ill", "&Costs", "&Statistics",
                                      "&Help"}));
        const auto menu = [&window](const char* name) {
            return window.findChild<QMenu*>(QString::fromLatin1(name));
        };
        QCOMPARE(texts(menu("editMenu")), (QStringList{"Undo Ctrl+Z", "Redo Ctrl+Shift+Z"}));
        QCOMPARE(texts(menu("viewMenu")), (QStringList{"Toolbar", "Status line", "-",
                                                       "Fill list Ctrl+1", "Cost list Ctrl+2"}));
        QCOMPARE(texts(menu("costsMenu")),
                 (QStringList{"Add cost\u2026 Ctrl+K", "Edit cost\u2026 Return", "Remove costs Del",
                              "-", "Categories\u2026", "-", "Reminders\u2026 Ctrl+R",
                              "Export reminders\u2026"}));
        QCOMPARE(texts(menu("fileMenu")),
                 (QStringList{"Settings\u2026 Ctrl+,", "-", "Import CSV\u2026",
                              "Import from another fuel log\u2026", "Flags from import notes\u2026",
                              "Export CSV\u2026 Ctrl+E", "-", "New vehicle\u2026 Ctrl+Shift+N",
                              "Open vehicle\u2026 Ctrl+O", "Recent vehicles",
                              "Save as\u2026 Ctrl+Shift+S",
                              "Discard the changes of this session\u2026", "-", "Exit Ctrl+Q"}));
        QCOMPARE(texts(menu("fillMenu")),
                 (QStringList{"Add fill\u2026 Ctrl+N", "Edit fill\u2026 Return", "Remove fill Del",
                              "-", "Fill information\u2026 Ctrl+I"}));
        QCOMPARE(texts(menu("statisticsMenu")),
                 (QStringList{"Totals\u2026 Ctrl+T", "Graph\u2026 Ctrl+G", "Compare vehicles\u2026",
                              "Statistics over time\u2026 Ctrl+Shift+T"}));
        QCOMPARE(texts(menu("helpMenu")),
                 (QStringList{"Keyboard shortcuts\u2026 F1", "-", "About\u2026"}));
        QCOMPARE(texts(window.contextMenu()),
                 (QStringList{"Edit fill\u2026", "Remove fill", "-", "Fill information\u2026",
                              "Start graph here\u2026"}));
        QCOMPARE(window.commandAction(CMainWnd::CmdRemoveFill)->data().toInt(), 40011);
    }

    // After a dialog the menus come back in the language loaded meanwhile.
    void menusFollowALanguageChange() {
        QTemporaryDir folder;
        QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("lang")));
        QFile file(folder.filePath(QStringLiteral("lang/german.lng")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[menu]\nMainFile=Datei\nFileExit=Beenden & speichern\n"
                   "[context]\nFillRemove=Tankung l\xc3\xb6schen\n");
        file.close();

        TestWindow window;
        window.open();
        language().load(QStringLiteral("lang\\german.lng"), folder.path());
        window.languageMayHaveChanged();
        QCOMPARE(window.commandAction(CMainWnd::CmdFileMenu)->text(), QStringLiteral("&Datei"));
        QCOMPARE(shownText(window.commandAction(CMainWnd::CmdExit)->text()),
                 QStringLiteral("Beenden & speichern"));
        QCOMPARE(shownText(window.commandAction(CMainWnd::CmdAddFill)->text()),
                 QStringLiteral("Add fill\u2026"));
        QCOMPARE(shownText(window.contextAction(CMainWnd::CmdRemoveFill)->text()),
                 QString::fromUtf8("Tankung l\xc3\xb6schen"));
        window.commandAction(CMainWnd::CmdExit)->trigger();
        QCOMPARE(window.result(), 1);
    }

    // The list opens at its newest fill, and the keyboard's first current row is that fill,
    // shown selected; Up goes on to the one before.
    void theKeyboardCursorIsTheSelectedRow() {
        writeDatabase(150);
        TestWindow window;
        window.open();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTRY_VERIFY(window.fillList()->hasFocus());
        QCOMPARE(window.currentRow(), 149);
        QCOMPARE(selectedRows(window), QList<int>{149});
        QScrollBar* scrollBar = window.fillList()->verticalScrollBar();
        QVERIFY(scrollBar->maximum() > 0);
        QCOMPARE(scrollBar->value(), scrollBar->maximum());
        QTest::keyClick(window.fillList(), Qt::Key_Up);
        QCOMPARE(window.currentRow(), 148);
        QCOMPARE(selectedRows(window), QList<int>{148});
        // Ctrl+Up moves the cursor without selecting; the new current row is selected anyway.
        QTest::keyClick(window.fillList(), Qt::Key_Up, Qt::ControlModifier);
        QCOMPARE(window.currentRow(), 147);
        QCOMPARE(selectedRows(window), QList<int>{147});
    }

    // Home and End go to the first and the last fill, Page Up and Page Down by a page of rows.
    void listKeysMoveTheCurrentRow_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("pages");
        QTest::addColumn<int>("expected");
        QTest::newRow("End") << 3 << int(Qt::Key_End) << 0 << 149;
        QTest::newRow("Home") << 140 << int(Qt::Key_Home) << 0 << 0;
        QTest::newRow("Page Down") << 3 << int(Qt::Key_PageDown) << 1 << 3;
        QTest::newRow("Page Up") << 140 << int(Qt::Key_PageUp) << -1 << 140;
    }
    void listKeysMoveTheCurrentRow() {
        QFETCH(int, start);
        QFETCH(int, key);
        QFETCH(int, pages);
        QFETCH(int, expected);
        writeDatabase(150);
        TestWindow window;
        window.open();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTableView* list = window.fillList();
        window.selectRow(start);
        const int pageRows = list->viewport()->height() / list->rowHeight(0);
        QTest::keyClick(list, Qt::Key(key));
        if (pages != 0) {
            // A page is the rows in view, give or take the partly shown ones.
            QVERIFY2(qAbs(window.currentRow() - expected - pages * pageRows) <= 1,
                     qPrintable(QString::number(window.currentRow())));
        } else {
            QCOMPARE(window.currentRow(), expected);
        }
        QCOMPARE(selectedRows(window), QList<int>{window.currentRow()});
        QVERIFY(list->viewport()->rect().intersects(
            list->visualRect(list->model()->index(window.currentRow(), 0))));
    }

    // Double-click and Enter edit the current fill, Ctrl+N adds one; after a click on the
    // empty area below the rows nothing is selected and nothing is acted on.
    void mouseAndKeysOpenTheFillDialog_data() {
        QTest::addColumn<QString>("gesture");
        QTest::addColumn<QString>("odometerShown"); // empty: no dialog
        QTest::newRow("double-click") << "double-click"
                                      << "1500";
        QTest::newRow("Enter") << "Enter"
                               << "1500";
        QTest::newRow("Return") << "Return"
                                << "1500";
        QTest::newRow("Ctrl+N adds") << "Ctrl+N"
                                     << "";
        QTest::newRow("double-click below the rows") << "double-click below"
                                                     << "none";
        QTest::newRow("Enter after a click below the rows") << "Enter below"
                                                            << "none";
    }
    void mouseAndKeysOpenTheFillDialog() {
        QFETCH(QString, gesture);
        QFETCH(QString, odometerShown);
        writeDatabase(3);
        TestWindow window;
        window.open();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTableView* list = window.fillList();
        const QPoint onRow = list->visualRect(list->model()->index(1, 2)).center();
        const QPoint below(onRow.x(), list->viewport()->height() - 3);
        QVERIFY(!list->indexAt(below).isValid());
        QString shown = QStringLiteral("none");
        if (odometerShown != QStringLiteral("none")) {
            DialogSeams::setNextDialogHandler([&](QDialog& dialog) {
                shown = dialog.findChild<QLineEdit*>(QStringLiteral("odometer"))->text();
                dialog.reject();
            });
        }
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, onRow);
        QCOMPARE(window.currentRow(), 1);
        if (gesture.endsWith(QStringLiteral("below"))) {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, below);
            QCOMPARE(window.currentRow(), -1);
            QVERIFY(selectedRows(window).isEmpty());
        }
        if (gesture.startsWith(QStringLiteral("double-click")))
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                               gesture.endsWith(QStringLiteral("below")) ? below : onRow);
        else if (gesture.startsWith(QStringLiteral("Enter")))
            QTest::keyClick(list, Qt::Key_Enter);
        else if (gesture == QStringLiteral("Return"))
            QTest::keyClick(list, Qt::Key_Return);
        else
            QTest::keyClick(list, Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(shown, odometerShown);
        // Delete has no row to remove after a click below the rows.
        if (gesture.endsWith(QStringLiteral("below"))) {
            QTest::keyClick(list, Qt::Key_Delete);
            window.dispatchCommand(CMainWnd::CmdRemoveFill);
            window.dispatchCommand(CMainWnd::CmdEditFill);
            QVERIFY(DialogSeams::askedMessages().isEmpty());
            QVERIFY(DialogSeams::ranDialogs().isEmpty());
        }
    }

    // Every question whose Yes loses fills has No as its default button.
    void questionsThatLoseDataDefaultToNo_data() {
        QTest::addColumn<int>("question");
        QTest::newRow("remove fill") << 0;
        QTest::newRow("discard the session") << 1;
        QTest::newRow("close after a failed save") << 2;
    }
    void questionsThatLoseDataDefaultToNo() {
        QFETCH(int, question);
        writeDatabase(2);
        TestWindow window;
        window.open();
        window.selectRow(1);
        if (question == 0) {
            window.dispatchCommand(CMainWnd::CmdRemoveFill);
        } else if (question == 1) {
            window.document().addFill(QString(), makeFill(5, 4000, 30.0f), QString());
            window.dispatchCommand(CMainWnd::CmdCancel);
        } else {
            QFile::remove(databaseFilePath());
            QVERIFY(QDir().mkdir(databaseFilePath()));
            window.dispatchCommand(CMainWnd::CmdOk);
            QVERIFY(QDir().rmdir(databaseFilePath()));
        }
        QVERIFY(!DialogSeams::askedMessages().isEmpty());
        const MessageBoxRecord& asked = DialogSeams::askedMessages().constLast();
        QCOMPARE(asked.buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(asked.defaultButton, QMessageBox::No);
        QCOMPARE(window.result(), 0);
        window.hide();
    }

    // Each column is at least as wide as the widest text it holds: whole record numbers from
    // the 100th fill on, large costs (also one far above the rows shown first, once the list
    // has painted), long translated headers.
    void columnsShowTheirTextsWhole_data() {
        QTest::addColumn<int>("fillCount");
        QTest::addColumn<int>("costRow");
        QTest::addColumn<float>("cost");
        QTest::addColumn<bool>("german");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("widest");
        QTest::newRow("150 fills")
            << 150 << 149 << 60.75f << false << int(CFillListModel::RecordNumber) << "150.";
        QTest::newRow("a cost of 100 000")
            << 3 << 2 << 123456.5f << false << int(CFillListModel::Cost) << "123456.50";
        QTest::newRow("a cost of 100 000 long ago")
            << 600 << 0 << 123456.5f << false << int(CFillListModel::Cost) << "123456.50";
        QTest::newRow("German header")
            << 3 << 2 << 60.75f << true << int(CFillListModel::Odometer) << "Kilometerstand";
    }
    void columnsShowTheirTextsWhole() {
        QFETCH(int, fillCount);
        QFETCH(int, costRow);
        QFETCH(float, cost);
        QFETCH(bool, german);
        QFETCH(int, column);
        QFETCH(QString, widest);
        writeDatabase(fillCount);
        {
            CFuelDatabase database(databaseFilePath());
            database.load();
            database.getFill(costRow)->cost = cost;
            QVERIFY(database.save());
        }
        if (german)
            language().load(QStringLiteral("lang\\german.lng"),
                            QStringLiteral(TANKOMETER_SOURCE_DIR));
        TestWindow window;
        window.open();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTableView* list = window.fillList();
        const int position = window.listModel()->positionOf(CFillListModel::Column(column));
        QTRY_VERIFY(list->columnWidth(position) > list->fontMetrics().horizontalAdvance(widest));
        // The list opens at its newest fills: the rows whose texts are widest are in view, and
        // the view's own measure of them (text and margins) fits the column.
        QVERIFY(list->columnWidth(position) >=
                static_cast<QAbstractItemView*>(list)->sizeHintForColumn(position));
        QCOMPARE(window.listModel()->cellText(fillCount - 1, CFillListModel::RecordNumber),
                 QStringLiteral("%1.").arg(fillCount));

        // Adding a fill with a larger value widens the column; a column the user widened
        // stays as wide.
        list->setColumnWidth(0, 200);
        FillRecord fill = makeFill(500, 900000, 30.0f);
        fill.cost = cost * 1000;
        window.document().addFill(QString(), fill, QString());
        const QString costText = window.listModel()->cellText(fillCount, CFillListModel::Cost);
        QVERIFY(list->columnWidth(window.listModel()->positionOf(CFillListModel::Cost)) >
                list->fontMetrics().horizontalAdvance(costText));
        QCOMPARE(list->columnWidth(0), 200);
    }

    // The desktop session's end request (the application's signal) saves the database.
    void theSessionEndRequestSaves() {
        writeDatabase(1);
        TestWindow window;
        window.open();
        window.document().addFill(QString(), makeFill(5, 4000, 30.0f), QString());
        auto* manager = qApp->findChild<QSessionManager*>();
        QVERIFY(manager);
        emit qApp->commitDataRequest(*manager);
        QCOMPARE(savedOdometers(), (QList<qint32>{1000, 4000}));
    }

    // The window opens within the screen (the offscreen screen is 800 x 600) and wide enough
    // for every column, also with the longer German headers.
    void theFirstSizeShowsEveryColumnOnTheScreen() {
        writeDatabase(3);
        language().load(QStringLiteral("lang\\german.lng"), QStringLiteral(TANKOMETER_SOURCE_DIR));
        TestWindow window;
        window.open();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QRect available = window.screen()->availableGeometry();
        QVERIFY(window.frameGeometry().height() <= available.height());
        QVERIFY(window.frameGeometry().width() <= available.width());
        QTableView* list = window.fillList();
        QTRY_VERIFY(list->horizontalHeader()->length() <= list->viewport()->width());
        QCOMPARE(list->horizontalScrollBar()->maximum(), 0);
    }

    // Half of a 1280 px screen holds the whole toolbar in every shipped language: no button is
    // held back behind the toolbar's extension.
    void theToolbarFitsHalfAScreen_data() {
        QTest::addColumn<QString>("languageFile");
        QTest::newRow("English") << QString();
        QTest::newRow("German") << QStringLiteral("lang\\german.lng");
        QTest::newRow("Czech") << QStringLiteral("lang\\czech.lng");
    }
    void theToolbarFitsHalfAScreen() {
        QFETCH(QString, languageFile);
        writeDatabase(2);
        if (!languageFile.isEmpty())
            language().load(languageFile, QStringLiteral(TANKOMETER_SOURCE_DIR));
        TestWindow window;
        window.open();
        window.resize(640, 480);
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (const bool costs : {false, true}) {
            window.setCostsShown(costs);
            QTRY_COMPARE(window.toolBar()->width(), window.width());
            QVERIFY(window.toolBar()->sizeHint().width() <= window.toolBar()->width());
        }
    }

    void keyboardCommands() {
        writeDatabase(2);
        TestWindow window;
        window.open();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.selectRow(1);
        DialogSeams::setNextAnswer(QMessageBox::No);
        QTest::keyClick(window.fillList(), Qt::Key_Delete);
        QCOMPARE(questionsAsked(translate(Text::Main_QuestionDeleteFill)), 1);
        QTest::keyClick(window.fillList(), Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(window.result(), 1);
    }

    void messageSeamAnswersLikeEscape_data() {
        QTest::addColumn<QMessageBox::StandardButtons>("buttons");
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::newRow("ok") << QMessageBox::StandardButtons(QMessageBox::Ok) << QMessageBox::Ok;
        QTest::newRow("yes no") << (QMessageBox::Yes | QMessageBox::No) << QMessageBox::No;
        QTest::newRow("ok cancel")
            << (QMessageBox::Ok | QMessageBox::Cancel) << QMessageBox::Cancel;
        QTest::newRow("yes only") << QMessageBox::StandardButtons(QMessageBox::Yes)
                                  << QMessageBox::Yes;
    }
    void messageSeamAnswersLikeEscape() {
        QFETCH(QMessageBox::StandardButtons, buttons);
        QFETCH(QMessageBox::StandardButton, answer);
        QCOMPARE(
            showMessageBox(nullptr, kCaption, QStringLiteral("?"), QMessageBox::Question, buttons),
            answer);
        QCOMPARE(DialogSeams::askedMessages().constLast().answer, answer);
    }

    void fileSeamAppendsTheDefaultSuffix() {
        const FileDialogRequest request{
            {}, QStringLiteral("CSV (*.csv)"), QStringLiteral("csv"), {}};
        DialogSeams::setNextFileName(QStringLiteral("/tmp/export"));
        QCOMPARE(askSaveFileName(nullptr, request), QStringLiteral("/tmp/export.csv"));
        DialogSeams::setNextFileName(QStringLiteral("/tmp/export.txt"));
        QCOMPARE(askSaveFileName(nullptr, request), QStringLiteral("/tmp/export.txt"));
        QCOMPARE(askOpenFileName(nullptr, request), QString()); // nothing queued: cancelled
        QCOMPARE(DialogSeams::askedFileDialogs().size(), 3);
        QCOMPARE(DialogSeams::askedFileDialogs().at(2).mode, FileDialogMode::Open);
    }

    // Commands that need a selected fill, or any fill, are disabled without one, in the menus,
    // the context menu and the toolbar alike; an empty log shows the hint instead of rows.
    void commandsFollowTheLogAndTheSelection_data() {
        QTest::addColumn<int>("fills");
        QTest::addColumn<int>("selected"); // -1: none
        QTest::addColumn<bool>("removeSelected");
        QTest::addColumn<QString>(
            "enabled"); // Edit, Remove, Information, Here, Graph, Export, Totals
        QTest::newRow("empty log") << 0 << -1 << false << "0000001";
        QTest::newRow("fills, none selected") << 3 << -1 << false << "0000111";
        QTest::newRow("a fill selected") << 3 << 1 << false << "1111111";
        QTest::newRow("the only fill removed") << 1 << 0 << true << "0000001";
    }
    void commandsFollowTheLogAndTheSelection() {
        QFETCH(int, fills);
        QFETCH(int, selected);
        QFETCH(bool, removeSelected);
        QFETCH(QString, enabled);
        writeDatabase(fills);
        TestWindow window;
        window.open();
        window.selectRow(selected);
        if (removeSelected) {
            DialogSeams::setNextAnswer(QMessageBox::Yes);
            window.commandAction(CMainWnd::CmdRemoveFill)->trigger();
        }
        QString states;
        for (const int id : {CMainWnd::CmdEditFill, CMainWnd::CmdRemoveFill,
                             CMainWnd::CmdFillInformation, CMainWnd::CmdStartGraphHere,
                             CMainWnd::CmdGraph, CMainWnd::CmdExportCsv, CMainWnd::CmdTotals}) {
            QAction* bar = window.commandAction(id);
            QAction* context = window.contextAction(id);
            const bool on = bar ? bar->isEnabled() : context->isEnabled();
            QVERIFY(!bar || !context || context->isEnabled() == on);
            if (QWidget* button = window.toolBar()->widgetForAction(bar))
                QCOMPARE(button->isEnabled(), on);
            states += on ? u'1' : u'0';
        }
        QCOMPARE(states, enabled);
        const bool empty = window.listModel()->rowCount() == 0;
        auto* hint = window.findChild<QLabel*>(QStringLiteral("emptyHint"));
        QCOMPARE(hint->isVisible(), empty);
        QCOMPARE(window.fillList()->accessibleDescription(), empty ? hint->text() : QString());
        QCOMPARE(hint->text(), QStringLiteral("No fills yet. Add your first fill with Ctrl+N"));
    }

    // The toolbar holds the commands in their order, and the status line the vehicle, the
    // number of fills and the average consumption; View hides both, and they stay hidden.
    void toolbarAndStatusLine() {
        writeDatabase(3);
        programSettings().setValue(QStringLiteral("FillingMethod"), 1);
        {
            TestWindow window;
            window.open();
            QStringList tools;
            for (const QAction* action : window.toolBar()->actions())
                tools.append(action->isSeparator() ? QStringLiteral("-") : action->iconText());
            QCOMPARE(tools,
                     (QStringList{"Add", "Edit", "Remove", "-", "Undo", "Redo", "-", "Graph"}));
            QCOMPARE(window.toolBar()
                         ->widgetForAction(window.commandAction(CMainWnd::CmdAddFill))
                         ->accessibleName(),
                     QStringLiteral("Add fill"));
            QCOMPARE(window.commandAction(CMainWnd::CmdAddFill)->toolTip(),
                     QStringLiteral("Add fill (Ctrl+N)"));
            // 1000 km, 81 litres after the first fill: 8.10 l / 100 km, once the window is idle.
            QTRY_COMPARE(
                window.findChild<QLabel*>(QStringLiteral("summary"))->text(),
                QStringLiteral("Tankometer  \u00b7  3 fills  \u00b7  Average 8.10 l / 100 km"));
            window.dispatchCommand(CMainWnd::CmdToolbar);
            window.commandAction(CMainWnd::CmdStatusLine)->trigger();
            QVERIFY(window.toolBar()->isHidden());
            QVERIFY(window.statusBar()->isHidden());
            QVERIFY(!window.commandAction(CMainWnd::CmdToolbar)->isChecked());
            window.dispatchCommand(CMainWnd::CmdExit);
        }
        TestWindow window;
        window.open();
        QVERIFY(window.toolBar()->isHidden());
        QVERIFY(window.statusBar()->isHidden());
        window.dispatchCommand(CMainWnd::CmdStatusLine);
        QVERIFY(window.commandAction(CMainWnd::CmdStatusLine)->isChecked());
        QVERIFY(!window.statusBar()->isHidden());
    }

    // Size, place and dragged column widths come back at the next start, within the screen
    // even when it has become smaller than the window (the offscreen screen is 800 x 800).
    void theWindowKeepsItsGeometry_data() {
        QTest::addColumn<QRect>("left");
        QTest::addColumn<bool>("samePlace");
        QTest::addColumn<bool>("sameSize");
        QTest::newRow("as left") << QRect(30, 40, 640, 480) << true << true;
        QTest::newRow("larger than the screen now")
            << QRect(-50, 100, 1900, 1000) << false << false;
        QTest::newRow("off the right edge") << QRect(700, 300, 400, 400) << false << true;
    }
    // The status line's average is the Totals window's after each kind of change, on a log with
    // partial fills and a missed one: it follows the log without computing the totals.
    void statusLineAverageIsTheTotals_data() {
        QTest::addColumn<QString>("change");
        for (const char* change :
             {"add", "add into a partial run", "edit", "edit a flag", "remove", "undo", "redo",
              "filling method", "edit its time", "undo an edit of its time"})
            QTest::newRow(change) << QString::fromLatin1(change);
    }
    void statusLineAverageIsTheTotals() {
        QFETCH(QString, change);
        {
            CFuelDatabase database(databaseFilePath());
            const FillFlags partial{true, false};
            const FillFlags missed{false, true};
            const std::pair<FillRecord, FillFlags> fills[] = {
                {makeFill(0, 1000, 40.5f), {}},      {makeFill(1, 1400, 20.3f), partial},
                {makeFill(2, 1900, 18.7f), {}},      {makeFill(3, 2500, 33.1f), missed},
                {makeFill(4, 2900, 12.9f), partial}, {makeFill(5, 3300, 41.3f), {}},
                {makeFill(6, 3800, 36.2f), {}},
            };
            for (const auto& [fill, flags] : fills)
                database.insertFill(fill, flags);
            QVERIFY(database.save());
        }
        programSettings().setValue(QStringLiteral("FillingMethod"), 1);
        TestWindow window;
        window.open();
        CLogDocument& log = window.document();
        const auto average = [&window] {
            return window.findChild<QLabel*>(QStringLiteral("summary"))
                ->text()
                .section(QStringLiteral("  \u00b7  "), -1);
        };
        const auto totals = [&log] {
            const FillTotals totals = computeTotals(log.database(), readFillingMethod());
            return QStringLiteral("Average %1 l / 100 km")
                .arg(totalsValueText(totals, TotalsRow::Consumption));
        };
        // Made once the window is idle, then followed through the changes.
        QTRY_COMPARE(average(), totals());
        const QString before = average();
        const auto edited = [&log](int row, float fuel, FillFlags flags) {
            FillRecord fill = *log.database().getFill(row);
            fill.fuel = fuel;
            log.editFill(row, QStringLiteral("Station"), fill, QString(), flags);
        };
        if (change == QStringLiteral("add")) {
            log.addFill(QStringLiteral("Station"), makeFill(7, 4400, 44.4f), QString());
        } else if (change == QStringLiteral("add into a partial run")) {
            log.addFill(QStringLiteral("Station"), makeFill(1, 1600, 9.9f), QString(),
                        FillFlags{true, false});
        } else if (change == QStringLiteral("edit")) {
            edited(2, 25.5f, {});
        } else if (change == QStringLiteral("edit a flag")) {
            edited(2, 18.7f, FillFlags{true, false});
        } else if (change == QStringLiteral("remove")) {
            log.removeFill(2);
        } else if (change.contains(QStringLiteral("its time"))) {
            // The fill of day 2 goes behind day 5, and the fills between move up.
            FillRecord fill = *log.database().getFill(2);
            fill.dateTime = makeFill(5, 0, 0).dateTime;
            QCOMPARE(log.editFill(2, QStringLiteral("Station"), fill, QString()), 5);
            if (change.startsWith(QStringLiteral("undo"))) {
                QCOMPARE(average(), totals());
                log.undoStack()->undo();
                QCOMPARE(average(), before);
            }
        } else if (change == QStringLiteral("undo") || change == QStringLiteral("redo")) {
            log.removeFill(5);
            log.undoStack()->undo();
            QCOMPARE(average(), before);
            if (change == QStringLiteral("redo"))
                log.undoStack()->redo();
        } else {
            DialogSeams::setNextDialogHandler([](QDialog& dialog) {
                dialog.findChild<QRadioButton*>(QStringLiteral("emptyTank"))->setChecked(true);
                QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("done")),
                                  Qt::LeftButton);
            });
            window.dispatchCommand(CMainWnd::CmdSettings);
            QCOMPARE(readFillingMethod(), FillingMethod::ToEmptyTank);
        }
        QCOMPARE(average(), totals());
        if (!change.startsWith(QStringLiteral("undo")))
            QVERIFY(average() != before);
        window.dispatchCommand(CMainWnd::CmdExit);
    }

    void theWindowKeepsItsGeometry() {
        QFETCH(QRect, left);
        QFETCH(bool, samePlace);
        QFETCH(bool, sameSize);
        writeDatabase(3);
        int dragged = 0;
        {
            TestWindow window;
            window.open();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            window.move(left.topLeft());
            window.resize(left.size());
            QHeaderView* header = window.fillList()->horizontalHeader();
            dragged = header->sectionSize(1) + 37;
            header->resizeSection(1, dragged);
            window.dispatchCommand(CMainWnd::CmdExit);
        }
        TestWindow window;
        window.open();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_VERIFY(window.screen()->availableGeometry().contains(window.frameGeometry()));
        QCOMPARE(window.pos() == left.topLeft(), samePlace);
        QCOMPARE(window.size() == left.size(), sameSize);
        QHeaderView* header = window.fillList()->horizontalHeader();
        QCOMPARE(header->sectionSize(1), dragged);
        // A dragged width also survives the list being built anew, and the last column takes
        // the rest of the window.
        window.buildList();
        QCOMPARE(header->sectionSize(1), dragged);
        QTRY_VERIFY(header->length() >= window.fillList()->viewport()->width());
    }

    // A layout an earlier version stored (its rectangle, the widths dragged) is taken once; from
    // then on the window and the columns, their order too, come back from Qt's own state, which
    // a list of other columns does not take.
    void theWindowTakesAnEarlierLayoutOnce() {
        writeDatabase(3);
        writeSetting(SettingsKey::OldWindowGeometry, QStringLiteral("30,40,640,480"));
        writeSetting(SettingsKey::OldColumnWidths,
                     QStringLiteral("%1:211").arg(int(CFillListModel::Odometer)));
        const auto odometer = [](TestWindow& window) {
            return window.listModel()->positionOf(CFillListModel::Odometer);
        };
        {
            TestWindow window;
            window.open();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QCOMPARE(window.pos(), QPoint(30, 40));
            QCOMPARE(window.size(), QSize(640, 480));
            QHeaderView* header = window.fillList()->horizontalHeader();
            QCOMPARE(header->sectionSize(odometer(window)), 211);
            header->moveSection(header->visualIndex(odometer(window)), 0);
            window.move(60, 70);
            window.dispatchCommand(CMainWnd::CmdExit);
        }
        writeSetting(SettingsKey::OldWindowGeometry, QStringLiteral("0,0,300,300"));
        // As many columns, but other ones.
        const quint32 other = SettingsKey::ColDef.fallback ^
                              CFillListModel::columnBit(CFillListModel::RecordNumber) ^
                              CFillListModel::columnBit(CFillListModel::Marks);
        for (const quint32 columns : {SettingsKey::ColDef.fallback, other}) {
            writeSetting(SettingsKey::ColDef, columns);
            TestWindow window;
            window.open();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QCOMPARE(window.pos(), QPoint(60, 70));
            QCOMPARE(window.size(), QSize(640, 480));
            QHeaderView* header = window.fillList()->horizontalHeader();
            const bool sameColumns = columns == SettingsKey::ColDef.fallback;
            QCOMPARE(header->visualIndex(odometer(window)) == 0, sameColumns);
            QCOMPARE(header->sectionsMoved(), sameColumns);
            QCOMPARE(header->sectionSize(odometer(window)) == 211, sameColumns);
            // A rebuild keeps the order the user chose.
            window.buildList();
            QCOMPARE(header->visualIndex(odometer(window)) == 0, sameColumns);
            window.dispatchCommand(CMainWnd::CmdExit);
        }
    }

    // Each check mark shows its own command's state, whatever the others show.
    void checkMarksFollowTheirOwnState() {
        writeDatabase(1);
        TestWindow window;
        window.open();
        const auto marks = [&window] {
            QString shown;
            for (const int id : {CMainWnd::CmdToolbar, CMainWnd::CmdStatusLine,
                                 CMainWnd::CmdShowFills, CMainWnd::CmdShowCosts})
                shown += window.commandAction(id)->isChecked() ? u'1' : u'0';
            return shown;
        };
        QCOMPARE(marks(), QStringLiteral("1110"));
        window.dispatchCommand(CMainWnd::CmdStatusLine);
        QCOMPARE(marks(), QStringLiteral("1010"));
        window.dispatchCommand(CMainWnd::CmdShowCosts);
        QCOMPARE(marks(), QStringLiteral("1001"));
        window.dispatchCommand(CMainWnd::CmdToolbar);
        QCOMPARE(marks(), QStringLiteral("0001"));
        window.dispatchCommand(CMainWnd::CmdStatusLine);
        QCOMPARE(marks(), QStringLiteral("0101"));
        window.dispatchCommand(CMainWnd::CmdExit);
    }

    // A first start fits the columns and takes a good share of the screen.
    void theFirstSizeIsAShareOfTheScreen() {
        writeDatabase(3);
        TestWindow window;
        window.open();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QSize available = window.screen()->availableGeometry().size();
        QVERIFY(window.width() >= available.width() / 2);
        QVERIFY(window.height() >= available.height() * 3 / 4);
    }

    // A first start makes a log in the locale's units; the headers that name them are whole.
    void aFirstStartShowsWholeHeaders() {
        TestWindow window;
        window.open();
        const QHeaderView* header = window.fillList()->horizontalHeader();
        QVERIFY(header->model()->headerData(2, Qt::Horizontal).toString().endsWith(u')'));
        for (int position = 0; position + 1 < header->count(); ++position)
            QVERIFY(header->sectionSize(position) >= header->sectionSizeHint(position));
    }

    // The CSV file dialogs open in the documents folder, name their command, and export offers
    // the vehicle and the date as the file name.
    void csvFileDialogs() {
        writeDatabase(2);
        TestWindow window;
        window.open();
        window.dispatchCommand(CMainWnd::CmdExportCsv);
        window.dispatchCommand(CMainWnd::CmdImportCsv);
        const QList<FileDialogRecord>& asked = DialogSeams::askedFileDialogs();
        QCOMPARE(asked.size(), 2);
        const QString today = QDate::currentDate().toString(Qt::ISODate);
        QCOMPARE(asked.at(0).request.directory,
                 QDir(documentsFolder()).filePath("Tankometer " + today + ".csv"));
        QCOMPARE(asked.at(0).request.caption, QStringLiteral("Export CSV"));
        QCOMPARE(asked.at(1).request.directory, documentsFolder());
        QCOMPARE(asked.at(1).request.caption, QStringLiteral("Import CSV"));
    }
};

QTEST_MAIN(MainWndTest)
#include "tst_mainwnd.moc"
