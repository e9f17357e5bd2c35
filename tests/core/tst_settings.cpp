#include "core/settings.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <sys/stat.h>

class SettingsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void emptyStoreGivesDefaults();
    void everyKeyOfTheTableRoundTrips();
    void readersApplyDefaults_data();
    void readersApplyDefaults();
    void failedReadLeavesValueUntouched_data();
    void failedReadLeavesValueUntouched();
    void writesPersistAcrossStoreObjects();
    void editBetweenTwoReadsIsSeen();
    void languagePathRoundTrip_data();
    void languagePathRoundTrip();
    void firstRunStoresDefaultLanguage();
    void storedLanguageIsKept();
    void failedWriteIsReported();
    void writeIntoFileWithStrayLine();
    void newStoreIsPrivate_data();
    void newStoreIsPrivate();
    void firstStartTakesSystemLanguage_data();
    void firstStartTakesSystemLanguage();

private:
    QString storeFile() const { return m_folder.filePath(QStringLiteral("Tankometer.conf")); }
    void editStoreFile(const QByteArray& contents);
    static QSettings* otherStore();

    QTemporaryDir m_folder;
    int m_edits = 0;
};

void SettingsTest::initTestCase() {
    QVERIFY(m_folder.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_folder.path());
}

void SettingsTest::init() {
    QFile::remove(storeFile());
}

void SettingsTest::cleanupTestCase() {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       qEnvironmentVariable("XDG_CONFIG_HOME"));
}

// Writes the file as a user or another program would. Qt notices a changed settings file by its
// size and modification time, so every edit gets a later time, as it would on a real machine.
void SettingsTest::editStoreFile(const QByteArray& contents) {
    QFile file(storeFile());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(contents);
    QVERIFY(file.flush());
    ++m_edits;
    QVERIFY(file.setFileTime(QDateTime(QDate(2026, 1, 1), QTime(0, 0)).addSecs(m_edits),
                             QFileDevice::FileModificationTime));
}

QSettings* SettingsTest::otherStore() {
    return new QSettings(QSettings::NativeFormat, QSettings::UserScope,
                         QStringLiteral("Tankometer"));
}

void SettingsTest::emptyStoreGivesDefaults() {
    QCOMPARE(readColumnDefinition(), 127u);
    QCOMPARE(readFillingMethod(), FillingMethod::ToEmptyTank);
    QVERIFY(!readDebugMode());

    QString path = QStringLiteral("untouched");
    QCOMPARE(CRegistry::readValue(SettingsKey::Lang, &path), RegistryNotFound);
    QCOMPARE(path, QStringLiteral("untouched"));
    QVERIFY2(!QFile::exists(storeFile()), "reading must not create the store");
}

// Each value under its own name: two keys of one name would overwrite each other.
void SettingsTest::everyKeyOfTheTableRoundTrips() {
    QStringList names;
    for (const NumberKey& key : kNumberKeys) {
        QCOMPARE(readSetting(key), key.fallback);
        names.append(key.name.toString());
    }
    for (const TextKey& key : kTextKeys) {
        QCOMPARE(readSetting(key), key.fallback.toString());
        names.append(key.name.toString());
    }
    QCOMPARE(QSet<QString>(names.cbegin(), names.cend()).size(), names.size());

    quint32 number = 1000;
    for (const NumberKey& key : kNumberKeys)
        QCOMPARE(writeSetting(key, number++), RegistryOk);
    for (const TextKey& key : kTextKeys)
        QCOMPARE(writeSetting(key, QStringLiteral("text of ") + key.name.toString()), RegistryOk);
    number = 1000;
    const std::unique_ptr<QSettings> other(otherStore());
    for (const NumberKey& key : kNumberKeys) {
        QCOMPARE(readSetting(key), number);
        QCOMPARE(other->value(key.name.toString()).toUInt(), number++);
    }
    for (const TextKey& key : kTextKeys) {
        QCOMPARE(readSetting(key), QStringLiteral("text of ") + key.name.toString());
        QCOMPARE(other->value(key.name.toString()).toString(), readSetting(key));
    }
}

