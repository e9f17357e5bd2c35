#include "db/regional.h"

#include <QList>
#include <QLocale>
#include <algorithm>

namespace {

std::optional<RegionalSettings>& regionalOverride() {
    static std::optional<RegionalSettings> settings;
    return settings;
}

QChar decimalCharacter(const QLocale& locale) {
    const QString point = locale.decimalPoint();
    return point.isEmpty() ? QChar(u'.') : point.at(0);
}

// One numeric field of a date format ("d", "MM", "yyyy", ...) and the literal text before it.
struct DateField {
    QChar letter;
    QString textBefore;
};

struct DateLayout {
    QList<DateField> fields;
    bool monthByName = false;
};

// Splits a QLocale date format into its numeric fields. Quoted text is literal ('' is a quote);
// day and month names ("ddd", "MMM") are not numeric fields; other pattern letters are skipped.
DateLayout readDateLayout(const QString& format) {
    DateLayout layout;
    QString literal;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format.at(i);
        if (c == u'\'') {
            if (i + 1 < format.size() && format.at(i + 1) == u'\'') {
                literal += c;
                i += 2;
            } else {
                quoted = !quoted;
                ++i;
            }
            continue;
        }
        if (quoted || !(c.isLetter() && c.unicode() < 128)) {
            literal += c;
            ++i;
            continue;
        }
        qsizetype run = 1;
        while (i + run < format.size() && format.at(i + run) == c)
            ++run;
        i += run;
        const bool numeric = c == u'y' || ((c == u'd' || c == u'M') && run <= 2);
        if (c == u'M' && run > 2)
            layout.monthByName = true;
        if (numeric) {
            layout.fields.append({c, literal});
            literal.clear();
        }
    }
    return layout;
}

// Text between fields, without invisible direction marks (some locales put them before the
// separator, and a typed date never holds them).
QString visibleSeparator(const QString& text) {
    QString separator;
    for (const QChar c : text) {
        if (c.category() != QChar::Other_Format)
            separator += c;
    }
    return separator;
}

int orderCode(const QList<DateField>& fields) {
    QString letters;
    for (const DateField& field : fields)
        letters += field.letter;
    if (letters == u"Mdy")
        return 0;
    if (letters == u"dMy")
        return 1;
    if (letters == u"yMd")
        return 2;
    return -1;
}

} // namespace

RegionalSettings regionalSettingsFor(const QLocale& locale) {
    const QString group = locale.groupSeparator();
    RegionalSettings settings{decimalCharacter(locale), QStringLiteral("-"), 2,
                              group.isEmpty() ? QChar() : group.at(0)};
    const DateLayout layout = readDateLayout(locale.dateFormat(QLocale::ShortFormat));
    if (layout.monthByName || layout.fields.size() != 3)
        return settings;
    const int order = orderCode(layout.fields);
    const QString separator = visibleSeparator(layout.fields.at(1).textBefore);
    const bool usable = !separator.isEmpty() && std::none_of(separator.begin(), separator.end(),
                                                             [](QChar c) { return c.isDigit(); });
    if (order < 0 || !usable)
        return settings;
    settings.dateSeparator = separator;
    settings.dateOrder = order;
    return settings;
}

RegionalSettings currentRegionalSettings() {
    if (const std::optional<RegionalSettings>& settings = regionalOverride())
        return *settings;
    return regionalSettingsFor(QLocale::system());
}

void setRegionalSettingsOverride(std::optional<RegionalSettings> settings) {
    regionalOverride() = std::move(settings);
}

RegionalPass::RegionalPass() : m_system(regionalSettingsFor(QLocale::system())) {}

const RegionalSettings& RegionalPass::settings() const {
    const std::optional<RegionalSettings>& settings = regionalOverride();
    return settings ? *settings : m_system;
}
