#include "localisation/textfile.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

class TextFileTest : public QObject {
    Q_OBJECT
private slots:
    void decodesByByteOrderMark_data();
    void decodesByByteOrderMark();
    void readsLinesInPieces_data();
    void readsLinesInPieces();
    void stripsAtMostTwoLineEndCharacters_data();
    void stripsAtMostTwoLineEndCharacters();
    void readsAFileFromDisk();
    void refusesWhatCannotBeOpened();
    void readsBinaryGarbageToTheEnd();
    void aFileGrownBeyondItsSizeIsAnError();
    void decodesInChunksAsAWhole();
};

void TextFileTest::decodesByByteOrderMark_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");

    const QString kc = QStringLiteral("K\u010D=1");
    QTest::newRow("utf8 without mark") << kc.toUtf8() << kc;
    QTest::newRow("utf8 with mark") << QByteArray("\xEF\xBB\xBF" + kc.toUtf8()) << kc;
    QTest::newRow("utf16le") << QByteArray::fromHex("fffe4b000d013d003100") << kc;
    QTest::newRow("utf16be") << QByteArray::fromHex("feff004b010d003d0031") << kc;
    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("mark only") << QByteArray("\xEF\xBB\xBF") << QString();
    QTest::newRow("invalid utf8 in the middle")
        << QByteArray("a\xC3(b") << QStringLiteral("a\uFFFD(b");
    QTest::newRow("utf8 cut at the end") << QByteArray("a\xC4") << QStringLiteral("a\uFFFD");
    QTest::newRow("utf16le with an odd byte")
        << QByteArray::fromHex("fffe610062") << QStringLiteral("a\uFFFD");
    QTest::newRow("utf16be with an odd byte")
        << QByteArray::fromHex("feff006100") << QStringLiteral("a\uFFFD");
    QTest::newRow("a mark later in the file is a character")
        << QByteArray("a\xEF\xBB\xBF") << QStringLiteral("a\uFEFF");
}

void TextFileTest::decodesByByteOrderMark() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    QCOMPARE(decodeTextFile(bytes), expected);
}

void TextFileTest::readsLinesInPieces_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("maxCharacters");
    QTest::addColumn<QStringList>("pieces");
    QTest::addColumn<bool>("anyLineEnd"); // CR alone ends a line too

    QTest::newRow("line ends kept")
        << QStringLiteral("a\r\nb\n") << 10
        << QStringList{QStringLiteral("a\r\n"), QStringLiteral("b\n")} << false;
    QTest::newRow("last line without a line end")
        << QStringLiteral("a\nb") << 10 << QStringList{QStringLiteral("a\n"), QStringLiteral("b")}
        << false;
    QTest::newRow("empty lines") << QStringLiteral("\n\n") << 10
                                 << QStringList{QStringLiteral("\n"), QStringLiteral("\n")}
                                 << false;
    QTest::newRow("long line in pieces")
        << QStringLiteral("abcdefghij\nk") << 4
        << QStringList{QStringLiteral("abcd"), QStringLiteral("efgh"), QStringLiteral("ij\n"),
                       QStringLiteral("k")}
        << false;
    QTest::newRow("line of exactly the piece size")
        << QStringLiteral("abcd\nef") << 4
        << QStringList{QStringLiteral("abcd"), QStringLiteral("\n"), QStringLiteral("ef")} << false;
    QTest::newRow("piece boundary between CR and LF")
        << QStringLiteral("abc\r\n") << 4
        << QStringList{QStringLiteral("abc\r"), QStringLiteral("\n")} << false;
    QTest::newRow("a lone CR does not end a line")
        << QStringLiteral("a\rb\n") << 10 << QStringList{QStringLiteral("a\rb\n")} << false;
    QTest::newRow("any line end: CR LF kept whole")
        << QStringLiteral("abc\r\nd") << 4
        << QStringList{QStringLiteral("abc"), QStringLiteral("\r\n"), QStringLiteral("d")} << true;
    QTest::newRow("any line end: CR LF of one piece")
        << QStringLiteral("ab\r\nd") << 4
        << QStringList{QStringLiteral("ab\r\n"), QStringLiteral("d")} << true;
    QTest::newRow("any line end: pieces of one character")
        << QStringLiteral("\r\n") << 1 << QStringList{QStringLiteral("\r"), QStringLiteral("\n")}
        << true;
    QTest::newRow("any line end: a lone CR ends a line")
        << QStringLiteral("a\rb\n\r\rc") << 10
        << QStringList{QStringLiteral("a\r"), QStringLiteral("b\n"), QStringLiteral("\r"),
                       QStringLiteral("\r"), QStringLiteral("c")}
        << true;
    QTest::newRow("empty text") << QString() << 10 << QStringList{} << false;
}

