#include "core/debuglog.h"
#include "core/paths.h"
#include "core/settings.h"
#include "db/fueldatabase.h"
#include "filebytes.h"
#include "localisation/language.h"
#include "ui/main/filllistmodel.h"
#include "ui/main/mainwnd.h"
#include "ui/messagebox.h"
#include "ui/settings/aboutdlg.h"
#include "ui/settings/settingsdlg.h"
#include "windowtest.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
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
#include <memory>

namespace {

const QString kSourceDir = QStringLiteral(TANKOMETER_SOURCE_DIR);
// The column boxes top to bottom, with their ColDef bits.
const std::pair<const char*, quint32> kColumns[] = {
    {"columnRecordNumber", 0x10}, {"columnDate", 0x01},     {"columnFuel", 0x02},
    {"columnCost", 0x04},         {"columnOdometer", 0x08}, {"columnConsumption", 0x20},
    {"columnEndurance", 0x40}};

template <typename T = QWidget> T* control(QDialog& dialog, const char* name) {
    T* found = dialog.findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

QCheckBox* debugBox(QDialog& dialog) {
    return control<QCheckBox>(dialog, "debugMode");
}

// Chooses the language file of that base name.
void chooseLanguage(QDialog& dialog, const QString& name) {
    auto* box = control<QComboBox>(dialog, "language");
    box->setCurrentIndex(box->findData(name + QStringLiteral(".lng")));
}

quint32 stored(QStringView name) {
    quint32 value = 0xdeadbeef;
    CRegistry::readValue(name, &value);
    return value;
}

QString storedLanguage() {
    QString path;
    return readLanguagePath(&path) ? path : QStringLiteral("<none>");
}

QStringList column(const CMainWnd& window, CFillListModel::Column shown) {
    QStringList cells;
    for (int row = 0; row < window.listModel()->rowCount(); ++row)
        cells.append(window.listModel()->cellText(row, shown));
    return cells;
}

// Shown widgets whose text is narrower, or lower, than it needs.
QStringList clippedControls(QDialog& dialog) {
    QStringList clipped;
    for (QWidget* widget : dialog.findChildren<QWidget*>()) {
        const bool text = qobject_cast<QLabel*>(widget) || qobject_cast<QAbstractButton*>(widget) ||
                          qobject_cast<QComboBox*>(widget);
        auto* group = qobject_cast<QGroupBox*>(widget);
        if (widget->isVisible() &&
            ((text && (widget->width() < widget->minimumSizeHint().width() ||
                       widget->height() < widget->minimumSizeHint().height())) ||
             (group && group->width() < group->fontMetrics().horizontalAdvance(group->title()))))
            clipped.append(widget->objectName());
    }
    return clipped;
}

} // namespace

class SettingsDlgTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { DialogSeams::enable(); }

    void init() {
        startWindowCase();
        setDebugFlag(false);
        setProgramFolderOverride(kSourceDir);
    }

    void cleanup() {
        m_window.reset();
        endWindowCase();
        setDebugFlag(false);
        setProgramFolderOverride(std::nullopt);
    }

