#pragma once

// Reading a semicolon-separated file record by record.
//
// Lines end in LF, CR LF or a lone CR. A file line longer than kCsvLineCharacters characters is
// one record of its first kCsvLineCharacters characters; the rest of it is dropped. Fields are
// separated by ';'. A field that starts with '"' and runs to a closing '"' right before a ';' or
// the line end is a quoted field: it may hold ';' and line breaks, and '""' inside it stands for
// one '"'. Everything else splits at every ';', and each field loses one leading and then one
// trailing '"'. A record whose quotes do not form quoted fields (or whose quoted field runs past
// the line limit or the end of the file) is read that plain way as one line.

#include "localisation/textfile.h"

#include <QString>
#include <QStringList>
#include <deque>

inline constexpr qsizetype kCsvLineCharacters = 1023;
// A larger file is not read (the import then reports that it cannot open it).
inline constexpr qint64 kCsvFileBytes = 512 * 1024 * 1024;

struct CsvRecord {
    int lineNumber = 0;    // the file line the record starts on, counted from 1
    QStringList fields;    // the values, unquoted
    QStringList rawFields; // the same fields as the file writes them, quotes and all
    // True for an empty line, or one of blanks only.
    bool isBlank() const { return fields.size() == 1 && fields.front().trimmed().isEmpty(); }
};

// Splits one record's text (its line end already removed) into *record's fields.
void splitCsvRecord(const QString& text, CsvRecord* record);

class CCsvReader {
public:
    CCsvReader() : m_file(CTextFileReader::LineEnds::Any) {}
    ~CCsvReader() = default;

    // Opens a regular file of at most kCsvFileBytes bytes, read as the records are (byte-order
    // mark detection as for every text file of the program). False when it cannot be opened.
    bool open(const QString& path);
    void setText(QString text);

    // The next record; false at the end of the file.
    bool readRecord(CsvRecord* record);
    // True when the file could not be read to its end.
    bool hasError() const { return m_file.hasError(); }

private:
    struct Line {
        QString text; // with its line end
        int lineNumber = 0;
    };
    bool nextLine(Line* line);

    CTextFileReader m_file;
    std::deque<Line> m_pending; // lines read ahead for a quoted field that did not close
    int m_nextLineNumber = 1;
};
