#include "ui/main/fillfilter.h"

#include "db/fueldatabase.h"

namespace {

// True when the fill at row has the text, in any case, within its station's name, its driver's
// name or its notes.
bool fillMatches(const CFuelDatabase& database, int row, QStringView text) {
    const FillRecord* fill = database.getFill(row);
    if (!fill)
        return false;
    if (text.isEmpty())
        return true;
    const auto holds = [text](QStringView field) {
        return field.contains(text, Qt::CaseInsensitive);
    };
    if (holds(fieldView(fill->notes)))
        return true;
    if (const StationRecord* station = database.getStation(fill->stationId);
        station && holds(fieldView(station->name)))
        return true;
    const DriverRecord* driver = database.getDriver(fill->driverId);
    return driver && holds(fieldView(driver->name));
}

} // namespace

CFillFilterModel::CFillFilterModel(const CFuelDatabase& database, QObject* parent)
    : QSortFilterProxyModel(parent), m_database(database) {}

void CFillFilterModel::setText(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed == m_text)
        return;
    m_text = trimmed;
    invalidateFilter();
}

bool CFillFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
    return !sourceParent.isValid() && fillMatches(m_database, sourceRow, m_text);
}