    // The list holds the base names of the language files, the stored one selected (its file
    // name compared without regard to letter case); Done stores the selection whole.
    void languageList_data() {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QString>("storedAfterDone");
        const QStringList shipped{"english.lng", "czech.lng", "german.lng"};
        const QStringList names{"czech", "english", "german"};
        QTest::newRow("shipped") << shipped << "lang\\english.lng" << names << "lang\\english.lng";
        QTest::newRow("letter case, slash")
            << shipped << "LANG/German.LNG" << names << "lang\\german.lng";
        QTest::newRow("file gone") << shipped << "lang\\french.lng" << names << "lang\\.lng";
        QTest::newRow("sorted without case, extension kept")
            << QStringList{"b.lng", "C.LNG", "a.lng", "notes.txt", "pt.br.lng"} << "c.lng"
            << QStringList{"a", "b", "C", "pt.br"} << "lang\\C.LNG";
        QTest::newRow("no files") << QStringList{} << "lang\\english.lng" << QStringList{}
                                  << "lang\\.lng";
        const QString longName = "a-language-file-with-a-name-of-" + QString(100, u'x');
        QTest::newRow("long name")
            << QStringList{"english.lng", longName + ".lng"} << "lang\\" + longName + ".lng"
            << QStringList{longName, "english"} << "lang\\" + longName + ".lng";
    }
    void languageList() {
        QFETCH(QStringList, files);
        QFETCH(QString, stored);
        QFETCH(QStringList, listed);
        QFETCH(QString, storedAfterDone);
        QTemporaryDir folder;
        QVERIFY(QDir(folder.path()).mkpath("lang"));
        for (const QString& file : files)
            writeAll(folder.filePath("lang/" + file), "[menu]\nMainFile=" + file.toUtf8() + "\n");
        setProgramFolderOverride(folder.path());
        QVERIFY(writeLanguagePath(stored));
        QStringList shown;
        QString current;
        runSettings([&](QDialog& dialog) {
            auto* box = control<QComboBox>(dialog, "language");
            for (int i = 0; i < box->count(); ++i)
                shown.append(box->itemText(i));
            current = box->currentText();
        });
        QCOMPARE(shown, listed);
        QCOMPARE(current, QFileInfo(storedAfterDone.mid(5)).completeBaseName());
        QCOMPARE(storedLanguage(), storedAfterDone);
        // The stored file is the one loaded.
        const QString fileName = storedAfterDone.mid(5);
        QCOMPARE(m_window->commandAction(CMainWnd::CmdFileMenu)->text().remove('&'),
                 files.contains(fileName) ? fileName : QStringLiteral("File"));
    }

    // What the page shows for the stored settings, and what Done then stores: all four values.
    void storedSettingsAreShown_data() {
        QTest::addColumn<QVariantList>("values"); // ColDef, DebugMode, FillingMethod; null: none
        QTest::addColumn<quint32>("columns");
        QTest::addColumn<bool>("debugShown");
        QTest::addColumn<quint32>("method");
        QTest::newRow("nothing stored") << QVariantList{{}, {}, {}} << 0x7fu << false << 2u;
        QTest::newRow("date fuel number") << QVariantList{0x13, 0, 1} << 0x13u << false << 1u;
        QTest::newRow("no columns") << QVariantList{0, 1, 2} << 0u << true << 2u;
        QTest::newRow("high bits ignored") << QVariantList{0xff08, 7, 3} << 0x08u << true << 1u;
        QTest::newRow("not numbers") << QVariantList{"many", "x", "y"} << 0x7fu << false << 2u;
    }
    void storedSettingsAreShown() {
        QFETCH(QVariantList, values);
        QFETCH(quint32, columns);
        QFETCH(bool, debugShown);
        QFETCH(quint32, method);
        const QString names[] = {"ColDef", "DebugMode", "FillingMethod"};
        for (int i = 0; i < 3; ++i) {
            if (!values.at(i).isNull())
                programSettings().setValue(names[i], values.at(i));
        }
        runSettings([&](QDialog& dialog) {
            quint32 checked = 0;
            for (const auto& [name, bit] : kColumns)
                checked |= control<QCheckBox>(dialog, name)->isChecked() ? bit : 0;
            QCOMPARE(checked, columns);
            QCOMPARE(debugBox(dialog)->isVisible(), debugShown);
            QCOMPARE(debugBox(dialog)->isChecked(), debugShown);
            QCOMPARE(control<QRadioButton>(dialog, "emptyTank")->isChecked(), method == 2);
            QCOMPARE(control<QRadioButton>(dialog, "fullTank")->isChecked(), method == 1);
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Settings"));
        });
        QCOMPARE(storedLanguage(), QStringLiteral("lang\\.lng")); // none was stored
        QCOMPARE(stored(SettingsKey::ColDef), columns);
        QCOMPARE(stored(SettingsKey::DebugMode), debugShown ? 1u : 0u);
        QCOMPARE(stored(SettingsKey::FillingMethod), method);
        QCOMPARE(debugFlag(), debugShown);
    }

