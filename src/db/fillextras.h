#pragma once

// What a fill carries beyond its 128-byte record: the partial and missed flags, and for a charge
// of an electric or plug-in hybrid vehicle its kind, home mark and states of charge. They live in
// memory beside the fill table and in the database file in one section after it, which the
// handheld's reader never looks at (docs/file-format.md, "Per-fill data (extension section)").

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>
#include <vector>

// The state of charge of a battery in percent, 0 to 100, or kNoChargeLevel when not given.
constexpr qint8 kNoChargeLevel = -1;

struct FillFlags {
    bool partial = false;      // the tank (or battery) was not filled up to the usual level
    bool missedBefore = false; // a fill before this one was not logged
    // A charge: electricity bought, its kWh in the fill's amount field (fuel otherwise).
    bool charge = false;
    bool atHome = false; // charged at the vehicle's home place, at its price per kWh
    qint8 chargeBefore = kNoChargeLevel;
    qint8 chargeAfter = kNoChargeLevel;

    bool any() const {
        return partial || missedBefore || charge || atHome || chargeBefore != kNoChargeLevel ||
               chargeAfter != kNoChargeLevel;
    }
    friend bool operator==(const FillFlags&, const FillFlags&) = default;
};

// The flags of fill `index` in a table of flags that may be shorter than the fill table: the
// fills beyond it have none.
inline FillFlags flagsAt(const std::vector<FillFlags>& flags, int index) {
    return index >= 0 && std::size_t(index) < flags.size() ? flags[std::size_t(index)]
                                                           : FillFlags();
}

bool anyFillFlagged(const std::vector<FillFlags>& flags);

enum class FillExtrasStatus {
    Read,       // the section matched the fill table
    Absent,     // nothing follows the fill table
    Cut,        // the section ends before its length
    UnknownTag, // what follows the fill table is no section of ours
    UnknownVersion,
    BadLength,  // the length does not fit the version's layout
    WrongCount, // the section describes another number of fills
    BadChecksum,
};

// The most bytes the section of fillCount fills takes in the file.
qint64 fillExtrasSectionSize(qint64 fillCount);

// Reads the section at the start of bytes (what follows a fill table of fillCount fills). Only
// a section that matches in full gives flags; otherwise *flags is emptied (no fill has any).
FillExtrasStatus readFillExtras(QByteArrayView bytes, qint64 fillCount,
                                std::vector<FillFlags>* flags);

// The section for fillCount fills, or nothing when none of them is flagged (the file then ends
// with its fill table, as it always has).
QByteArray fillExtrasSection(const std::vector<FillFlags>& flags, qint64 fillCount);

// One line for the debug log about a section that was ignored; empty for Read and Absent.
QByteArray fillExtrasStatusText(FillExtrasStatus status);
