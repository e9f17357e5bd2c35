// The search field above the fill list: which fills it lets through, the selection through a
// search, the commands on a fill found, and its keys.

#include "core/paths.h"
#include "db/fueldatabase.h"
#include "ui/main/filllistmodel.h"
#include "ui/main/mainwnd.h"
#include "ui/messagebox.h"
#include "windowtest.h"

#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>
#include <QTest>

namespace {

constexpr quint64 kDay = 864000000000ull; // 100 ns units
constexpr quint64 kFirstDay = 154000ull * kDay;

struct LoggedFill {
    const char* station;
    const char* driver;
    const char* notes;
};

// Fills on days 0, 1, 2, ... with odometers 1000, 1100, 1200, ...
void writeDatabase(const QList<LoggedFill>& fills) {
    CFuelDatabase database(databaseFilePath());
    for (int i = 0; i < fills.size(); ++i) {
        FillRecord fill;
        fill.odometer = 1000 + 100 * i;
        fill.fuel = 40.0f;
        fill.cost = 60.0f;
        fill.dateTime = FileTime::fromValue(kFirstDay + quint64(i) * kDay);
        fill.stationId = database.findOrAddStation(QString::fromUtf8(fills.at(i).station));
        if (*fills.at(i).driver)
            fill.driverId = database.findOrAddDriver(QString::fromUtf8(fills.at(i).driver));
        setFieldText(fill.notes, QString::fromUtf8(fills.at(i).notes));
        database.insertFill(fill);
    }
    QVERIFY(database.save());
}

const QList<LoggedFill> kFills = {
    {"Shell Nord", "", ""},
    {"Aral", "Anna", "winter tyres"},
    {"Aral", "Bernd", "paid with the SHELL card"},
    {"OMV", "Annabelle", ""},
    {"Jet", "", "Ölwechsel"},
};

// The log's rows the list shows, by their record numbers.
QList<int> shownRows(const CMainWnd& window) {
    const QAbstractItemModel* model = window.fillList()->model();
    const int column = window.listModel()->positionOf(CFillListModel::RecordNumber);
    QList<int> rows;
    for (int row = 0; row < model->rowCount(); ++row)
        rows.append(model->index(row, column).data().toString().chopped(1).toInt() - 1);
    return rows;
}

QList<qint32> savedOdometers() {
    CFuelDatabase database(databaseFilePath());
    database.load();
    QList<qint32> odometers;
    for (int i = 0; i < database.getFillCount(); ++i)
        odometers.append(database.getFill(i)->odometer);
    return odometers;
}

bool rowInView(const QTableView* list, int viewRow) {
    return list->viewport()->rect().intersects(
        list->visualRect(list->model()->index(viewRow, 0)));
}

} // namespace

class ListSearchTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { DialogSeams::enable(); }
    void init() { startWindowCase(); }
    void cleanup() { endWindowCase(); }

    void typingFiltersByStationDriverAndNotes_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QList<int>>("rows");
        QTest::newRow("station and notes, any case") << "shell" << QList<int>{0, 2};
        QTest::newRow("driver, part of a name") << "ANNA" << QList<int>{1, 3};
        QTest::newRow("notes") << "tyres" << QList<int>{1};
        QTest::newRow("beyond ASCII") << "ölw" << QList<int>{4};
        QTest::newRow("spaces around") << "  aral " << QList<int>{1, 2};
        QTest::newRow("nothing found") << "diesel" << QList<int>{};
        QTest::newRow("only spaces: every fill") << "  " << QList<int>{0, 1, 2, 3, 4};
    }
    void typingFiltersByStationDriverAndNotes() {
        QFETCH(QString, typed);
        QFETCH(QList<int>, rows);
        writeDatabase(kFills);
        TestWindow window;
        window.open();
        window.searchField()->insert(typed);
        QCOMPARE(shownRows(window), rows);
        auto* count = window.findChild<QLabel*>(QStringLiteral("searchCount"));
        QCOMPARE(count->isVisibleTo(&window), rows.size() < kFills.size());
        if (rows.size() < kFills.size())
            QCOMPARE(count->text(), QStringLiteral("%1 of 5 fills shown").arg(rows.size()));
        window.dispatchCommand(CMainWnd::CmdOk);
    }

    // Ctrl+F goes to the field, Escape empties it and goes back to the list; the fill selected
    // before stays selected and in view throughout.
    void theSelectedFillSurvivesASearch() {
        QList<LoggedFill> fills;
        for (int i = 0; i < 60; ++i)
            fills.append({i % 3 == 0 ? "Aral" : "OMV", "", ""});
        writeDatabase(fills);
        TestWindow window;
        window.open();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTableView* list = window.fillList();
        window.selectRow(6);
        list->scrollToBottom();

        QTest::keyClick(list, Qt::Key_F, Qt::ControlModifier);
        QVERIFY(window.searchField()->hasFocus());
        QTest::keyClicks(window.searchField(), QStringLiteral("aral"));
        QCOMPARE(list->model()->rowCount(), 20);
        QCOMPARE(window.currentRow(), 6);
        QCOMPARE(list->selectionModel()->selectedRows().size(), 1);
        QVERIFY(rowInView(list, 2));

        // A fill the search hides is not acted on.
        QTest::keyClick(window.searchField(), Qt::Key_M);
        QCOMPARE(list->model()->rowCount(), 0);
        QCOMPARE(window.currentRow(), -1);
        QVERIFY(!window.commandAction(CMainWnd::CmdRemoveFill)->isEnabled());
        QTest::keyClick(window.searchField(), Qt::Key_Backspace);
        window.selectRow(57);
        list->scrollToTop();

        QTest::keyClick(window.searchField(), Qt::Key_Escape);
        QVERIFY(window.searchField()->text().isEmpty());
        QVERIFY(list->hasFocus());
        QCOMPARE(list->model()->rowCount(), 60);
        QCOMPARE(window.currentRow(), 57);
        QCOMPARE(list->selectionModel()->selectedRows().size(), 1);
        QVERIFY(rowInView(list, 57));
        QVERIFY(!window.findChild<QLabel*>(QStringLiteral("searchCount"))->isVisibleTo(&window));
        window.dispatchCommand(CMainWnd::CmdOk);
    }

    // The keys of the list, its context menu and the commands act on the fill shown selected,
    // and changes of the log keep the search.
    void commandsActOnTheFillFound() {
        writeDatabase(kFills);
        TestWindow window;
        window.open();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTableView* list = window.fillList();
        QTest::keyClicks(window.searchField(), QStringLiteral("a"));
        QCOMPARE(shownRows(window), (QList<int>{1, 2, 3}));

        QTest::keyClick(list, Qt::Key_End);
        QCOMPARE(window.currentRow(), 3);
        QTest::keyClick(list, Qt::Key_Home);
        QCOMPARE(window.currentRow(), 1);
        const QPoint position = list->visualRect(list->model()->index(1, 1)).center();
        QContextMenuEvent byMouse(QContextMenuEvent::Mouse, position,
                                  list->viewport()->mapToGlobal(position));
        QCoreApplication::sendEvent(list->viewport(), &byMouse);
        QCOMPARE(window.currentRow(), 2);
        QTRY_VERIFY(window.contextMenu()->isVisible());
        window.contextMenu()->close();

        DialogSeams::setNextAnswer(QMessageBox::Yes);
        window.dispatchCommand(CMainWnd::CmdRemoveFill);
        QCOMPARE(shownRows(window), (QList<int>{1, 2}));
        QCOMPARE(window.currentRow(), 2);

        // A fill edited out of the search leaves the list, a new one that matches comes in.
        FillRecord edited = *window.database().getFill(1);
        window.document().editFill(1, QStringLiteral("Jet"), edited, QString());
        QCOMPARE(shownRows(window), (QList<int>{2}));
        FillRecord added = edited;
        added.odometer = 2000;
        added.dateTime = FileTime::fromValue(kFirstDay + 30 * kDay);
        window.document().addFill(QStringLiteral("Aral"), added, QString());
        QCOMPARE(shownRows(window), (QList<int>{2, 4}));
        QCOMPARE(window.currentRow(), 4);
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("searchCount"))->text(),
                 QStringLiteral("2 of 5 fills shown"));

        window.dispatchCommand(CMainWnd::CmdOk);
        QCOMPARE(savedOdometers(), (QList<qint32>{1000, 1100, 1300, 1400, 2000}));
    }
};

QTEST_MAIN(ListSearchTest)
#include "tst_listsearch.moc"