    // The boxes of the columns that follow the log show what the list shows; one the user
    // changes keeps the user's choice, one left alone goes on following the log.
    void columnsThatFollowTheLog_data() {
        QTest::addColumn<bool>("toggleEndurance");
        QTest::addColumn<bool>("enduranceAfter");
        QTest::addColumn<quint32>("chosenAfter"); // 0xdeadbeef: none stored
        QTest::newRow("left alone") << false << false << 0xdeadbeefu;
        QTest::newRow("endurance shown") << true << true << 0x40u;
    }
    void columnsThatFollowTheLog() {
        QFETCH(bool, toggleEndurance);
        QFETCH(bool, enduranceAfter);
        QFETCH(quint32, chosenAfter);
        CFuelDatabase database(databaseFilePath());
        LogUnits units;
        units.consumption = ConsumptionUnit::KmPerLitre;
        database.setNewLogUnits(units);
        QVERIFY(database.save());
        runSettings([toggleEndurance](QDialog& dialog) {
            auto* endurance = control<QCheckBox>(dialog, "columnEndurance");
            QVERIFY(!endurance->isChecked());
            if (toggleEndurance)
                endurance->click();
        });
        QCOMPARE(stored(SettingsKey::ColumnsChosen), chosenAfter);
        m_window->buildList();
        QCOMPARE(m_window->listModel()->positionOf(CFillListModel::Endurance) >= 0, enduranceAfter);
    }

    // Done keeps the choices; Cancel, Escape and the close button leave the settings as they
    // were.
    void onlyDoneKeepsTheChoices_data() {
        QTest::addColumn<int>("how");
        QTest::addColumn<bool>("kept");
        QTest::newRow("done") << 0 << true;
        QTest::newRow("cancel") << 1 << false;
        QTest::newRow("escape") << 2 << false;
        QTest::newRow("closed") << 3 << false;
    }
    void onlyDoneKeepsTheChoices() {
        QFETCH(int, how);
        QFETCH(bool, kept);
        CRegistry::writeNumber(SettingsKey::DebugMode, 1);
        CRegistry::writeNumber(SettingsKey::FillingMethod, 2);
        openWindow();
        bool barWhileOpen = true;
        DialogSeams::setNextDialogHandler([&](QDialog& dialog) {
            barWhileOpen = m_window->commandAction(CMainWnd::CmdSettings) != nullptr;
            control<QRadioButton>(dialog, "fullTank")->setChecked(true);
            debugBox(dialog)->setChecked(false);
            if (how == 0)
                QTest::mouseClick(control<QPushButton>(dialog, "done"), Qt::LeftButton);
            else if (how == 1)
                QTest::mouseClick(control<QPushButton>(dialog, "cancel"), Qt::LeftButton);
            else if (how == 2)
                QTest::keyClick(control(dialog, "language"), Qt::Key_Escape);
            else
                dialog.close();
            QVERIFY(!dialog.isVisible());
        });
        m_window->dispatchCommand(CMainWnd::CmdSettings);
        QVERIFY(barWhileOpen); // the menu bar stays in place around the dialog
        QVERIFY(m_window->commandAction(CMainWnd::CmdSettings));
        QCOMPARE(stored(SettingsKey::FillingMethod), kept ? 1u : 2u);
        QCOMPARE(stored(SettingsKey::DebugMode), kept ? 0u : 1u);
        // Switched off, the box is hidden again at the next opening.
        bool shown = true;
        runSettings([&](QDialog& dialog) { shown = debugBox(dialog)->isVisible(); });
        QCOMPARE(shown, !kept);
    }

