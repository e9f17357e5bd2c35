#include "csv/otherlogformat.h"

#include "csv/otherlogvalues.h"

#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <initializer_list>

namespace {

bool isBlankRecord(const QStringList& record) {
    return std::all_of(record.begin(), record.end(),
                       [](const QString& field) { return field.trimmed().isEmpty(); });
}

// A header name as the format tables below spell it: lower case, without blanks.
QString compactName(QStringView name) {
    QString compact;
    for (const QChar c : name) {
        if (!c.isSpace())
            compact += c.toLower();
    }
    return compact;
}

// The same without a final part in brackets: "Odometer (km)" is "odometer".
QString compactNameWithoutUnit(QStringView name) {
    QStringView trimmed = name.trimmed();
    if (trimmed.endsWith(u')')) {
        const qsizetype open = trimmed.lastIndexOf(u'(');
        if (open > 0)
            trimmed = trimmed.first(open);
    }
    return compactName(trimmed);
}

struct ColumnNames {
    OtherLogColumn column;
    // Compact names; a name ending in '*' matches every name that starts with the rest.
    std::initializer_list<const char*> names;
};

using FormatColumns = std::initializer_list<ColumnNames>;

const FormatColumns kFuelioColumns = {
    {OtherLogColumn::Date, {"data"}},
    {OtherLogColumn::Odometer, {"odo(*"}},
    {OtherLogColumn::Volume, {"fuel(*"}},
    {OtherLogColumn::TotalCost, {"price(optional)"}},
    {OtherLogColumn::UnitPrice, {"volumeprice"}},
    {OtherLogColumn::Station, {"city(optional)"}},
    {OtherLogColumn::Notes, {"notes(optional)"}},
    {OtherLogColumn::FullTank, {"full"}},
    {OtherLogColumn::Missed, {"missed"}},
    {OtherLogColumn::FuelType, {"fueltype"}},
};

const FormatColumns kFuellyColumns = {
    {OtherLogColumn::Vehicle, {"car_name"}},
    {OtherLogColumn::Date, {"fuelup_date"}},
    {OtherLogColumn::Odometer, {"odometer"}},
    {OtherLogColumn::Volume, {"gallons", "litres", "liters"}},
    {OtherLogColumn::UnitPrice, {"price"}},
    {OtherLogColumn::Station, {"brand"}},
    {OtherLogColumn::Notes, {"notes"}},
    {OtherLogColumn::Partial, {"partial_fuelup"}},
    {OtherLogColumn::Missed, {"missed_fuelup"}},
};

const FormatColumns kACarColumns = {
    {OtherLogColumn::Vehicle, {"vehicle"}},
    {OtherLogColumn::Date, {"date"}},
    {OtherLogColumn::Time, {"time"}},
    {OtherLogColumn::Odometer, {"odometerreading"}},
    {OtherLogColumn::DistanceUnit, {"distanceunit"}},
    {OtherLogColumn::Volume, {"volume"}},
    {OtherLogColumn::VolumeUnit, {"volumeunit"}},
    {OtherLogColumn::UnitPrice, {"priceperunit"}},
    {OtherLogColumn::TotalCost, {"totalcost"}},
    {OtherLogColumn::Partial, {"partialfill-up?"}},
    {OtherLogColumn::Missed, {"previouslymissedfill-ups?"}},
    {OtherLogColumn::Station, {"fuelbrand"}},
    {OtherLogColumn::StationAddress, {"fuelingstationaddress"}},
    {OtherLogColumn::Notes, {"notes"}},
};

const FormatColumns kDrivvoColumns = {
    {OtherLogColumn::Date, {"date"}},
    {OtherLogColumn::Odometer, {"odometer(*", "odometer"}},
    {OtherLogColumn::Volume, {"volume"}},
    {OtherLogColumn::UnitPrice, {"price/*"}},
    {OtherLogColumn::TotalCost, {"totalcost"}},
    {OtherLogColumn::FullTank, {"fulltank"}},
    {OtherLogColumn::Station, {"gasstation"}},
    {OtherLogColumn::Driver, {"driver"}},
    {OtherLogColumn::Notes, {"note"}},
};

const FormatColumns kLubeLoggerColumns = {
    {OtherLogColumn::Date, {"date"}},
    {OtherLogColumn::Odometer, {"odometer"}},
    {OtherLogColumn::Volume, {"fuelconsumed"}},
    {OtherLogColumn::TotalCost, {"cost"}},
    {OtherLogColumn::FullTank, {"isfilltofull"}},
    {OtherLogColumn::Missed, {"missedfuelup"}},
    {OtherLogColumn::Notes, {"notes"}},
};

// Spritmonitor writes its headers in the user's language; English and German are known.
const FormatColumns kSpritmonitorColumns = {
    {OtherLogColumn::Date, {"date", "datum"}},
    {OtherLogColumn::Odometer, {"odometer", "km-stand", "kilometerstand", "tachostand"}},
    {OtherLogColumn::Volume, {"quantity", "spritmenge", "menge"}},
    {OtherLogColumn::TotalCost, {"totalprice", "kosten", "gesamtpreis", "gesamtkosten"}},
    {OtherLogColumn::UnitPrice, {"unitprice", "preis"}},
    {OtherLogColumn::Notes, {"note", "bemerkung"}},
    {OtherLogColumn::FuelType, {"fuel", "kraftstoff", "kraftstoffsorte"}},
    {OtherLogColumn::FillType, {"type", "tankart"}},
};

// Other files are matched without the unit in brackets: "Fuel (l)" is a volume.
const FormatColumns kOtherColumns = {
    {OtherLogColumn::Date, {"date", "fuelup_date"}},
    {OtherLogColumn::Time, {"time"}},
    {OtherLogColumn::Odometer, {"odometer", "odo", "mileage"}},
    {OtherLogColumn::Volume, {"litres", "liters", "gallons", "volume", "quantity", "qty", "fuel"}},
    {OtherLogColumn::TotalCost, {"cost", "totalcost", "total", "totalprice"}},
    {OtherLogColumn::UnitPrice, {"price", "priceperunit"}},
    {OtherLogColumn::Station, {"station", "brand", "location"}},
    {OtherLogColumn::Driver, {"driver"}},
    {OtherLogColumn::Notes, {"notes", "note", "comment"}},
};

const FormatColumns& formatColumns(OtherLogFormat format) {
    switch (format) {
    case OtherLogFormat::Fuelio:
        return kFuelioColumns;
    case OtherLogFormat::Fuelly:
        return kFuellyColumns;
    case OtherLogFormat::ACar:
        return kACarColumns;
    case OtherLogFormat::Drivvo:
        return kDrivvoColumns;
    case OtherLogFormat::LubeLogger:
        return kLubeLoggerColumns;
    case OtherLogFormat::Spritmonitor:
        return kSpritmonitorColumns;
    case OtherLogFormat::OtherCsv:
        break;
    }
    return kOtherColumns;
}

struct CostColumnNames {
    OtherCostColumn column;
    std::initializer_list<const char*> names;
};

using CostColumns = std::initializer_list<CostColumnNames>;

const CostColumns kFuelioCostColumns = {
    {OtherCostColumn::Date, {"date"}},           {OtherCostColumn::Odometer, {"odo"}},
    {OtherCostColumn::Category, {"costtypeid"}}, {OtherCostColumn::Title, {"costtitle"}},
    {OtherCostColumn::Amount, {"cost"}},         {OtherCostColumn::Notes, {"notes"}},
    {OtherCostColumn::Template, {"istemplate"}}, {OtherCostColumn::Income, {"isincome"}},
};

const CostColumns kLubeLoggerCostColumns = {
    {OtherCostColumn::Date, {"date"}},         {OtherCostColumn::Odometer, {"odometer"}},
    {OtherCostColumn::Title, {"description"}}, {OtherCostColumn::Amount, {"cost"}},
    {OtherCostColumn::Notes, {"notes"}},
};

const CostColumns kSpritmonitorCostColumns = {
    {OtherCostColumn::Date, {"date", "datum"}},
    {OtherCostColumn::Odometer, {"odometer", "km-stand", "kilometerstand", "tachostand"}},
    {OtherCostColumn::Category, {"costtype", "kostenart"}},
    {OtherCostColumn::Title, {"name", "title", "description", "bezeichnung"}},
    {OtherCostColumn::Amount, {"costs", "cost", "totalprice", "price", "kosten", "gesamtpreis"}},
    {OtherCostColumn::Notes, {"note", "notes", "bemerkung"}},
};

std::array<int, kOtherCostColumnCount> mapCostColumns(const QStringList& header,
                                                      OtherLogFormat format) {
    std::array<int, kOtherCostColumnCount> columns;
    columns.fill(-1);
    const CostColumns* names = format == OtherLogFormat::Fuelio         ? &kFuelioCostColumns
                               : format == OtherLogFormat::LubeLogger   ? &kLubeLoggerCostColumns
                               : format == OtherLogFormat::Spritmonitor ? &kSpritmonitorCostColumns
                                                                        : nullptr;
    if (!names)
        return columns;
    for (const CostColumnNames& column : *names) {
        for (const char* pattern : column.names) {
            const auto found = std::find_if(header.begin(), header.end(), [&](const QString& name) {
                return compactName(name) == QLatin1String(pattern);
            });
            if (found != header.end()) {
                columns[std::size_t(column.column)] = int(found - header.begin());
                break;
            }
        }
    }
    return columns;
}

bool nameMatches(const QString& compact, const char* pattern) {
    const QString wanted = QString::fromLatin1(pattern);
    if (wanted.endsWith(u'*'))
        return compact.startsWith(wanted.chopped(1));
    return compact == wanted;
}

// The first column of the header with one of the names; a name repeated later (another block's
// column of the same name) is not reached.
int findColumn(const QStringList& header, const ColumnNames& names, bool withoutUnit) {
    for (const char* pattern : names.names) {
        for (qsizetype i = 0; i < header.size(); ++i) {
            const QString compact =
                withoutUnit ? compactNameWithoutUnit(header.at(i)) : compactName(header.at(i));
            if (nameMatches(compact, pattern))
                return int(i);
        }
    }
    return -1;
}

std::array<int, kOtherLogColumnCount> mapColumns(const QStringList& header, OtherLogFormat format) {
    std::array<int, kOtherLogColumnCount> columns;
    columns.fill(-1);
    const bool withoutUnit = format == OtherLogFormat::OtherCsv;
    for (const ColumnNames& names : formatColumns(format))
        columns[std::size_t(names.column)] = findColumn(header, names, withoutUnit);
    return columns;
}

// A section of a file: the records after its opening line, up to the next section.
struct Section {
    QString name; // compact
    QList<QStringList> records;
};

OtherLogTable tableOf(const QList<QStringList>& records) {
    OtherLogTable table;
    bool haveHeader = false;
    for (const QStringList& record : records) {
        if (isBlankRecord(record))
            continue;
        if (!haveHeader) {
            table.header = record;
            for (QString& name : table.header)
                name = name.trimmed();
            haveHeader = true;
        } else {
            table.rows.append(record);
        }
    }
    return table;
}

// "## Log", "##Refuelling" (the other fields empty): the compact name after "##".
std::optional<QString> markerName(const QStringList& record) {
    if (record.isEmpty() || !record.first().trimmed().startsWith(QStringLiteral("##")))
        return std::nullopt;
    if (!std::all_of(record.begin() + 1, record.end(),
                     [](const QString& field) { return field.trimmed().isEmpty(); }))
        return std::nullopt;
    return compactName(QStringView(record.first()).trimmed().sliced(2));
}

const QSet<QString>& blockTitles() {
    static const QSet<QString> titles = {
        QStringLiteral("metadata"), QStringLiteral("vehicles"), QStringLiteral("fill-uprecords"),
        QStringLiteral("eventrecords"), QStringLiteral("triprecords")};
    return titles;
}

// A bare title line of a file in blocks, as "Fill-Up Records", at the start or after a blank line.
std::optional<QString> blockTitle(const QList<QStringList>& records, qsizetype index) {
    const QStringList& record = records.at(index);
    if (record.size() != 1 || (index > 0 && !isBlankRecord(records.at(index - 1))))
        return std::nullopt;
    const QString name = compactName(record.first());
    if (!blockTitles().contains(name))
        return std::nullopt;
    return name;
}

QList<Section> splitSections(const QList<QStringList>& records, bool byMarkers) {
    QList<Section> sections;
    for (qsizetype i = 0; i < records.size(); ++i) {
        const std::optional<QString> name =
            byMarkers ? markerName(records.at(i)) : blockTitle(records, i);
        if (name)
            sections.append({*name, {}});
        else if (!sections.isEmpty())
            sections.last().records.append(records.at(i));
    }
    return sections;
}

const Section* findSection(const QList<Section>& sections, const QString& name) {
    for (const Section& section : sections) {
        if (section.name == name)
            return &section;
    }
    return nullptr;
}

// The value of a named setting of a section: either a header with a row of values beneath, or
// rows of name and value.
QString sectionValue(const Section& section, const QString& compact) {
    const OtherLogTable table = tableOf(section.records);
    for (qsizetype i = 0; i < table.header.size(); ++i) {
        if (compactName(table.header.at(i)) == compact)
            return table.rows.isEmpty() || table.rows.first().size() <= i
                       ? QString()
                       : table.rows.first().at(i).trimmed();
    }
    QList<QStringList> rows = table.rows;
    rows.prepend(table.header);
    for (const QStringList& row : rows) {
        if (row.size() >= 2 && compactName(row.at(0)) == compact)
            return row.at(1).trimmed();
    }
    return {};
}

bool hasColumns(const QStringList& header, std::initializer_list<const char*> names) {
    return std::all_of(names.begin(), names.end(), [&header](const char* name) {
        return std::any_of(header.begin(), header.end(), [name](const QString& field) {
            return compactName(field) == QLatin1String(name);
        });
    });
}

// Fuelio's costs, and the names of its categories by id. A section without the columns its rows
// need is damaged: it is named in *file and read no further.
void readFuelioCosts(const QList<Section>& sections, OtherLogFile* file) {
    if (const Section* costs = findSection(sections, QStringLiteral("costs"))) {
        const OtherLogTable table = tableOf(costs->records);
        if (hasColumns(table.header, {"date", "cost"}))
            file->costTable = table;
        else
            file->damagedSections.append(QStringLiteral("Costs"));
    }
    if (const Section* categories = findSection(sections, QStringLiteral("costcategories"))) {
        const OtherLogTable table = tableOf(categories->records);
        const qsizetype id = table.header.indexOf(QStringLiteral("CostTypeID"));
        const qsizetype name = table.header.indexOf(QStringLiteral("Name"));
        if (id < 0 || name < 0) {
            file->damagedSections.append(QStringLiteral("CostCategories"));
            return;
        }
        for (const QStringList& row : table.rows) {
            if (row.size() > std::max(id, name))
                file->costCategories.append({row.at(id).trimmed(), row.at(name).trimmed()});
        }
    }
}

void readFuelio(const QList<Section>& sections, OtherLogFile* file) {
    file->recognised = OtherLogFormat::Fuelio;
    if (const Section* log = findSection(sections, QStringLiteral("log")))
        file->table = tableOf(log->records);
    readFuelioCosts(sections, file);
    if (const Section* vehicle = findSection(sections, QStringLiteral("vehicle"))) {
        file->vehicleName = sectionValue(*vehicle, QStringLiteral("name"));
        const QString distance = sectionValue(*vehicle, QStringLiteral("distunit"));
        const QString volume = sectionValue(*vehicle, QStringLiteral("fuelunit"));
        if (distance == u"0")
            file->distanceUnit = DistanceUnit::Kilometres;
        else if (distance == u"1")
            file->distanceUnit = DistanceUnit::Miles;
        if (volume == u"0")
            file->volumeUnit = VolumeUnit::Litres;
        else if (volume == u"1")
            file->volumeUnit = VolumeUnit::UsGallons;
        else if (volume == u"2")
            file->volumeUnit = VolumeUnit::ImperialGallons;
    }
}

bool isFuelioSection(const QString& name) {
    static const QSet<QString> names = {
        QStringLiteral("vehicle"), QStringLiteral("log"),         QStringLiteral("costcategories"),
        QStringLiteral("costs"),   QStringLiteral("favstations"), QStringLiteral("category"),
        QStringLiteral("triplog")};
    return names.contains(name);
}

bool isSpritmonitorCostsHeader(const QStringList& header) {
    return (hasColumns(header, {"date", "costtype"}) || hasColumns(header, {"datum", "kostenart"}));
}

bool isSpritmonitorHeader(const QStringList& header) {
    return hasColumns(header, {"date", "odometer", "quantity", "type", "fuel"}) ||
           hasColumns(header, {"datum", "km-stand", "spritmenge", "tankart", "kraftstoff"}) ||
           hasColumns(header, {"datum", "kilometerstand", "menge", "tankart", "kraftstoff"}) ||
           isSpritmonitorCostsHeader(header);
}

QStringList columnCells(const OtherLogFile& file, const OtherLogSettings& settings,
                        std::initializer_list<OtherLogColumn> which) {
    QStringList cells;
    for (const QStringList& row : file.table.rows) {
        for (const OtherLogColumn column : which) {
            const QString cell = otherLogCell(row, settings, column);
            if (!cell.isEmpty())
                cells.append(cell);
        }
    }
    return cells;
}

std::optional<DateOrder> orderOfFormat(const QString& format) {
    const qsizetype day = format.indexOf(u'd');
    const qsizetype month = format.indexOf(u'M');
    const qsizetype year = format.indexOf(u'y');
    if (day < 0 || month < 0 || year < 0)
        return std::nullopt;
    if (year < month && month < day)
        return DateOrder::YearMonthDay;
    return month < day ? DateOrder::MonthDayYear : DateOrder::DayMonthYear;
}

} // namespace