void TextFileTest::readsLinesInPieces() {
    QFETCH(QString, text);
    QFETCH(int, maxCharacters);
    QFETCH(QStringList, pieces);
    QFETCH(bool, anyLineEnd);

    CTextFileReader reader(anyLineEnd ? CTextFileReader::LineEnds::Any
                                      : CTextFileReader::LineEnds::LineFeed);
    reader.setText(text);
    QStringList read;
    QString line;
    while (reader.readLine(&line, maxCharacters))
        read << line;
    QCOMPARE(read, pieces);
    QVERIFY(reader.atEnd());
    QVERIFY(!reader.readLine(&line, maxCharacters));
    QVERIFY(line.isEmpty());
}

void TextFileTest::stripsAtMostTwoLineEndCharacters_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("expected");

    QTest::newRow("CR LF") << QStringLiteral("x\r\n") << QStringLiteral("x");
    QTest::newRow("LF") << QStringLiteral("x\n") << QStringLiteral("x");
    QTest::newRow("CR") << QStringLiteral("x\r") << QStringLiteral("x");
    QTest::newRow("LF CR") << QStringLiteral("x\n\r") << QStringLiteral("x");
    QTest::newRow("three line ends") << QStringLiteral("x\r\r\n") << QStringLiteral("x\r");
    QTest::newRow("none") << QStringLiteral("x ") << QStringLiteral("x ");
    QTest::newRow("only line ends") << QStringLiteral("\r\n") << QString();
    QTest::newRow("empty") << QString() << QString();
}

void TextFileTest::stripsAtMostTwoLineEndCharacters() {
    QFETCH(QString, line);
    QFETCH(QString, expected);
    QCOMPARE(stripLineEnd(line), expected);
}

void TextFileTest::readsAFileFromDisk() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile file(dir.filePath(QStringLiteral("a.txt")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromHex("fffe") + QByteArray("a\0\r\0\n\0b\0", 8));
    file.close();

    CTextFileReader reader;
    QVERIFY(reader.open(file.fileName(), 100));
    QString line;
    QVERIFY(reader.readLine(&line, 254));
    QCOMPARE(line, QStringLiteral("a\r\n"));
    QVERIFY(reader.readLine(&line, 254));
    QCOMPARE(line, QStringLiteral("b"));
    QVERIFY(!reader.readLine(&line, 254));
}

