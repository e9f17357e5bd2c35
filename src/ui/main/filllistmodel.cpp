#include "ui/main/filllistmodel.h"

#include "core/logdocument.h"
#include "core/settings.h"
#include "db/calendar.h"
#include "db/formats.h"
#include "db/fueldatabase.h"
#include "localisation/language.h"
#include "stats/derived.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int kMaxHeaderLength = 63;

struct ColumnInfo {
    quint32 bit;
    int width;
};

constexpr ColumnInfo kColumnInfo[] = {
    {0x10, 30}, // record number
    {0x01, 80}, // date
    {0x02, 60}, // fuel
    {0x04, 60}, // cost
    {0x08, 80}, // odometer
    {0x20, 55}, // consumption
    {0x40, 55}, // endurance
    {0x80, 20}, // partial and missed marks
};

QString headerTitle(CFillListModel::Column column, bool consumptionIsEndurance) {
    switch (column) {
    case CFillListModel::RecordNumber:
        return {};
    case CFillListModel::Date:
        return translate(Text::FillList_Date);
    case CFillListModel::Fuel:
        return translate(Text::FillList_Fuel);
    case CFillListModel::Cost:
        return translate(Text::FillList_Cost);
    case CFillListModel::Odometer:
        return translate(Text::FillList_Odometer);
    case CFillListModel::Consumption:
        return translate(Text::FillList_Consumption);
    case CFillListModel::Endurance:
        return translate(consumptionIsEndurance ? Text::FillList_DistancePerVolume
                                                : Text::FillList_Endurance);
    case CFillListModel::Marks:
        return translate(Text::FillList_Marks);
    }
    return {};
}

// The distance per kWh of a charge, as km / kWh or mi / kWh.
QString electricEnduranceText(const UnitTexts& units) {
    return translate(Text::units_Per).arg(units.distance, units.energy);
}

// A log whose units were chosen names them in the headers; one without keeps the plain titles.
// A log that holds both kinds names them in the cells.
QString headerText(CFillListModel::Column column, const CFuelDatabase& database,
                   CFillListModel::Kinds kinds) {
    using Kinds = CFillListModel::Kinds;
    if (column == CFillListModel::Fuel && kinds != Kinds::Fuel) {
        const QString title =
            translate(kinds == Kinds::Both ? Text::FillList_Amount : Text::FillList_Energy);
        return kinds == Kinds::Both
                   ? title
                   : QStringLiteral("%1 (%2)").arg(title, unitTexts(database.units()).energy);
    }
    const QString title = headerTitle(column, kinds == Kinds::Fuel &&
                                                  consumptionIsDistancePerVolume(database.units()));
    if (!database.chosenUnits() || kinds == Kinds::Both)
        return title;
    const UnitTexts units = unitTexts(database.units());
    const QString electricEndurance = electricEnduranceText(units);
    const bool charges = kinds == Kinds::Charges;
    const QString* unit = nullptr;
    switch (column) {
    case CFillListModel::Fuel:
        unit = &units.volume;
        break;
    case CFillListModel::Cost:
        unit = &units.currency;
        break;
    case CFillListModel::Odometer:
        unit = &units.odometer;
        break;
    case CFillListModel::Consumption:
        unit = charges ? &units.electricConsumption : &units.consumption;
        break;
    case CFillListModel::Endurance:
        unit = charges ? &electricEndurance : &units.endurance;
        break;
    case CFillListModel::RecordNumber:
    case CFillListModel::Date:
    case CFillListModel::Marks:
        break;
    }
    return unit && !unit->isEmpty() ? QStringLiteral("%1 (%2)").arg(title, *unit) : title;
}

// The smallest and the largest value of one quantity over all fills.
template <typename Value> struct Extremes {
    Value smallest{};
    Value largest{};
    bool any = false;
    void add(Value value) {
        smallest = any ? std::min(smallest, value) : value;
        largest = any ? std::max(largest, value) : value;
        any = true;
    }
};

} // namespace