    // The list names each shipped language in its own words; a language chosen shows at once in
    // the page's texts and Qt's buttons, and goes back when the page is cancelled. After Done,
    // Qt's own texts (standard buttons, file dialogs) follow it.
    void aChosenLanguageShowsAtOnce() {
        QVERIFY(writeLanguagePath("lang\\english.lng"));
        openWindow();
        const auto cancelText = [] {
            return QDialogButtonBox(QDialogButtonBox::Cancel)
                .button(QDialogButtonBox::Cancel)
                ->text();
        };
        QStringList names;
        QStringList german;
        DialogSeams::setNextDialogHandler([&](QDialog& dialog) {
            auto* box = control<QComboBox>(dialog, "language");
            for (int i = 0; i < box->count(); ++i)
                names.append(box->itemText(i));
            chooseLanguage(dialog, "german");
            german = {dialog.windowTitle(), control<QPushButton>(dialog, "done")->text(),
                      control<QPushButton>(dialog, "cancel")->text(),
                      control<QGroupBox>(dialog, "columnsGroup")->title()};
            dialog.reject();
        });
        m_window->dispatchCommand(CMainWnd::CmdSettings);
        QCOMPARE(names, (QStringList{"Deutsch", "English", "\u010ce\u0161tina"}));
        QCOMPARE(german, (QStringList{"Einstellungen", "Fertig", "Abbrechen", "Spalten"}));
        QCOMPARE(storedLanguage(), QStringLiteral("lang\\english.lng"));
        QCOMPARE(cancelText(), QStringLiteral("Cancel"));

        runSettings([](QDialog& dialog) { chooseLanguage(dialog, "german"); });
        QCOMPARE(cancelText(), QStringLiteral("Abbrechen"));
        QCOMPARE(QCoreApplication::translate("QFileDialog", "File &name:"),
                 QStringLiteral("Datei&name:"));
        runSettings([](QDialog& dialog) { chooseLanguage(dialog, "english"); });
        QCOMPARE(cancelText(), QStringLiteral("Cancel"));
    }

    void germanTakesEffectAtOnce() {
        QVERIFY(writeLanguagePath("lang\\english.lng"));
        openWindow();
        QCOMPARE(m_window->listModel()->headerData(1, Qt::Horizontal).toString(), "Date");
        runSettings([](QDialog& dialog) { chooseLanguage(dialog, "german"); });
        QCOMPARE(storedLanguage(), QStringLiteral("lang\\german.lng"));
        QCOMPARE(m_window->commandAction(CMainWnd::CmdFileMenu)->text(), "&Datei");
        QCOMPARE(shownText(m_window->commandAction(CMainWnd::CmdSettings)->text()),
                 "Einstellungen\u2026");
        QCOMPARE(m_window->listModel()->headerData(1, Qt::Horizontal).toString(), "Datum");
    }

    void columnsAndMethodChangeTheList() {
        // Fills 500 km apart with different amounts: the methods differ for all but the first.
        CFuelDatabase database(databaseFilePath());
        const float fuels[] = {30.0f, 40.0f, 25.0f, 50.0f};
        for (int i = 0; i < 4; ++i) {
            FillRecord fill;
            fill.odometer = 1000 + 500 * i;
            fill.fuel = fuels[i];
            fill.dateTime = FileTime::fromValue((154000ull + quint64(i)) * 864000000000ull);
            database.insertFill(fill);
        }
        QVERIFY(database.save());
        openWindow();
        const QStringList toEmptyTank = column(*m_window, CFillListModel::Consumption);
        runSettings([](QDialog& dialog) {
            for (const auto& [name, bit] : kColumns)
                control<QCheckBox>(dialog, name)->setChecked((bit & 0x21) != 0);
            control<QRadioButton>(dialog, "fullTank")->setChecked(true);
        });
        QCOMPARE(m_window->listModel()->columnCount(), 2);
        QCOMPARE(m_window->listModel()->columnAt(1), CFillListModel::Consumption);
        const QStringList fullTank = column(*m_window, CFillListModel::Consumption);
        QCOMPARE(fullTank.at(0), QString());
        QCOMPARE(toEmptyTank.at(0), QString());
        for (int row = 1; row < 4; ++row)
            QVERIFY(!fullTank.at(row).isEmpty() && fullTank.at(row) != toEmptyTank.at(row));
    }

