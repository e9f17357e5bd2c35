#include "core/debuglog.h"
#include "core/paths.h"
#include "core/settings.h"
#include "db/fueldatabase.h"
#include "db/regional.h"
#include "localisation/language.h"
#include "ui/main/filllistmodel.h"
#include "ui/main/mainwnd.h"
#include "ui/messagebox.h"
#include "ui/settings/aboutdlg.h"
#include "ui/settings/settingsdlg.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

namespace {

const QString kSourceDir = QStringLiteral(TANKOMETER_SOURCE_DIR);
const char* const kColumnBoxes[] = {"columnRecordNumber", "columnDate",     "columnFuel",
                                    "columnCost",         "columnOdometer", "columnConsumption",
                                    "columnEndurance"};
constexpr quint32 kColumnBits[] = {0x10, 0x01, 0x02, 0x04, 0x08, 0x20, 0x40};

QSettings store() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tankometer"));
}

template <typename T> T* control(QDialog& dialog, const char* name) {
    T* found = dialog.findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

QStringList listedLanguages(QDialog& dialog) {
    QStringList names;
    auto* box = control<QComboBox>(dialog, "language");
    for (int i = 0; i < box->count(); ++i)
        names.append(box->itemText(i));
    return names;
}

quint32 checkedColumns(QDialog& dialog) {
    quint32 bits = 0;
    for (int i = 0; i < 7; ++i)
        bits |= control<QCheckBox>(dialog, kColumnBoxes[i])->isChecked() ? kColumnBits[i] : 0;
    return bits;
}

void setColumns(QDialog& dialog, quint32 bits) {
    for (int i = 0; i < 7; ++i)
        control<QCheckBox>(dialog, kColumnBoxes[i])->setChecked((bits & kColumnBits[i]) != 0);
}

void chooseLanguage(QDialog& dialog, const QString& name) {
    auto* box = control<QComboBox>(dialog, "language");
    box->setCurrentIndex(box->findText(name));
}

// A point of the page that no control covers.
QPoint backgroundPoint(QDialog& dialog) {
    auto* settings = static_cast<CSettingsDlg*>(&dialog);
    const QPoint point(2, 2);
    if (settings->contentWidget()->childAt(point))
        qFatal("the page's corner is covered");
    return point;
}

// Answers the next settings page: `change` sees it shown, then Done is pressed.
void answerSettings(std::function<void(QDialog&)> change) {
    DialogSeams::setNextDialogHandler([change](QDialog& dialog) {
        change(dialog);
        QTest::mouseClick(control<QPushButton>(dialog, "done"), Qt::LeftButton);
    });
}

quint32 storedNumber(QStringView name) {
    quint32 value = 0xdeadbeef;
    if (CRegistry::readValue(name, &value) != RegistryOk)
        qFatal("no stored value");
    return value;
}

QString storedLanguage() {
    QString path;
    return readLanguagePath(&path) ? path : QStringLiteral("<none>");
}

void writeFile(const QString& path, const QByteArray& contents) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
        qFatal("cannot write a test file");
}

// Fills one day apart, 500 km apart, with different amounts of fuel, so that the two filling
// methods give every fill but the first a different consumption.
void writeDatabase() {
    CFuelDatabase database(databaseFilePath());
    const float fuels[] = {30.0f, 40.0f, 25.0f, 50.0f};
    for (int i = 0; i < 4; ++i) {
        FillRecord fill;
        fill.odometer = 1000 + 500 * i;
        fill.fuel = fuels[i];
        fill.cost = fuels[i] * 2;
        fill.dateTime = FileTime::fromValue((154000ull + quint64(i)) * 864000000000ull);
        fill.stationId = database.findOrAddStation(QStringLiteral("Station"));
        database.insertFill(fill);
    }
    if (!database.save())
        qFatal("cannot save the test database");
}

QStringList consumptionColumn(const CMainWnd& window) {
    QStringList cells;
    for (int row = 0; row < window.listModel()->rowCount(); ++row)
        cells.append(window.listModel()->cellText(row, CFillListModel::Consumption));
    return cells;
}