CFillListModel::CFillListModel(const CLogDocument& document, QObject* parent)
    : QAbstractTableModel(parent), m_database(document.database()),
      m_fillingMethod(readFillingMethod()) {
    startPass();
    countKinds();
    connect(&document, &CLogDocument::fillsAboutToBeInserted, this,
            [this](int first, int last) { beginInsertRows({}, first, last); });
    // Derived values depend on the fill before, record numbers on the row: after a row comes
    // or goes, every row's texts may change.
    connect(&document, &CLogDocument::fillsInserted, this, [this] {
        endInsertRows();
        rowsChanged(0, rowCount() - 1);
    });
    connect(&document, &CLogDocument::fillsAboutToBeRemoved, this,
            [this](int first, int last) { beginRemoveRows({}, first, last); });
    connect(&document, &CLogDocument::fillsRemoved, this, [this] {
        endRemoveRows();
        rowsChanged(0, rowCount() - 1);
    });
    // The fills whose runs hold a changed one have new derived values too.
    connect(&document, &CLogDocument::fillsChanged, this, [this](int first, int last) {
        rowsChanged(first, lastFillDependingOn(m_database, last));
    });
    connect(&document, &CLogDocument::unitsChanged, this, [this] {
        headersChanged();
        rowsChanged(0, rowCount() - 1);
    });
    connect(&document, &CLogDocument::aboutToReplaceLog, this, [this] { beginResetModel(); });
    connect(&document, &CLogDocument::logReplaced, this, [this] {
        startPass();
        countKinds();
        if (m_columnsRead)
            m_columns = columnsFor(m_columnDefinition, m_chosenColumns, logTraits());
        endResetModel();
    });
}

CFillListModel::~CFillListModel() = default;

quint32 CFillListModel::columnBit(Column column) {
    return kColumnInfo[column].bit;
}

int CFillListModel::columnWidth(Column column) {
    return kColumnInfo[column].width;
}

QList<CFillListModel::Column> CFillListModel::columnsFor(quint32 columnDefinition) {
    QList<Column> columns;
    for (const Column column :
         {RecordNumber, Date, Fuel, Cost, Odometer, Consumption, Endurance, Marks}) {
        if (columnDefinition & columnBit(column))
            columns.append(column);
    }
    return columns;
}

QList<CFillListModel::Column> CFillListModel::columnsFor(quint32 columnDefinition,
                                                         quint32 chosenColumns, LogTraits log) {
    if (!(chosenColumns & columnBit(Endurance)) && log.consumptionIsEndurance)
        columnDefinition &= ~columnBit(Endurance);
    if (!(chosenColumns & columnBit(Marks)) && log.marked)
        columnDefinition |= columnBit(Marks);
    return columnsFor(columnDefinition);
}

quint32 CFillListModel::chosenColumns(quint32 chosenBefore, quint32 shown, quint32 checked) {
    return chosenBefore | ((shown ^ checked) & (columnBit(Endurance) | columnBit(Marks)));
}

quint32 CFillListModel::shownColumnBits() const {
    quint32 bits = 0;
    for (const Column column : m_columns)
        bits |= columnBit(column);
    return bits;
}

CFillListModel::LogTraits CFillListModel::logTraits() const {
    LogTraits traits;
    traits.consumptionIsEndurance =
        m_kinds == Kinds::Fuel && consumptionIsDistancePerVolume(m_database.units());
    const std::vector<FillFlags>& flags = m_database.tables().fillFlags;
    const auto count = std::min(flags.size(), std::size_t(m_database.getFillCount()));
    traits.marked =
        std::any_of(flags.cbegin(), flags.cbegin() + qsizetype(count),
                    [](const FillFlags& each) { return each.partial || each.missedBefore; });
    return traits;
}