QList<QStringList> splitDelimitedRecords(QStringView text, QChar delimiter, QChar escape) {
    QList<QStringList> records;
    QStringList record;
    QString field;
    bool inRecord = false;
    qsizetype i = 0;
    const qsizetype size = text.size();
    const auto endRecord = [&] {
        record.append(field);
        records.append(record);
        record.clear();
        field.clear();
        inRecord = false;
    };
    while (i < size) {
        const QChar c = text.at(i);
        inRecord = true;
        if (c == u'"' && field.isEmpty()) {
            // A quoted field: up to the lone closing quote.
            for (++i; i < size; ++i) {
                if (!escape.isNull() && text.at(i) == escape && i + 1 < size) {
                    field += text.at(++i);
                } else if (text.at(i) == u'"') {
                    if (i + 1 < size && text.at(i + 1) == u'"') {
                        field += u'"';
                        ++i;
                    } else {
                        ++i;
                        break;
                    }
                } else {
                    field += text.at(i);
                }
            }
            // Whatever follows the closing quote belongs to the field as it stands.
            while (i < size && text.at(i) != delimiter && text.at(i) != u'\n' &&
                   text.at(i) != u'\r')
                field += text.at(i++);
            continue;
        }
        if (!escape.isNull() && c == escape && i + 1 < size) {
            field += text.at(i + 1);
            i += 2;
            continue;
        }
        if (c == delimiter) {
            record.append(field);
            field.clear();
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < size && text.at(i + 1) == u'\n')
                ++i;
            endRecord();
        } else {
            field += c;
        }
        ++i;
    }
    if (inRecord)
        endRecord();
    return records;
}

