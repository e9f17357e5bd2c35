#pragma once

// Every value of the settings store: its name and what it reads as while it is absent. The names
// are those the handheld wrote, and those earlier versions of this program added; a stored name
// never changes.

#include <QStringView>
#include <QtGlobal>

template <typename T> struct SettingKey {
    QStringView name;
    T fallback;
    constexpr operator QStringView() const { return name; }
};
using NumberKey = SettingKey<quint32>;
using TextKey = SettingKey<QStringView>;

namespace SettingsKey {
// The language file, as the handheld wrote it: relative to the program folder, with "\".
inline constexpr TextKey Lang{u"Lang", u"lang\\english.lng"};
// The fill list's columns, one bit each.
inline constexpr NumberKey ColDef{u"ColDef", 127};
inline constexpr NumberKey DebugMode{u"DebugMode", 0};
// 2: the previous fill's fuel (driven empty); any other number: this fill's (full tank).
inline constexpr NumberKey FillingMethod{u"FillingMethod", 2};
// The log last opened and the logs opened recently (one path a line); absent for the default log.
inline constexpr TextKey Database{u"Database", u""};
inline constexpr TextKey RecentVehicles{u"RecentVehicles", u""};
// What the last fill of a plug-in hybrid bought: 0 fuel, 1 electricity.
inline constexpr NumberKey FillKind{u"FillKind", 0};
// The ColDef bits of the columns that follow the log (endurance, marks) that the user has shown
// or hidden in the settings; the log decides the others.
inline constexpr NumberKey ColumnsChosen{u"ColumnsChosen", 0};

// Windows, as QWidget::saveGeometry and QHeaderView::saveState give them, in Base64.
inline constexpr TextKey MainWindowGeometry{u"MainWindowGeometry", u""};
inline constexpr TextKey FillListHeader{u"FillListHeader", u""};
// The ColDef the fill list's header state was saved with: another set of columns does not take it.
inline constexpr NumberKey FillListHeaderColumns{u"FillListHeaderColumns", 0};
inline constexpr TextKey RemindersWindowGeometry{u"RemindersWindowGeometry", u""};
inline constexpr TextKey StatisticsWindowGeometry{u"StatisticsWindowGeometry", u""};
inline constexpr NumberKey ToolbarShown{u"ToolbarShown", 1};
inline constexpr NumberKey StatusLineShown{u"StatusLineShown", 1};

// Written by earlier versions: read once while the values above are absent, never written.
// "x,y,width,height" of the window not maximised.
inline constexpr TextKey OldWindowGeometry{u"WindowGeometry", u""};
inline constexpr NumberKey OldWindowMaximized{u"WindowMaximized", 0};
// "column:width" pairs of the columns the user dragged, by the list's column kinds.
inline constexpr TextKey OldColumnWidths{u"ColumnWidths", u""};
} // namespace SettingsKey

// The table of all of them, for code that goes through every value.
inline constexpr NumberKey kNumberKeys[] = {
    SettingsKey::ColDef,
    SettingsKey::DebugMode,
    SettingsKey::FillingMethod,
    SettingsKey::FillKind,
    SettingsKey::FillListHeaderColumns,
    SettingsKey::ToolbarShown,
    SettingsKey::StatusLineShown,
    SettingsKey::OldWindowMaximized,
    SettingsKey::ColumnsChosen,
};
inline constexpr TextKey kTextKeys[] = {
    SettingsKey::Lang,
    SettingsKey::Database,
    SettingsKey::RecentVehicles,
    SettingsKey::MainWindowGeometry,
    SettingsKey::FillListHeader,
    SettingsKey::RemindersWindowGeometry,
    SettingsKey::StatisticsWindowGeometry,
    SettingsKey::OldWindowGeometry,
    SettingsKey::OldColumnWidths,
};
