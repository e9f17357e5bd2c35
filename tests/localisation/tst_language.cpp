#include "localisation/language.h"
#include "localisation/textfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSet>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

namespace {

const QString kDefault = QStringLiteral("<default>");

// Writes a language file into the folder and loads it through the stored-path form.
void loadText(CLanguage& table, const QTemporaryDir& dir, const QByteArray& bytes) {
    QDir(dir.path()).mkpath(QStringLiteral("lang"));
    QFile file(dir.filePath(QStringLiteral("lang/test.lng")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    table.load(QStringLiteral("lang\\test.lng"), dir.path());
}

QString lookup(const CLanguage& table, const QString& section, const QString& key) {
    return table.translate(section, key, kDefault);
}

} // namespace

class LanguageTest : public QObject {
    Q_OBJECT
private slots:
    void appliesTheFileFormat_data();
    void appliesTheFileFormat();
    void missingOrEmptyFileGivesDefaults();
    void refusesWhatIsNoRegularFileOrTooLarge_data();
    void refusesWhatIsNoRegularFileOrTooLarge();
    void loadStartsFromAnEmptyTable();
    void resolvesTheStoredPath_data();
    void resolvesTheStoredPath();
    void loadsFromTheProgramFolder();
    void acceptsPathsOfAnyLength();
    void survivesBinaryGarbage();
    void translatesTextIdsThroughTheProcessTable();
    void listsEveryTextOnce();
    void shippedFileIsComplete_data();
    void shippedFileIsComplete();
    void englishFileRepeatsTheDefaults();
};

void LanguageTest::appliesTheFileFormat_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char* name, const QString& file, const QString& section,
                        const QString& key, const QString& expected) {
        QTest::newRow(name) << file << section << key << expected;
    };
    const auto S = [](const char* text) { return QString::fromUtf8(text); };

    const QString about = S("[about]\ncaption=About\n");
    row("plain entry", about, S("about"), S("caption"), S("About"));
    row("missing key", about, S("about"), S("support"), kDefault);
    row("missing section", about, S("menu"), S("caption"), kDefault);
    row("section ignores case", about, S("ABOUT"), S("caption"), S("About"));
    row("key ignores case", about, S("about"), S("Caption"), S("About"));
    row("non-ASCII names ignore case", S("[Über]\nČÁST=x\n"), S("über"), S("část"), S("x"));
    row("entries before the first section are ignored", S("caption=Early\n[about]\nx=1\n"),
        S("about"), S("caption"), kDefault);
    row("first entry of a key wins", S("[about]\ncaption=One\nCAPTION=Two\n"), S("about"),
        S("caption"), S("One"));
    row("only the first section of a name is searched",
        S("[about]\ncaption=One\n[About]\nsupport=Two\n"), S("about"), S("support"), kDefault);
    row("blanks around = stay in the key", S("[about]\ncaption = About\n"), S("about"),
        S("caption"), kDefault);
    row("blanks around = stay in key and value", S("[about]\ncaption = About \n"), S("about"),
        S("caption "), S(" About "));
    row("first = splits", S("[about]\ncaption=a=b\n"), S("about"), S("caption"), S("a=b"));
    row("empty value is a translation", S("[about]\ntranslation=\n"), S("about"), S("translation"),
        S(""));
    row("CR LF removed", S("[about]\r\ncaption=About\r\n"), S("about"), S("caption"), S("About"));
    row("no line end at the end of the file", S("[about]\ncaption=About"), S("about"), S("caption"),
        S("About"));
    row("line end removed at most twice", S("[about]\ncaption=About\r\r\n"), S("about"),
        S("caption"), S("About\r"));
    row("escapes are not interpreted", S("[about]\ncaption=a\\nb\n"), S("about"), S("caption"),
        S("a\\nb"));
    row("comment in column 1", S("[about]\n#caption=Hidden\n"), S("about"), S("#caption"),
        kDefault);
    row("# after blanks is an entry", S("[about]\n  #caption=Shown\n"), S("about"), S("  #caption"),
        S("Shown"));
    row("blank lines and lines without = are ignored",
        S("[about]\n# note\n\nno equals\n   \ncaption=About\n"), S("about"), S("caption"),
        S("About"));
    row("header trimmed of white space", S(" \t[About] \t\ncaption=About\n"), S("about"),
        S("caption"), S("About"));
    row("blanks inside the brackets belong to the name", S("[ about ]\ncaption=About\n"),
        S("about"), S("caption"), kDefault);
    row("name with blanks found as written", S("[ about ]\ncaption=About\n"), S(" about "),
        S("caption"), S("About"));
    row("empty header names a section", S("[]\ncaption=About\n"), S(""), S("caption"), S("About"));
    row("a header that holds = is a header", S("[a=b]\ncaption=About\n"), S("a=b"), S("caption"),
        S("About"));
    row("a lone bracket is no header", S("[about]\n[\ncaption=About\n"), S("about"), S("caption"),
        S("About"));