void TextFileTest::refusesWhatCannotBeOpened() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    CTextFileReader reader;
    reader.setText(QStringLiteral("left over\n"));
    QVERIFY(!reader.open(dir.filePath(QStringLiteral("missing.txt")), 100));
    QVERIFY(reader.atEnd());
    QString line;
    QVERIFY(!reader.readLine(&line, 254));

    // No wait for a writer, no endless reading: only regular files within the size given.
    const QString fifo = dir.filePath(QStringLiteral("fifo"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QFile large(dir.filePath(QStringLiteral("large.txt")));
    QVERIFY(large.open(QIODevice::WriteOnly) && large.resize(101));
    large.close();
    for (const QString& path : {dir.path(), fifo, QStringLiteral("/dev/zero"), large.fileName()}) {
        QVERIFY2(!reader.open(path, 100), qPrintable(path));
        QVERIFY(reader.atEnd() && !reader.hasError());
    }
    QVERIFY(reader.open(large.fileName(), 101));
}

// A file that grows beyond its size after it was opened is read up to it and reported.
void TextFileTest::aFileGrownBeyondItsSizeIsAnError() {
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("growing.txt")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("a\nb\n");
    file.flush();
    CTextFileReader reader;
    QVERIFY(reader.open(file.fileName(), 4));
    file.write(QByteArray(kTextFileChunkBytes * 2, 'c'));
    file.flush();
    QString line;
    QStringList read;
    while (reader.readLine(&line, 254))
        read << line;
    QVERIFY(reader.hasError());
    QVERIFY(read.join(QString()).size() <= 4);
}

// However the chunks of the file cut its characters, the reader gives the text that decoding
// the whole file gives.
void TextFileTest::decodesInChunksAsAWhole() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("chunks.txt"));
    QRandomGenerator random(20261209);
    const QList<QByteArray> contents = {
        QByteArray("\xFF\xFE") + QByteArray(kTextFileChunkBytes - 3, 'a') + "\x3D\xD8\x00\xDE",
        QByteArray("\xFE\xFF") + QByteArray(kTextFileChunkBytes - 1, 'a') + "x",
        QByteArray(kTextFileChunkBytes * 2, 'a') + "\xE2\x82",
    };
    QList<QByteArray> all = contents;
    // Every character, whole or cut, complete or not, ending 1 to 4 bytes after the chunk's end.
    for (const QByteArray& character :
         {QByteArray("\xC4\x8D"), QByteArray("\xE2\x82\xAC"), QByteArray("\xF0\x9F\x98\x80"),
          QByteArray("\xE2\x82"
                     "A"),
          QByteArray("\xED\xA0\x80"), QByteArray("\xC4\xC4\x8D")}) {
        for (qint64 back = 1; back <= 4; ++back)
            all << QByteArray(kTextFileChunkBytes - back, 'a') + character + "\n";
    }
    for (const QByteArray& start : {QByteArray(), QByteArray("\xFF\xFE"), QByteArray("\xFE\xFF"),
                                    QByteArray("\xEF\xBB\xBF")}) {
        QByteArray bytes = start;
        for (qint64 i = 0; i < kTextFileChunkBytes * 3 + 7; ++i)
            bytes.append(char(random.bounded(256)));
        all << bytes;
    }
    for (const QByteArray& bytes : all) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        CTextFileReader reader;
        QVERIFY(reader.open(path, bytes.size()));
        QString joined;
        QString line;
        while (reader.readLine(&line, 1023))
            joined += line;
        QVERIFY(!reader.hasError());
        QCOMPARE(joined, decodeTextFile(bytes));
    }
}

void TextFileTest::readsBinaryGarbageToTheEnd() {
    QRandomGenerator random(20240607);
    for (const QByteArray& start : {QByteArray(), QByteArray("\xFF\xFE"), QByteArray("\xFE\xFF"),
                                    QByteArray("\xEF\xBB\xBF")}) {
        QByteArray bytes = start;
        for (int i = 0; i < 5001; ++i)
            bytes.append(char(random.bounded(256)));
        const QString text = decodeTextFile(bytes);

        CTextFileReader reader;
        reader.setText(text);
        QString joined;
        QString line;
        int pieces = 0;
        while (reader.readLine(&line, 254)) {
            QVERIFY(!line.isEmpty());
            QVERIFY(line.size() <= 254);
            joined += line;
            ++pieces;
        }
        QCOMPARE(joined, text);
        QVERIFY(pieces <= text.size());
    }
}

QTEST_GUILESS_MAIN(TextFileTest)
#include "tst_textfile.moc"
