#pragma once

// Reading of the program's text files (language files, CSV imports). Files are written as UTF-8
// without a byte-order mark; reading recognises a UTF-8, UTF-16LE or UTF-16BE byte-order mark and
// takes a file without one as UTF-8. Bytes that do not decode become U+FFFD, so any file, binary
// or not, reads to its end.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringConverter>

// The characters of a whole file's bytes, byte-order mark removed.
QString decodeTextFile(const QByteArray& bytes);

// The characters of a regular file of at most maxBytes bytes, read whole; false when it is no
// regular file, cannot be read or is larger.
bool readTextFile(const QString& path, qint64 maxBytes, QString* text);

// Drops a final CR or LF, and then one more final CR or LF.
QString stripLineEnd(QString line);

// A file is read and decoded in pieces of this many bytes.
inline constexpr qint64 kTextFileChunkBytes = 64 * 1024;

class CTextFileReader {
public:
    // What ends a line: LF only (a CR stays in the line, as language files are read), or LF, CR
    // LF and a lone CR (CSV files from any system).
    enum class LineEnds { LineFeed, Any };

    explicit CTextFileReader(LineEnds lineEnds = LineEnds::LineFeed) : m_lineEnds(lineEnds) {}
    ~CTextFileReader() = default;

    // Opens a regular file of at most maxBytes bytes; its text is decoded as the lines are read.
    // False when it is no regular file, cannot be opened or read, or is larger; the reader is
    // then empty.
    bool open(const QString& path, qint64 maxBytes);
    // Reads from text already decoded.
    void setText(QString text);

    // The next line, with its line end as it stands in the file, or its next piece of
    // maxCharacters characters when the line is longer; the rest of a long line comes as the
    // following pieces. With LineEnds::Any a CR LF is split only into pieces of one character.
    // False at the end of the text.
    bool readLine(QString* line, qsizetype maxCharacters);

    bool atEnd();
    // True when reading the file failed after it was opened, or the file grew beyond its
    // maxBytes: the text read is then incomplete.
    bool hasError() const { return m_error; }

private:
    // Decodes further bytes until `characters` characters are ready or the file has ended;
    // false when none are left.
    bool fill(qsizetype characters);
    void decodeChunk();

    LineEnds m_lineEnds;
    QFile m_file;
    bool m_reading = false; // while bytes of the file remain
    QStringConverter::Encoding m_encoding = QStringConverter::Utf8;
    QByteArray m_heldBytes; // read, not yet decoded
    QString m_text;
    qsizetype m_position = 0;
    qint64 m_bytesLeft = 0;
    bool m_error = false;
};
