#pragma once

// Reading of the program's text files (language files, CSV imports). Files are written as UTF-8
// without a byte-order mark; reading recognises a UTF-8, UTF-16LE or UTF-16BE byte-order mark and
// takes a file without one as UTF-8. Bytes that do not decode become U+FFFD, so any file, binary
// or not, reads to its end.

#include <QByteArray>
#include <QString>

// The characters of a whole file's bytes, byte-order mark removed.
QString decodeTextFile(const QByteArray& bytes);

// Drops a final CR or LF, and then one more final CR or LF.
QString stripLineEnd(QString line);

class CTextFileReader {
public:
    CTextFileReader() = default;
    ~CTextFileReader() = default;

    // Reads and decodes the whole file. False when it cannot be opened or read; the reader is
    // then empty.
    bool open(const QString& path);
    // Reads from text already decoded.
    void setText(QString text);

    // The next line, with its line-end characters as they stand in the file, or its next piece
    // of maxCharacters characters when the line is longer; the rest of a long line comes as the
    // following pieces. False at the end of the text.
    bool readLine(QString* line, qsizetype maxCharacters);

    bool atEnd() const { return m_position >= m_text.size(); }

private:
    QString m_text;
    qsizetype m_position = 0;
};