void CFillListModel::updateColumns() {
    const QList<Column> wanted = columnsFor(m_columnDefinition, m_chosenColumns, logTraits());
    for (int position = int(m_columns.size()) - 1; position >= 0; --position) {
        if (!wanted.contains(m_columns.at(position))) {
            beginRemoveColumns({}, position, position);
            m_columns.removeAt(position);
            endRemoveColumns();
        }
    }
    // What is left keeps the order of wanted: the missing columns go in between.
    for (int position = 0; position < wanted.size(); ++position) {
        if (position >= m_columns.size() || m_columns.at(position) != wanted.at(position)) {
            beginInsertColumns({}, position, position);
            m_columns.insert(position, wanted.at(position));
            endInsertColumns();
        }
    }
}

int CFillListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_database.getFillCount();
}

int CFillListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant CFillListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Column column = m_columns.at(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return cellText(index.row(), column);
    case Qt::AccessibleTextRole:
    case Qt::ToolTipRole: {
        // The marks in words, for screen readers and the pointer; why a marked fill has no
        // consumption.
        const FillFlags flags = m_database.getFillFlags(index.row());
        if (column == Marks)
            return fillFlagsText(flags);
        if (column == Consumption && flags.partial)
            return translate(Text::FillList_PartialTip);
        if (column == Consumption && flags.missedBefore)
            return translate(Text::FillList_MissedTip);
        return {};
    }
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(
            (column == Marks ? Qt::AlignHCenter : Qt::AlignRight) | Qt::AlignVCenter));
    default:
        return {};
    }
}

QVariant CFillListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return headerText(m_columns.at(section), m_database, m_kinds).left(kMaxHeaderLength);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    default:
        return {};
    }
}

Qt::ItemFlags CFillListModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

QString CFillListModel::cellText(int row, Column column) const {
    const FillRecord* fill = m_database.getFill(row);
    if (!fill)
        return {};
    switch (column) {
    case RecordNumber:
        return QString::number(row + 1) + u'.';
    case Date:
        return formatDate(fill->dateTime, m_regional.settings());
    case Fuel:
    case Consumption:
    case Endurance: {
        const bool charge = m_database.getFillFlags(row).charge;
        const float value = cellValue(row, column, charge);
        const RegionalSettings& regional = m_regional.settings();
        return valueText(column == Fuel ? formatAmount(value, regional)
                                        : listCellText(value, regional),
                         column, charge);
    }
    case Cost:
        return formatAmount(fill->cost, m_regional.settings());
    case Odometer:
        return QString::number(distanceIn(m_units, fill->odometer));
    case Marks:
        return fillFlagsMark(m_database.getFillFlags(row));
    }
    return {};
}

QStringList CFillListModel::widestTexts(Column column, int firstRow, int lastRow) const {
    const int count = m_database.getFillCount();
    firstRow = std::max(firstRow, 0);
    lastRow = std::min(lastRow, count - 1);
    switch (column) {
    case RecordNumber:
        return {cellText(count - 1, RecordNumber)};
    case Date: {
        // Fills are in time order: the last one has the longest year. Two-digit days and
        // months give the longest date of that year.
        SystemTime widest;
        const FillRecord* last = m_database.getFill(count - 1);
        if (!last || !fileTimeToSystemTime(last->dateTime, &widest))
            return {};
        widest.month = 12;
        widest.day = 28;
        widest.hour = widest.minute = widest.second = widest.milliseconds = 0;
        FileTime time;
        const RegionalSettings& regional = m_regional.settings();
        return {systemTimeToFileTime(widest, &time) ? formatDate(time, regional) : QString(),
                formatDate(last->dateTime, regional)};
    }
    case Odometer: {
        Extremes<qint32> odometers;
        for (int row = firstRow; row <= lastRow; ++row)
            odometers.add(m_database.getFill(row)->odometer);
        if (!odometers.any)
            return {};
        return {QString::number(distanceIn(m_units, odometers.smallest)),
                QString::number(distanceIn(m_units, odometers.largest))};
    }
    case Marks:
        return {fillFlagsMark({true, true})};
    case Fuel:
    case Cost:
    case Consumption:
    case Endurance:
        break;
    }
    // Fuel and charges apart: their cells end in different units.
    Extremes<float> values[2];
    bool notPlausible = false;
    for (int row = firstRow; row <= lastRow; ++row) {
        const bool charge = m_database.getFillFlags(row).charge;
        const float value =
            column == Cost ? m_database.getFill(row)->cost : cellValue(row, column, charge);
        // What the cell leaves empty takes no room.
        if ((column == Consumption || column == Endurance) && !listCellShows(value))
            continue;
        if (isPlausibleAmount(value))
            values[charge].add(value);
        else
            notPlausible = true;
    }
    const RegionalSettings& regional = m_regional.settings();
    QStringList texts;
    for (const bool charge : {false, true}) {
        if (values[charge].any)
            texts << valueText(formatAmount(values[charge].smallest, regional), column, charge)
                  << valueText(formatAmount(values[charge].largest, regional), column, charge);
    }
    // A damaged fuel or cost shows the not-available text.
    if (notPlausible)
        texts << notAvailableText();
    return texts;
}