void SettingsTest::readersApplyDefaults_data() {
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<quint32>("columns");
    QTest::addColumn<FillingMethod>("method");
    QTest::addColumn<bool>("debug");
    const FillingMethod empty = FillingMethod::ToEmptyTank;
    const FillingMethod full = FillingMethod::FullTank;

    QTest::newRow("debug mode 1") << QByteArray("DebugMode=1") << 127u << empty << true;
    QTest::newRow("debug mode 5 is on too") << QByteArray("DebugMode=5") << 127u << empty << true;
    QTest::newRow("debug mode 0") << QByteArray("DebugMode=0") << 127u << empty << false;
    QTest::newRow("debug mode not a number")
        << QByteArray("DebugMode=on") << 127u << empty << false;
    QTest::newRow("no column") << QByteArray("ColDef=0") << 0u << empty << false;
    QTest::newRow("some columns") << QByteArray("ColDef=5") << 5u << empty << false;
    QTest::newRow("columns with blanks") << QByteArray("ColDef = 12 ") << 12u << empty << false;
    QTest::newRow("columns not a number") << QByteArray("ColDef=all") << 127u << empty << false;
    QTest::newRow("columns a list") << QByteArray("ColDef=1, 2") << 127u << empty << false;
    QTest::newRow("largest 32-bit number")
        << QByteArray("ColDef=4294967295") << 4294967295u << empty << false;
    QTest::newRow("negative as its bit pattern")
        << QByteArray("ColDef=-1") << 4294967295u << empty << false;
    QTest::newRow("more than 32 bits") << QByteArray("ColDef=4294967296") << 127u << empty << false;
    QTest::newRow("full tank") << QByteArray("FillingMethod=1") << 127u << full << false;
    QTest::newRow("to empty tank") << QByteArray("FillingMethod=2") << 127u << empty << false;
    QTest::newRow("unknown method is full tank")
        << QByteArray("FillingMethod=7") << 127u << full << false;
    QTest::newRow("method not a number") << QByteArray("FillingMethod=x") << 127u << empty << false;
}

void SettingsTest::readersApplyDefaults() {
    QFETCH(QByteArray, stored);
    editStoreFile("[General]\n" + stored + "\n");

    QTEST(readColumnDefinition(), "columns");
    QTEST(readFillingMethod(), "method");
    QTEST(readDebugMode(), "debug");
}

void SettingsTest::failedReadLeavesValueUntouched_data() {
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<int>("status");

    QTest::newRow("missing") << QByteArray("Other=1") << int(RegistryNotFound);
    QTest::newRow("text") << QByteArray("Value=twelve") << int(RegistryInvalidData);
    QTest::newRow("empty") << QByteArray("Value=") << int(RegistryInvalidData);
    QTest::newRow("list") << QByteArray("Value=1, 2") << int(RegistryInvalidData);
}

void SettingsTest::failedReadLeavesValueUntouched() {
    QFETCH(QByteArray, stored);
    editStoreFile("[General]\n" + stored + "\n");

    quint32 number = 4711;
    QTEST(int(CRegistry::readValue(u"Value", &number)), "status");
    QCOMPARE(number, 4711u);
}

