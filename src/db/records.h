#pragma once

// The records of the database file. The same bytes live in memory and in the file
// (little-endian, UTF-16LE text in fixed arrays, zero-terminated within the field).

#include "db/version.h"

#include <QString>
#include <QStringView>
#include <QtGlobal>
#include <algorithm>
#include <cstddef>
#include <cstdint>

#if Q_BYTE_ORDER != Q_LITTLE_ENDIAN
#error "The database records are stored as they lie in memory: a little-endian target is needed."
#endif

// A FILETIME: 100-nanosecond intervals since 1601-01-01 00:00 in local wall-clock time,
// kept as two 32-bit words, low word first, so that it sits unaligned at offset 116 of a fill.
struct FileTime {
    quint32 low = 0;
    quint32 high = 0;

    quint64 value() const { return (quint64(high) << 32) | low; }
    static FileTime fromValue(quint64 v) { return {quint32(v & 0xffffffffu), quint32(v >> 32)}; }
};

// -1, 0 or +1 by the unsigned 64-bit value. Inline: a load compares every neighbouring pair.
inline int compareFileTime(const FileTime& a, const FileTime& b) {
    const quint64 x = a.value();
    const quint64 y = b.value();
    return x < y ? -1 : (x > y ? 1 : 0);
}

constexpr int kNotesUnits = 50;
constexpr int kStationNameUnits = 32;
constexpr int kDriverNameUnits = 20;

struct FillRecord {
    qint32 stationId = 0;
    char16_t notes[kNotesUnits] = {};
    qint32 odometer = 0;
    float fuel = 0.0f;
    float cost = 0.0f;
    FileTime dateTime;
    qint32 driverId = -1;
};

struct StationRecord {
    qint32 id = 0;
    char16_t name[kStationNameUnits] = {};
};

struct DriverRecord {
    qint32 id = 0;
    char16_t name[kDriverNameUnits] = {};
};

struct DatabaseHeader {
    char16_t magic[2] = {u'T', u'K'};
    qint32 versionMajor = kProgramVersionMajor;
    qint32 versionMinor = kProgramVersionMinor;
    qint32 versionRevision = 0;
    qint32 formatMajor = 1;
    qint32 formatMinor = 0;
    qint32 reserved = 0;
};

static_assert(sizeof(FileTime) == 8);
static_assert(sizeof(FillRecord) == 128);
static_assert(offsetof(FillRecord, stationId) == 0);
static_assert(offsetof(FillRecord, notes) == 4);
static_assert(offsetof(FillRecord, odometer) == 104);
static_assert(offsetof(FillRecord, fuel) == 108);
static_assert(offsetof(FillRecord, cost) == 112);
static_assert(offsetof(FillRecord, dateTime) == 116);
static_assert(offsetof(FillRecord, driverId) == 124);
static_assert(sizeof(StationRecord) == 68);
static_assert(offsetof(StationRecord, name) == 4);
static_assert(sizeof(DriverRecord) == 44);
static_assert(offsetof(DriverRecord, name) == 4);
static_assert(sizeof(DatabaseHeader) == 28);
static_assert(offsetof(DatabaseHeader, formatMajor) == 16);
static_assert(offsetof(DatabaseHeader, reserved) == 24);

// The units of a fixed field up to the first zero (or the whole field).
template <std::size_t N> QStringView fieldView(const char16_t (&field)[N]) {
    std::size_t length = 0;
    while (length < N && field[length] != 0)
        ++length;
    return QStringView(field, qsizetype(length));
}

// The text of a fixed field: the units up to the first zero (or the whole field).
template <std::size_t N> QString fieldText(const char16_t (&field)[N]) {
    return fieldView(field).toString();
}

// The part of text that a field of fieldUnits units keeps: the units before the first zero,
// at most fieldUnits - 1 of them. A cut that would leave the first half of a surrogate pair
// drops that half too, so stored text never ends in half a character.
QString fieldFit(const QString& text, qsizetype fieldUnits);

// Stores text as fieldFit cuts it, then zero units to the end of the field.
template <std::size_t N> void setFieldText(char16_t (&field)[N], const QString& text) {
    const QString fitted = fieldFit(text, qsizetype(N));
    const std::size_t length = std::size_t(fitted.size());
    for (std::size_t i = 0; i < N; ++i)
        field[i] = i < length ? char16_t(fitted.at(qsizetype(i)).unicode()) : u'\0';
}
