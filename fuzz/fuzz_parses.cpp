// The shared parses of amounts, whole numbers, dates and times, under regional settings taken
// from the input. The input is text of five lines:
//   1  the date order digit (0, 1 or 2), the decimal character, then the date separator
//   2  an amount   3  a whole number   4  a date   5  a time
// A line the input does not reach is absent (a null text).

#include "db/formats.h"
#include "db/regional.h"
#include "fuzzinput.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const QStringList lines = fuzzLines(data, size, 5);
    const RegionalSettings regional = fuzzRegionalSettings(lines.at(0));
    setRegionalSettingsOverride(regional);

    // An amount that reads, printed and read again, prints the same, where the decimal
    // character cannot be taken for part of a number; so does the export's form of it. An
    // amount no fill can have shows as not available, and only the export's form prints it.
    float amount = 0.0f;
    if (readAmount(lines.at(1), &amount) && fuzzPrintsReadBack(regional)) {
        fuzzCheck(std::isfinite(amount), "an amount reads as no number");
        QStringList printed{formatAmountWithPoint(amount)};
        if (isPlausibleAmount(amount))
            printed.append(formatAmount(amount));
        for (const QString& text : printed) {
            float again = 0.0f;
            fuzzCheck(readAmount(text, &again) &&
                          formatAmountWithPoint(again) == formatAmountWithPoint(amount),
                      "an amount does not read back");
        }
    }
    qint32 number = 0;
    if (readWholeNumber(lines.at(2), &number)) {
        qint32 again = 0;
        fuzzCheck(readWholeNumber(QString::number(number), &again) && again == number,
                  "a whole number does not read back");
    }

    FileTime read;
    if (readDateTime(lines.at(3), lines.at(4), &read) == DateTimePart::None) {
        const QString date = formatDate(read);
        const QString time = formatTime(read);
        fuzzCheck(!date.isEmpty() && !time.isEmpty(), "a date that reads does not print");
        // With a separator of one character that is no digit, a printed date and time read back
        // to the same value.
        if (regional.dateSeparator.size() == 1 && fuzzPrintsReadBack(regional)) {
            FileTime again;
            fuzzCheck(readDateTime(date, time, &again) == DateTimePart::None &&
                          again.value() == read.value(),
                      "a printed date and time do not read back");
        }
    }
    FileTime other;
    readDateTime(lines.at(4), QString(), &other);
    daysInPeriod(other, read);
    return 0;
}
