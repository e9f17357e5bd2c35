#include "core/debuglog.h"
#include "core/logdocument.h"
#include "core/paths.h"
#include "db/calendar.h"
#include "db/formats.h"
#include "db/regional.h"
#include "localisation/language.h"
#include "ui/fill/filldlg.h"
#include "ui/main/filllistmodel.h"
#include "ui/main/mainwnd.h"
#include "ui/messagebox.h"
#include "windowtest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <functional>
#include <limits>
#include <memory>

namespace {

FileTime parseDateTime(const QString& date, const QString& time) {
    FileTime result;
    readDateTime(date, time, &result);
    return result;
}

int storeFill(CLogDocument& log, const QString& station, const QString& date, qint32 odometer,
              const QString& driver = "Jan") {
    FillRecord fill;
    fill.dateTime = parseDateTime(date, "8:00:00");
    fill.odometer = odometer;
    return log.addFill(station, fill, driver);
}

QString stationOf(const CFuelDatabase& database, int row) {
    return fieldText(database.getStation(database.getFill(row)->stationId)->name);
}

QString driverOf(const CFuelDatabase& database, int row) {
    return fieldText(database.getDriver(database.getFill(row)->driverId)->name);
}

QByteArray bytesOf(const FillRecord* fill) {
    return QByteArray(reinterpret_cast<const char*>(fill), sizeof(FillRecord));
}

template <typename T> T* control(QDialog& dialog, const char* name) {
    T* found = dialog.findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}
QLineEdit* field(QDialog& dialog, const char* name) {
    return control<QLineEdit>(dialog, name);
}
QComboBox* box(QDialog& dialog, const char* name) {
    return control<QComboBox>(dialog, name);
}

// Answers the next fill dialog: `fillIn` sees it shown and sets its fields, then OK is pressed.
// The number fields a new fill shows empty, which do not read, hold readable numbers first.
void answerWithOk(std::function<void(QDialog&)> fillIn) {
    DialogSeams::setNextDialogHandler([fillIn](QDialog& dialog) {
        for (const char* name : {"odometer", "fuel", "cost"}) {
            if (QLineEdit* number = control<QLineEdit>(dialog, name); number->text().isEmpty())
                number->setText("1");
        }
        fillIn(dialog);
        QTest::mouseClick(control<QPushButton>(dialog, "ok"), Qt::LeftButton);
    });
}

QStringList shownTexts(QDialog& dialog) {
    QStringList texts;
    for (const char* name : {"odometer", "fuel", "cost", "notes", "date", "time"})
        texts.append(field(dialog, name)->text());
    texts.append(box(dialog, "station")->currentText());
    texts.append(box(dialog, "driver")->currentText());
    return texts;
}

// The log's messages without their time stamps.
QList<QByteArray> logMessages() {
    QFile file(debugLogPath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<QByteArray> messages;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (!line.isEmpty())
            messages.append(line.mid(line.indexOf("] ") + 2).chopped(1));
    }
    return messages;
}

} // namespace

class FillDlgTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        DialogSeams::enable();
        setRegionalSettingsOverride(RegionalSettings{QLatin1Char(','), ".", 1, QLatin1Char('.')});
    }
    void init() {
        DialogSeams::reset();
        language().clear();
        setDebugFlag(false);
        QFile::remove(databaseFilePath());
        QFile::remove(debugLogPath());
        m_window = std::make_unique<TestWindow>();
        m_window->open();
    }
    void cleanup() { m_window.reset(); }

    void aNewFillStartsWithNowAndEmptyFields() {
        CLogDocument& log = m_window->document();
        storeFill(log, "Shell", "1.2.2020", 1000, "Jan");
        storeFill(log, "aral", "2.2.2020", 1500, "Eva");
        storeFill(log, "BP", "3.2.2020", 2000, "Eva");
        m_window->buildList();

        const FileTime before = currentLocalFileTime();
        QStringList texts;
        QStringList stations;
        QStringList focusOrder;
        DialogSeams::setNextDialogHandler([&](QDialog& dialog) {
            texts = shownTexts(dialog);
            QComboBox* station = box(dialog, "station");
            for (int i = 0; i < station->count(); ++i)
                stations.append(station->itemText(i));
            QVERIFY(!control<QCheckBox>(dialog, "partial")->isChecked());
            QVERIFY(!control<QCheckBox>(dialog, "missedBefore")->isChecked());
            for (int i = 0; i < 12; ++i) {
                QWidget* focus = dialog.focusWidget();
                // An editable combo box has the focus in its line edit.
                if (qobject_cast<QComboBox*>(focus->parentWidget()))
                    focus = focus->parentWidget();
                focusOrder.append(focus->objectName());
                QTest::keyClick(dialog.focusWidget(), Qt::Key_Tab);
            }
            dialog.reject();
        });
        m_window->dispatchCommand(CMainWnd::CmdAddFill);
        const FileTime after = currentLocalFileTime();

        QCOMPARE(texts.size(), 8);
        QCOMPARE(texts.mid(0, 4), QStringList(4, QString()));
        QCOMPARE(texts.mid(6), QStringList(2, QString()));
        const FileTime shown = parseDateTime(texts[4], texts[5]);
        QVERIFY(shown.value() >= before.value() && shown.value() <= after.value());
        QCOMPARE(stations, (QStringList{"aral", "BP", "Shell"}));
        QCOMPARE(focusOrder,
                 (QStringList{"station", "odometer", "fuel", "cost", "notes", "date", "time",
                              "driver", "partial", "missedBefore", "ok", "cancel"}));
    }

    void anEditShowsTheFillAndOkKeepsIt() {
        CLogDocument& log = m_window->document();
        const CFuelDatabase& database = log.database();
        storeFill(log, "Aral", "2.2.2004", 1500, "Eva");
        FillRecord fill;
        fill.odometer = 123456;
        fill.fuel = 40.5f;
        fill.cost = 1234.5f;
        fill.dateTime = parseDateTime("18.5.2004", "10:30:15");
        setFieldText(fill.notes, "Winter");
        const int row = log.addFill("Shell", fill, "Jan", {true, false});
        m_window->selectRow(row);
        const QByteArray before = bytesOf(database.getFill(row));

        QStringList texts;
        int stationIndex = -1;
        answerWithOk([&](QDialog& dialog) {
            texts = shownTexts(dialog);
            stationIndex = box(dialog, "station")->currentIndex();
            // The flags as stored; the second is set from the keyboard.
            QVERIFY(control<QCheckBox>(dialog, "partial")->isChecked());
            auto* missed = control<QCheckBox>(dialog, "missedBefore");
            QVERIFY(!missed->isChecked());
            missed->setFocus();
            QTest::keyClick(missed, Qt::Key_Space);
        });
        m_window->dispatchCommand(CMainWnd::CmdEditFill);

        QCOMPARE(texts, (QStringList{"123456", "40,50", "1234,50", "Winter", "18.5.2004",
                                     "10:30:15", "Shell", "Jan"}));
        QCOMPARE(stationIndex, 1);
        QCOMPARE(bytesOf(database.getFill(row)), before);
        QCOMPARE(database.getFillFlags(row), (FillFlags{true, true}));
        QCOMPARE(database.getStationCount(), 2);
        QCOMPARE(database.getDriverCount(), 2);
        QCOMPARE(m_window->currentRow(), row);
    }

    void typedNamesAreFoundOrAdded() {
        CLogDocument& log = m_window->document();
        const CFuelDatabase& database = log.database();
        storeFill(log, "Shell", "1.2.2020", 1000, "Jan");
        m_window->buildList();

        // A new name that begins like a known one stays as typed.
        answerWithOk([](QDialog& dialog) {
            QTest::keyClicks(box(dialog, "station")->lineEdit(), "Sh");
            QTest::keyClicks(box(dialog, "driver")->lineEdit(), "Petr");
            field(dialog, "date")->setText("2.2.2020");
            field(dialog, "fuel")->setText("12,5");
        });
        m_window->dispatchCommand(CMainWnd::CmdAddFill);
        QCOMPARE(database.getFillCount(), 2);
        QCOMPARE(stationOf(database, 1), QString("Sh"));
        QCOMPARE(driverOf(database, 1), QString("Petr"));
        QCOMPARE(database.getFill(1)->fuel, 12.5f);

        // Known names in other letter case find the known records.
        answerWithOk([](QDialog& dialog) {
            box(dialog, "station")->setEditText("SHELL");
            box(dialog, "driver")->setEditText("jan");
            field(dialog, "date")->setText("3.2.2020");
        });
        m_window->dispatchCommand(CMainWnd::CmdAddFill);
        QCOMPARE(database.getStationCount(), 2);
        QCOMPARE(database.getFill(2)->stationId, 0);
        QCOMPARE(database.getFill(2)->driverId, 0);

        // An empty driver field refers to a driver with an empty name.
        answerWithOk([](QDialog& dialog) {
            box(dialog, "station")->setEditText("Shell");
            field(dialog, "date")->setText("4.2.2020");
        });
        m_window->dispatchCommand(CMainWnd::CmdAddFill);
        QCOMPARE(database.getDriverCount(), 3);
        QCOMPARE(database.getFill(3)->driverId, 2);
        QCOMPARE(driverOf(database, 3), QString());
    }

    void aFillBeforeAllOthersBecomesTheFirstRow() {
        CLogDocument& log = m_window->document();
        const CFuelDatabase& database = log.database();
        storeFill(log, "Shell", "1.2.2020", 1000);
        storeFill(log, "Shell", "1.3.2020", 1500);
        m_window->buildList();
        answerWithOk([](QDialog& dialog) {
            field(dialog, "odometer")->setText("500");
            field(dialog, "date")->setText("31.12.2019");
            field(dialog, "time")->setText("23:59:59");
        });
        m_window->dispatchCommand(CMainWnd::CmdAddFill);

        QCOMPARE(database.getFill(0)->odometer, 500);
        QCOMPARE(m_window->currentRow(), 0);
        const CFillListModel* model = m_window->listModel();
        QCOMPARE(model->rowCount(), 3);
        QCOMPARE(model->cellText(0, CFillListModel::RecordNumber), QString("1."));
        QCOMPARE(model->cellText(0, CFillListModel::Date), QString("31.12.2019"));
        QCOMPARE(model->cellText(2, CFillListModel::RecordNumber), QString("3."));
        QCOMPARE(model->cellText(2, CFillListModel::Odometer), QString("1500"));
    }

    void anEditRenamesTheStationOfEveryFillAndMovesTheFill() {
        CLogDocument& log = m_window->document();
        const CFuelDatabase& database = log.database();
        for (int day = 1; day <= 3; ++day)
            storeFill(log, "Shell", QString("%1.2.2020").arg(day), 1000 * day);
        storeFill(log, "Aral", "4.2.2020", 4000);
        m_window->buildList();
        m_window->selectRow(0);
        answerWithOk([](QDialog& dialog) {
            box(dialog, "station")->setEditText("OMV Brno");
            box(dialog, "driver")->setEditText("Jana");
            field(dialog, "date")->setText("9.2.2020");
        });
        m_window->dispatchCommand(CMainWnd::CmdEditFill);

        QCOMPARE(database.getStationCount(), 2);
        QCOMPARE(database.getDriverCount(), 1);
        QCOMPARE(database.getFill(3)->odometer, 1000);
        QCOMPARE(m_window->currentRow(), 3);
        QCOMPARE(m_window->listModel()->cellText(3, CFillListModel::Odometer), QString("1000"));
        for (const int row : {0, 1, 3}) {
            QCOMPARE(stationOf(database, row), QString("OMV Brno"));
            QCOMPARE(driverOf(database, row), QString("Jana"));
        }
        QCOMPARE(stationOf(database, 2), QString("Aral"));
    }

    // A station or driver name that another one already has (letter case ignored) moves the
    // edited fill there and the old one keeps its name; a name no other has renames the old
    // one for all its fills. Fills 0 and 1 are at Shell with Jan, fill 2 at Aral with Eva.
    void anEditReassignsOrRenames_data() {
        QTest::addColumn<QString>("station");
        QTest::addColumn<QString>("driver");
        QTest::addColumn<QStringList>("stations"); // of fills 0, 1, 2
        QTest::addColumn<QStringList>("drivers");
        QTest::newRow("another station")
            << "aral"
            << "Jan" << QStringList{"Aral", "Shell", "Aral"} << QStringList{"Jan", "Jan", "Eva"};
        QTest::newRow("another driver")
            << "Shell"
            << "EVA" << QStringList{"Shell", "Shell", "Aral"} << QStringList{"Eva", "Jan", "Eva"};
        QTest::newRow("a new name renames")
            << "OMV"
            << "Jana" << QStringList{"OMV", "OMV", "Aral"} << QStringList{"Jana", "Jana", "Eva"};
        QTest::newRow("its own name in capitals")
            << "SHELL"
            << "Jan" << QStringList{"SHELL", "SHELL", "Aral"} << QStringList{"Jan", "Jan", "Eva"};
    }
    void anEditReassignsOrRenames() {
        QFETCH(QString, station);
        QFETCH(QString, driver);
        QFETCH(QStringList, stations);
        QFETCH(QStringList, drivers);
        CLogDocument& log = m_window->document();
        const CFuelDatabase& database = log.database();
        storeFill(log, "Shell", "1.2.2020", 1000, "Jan");
        storeFill(log, "Shell", "2.2.2020", 1500, "Jan");
        storeFill(log, "Aral", "3.2.2020", 2000, "Eva");
        m_window->buildList();
        m_window->selectRow(0);
        answerWithOk([&](QDialog& dialog) {
            box(dialog, "station")->setEditText(station);
            box(dialog, "driver")->setEditText(driver);
        });
        m_window->dispatchCommand(CMainWnd::CmdEditFill);
        QStringList shownStations;
        QStringList shownDrivers;
        for (int row = 0; row < 3; ++row) {
            shownStations << stationOf(database, row);
            shownDrivers << driverOf(database, row);
        }
        QCOMPARE(shownStations, stations);
        QCOMPARE(shownDrivers, drivers);
        QCOMPARE(database.getStationCount(), 2);
        QCOMPARE(database.getDriverCount(), 2);
    }

    // OK with a date or time that does not read names the field, keeps the dialog open with
    // that field focused and changes nothing; "h:m" reads as h:m:00.
    void unreadableDatesKeepTheDialogOpen_data() {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("time");
        QTest::addColumn<QString>("wrongField"); // empty: accepted
        QTest::addColumn<QString>("stored");
        QTest::newRow("30 February") << "30.2.2004"
                                     << "8:00:00"
                                     << "date"
                                     << "";
        QTest::newRow("hour 25") << "1.3.2004"
                                 << "25:00:00"
                                 << "time"
                                 << "";
        QTest::newRow("letters") << "abc"
                                 << "8:00:00"
                                 << "date"
                                 << "";
        QTest::newRow("letters in the time") << "1.3.2004"
                                             << "noon"
                                             << "time"
                                             << "";
        QTest::newRow("hours and minutes") << "1.3.2004"
                                           << "10:30"
                                           << ""
                                           << "1.3.2004 10:30:00";
    }
    void unreadableDatesKeepTheDialogOpen() {
        QFETCH(QString, date);
        QFETCH(QString, time);
        QFETCH(QString, wrongField);
        QFETCH(QString, stored);
        CLogDocument& log = m_window->document();
        const CFuelDatabase& database = log.database();
        storeFill(log, "Shell", "1.2.2020", 1000);
        storeFill(log, "Shell", "2.2.2020", 1500);
        m_window->buildList();
        m_window->selectRow(1);
        const QByteArray before = bytesOf(database.getFill(1));
        bool stillOpen = false;
        bool unchanged = false;
        QString focused;
        DialogSeams::setNextDialogHandler([&](QDialog& dialog) {
            field(dialog, "date")->setText(date);
            field(dialog, "time")->setText(time);
            QTest::mouseClick(control<QPushButton>(dialog, "ok"), Qt::LeftButton);
            stillOpen = dialog.isVisible();
            focused = dialog.focusWidget() ? dialog.focusWidget()->objectName() : QString();
            unchanged = bytesOf(database.getFill(1)) == before;
            if (stillOpen) { // the user puts it right
                field(dialog, "date")->setText("9.2.2020");
                field(dialog, "time")->setText("9:15");
                QTest::mouseClick(control<QPushButton>(dialog, "ok"), Qt::LeftButton);
            }
        });
        m_window->dispatchCommand(CMainWnd::CmdEditFill);
        QVERIFY(unchanged);
        if (wrongField.isEmpty()) {
            QVERIFY(!stillOpen);
            QVERIFY(DialogSeams::askedMessages().isEmpty());
            const FillRecord* fill = database.getFill(0);
            QCOMPARE(formatDate(fill->dateTime) + " " + formatTime(fill->dateTime), stored);
            return;
        }
        QVERIFY(stillOpen);
        QCOMPARE(focused, wrongField);
        QCOMPARE(DialogSeams::askedMessages().size(), 1);
        QCOMPARE(DialogSeams::askedMessages().constFirst().text,
                 translate(wrongField == "date" ? Text::fill_invaliddate : Text::fill_invalidtime));
        // The corrected OK stores the corrected time.
        QCOMPARE(database.getFillCount(), 2);
        QCOMPARE(formatDate(database.getFill(1)->dateTime), QString("9.2.2020"));
        QCOMPARE(formatTime(database.getFill(1)->dateTime), QString("9:15:00"));
    }

    void unreadableNumbersKeepTheDialogOpen_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("reads");
        QTest::addColumn<double>("stored");
        QTest::newRow("odometer with a point") << "odometer"
                                               << "41.230" << false << 0.0;
        QTest::newRow("letter in the fuel") << "fuel"
                                            << "4O,5" << false << 0.0;
        QTest::newRow("cost with its currency") << "cost"
                                                << "12 EUR" << false << 0.0;
        QTest::newRow("grouped cost") << "cost"
                                      << "1.234,50" << true << 1234.5;
    }
    void unreadableNumbersKeepTheDialogOpen() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(bool, reads);
        QFETCH(double, stored);
        CLogDocument& log = m_window->document();
        const CFuelDatabase& database = log.database();
        storeFill(log, "Shell", "1.2.2020", 1000);
        m_window->selectRow(0);
        const QByteArray before = bytesOf(database.getFill(0));
        bool stillOpen = false;
        bool unchanged = false;
        QString focused;
        DialogSeams::setNextDialogHandler([&](QDialog& dialog) {
            field(dialog, qPrintable(name))->setText(text);
            QTest::mouseClick(control<QPushButton>(dialog, "ok"), Qt::LeftButton);
            stillOpen = dialog.isVisible();
            focused = dialog.focusWidget() ? dialog.focusWidget()->objectName() : QString();
            unchanged = bytesOf(database.getFill(0)) == before;
        });
        m_window->dispatchCommand(CMainWnd::CmdEditFill);
        const FillRecord* fill = database.getFill(0);
        const double values[] = {double(fill->odometer), double(fill->fuel), double(fill->cost)};
        const int index = name == "odometer" ? 0 : name == "fuel" ? 1 : 2;
        if (reads) {
            QVERIFY(!stillOpen);
            QVERIFY(DialogSeams::askedMessages().isEmpty());
            QCOMPARE(values[index], stored);
            return;
        }
        QVERIFY(stillOpen);
        QVERIFY(unchanged);
        QCOMPARE(focused, name);
        QCOMPARE(DialogSeams::askedMessages().size(), 1);
        const TextId* messages[] = {&Text::fill_invalidodometer, &Text::fill_invalidfuel,
                                    &Text::fill_invalidcost};
        QCOMPARE(DialogSeams::askedMessages().constFirst().text, translate(*messages[index]));
    }

    // A field the user left as loadData showed it keeps the stored value, which its text does
    // not give back (a damaged inf shown as not available, more than two decimals, a date without
    // text); texts show their start.
    void untouchedFieldsKeepTheirValues() {
        CLogDocument& log = m_window->document();
        const CFuelDatabase& database = log.database();
        FillRecord fill;
        fill.odometer = 1000;
        fill.dateTime = parseDateTime("1.2.2020", "8:00:00");
        fill.fuel = std::numeric_limits<float>::infinity();
        fill.cost = 61.239f;
        setFieldText(fill.notes, QString(45, 'n') + "tail");
        const int row = log.addFill("Shell", fill, "Jan");
        m_window->selectRow(row);
        const QByteArray before = bytesOf(database.getFill(row));
        QStringList shown;
        int notesCursor = -1;
        answerWithOk([&](QDialog& dialog) {
            shown = QStringList{field(dialog, "fuel")->text(), field(dialog, "cost")->text()};
            notesCursor = field(dialog, "notes")->cursorPosition();
        });
        m_window->dispatchCommand(CMainWnd::CmdEditFill);
        QCOMPARE(shown, (QStringList{"N/A", "61,24"}));
        QCOMPARE(notesCursor, 0);
        QCOMPARE(bytesOf(database.getFill(row)), before);

        // A date beyond what the calendar can show has no text and is kept as it is.
        fill = *database.getFill(row);
        fill.dateTime = FileTime::fromValue(~0ull);
        log.editFill(row, "Shell", fill, "Jan");
        const QByteArray unshowable = bytesOf(database.getFill(row));
        answerWithOk([](QDialog&) {});
        m_window->dispatchCommand(CMainWnd::CmdEditFill);
        QVERIFY(DialogSeams::askedMessages().isEmpty());
        QCOMPARE(bytesOf(database.getFill(row)), unshowable);
    }

    void theOdometerTakesSixDigitsOnly() {
        QString typed;
        DialogSeams::setNextDialogHandler([&](QDialog& dialog) {
            QTest::keyClicks(field(dialog, "odometer"), "12a3b45-6789");
            typed = field(dialog, "odometer")->text();
            dialog.reject();
        });
        m_window->dispatchCommand(CMainWnd::CmdAddFill);
        QCOMPARE(typed, QString("123456"));

        // A longer reading (from an import) is shown and kept whole.
        CLogDocument& log = m_window->document();
        const CFuelDatabase& database = log.database();
        storeFill(log, "Shell", "1.2.2020", 12345678);
        m_window->buildList();
        m_window->selectRow(0);
        answerWithOk([&](QDialog& dialog) { typed = field(dialog, "odometer")->text(); });
        m_window->dispatchCommand(CMainWnd::CmdEditFill);
        QCOMPARE(typed, QString("12345678"));
        QCOMPARE(database.getFill(0)->odometer, 12345678);
    }

    void cancelChangesNothing() {
        setDebugFlag(true);
        CLogDocument& log = m_window->document();
        const CFuelDatabase& database = log.database();
        storeFill(log, "Shell", "1.2.2020", 1000);
        QVERIFY(log.save());
        m_window->selectRow(0);
        const QByteArray fillBefore = bytesOf(database.getFill(0));

        const auto changeThenCancel = [](bool escape) {
            return [escape](QDialog& dialog) {
                box(dialog, "station")->setEditText("Aral");
                field(dialog, "date")->setText("1.1.2000");
                if (escape)
                    QTest::keyClick(&dialog, Qt::Key_Escape);
                else
                    QTest::mouseClick(control<QPushButton>(dialog, "cancel"), Qt::LeftButton);
            };
        };
        for (const bool escape : {false, true}) {
            DialogSeams::setNextDialogHandler(changeThenCancel(escape));
            m_window->dispatchCommand(CMainWnd::CmdEditFill);
            DialogSeams::setNextDialogHandler(changeThenCancel(escape));
            m_window->dispatchCommand(CMainWnd::CmdAddFill);
        }
        QCOMPARE(DialogSeams::ranDialogs().size(), 4);

        QCOMPARE(database.getFillCount(), 1);
        QCOMPARE(database.getStationCount(), 1);
        QCOMPARE(fieldText(database.getStation(0)->name), QString("Shell"));
        QCOMPARE(bytesOf(database.getFill(0)), fillBefore);
        QCOMPARE(m_window->listModel()->rowCount(), 1);
        QVERIFY(!m_window->hasUnsavedChanges());
        QCOMPARE(logMessages(), QList<QByteArray>());
    }

    // The menu bar stays while the dialog is open, so the list does not move; afterwards it
    // speaks the language the dialog left loaded.
    void theMenuBarStaysWhileTheDialogIsOpen() {
        bool barWhileOpen = false;
        QRect listWhileOpen;
        const QRect listBefore = m_window->fillList()->geometry();
        DialogSeams::setNextDialogHandler([&](QDialog& dialog) {
            barWhileOpen = m_window->commandAction(CMainWnd::CmdAddFill) != nullptr &&
                           m_window->menuWidget() != nullptr;
            listWhileOpen = m_window->fillList()->geometry();
            language().load("lang\\german.lng", TANKOMETER_SOURCE_DIR);
            dialog.reject();
        });
        m_window->dispatchCommand(CMainWnd::CmdAddFill);
        QCOMPARE(DialogSeams::ranDialogs(), QList<QString>{"fillDialog"});
        QVERIFY(barWhileOpen);
        QCOMPARE(listWhileOpen, listBefore);
        QAction* add = m_window->commandAction(CMainWnd::CmdAddFill);
        QVERIFY(add);
        QCOMPARE(shownText(add->text()), translate(Text::menu_FillAdd) + u'\u2026');
        QVERIFY(shownText(add->text()) != QString("Add fill\u2026"));
        // The columns are as wide as the new language's headers.
        QTableView* list = m_window->fillList();
        const int odometer = m_window->listModel()->positionOf(CFillListModel::Odometer);
        QVERIFY(list->columnWidth(odometer) >= list->horizontalHeader()->sectionSizeHint(odometer));

        // Edit fill without a current row opens nothing.
        storeFill(m_window->document(), "Shell", "1.2.2020", 1000);
        m_window->buildList();
        QCOMPARE(m_window->currentRow(), -1);
        m_window->dispatchCommand(CMainWnd::CmdEditFill);
        QCOMPARE(DialogSeams::ranDialogs().size(), 1);
    }

    void okWritesSixteenLogLines() {
        setDebugFlag(true);
        answerWithOk([](QDialog& dialog) {
            box(dialog, "station")->setEditText("Shell Brno");
            field(dialog, "odometer")->setText("98765");
            field(dialog, "fuel")->setText("40,5");
            field(dialog, "cost")->setText("1200");
            field(dialog, "notes")->setText("Winterreifen");
            field(dialog, "date")->setText("18.5.2004");
            field(dialog, "time")->setText("10:30:15");
            box(dialog, "driver")->setEditText("Jan");
        });
        m_window->dispatchCommand(CMainWnd::CmdAddFill);

        const QList<QByteArray> expected = {"CFillDlg::saveData: Saving fill info - started",
                                            "CFillDlg::saveData: station",
                                            "CFillDlg::saveData: station is: Shell Brno",
                                            "CFillDlg::saveData: odometer",
                                            "CFillDlg::saveData: odometer is: 98765",
                                            "CFillDlg::saveData: fuel",
                                            "CFillDlg::saveData: fuel is: 40,5",
                                            "CFillDlg::saveData: cost",
                                            "CFillDlg::saveData: cost is: 1200",
                                            "CFillDlg::saveData: notes",
                                            "CFillDlg::saveData: notes is: Winterreifen",
                                            "CFillDlg::saveData: date and time",
                                            "CFillDlg::saveData: date is: 18.5.2004",
                                            "CFillDlg::saveData: driver",
                                            "CFillDlg::saveData: driver is: Jan",
                                            "CFillDlg::saveData: Saving fill info - finished"};
        QCOMPARE(logMessages(), expected);

        const FillRecord* fill = m_window->database().getFill(0);
        QCOMPARE(fill->odometer, 98765);
        QCOMPARE(fill->fuel, 40.5f);
        QCOMPARE(fill->cost, 1200.0f);
        QCOMPARE(fieldText(fill->notes), QString("Winterreifen"));
        QCOMPARE(formatTime(fill->dateTime), QString("10:30:15"));
    }

    void longTextsAreCutToTheirFields() {
        answerWithOk([](QDialog& dialog) {
            box(dialog, "station")->setEditText(QString(40, QLatin1Char('s')));
            box(dialog, "driver")->setEditText(QString(25, QLatin1Char('d')));
            field(dialog, "notes")->setText(QString(60, QLatin1Char('n')));
        });
        m_window->dispatchCommand(CMainWnd::CmdAddFill);
        const CLogDocument& log = m_window->document();
        const CFuelDatabase& database = log.database();
        QCOMPARE(stationOf(database, 0), QString(31, QLatin1Char('s')));
        QCOMPARE(driverOf(database, 0), QString(19, QLatin1Char('d')));
        QCOMPARE(fieldText(database.getFill(0)->notes), QString(49, QLatin1Char('n')));
    }

    void aNewFillHandsBackZeroIds() {
        StationRecord station;
        station.id = 3;
        DriverRecord driver;
        driver.id = 7;
        CFillDlg add(nullptr, &station, nullptr, &driver);
        answerWithOk([](QDialog&) {});
        QCOMPARE(add.doModal(), int(QDialog::Accepted));
        FillRecord fill;
        add.getRecords(&station, &fill, &driver);
        QCOMPARE(station.id, 0);
        QCOMPARE(driver.id, 0);
        QCOMPARE(fill.stationId, 0);
        QCOMPARE(fill.driverId, 0);

        CFillDlg cancelled(nullptr, nullptr, nullptr, nullptr);
        DialogSeams::setNextDialogHandler([](QDialog& dialog) { dialog.reject(); });
        QCOMPARE(cancelled.doModal(), int(QDialog::Rejected));
    }

    void longerLabelsAreNotClipped() {
        language().load("lang\\german.lng", TANKOMETER_SOURCE_DIR);
        QVERIFY(translate(Text::fill_odometer) !=
                QString::fromUtf16(Text::fill_odometer.defaultText));
        QStringList clipped;
        DialogSeams::setNextDialogHandler([&](QDialog& dialog) {
            for (QWidget* widget : dialog.findChildren<QWidget*>()) {
                if ((qobject_cast<QLabel*>(widget) || qobject_cast<QPushButton*>(widget)) &&
                    widget->width() < widget->sizeHint().width())
                    clipped.append(widget->objectName());
            }
            if (dialog.windowTitle() != translate(Text::fill_caption))
                clipped.append("caption");
            dialog.reject();
        });
        m_window->dispatchCommand(CMainWnd::CmdAddFill);
        QCOMPARE(clipped, QStringList());
    }

private:
    std::unique_ptr<CMainWnd> m_window;
};

QTEST_MAIN(FillDlgTest)
#include "tst_filldlg.moc"
