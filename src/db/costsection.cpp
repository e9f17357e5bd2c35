#include "db/costsection.h"

#include "db/crc32.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace {

// Little-endian, like the rest of the file:
//   0        4  tag "TKCO"
//   4        4  version, 1
//   8        4  length of the whole section in bytes, from the tag to the checksum
//   12       4  C, the number of categories
//   16       4  N, the number of costs
//   20       4  R, the number of reminders
//   24          C categories: id (int32), name (text)
//               N costs: date, odometer (int32), category id (int32), amount (float64), notes
//               (text), interval in months (int32), end date
//               R reminders: id (uint32), title (text), due date, due odometer (int32), repeat
//               months (int32), repeat distance (int32), last done date, last done odometer
//               (int32)
//   ...      4  CRC-32 of the bytes from the tag up to here
// A text is its length in UTF-16 code units (uint32), then the units (2 bytes each). A date is its
// Julian day number (int32), 0 for none. An odometer reading of -1 is none.
constexpr char kTag[4] = {'T', 'K', 'C', 'O'};
constexpr char kFillExtrasTag[4] = {'T', 'K', 'F', 'X'};
constexpr quint32 kVersion = 1;
constexpr qint64 kChecksumSize = 4;
// The smallest records: a category with an empty name, a cost with empty notes, a reminder with
// an empty title.
constexpr qint64 kCategorySize = 8;
constexpr qint64 kCostSize = 32;
constexpr qint64 kReminderSize = 32;
// Dates the calendar of the log knows (its times count from 1601).
const qint64 kFirstDay = QDate(1601, 1, 1).toJulianDay();
const qint64 kLastDay = QDate(9999, 12, 31).toJulianDay();

quint32 wordAt(QByteArrayView bytes, qint64 offset) {
    quint32 word;
    std::memcpy(&word, bytes.data() + offset, sizeof word);
    return word;
}

class Reader {
public:
    explicit Reader(QByteArrayView bytes) : m_bytes(bytes) {}

    bool ok() const { return m_ok; }
    bool atEnd() const { return m_at == m_bytes.size(); }

    quint32 word() {
        if (!take(4))
            return 0;
        return wordAt(m_bytes, m_at - 4);
    }
    qint32 integer() { return qint32(word()); }
    // A count or a length, 0 and up.
    qint32 count() {
        const qint32 value = integer();
        if (value < 0)
            m_ok = false;
        return value;
    }
    qint32 reading() {
        const qint32 value = integer();
        return value < 0 ? kNoReading : value;
    }
    double number() {
        double value = 0;
        if (take(8))
            std::memcpy(&value, m_bytes.data() + m_at - 8, sizeof value);
        if (!std::isfinite(value))
            m_ok = false;
        return value;
    }
    QDate date() {
        const qint32 day = integer();
        if (day == 0)
            return {};
        if (day < kFirstDay || day > kLastDay) {
            m_ok = false;
            return {};
        }
        return QDate::fromJulianDay(day);
    }
    QString text() {
        const quint32 units = word();
        if (!m_ok || qint64(units) * 2 > m_bytes.size() - m_at) {
            m_ok = false;
            return {};
        }
        QString text(qsizetype(units), Qt::Uninitialized);
        std::memcpy(text.data(), m_bytes.data() + m_at, std::size_t(units) * 2);
        m_at += qint64(units) * 2;
        return text;
    }

private:
    bool take(qint64 size) {
        if (!m_ok || m_bytes.size() - m_at < size) {
            m_ok = false;
            return false;
        }
        m_at += size;
        return true;
    }

    QByteArrayView m_bytes;
    qint64 m_at = 0;
    bool m_ok = true;
};

void appendWord(QByteArray* bytes, quint32 word) {
    bytes->append(reinterpret_cast<const char*>(&word), sizeof word);
}

void appendNumber(QByteArray* bytes, double value) {
    // What the reader refuses is never written: a value without a number is stored as 0.
    if (!std::isfinite(value))
        value = 0;
    bytes->append(reinterpret_cast<const char*>(&value), sizeof value);
}

void appendDate(QByteArray* bytes, const QDate& date) {
    const qint64 day = date.isValid() ? date.toJulianDay() : 0;
    appendWord(bytes, day >= kFirstDay && day <= kLastDay ? quint32(day) : 0);
}

void appendReading(QByteArray* bytes, qint32 reading) {
    appendWord(bytes, quint32(reading < 0 ? kNoReading : reading));
}

void appendText(QByteArray* bytes, const QString& text) {
    appendWord(bytes, quint32(text.size()));
    bytes->append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

} // namespace

qint64 costSectionLength(QByteArrayView bytes) {
    if (bytes.size() < kCostSectionHeadSize || std::memcmp(bytes.data(), kTag, sizeof kTag) != 0)
        return 0;
    return wordAt(bytes, 8);
}

qint64 costSectionOffset(QByteArrayView afterFills) {
    if (afterFills.size() < qint64(sizeof kTag))
        return -1;
    if (std::memcmp(afterFills.data(), kTag, sizeof kTag) == 0)
        return 0;
    if (std::memcmp(afterFills.data(), kFillExtrasTag, sizeof kFillExtrasTag) != 0 ||
        afterFills.size() < 12)
        return -1;
    // The per-fill section's length stands at the same place as ours.
    const qint64 length = wordAt(afterFills, 8);
    return length <= afterFills.size() ? length : -1;
}