    // A 300-character line: its first 254 characters are one entry, the other 46 another.
    const QString longLine = S("[s]\na=") + QString(252, u'v') + S("b=") + QString(44, u'w');
    row("first piece of a long line", longLine, S("s"), S("a"), QString(252, u'v'));
    row("rest of a long line", longLine, S("s"), S("b"), QString(44, u'w'));

    const QString longNames = u'[' + QString(70, u's') + S("]\n") + QString(40, u'k') + S("=v");
    row("names cut to 64 and 32", longNames, QString(64, u's'), QString(32, u'k'), S("v"));
    row("uncut key does not match", longNames, QString(64, u's'), QString(40, u'k'), kDefault);
    row("uncut section does not match", longNames, QString(70, u's'), QString(32, u'k'), kDefault);
}

void LanguageTest::appliesTheFileFormat() {
    QFETCH(QString, file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    CLanguage table;
    loadText(table, dir, file.toUtf8());
    QCOMPARE(lookup(table, section, key), expected);
}

void LanguageTest::missingOrEmptyFileGivesDefaults() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    CLanguage table;
    table.load(QStringLiteral("lang\\missing.lng"), dir.path());
    QCOMPARE(table.sectionCount(), 0);
    QCOMPARE(lookup(table, QStringLiteral("about"), QStringLiteral("caption")), kDefault);

    loadText(table, dir, QByteArray());
    QCOMPARE(table.sectionCount(), 0);
    QCOMPARE(lookup(table, QStringLiteral("about"), QStringLiteral("caption")), kDefault);
    QCOMPARE(table.translate(u"about", u"caption", u""), QString());
}

void LanguageTest::refusesWhatIsNoRegularFileOrTooLarge_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("read");
    QTest::newRow("named pipe") << "fifo" << false;
    QTest::newRow("one byte too large") << "large" << false;
    QTest::newRow("largest") << "largest" << true;
}

// As a file that cannot be opened: at once, with the defaults.
void LanguageTest::refusesWhatIsNoRegularFileOrTooLarge() {
    QFETCH(QString, kind);
    QFETCH(bool, read);
    QTemporaryDir dir;
    CLanguage table;
    loadText(table, dir, "[about]\ncaption=Old\n");
    const QString path = dir.filePath(QStringLiteral("lang/test.lng"));
    QVERIFY(QFile::remove(path));
    const QByteArray name = QFile::encodeName(path);
    if (kind == u"fifo") {
        QCOMPARE(::mkfifo(name.constData(), 0600), 0);
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[about]\ncaption=Big\n");
        QVERIFY(file.resize(CLanguage::kMaxFileBytes + (kind == u"large" ? 1 : 0)));
    }
    table.load(QStringLiteral("lang\\test.lng"), dir.path());
    QCOMPARE(lookup(table, QStringLiteral("about"), QStringLiteral("caption")),
             read ? QStringLiteral("Big") : kDefault);
}

void LanguageTest::loadStartsFromAnEmptyTable() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    CLanguage table;
    loadText(table, dir, "[about]\ncaption=Old\n");
    QCOMPARE(lookup(table, QStringLiteral("about"), QStringLiteral("caption")),
             QStringLiteral("Old"));

    loadText(table, dir, "[menu]\nMainFile=New\n");
    QCOMPARE(table.sectionCount(), 1);
    QCOMPARE(lookup(table, QStringLiteral("about"), QStringLiteral("caption")), kDefault);

    table.load(QStringLiteral("lang\\missing.lng"), dir.path());
    QCOMPARE(lookup(table, QStringLiteral("menu"), QStringLiteral("MainFile")), kDefault);

    loadText(table, dir, "[menu]\nMainFile=New\n");
    table.clear();
    QCOMPARE(table.sectionCount(), 0);
    QCOMPARE(lookup(table, QStringLiteral("menu"), QStringLiteral("MainFile")), kDefault);
}