QChar detectDelimiter(QStringView text) {
    const QChar candidates[] = {u',', u';', u'\t'};
    int counts[3] = {0, 0, 0};
    bool quoted = false;
    int lines = 0;
    for (qsizetype i = 0; i < text.size() && lines < 20; ++i) {
        const QChar c = text.at(i);
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && c == u'\n')
            ++lines;
        else if (!quoted) {
            for (int k = 0; k < 3; ++k)
                counts[k] += c == candidates[k] ? 1 : 0;
        }
    }
    const int best = int(std::max_element(counts, counts + 3) - counts);
    return counts[best] > 0 ? candidates[best] : QChar(u',');
}

OtherLogFile readOtherLog(QStringView text) {
    OtherLogFile file;
    file.delimiter = detectDelimiter(text);
    const QList<QStringList> records = splitDelimitedRecords(text, file.delimiter);

    const QList<Section> marked = splitSections(records, true);
    if (!marked.isEmpty()) {
        if (std::any_of(marked.begin(), marked.end(),
                        [](const Section& s) { return isFuelioSection(s.name); })) {
            readFuelio(marked, &file);
            return file;
        }
        const Section* refuelling = findSection(marked, QStringLiteral("refuelling"));
        file.table = tableOf(refuelling ? refuelling->records : marked.first().records);
        const auto columns = mapColumns(file.table.header, OtherLogFormat::Drivvo);
        // Headers in another language than English are left to the user.
        const bool english = columns[std::size_t(OtherLogColumn::Date)] >= 0 &&
                             columns[std::size_t(OtherLogColumn::Odometer)] >= 0 &&
                             columns[std::size_t(OtherLogColumn::Volume)] >= 0;
        file.recognised = refuelling && english ? OtherLogFormat::Drivvo : OtherLogFormat::OtherCsv;
        return file;
    }

    const QList<Section> blocks = splitSections(records, false);
    if (const Section* fills = findSection(blocks, QStringLiteral("fill-uprecords"))) {
        file.recognised = OtherLogFormat::ACar;
        file.table = tableOf(fills->records);
        if (const Section* metadata = findSection(blocks, QStringLiteral("metadata")))
            file.dateFormat = sectionValue(*metadata, QStringLiteral("dateformat"));
        return file;
    }

    file.table = tableOf(records);
    const QStringList header = file.table.header;
    if (hasColumns(header, {"car_name", "fuelup_date", "odometer"})) {
        file.recognised = OtherLogFormat::Fuelly;
    } else if (hasColumns(header, {"date", "odometer", "fuelconsumed", "isfilltofull"})) {
        file.recognised = OtherLogFormat::LubeLogger;
    } else if (hasColumns(header, {"date", "odometer", "description", "cost"})) {
        // Service, repair, upgrade and tax records share one layout.
        file.recognised = OtherLogFormat::LubeLogger;
        file.costTable = std::exchange(file.table, {});
    } else if (file.delimiter == u';' && isSpritmonitorHeader(header)) {
        file.recognised = OtherLogFormat::Spritmonitor;
        file.dateFormat = QStringLiteral("dd.MM.yyyy");
        // Its fields are not quoted: a backslash escapes a separator or line break in a note.
        file.table = tableOf(splitDelimitedRecords(text, file.delimiter, u'\\'));
        if (isSpritmonitorCostsHeader(header))
            file.costTable = std::exchange(file.table, {});
    }
    return file;
}