CostSectionStatus readCostSection(QByteArrayView bytes, VehicleCosts* costs) {
    *costs = {};
    if (bytes.isEmpty())
        return CostSectionStatus::Absent;
    if (bytes.size() < qint64(sizeof kTag))
        return CostSectionStatus::Cut;
    if (std::memcmp(bytes.data(), kTag, sizeof kTag) != 0)
        return CostSectionStatus::UnknownTag;
    if (bytes.size() < kCostSectionHeadSize)
        return CostSectionStatus::Cut;
    if (wordAt(bytes, 4) != kVersion)
        return CostSectionStatus::UnknownVersion;
    const qint64 length = wordAt(bytes, 8);
    const qint64 categories = wordAt(bytes, 12);
    const qint64 entries = wordAt(bytes, 16);
    const qint64 reminders = wordAt(bytes, 20);
    // The counts are checked against the length before anything is allocated.
    const qint64 least = kCostSectionHeadSize + categories * kCategorySize + entries * kCostSize +
                         reminders * kReminderSize + kChecksumSize;
    if (length < least)
        return CostSectionStatus::BadLength;
    if (bytes.size() < length)
        return CostSectionStatus::Cut;
    const qint64 checked = length - kChecksumSize;
    if (crc32(bytes.first(checked)) != wordAt(bytes, checked))
        return CostSectionStatus::BadChecksum;

    Reader in(bytes.sliced(kCostSectionHeadSize, checked - kCostSectionHeadSize));
    VehicleCosts read;
    read.categories.resize(std::size_t(categories));
    for (CostCategory& category : read.categories) {
        category.id = in.integer();
        category.name = in.text();
    }
    read.costs.resize(std::size_t(entries));
    for (CostEntry& cost : read.costs) {
        cost.date = in.date();
        cost.odometer = in.reading();
        cost.categoryId = in.integer();
        cost.amount = in.number();
        cost.notes = in.text();
        cost.intervalMonths = in.count();
        cost.endDate = in.date();
    }
    read.reminders.resize(std::size_t(reminders));
    for (Reminder& reminder : read.reminders) {
        reminder.id = in.word();
        reminder.title = in.text();
        reminder.dueDate = in.date();
        reminder.dueOdometer = in.reading();
        reminder.repeatMonths = in.count();
        reminder.repeatDistance = in.count();
        reminder.lastDone = in.date();
        reminder.lastDoneOdometer = in.reading();
    }
    if (!in.ok() || !in.atEnd())
        return in.ok() ? CostSectionStatus::BadLength : CostSectionStatus::BadRecord;
    *costs = std::move(read);
    return CostSectionStatus::Read;
}

QByteArray costSection(const VehicleCosts& costs) {
    if (costs.empty())
        return {};
    QByteArray section;
    section.append(kTag, sizeof kTag);
    appendWord(&section, kVersion);
    appendWord(&section, 0); // the length, once known
    appendWord(&section, quint32(costs.categories.size()));
    appendWord(&section, quint32(costs.costs.size()));
    appendWord(&section, quint32(costs.reminders.size()));
    for (const CostCategory& category : costs.categories) {
        appendWord(&section, quint32(category.id));
        appendText(&section, category.name);
    }
    for (const CostEntry& cost : costs.costs) {
        appendDate(&section, cost.date);
        appendReading(&section, cost.odometer);
        appendWord(&section, quint32(cost.categoryId));
        appendNumber(&section, cost.amount);
        appendText(&section, cost.notes);
        appendWord(&section, quint32(std::max(cost.intervalMonths, 0)));
        appendDate(&section, cost.endDate);
    }
    for (const Reminder& reminder : costs.reminders) {
        appendWord(&section, reminder.id);
        appendText(&section, reminder.title);
        appendDate(&section, reminder.dueDate);
        appendReading(&section, reminder.dueOdometer);
        appendWord(&section, quint32(std::max(reminder.repeatMonths, 0)));
        appendWord(&section, quint32(std::max(reminder.repeatDistance, 0)));
        appendDate(&section, reminder.lastDone);
        appendReading(&section, reminder.lastDoneOdometer);
    }
    const quint32 length = quint32(section.size() + kChecksumSize);
    std::memcpy(section.data() + 8, &length, sizeof length);
    appendWord(&section, crc32(section));
    return section;
}

QByteArray costSectionStatusText(CostSectionStatus status) {
    const char* reason = nullptr;
    switch (status) {
    case CostSectionStatus::Read:
    case CostSectionStatus::Absent:
        return {};
    case CostSectionStatus::Cut:
        reason = "cut short";
        break;
    case CostSectionStatus::UnknownTag:
        reason = "unknown tag";
        break;
    case CostSectionStatus::UnknownVersion:
        reason = "unknown version";
        break;
    case CostSectionStatus::BadLength:
        reason = "length does not fit";
        break;
    case CostSectionStatus::BadChecksum:
        reason = "bad checksum";
        break;
    case CostSectionStatus::BadRecord:
        reason = "a record out of range";
        break;
    }
    return QByteArray("Costs and reminders after the fill table ignored (") + reason +
           "); the fills are read, without costs or reminders";
}