    // Clicks `delays` milliseconds apart beyond the test clicks' own half second, on the page's
    // background, on a control that passes clicks on, or on one that takes them.
    void clicksRevealDebugMode_data() {
        QTest::addColumn<QList<int>>("delays");
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("revealed");
        const QList<int> five{0, 0, 0, 0, 0};
        QTest::newRow("five quick") << five << "content" << true;
        QTest::newRow("four quick") << QList<int>{0, 0, 0, 0} << "content" << false;
        QTest::newRow("five slow") << QList<int>{0, 1000, 1000, 1000, 1000} << "content" << false;
        QTest::newRow("last too late") << QList<int>{0, 0, 0, 0, 1500} << "content" << false;
        QTest::newRow("slow, then quick") << QList<int>{0, 3000, 0, 0, 0, 0} << "content" << true;
        QTest::newRow("on a label") << five << "languageLabel" << true;
        QTest::newRow("on a group") << five << "columnsGroup" << true;
        QTest::newRow("on a check box") << five << "columnDate" << false;
    }
    void clicksRevealDebugMode() {
        QFETCH(QList<int>, delays);
        QFETCH(QString, target);
        QFETCH(bool, revealed);
        bool shown = false;
        runSettings([&](QDialog& dialog) {
            QWidget* widget = dialog.findChild<QWidget*>(target);
            // Where no child lies; a check box takes clicks on its box and its text only.
            const QPoint point = qobject_cast<QCheckBox*>(widget)
                                     ? QPoint(8, widget->height() / 2)
                                     : QPoint(widget->width() - 2, widget->height() - 2);
            QVERIFY(qobject_cast<QCheckBox*>(widget) || !widget->childAt(point));
            for (const int delay : delays)
                QTest::mouseClick(widget, Qt::LeftButton, {}, point, delay);
            if (auto* check = qobject_cast<QCheckBox*>(widget))
                QVERIFY(!check->isChecked()); // the clicks reached it
            shown = debugBox(dialog)->isVisible();
            if (shown) {
                QCOMPARE(dialog.focusWidget(), debugBox(dialog));
                debugBox(dialog)->setChecked(true);
            }
        });
        QCOMPARE(shown, revealed);
        QCOMPARE(stored(SettingsKey::DebugMode), revealed ? 1u : 0u);
    }

    void keyCombinationRevealsDebugMode() {
        bool shown = false;
        runSettings([&](QDialog& dialog) {
            dialog.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
            QTest::keySequence(&dialog, CSettingsDlg::revealShortcut());
            shown = debugBox(dialog)->isVisible() && debugBox(dialog)->hasFocus();
            QTest::keyClick(debugBox(dialog), Qt::Key_Space);
        });
        QVERIFY(shown);
        QCOMPARE(stored(SettingsKey::DebugMode), 1u);
        QVERIFY(debugFlag());
    }