OtherLogSettings guessOtherLogSettings(const OtherLogFile& file, OtherLogFormat format,
                                       DateOrder userDateOrder, QChar userDecimal) {
    OtherLogSettings settings;
    settings.format = format;
    settings.columns = mapColumns(file.table.header, format);
    const bool ownFormat = format == file.recognised;
    settings.dateFormat = ownFormat ? file.dateFormat : QString();
    if (ownFormat)
        settings.costColumns = mapCostColumns(file.costTable.header, format);

    const QStringList vehicles = otherLogVehicles(file, settings);
    settings.vehicle = vehicles.isEmpty() ? QString() : vehicles.first();

    // Units: the names of the columns, then what the file says elsewhere, then the first row.
    const auto headerOf = [&](OtherLogColumn which) {
        const int index = settings.column(which);
        return index >= 0 ? file.table.header.at(index) : QString();
    };
    std::optional<DistanceUnit> distance = distanceUnitNamed(headerOf(OtherLogColumn::Odometer));
    if (format == OtherLogFormat::Fuelly) {
        const auto has = [&file](const char* name) {
            return hasColumns(file.table.header, {name});
        };
        distance = has("miles") ? DistanceUnit::Miles
                   : has("km")  ? std::optional(DistanceUnit::Kilometres)
                                : std::nullopt;
    }
    std::optional<VolumeUnit> volume = volumeUnitNamed(headerOf(OtherLogColumn::Volume));
    if (!volume)
        volume = volumeUnitNamed(headerOf(OtherLogColumn::UnitPrice));
    if (format != OtherLogFormat::OtherCsv) {
        if (!distance)
            distance = file.distanceUnit;
        if (!volume)
            volume = file.volumeUnit;
    }
    if (!file.table.rows.isEmpty()) {
        const QStringList& first = file.table.rows.first();
        if (!distance)
            distance =
                distanceUnitNamed(otherLogCell(first, settings, OtherLogColumn::DistanceUnit));
        if (!volume)
            volume = volumeUnitNamed(otherLogCell(first, settings, OtherLogColumn::VolumeUnit));
    }
    settings.distanceUnit = distance.value_or(DistanceUnit::Kilometres);
    settings.volumeUnit = volume.value_or(VolumeUnit::Litres);

    QStringList numbers = columnCells(file, settings,
                                      {OtherLogColumn::Odometer, OtherLogColumn::Volume,
                                       OtherLogColumn::TotalCost, OtherLogColumn::UnitPrice});
    for (const QStringList& row : file.costTable.rows) {
        const int amount = settings.costColumn(OtherCostColumn::Amount);
        if (amount >= 0 && amount < row.size())
            numbers.append(row.at(amount).trimmed());
    }
    const std::optional<QChar> decimal = detectDecimal(numbers);
    // A comma cannot be the decimal character of unquoted numbers between commas.
    const bool userDecimalFits = format == OtherLogFormat::OtherCsv && file.delimiter != u',';
    // Spritmonitor writes decimal commas whatever the language of its headers.
    const QChar fallback = format == OtherLogFormat::Spritmonitor ? QChar(u',')
                           : userDecimalFits                      ? userDecimal
                                                                  : QChar(u'.');
    settings.decimal = decimal.value_or(fallback);

    std::optional<DateOrder> order = orderOfFormat(settings.dateFormat);
    if (!order) {
        QStringList dates = columnCells(file, settings, {OtherLogColumn::Date});
        for (const QStringList& row : file.costTable.rows) {
            const int date = settings.costColumn(OtherCostColumn::Date);
            if (date >= 0 && date < row.size())
                dates.append(row.at(date).trimmed());
        }
        order = detectDateOrder(dates);
    }
    settings.dateOrderGuessed = !order.has_value();
    settings.dateOrder = order.value_or(userDateOrder);
    return settings;
}

