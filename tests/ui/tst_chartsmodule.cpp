#include "core/paths.h"
#include "ui/chartsmodule.h"
#include "windowtest.h"

#include <QFile>
#include <QGraphicsView>
#include <QTemporaryDir>

// The statistics window comes from a module that the program loads when the window is first
// asked for: from the program's folder, or, when it is missing or damaged, a message instead of
// the window.
class ChartsModuleTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { DialogSeams::enable(); }

    void init() { startWindowCase(); }

    void cleanup() {
        setProgramFolderOverride(std::nullopt);
        endWindowCase();
    }

    void opensTheWindowOrSaysWhy_data() {
        QTest::addColumn<QByteArray>("module"); // what lies in the program's folder
        QTest::addColumn<bool>("opens");
        // Once loaded the module stays: the rows that find none come first.
        QTest::newRow("none") << QByteArray() << false;
        QTest::newRow("damaged") << QByteArray("\x7f"
                                               "ELF, cut short")
                                 << false;
        QTest::newRow("built") << QByteArray("built") << true;
    }

    void opensTheWindowOrSaysWhy() {
        QFETCH(QByteArray, module);
        QFETCH(bool, opens);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        if (module == "built") {
            setProgramFolderOverride(QStringLiteral(TANKOMETER_MODULE_DIR));
        } else {
            QFile file(folder.filePath(QStringLiteral("libtankometer_charts.so")));
            QVERIFY(module.isEmpty() ||
                    (file.open(QIODevice::WriteOnly) && file.write(module) == module.size()));
            setProgramFolderOverride(folder.path());
        }
        TestWindow window;
        window.open();
        window.dispatchCommand(CMainWnd::CmdStatisticsOverTime);
        auto* statistics = window.findChild<QWidget*>(QStringLiteral("statisticsWindow"));
        QCOMPARE(statistics != nullptr, opens);
        if (opens) {
            QVERIFY(statistics->isVisible());
            QVERIFY(statistics->findChild<QGraphicsView*>(QStringLiteral("chart")));
            QVERIFY(DialogSeams::askedMessages().isEmpty());
        } else {
            QCOMPARE(DialogSeams::askedMessages().size(), 1);
            QVERIFY(DialogSeams::askedMessages().constFirst().text.contains(u"tankometer_charts"));
        }
    }
};

QTEST_MAIN(ChartsModuleTest)
#include "tst_chartsmodule.moc"