QStringList headers(const CMainWnd& window) {
    QStringList texts;
    for (int i = 0; i < window.listModel()->columnCount(); ++i)
        texts.append(window.listModel()->headerData(i, Qt::Horizontal).toString());
    return texts;
}

// Widgets whose text is shown narrower, or lower, than it needs.
QStringList clippedControls(QDialog& dialog) {
    QStringList clipped;
    for (QWidget* widget : dialog.findChildren<QWidget*>()) {
        if (!widget->isVisible())
            continue;
        if (qobject_cast<QLabel*>(widget) || qobject_cast<QAbstractButton*>(widget) ||
            qobject_cast<QComboBox*>(widget)) {
            if (widget->width() < widget->minimumSizeHint().width() ||
                widget->height() < widget->minimumSizeHint().height())
                clipped.append(widget->objectName());
        }
        if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            if (group->width() < group->fontMetrics().horizontalAdvance(group->title()))
                clipped.append(widget->objectName());
        }
    }
    return clipped;
}

} // namespace

class SettingsDlgTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { DialogSeams::enable(); }

    void init() {
        DialogSeams::reset();
        store().clear();
        QFile::remove(databaseFilePath());
        language().clear();
        setDebugFlag(false);
        setProgramFolderOverride(kSourceDir);
        setRegionalSettingsOverride(RegionalSettings{QLatin1Char('.'), QStringLiteral("/"), 0});
    }

    void cleanup() {
        QCOMPARE(DialogSeams::pendingAnswers(), 0);
        store().clear();
        language().clear();
        setDebugFlag(false);
        setProgramFolderOverride(std::nullopt);
        setRegionalSettingsOverride(std::nullopt);
    }

    // The list holds the base names of the language files, the stored one selected (its file
    // name compared without regard to letter case), and Done stores the selection.
    void languageList_data() {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("stored"); // empty: nothing stored
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("storedAfterDone");
        const QStringList shipped{"english.lng", "czech.lng", "german.lng"};
        const QStringList names{"czech", "english", "german"};
        QTest::newRow("shipped") << shipped << "lang\\english.lng" << names << "english"
                                 << "lang\\english.lng";
        QTest::newRow("letter case") << shipped << "LANG\\German.LNG" << names << "german"
                                     << "lang\\german.lng";
        QTest::newRow("slash") << shipped << "lang/czech.lng" << names << "czech"
                               << "lang\\czech.lng";
        QTest::newRow("bare file name") << shipped << "czech.lng" << names << "czech"
                                        << "lang\\czech.lng";
        QTest::newRow("file gone") << shipped << "lang\\french.lng" << names << ""
                                   << "lang\\.lng";
        QTest::newRow("sorted without case")
            << QStringList{"b.lng", "C.lng", "a.lng", "notes.txt", "x.lng.bak"} << "lang\\c.lng"
            << QStringList{"a", "b", "C"} << "C"
            << "lang\\C.lng";
        QTest::newRow("dots in the name")
            << QStringList{"pt.br.lng"} << "lang\\pt.br.lng" << QStringList{"pt.br"} << "pt.br"
            << "lang\\pt.br.lng";
        QTest::newRow("extension in capitals")
            << QStringList{"DUTCH.LNG"} << "lang\\dutch.lng" << QStringList{"DUTCH"} << "DUTCH"
            << "lang\\DUTCH.LNG";
        QTest::newRow("no files") << QStringList{} << "lang\\english.lng" << QStringList{} << ""
                                  << "lang\\.lng";
        const QString longName = QStringLiteral("a-language-file-named-at-great-length-%1")
                                     .arg(QString(100, QLatin1Char('x')));
        QTest::newRow("long name")
            << QStringList{"english.lng", longName + ".lng"} << "lang\\" + longName + ".lng"
            << QStringList{longName, "english"} << longName << "lang\\" + longName + ".lng";
    }
    void languageList() {
        QFETCH(QStringList, files);
        QFETCH(QString, stored);
        QFETCH(QStringList, listed);
        QFETCH(QString, selected);
        QFETCH(QString, storedAfterDone);
        QTemporaryDir folder;
        QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("lang")));
        for (const QString& file : files)
            writeFile(folder.filePath("lang/" + file), "[menu]\nMainFile=" + file.toUtf8() + "\n");
        setProgramFolderOverride(folder.path());
        if (!stored.isEmpty())
            QVERIFY(writeLanguagePath(stored));

        CMainWnd window;
        window.open();
        QStringList shown;
        QString current;
        answerSettings([&](QDialog& dialog) {
            shown = listedLanguages(dialog);
            current = control<QComboBox>(dialog, "language")->currentText();
        });
        window.dispatchCommand(CMainWnd::CmdSettings);
        QCOMPARE(shown, listed);
        QCOMPARE(current, selected);
        QCOMPARE(storedLanguage(), storedAfterDone);
        // The stored file is the one loaded.
        const QString fileName = storedAfterDone.mid(5);
        QCOMPARE(window.commandAction(CMainWnd::CmdFileMenu)->text().remove('&'),
                 files.contains(fileName) ? fileName : QStringLiteral("File"));
        window.dispatchCommand(CMainWnd::CmdCancel);
    }

    // What the page shows for the stored settings, and what Done hands back untouched.
    void storedSettingsAreShown_data() {
        QTest::addColumn<qint64>("colDef"); // -1: nothing stored
        QTest::addColumn<qint64>("debugMode");
        QTest::addColumn<qint64>("method");
        QTest::addColumn<quint32>("checked");
        QTest::addColumn<bool>("debugShown");
        QTest::addColumn<bool>("emptyTank");
        QTest::addColumn<quint32>("colDefAfter");
        QTest::addColumn<quint32>("methodAfter");
        QTest::newRow("nothing stored")
            << -1ll << -1ll << -1ll << 0x7fu << false << true << 0x7fu << 2u;
        QTest::newRow("date fuel number")
            << 0x13ll << 0ll << 1ll << 0x13u << false << false << 0x13u << 1u;
        QTest::newRow("no columns") << 0ll << 1ll << 2ll << 0u << true << true << 0u << 2u;
        QTest::newRow("high bits ignored")
            << 0xff88ll << 7ll << 3ll << 0x08u << true << false << 0x08u << 1u;
        QTest::newRow("not numbers")
            << -2ll << -2ll << -2ll << 0x7fu << false << true << 0x7fu << 2u;
    }
    void storedSettingsAreShown() {
        QFETCH(qint64, colDef);
        QFETCH(qint64, debugMode);
        QFETCH(qint64, method);
        QFETCH(quint32, checked);
        QFETCH(bool, debugShown);
        QFETCH(bool, emptyTank);
        QFETCH(quint32, colDefAfter);
        QFETCH(quint32, methodAfter);
        const std::pair<QStringView, qint64> values[] = {{SettingsKey::ColDef, colDef},
                                                         {SettingsKey::DebugMode, debugMode},
                                                         {SettingsKey::FillingMethod, method}};
        for (const auto& [name, value] : values) {
            if (value == -2)
                store().setValue(name.toString(), QStringLiteral("many"));
            else if (value >= 0)
                CRegistry::writeNumber(name, quint32(value));
        }

        CMainWnd window;
        window.open();
        answerSettings([&](QDialog& dialog) {
            QCOMPARE(checkedColumns(dialog), checked);
            QCOMPARE(control<QCheckBox>(dialog, "debugMode")->isVisible(), debugShown);
            QCOMPARE(control<QCheckBox>(dialog, "debugMode")->isChecked(), debugShown);
            QCOMPARE(control<QRadioButton>(dialog, "emptyTank")->isChecked(), emptyTank);
            QCOMPARE(control<QRadioButton>(dialog, "fullTank")->isChecked(), !emptyTank);
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Settings"));
        });
        window.dispatchCommand(CMainWnd::CmdSettings);
        QCOMPARE(storedNumber(SettingsKey::ColDef), colDefAfter);
        QCOMPARE(storedNumber(SettingsKey::DebugMode), debugShown ? 1u : 0u);
        QCOMPARE(storedNumber(SettingsKey::FillingMethod), methodAfter);
        QCOMPARE(debugFlag(), debugShown);
        window.dispatchCommand(CMainWnd::CmdCancel);
    }

    // Every way out of the page ends it with the choices kept: it has no Cancel.
    void everyEndStoresAllFourValues_data() {
        QTest::addColumn<int>("how");
        QTest::newRow("done") << 0;
        QTest::newRow("escape") << 1;
        QTest::newRow("closed") << 2;
    }
    void everyEndStoresAllFourValues() {
        QFETCH(int, how);
        CMainWnd window;
        window.open();
        bool barWhileOpen = true;
        DialogSeams::setNextDialogHandler([&](QDialog& dialog) {
            barWhileOpen = window.commandAction(CMainWnd::CmdSettings) != nullptr;
            control<QRadioButton>(dialog, "fullTank")->setChecked(true);
            if (how == 0)
                QTest::mouseClick(control<QPushButton>(dialog, "done"), Qt::LeftButton);
            else if (how == 1)
                QTest::keyClick(control<QComboBox>(dialog, "language"), Qt::Key_Escape);
            else
                dialog.close();
            QVERIFY(!dialog.isVisible());
        });
        window.dispatchCommand(CMainWnd::CmdSettings);
        QVERIFY(!barWhileOpen);
        QVERIFY(window.commandAction(CMainWnd::CmdSettings));
        QCOMPARE(storedLanguage(), QStringLiteral("lang\\.lng")); // nothing was stored
        QCOMPARE(storedNumber(SettingsKey::ColDef), 0x7fu);
        QCOMPARE(storedNumber(SettingsKey::DebugMode), 0u);
        QCOMPARE(storedNumber(SettingsKey::FillingMethod), 1u);
        window.dispatchCommand(CMainWnd::CmdCancel);
    }

    // A store that refuses the writes is reported; the language is in use all the same.
    void aRefusedSaveIsReported() {
        QTemporaryDir folder;
        writeFile(folder.filePath("plain-file"), "");
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           folder.filePath("plain-file/settings"));
        CMainWnd window;
        window.open();
        answerSettings([](QDialog& dialog) { chooseLanguage(dialog, QStringLiteral("german")); });
        window.dispatchCommand(CMainWnd::CmdSettings);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           qEnvironmentVariable("XDG_CONFIG_HOME"));
        QCOMPARE(DialogSeams::askedMessages().size(), 1);
        QCOMPARE(DialogSeams::askedMessages().at(0).text, translate(Text::Settings_errorsave));
        QCOMPARE(DialogSeams::askedMessages().at(0).icon, QMessageBox::Warning);
        QCOMPARE(translate(Text::Settings_errorsave),
                 QStringLiteral("Die Einstellungen konnten nicht gespeichert werden."));

        // A store that takes them asks nothing.
        answerSettings([](QDialog&) {});
        window.dispatchCommand(CMainWnd::CmdSettings);
        QCOMPARE(DialogSeams::askedMessages().size(), 1);
        window.dispatchCommand(CMainWnd::CmdCancel);
    }

    void germanTakesEffectAtOnce() {
        QVERIFY(writeLanguagePath(QStringLiteral("lang\\english.lng")));
        CMainWnd window;
        window.open();
        QCOMPARE(headers(window).at(1), QStringLiteral("Date"));
        answerSettings([](QDialog& dialog) { chooseLanguage(dialog, QStringLiteral("german")); });
        window.dispatchCommand(CMainWnd::CmdSettings);
        QCOMPARE(storedLanguage(), QStringLiteral("lang\\german.lng"));
        QCOMPARE(window.commandAction(CMainWnd::CmdFileMenu)->text().remove('&'),
                 QStringLiteral("Datei"));
        QCOMPARE(window.commandAction(CMainWnd::CmdSettings)->text(),
                 translate(Text::menu_FileSettings));
        QVERIFY(translate(Text::menu_FileSettings) != QStringLiteral("Settings"));
        QCOMPARE(headers(window).at(1), translate(Text::FillList_Date));
        QCOMPARE(headers(window).at(1), QStringLiteral("Datum"));
        QCOMPARE(window.contextAction(CMainWnd::CmdEditFill)->text(),
                 translate(Text::context_FillEdit));
        window.dispatchCommand(CMainWnd::CmdCancel);
    }

    void columnsAndMethodChangeTheList() {
        writeDatabase();
        CMainWnd window;
        window.open();
        const QStringList toEmptyTank = consumptionColumn(window);
        QCOMPARE(window.listModel()->columnCount(), 7);
        answerSettings([](QDialog& dialog) {
            setColumns(dialog, 0x21); // date and consumption
            control<QRadioButton>(dialog, "fullTank")->setChecked(true);
        });
        window.dispatchCommand(CMainWnd::CmdSettings);
        QCOMPARE(window.listModel()->columnCount(), 2);
        QCOMPARE(window.listModel()->columnAt(0), CFillListModel::Date);
        QCOMPARE(window.listModel()->columnAt(1), CFillListModel::Consumption);
        const QStringList fullTank = consumptionColumn(window);
        QCOMPARE(fullTank.size(), 4);
        QCOMPARE(fullTank.at(0), QString());
        QCOMPARE(toEmptyTank.at(0), QString());
        for (int row = 1; row < 4; ++row) {
            QVERIFY(!fullTank.at(row).isEmpty());
            QVERIFY2(fullTank.at(row) != toEmptyTank.at(row), qPrintable(fullTank.at(row)));
        }
        window.dispatchCommand(CMainWnd::CmdCancel);
    }

    void debugModeOffHidesTheBoxAgain() {
        CRegistry::writeNumber(SettingsKey::DebugMode, 1);
        CMainWnd window;
        window.open();
        answerSettings(
            [](QDialog& dialog) { control<QCheckBox>(dialog, "debugMode")->setChecked(false); });
        window.dispatchCommand(CMainWnd::CmdSettings);
        QCOMPARE(storedNumber(SettingsKey::DebugMode), 0u);
        QVERIFY(!debugFlag());
        bool shown = true;
        answerSettings(
            [&](QDialog& dialog) { shown = control<QCheckBox>(dialog, "debugMode")->isVisible(); });
        window.dispatchCommand(CMainWnd::CmdSettings);
        QVERIFY(!shown);
        window.dispatchCommand(CMainWnd::CmdCancel);
    }

    // Clicks `delays` milliseconds apart beyond the test clicks' own half second, on the page's
    // background, on a control that passes clicks on, or on one that takes them.
    void clicksRevealDebugMode_data() {
        QTest::addColumn<QList<int>>("delays");
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("revealed");
        QTest::newRow("five quick") << QList<int>{0, 0, 0, 0, 0} << "background" << true;
        QTest::newRow("four quick") << QList<int>{0, 0, 0, 0} << "background" << false;
        QTest::newRow("five slow")
            << QList<int>{0, 1000, 1000, 1000, 1000} << "background" << false;
        QTest::newRow("too slow at the end")
            << QList<int>{0, 0, 0, 0, 1500} << "background" << false;
        QTest::newRow("slow start, then five quick")
            << QList<int>{0, 3000, 0, 0, 0, 0} << "background" << true;
        QTest::newRow("on a label") << QList<int>{0, 0, 0, 0, 0} << "languageLabel" << true;
        QTest::newRow("on a group") << QList<int>{0, 0, 0, 0, 0} << "columnsGroup" << true;
        QTest::newRow("on a check box") << QList<int>{0, 0, 0, 0, 0} << "columnDate" << false;
    }
    void clicksRevealDebugMode() {
        QFETCH(QList<int>, delays);
        QFETCH(QString, target);
        QFETCH(bool, revealed);
        CMainWnd window;
        window.open();
        bool shown = false;
        answerSettings([&](QDialog& dialog) {
            QWidget* widget = static_cast<CSettingsDlg&>(dialog).contentWidget();
            QPoint point = backgroundPoint(dialog);
            if (target != QLatin1String("background")) {
                widget = dialog.findChild<QWidget*>(target);
                // A check box takes clicks on its box and its text only.
                point = qobject_cast<QCheckBox*>(widget)
                            ? QPoint(8, widget->height() / 2)
                            : QPoint(widget->width() - 2, widget->height() - 2);
            }
            for (const int delay : delays)
                QTest::mouseClick(widget, Qt::LeftButton, {}, point, delay);
            // Five clicks on a check box have toggled it.
            if (auto* check = qobject_cast<QCheckBox*>(widget))
                QVERIFY(!check->isChecked());
            shown = control<QCheckBox>(dialog, "debugMode")->isVisible();
            if (shown) {
                QCOMPARE(dialog.focusWidget(), control<QCheckBox>(dialog, "debugMode"));
                QVERIFY(!control<QCheckBox>(dialog, "debugMode")->isChecked());
                control<QCheckBox>(dialog, "debugMode")->setChecked(true);
            }
        });
        window.dispatchCommand(CMainWnd::CmdSettings);
        QCOMPARE(shown, revealed);
        QCOMPARE(storedNumber(SettingsKey::DebugMode), revealed ? 1u : 0u);
        window.dispatchCommand(CMainWnd::CmdCancel);
    }

    void keyCombinationRevealsDebugMode() {
        CMainWnd window;
        window.open();
        bool shown = false;
        bool focused = false;
        answerSettings([&](QDialog& dialog) {
            dialog.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
            QTest::keySequence(&dialog, CSettingsDlg::revealShortcut());
            shown = control<QCheckBox>(dialog, "debugMode")->isVisible();
            focused = control<QCheckBox>(dialog, "debugMode")->hasFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        });
        window.dispatchCommand(CMainWnd::CmdSettings);
        QVERIFY(shown);
        QVERIFY(focused);
        QCOMPARE(storedNumber(SettingsKey::DebugMode), 1u);
        QVERIFY(debugFlag());
        window.dispatchCommand(CMainWnd::CmdCancel);
    }

    void tapSeries_data() {
        QTest::addColumn<QList<quint64>>("taps");
        QTest::addColumn<QList<bool>>("completes");
        QTest::newRow("three within the window")
            << QList<quint64>{100, 200, 1100} << QList<bool>{false, false, true};
        QTest::newRow("the window is measured from the first")
            << QList<quint64>{100, 1000, 1101, 1200, 1300}
            << QList<bool>{false, false, false, false, true};
        QTest::newRow("a series starts anew after completing")
            << QList<quint64>{0, 1, 2, 3, 4, 5}
            << QList<bool>{false, false, true, false, false, true};
        QTest::newRow("clock going backwards")
            << QList<quint64>{5000, 10, 20, 30} << QList<bool>{false, false, false, true};
    }
    void tapSeries() {
        QFETCH(QList<quint64>, taps);
        QFETCH(QList<bool>, completes);
        TapSeries series(3, 1000);
        QList<bool> results;
        for (const quint64 tap : taps)
            results.append(series.tap(tap));
        QCOMPARE(results, completes);
    }

    void nothingIsClipped_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("english") << "lang\\english.lng";
        QTest::newRow("czech") << "lang\\czech.lng";
        QTest::newRow("german") << "lang\\german.lng";
    }
    void nothingIsClipped() {
        QFETCH(QString, file);
        language().load(file, kSourceDir);
        CRegistry::writeNumber(SettingsKey::DebugMode, 1);
        CMainWnd window;
        window.open();
        QStringList clipped;
        answerSettings([&](QDialog& dialog) { clipped = clippedControls(dialog); });
        window.dispatchCommand(CMainWnd::CmdSettings);
        QCOMPARE(clipped, QStringList());
        DialogSeams::setNextDialogHandler([&](QDialog& dialog) {
            clipped = clippedControls(dialog);
            dialog.accept();
        });
        window.dispatchCommand(CMainWnd::CmdAbout);
        QCOMPARE(clipped, QStringList());
        window.dispatchCommand(CMainWnd::CmdCancel);
    }

    void aboutShowsVersionAndCredit_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("support");
        QTest::addColumn<QString>("credit");
        QTest::newRow("no language file") << ""
                                          << "About Tankometer"
                                          << "Email support:"
                                          << "";
        QTest::newRow("german") << "lang\\german.lng" << QString::fromUtf8("Über Tankometer")
                                << "Support per E-Mail:"
                                << "Deutsche Übersetzung: Tankometer-Team";
        QTest::newRow("markup stays text") << "markup.lng"
                                           << "<b>About</b>"
                                           << "Email support:"
                                           << "Translated by <i>Us</i> & co.";
    }
    void aboutShowsVersionAndCredit() {
        QFETCH(QString, file);
        QFETCH(QString, caption);
        QFETCH(QString, support);
        QFETCH(QString, credit);
        QTemporaryDir folder;
        writeFile(folder.filePath("markup.lng"),
                  "[about]\ncaption=<b>About</b>\ntranslation=Translated by <i>Us</i> & co.\n");
        if (file == QLatin1String("markup.lng"))
            language().load(file, folder.path());
        else if (!file.isEmpty())
            language().load(file, kSourceDir);

        CMainWnd window;
        window.open();
        QStringList shown;
        bool barWhileOpen = false;
        DialogSeams::setNextDialogHandler([&](QDialog& dialog) {
            barWhileOpen = window.commandAction(CMainWnd::CmdAbout) != nullptr;
            shown = QStringList{dialog.windowTitle(), control<QLabel>(dialog, "version")->text(),
                                control<QLabel>(dialog, "supportLabel")->text(),
                                control<QLabel>(dialog, "supportAddress")->text(),
                                control<QLabel>(dialog, "translation")->text()};
            for (const char* name : {"version", "supportLabel", "translation"})
                QCOMPARE(control<QLabel>(dialog, name)->textFormat(), Qt::PlainText);
            QVERIFY(!control<QLabel>(dialog, "icon")->pixmap().isNull());
            QTest::mouseClick(control<QPushButton>(dialog, "ok"), Qt::LeftButton);
        });
        window.dispatchCommand(CMainWnd::CmdAbout);
        QCOMPARE(DialogSeams::ranDialogs(), QList<QString>{"aboutDialog"});
        QCOMPARE(shown, (QStringList{caption, "Tankometer 1.2 ", support,
                                     CAboutDlg::supportAddress(), credit}));
        QVERIFY(barWhileOpen);
        window.dispatchCommand(CMainWnd::CmdCancel);
    }

    void aboutIsCentredOnTheMainWindow_data() {
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("topLeft");
        QTest::newRow("even") << QRect(100, 50, 400, 600) << QSize(200, 100) << QPoint(200, 300);
        QTest::newRow("odd sizes") << QRect(0, 0, 481, 641) << QSize(201, 101) << QPoint(140, 270);
        QTest::newRow("dialog larger")
            << QRect(10, 10, 100, 100) << QSize(300, 200) << QPoint(-90, -40);
        QTest::newRow("negative, halves down")
            << QRect(-301, -101, 101, 101) << QSize(3, 3) << QPoint(-252, -52);
    }
    void aboutIsCentredOnTheMainWindow() {
        QFETCH(QRect, frame);
        QFETCH(QSize, size);
        QFETCH(QPoint, topLeft);
        QCOMPARE(CAboutDlg::centredTopLeft(frame, size), topLeft);
    }
};

QTEST_MAIN(SettingsDlgTest)
#include "tst_settingsdlg.moc"
