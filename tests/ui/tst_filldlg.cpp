#include "core/debuglog.h"
#include "core/logdocument.h"
#include "core/paths.h"
#include "core/settings.h"
#include "db/calendar.h"
#include "db/formats.h"
#include "db/regional.h"
#include "localisation/language.h"
#include "ui/fill/filldlg.h"
#include "ui/main/filllistmodel.h"
#include "ui/main/mainwnd.h"
#include "ui/messagebox.h"
#include "windowtest.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
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
// The number fields a new fill shows empty, which do not read, hold readable numbers first: a
// reading 100 above the newest one, 10 l for 10.
void answerWithOk(std::function<void(QDialog&)> fillIn) {
    DialogSeams::setNextDialogHandler([fillIn](QDialog& dialog) {
        QLineEdit* odometer = control<QLineEdit>(dialog, "odometer");
        if (odometer->text().isEmpty())
            odometer->setText(QString::number(odometer->placeholderText().toInt() + 100));
        for (const char* name : {"fuel", "cost"}) {
            if (QLineEdit* number = control<QLineEdit>(dialog, name); number->text().isEmpty())
                number->setText("10");
        }
        fillIn(dialog);
        QTest::mouseClick(control<QPushButton>(dialog, "ok"), Qt::LeftButton);
    });
}