float CFillListModel::cellValue(int row, Column column, bool charge) const {
    switch (column) {
    case Fuel:
        return amountIn(m_units, charge, m_database.getFill(row)->fuel);
    case Consumption: {
        const float value = fillConsumption(m_database, row, m_fillingMethod);
        return charge ? electricConsumptionIn(m_units, value) : consumptionIn(m_units, value);
    }
    case Endurance: {
        // A charge's distance per kWh converts only its distance.
        LogUnits units = m_units;
        if (charge)
            units.volume = VolumeUnit::Litres;
        return enduranceIn(units, fillEndurance(m_database, row, m_fillingMethod));
    }
    default:
        return 0;
    }
}

QString CFillListModel::valueText(const QString& text, Column column, bool charge) const {
    if (m_kinds != Kinds::Both || text.isEmpty() || text == notAvailableText())
        return text;
    const UnitTexts units = unitTexts(m_units);
    QString unit;
    switch (column) {
    case Fuel:
        unit = amountUnit(units, charge);
        break;
    case Consumption:
        unit = charge ? units.electricConsumption : units.consumption;
        break;
    case Endurance:
        unit = charge ? electricEnduranceText(units) : units.endurance;
        break;
    default:
        return text;
    }
    return QStringLiteral("%1 %2").arg(text, unit);
}

void CFillListModel::startPass() {
    m_units = m_database.units();
    m_regional = RegionalPass();
}

bool CFillListModel::countKinds() {
    // Looked at after every change: the look ends as soon as it has seen both kinds, and a log
    // without flags holds no charges.
    const int count = m_database.getFillCount();
    const std::vector<FillFlags>& flags = m_database.tables().fillFlags;
    const auto flagged = std::min(flags.size(), std::size_t(count));
    bool charges = false;
    bool fuel = flagged < std::size_t(count);
    for (auto it = flags.cbegin(); it != flags.cbegin() + qsizetype(flagged) && !(charges && fuel);
         ++it)
        (it->charge ? charges : fuel) = true;
    Kinds kinds = Kinds::Fuel;
    if (charges && fuel)
        kinds = Kinds::Both;
    else if (charges || (count == 0 && m_database.units().energy == VehicleEnergy::Electric))
        kinds = Kinds::Charges;
    if (kinds == m_kinds)
        return false;
    m_kinds = kinds;
    return true;
}

void CFillListModel::headersChanged() {
    if (!m_columns.isEmpty())
        emit headerDataChanged(Qt::Horizontal, 0, int(m_columns.size()) - 1);
}

void CFillListModel::rebuild() {
    m_fillingMethod = readFillingMethod();
    startPass();
    beginResetModel();
    countKinds();
    m_columnDefinition = readColumnDefinition();
    m_chosenColumns = readChosenColumns();
    m_columnsRead = true;
    m_columns = columnsFor(m_columnDefinition, m_chosenColumns, logTraits());
    endResetModel();
}

void CFillListModel::rowsChanged(int first, int last) {
    startPass();
    if (countKinds())
        headersChanged();
    updateColumns();
    if (first <= last && !m_columns.isEmpty())
        emit dataChanged(index(first, 0), index(last, int(m_columns.size()) - 1));
}