void SettingsTest::writesPersistAcrossStoreObjects() {
    QCOMPARE(CRegistry::writeString(SettingsKey::Lang, QStringLiteral("lang\\german.lng")),
             RegistryOk);
    QCOMPARE(CRegistry::writeNumber(SettingsKey::ColDef, 3), RegistryOk);
    QCOMPARE(CRegistry::writeNumber(SettingsKey::DebugMode, 1), RegistryOk);
    QCOMPARE(CRegistry::writeNumber(SettingsKey::FillingMethod, 1), RegistryOk);

    {
        std::unique_ptr<QSettings> other(otherStore());
        QCOMPARE(other->value(QStringLiteral("Lang")).toString(),
                 QStringLiteral("lang\\german.lng"));
        QCOMPARE(other->value(QStringLiteral("ColDef")).toUInt(), 3u);
        QCOMPARE(other->value(QStringLiteral("DebugMode")).toUInt(), 1u);
        QCOMPARE(other->value(QStringLiteral("FillingMethod")).toUInt(), 1u);

        other->setValue(QStringLiteral("ColDef"), 9);
        other->sync();
        QCOMPARE(readColumnDefinition(), 9u);
    }
    QCOMPARE(readColumnDefinition(), 9u);
    QCOMPARE(readFillingMethod(), FillingMethod::FullTank);
    QVERIFY(readDebugMode());

    const QByteArray onDisk = [this] {
        QFile file(storeFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    QVERIFY2(onDisk.contains("ColDef=9"), onDisk.constData());
}

void SettingsTest::editBetweenTwoReadsIsSeen() {
    editStoreFile("[General]\nColDef=1\nDebugMode=1\n");
    QCOMPARE(readColumnDefinition(), 1u);
    QVERIFY(readDebugMode());

    editStoreFile("[General]\nColDef=2\nDebugMode=0\n");
    QCOMPARE(readColumnDefinition(), 2u);
    QVERIFY(!readDebugMode());

    QFile::remove(storeFile());
    QCOMPARE(readColumnDefinition(), 127u);
}

void SettingsTest::languagePathRoundTrip_data() {
    QTest::addColumn<QString>("path");

    QTest::newRow("default") << QStringLiteral("lang\\english.lng");
    QTest::newRow("130 characters")
        << QStringLiteral("lang\\") + QString(121, u'a') + QStringLiteral(".lng");
    QTest::newRow("300 characters")
        << QStringLiteral("lang\\") + QString(291, u'b') + QStringLiteral(".lng");
    QTest::newRow("not ASCII") << QStringLiteral("lang\\fran\u00e7ais-\u65e5\u672c.lng");
    QTest::newRow("characters special to the file")
        << QStringLiteral("lang\\a, b; c = \"d\" #e [f].lng");
    QTest::newRow("empty") << QString();
}

void SettingsTest::languagePathRoundTrip() {
    QFETCH(QString, path);
    QVERIFY(writeLanguagePath(path));

    QString read = QStringLiteral("untouched");
    QVERIFY(readLanguagePath(&read));
    QCOMPARE(read, path);
}

void SettingsTest::firstRunStoresDefaultLanguage() {
    QCOMPARE(readLanguagePathOrStoreFirst(QLocale::c(), m_folder.path()),
             QStringLiteral("lang\\english.lng"));

    QString stored;
    QCOMPARE(CRegistry::readValue(SettingsKey::Lang, &stored), RegistryOk);
    QCOMPARE(stored, QStringLiteral("lang\\english.lng"));
}

void SettingsTest::storedLanguageIsKept() {
    const QString longPath = QStringLiteral("lang/") + QString(200, u'x') + QStringLiteral(".lng");
    QVERIFY(writeLanguagePath(longPath));
    QCOMPARE(readLanguagePathOrStoreFirst(QLocale::c(), m_folder.path()), longPath);
}

void SettingsTest::failedWriteIsReported() {
    // A folder that cannot exist: its parent is a plain file.
    QFile blocker(m_folder.filePath(QStringLiteral("plain-file")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       blocker.fileName() + QStringLiteral("/settings"));

    const RegistryStatus status = CRegistry::writeNumber(SettingsKey::ColDef, 1);
    const QString language = readLanguagePathOrStoreFirst(QLocale::c(), m_folder.path());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_folder.path());

    QVERIFY(status != RegistryOk);
    QCOMPARE(language, QStringLiteral("lang\\english.lng"));
}

void SettingsTest::writeIntoFileWithStrayLine() {
    editStoreFile("[General]\nColDef=5\nthis line is no setting\n");
    QCOMPARE(readColumnDefinition(), 5u);

    QCOMPARE(CRegistry::writeNumber(SettingsKey::DebugMode, 1), RegistryOk);
    QVERIFY(readDebugMode());
    QCOMPARE(readColumnDefinition(), 5u);
}

void SettingsTest::newStoreIsPrivate_data() {
    QTest::addColumn<int>("earlierMode"); // 0: no file before
    QTest::addColumn<int>("mode");
    QTest::newRow("new file") << 0 << 0600;
    QTest::newRow("file open to others") << 0644 << 0644;
}

// The store holds the paths of the user's logs.
void SettingsTest::newStoreIsPrivate() {
    QFETCH(int, earlierMode);
    QFETCH(int, mode);
    const QByteArray path = QFile::encodeName(storeFile());
    if (earlierMode != 0) {
        editStoreFile("[General]\nColDef=5\n");
        QVERIFY(::chmod(path.constData(), mode_t(earlierMode)) == 0);
    }
    const mode_t savedMask = ::umask(022);
    const RegistryStatus status = CRegistry::writeNumber(SettingsKey::DebugMode, 1);
    ::umask(savedMask);
    QCOMPARE(status, RegistryOk);
    struct stat written {};
    QVERIFY(::stat(path.constData(), &written) == 0);
    QCOMPARE(int(written.st_mode & 07777), mode);
}

void SettingsTest::firstStartTakesSystemLanguage_data() {
    QTest::addColumn<QString>("system");
    QTest::addColumn<QString>("stored"); // empty: a first start
    QTest::addColumn<QString>("expected");
    QTest::newRow("German") << "de_DE" << QString() << "lang\\german.lng";
    QTest::newRow("German of Austria") << "de_AT" << QString() << "lang\\german.lng";
    QTest::newRow("Czech") << "cs_CZ" << QString() << "lang\\czech.lng";
    QTest::newRow("Brazilian before Portuguese") << "pt_BR" << QString() << "lang\\brazil.lng";
    QTest::newRow("no file of the language") << "fr_FR" << QString() << "lang\\english.lng";
    QTest::newRow("C locale") << "C" << QString() << "lang\\english.lng";
    QTest::newRow("stored is kept") << "de_DE"
                                    << "lang\\czech.lng"
                                    << "lang\\czech.lng";
}

void SettingsTest::firstStartTakesSystemLanguage() {
    QFETCH(QString, system);
    QFETCH(QString, stored);
    QFETCH(QString, expected);
    QTemporaryDir program;
    QVERIFY(QDir(program.path()).mkpath(QStringLiteral("lang")));
    const std::pair<const char*, const char*> files[] = {{"english", "en"},     {"german", "de"},
                                                         {"czech", "cs"},       {"brazil", "pt_BR"},
                                                         {"aportuguese", "pt"}, {"unnamed", ""}};
    for (const auto& [name, locale] : files) {
        QFile file(program.filePath(QStringLiteral("lang/%1.lng").arg(QLatin1String(name))));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("[language]\nlocale=") + locale + "\n");
    }
    if (!stored.isEmpty())
        QVERIFY(writeLanguagePath(stored));

    QCOMPARE(readLanguagePathOrStoreFirst(QLocale(system), program.path()), expected);
    QString read;
    QVERIFY(readLanguagePath(&read));
    QCOMPARE(read, expected);
}

QTEST_GUILESS_MAIN(SettingsTest)
#include "tst_settings.moc"
