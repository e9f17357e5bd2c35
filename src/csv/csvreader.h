#pragma once

// Reading a semicolon-separated file record by record.
//
// A file line is read in pieces of at most kCsvLineCharacters characters; the rest of a longer
// line is a record of its own. Fields are separated by ';'. A field that starts with '"' and
// runs to a closing '"' right before a ';' or the line end is a quoted field: it may hold ';'
// and line breaks, and '""' inside it stands for one '"'. Everything else splits at every ';',
// and each field loses one leading and then one trailing '"'. A record whose quotes do not
// form quoted fields (or whose quoted field runs past the line limit or the end of the file)
// is read that plain way as one line.

#include "localisation/textfile.h"

#include <QString>
#include <QStringList>
#include <deque>

inline constexpr qsizetype kCsvLineCharacters = 1023;

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
    CCsvReader() = default;
    ~CCsvReader() = default;

    // Reads the whole file (byte-order mark detection as for every text file of the program).
    // False when it cannot be opened or read.
    bool open(const QString& path);
    void setText(QString text);

    // The next record; false at the end of the file.
    bool readRecord(CsvRecord* record);

private:
    struct Piece {
        QString text;
        int lineNumber = 0;
    };
    bool nextPiece(Piece* piece);

    CTextFileReader m_file;
    std::deque<Piece> m_pending; // pieces read ahead for a quoted field that did not close
    int m_nextLineNumber = 1;
};
