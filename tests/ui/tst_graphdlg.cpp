#include "core/paths.h"
#include "core/settings.h"
#include "db/fueldatabase.h"
#include "localisation/language.h"
#include "stats/threefills.h"
#include "ui/main/mainwnd.h"
#include "ui/messagebox.h"
#include "ui/stats/graphctrl.h"
#include "ui/stats/graphdlg.h"
#include "windowtest.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QSettings>
#include <QTest>

namespace {

void writeThreeFills() {
    CFuelDatabase database(databaseFilePath());
    addThreeFills(database);
    QVERIFY(database.save());
}

// What the graph dialog showed when it opened, and after the handler's changes.
struct Shown {
    int dialogs = 0;
    QList<float> top;
    QList<float> bottom;
    QString topName;
    QString bottomName;
    bool topListFocused = false;
};

// Opens the dialog with the command; `change` may work the lists before the charts are read.
Shown runCommand(CMainWnd& window, int command,
                 const std::function<void(CGraphDlg&)>& change = {}) {
    Shown shown;
    DialogSeams::setNextDialogHandler([&shown, &change](QDialog& dialog) {
        auto& graph = static_cast<CGraphDlg&>(dialog);
        ++shown.dialogs;
        shown.topListFocused = graph.focusWidget() == graph.topList();
        if (change)
            change(graph);
        // A paint asks both charts for their series again.
        graph.grab();
        shown.top = graph.topChart()->series();
        shown.bottom = graph.bottomChart()->series();
        shown.topName = graph.topChart()->accessibleName();
        shown.bottomName = graph.bottomChart()->accessibleName();
        dialog.accept();
    });
    window.dispatchCommand(command);
    if (shown.dialogs == 0)
        DialogSeams::reset();
    return shown;
}

} // namespace

class GraphDlgTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { DialogSeams::enable(); }

    void init() { startWindowCase(); }

    void cleanup() { endWindowCase(); }

    void commandsGraphFromTheirFill_data() {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("row");
        QTest::addColumn<QList<float>>("top");
        QTest::addColumn<QList<float>>("bottom");
        const QList<float> allCosts{1000.0f, 900.0f, 800.0f};
        const QList<float> allConsumptions{8.0f, 8.75f};
        QTest::newRow("graph") << int(CMainWnd::CmdGraph) << 2 << allCosts << allConsumptions;
        QTest::newRow("start here, second fill")
            << int(CMainWnd::CmdStartGraphHere) << 1 << QList<float>{900.0f, 800.0f}
            << QList<float>{8.75f};
        QTest::newRow("start here, first fill")
            << int(CMainWnd::CmdStartGraphHere) << 0 << allCosts << allConsumptions;
    }

    void commandsGraphFromTheirFill() {
        QFETCH(int, command);
        QFETCH(int, row);
        QFETCH(QList<float>, top);
        QFETCH(QList<float>, bottom);
        writeThreeFills();
        TestWindow window;
        window.open();
        window.selectRow(row);
        const Shown shown = runCommand(window, command);
        QCOMPARE(shown.dialogs, 1);
        QCOMPARE(shown.top, top);
        QCOMPARE(shown.bottom, bottom);
        QCOMPARE(shown.topName, QStringLiteral("Fill cost (Kč)"));
        QCOMPARE(shown.bottomName, QStringLiteral("Consumption (l / 100 km)"));
        QVERIFY(shown.topListFocused);
        // The menu bar is back, with its texts.
        QCOMPARE(shownText(window.commandAction(CMainWnd::CmdGraph)->text()),
                 QStringLiteral("Graph\u2026"));
    }

    void nothingToGraph_data() {
        QTest::addColumn<bool>("withFills");
        QTest::addColumn<int>("command");
        QTest::newRow("graph without fills") << false << int(CMainWnd::CmdGraph);
        QTest::newRow("start here without fills") << false << int(CMainWnd::CmdStartGraphHere);
        QTest::newRow("start here without a row") << true << int(CMainWnd::CmdStartGraphHere);
    }

    void nothingToGraph() {
        QFETCH(bool, withFills);
        QFETCH(int, command);
        if (withFills)
            writeThreeFills();
        TestWindow window;
        window.open();
        window.selectRow(-1);
        QCOMPARE(runCommand(window, command).dialogs, 0);
        QVERIFY(DialogSeams::ranDialogs().isEmpty());
    }

    void changingTheLists_data() {
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("bottom");
        QTest::addColumn<QList<float>>("topSeries");
        QTest::addColumn<QList<float>>("bottomSeries");
        QTest::newRow("top to endurance, bottom keeps consumption")
            << int(GraphKind::Endurance) << int(GraphKind::Consumption)
            << QList<float>{12.5f, 400.0f / 35.0f} << QList<float>{8.0f, 8.75f};
        QTest::newRow("bottom to unit cost") << int(GraphKind::FillCost) << int(GraphKind::UnitCost)
                                             << QList<float>{1000.0f, 900.0f, 800.0f}
                                             << QList<float>{25.0f, 900.0f / 35.0f, 800.0f / 30.0f};
    }

    void changingTheLists() {
        QFETCH(int, top);
        QFETCH(int, bottom);
        QFETCH(QList<float>, topSeries);
        QFETCH(QList<float>, bottomSeries);
        writeThreeFills();
        TestWindow window;
        window.open();
        QStringList listTexts;
        const Shown shown = runCommand(window, CMainWnd::CmdGraph, [&](CGraphDlg& dialog) {
            // From the keyboard: the top list has the focus; arrows move through the kinds.
            QComboBox* topList = dialog.topList();
            while (topList->currentData().toInt() != top)
                QTest::keyClick(topList, topList->findData(top) > topList->currentIndex()
                                             ? Qt::Key_Down
                                             : Qt::Key_Up);
            QComboBox* bottomList = dialog.bottomList();
            bottomList->setCurrentIndex(bottomList->findData(bottom));
            listTexts = {topList->currentText(), bottomList->currentText()};
        });
        QCOMPARE(shown.top, topSeries);
        QCOMPARE(shown.bottom, bottomSeries);
        // Each chart tells a screen reader what it now shows.
        QCOMPARE((QStringList{shown.topName, shown.bottomName}), listTexts);
    }

    // The lists are sorted by their translated texts; the defaults are found by kind.
    void translatedListsKeepTheirDefaults() {
        writeThreeFills();
        language().load(QStringLiteral("lang\\german.lng"), QStringLiteral(TANKOMETER_SOURCE_DIR));
        TestWindow window;
        window.open();
        QStringList texts;
        const Shown shown = runCommand(window, CMainWnd::CmdGraph, [&texts](CGraphDlg& dialog) {
            for (int i = 0; i < dialog.topList()->count(); ++i)
                texts.append(dialog.topList()->itemText(i));
        });
        QCOMPARE(texts, (QStringList{QStringLiteral("Literpreis (€ / l)"),
                                     QStringLiteral("Reichweite (km / l)"),
                                     QStringLiteral("Tankkosten (€)"),
                                     QStringLiteral("Verbrauch (l / 100 km)")}));
        QCOMPARE(shown.topName, QStringLiteral("Tankkosten (€)"));
        QCOMPARE(shown.top, (QList<float>{1000.0f, 900.0f, 800.0f}));
        QCOMPARE(shown.bottomName, QStringLiteral("Verbrauch (l / 100 km)"));
    }

    // Consumption follows the filling method read when the series is built.
    void fillingMethodIsReadForEverySeries() {
        writeThreeFills();
        TestWindow window;
        window.open();
        const Shown shown = runCommand(window, CMainWnd::CmdGraph, [](CGraphDlg& dialog) {
            CRegistry::writeNumber(SettingsKey::FillingMethod, 1);
            dialog.bottomChart()->refresh();
        });
        QCOMPARE(shown.bottom, (QList<float>{35.0f / 500.0f * 100.0f, 30.0f / 400.0f * 100.0f}));
    }
};

QTEST_MAIN(GraphDlgTest)
#include "tst_graphdlg.moc"
