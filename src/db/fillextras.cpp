#include "db/fillextras.h"

#include "db/crc32.h"

#include <algorithm>
#include <cstring>

namespace {

// Little-endian, like the rest of the file:
//   0       4  tag "TKFX"
//   4       4  version, 1
//   8       4  length of the whole section in bytes, 20 + F
//   12      4  F, the number of fills the section describes (the fill table's count)
//   16      F  one byte per fill in table order: bit 0 partial, bit 1 missed before
//   16 + F  4  CRC-32 of the bytes from the tag up to here
constexpr char kTag[4] = {'T', 'K', 'F', 'X'};
constexpr quint32 kVersion = 1;
constexpr qint64 kHeadSize = 16;
constexpr qint64 kChecksumSize = 4;
constexpr quint8 kPartialBit = 0x01;
constexpr quint8 kMissedBit = 0x02;

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
    return kHeadSize + fillCount + kChecksumSize;
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
    if (wordAt(bytes, 4) != kVersion)
        return FillExtrasStatus::UnknownVersion;
    const quint32 length = wordAt(bytes, 8);
    const quint32 count = wordAt(bytes, 12);
    if (qint64(length) != fillExtrasSectionSize(count))
        return FillExtrasStatus::BadLength;
    if (qint64(count) != fillCount)
        return FillExtrasStatus::WrongCount;
    if (bytes.size() < qint64(length))
        return FillExtrasStatus::Cut;
    const qint64 checked = qint64(length) - kChecksumSize;
    if (crc32(bytes.first(checked)) != wordAt(bytes, checked))
        return FillExtrasStatus::BadChecksum;
    flags->resize(std::size_t(count));
    for (quint32 i = 0; i < count; ++i) {
        // Bits this version does not know are written as 0 and read as nothing.
        const quint8 entry = quint8(bytes[kHeadSize + i]);
        (*flags)[i] = {(entry & kPartialBit) != 0, (entry & kMissedBit) != 0};
    }
    return FillExtrasStatus::Read;
}

QByteArray fillExtrasSection(const std::vector<FillFlags>& flags, qint64 fillCount) {
    if (!anyFillFlagged(flags))
        return {};
    QByteArray section;
    section.reserve(fillExtrasSectionSize(fillCount));
    section.append(kTag, sizeof kTag);
    appendWord(&section, kVersion);
    appendWord(&section, quint32(fillExtrasSectionSize(fillCount)));
    appendWord(&section, quint32(fillCount));
    for (qint64 i = 0; i < fillCount; ++i) {
        const FillFlags f = flagsAt(flags, int(i));
        section.append(char((f.partial ? kPartialBit : 0) | (f.missedBefore ? kMissedBit : 0)));
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
           "); the fills are read, without partial or missed flags";
}
