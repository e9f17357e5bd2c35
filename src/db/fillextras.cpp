#include "db/fillextras.h"

#include "db/crc32.h"

#include <algorithm>
#include <cstring>

namespace {

// Little-endian, like the rest of the file:
//   0        4  tag "TKFX"
//   4        4  version, 1 or 2
//   8        4  length of the whole section in bytes, 20 + E * F
//   12       4  F, the number of fills the section describes (the fill table's count)
//   16   E * F  one entry per fill in table order, E bytes each (1 in version 1, 4 in version 2):
//               byte 0: bit 0 partial, bit 1 missed before, bit 2 charge, bit 3 at home;
//               bytes 1 and 2: state of charge before and after in percent, 0xFF not given;
//               byte 3: zero
//   ...      4  CRC-32 of the bytes from the tag up to here
// Version 1 is written while no fill has more than the partial and missed flags, so that such a
// log stays the file earlier versions wrote.
constexpr char kTag[4] = {'T', 'K', 'F', 'X'};
constexpr quint32 kFlagsVersion = 1;
constexpr quint32 kChargeVersion = 2;
constexpr qint64 kHeadSize = 16;
constexpr qint64 kChecksumSize = 4;
constexpr quint8 kPartialBit = 0x01;
constexpr quint8 kMissedBit = 0x02;
constexpr quint8 kChargeBit = 0x04;
constexpr quint8 kAtHomeBit = 0x08;
constexpr quint8 kNoLevelByte = 0xFF;
constexpr int kMaxChargeLevel = 100;

qint64 entrySize(quint32 version) {
    return version == kFlagsVersion ? 1 : 4;
}

qint64 sectionSize(quint32 version, qint64 fillCount) {
    return kHeadSize + entrySize(version) * fillCount + kChecksumSize;
}

// A state of charge as stored; anything above 100 % reads as not given.
qint8 levelOf(quint8 byte) {
    return byte <= kMaxChargeLevel ? qint8(byte) : kNoChargeLevel;
}

quint8 levelByte(qint8 level) {
    return level >= 0 && level <= kMaxChargeLevel ? quint8(level) : kNoLevelByte;
}

bool onlyFlagsOfVersion1(const FillFlags& f) {
    return !f.charge && !f.atHome && levelByte(f.chargeBefore) == kNoLevelByte &&
           levelByte(f.chargeAfter) == kNoLevelByte;
}

quint32 wordAt(QByteArrayView bytes, qint64 offset) {
    quint32 word;
    std::memcpy(&word, bytes.data() + offset, sizeof word);
    return word;
}

void appendWord(QByteArray* bytes, quint32 word) {
    bytes->append(reinterpret_cast<const char*>(&word), sizeof word);
}

} // namespace

bool anyFillFlagged(const std::vector<FillFlags>& flags) {
    return std::any_of(flags.begin(), flags.end(), [](const FillFlags& f) { return f.any(); });
}

qint64 fillExtrasSectionSize(qint64 fillCount) {
    return sectionSize(kChargeVersion, fillCount);
}

FillExtrasStatus readFillExtras(QByteArrayView bytes, qint64 fillCount,
                                std::vector<FillFlags>* flags) {
    flags->clear();
    if (bytes.isEmpty())
        return FillExtrasStatus::Absent;
    if (bytes.size() < qint64(sizeof kTag))
        return FillExtrasStatus::Cut;
    if (std::memcmp(bytes.data(), kTag, sizeof kTag) != 0)
        return FillExtrasStatus::UnknownTag;
    if (bytes.size() < kHeadSize)
        return FillExtrasStatus::Cut;
    const quint32 version = wordAt(bytes, 4);
    if (version != kFlagsVersion && version != kChargeVersion)
        return FillExtrasStatus::UnknownVersion;
    const quint32 length = wordAt(bytes, 8);
    const quint32 count = wordAt(bytes, 12);
    if (qint64(length) != sectionSize(version, count))
        return FillExtrasStatus::BadLength;
    if (qint64(count) != fillCount)
        return FillExtrasStatus::WrongCount;
    if (bytes.size() < qint64(length))
        return FillExtrasStatus::Cut;
    const qint64 checked = qint64(length) - kChecksumSize;
    if (crc32(bytes.first(checked)) != wordAt(bytes, checked))
        return FillExtrasStatus::BadChecksum;
    flags->resize(std::size_t(count));
    const qint64 size = entrySize(version);
    for (quint32 i = 0; i < count; ++i) {
        // Bits and bytes this version does not know are written as 0 and read as nothing.
        const char* entry = bytes.data() + kHeadSize + size * i;
        const quint8 bits = quint8(entry[0]);
        FillFlags& f = (*flags)[i];
        f.partial = (bits & kPartialBit) != 0;
        f.missedBefore = (bits & kMissedBit) != 0;
        if (version == kChargeVersion) {
            f.charge = (bits & kChargeBit) != 0;
            f.atHome = (bits & kAtHomeBit) != 0;
            f.chargeBefore = levelOf(quint8(entry[1]));
            f.chargeAfter = levelOf(quint8(entry[2]));
        }
    }
    return FillExtrasStatus::Read;
}

QByteArray fillExtrasSection(const std::vector<FillFlags>& flags, qint64 fillCount) {
    if (!anyFillFlagged(flags))
        return {};
    const quint32 version = std::all_of(flags.begin(), flags.end(), onlyFlagsOfVersion1)
                                ? kFlagsVersion
                                : kChargeVersion;
    QByteArray section;
    section.reserve(sectionSize(version, fillCount));
    section.append(kTag, sizeof kTag);
    appendWord(&section, version);
    appendWord(&section, quint32(sectionSize(version, fillCount)));
    appendWord(&section, quint32(fillCount));
    for (qint64 i = 0; i < fillCount; ++i) {
        const FillFlags f = flagsAt(flags, int(i));
        const quint8 bits = (f.partial ? kPartialBit : 0) | (f.missedBefore ? kMissedBit : 0) |
                            (f.charge ? kChargeBit : 0) | (f.atHome ? kAtHomeBit : 0);
        section.append(char(bits));
        if (version == kChargeVersion) {
            section.append(char(levelByte(f.chargeBefore)));
            section.append(char(levelByte(f.chargeAfter)));
            section.append('\0');
        }
    }
    appendWord(&section, crc32(section));
    return section;
}

QByteArray fillExtrasStatusText(FillExtrasStatus status) {
    const char* reason = nullptr;
    switch (status) {
    case FillExtrasStatus::Read:
    case FillExtrasStatus::Absent:
        return {};
    case FillExtrasStatus::Cut:
        reason = "cut short";
        break;
    case FillExtrasStatus::UnknownTag:
        reason = "unknown tag";
        break;
    case FillExtrasStatus::UnknownVersion:
        reason = "unknown version";
        break;
    case FillExtrasStatus::BadLength:
        reason = "length does not fit";
        break;
    case FillExtrasStatus::WrongCount:
        reason = "fill count differs from the fill table";
        break;
    case FillExtrasStatus::BadChecksum:
        reason = "bad checksum";
        break;
    }
    return QByteArray("Per-fill data after the fill table ignored (") + reason +
           "); the fills are read, without partial or missed flags or charges";
}