QStringList otherLogVehicles(const OtherLogFile& file, const OtherLogSettings& settings) {
    QStringList names;
    if (settings.column(OtherLogColumn::Vehicle) < 0)
        return names;
    for (const QStringList& row : file.table.rows) {
        const QString name = otherLogCell(row, settings, OtherLogColumn::Vehicle);
        if (!name.isNull() && !names.contains(name))
            names.append(name);
    }
    return names;
}

QString otherLogCell(const QStringList& row, const OtherLogSettings& settings,
                     OtherLogColumn which) {
    const int index = settings.column(which);
    if (index < 0 || index >= row.size())
        return {};
    return row.at(index).trimmed();
}

std::optional<DistanceUnit> distanceUnitNamed(QStringView text) {
    const QString compact = compactName(text);
    if (compact.contains(QStringLiteral("(mi")) || compact == u"mi" || compact == u"mile" ||
        compact == u"miles")
        return DistanceUnit::Miles;
    if (compact.contains(QStringLiteral("(km")) || compact == u"km" ||
        compact.startsWith(QStringLiteral("kilomet")))
        return DistanceUnit::Kilometres;
    return std::nullopt;
}

std::optional<VolumeUnit> volumeUnitNamed(QStringView text) {
    const QString compact = compactName(text);
    if (compact.contains(QStringLiteral("gal"))) {
        if (compact.contains(QStringLiteral("imp")) || compact.contains(QStringLiteral("uk")))
            return VolumeUnit::ImperialGallons;
        return VolumeUnit::UsGallons;
    }
    if (compact.contains(QStringLiteral("litre")) || compact.contains(QStringLiteral("liter")) ||
        compact == u"l" || compact.endsWith(QStringLiteral("(l)")) ||
        compact.endsWith(QStringLiteral("/l")))
        return VolumeUnit::Litres;
    return std::nullopt;
}