    // A store that refuses the writes is reported; the language is in use all the same.
    void aRefusedSaveIsReported() {
        QTemporaryDir folder;
        writeAll(folder.filePath("plain-file"), "");
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           folder.filePath("plain-file/settings"));
        runSettings([](QDialog& dialog) { chooseLanguage(dialog, "german"); });
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           qEnvironmentVariable("XDG_CONFIG_HOME"));
        QCOMPARE(DialogSeams::askedMessages().size(), 1);
        QCOMPARE(DialogSeams::askedMessages().at(0).text,
                 "Die Einstellungen konnten nicht gespeichert werden.");
        // A store that takes them asks nothing.
        runSettings([](QDialog&) {});
        QCOMPARE(DialogSeams::askedMessages().size(), 1);
    }

    void nothingIsClipped_data() {
        QTest::addColumn<QString>("file");
        for (const char* name : {"english", "czech", "german"})
            QTest::newRow(name) << QStringLiteral("lang\\%1.lng").arg(QLatin1String(name));
    }
    void nothingIsClipped() {
        QFETCH(QString, file);
        language().load(file, kSourceDir);
        CRegistry::writeNumber(SettingsKey::DebugMode, 1);
        QStringList clipped;
        runSettings([&](QDialog& dialog) { clipped = clippedControls(dialog); });
        QCOMPARE(clipped, QStringList());
        DialogSeams::setNextDialogHandler([&](QDialog& dialog) {
            clipped = clippedControls(dialog);
            dialog.accept();
        });
        m_window->dispatchCommand(CMainWnd::CmdAbout);
        QCOMPARE(clipped, QStringList());
    }

    void aboutShowsVersionAndCredit_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("texts"); // caption, support label, credit
        QTest::newRow("no language file")
            << "" << QStringList{"About Tankometer", "Email support:", ""};
        QTest::newRow("german") << "lang\\german.lng"
                                << QStringList{"Über Tankometer", "Support per E-Mail:",
                                               "Deutsche Übersetzung: Tankometer-Team"};
        QTest::newRow("markup stays text")
            << "markup.lng"
            << QStringList{"<b>About</b>", "Email support:", "Translated by <i>Us</i> & co."};
    }
    void aboutShowsVersionAndCredit() {
        QFETCH(QString, file);
        QFETCH(QStringList, texts);
        QTemporaryDir folder;
        writeAll(folder.filePath("markup.lng"),
                 "[about]\ncaption=<b>About</b>\ntranslation=Translated by <i>Us</i> & co.\n");
        if (!file.isEmpty())
            language().load(file, file == "markup.lng" ? folder.path() : kSourceDir);
        openWindow();
        QStringList shown;
        DialogSeams::setNextDialogHandler([&](QDialog& dialog) {
            QVERIFY(m_window->commandAction(CMainWnd::CmdAbout)); // the bar stays
            shown.append(dialog.windowTitle());
            for (const char* name : {"version", "supportLabel", "supportAddress", "translation"}) {
                shown.append(control<QLabel>(dialog, name)->text());
                QCOMPARE(control<QLabel>(dialog, name)->textFormat(), Qt::PlainText);
            }
            QVERIFY(!control<QLabel>(dialog, "icon")->pixmap().isNull());
            QTest::mouseClick(control<QPushButton>(dialog, "ok"), Qt::LeftButton);
        });
        m_window->dispatchCommand(CMainWnd::CmdAbout);
        QCOMPARE(DialogSeams::ranDialogs(), QList<QString>{"aboutDialog"});
        QCOMPARE(shown, (QStringList{texts.at(0), "Tankometer 1.2 ", texts.at(1),
                                     CAboutDlg::supportAddress(), texts.at(2)}));
    }

    // Halves round down, also at negative coordinates.
    void aboutIsCentredOnTheMainWindow() {
        QCOMPARE(CAboutDlg::centredTopLeft({0, 0, 481, 641}, {201, 101}), QPoint(140, 270));
        QCOMPARE(CAboutDlg::centredTopLeft({10, 10, 100, 100}, {300, 200}), QPoint(-90, -40));
        QCOMPARE(CAboutDlg::centredTopLeft({-301, -101, 101, 101}, {3, 3}), QPoint(-252, -52));
    }

private:
    void openWindow() {
        if (m_window)
            return;
        m_window = std::make_unique<TestWindow>();
        m_window->open();
    }
    // Runs Settings from the main window: `change` sees the page shown, then Done is pressed.
    void runSettings(std::function<void(QDialog&)> change) {
        openWindow();
        DialogSeams::setNextDialogHandler([change](QDialog& dialog) {
            change(dialog);
            QTest::mouseClick(control<QPushButton>(dialog, "done"), Qt::LeftButton);
        });
        m_window->dispatchCommand(CMainWnd::CmdSettings);
    }

    std::unique_ptr<CMainWnd> m_window;
};

QTEST_MAIN(SettingsDlgTest)
#include "tst_settingsdlg.moc"