void LanguageTest::resolvesTheStoredPath_data() {
    QTest::addColumn<QString>("storedPath");
    QTest::addColumn<bool>("found");

    QTest::newRow("backslash") << QStringLiteral("lang\\test.lng") << true;
    QTest::newRow("slash") << QStringLiteral("lang/test.lng") << true;
    QTest::newRow("file name alone") << QStringLiteral("test.lng") << false;
    QTest::newRow("folder") << QStringLiteral("lang") << false;
    QTest::newRow("empty") << QString() << false;
}

void LanguageTest::resolvesTheStoredPath() {
    QFETCH(QString, storedPath);
    QFETCH(bool, found);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    CLanguage table;
    loadText(table, dir, "[about]\ncaption=About\n");
    table.load(storedPath, dir.path());
    QCOMPARE(lookup(table, QStringLiteral("about"), QStringLiteral("caption")),
             found ? QStringLiteral("About") : kDefault);
}

void LanguageTest::loadsFromTheProgramFolder() {
    QTemporaryDir dir(QCoreApplication::applicationDirPath() + QStringLiteral("/lang-XXXXXX"));
    QVERIFY(dir.isValid());
    QFile file(dir.filePath(QStringLiteral("test.lng")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[about]\ncaption=About\n");
    file.close();

    CLanguage table;
    table.load(QDir(dir.path()).dirName() + QStringLiteral("\\test.lng"));
    QCOMPARE(lookup(table, QStringLiteral("about"), QStringLiteral("caption")),
             QStringLiteral("About"));
}

void LanguageTest::acceptsPathsOfAnyLength() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString folder = QStringLiteral("lang");
    for (int i = 0; i < 6; ++i)
        folder += u'/' + QString(60, QChar(u'a' + i));
    QVERIFY(QDir(dir.path()).mkpath(folder));
    const QString storedPath = QString(folder + QStringLiteral("/test.lng")).replace(u'/', u'\\');
    QVERIFY(dir.path().size() + storedPath.size() > 400);
    QFile file(dir.filePath(folder + QStringLiteral("/test.lng")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[about]\ncaption=About\n");
    file.close();

    CLanguage table;
    table.load(storedPath, dir.path());
    QCOMPARE(lookup(table, QStringLiteral("about"), QStringLiteral("caption")),
             QStringLiteral("About"));
}

void LanguageTest::survivesBinaryGarbage() {
    QRandomGenerator random(7);
    QByteArray bytes("[s]\n");
    for (int i = 0; i < 20000; ++i)
        bytes.append(char(random.bounded(256)));
    bytes.append("\n[about]\ncaption=About\n");

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    CLanguage table;
    loadText(table, dir, bytes);
    QVERIFY(table.sectionCount() >= 2);
    QCOMPARE(lookup(table, QStringLiteral("s"), QStringLiteral("no such key")), kDefault);
}

void LanguageTest::translatesTextIdsThroughTheProcessTable() {
    language().clear();
    QCOMPARE(translate(Text::units_Cost), QStringLiteral("K\u010D"));
    QCOMPARE(translate(Text::about_translation), QString());

    language().load(QStringLiteral("german.lng"), QStringLiteral(TANKOMETER_LANG_DIR));
    QCOMPARE(translate(Text::units_Cost), QStringLiteral("\u20AC"));
    QCOMPARE(translate(Text::units_cost), QStringLiteral("\u20AC"));
    QCOMPARE(translate(Text::menu_MainFile), QStringLiteral("Datei"));
    language().clear();
    QCOMPARE(translate(Text::menu_MainFile), QStringLiteral("File"));
}

// The handheld's 112 pairs and the desktop's own texts, each pair once.
void LanguageTest::listsEveryTextOnce() {
    QVERIFY(allTexts().size() >= 112);
    QSet<QString> pairs;
    for (const TextId& text : allTexts()) {
        QVERIFY(text.section && text.key && text.defaultText);
        pairs.insert(QString::fromUtf16(text.section) + u'/' + QString::fromUtf16(text.key));
    }
    QCOMPARE(qsizetype(pairs.size()), qsizetype(allTexts().size()));
}

void LanguageTest::shippedFileIsComplete_data() {
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("languageName");
    QTest::addColumn<QString>("currency");
    QTest::addColumn<QString>("ownName"); // and its locale

    QTest::newRow("english") << "english.lng"
                             << "English" << QStringLiteral("K\u010D") << "English en";
    QTest::newRow("czech") << "czech.lng"
                           << "Czech" << QStringLiteral("K\u010D") << "\u010Ce\u0161tina cs";
    QTest::newRow("german") << "german.lng"
                            << "German" << QStringLiteral("\u20AC") << "Deutsch de";
}

// Every pair of the program is translated, every line of the file is a comment, a blank line,
// a header or an entry the program asks for, and no section or entry is shadowed by an earlier
// one of the same name.
void LanguageTest::shippedFileIsComplete() {
    QFETCH(QString, fileName);
    QFETCH(QString, languageName);
    QFETCH(QString, currency);

    QFile file(QStringLiteral(TANKOMETER_LANG_DIR "/") + fileName);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(!bytes.startsWith("\xEF\xBB\xBF"));
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString text = utf8.decode(bytes);
    QVERIFY(!utf8.hasError());
    QVERIFY(text.startsWith(QStringLiteral("# Tankometer language file: ") + languageName));

    QSet<QString> known;
    for (const TextId& t : allTexts())
        known.insert(QString::fromUtf16(t.section).toCaseFolded() + u'/' +
                     QString::fromUtf16(t.key).toCaseFolded());
    // Each file also names itself and its locale, for the Settings list and Qt's own texts.
    known.insert(QStringLiteral("language/name"));
    known.insert(QStringLiteral("language/locale"));

    CTextFileReader reader;
    reader.setText(text);
    QString line;
    QString section;
    QSet<QString> sections;
    QSet<QString> entries;
    while (reader.readLine(&line, CLanguage::kLinePiece)) {
        QVERIFY2(line.endsWith(u'\n'), qPrintable(QStringLiteral("line too long: ") + line));
        const QString content = stripLineEnd(line);
        if (content.isEmpty() || content.startsWith(u'#'))
            continue;
        if (content.startsWith(u'[') && content.endsWith(u']')) {
            section = content.mid(1, content.size() - 2).toCaseFolded();
            QVERIFY2(!sections.contains(section),
                     qPrintable(QStringLiteral("repeated section ") + content));
            sections.insert(section);
            continue;
        }
        const qsizetype equals = content.indexOf(u'=');
        QVERIFY2(equals > 0 && !section.isEmpty(),
                 qPrintable(QStringLiteral("skipped line: ") + content));
        const QString pair = section + u'/' + content.left(equals).toCaseFolded();
        QVERIFY2(known.contains(pair), qPrintable(QStringLiteral("unknown entry: ") + pair));
        QVERIFY2(!entries.contains(pair), qPrintable(QStringLiteral("repeated entry: ") + pair));
        entries.insert(pair);
    }
    QCOMPARE(entries, known);

    CLanguage table;
    table.load(fileName, QStringLiteral(TANKOMETER_LANG_DIR));
    for (const TextId& t : allTexts())
        QVERIFY2(table.translate(t.section, t.key, kDefault) != kDefault,
                 qPrintable(QString::fromUtf16(t.section) + u'/' + QString::fromUtf16(t.key)));
    QCOMPARE(table.translate(u"units", u"cost", kDefault), currency);
    QFETCH(QString, ownName);
    QCOMPARE(table.ownName() + u' ' + table.localeName(), ownName);
}

void LanguageTest::englishFileRepeatsTheDefaults() {
    CLanguage table;
    table.load(QStringLiteral("english.lng"), QStringLiteral(TANKOMETER_LANG_DIR));
    for (const TextId& t : allTexts())
        QCOMPARE(table.translate(t.section, t.key, kDefault), QString::fromUtf16(t.defaultText));
}

QTEST_GUILESS_MAIN(LanguageTest)
#include "tst_language.moc"