QStringList shownTexts(QDialog& dialog) {
    QStringList texts;
    for (const char* name : {"odometer", "fuel", "unitPrice", "cost", "notes", "date", "time"})
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
    void initTestCase() { DialogSeams::enable(); }
    void init() {
        setRegionalSettingsOverride(RegionalSettings{QLatin1Char(','), ".", 1, QLatin1Char('.')});
        DialogSeams::reset();
        language().clear();
        setDebugFlag(false);
        QFile::remove(databaseFilePath());
        QFile::remove(debugLogPath());
        m_window = std::make_unique<TestWindow>();
        m_window->open();
    }
    void cleanup() { m_window.reset(); }

    // Station and driver are those of the newest fill, selected so that typing replaces them;
    // its reading is the odometer's hint.
    void aNewFillStartsWithNowAndTheNewestFill() {
        CLogDocument& log = m_window->document();
        storeFill(log, "Shell", "1.2.2020", 1000, "Jan");
        storeFill(log, "aral", "2.2.2020", 1500, "Eva");
        storeFill(log, "BP", "3.2.2020", 2000, "Eva");
        m_window->buildList();

        const FileTime before = currentLocalFileTime();
        QStringList texts;
        QStringList stations;
        QStringList focusOrder;
        QStringList selected;
        QString hint;
        DialogSeams::setNextDialogHandler([&](QDialog& dialog) {
            texts = shownTexts(dialog);
            hint = field(dialog, "odometer")->placeholderText();
            selected = QStringList{box(dialog, "station")->lineEdit()->selectedText(),
                                   box(dialog, "driver")->lineEdit()->selectedText()};
            QComboBox* station = box(dialog, "station");
            for (int i = 0; i < station->count(); ++i)
                stations.append(station->itemText(i));
            QVERIFY(!control<QCheckBox>(dialog, "partial")->isChecked());
            QVERIFY(!control<QCheckBox>(dialog, "missedBefore")->isChecked());
            for (int i = 0; i < 13; ++i) {
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

        QCOMPARE(texts.size(), 9);
        QCOMPARE(texts.mid(0, 5), QStringList(5, QString()));
        QCOMPARE(texts.mid(7), (QStringList{"BP", "Eva"}));
        QCOMPARE(selected, texts.mid(7));
        QCOMPARE(hint, QString("2000"));
        const FileTime shown = parseDateTime(texts[5], texts[6]);
        QVERIFY(shown.value() >= before.value() && shown.value() <= after.value());
        QCOMPARE(stations, (QStringList{"aral", "BP", "Shell"}));
        QCOMPARE(focusOrder,
                 (QStringList{"station", "odometer", "fuel", "unitPrice", "cost", "notes", "date",
                              "time", "driver", "partial", "missedBefore", "ok", "cancel"}));
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

        QCOMPARE(texts, (QStringList{"123456", "40,50", "30,481", "1234,50", "Winter", "18.5.2004",
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
            field(dialog, "cost")->setText("12,5");
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
            box(dialog, "driver")->setEditText("");
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
            field(dialog, "fuel")->setText("20");
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
        // Its reading is lower than that of the fill now before it; stored all the same.
        DialogSeams::setNextAnswer(QMessageBox::Yes);
        m_window->dispatchCommand(CMainWnd::CmdEditFill);
        QCOMPARE(DialogSeams::pendingAnswers(), 0);

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
        QTest::newRow("hours and minutes") << "1.3.2020"
                                           << "10:30"
                                           << ""
                                           << "1.3.2020 10:30:00";
        QTest::newRow("ISO date") << "2020-03-01"
                                  << "10:30"
                                  << ""
                                  << "1.3.2020 10:30:00";
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
            const FillRecord* fill = database.getFill(1);
            QCOMPARE(formatDate(fill->dateTime) + " " + formatTime(fill->dateTime), stored);
            return;
        }
        QVERIFY(stillOpen);
        QCOMPARE(focused, wrongField);
        QCOMPARE(DialogSeams::askedMessages().size(), 1);
        QCOMPARE(DialogSeams::askedMessages().constFirst().text,
                 wrongField == "date" ? translate(Text::fill_invaliddate).arg(exampleDateText())
                                      : translate(Text::fill_invalidtime));
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

    // An empty field or one out of range names the field like one that does not read, and
    // stores nothing; a cost of 0 is a free fill.
    void requiredNumbersAndRanges_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("stored");
        for (const char* locale : {"en_US", "de_DE"}) {
            const QString d = QLocale(locale).decimalPoint();
            const auto row = [locale](const QString& name, const QString& text, bool stored) {
                QTest::addRow("%s: %s '%s'", locale, qPrintable(name), qPrintable(text))
                    << QString(locale) << name << text << stored;
            };
            row("odometer", "", false);
            row("odometer", "0", false);
            row("fuel", " ", false);
            row("fuel", "0" + d + "00", false);
            row("fuel", "-5" + d + "5", false);
            row("cost", "", false);
            row("cost", "-0" + d + "01", false);
            row("cost", "0" + d + "00", true);
        }
    }
    void requiredNumbersAndRanges() {
        QFETCH(QString, locale);
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(bool, stored);
        setRegionalSettingsOverride(regionalSettingsFor(QLocale(locale)));
        bool stillOpen = false;
        QString focused;
        QString selected;
        DialogSeams::setNextDialogHandler([&](QDialog& dialog) {
            field(dialog, "odometer")->setText("1000");
            field(dialog, "fuel")->setText("40");
            field(dialog, "cost")->setText("60");
            field(dialog, qPrintable(name))->setText(text);
            QTest::mouseClick(control<QPushButton>(dialog, "ok"), Qt::LeftButton);
            stillOpen = dialog.isVisible();
            focused = dialog.focusWidget() ? dialog.focusWidget()->objectName() : QString();
            selected = field(dialog, qPrintable(name))->selectedText();
        });
        m_window->dispatchCommand(CMainWnd::CmdAddFill);
        const CFuelDatabase& database = m_window->database();
        if (stored) {
            QVERIFY(!stillOpen);
            QCOMPARE(database.getFillCount(), 1);
            QCOMPARE(database.getFill(0)->cost, 0.0f);
            return;
        }
        QVERIFY(stillOpen);
        QCOMPARE(focused, name);
        QCOMPARE(selected, text);
        QCOMPARE(database.getFillCount(), 0);
        const TextId* messages[] = {&Text::fill_rangeodometer, &Text::fill_rangefuel,
                                    &Text::fill_rangecost};
        const int index = name == "odometer" ? 0 : name == "fuel" ? 1 : 2;
        QCOMPARE(DialogSeams::askedMessages().size(), 1);
        QCOMPARE(DialogSeams::askedMessages().constFirst().text, translate(*messages[index]));
    }

    // Typing two of fuel, unit price and cost gives the third at once; the two typed last
    // decide. An edit starts from its stored fuel and cost. OK stores fuel and cost as shown.
    void theThirdAmountIsComputed_data() {
        QTest::addColumn<bool>("edit"); // of a fill of 40 l for 60
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QStringList>("shown"); // fuel, unit price, cost
        QTest::addColumn<QString>("stored");    // fuel and cost; empty: refused
        QTest::newRow("fuel and unit price") << false << QStringList{"fuel=40", "unitPrice=1,499"}
                                             << QStringList{"40", "1,499", "59,96"} << "40 59.96";
        QTest::newRow("fuel and cost") << false << QStringList{"fuel=40", "cost=50"}
                                       << QStringList{"40", "1,250", "50"} << "40 50";
        QTest::newRow("unit price and cost") << false << QStringList{"unitPrice=1,5", "cost=50"}
                                             << QStringList{"33,33", "1,5", "50"} << "33.33 50";
        QTest::newRow("the two typed last")
            << false << QStringList{"fuel=40", "unitPrice=1,5", "cost=50", "unitPrice=2"}
            << QStringList{"25,00", "2", "50"} << "25 50";
        QTest::newRow("a price of 0 gives no fuel")
            << false << QStringList{"unitPrice=0", "cost=50"} << QStringList{"", "0", "50"} << "";
        QTest::newRow("an unreadable unit price")
            << false << QStringList{"fuel=40", "cost=50", "unitPrice=1,5x"}
            << QStringList{"33,33", "1,5x", "50"} << "";
        QTest::newRow("an edit: the unit price changes the cost")
            << true << QStringList{"unitPrice=1,6"} << QStringList{"40,00", "1,6", "64,00"}
            << "40 64";
    }
    void theThirdAmountIsComputed() {
        QFETCH(bool, edit);
        QFETCH(QStringList, typed);
        QFETCH(QStringList, shown);
        QFETCH(QString, stored);
        CLogDocument& log = m_window->document();
        const CFuelDatabase& database = log.database();
        if (edit) {
            FillRecord fill;
            fill.odometer = 1000;
            fill.fuel = 40.0f;
            fill.cost = 60.0f;
            fill.dateTime = parseDateTime("1.2.2020", "8:00");
            m_window->selectRow(log.addFill("Shell", fill, "Jan"));
        }
        QStringList texts;
        DialogSeams::setNextDialogHandler([&](QDialog& dialog) {
            for (const QString& step : typed) {
                QLineEdit* amount = field(dialog, qPrintable(step.section(u'=', 0, 0)));
                amount->setFocus();
                amount->selectAll();
                QTest::keyClicks(amount, step.section(u'=', 1));
            }
            for (const char* name : {"fuel", "unitPrice", "cost"})
                texts.append(field(dialog, name)->text());
            if (!edit)
                field(dialog, "odometer")->setText("1000");
            QTest::mouseClick(control<QPushButton>(dialog, "ok"), Qt::LeftButton);
        });
        m_window->dispatchCommand(edit ? CMainWnd::CmdEditFill : CMainWnd::CmdAddFill);
        QCOMPARE(texts, shown);
        if (stored.isEmpty()) {
            QCOMPARE(database.getFillCount(), 0);
            QCOMPARE(DialogSeams::askedMessages().size(), 1);
            return;
        }
        QCOMPARE(database.getFillCount(), 1);
        QCOMPARE(QString::number(database.getFill(0)->fuel) + u' ' +
                     QString::number(database.getFill(0)->cost),
                 stored);
    }

    // OK on a doubtful fill asks, No first: the dialog stays with the first doubtful field
    // selected and nothing stored; Yes stores. An edit that leaves the numbers and the time as
    // shown asks nothing, however doubtful the fill.
    void doubtfulFillsAreQuestioned_data() {
        QTest::addColumn<int>("edited"); // -1: a new fill
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<int>("doubts");
        QTest::addColumn<QString>("doubtful");
        const QString ahead =
            formatDate(FileTime::fromValue(currentLocalFileTime().value() + 3 * 864000000000ull));
        QTest::newRow("lower reading") << -1 << QStringList{"odometer=1300"} << 1 << "odometer";
        QTest::newRow("consumption") << -1 << QStringList{"odometer=1405"} << 1 << "fuel";
        QTest::newRow("unit price") << -1 << QStringList{"cost=140"} << 1 << "cost";
        QTest::newRow("date ahead") << -1 << QStringList{"date=" + ahead} << 1 << "date";
        QTest::newRow("every doubt in one question")
            << -1 << QStringList{"date=" + ahead, "odometer=1400", "cost=140"} << 3 << "odometer";
        QTest::newRow("an edit of the reading")
            << 1 << QStringList{"odometer=900"} << 1 << "odometer";
        QTest::newRow("an edit of the notes only") << 2 << QStringList{"notes=x"} << 0 << "";
    }
    void doubtfulFillsAreQuestioned() {
        QFETCH(int, edited);
        QFETCH(QStringList, typed);
        QFETCH(int, doubts);
        QFETCH(QString, doubtful);
        CLogDocument& log = m_window->document();
        const CFuelDatabase& database = log.database();
        // The third reading is already lower than the second.
        const qint32 odometers[] = {1000, 1500, 1400};
        for (int i = 0; i < 3; ++i) {
            FillRecord fill;
            fill.odometer = odometers[i];
            fill.fuel = 35.0f;
            fill.cost = 70.0f;
            fill.dateTime = parseDateTime(QString("%1.2.2020").arg(i + 1), "8:00");
            log.addFill("Shell", fill, "Jan");
        }
        m_window->selectRow(edited);
        const QByteArray before = bytesOf(database.getFill(std::max(edited, 0)));
        bool stillOpen = false;
        QString focused;
        QString selected;
        QString typedText;
        answerWithOk([&](QDialog& dialog) {
            if (edited < 0) {
                field(dialog, "odometer")->setText("1900");
                field(dialog, "fuel")->setText("35");
                field(dialog, "cost")->setText("70");
                field(dialog, "date")->setText("4.2.2020");
            }
            for (const QString& step : typed)
                field(dialog, qPrintable(step.section(u'=', 0, 0)))->setText(step.section(u'=', 1));
            if (doubts == 0)
                return;
            QTest::mouseClick(control<QPushButton>(dialog, "ok"), Qt::LeftButton);
            stillOpen = dialog.isVisible();
            focused = dialog.focusWidget() ? dialog.focusWidget()->objectName() : QString();
            selected = field(dialog, qPrintable(doubtful))->selectedText();
            typedText = field(dialog, qPrintable(doubtful))->text();
            QVERIFY(bytesOf(database.getFill(std::max(edited, 0))) == before);
            QCOMPARE(database.getFillCount(), 3);
            DialogSeams::setNextAnswer(QMessageBox::Yes);
        });
        m_window->dispatchCommand(edited < 0 ? CMainWnd::CmdAddFill : CMainWnd::CmdEditFill);
        QCOMPARE(database.getFillCount(), edited < 0 ? 4 : 3);
        const QList<MessageBoxRecord>& asked = DialogSeams::askedMessages();
        QCOMPARE(asked.size(), doubts == 0 ? 0 : 2);
        if (doubts == 0)
            return;
        QVERIFY(stillOpen);
        QCOMPARE(focused, doubtful);
        QCOMPARE(selected, typedText);
        QCOMPARE(asked.at(0).text, asked.at(1).text);
        QCOMPARE(asked.at(0).defaultButton, QMessageBox::No);
        QCOMPARE(asked.at(0).text.split(u'\n').size(), doubts + 1);
        QVERIFY(asked.at(0).text.endsWith(translate(Text::fill_doubtquestion)));
        if (QTest::currentDataTag() == QByteArray("lower reading"))
            QCOMPARE(asked.at(0).text.section(u'\n', 0, 0),
                     QString("The odometer 1300 km is not higher than that of the fill before it "
                             "(1400 km)."));
    }

    // F4 or Alt+Down in the date field opens a calendar on its day; the day chosen there goes
    // into the field in its text form, Escape leaves it as it was.
    void theCalendarPicksTheDate() {
        QStringList shown;
        DialogSeams::setNextDialogHandler([&](QDialog& dialog) {
            QLineEdit* date = field(dialog, "date");
            date->setText("31.1.2020");
            date->setFocus();
            const auto calendar = [&dialog] {
                return dialog.findChild<QCalendarWidget*>("calendarPopup");
            };
            QTest::keyClick(date, Qt::Key_F4);
            QVERIFY(calendar() && calendar()->isVisible());
            shown.append(calendar()->selectedDate().toString(Qt::ISODate));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QVERIFY(!calendar()->isVisible());
            shown.append(date->text());
            QTest::keyClick(date, Qt::Key_Down, Qt::AltModifier);
            QVERIFY(calendar()->isVisible());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            QVERIFY(!calendar()->isVisible());
            shown.append(date->text());
            dialog.reject();
        });
        m_window->dispatchCommand(CMainWnd::CmdAddFill);
        QCOMPARE(shown, (QStringList{"2020-01-31", "1.2.2020", "1.2.2020"}));
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

    // The fields take no more than is stored, so nothing typed is cut silently.
    void longTextsAreCutToTheirFields() {
        QList<int> shown;
        answerWithOk([&](QDialog& dialog) {
            QTest::keyClicks(box(dialog, "station")->lineEdit(), QString(40, QLatin1Char('s')));
            QTest::keyClicks(box(dialog, "driver")->lineEdit(), QString(25, QLatin1Char('d')));
            QTest::keyClicks(field(dialog, "notes"), QString(60, QLatin1Char('n')));
            shown = {int(box(dialog, "station")->currentText().size()),
                     int(box(dialog, "driver")->currentText().size()),
                     int(field(dialog, "notes")->text().size())};
        });
        m_window->dispatchCommand(CMainWnd::CmdAddFill);
        QCOMPARE(shown, (QList<int>{31, 19, 49}));
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

    // A charge in an electric vehicle's log, and in a plug-in hybrid's once electricity is
    // chosen (the choice kept for the next fill): kWh as typed whatever the volume unit, a
    // cost at home computed from the home price until a cost is typed, a full charge as the
    // opposite of a partial fill, and the battery's states as given.
    void aChargeIsRecorded_data() {
        QTest::addColumn<int>("energy");
        QTest::addColumn<int>("lastKind"); // -1: none stored
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("shown"); // kWh, unit price, cost
        QTest::addColumn<QString>("stored");    // kWh cost partial home before after; "": refused
        QTest::addColumn<int>("keptKind");      // -1: none stored
        const int electric = int(VehicleEnergy::Electric);
        const int hybrid = int(VehicleEnergy::PlugInHybrid);
        QTest::newRow("kWh, then at home")
            << electric << -1 << QStringList{"fuel=40", "atHome"}
            << QStringList{"40", "0,305", "12,20"} << "40 12.2 0 1 -1 -1" << -1;
        QTest::newRow("at home, then kWh")
            << electric << -1 << QStringList{"atHome", "fuel=38,4"}
            << QStringList{"38,4", "0,305", "11,71"} << "38.4 11.71 0 1 -1 -1" << -1;
        QTest::newRow("at home, a cost typed stays when the kWh change")
            << electric << -1 << QStringList{"atHome", "fuel=40", "cost=10", "fuel=50"}
            << QStringList{"50", "0,200", "10"} << "50 10 0 1 -1 -1" << -1;
        QTest::newRow("not full, with the battery's states")
            << electric << -1
            << QStringList{"fuel=20", "cost=8", "fullCharge", "chargeBefore=20", "chargeAfter=80"}
            << QStringList{"20", "0,400", "8"} << "20 8 1 0 20 80" << -1;
        QTest::newRow("less after than before is refused")
            << electric << -1
            << QStringList{"fuel=20", "cost=8", "chargeBefore=80", "chargeAfter=20"}
            << QStringList{"20", "0,400", "8"} << "" << -1;
        QTest::newRow("hybrid: electricity chosen and kept")
            << hybrid << -1 << QStringList{"fillKind=1", "fuel=40", "atHome"}
            << QStringList{"40", "0,305", "12,20"} << "40 12.2 0 1 -1 -1" << 1;
        QTest::newRow("hybrid: the last choice comes first")
            << hybrid << 1 << QStringList{"fuel=40", "cost=12"} << QStringList{"40", "0,300", "12"}
            << "40 12 0 0 -1 -1" << 1;
        QTest::newRow("hybrid: fuel chosen has no charge fields")
            << hybrid << 1 << QStringList{"chargeBefore=20", "fillKind=0", "fuel=10,57"}
            << QStringList{"10,57", "", ""} << "" << 0;
    }
    void aChargeIsRecorded() {
        QFETCH(int, energy);
        QFETCH(int, lastKind);
        QFETCH(QStringList, steps);
        QFETCH(QStringList, shown);
        QFETCH(QString, stored);
        QFETCH(int, keptKind);
        programSettings().clear();
        if (lastKind >= 0)
            programSettings().setValue("FillKind", lastKind);
        CLogDocument& log = m_window->document();
        LogUnits units;
        units.volume = VolumeUnit::UsGallons;
        units.energy = VehicleEnergy(energy);
        units.homePricePerKwh = 0.305f;
        QVERIFY(log.setUnits(units));
        QStringList texts;
        QString title;
        DialogSeams::setNextDialogHandler([&](QDialog& dialog) {
            for (const QString& step : steps) {
                const QString name = step.section(u'=', 0, 0);
                const QString value = step.section(u'=', 1);
                QWidget* widget = dialog.findChild<QWidget*>(name);
                if (auto* check = qobject_cast<QCheckBox*>(widget)) {
                    check->click();
                } else if (auto* spin = qobject_cast<QSpinBox*>(widget)) {
                    spin->setValue(value.toInt());
                } else if (auto* kind = qobject_cast<QComboBox*>(widget)) {
                    kind->setCurrentIndex(value.toInt());
                } else {
                    QLineEdit* amount = field(dialog, qPrintable(name));
                    amount->setFocus();
                    amount->selectAll();
                    QTest::keyClicks(amount, value);
                }
            }
            for (const char* name : {"fuel", "unitPrice", "cost"})
                texts.append(field(dialog, name)->text());
            title = dialog.windowTitle();
            field(dialog, "odometer")->setText("1000");
            if (field(dialog, "cost")->text().isEmpty())
                field(dialog, "cost")->setText("10");
            QTest::mouseClick(control<QPushButton>(dialog, "ok"), Qt::LeftButton);
        });
        m_window->dispatchCommand(CMainWnd::CmdAddFill);
        QCOMPARE(texts, shown);
        const CFuelDatabase& database = log.database();
        QVariant kept = programSettings().value("FillKind");
        QCOMPARE(kept.isValid() ? kept.toInt() : -1, keptKind);
        if (keptKind == 0) {
            // Fuel in gallons, none of a charge's fields.
            QCOMPARE(database.getFillFlags(0), FillFlags());
            QCOMPARE(qRound(database.getFill(0)->fuel), 40);
            return;
        }
        QCOMPARE(title, translate(Text::fill_chargecaption));
        if (stored.isEmpty()) {
            QCOMPARE(database.getFillCount(), 0);
            QCOMPARE(DialogSeams::askedMessages().size(), 1);
            QCOMPARE(DialogSeams::askedMessages().constFirst().text,
                     translate(Text::fill_chargeorder));
            return;
        }
        QCOMPARE(database.getFillCount(), 1);
        const FillFlags flags = database.getFillFlags(0);
        QVERIFY(flags.charge);
        QCOMPARE(
            QStringList({QString::number(database.getFill(0)->fuel),
                         QString::number(database.getFill(0)->cost), QString::number(flags.partial),
                         QString::number(flags.atHome), QString::number(flags.chargeBefore),
                         QString::number(flags.chargeAfter)})
                .join(u' '),
            stored);
    }

    // An edit shows the fill's own kind and keeps what it does not touch; a fill turned into
    // the other kind reads its amount anew in that kind's unit and loses a charge's fields.
    void anEditKeepsTheFillsKind_data() {
        QTest::addColumn<int>("energy");
        QTest::addColumn<bool>("charge");
        QTest::addColumn<int>("turnTo");     // -1: left as it is
        QTest::addColumn<QString>("shown");  // kind shown (empty: no choice), amount
        QTest::addColumn<QString>("stored"); // amount, charge, partial, home, before, after
        const int electric = int(VehicleEnergy::Electric);
        const int hybrid = int(VehicleEnergy::PlugInHybrid);
        QTest::newRow("a charge") << electric << true << -1 << " 37,85"
                                  << "37.85 1 1 1 30 90";
        QTest::newRow("a hybrid's charge") << hybrid << true << -1 << "Electricity 37,85"
                                           << "37.85 1 1 1 30 90";
        QTest::newRow("a hybrid's fuel") << hybrid << false << -1 << "Fuel 10,00"
                                         << "37.85 0 1 0 -1 -1";
        QTest::newRow("a charge turned into fuel") << hybrid << true << 0 << "Electricity 37,85"
                                                   << "143.28 0 1 0 -1 -1";
        QTest::newRow("fuel turned into a charge") << hybrid << false << 1 << "Fuel 10,00"
                                                   << "10 1 1 0 -1 -1";
    }
    void anEditKeepsTheFillsKind() {
        QFETCH(int, energy);
        QFETCH(bool, charge);
        QFETCH(int, turnTo);
        QFETCH(QString, shown);
        QFETCH(QString, stored);
        CLogDocument& log = m_window->document();
        LogUnits units;
        units.volume = VolumeUnit::UsGallons;
        units.energy = VehicleEnergy(energy);
        QVERIFY(log.setUnits(units));
        FillRecord fill;
        fill.odometer = 1000;
        fill.fuel = 37.854118f;
        fill.cost = 20.0f;
        fill.dateTime = parseDateTime("1.2.2020", "8:00");
        FillFlags flags{true, false, charge};
        if (charge) {
            flags.atHome = true;
            flags.chargeBefore = 30;
            flags.chargeAfter = 90;
        }
        m_window->selectRow(log.addFill("Shell", fill, "Jan", flags));
        QString texts;
        DialogSeams::setNextDialogHandler([&](QDialog& dialog) {
            QComboBox* kind = box(dialog, "fillKind");
            texts = (kind->isVisibleTo(&dialog) ? kind->currentText() : QString()) + u' ' +
                    field(dialog, "fuel")->text();
            if (turnTo >= 0)
                kind->setCurrentIndex(turnTo);
            QTest::mouseClick(control<QPushButton>(dialog, "ok"), Qt::LeftButton);
        });
        m_window->dispatchCommand(CMainWnd::CmdEditFill);
        QCOMPARE(texts, shown);
        const CFuelDatabase& database = log.database();
        const FillFlags edited = database.getFillFlags(0);
        QCOMPARE(QStringList({QString::number(database.getFill(0)->fuel, 'f', 2)
                                  .remove(QRegularExpression("\\.?0+$")),
                              QString::number(edited.charge), QString::number(edited.partial),
                              QString::number(edited.atHome), QString::number(edited.chargeBefore),
                              QString::number(edited.chargeAfter)})
                     .join(u' '),
                 stored);
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
