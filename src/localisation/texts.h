#pragma once

// Every text the program shows in a window: its section and key in the language file and the
// English wording used when the loaded file does not translate it.

#include <span>

struct TextId {
    const char16_t* section;
    const char16_t* key;
    const char16_t* defaultText;
};

namespace Text {
inline constexpr TextId about_caption{u"about", u"caption", u"About Tankometer"};
inline constexpr TextId about_support{u"about", u"support", u"Email support:"};
inline constexpr TextId about_translation{u"about", u"translation", u""};
inline constexpr TextId context_FillEdit{u"context", u"FillEdit", u"Edit fill"};
inline constexpr TextId context_FillRemove{u"context", u"FillRemove", u"Remove fill"};
inline constexpr TextId context_FillShowInfo{u"context", u"FillShowInfo", u"Fill information"};
inline constexpr TextId context_GraphHere{u"context", u"GraphHere", u"Start graph here"};
inline constexpr TextId fill_cancel{u"fill", u"cancel", u"Cancel"};
inline constexpr TextId fill_caption{u"fill", u"caption", u"Fill up"};
inline constexpr TextId fill_cost{u"fill", u"cost", u"Cost (Kč):"};
inline constexpr TextId fill_costin{u"fill", u"costin", u"Cost (%1):"};
inline constexpr TextId fill_date{u"fill", u"date", u"Date:"};
inline constexpr TextId fill_driver{u"fill", u"driver", u"Driver:"};
inline constexpr TextId fill_fuel{u"fill", u"fuel", u"Fuel (l):"};
inline constexpr TextId fill_fuelin{u"fill", u"fuelin", u"Fuel (%1):"};
inline constexpr TextId fill_invalidcost{u"fill", u"invalidcost",
                                         u"The cost cannot be read. Enter a number."};
inline constexpr TextId fill_invaliddate{
    u"fill", u"invaliddate", u"The date cannot be read. Enter a day that exists, for example %1."};
inline constexpr TextId fill_invalidfuel{u"fill", u"invalidfuel",
                                         u"The fuel amount cannot be read. Enter a number."};
inline constexpr TextId fill_invalidodometer{
    u"fill", u"invalidodometer", u"The odometer reading cannot be read. Enter a whole number."};
inline constexpr TextId fill_invalidtime{
    u"fill", u"invalidtime",
    u"The time cannot be read. Enter hours and minutes, seconds if you like, for example 10:30."};
inline constexpr TextId fill_missed{u"fill", u"missed", u"Missed fill before this one"};
inline constexpr TextId fill_notes{u"fill", u"notes", u"Notes:"};
inline constexpr TextId fill_odometer{u"fill", u"odometer", u"Odometer (km):"};
inline constexpr TextId fill_odometerin{u"fill", u"odometerin", u"Odometer (%1):"};
inline constexpr TextId fill_ok{u"fill", u"ok", u"OK"};
inline constexpr TextId fill_partial{u"fill", u"partial", u"Partial fill"};
inline constexpr TextId fill_station{u"fill", u"station", u"Station:"};
inline constexpr TextId fill_time{u"fill", u"time", u"Time:"};
inline constexpr TextId fill_unitprice{u"fill", u"unitprice", u"Unit price (%1):"};
inline constexpr TextId fill_invalidunitprice{
    u"fill", u"invalidunitprice", u"The unit price cannot be read. Enter a number of 0 or more."};
inline constexpr TextId fill_rangeodometer{u"fill", u"rangeodometer",
                                           u"Enter the odometer reading, a whole number above 0."};
inline constexpr TextId fill_rangefuel{u"fill", u"rangefuel",
                                       u"Enter the fuel amount, a number above 0."};
inline constexpr TextId fill_rangecost{u"fill", u"rangecost",
                                       u"Enter the cost, a number of 0 or more."};
inline constexpr TextId fill_calendar{u"fill", u"calendar", u"Choose the date in a calendar (F4)"};
inline constexpr TextId fill_doubtprevious{
    u"fill", u"doubtprevious",
    u"The odometer %1 is not higher than that of the fill before it (%2)."};
inline constexpr TextId fill_doubtnext{
    u"fill", u"doubtnext", u"The odometer %1 is not lower than that of the fill after it (%2)."};
inline constexpr TextId fill_doubtjump{
    u"fill", u"doubtjump",
    u"The distance of %1 since the fill before is more than three times the longest distance "
    u"between two fills so far (%2)."};
inline constexpr TextId fill_doubtconsumption{
    u"fill", u"doubtconsumption", u"The consumption of %1 lies outside the usual %2 to %3."};
inline constexpr TextId fill_doubtprice{
    u"fill", u"doubtprice",
    u"The unit price %1 differs by more than half from the average of the last five fills (%2)."};
inline constexpr TextId fill_doubtfuture{u"fill", u"doubtfuture",
                                         u"The date %1 is more than a day in the future."};
inline constexpr TextId fill_doubtquestion{u"fill", u"doubtquestion", u"Store the fill anyway?"};
// Fill information: what a charge records beyond its kWh.
inline constexpr TextId fill_chargeLevels{u"fill", u"chargeLevels", u"Battery %1 % to %2 %"};
inline constexpr TextId main_EnergyCost{u"main", u"EnergyCost", u"Price per kWh:"};
// In a plug-in hybrid's log: whether fuel or electricity was bought, and the charge's own fields.
inline constexpr TextId fill_kind{u"fill", u"kind", u"Bought:"};
inline constexpr TextId fill_kindfuel{u"fill", u"kindfuel", u"Fuel"};
inline constexpr TextId fill_kindcharge{u"fill", u"kindcharge", u"Electricity"};
inline constexpr TextId fill_chargecaption{u"fill", u"chargecaption", u"Charge"};
inline constexpr TextId fill_place{u"fill", u"place", u"Station or place:"};
inline constexpr TextId fill_energyin{u"fill", u"energyin", u"Energy (%1):"};
inline constexpr TextId fill_fullcharge{u"fill", u"fullcharge", u"Full charge"};
inline constexpr TextId fill_athome{u"fill", u"athome", u"Charged at home"};
inline constexpr TextId fill_chargebefore{u"fill", u"chargebefore", u"Battery before:"};
inline constexpr TextId fill_chargeafter{u"fill", u"chargeafter", u"Battery after:"};
inline constexpr TextId fill_chargenotgiven{u"fill", u"chargenotgiven", u"not given"};
inline constexpr TextId fill_invalidenergy{u"fill", u"invalidenergy",
                                           u"The energy cannot be read. Enter a number."};
inline constexpr TextId fill_rangeenergy{u"fill", u"rangeenergy",
                                         u"Enter the energy charged, a number above 0."};
inline constexpr TextId fill_chargeorder{
    u"fill", u"chargeorder", u"The battery cannot hold less after the charge than before it."};
// The keyboard shortcuts window.
inline constexpr TextId help_Command{u"help", u"Command", u"Command"};
inline constexpr TextId help_ContextMenu{u"help", u"ContextMenu", u"Menu of the selected fill"};
inline constexpr TextId help_EditSelected{u"help", u"EditSelected", u"Edit the selected fill"};
inline constexpr TextId help_Keys{u"help", u"Keys", u"Keys"};
inline constexpr TextId FillList_Consumption{u"FillList", u"Consumption", u"Consumption"};
inline constexpr TextId FillList_Cost{u"FillList", u"Cost", u"Cost"};
inline constexpr TextId FillList_Date{u"FillList", u"Date", u"Date"};
inline constexpr TextId FillList_Endurance{u"FillList", u"Endurance", u"Endurance"};
inline constexpr TextId FillList_errorsave{u"FillList", u"errorsave", u"Error exporting database."};
inline constexpr TextId FillList_exportcaption{u"FillList", u"exportcaption", u"Export"};
inline constexpr TextId FillList_exported{u"FillList", u"exported",
                                          u"Export successfully finished."};
inline constexpr TextId FillList_Fuel{u"FillList", u"Fuel", u"Fuel"};
// The header of the column of partial and missed marks.
inline constexpr TextId FillList_Marks{u"FillList", u"Marks", u"Marks"};
inline constexpr TextId FillList_Odometer{u"FillList", u"Odometer", u"Odometer"};
// The amount column when the log holds fuel and charges, and its title for charges only.
inline constexpr TextId FillList_Amount{u"FillList", u"Amount", u"Amount"};
inline constexpr TextId FillList_Energy{u"FillList", u"Energy", u"Energy"};
inline constexpr TextId graph_Consumption{u"graph", u"Consumption", u"Consumption (l / 100 km)"};
inline constexpr TextId graph_ConsumptionIn{u"graph", u"ConsumptionIn", u"Consumption (%1)"};
// What a screen reader reads about a chart of the desktop graph dialog.
inline constexpr TextId graph_Description{u"graph", u"Description",
                                          u"%1 points, lowest %2, highest %3"};
inline constexpr TextId graph_Endurance{u"graph", u"Endurance", u"Endurance (km / l)"};
inline constexpr TextId graph_EnduranceIn{u"graph", u"EnduranceIn", u"Endurance (%1)"};
inline constexpr TextId graph_FillCost{u"graph", u"FillCost", u"Fill cost (Kč)"};
inline constexpr TextId graph_FillCostIn{u"graph", u"FillCostIn", u"Fill cost (%1)"};
// The same for a chart without points.
inline constexpr TextId graph_NoPoints{u"graph", u"NoPoints", u"No points"};
inline constexpr TextId graph_UnitCost{u"graph", u"UnitCost", u"Unit cost (Kč / l)"};
inline constexpr TextId graph_UnitCostIn{u"graph", u"UnitCostIn", u"Unit cost (%1)"};
// The window titles that the handheld left in English.
inline constexpr TextId graph_caption{u"graph", u"caption", u"Graph statistics"};
inline constexpr TextId Import_cancel{u"Import", u"cancel", u"Cancel"};
inline constexpr TextId Import_caption{u"Import", u"caption", u"Import CVS"};
inline constexpr TextId Import_comment{u"Import", u"comment",
                                       u"Please assign columns to the values."};
inline constexpr TextId Import_cost{u"Import", u"cost", u"Cost:"};
inline constexpr TextId Import_date{u"Import", u"date", u"Date:"};
inline constexpr TextId Import_driver{u"Import", u"driver", u"Driver:"};
inline constexpr TextId Import_errorload{u"Import", u"errorload", u"Error importing database."};
inline constexpr TextId Import_fuel{u"Import", u"fuel", u"Fuel:"};
inline constexpr TextId Import_importcaption{u"Import", u"importcaption", u"Import"};
inline constexpr TextId Import_imported{u"Import", u"imported", u"Import successfully finished."};
inline constexpr TextId Import_importedcount{u"Import", u"importedcount",
                                             u"Fills imported: %1. Lines skipped: %2."};
inline constexpr TextId Import_nothingimported{u"Import", u"nothingimported",
                                               u"Nothing was imported."};
inline constexpr TextId Import_notes{u"Import", u"notes", u"Notes:"};
inline constexpr TextId Import_odometer{u"Import", u"odometer", u"Odometer:"};
inline constexpr TextId Import_ok{u"Import", u"ok", u"Import"};
inline constexpr TextId Import_preview{u"Import", u"preview", u"First lines of the file:"};
inline constexpr TextId Import_skippedcolumn{u"Import", u"skippedcolumn",
                                             u"Line %1: no column for %2."};
inline constexpr TextId Import_skippedvalue{u"Import", u"skippedvalue",
                                            u"Line %1: %2 \"%3\" cannot be read."};
inline constexpr TextId Import_station{u"Import", u"station", u"Station:"};
inline constexpr TextId Import_time{u"Import", u"time", u"Time:"};
inline constexpr TextId Import_nocolumn{u"Import", u"nocolumn",
                                        u"Please choose the column that holds %1."};
inline constexpr TextId Import_sharedcolumn{
    u"Import", u"sharedcolumn",
    u"%1 and %2 cannot share column %3. Please choose the column that holds %2."};
inline constexpr TextId Import_othervehicle{
    u"Import", u"othervehicle",
    u"The odometer readings of the file do not continue those of the open log: they may be "
    u"another vehicle's."};
inline constexpr TextId Import_historyfile{u"Import", u"historyfile",
                                           u"In the file: %1 to %2 %3, from %4 to %5."};
inline constexpr TextId Import_historylog{u"Import", u"historylog",
                                          u"In the open log: %1 to %2 %3, from %4 to %5."};
inline constexpr TextId Import_newvehiclequestion{
    u"Import", u"newvehiclequestion",
    u"Import them into a new vehicle log? (No imports them into the open log.)"};
inline constexpr TextId import_missing{u"import", u"missing", u"--- missing ---"};
inline constexpr TextId Main_QuestionDeleteFill{u"Main", u"QuestionDeleteFill",
                                                u"Do you really want to delete this fill"};
// The two questions of the desktop main window that guard against losing a session's fills.
inline constexpr TextId Main_QuestionDiscardChanges{u"Main", u"QuestionDiscardChanges",
                                                    u"Discard the changes of this session?"};
inline constexpr TextId Main_QuestionCloseUnsaved{
    u"Main", u"QuestionCloseUnsaved",
    u"The fills could not be saved. Close anyway and lose the changes of this session?"};
inline constexpr TextId Main_VehicleMissing{
    u"Main", u"VehicleMissing",
    u"The log \"%1\" no longer exists. It has been taken off the recent vehicles."};
inline constexpr TextId Main_VehicleNotCreated{
    u"Main", u"VehicleNotCreated",
    u"The new vehicle's log \"%1\" could not be created. The open log stays open as it was."};
inline constexpr TextId Main_VehicleNotSaved{
    u"Main", u"VehicleNotSaved",
    u"The open log could not be saved, so it stays open. No other vehicle was opened."};
// A file that was to be opened as a log and is none, and a log that was not read.
inline constexpr TextId Main_NotALog{u"Main", u"NotALog", u"\"%1\" is not a fuel log."};
inline constexpr TextId Main_LogIsFolder{u"Main", u"LogIsFolder",
                                         u"\"%1\" is a folder, not a fuel log."};
inline constexpr TextId Main_LogNotRegular{
    u"Main", u"LogNotRegular",
    u"\"%1\" is not a regular file (a pipe or a device), so it is not read as a fuel log."};
inline constexpr TextId Main_LogUnreadable{u"Main", u"LogUnreadable",
                                           u"The file \"%1\" cannot be read."};
inline constexpr TextId Main_LogNotOpened{u"Main", u"LogNotOpened",
                                          u"It has been left as it is and was not opened."};
inline constexpr TextId Main_UnreadFileKept{
    u"Main", u"UnreadFileKept",
    u"The file is kept as \"%1\" before anything is written in its place."};
inline constexpr TextId Main_TitleNotRead{u"Main", u"TitleNotRead", u"%1 (not read)"};
// What the open log's file went through, in the status line.
inline constexpr TextId Main_OtherCopyMerged{
    u"Main", u"OtherCopyMerged",
    u"Changes from another copy of this log: added %1, removed %2, changed %3."};
inline constexpr TextId Main_OtherCopyUnreadable{
    u"Main", u"OtherCopyUnreadable",
    u"Another program put something that is not a fuel log in place of the log file \"%1\". It is "
    u"kept as \"%2\", and the open fills were written to \"%1\"."};
inline constexpr TextId Main_LogFileGone{u"Main", u"LogFileGone",
                                         u"The log file \"%1\" is no longer there. The fills stay "
                                         u"open here: keep them with File > Save as."};
// Notes that imports of earlier versions began with the partial and missed markers.
inline constexpr TextId Main_NoNoteMarkers{
    u"Main", u"NoNoteMarkers",
    u"No fill has notes that begin with \"%1\" or \"%2\" from an earlier import."};
inline constexpr TextId Main_QuestionNoteMarkers{
    u"Main", u"QuestionNoteMarkers",
    u"%1 fills have notes that begin with \"%2\" or \"%3\" from an earlier import. Mark these "
    u"fills as partial or after a missed fill, and take the words out of their notes?"};
// The main window's hint over an empty list (%1: the keys of Add fill) and its status line.
inline constexpr TextId Main_EmptyLog{u"Main", u"EmptyLog",
                                      u"No fills yet. Add your first fill with %1"};
inline constexpr TextId Main_LogFilter{u"Main", u"LogFilter", u"Tankometer logs"};
inline constexpr TextId Main_StatusAverage{u"Main", u"StatusAverage", u"Average %1 %2"};
inline constexpr TextId Main_StatusFills{u"Main", u"StatusFills", u"%1 fills"};
inline constexpr TextId Main_OtherCopyConflicts{
    u"Main", u"OtherCopyConflicts",
    u"Fills changed differently in both copies are kept in both versions: %1."};
inline constexpr TextId Main_OtherCopyCosts{
    u"Main", u"OtherCopyCosts",
    u"Costs and reminders from another copy of this log were taken over."};
inline constexpr TextId Main_StatusOneFill{u"Main", u"StatusOneFill", u"1 fill"};
// Where the fills go when the log cannot be written, and what the next start offers.
inline constexpr TextId Main_RecoveryWritten{
    u"Main", u"RecoveryWritten",
    u"The fills are kept in \"%1\" until the log can be written; the next start offers them."};
inline constexpr TextId Main_RecoveryFailed{
    u"Main", u"RecoveryFailed",
    u"They could not be kept in \"%1\" either: keep them with File > Save as."};
inline constexpr TextId Main_QuestionCloseRecovered{
    u"Main", u"QuestionCloseRecovered",
    u"The fills could not be saved to \"%1\". They are kept in \"%2\" and offered at the next "
    u"start. Close anyway?"};
inline constexpr TextId Main_RecoveryOffer{
    u"Main", u"RecoveryOffer",
    u"%1 fills of the last session could not be saved to \"%2\". Add them now?"};
inline constexpr TextId Main_RecoveryOfferOne{
    u"Main", u"RecoveryOfferOne",
    u"1 fill of the last session could not be saved to \"%1\". Add it now?"};
inline constexpr TextId Main_RecoveryOfferCosts{
    u"Main", u"RecoveryOfferCosts",
    u"Costs or reminders of the last session could not be saved to \"%1\". Add them now?"};
// On the standard error stream when a signal or a lost display ends the program.
inline constexpr TextId Main_EndRecovered{
    u"Main", u"EndRecovered",
    u"Tankometer: the fills could not be saved to \"%1\"; they are kept in \"%2\"."};
inline constexpr TextId Main_EndLost{
    u"Main", u"EndLost",
    u"Tankometer: the fills could not be saved to \"%1\" nor to \"%2\"; the changes of this "
    u"session are lost."};
// The search field above the list, its name for screen readers and the keys, and how many
// fills it lets through.
inline constexpr TextId Main_SearchHint{u"Main", u"SearchHint", u"Search station, driver, notes"};
inline constexpr TextId Main_Search{u"Main", u"Search", u"Search the list"};
inline constexpr TextId Main_SearchShown{u"Main", u"SearchShown", u"%1 of %2 fills shown"};
inline constexpr TextId main_Consumption{u"main", u"Consumption", u"Consumption:"};
inline constexpr TextId main_Cost{u"main", u"Cost", u"Cost:"};
inline constexpr TextId main_CostOfDist{u"main", u"CostOfDist", u"Cost of dist.:"};
inline constexpr TextId main_CostOfDistMi{u"main", u"CostOfDistMi", u"Cost of dist.:"};
inline constexpr TextId main_Date{u"main", u"Date", u"Date of fill:"};
inline constexpr TextId main_Distance{u"main", u"Distance", u"Distance:"};
inline constexpr TextId main_Driver{u"main", u"Driver", u"Driver:"};
inline constexpr TextId main_Endurance{u"main", u"Endurance", u"Endurance:"};
// The fill information dialog's step buttons, for their tips and for screen readers.
inline constexpr TextId main_FirstFill{u"main", u"FirstFill", u"First fill"};
inline constexpr TextId main_Fuel{u"main", u"Fuel", u"Fuel:"};
inline constexpr TextId main_FuelCost{u"main", u"FuelCost", u"Unit cost:"};
inline constexpr TextId main_FuelCostGal{u"main", u"FuelCostGal", u"Unit cost:"};
inline constexpr TextId main_LastFill{u"main", u"LastFill", u"Last fill"};
inline constexpr TextId main_Marks{u"main", u"Marks", u"Marks:"};
inline constexpr TextId main_NextFill{u"main", u"NextFill", u"Next fill"};
inline constexpr TextId main_Notes{u"main", u"Notes", u"Notes:"};
inline constexpr TextId main_Odometer{u"main", u"Odometer", u"Odometer:"};
inline constexpr TextId main_PreviousFill{u"main", u"PreviousFill", u"Previous fill"};
inline constexpr TextId main_Station{u"main", u"Station", u"Station:"};
inline constexpr TextId main_Time{u"main", u"Time", u"Time of fill:"};
inline constexpr TextId menu_EditRedo{u"menu", u"EditRedo", u"Redo"};
inline constexpr TextId menu_EditRedoStep{u"menu", u"EditRedoStep", u"Redo %1"};
inline constexpr TextId menu_EditUndo{u"menu", u"EditUndo", u"Undo"};
inline constexpr TextId menu_EditUndoStep{u"menu", u"EditUndoStep", u"Undo %1"};
inline constexpr TextId menu_FileAbout{u"menu", u"FileAbout", u"About"};
inline constexpr TextId menu_FileExit{u"menu", u"FileExit", u"Exit"};
inline constexpr TextId menu_FileExport{u"menu", u"FileExport", u"Export CSV"};
inline constexpr TextId menu_FileImport{u"menu", u"FileImport", u"Import CSV"};
inline constexpr TextId menu_FileNewVehicle{u"menu", u"FileNewVehicle", u"New vehicle…"};
inline constexpr TextId menu_FileOpenVehicle{u"menu", u"FileOpenVehicle", u"Open vehicle…"};
inline constexpr TextId menu_FileRecentVehicles{u"menu", u"FileRecentVehicles", u"Recent vehicles"};
inline constexpr TextId menu_FileImportOther{u"menu", u"FileImportOther",
                                             u"Import from another fuel log…"};
inline constexpr TextId menu_FileNoteMarkers{u"menu", u"FileNoteMarkers",
                                             u"Flags from import notes…"};
inline constexpr TextId menu_FileDiscard{u"menu", u"FileDiscard",
                                         u"Discard the changes of this session…"};
inline constexpr TextId menu_FileSaveAs{u"menu", u"FileSaveAs", u"Save as…"};
inline constexpr TextId menu_FileSettings{u"menu", u"FileSettings", u"Settings"};
inline constexpr TextId menu_FillAdd{u"menu", u"FillAdd", u"Add fill"};
inline constexpr TextId menu_FillEdit{u"menu", u"FillEdit", u"Edit fill"};
inline constexpr TextId menu_FillRemove{u"menu", u"FillRemove", u"Remove fill"};
inline constexpr TextId menu_FillShowInfo{u"menu", u"FillShowInfo", u"Fill information"};
inline constexpr TextId menu_HelpShortcuts{u"menu", u"HelpShortcuts", u"Keyboard shortcuts"};
inline constexpr TextId menu_MainEdit{u"menu", u"MainEdit", u"Edit"};
inline constexpr TextId menu_MainFile{u"menu", u"MainFile", u"File"};
inline constexpr TextId menu_MainFill{u"menu", u"MainFill", u"Fill"};
inline constexpr TextId menu_MainHelp{u"menu", u"MainHelp", u"Help"};
inline constexpr TextId menu_MainStats{u"menu", u"MainStats", u"Statistics"};
inline constexpr TextId menu_MainView{u"menu", u"MainView", u"View"};
inline constexpr TextId menu_StatCompare{u"menu", u"StatCompare", u"Compare vehicles"};
inline constexpr TextId menu_StatGraph{u"menu", u"StatGraph", u"Graph"};
inline constexpr TextId menu_StatTotals{u"menu", u"StatTotals", u"Totals"};
inline constexpr TextId menu_ViewStatusLine{u"menu", u"ViewStatusLine", u"Status line"};
inline constexpr TextId menu_ViewToolbar{u"menu", u"ViewToolbar", u"Toolbar"};
inline constexpr TextId OtherLog_caption{u"OtherLog", u"caption", u"Import from another fuel log"};
inline constexpr TextId OtherLog_columns{u"OtherLog", u"columns", u"Columns"};
inline constexpr TextId OtherLog_countadded{u"OtherLog", u"countadded", u"Fills added: %1"};
inline constexpr TextId OtherLog_countalready{u"OtherLog", u"countalready",
                                              u"Already in the log: %1"};
inline constexpr TextId OtherLog_countmissed{u"OtherLog", u"countmissed",
                                             u"After missed fills: %1"};
inline constexpr TextId OtherLog_countpartial{u"OtherLog", u"countpartial", u"Partial fills: %1"};
inline constexpr TextId OtherLog_countskipped{u"OtherLog", u"countskipped", u"Rows skipped: %1"};
inline constexpr TextId OtherLog_counttoimport{u"OtherLog", u"counttoimport",
                                               u"Fills to import: %1"};
inline constexpr TextId OtherLog_dateorder{u"OtherLog", u"dateorder", u"Date order:"};
inline constexpr TextId OtherLog_dateorderguessed{
    u"OtherLog", u"dateorderguessed", u"No date in the file shows the order: please check it."};
inline constexpr TextId OtherLog_decimal{u"OtherLog", u"decimal", u"Decimal character:"};
inline constexpr TextId OtherLog_distance{u"OtherLog", u"distance", u"Distance in:"};
inline constexpr TextId OtherLog_dmy{u"OtherLog", u"dmy", u"day.month.year"};
inline constexpr TextId OtherLog_driver{u"OtherLog", u"driver", u"Driver"};
inline constexpr TextId OtherLog_format{u"OtherLog", u"format", u"Format:"};
inline constexpr TextId OtherLog_gallonsimp{u"OtherLog", u"gallonsimp", u"imperial gallons"};
inline constexpr TextId OtherLog_gallonsus{u"OtherLog", u"gallonsus", u"US gallons"};
inline constexpr TextId OtherLog_kilometres{u"OtherLog", u"kilometres", u"kilometres"};
inline constexpr TextId OtherLog_litres{u"OtherLog", u"litres", u"litres"};
inline constexpr TextId OtherLog_markermissed{u"OtherLog", u"markermissed", u"after missed fills"};
inline constexpr TextId OtherLog_markerpartial{u"OtherLog", u"markerpartial", u"partial fill"};
inline constexpr TextId OtherLog_mdy{u"OtherLog", u"mdy", u"month/day/year"};
inline constexpr TextId OtherLog_miles{u"OtherLog", u"miles", u"miles"};
inline constexpr TextId OtherLog_notes{u"OtherLog", u"notes", u"Notes"};
inline constexpr TextId OtherLog_othercsv{u"OtherLog", u"othercsv", u"Other CSV"};
inline constexpr TextId OtherLog_pervehicle{u"OtherLog", u"pervehicle",
                                            u"One new log per vehicle…"};
inline constexpr TextId OtherLog_price{u"OtherLog", u"price", u"Price per unit:"};
inline constexpr TextId OtherLog_reason{u"OtherLog", u"reason", u"Skipped because"};
inline constexpr TextId OtherLog_reasonalready{u"OtherLog", u"reasonalready",
                                               u"already in the log"};
inline constexpr TextId OtherLog_reasoncost{u"OtherLog", u"reasoncost", u"cost does not read"};
inline constexpr TextId OtherLog_reasondate{u"OtherLog", u"reasondate",
                                            u"date or time does not read"};
inline constexpr TextId OtherLog_reasonnoodometer{u"OtherLog", u"reasonnoodometer",
                                                  u"odometer not recorded"};
inline constexpr TextId OtherLog_reasonodometer{u"OtherLog", u"reasonodometer",
                                                u"odometer does not read"};
inline constexpr TextId OtherLog_reasonvolume{u"OtherLog", u"reasonvolume",
                                              u"volume does not read"};
inline constexpr TextId OtherLog_station{u"OtherLog", u"station", u"Station"};
inline constexpr TextId OtherLog_time{u"OtherLog", u"time", u"Time"};
inline constexpr TextId OtherLog_vehicle{u"OtherLog", u"vehicle", u"Vehicle:"};
inline constexpr TextId OtherLog_volume{u"OtherLog", u"volume", u"Volume in:"};
inline constexpr TextId OtherLog_ymd{u"OtherLog", u"ymd", u"year-month-day"};
inline constexpr TextId OtherLog_reasonnotfuel{u"OtherLog", u"reasonnotfuel", u"no fuel (AdBlue)"};
inline constexpr TextId OtherLog_reasonamount{u"OtherLog", u"reasonamount",
                                              u"amount does not read"};
inline constexpr TextId OtherLog_reasonnotacost{
    u"OtherLog", u"reasonnotacost", u"no cost (income, refund, purchase price or template)"};
inline constexpr TextId OtherLog_costsadded{u"OtherLog", u"costsadded", u"Costs added: %1"};
inline constexpr TextId OtherLog_costsalready{u"OtherLog", u"costsalready",
                                              u"Costs already in the log: %1"};
inline constexpr TextId OtherLog_costsskipped{u"OtherLog", u"costsskipped",
                                              u"Cost rows skipped: %1"};
inline constexpr TextId OtherLog_coststoimport{u"OtherLog", u"coststoimport",
                                               u"Costs to import: %1"};
inline constexpr TextId OtherLog_damaged{u"OtherLog", u"damaged",
                                         u"The section \"%1\" of the file could not be read."};
inline constexpr TextId OtherLog_costcategory{u"OtherLog", u"costcategory",
                                              u"Category of the costs:"};
inline constexpr TextId Settings_caption{u"Settings", u"caption", u"Settings"};
inline constexpr TextId Settings_columns{u"Settings", u"columns", u"Columns"};
inline constexpr TextId Settings_consumption{u"Settings", u"consumption", u"Consumption"};
inline constexpr TextId Settings_consumptionunit{u"Settings", u"consumptionunit",
                                                 u"Consumption in:"};
inline constexpr TextId Settings_cost{u"Settings", u"cost", u"Cost"};
inline constexpr TextId Settings_currency{u"Settings", u"currency", u"Currency:"};
inline constexpr TextId Settings_date{u"Settings", u"date", u"Date"};
inline constexpr TextId Settings_distanceunit{u"Settings", u"distanceunit", u"Distance in:"};
inline constexpr TextId Settings_debugmode{u"Settings", u"debugmode", u"Debug mode"};
inline constexpr TextId Settings_done{u"Settings", u"done", u"Done"};
inline constexpr TextId Settings_emptytank{u"Settings", u"emptytank", u"To empty tank"};
inline constexpr TextId Settings_endurance{u"Settings", u"endurance", u"Endurance"};
// The desktop settings store may refuse a write (a read-only or full disk).
inline constexpr TextId Settings_errorsave{u"Settings", u"errorsave",
                                           u"The settings could not be saved."};
inline constexpr TextId Settings_fuel{u"Settings", u"fuel", u"Fuel"};
inline constexpr TextId Settings_fulltank{u"Settings", u"fulltank", u"Full tank"};
inline constexpr TextId Settings_language{u"Settings", u"language", u"Language:"};
inline constexpr TextId Settings_marks{u"Settings", u"marks", u"Partial and missed fills"};
inline constexpr TextId Settings_method{u"Settings", u"method", u"Filling method"};
inline constexpr TextId Settings_odometer{u"Settings", u"odometer", u"Odometer"};
inline constexpr TextId Settings_order{u"Settings", u"order", u"Record number"};
inline constexpr TextId Settings_units{u"Settings", u"units", u"Units of this vehicle"};
inline constexpr TextId Settings_volumeunit{u"Settings", u"volumeunit", u"Volume in:"};
// What the vehicle runs on, and the electricity units and home price that go with it.
inline constexpr TextId Settings_energy{u"Settings", u"energy", u"Vehicle runs on:"};
inline constexpr TextId Settings_energyfuel{u"Settings", u"energyfuel", u"Fuel"};
inline constexpr TextId Settings_energyelectric{u"Settings", u"energyelectric", u"Electricity"};
inline constexpr TextId Settings_energyhybrid{u"Settings", u"energyhybrid",
                                              u"Fuel and electricity (plug-in hybrid)"};
inline constexpr TextId Settings_electricconsumptionunit{u"Settings", u"electricconsumptionunit",
                                                         u"Electricity consumption in:"};
inline constexpr TextId Settings_homeprice{u"Settings", u"homeprice", u"Price at home (%1):"};
inline constexpr TextId Settings_invalidhomeprice{
    u"Settings", u"invalidhomeprice",
    u"The price at home cannot be read. Enter a number of 0 or more, or leave the field empty."};
inline constexpr TextId Settings_chargesinfuellog{
    u"Settings", u"chargesinfuellog",
    u"This log holds %1 charges, which a vehicle that runs on fuel alone cannot show. Choose "
    u"electricity or fuel and electricity, or remove the charges first."};
inline constexpr TextId Settings_fuelbecomescharges{
    u"Settings", u"fuelbecomescharges",
    u"An electric vehicle is only charged: the %1 fuel fills of this log will count as charges, "
    u"their amounts as kWh. Make this vehicle electric?"};
inline constexpr TextId Settings_vehiclename{u"Settings", u"vehiclename", u"Name:"};
inline constexpr TextId stats_caption{u"stats", u"caption", u"Total statistics"};
inline constexpr TextId stats_consumption{u"stats", u"consumption", u"Consumption:"};
inline constexpr TextId stats_cost{u"stats", u"cost", u"Cost:"};
inline constexpr TextId stats_CostOfDist{u"stats", u"CostOfDist", u"Cost of dist.:"};
inline constexpr TextId stats_distance{u"stats", u"distance", u"Distance:"};
inline constexpr TextId stats_endurance{u"stats", u"endurance", u"Endurance:"};
inline constexpr TextId stats_fuel{u"stats", u"fuel", u"Fuel:"};
// Under the totals: the fills whose fuel the averages leave out, and why.
inline constexpr TextId stats_LeftOutBoth{
    u"stats", u"LeftOutBoth",
    u"Left out of the averages: %1 fills, after a fill that was not logged or in a run of partial "
    u"fills not closed at both ends."};
inline constexpr TextId stats_LeftOutMissed{
    u"stats", u"LeftOutMissed",
    u"Left out of the averages: %1 fills, after a fill that was not logged."};
inline constexpr TextId stats_LeftOutPartial{
    u"stats", u"LeftOutPartial",
    u"Left out of the averages: %1 fills, in a run of partial fills not closed at both ends."};
inline constexpr TextId stats_MonthlyCost{u"stats", u"MonthlyCost", u"Monthly cost:"};
inline constexpr TextId stats_MonthlyDistance{u"stats", u"MonthlyDistance", u"Monthly dist.:"};
inline constexpr TextId stats_Period{u"stats", u"Period", u"Time:"};
inline constexpr TextId stats_Unreadable{u"stats", u"Unreadable", u"Cannot be read"};
// The headings of the statistics tables by month, year, station and driver.
inline constexpr TextId stats_ColumnFills{u"stats", u"ColumnFills", u"Fills"};
inline constexpr TextId stats_ColumnDistance{u"stats", u"ColumnDistance", u"Distance"};
inline constexpr TextId stats_ColumnCostOfDist{u"stats", u"ColumnCostOfDist", u"Cost of distance"};
inline constexpr TextId stats_ColumnUnitPrice{u"stats", u"ColumnUnitPrice", u"Average unit price"};
// The totals of a log with charges of electricity.
inline constexpr TextId stats_Electricity{u"stats", u"Electricity", u"Electricity:"};
inline constexpr TextId stats_FuelConsumption{u"stats", u"FuelConsumption", u"Consumption (fuel):"};
inline constexpr TextId stats_ElectricConsumption{u"stats", u"ElectricConsumption",
                                                  u"Consumption (electricity):"};
inline constexpr TextId stats_FuelCostOfDist{u"stats", u"FuelCostOfDist", u"Cost of dist. (fuel):"};
inline constexpr TextId stats_ElectricCostOfDist{u"stats", u"ElectricCostOfDist",
                                                 u"Cost of dist. (electricity):"};
inline constexpr TextId stats_CombinedCostOfDist{u"stats", u"CombinedCostOfDist",
                                                 u"Cost of dist. (together):"};
inline constexpr TextId stats_Capacity{u"stats", u"Capacity", u"Battery capacity (estimate):"};
inline constexpr TextId stats_ElectricShare{u"stats", u"ElectricShare", u"Driven on electricity:"};
inline constexpr TextId stats_CannotSplit{u"stats", u"CannotSplit", u"Cannot be split"};
inline constexpr TextId units_Percent{u"units", u"Percent", u"%"};
inline constexpr TextId stats_ColumnEnergy{u"stats", u"ColumnEnergy", u"Electricity"};
inline constexpr TextId stats_CompareUnitsOf{u"stats", u"CompareUnitsOf", u"Units of:"};
inline constexpr TextId stats_RowUnit{u"stats", u"RowUnit", u"%1, %2"};
inline constexpr TextId Units_NA{u"Units", u"NA", u"N/A"};
inline constexpr TextId units_Consumption{u"units", u"Consumption", u"l / 100 km"};
inline constexpr TextId units_consumption{u"units", u"consumption", u"l / 100 km"};
inline constexpr TextId units_Cost{u"units", u"Cost", u"Kč"};
inline constexpr TextId units_cost{u"units", u"cost", u"Kč"};
inline constexpr TextId units_CostOfDist{u"units", u"CostOfDist", u"Kč / 100 km"};
inline constexpr TextId units_Distance{u"units", u"Distance", u"km"};
inline constexpr TextId units_Endurance{u"units", u"Endurance", u"km / l"};
// The steps that Undo and Redo name.
inline constexpr TextId undo_AddFill{u"undo", u"AddFill", u"Add fill"};
inline constexpr TextId undo_EditFill{u"undo", u"EditFill", u"Edit fill"};
inline constexpr TextId undo_Import{u"undo", u"Import", u"Import of %1 fills"};
inline constexpr TextId undo_NoteMarkers{u"undo", u"NoteMarkers",
                                         u"Flags of %1 fills from their notes"};
inline constexpr TextId undo_OtherCopy{u"undo", u"OtherCopy", u"Changes from another copy"};
inline constexpr TextId undo_RemoveFill{u"undo", u"RemoveFill", u"Remove fill"};
inline constexpr TextId undo_Recovered{u"undo", u"Recovered", u"Add the fills of the last session"};
inline constexpr TextId undo_AddCost{u"undo", u"AddCost", u"Add cost"};
inline constexpr TextId undo_EditCost{u"undo", u"EditCost", u"Edit cost"};
inline constexpr TextId undo_RemoveCosts{u"undo", u"RemoveCosts", u"Remove costs"};
inline constexpr TextId undo_AddCategory{u"undo", u"AddCategory", u"Add category"};
inline constexpr TextId undo_RenameCategory{u"undo", u"RenameCategory", u"Rename category"};
inline constexpr TextId undo_AddReminder{u"undo", u"AddReminder", u"Add reminder"};
inline constexpr TextId undo_EditReminder{u"undo", u"EditReminder", u"Edit reminder"};
inline constexpr TextId undo_RemoveReminders{u"undo", u"RemoveReminders", u"Remove reminders"};
inline constexpr TextId undo_ReminderDone{u"undo", u"ReminderDone", u"Reminder done"};
inline constexpr TextId undo_ImportCosts{u"undo", u"ImportCosts", u"Import of %1 costs"};
inline constexpr TextId undo_ImportFillsCosts{u"undo", u"ImportFillsCosts",
                                              u"Import of %1 fills and %2 costs"};
inline constexpr TextId units_endurance{u"units", u"endurance", u"km / l"};
inline constexpr TextId units_Fuel{u"units", u"Fuel", u"l"};
inline constexpr TextId units_fuel{u"units", u"fuel", u"l"};
inline constexpr TextId units_FuelCost{u"units", u"FuelCost", u"Kč / l"};
inline constexpr TextId units_GalImp{u"units", u"GalImp", u"gal (imp.)"};
inline constexpr TextId units_GalUs{u"units", u"GalUs", u"gal (US)"};
inline constexpr TextId units_Mi{u"units", u"Mi", u"mi"};
inline constexpr TextId units_MiPerL{u"units", u"MiPerL", u"mi / l"};
inline constexpr TextId units_MonthlyCost{u"units", u"MonthlyCost", u"Kč / month"};
inline constexpr TextId units_MonthlyDistance{u"units", u"MonthlyDistance", u"km / month"};
inline constexpr TextId units_MpgImp{u"units", u"MpgImp", u"mpg (imp.)"};
inline constexpr TextId units_MpgUs{u"units", u"MpgUs", u"mpg (US)"};
inline constexpr TextId units_Odometer{u"units", u"Odometer", u"km"};
inline constexpr TextId units_odometer{u"units", u"odometer", u"km"};
inline constexpr TextId units_Per{u"units", u"Per", u"%1 / %2"};
inline constexpr TextId units_Per100{u"units", u"Per100", u"%1 / 100 %2"};
inline constexpr TextId units_period{u"units", u"period", u"days"};
inline constexpr TextId units_PerMonth{u"units", u"PerMonth", u"%1 / month"};
// A period of one day.
inline constexpr TextId units_periodone{u"units", u"periodone", u"day"};
// The unit of electricity.
inline constexpr TextId units_Kwh{u"units", u"Kwh", u"kWh"};
inline constexpr TextId menu_StatOverTime{u"menu", u"StatOverTime", u"Statistics over time…"};
// The statistics window and its charts.
inline constexpr TextId statswnd_caption{u"statswnd", u"caption", u"Statistics over time"};
inline constexpr TextId statswnd_Consumption{u"statswnd", u"Consumption", u"Consumption"};
inline constexpr TextId statswnd_UnitPrice{u"statswnd", u"UnitPrice", u"Unit price"};
inline constexpr TextId statswnd_MonthlyCost{u"statswnd", u"MonthlyCost", u"Cost per month"};
inline constexpr TextId statswnd_MonthlyDistance{u"statswnd", u"MonthlyDistance",
                                                 u"Distance per month"};
inline constexpr TextId statswnd_ChartTitle{u"statswnd", u"ChartTitle", u"%1 (%2)"};
inline constexpr TextId statswnd_Average{u"statswnd", u"Average", u"Average %1"};
inline constexpr TextId statswnd_Trend{u"statswnd", u"Trend", u"Trend over %1 values"};
inline constexpr TextId statswnd_Summary{
    u"statswnd", u"Summary", u"%1, %2: %3 values from %4 to %5, average %6, lowest %7, highest %8"};
inline constexpr TextId statswnd_SummaryNone{u"statswnd", u"SummaryNone", u"%1, %2: no values"};
inline constexpr TextId statswnd_HoverValue{u"statswnd", u"HoverValue", u"%1: %2 %3"};
inline constexpr TextId statswnd_HoverAverage{u"statswnd", u"HoverAverage", u"Average: %1 %2"};
inline constexpr TextId statswnd_HoverTrend{u"statswnd", u"HoverTrend", u"Trend, %1"};
inline constexpr TextId statswnd_Period{u"statswnd", u"Period", u"Period:"};
inline constexpr TextId statswnd_PeriodAll{u"statswnd", u"PeriodAll", u"All"};
inline constexpr TextId statswnd_PeriodThisYear{u"statswnd", u"PeriodThisYear", u"This year"};
inline constexpr TextId statswnd_PeriodLast12{u"statswnd", u"PeriodLast12", u"Last 12 months"};
inline constexpr TextId statswnd_PeriodRange{u"statswnd", u"PeriodRange", u"Date range"};
inline constexpr TextId statswnd_From{u"statswnd", u"From", u"From:"};
inline constexpr TextId statswnd_To{u"statswnd", u"To", u"To:"};
inline constexpr TextId statswnd_TabCharts{u"statswnd", u"TabCharts", u"Charts"};
inline constexpr TextId statswnd_TabTable{u"statswnd", u"TabTable", u"Table"};
inline constexpr TextId statswnd_TabNames{u"statswnd", u"TabNames", u"Stations and drivers"};
inline constexpr TextId statswnd_Chart{u"statswnd", u"Chart", u"Chart:"};
inline constexpr TextId statswnd_SavePng{u"statswnd", u"SavePng", u"Save chart as PNG…"};
inline constexpr TextId statswnd_PngFilter{u"statswnd", u"PngFilter", u"PNG images"};
inline constexpr TextId statswnd_PngError{u"statswnd", u"PngError",
                                          u"The chart could not be saved."};
inline constexpr TextId statswnd_Rows{u"statswnd", u"Rows", u"Rows:"};
inline constexpr TextId statswnd_ByMonth{u"statswnd", u"ByMonth", u"By month"};
inline constexpr TextId statswnd_ByYear{u"statswnd", u"ByYear", u"By year"};
inline constexpr TextId statswnd_Month{u"statswnd", u"Month", u"Month"};
inline constexpr TextId statswnd_Year{u"statswnd", u"Year", u"Year"};
inline constexpr TextId statswnd_Total{u"statswnd", u"Total", u"Total"};
inline constexpr TextId statswnd_Stations{u"statswnd", u"Stations", u"Stations"};
inline constexpr TextId statswnd_Drivers{u"statswnd", u"Drivers", u"Drivers"};
inline constexpr TextId statswnd_Station{u"statswnd", u"Station", u"Station"};
inline constexpr TextId statswnd_Driver{u"statswnd", u"Driver", u"Driver"};
inline constexpr TextId statswnd_Share{u"statswnd", u"Share", u"Share of the cost"};
inline constexpr TextId statswnd_NoDriver{u"statswnd", u"NoDriver", u"(no driver)"};
inline constexpr TextId statswnd_Hover{u"statswnd", u"Hover",
                                       u"Point at a line to see its values."};
inline constexpr TextId statswnd_Close{u"statswnd", u"Close", u"Close"};
// The report of the period on paper or in a PDF file.
inline constexpr TextId statswnd_Print{u"statswnd", u"Print", u"Print…"};
inline constexpr TextId statswnd_SavePdf{u"statswnd", u"SavePdf", u"Save as PDF…"};
inline constexpr TextId statswnd_PdfFilter{u"statswnd", u"PdfFilter", u"PDF files"};
inline constexpr TextId statswnd_PdfError{u"statswnd", u"PdfError",
                                          u"The report could not be saved as \"%1\"."};
inline constexpr TextId statswnd_PrintError{u"statswnd", u"PrintError",
                                            u"The report could not be printed."};
inline constexpr TextId statswnd_ReportPeriod{u"statswnd", u"ReportPeriod", u"Period: %1 to %2"};
inline constexpr TextId statswnd_ReportNoFills{u"statswnd", u"ReportNoFills",
                                               u"No fills in this period."};
inline constexpr TextId statswnd_ReportPage{u"statswnd", u"ReportPage", u"Page %1 of %2"};
inline constexpr TextId statswnd_ElectricConsumption{u"statswnd", u"ElectricConsumption",
                                                     u"Electricity consumption"};
inline constexpr TextId statswnd_EnergyUnitPrice{u"statswnd", u"EnergyUnitPrice",
                                                 u"Electricity price"};
// The statistics window's module could not be loaded (%1: where it was looked for, or why).
inline constexpr TextId statswnd_ModuleMissing{
    u"statswnd", u"ModuleMissing",
    u"The statistics window cannot be opened: its part of the program (tankometer_charts) is "
    u"missing or does not load (%1). Installing Tankometer again restores it."};
// The costs beside the fills: their view, dialog and categories.
inline constexpr TextId costlist_caption{u"costlist", u"caption", u"Cost"};
inline constexpr TextId costlist_Category{u"costlist", u"Category", u"Category:"};
inline constexpr TextId costlist_NewCategory{u"costlist", u"NewCategory", u"New category…"};
inline constexpr TextId costlist_NewCategoryName{u"costlist", u"NewCategoryName",
                                                 u"Name of the new category:"};
inline constexpr TextId costlist_OdometerIn{u"costlist", u"OdometerIn",
                                            u"Odometer (%1, optional):"};
inline constexpr TextId costlist_Recurring{u"costlist", u"Recurring", u"Recurring cost"};
inline constexpr TextId costlist_Interval{u"costlist", u"Interval", u"Every (months):"};
inline constexpr TextId costlist_Until{u"costlist", u"Until", u"Until:"};
inline constexpr TextId costlist_EndDate{u"costlist", u"EndDate", u"Last date"};
inline constexpr TextId costlist_NoCategoryName{u"costlist", u"NoCategoryName",
                                                u"Enter a name for the new category."};
inline constexpr TextId costlist_EndBeforeStart{u"costlist", u"EndBeforeStart",
                                                u"The end date lies before the date of the cost."};
inline constexpr TextId costlist_EveryMonth{u"costlist", u"EveryMonth", u"every month"};
inline constexpr TextId costlist_EveryMonths{u"costlist", u"EveryMonths", u"every %1 months"};
inline constexpr TextId costlist_Repeated{u"costlist", u"Repeated", u"%1 (repeated)"};
inline constexpr TextId costlist_ColDate{u"costlist", u"ColDate", u"Date"};
inline constexpr TextId costlist_ColCategory{u"costlist", u"ColCategory", u"Category"};
inline constexpr TextId costlist_ColAmount{u"costlist", u"ColAmount", u"Amount (%1)"};
inline constexpr TextId costlist_ColOdometer{u"costlist", u"ColOdometer", u"Odometer (%1)"};
inline constexpr TextId costlist_ColRecurs{u"costlist", u"ColRecurs", u"Recurs"};
inline constexpr TextId costlist_ColNotes{u"costlist", u"ColNotes", u"Notes"};
inline constexpr TextId costlist_AllCategories{u"costlist", u"AllCategories", u"All categories"};
inline constexpr TextId costlist_ListName{u"costlist", u"ListName", u"Costs"};
inline constexpr TextId costlist_Shown{u"costlist", u"Shown", u"%1 shown, together %2 %3"};
inline constexpr TextId costlist_Empty{u"costlist", u"Empty", u"No costs yet. Add one with %1."};
inline constexpr TextId costlist_RemoveOne{u"costlist", u"RemoveOne", u"Remove this cost?"};
inline constexpr TextId costlist_RemoveMany{u"costlist", u"RemoveMany", u"Remove these %1 costs?"};
inline constexpr TextId costlist_RemoveRecurring{
    u"costlist", u"RemoveRecurring", u"A recurring cost is removed with all its occurrences."};
inline constexpr TextId costlist_CategoriesCaption{u"costlist", u"CategoriesCaption",
                                                   u"Cost categories"};
inline constexpr TextId costlist_CategoryName{u"costlist", u"CategoryName", u"Name:"};
inline constexpr TextId costlist_AddCategory{u"costlist", u"AddCategory", u"Add"};
inline constexpr TextId costlist_RenameCategory{u"costlist", u"RenameCategory", u"Rename"};
inline constexpr TextId costlist_CategoryExists{u"costlist", u"CategoryExists",
                                                u"There is a category of this name already."};
// The menu of costs and reminders, and the View menu's choice of the list.
inline constexpr TextId costlist_MenuCosts{u"costlist", u"MenuCosts", u"Costs"};
inline constexpr TextId costlist_ShowFills{u"costlist", u"ShowFills", u"Fill list"};
inline constexpr TextId costlist_ShowCosts{u"costlist", u"ShowCosts", u"Cost list"};
inline constexpr TextId costlist_AddCost{u"costlist", u"AddCost", u"Add cost"};
inline constexpr TextId costlist_EditCost{u"costlist", u"EditCost", u"Edit cost"};
inline constexpr TextId costlist_RemoveCosts{u"costlist", u"RemoveCosts", u"Remove costs"};
inline constexpr TextId costlist_Categories{u"costlist", u"Categories", u"Categories"};
inline constexpr TextId costlist_Reminders{u"costlist", u"Reminders", u"Reminders"};
inline constexpr TextId costlist_ExportReminders{u"costlist", u"ExportReminders",
                                                 u"Export reminders"};
// The reminders: their window, dialogs, the status line and the calendar export.
inline constexpr TextId reminderlist_caption{u"reminderlist", u"caption", u"Reminders"};
inline constexpr TextId reminderlist_ColWhat{u"reminderlist", u"ColWhat", u"What"};
inline constexpr TextId reminderlist_ColDue{u"reminderlist", u"ColDue", u"Due"};
inline constexpr TextId reminderlist_ColOff{u"reminderlist", u"ColOff", u"How far off"};
inline constexpr TextId reminderlist_DueReading{u"reminderlist", u"DueReading", u"at %1 %2"};
inline constexpr TextId reminderlist_DueEither{u"reminderlist", u"DueEither",
                                               u"%1 or %2, whichever comes first"};
inline constexpr TextId reminderlist_Today{u"reminderlist", u"Today", u"due today"};
inline constexpr TextId reminderlist_InDays{u"reminderlist", u"InDays", u"in %1 days"};
inline constexpr TextId reminderlist_InWeeks{u"reminderlist", u"InWeeks", u"in about %1 weeks"};
inline constexpr TextId reminderlist_InMonths{u"reminderlist", u"InMonths", u"in about %1 months"};
inline constexpr TextId reminderlist_DaysOverdue{u"reminderlist", u"DaysOverdue",
                                                 u"%1 days overdue"};
inline constexpr TextId reminderlist_WeeksOverdue{u"reminderlist", u"WeeksOverdue",
                                                  u"about %1 weeks overdue"};
inline constexpr TextId reminderlist_MonthsOverdue{u"reminderlist", u"MonthsOverdue",
                                                   u"about %1 months overdue"};
inline constexpr TextId reminderlist_DistanceLeft{u"reminderlist", u"DistanceLeft", u"%1 %2 to go"};
inline constexpr TextId reminderlist_DistanceOverdue{u"reminderlist", u"DistanceOverdue",
                                                     u"%1 %2 overdue"};
inline constexpr TextId reminderlist_Add{u"reminderlist", u"Add", u"Add…"};
inline constexpr TextId reminderlist_Edit{u"reminderlist", u"Edit", u"Edit…"};
inline constexpr TextId reminderlist_Remove{u"reminderlist", u"Remove", u"Remove"};
inline constexpr TextId reminderlist_Done{u"reminderlist", u"Done", u"Done…"};
inline constexpr TextId reminderlist_Export{u"reminderlist", u"Export", u"Export…"};
inline constexpr TextId reminderlist_None{u"reminderlist", u"None", u"No reminders yet."};
inline constexpr TextId reminderlist_ReminderCaption{u"reminderlist", u"ReminderCaption",
                                                     u"Reminder"};
inline constexpr TextId reminderlist_Title{u"reminderlist", u"Title", u"What:"};
inline constexpr TextId reminderlist_ByDate{u"reminderlist", u"ByDate", u"Due on:"};
inline constexpr TextId reminderlist_ByReading{u"reminderlist", u"ByReading", u"Due at (%1):"};
inline constexpr TextId reminderlist_RepeatMonths{u"reminderlist", u"RepeatMonths",
                                                  u"Again every (months, 0: never):"};
inline constexpr TextId reminderlist_RepeatDistance{u"reminderlist", u"RepeatDistance",
                                                    u"Again every (%1, empty: never):"};
inline constexpr TextId reminderlist_NoTitle{u"reminderlist", u"NoTitle", u"Enter what falls due."};
inline constexpr TextId reminderlist_NoDue{u"reminderlist", u"NoDue",
                                           u"Choose a date or an odometer reading, or both."};
inline constexpr TextId reminderlist_BadDistance{
    u"reminderlist", u"BadDistance",
    u"Enter the distance as a whole number above 0, or leave it empty."};
inline constexpr TextId reminderlist_DoneCaption{u"reminderlist", u"DoneCaption", u"Done: %1"};
inline constexpr TextId reminderlist_AsCost{u"reminderlist", u"AsCost", u"Record as a cost"};
inline constexpr TextId reminderlist_RemoveOne{u"reminderlist", u"RemoveOne",
                                               u"Remove the reminder \"%1\"?"};
inline constexpr TextId reminderlist_RemoveMany{u"reminderlist", u"RemoveMany",
                                                u"Remove these %1 reminders?"};
inline constexpr TextId reminderlist_Status{u"reminderlist", u"Status", u"Due: %1"};
inline constexpr TextId reminderlist_IcsFilter{u"reminderlist", u"IcsFilter", u"iCalendar files"};
inline constexpr TextId reminderlist_Exported{u"reminderlist", u"Exported",
                                              u"The reminders were saved in \"%1\"."};
inline constexpr TextId reminderlist_ExportError{u"reminderlist", u"ExportError",
                                                 u"The reminders could not be saved in \"%1\"."};
inline constexpr TextId reminderlist_Tomorrow{u"reminderlist", u"Tomorrow", u"tomorrow"};
inline constexpr TextId reminderlist_DayOverdue{u"reminderlist", u"DayOverdue", u"1 day overdue"};
inline constexpr TextId reminderlist_ListName{u"reminderlist", u"ListName",
                                              u"Reminders, most urgent first"};
// What the vehicle cost: fuel, each category and everything together, in the totals, the comparison
// and the statistics.
inline constexpr TextId costfigures_Fuel{u"costfigures", u"Fuel", u"Fuel"};
inline constexpr TextId costfigures_Everything{u"costfigures", u"Everything", u"Everything"};
inline constexpr TextId costfigures_ColWhat{u"costfigures", u"ColWhat", u"What"};
inline constexpr TextId costfigures_ColTotal{u"costfigures", u"ColTotal", u"Total (%1)"};
inline constexpr TextId costfigures_Since{u"costfigures", u"Since",
                                          u"What the vehicle cost from %1 to %2"};
inline constexpr TextId costfigures_Tab{u"costfigures", u"Tab", u"Costs"};
inline constexpr TextId costfigures_Ownership{u"costfigures", u"Ownership", u"Cost of ownership"};
inline constexpr TextId costfigures_OwnershipPerMonth{u"costfigures", u"OwnershipPerMonth",
                                                      u"Cost of ownership per month"};
inline constexpr TextId costfigures_OwnershipPerDistance{u"costfigures", u"OwnershipPerDistance",
                                                         u"Cost of ownership per distance"};
inline constexpr TextId costfigures_FuelSince{u"costfigures", u"FuelSince",
                                              u"Fuel since the first entry"};
inline constexpr TextId costfigures_CategorySince{u"costfigures", u"CategorySince",
                                                  u"%1 since the first entry"};
// The categories of costs a log starts with.
inline constexpr TextId costcategory_Service{u"costcategory", u"Service", u"Service"};
inline constexpr TextId costcategory_Repair{u"costcategory", u"Repair", u"Repair"};
inline constexpr TextId costcategory_Tyres{u"costcategory", u"Tyres", u"Tyres"};
inline constexpr TextId costcategory_Insurance{u"costcategory", u"Insurance", u"Insurance"};
inline constexpr TextId costcategory_Tax{u"costcategory", u"Tax", u"Tax and registration"};
inline constexpr TextId costcategory_Parking{u"costcategory", u"Parking", u"Parking"};
inline constexpr TextId costcategory_Tolls{u"costcategory", u"Tolls", u"Tolls"};
inline constexpr TextId costcategory_Care{u"costcategory", u"Care", u"Washing and care"};
inline constexpr TextId costcategory_Other{u"costcategory", u"Other", u"Other"};
// The calendar export of reminders.
inline constexpr TextId ics_DueDate{u"ics", u"DueDate", u"Due on %1"};
inline constexpr TextId ics_DueReading{u"ics", u"DueReading", u"Due at %1 %2"};
inline constexpr TextId ics_Estimated{u"ics", u"Estimated",
                                      u"The day is estimated from the recent distance per day."};

// The step that removes several fills at once, and the question before it.
inline constexpr TextId undo_RemoveFills{u"undo", u"RemoveFills", u"Remove %1 fills"};
inline constexpr TextId Main_QuestionDeleteFills{u"Main", u"QuestionDeleteFills",
                                                 u"Remove %1 fills?"};
// The endurance column of a log whose consumption is itself a distance per volume.
inline constexpr TextId FillList_DistancePerVolume{u"FillList", u"DistancePerVolume",
                                                   u"Distance per volume"};
// Why the consumption cell of a partial fill, or of one after a fill not logged, is empty.
inline constexpr TextId FillList_PartialTip{
    u"FillList", u"PartialTip",
    u"Partial fill: its consumption is shown with the next fill that is not partial"};
inline constexpr TextId FillList_MissedTip{
    u"FillList", u"MissedTip", u"A fill before this one was not logged: no consumption here"};
// The toolbar's short texts for adding, editing and removing fills or costs.
inline constexpr TextId toolbar_Add{u"toolbar", u"Add", u"Add"};
inline constexpr TextId toolbar_Edit{u"toolbar", u"Edit", u"Edit"};
inline constexpr TextId toolbar_Remove{u"toolbar", u"Remove", u"Remove"};
inline constexpr TextId all[] = {
    about_caption,
    about_support,
    about_translation,
    context_FillEdit,
    context_FillRemove,
    context_FillShowInfo,
    context_GraphHere,
    fill_cancel,
    fill_caption,
    fill_cost,
    fill_costin,
    fill_date,
    fill_driver,
    fill_fuel,
    fill_fuelin,
    fill_invalidcost,
    fill_invaliddate,
    fill_invalidfuel,
    fill_invalidodometer,
    fill_invalidtime,
    fill_missed,
    fill_notes,
    fill_odometer,
    fill_odometerin,
    fill_ok,
    fill_partial,
    fill_station,
    fill_time,
    fill_unitprice,
    fill_invalidunitprice,
    fill_rangeodometer,
    fill_rangefuel,
    fill_rangecost,
    fill_calendar,
    fill_doubtprevious,
    fill_doubtnext,
    fill_doubtjump,
    fill_doubtconsumption,
    fill_doubtprice,
    fill_doubtfuture,
    fill_doubtquestion,
    fill_chargeLevels,
    main_EnergyCost,
    fill_kind,
    fill_kindfuel,
    fill_kindcharge,
    fill_chargecaption,
    fill_place,
    fill_energyin,
    fill_fullcharge,
    fill_athome,
    fill_chargebefore,
    fill_chargeafter,
    fill_chargenotgiven,
    fill_invalidenergy,
    fill_rangeenergy,
    fill_chargeorder,
    help_Command,
    help_ContextMenu,
    help_EditSelected,
    help_Keys,
    FillList_Consumption,
    FillList_Cost,
    FillList_Date,
    FillList_Endurance,
    FillList_errorsave,
    FillList_exportcaption,
    FillList_exported,
    FillList_Fuel,
    FillList_Marks,
    FillList_Odometer,
    FillList_Amount,
    FillList_Energy,
    graph_Consumption,
    graph_ConsumptionIn,
    graph_Description,
    graph_Endurance,
    graph_EnduranceIn,
    graph_FillCost,
    graph_FillCostIn,
    graph_NoPoints,
    graph_UnitCost,
    graph_UnitCostIn,
    graph_caption,
    Import_cancel,
    Import_caption,
    Import_comment,
    Import_cost,
    Import_date,
    Import_driver,
    Import_errorload,
    Import_fuel,
    Import_importcaption,
    Import_imported,
    Import_importedcount,
    Import_nothingimported,
    Import_notes,
    Import_odometer,
    Import_ok,
    Import_preview,
    Import_skippedcolumn,
    Import_skippedvalue,
    Import_station,
    Import_time,
    Import_nocolumn,
    Import_sharedcolumn,
    Import_othervehicle,
    Import_historyfile,
    Import_historylog,
    Import_newvehiclequestion,
    import_missing,
    Main_QuestionDeleteFill,
    Main_QuestionDiscardChanges,
    Main_QuestionCloseUnsaved,
    Main_VehicleMissing,
    Main_VehicleNotCreated,
    Main_VehicleNotSaved,
    Main_NotALog,
    Main_LogIsFolder,
    Main_LogNotRegular,
    Main_LogUnreadable,
    Main_LogNotOpened,
    Main_UnreadFileKept,
    Main_TitleNotRead,
    Main_OtherCopyMerged,
    Main_OtherCopyUnreadable,
    Main_LogFileGone,
    Main_NoNoteMarkers,
    Main_QuestionNoteMarkers,
    Main_EmptyLog,
    Main_LogFilter,
    Main_StatusAverage,
    Main_StatusFills,
    Main_StatusOneFill,
    Main_RecoveryWritten,
    Main_RecoveryFailed,
    Main_QuestionCloseRecovered,
    Main_RecoveryOffer,
    Main_RecoveryOfferOne,
    Main_RecoveryOfferCosts,
    Main_EndRecovered,
    Main_EndLost,
    Main_OtherCopyConflicts,
    Main_OtherCopyCosts,
    Main_SearchHint,
    Main_Search,
    Main_SearchShown,
    main_Consumption,
    main_Cost,
    main_CostOfDist,
    main_CostOfDistMi,
    main_Date,
    main_Distance,
    main_Driver,
    main_Endurance,
    main_FirstFill,
    main_Fuel,
    main_FuelCost,
    main_FuelCostGal,
    main_LastFill,
    main_Marks,
    main_NextFill,
    main_Notes,
    main_Odometer,
    main_PreviousFill,
    main_Station,
    main_Time,
    menu_EditRedo,
    menu_EditRedoStep,
    menu_EditUndo,
    menu_EditUndoStep,
    menu_FileAbout,
    menu_FileExit,
    menu_FileExport,
    menu_FileImport,
    menu_FileNewVehicle,
    menu_FileOpenVehicle,
    menu_FileRecentVehicles,
    menu_FileImportOther,
    menu_FileNoteMarkers,
    menu_FileDiscard,
    menu_FileSaveAs,
    menu_FileSettings,
    menu_FillAdd,
    menu_FillEdit,
    menu_FillRemove,
    menu_FillShowInfo,
    menu_HelpShortcuts,
    menu_MainEdit,
    menu_MainFile,
    menu_MainFill,
    menu_MainHelp,
    menu_MainStats,
    menu_MainView,
    menu_StatCompare,
    menu_StatGraph,
    menu_StatTotals,
    menu_ViewStatusLine,
    menu_ViewToolbar,
    OtherLog_caption,
    OtherLog_columns,
    OtherLog_countadded,
    OtherLog_countalready,
    OtherLog_countmissed,
    OtherLog_countpartial,
    OtherLog_countskipped,
    OtherLog_counttoimport,
    OtherLog_dateorder,
    OtherLog_dateorderguessed,
    OtherLog_decimal,
    OtherLog_distance,
    OtherLog_dmy,
    OtherLog_driver,
    OtherLog_format,
    OtherLog_gallonsimp,
    OtherLog_gallonsus,
    OtherLog_kilometres,
    OtherLog_litres,
    OtherLog_markermissed,
    OtherLog_markerpartial,
    OtherLog_mdy,
    OtherLog_miles,
    OtherLog_notes,
    OtherLog_othercsv,
    OtherLog_pervehicle,
    OtherLog_price,
    OtherLog_reason,
    OtherLog_reasonalready,
    OtherLog_reasoncost,
    OtherLog_reasondate,
    OtherLog_reasonnoodometer,
    OtherLog_reasonodometer,
    OtherLog_reasonvolume,
    OtherLog_station,
    OtherLog_time,
    OtherLog_vehicle,
    OtherLog_volume,
    OtherLog_ymd,
    OtherLog_reasonnotfuel,
    OtherLog_reasonamount,
    OtherLog_reasonnotacost,
    OtherLog_costsadded,
    OtherLog_costsalready,
    OtherLog_costsskipped,
    OtherLog_coststoimport,
    OtherLog_damaged,
    OtherLog_costcategory,
    Settings_caption,
    Settings_columns,
    Settings_consumption,
    Settings_consumptionunit,
    Settings_cost,
    Settings_currency,
    Settings_date,
    Settings_distanceunit,
    Settings_debugmode,
    Settings_done,
    Settings_emptytank,
    Settings_endurance,
    Settings_errorsave,
    Settings_fuel,
    Settings_fulltank,
    Settings_language,
    Settings_marks,
    Settings_method,
    Settings_odometer,
    Settings_order,
    Settings_units,
    Settings_volumeunit,
    Settings_energy,
    Settings_energyfuel,
    Settings_energyelectric,
    Settings_energyhybrid,
    Settings_electricconsumptionunit,
    Settings_homeprice,
    Settings_invalidhomeprice,
    Settings_chargesinfuellog,
    Settings_fuelbecomescharges,
    Settings_vehiclename,
    stats_caption,
    stats_consumption,
    stats_cost,
    stats_CostOfDist,
    stats_distance,
    stats_endurance,
    stats_fuel,
    stats_LeftOutBoth,
    stats_LeftOutMissed,
    stats_LeftOutPartial,
    stats_MonthlyCost,
    stats_MonthlyDistance,
    stats_Period,
    stats_Unreadable,
    stats_ColumnFills,
    stats_ColumnDistance,
    stats_ColumnCostOfDist,
    stats_ColumnUnitPrice,
    stats_Electricity,
    stats_FuelConsumption,
    stats_ElectricConsumption,
    stats_FuelCostOfDist,
    stats_ElectricCostOfDist,
    stats_CombinedCostOfDist,
    stats_Capacity,
    stats_ElectricShare,
    stats_CannotSplit,
    units_Percent,
    stats_ColumnEnergy,
    stats_CompareUnitsOf,
    stats_RowUnit,
    Units_NA,
    units_Consumption,
    units_consumption,
    units_Cost,
    units_cost,
    units_CostOfDist,
    units_Distance,
    units_Endurance,
    units_endurance,
    units_Fuel,
    units_fuel,
    units_FuelCost,
    units_GalImp,
    units_GalUs,
    units_Mi,
    units_MiPerL,
    units_MonthlyCost,
    units_MonthlyDistance,
    units_MpgImp,
    units_MpgUs,
    units_Odometer,
    units_odometer,
    units_Per,
    units_Per100,
    units_period,
    units_PerMonth,
    units_periodone,
    units_Kwh,
    undo_AddFill,
    undo_EditFill,
    undo_Import,
    undo_NoteMarkers,
    undo_OtherCopy,
    undo_RemoveFill,
    undo_Recovered,
    undo_AddCost,
    undo_EditCost,
    undo_RemoveCosts,
    undo_AddCategory,
    undo_RenameCategory,
    undo_AddReminder,
    undo_EditReminder,
    undo_RemoveReminders,
    undo_ReminderDone,
    undo_ImportCosts,
    undo_ImportFillsCosts,
    menu_StatOverTime,
    statswnd_caption,
    statswnd_Consumption,
    statswnd_UnitPrice,
    statswnd_MonthlyCost,
    statswnd_MonthlyDistance,
    statswnd_ChartTitle,
    statswnd_Average,
    statswnd_Trend,
    statswnd_Summary,
    statswnd_SummaryNone,
    statswnd_HoverValue,
    statswnd_HoverAverage,
    statswnd_HoverTrend,
    statswnd_Period,
    statswnd_PeriodAll,
    statswnd_PeriodThisYear,
    statswnd_PeriodLast12,
    statswnd_PeriodRange,
    statswnd_From,
    statswnd_To,
    statswnd_TabCharts,
    statswnd_TabTable,
    statswnd_TabNames,
    statswnd_Chart,
    statswnd_SavePng,
    statswnd_PngFilter,
    statswnd_PngError,
    statswnd_Rows,
    statswnd_ByMonth,
    statswnd_ByYear,
    statswnd_Month,
    statswnd_Year,
    statswnd_Total,
    statswnd_Stations,
    statswnd_Drivers,
    statswnd_Station,
    statswnd_Driver,
    statswnd_Share,
    statswnd_NoDriver,
    statswnd_Hover,
    statswnd_Close,
    statswnd_Print,
    statswnd_SavePdf,
    statswnd_PdfFilter,
    statswnd_PdfError,
    statswnd_PrintError,
    statswnd_ReportPeriod,
    statswnd_ReportNoFills,
    statswnd_ReportPage,
    statswnd_ElectricConsumption,
    statswnd_EnergyUnitPrice,
    statswnd_ModuleMissing,
    costlist_caption,
    costlist_Category,
    costlist_NewCategory,
    costlist_NewCategoryName,
    costlist_OdometerIn,
    costlist_Recurring,
    costlist_Interval,
    costlist_Until,
    costlist_EndDate,
    costlist_NoCategoryName,
    costlist_EndBeforeStart,
    costlist_EveryMonth,
    costlist_EveryMonths,
    costlist_Repeated,
    costlist_ColDate,
    costlist_ColCategory,
    costlist_ColAmount,
    costlist_ColOdometer,
    costlist_ColRecurs,
    costlist_ColNotes,
    costlist_AllCategories,
    costlist_ListName,
    costlist_Shown,
    costlist_Empty,
    costlist_RemoveOne,
    costlist_RemoveMany,
    costlist_RemoveRecurring,
    costlist_CategoriesCaption,
    costlist_CategoryName,
    costlist_AddCategory,
    costlist_RenameCategory,
    costlist_CategoryExists,
    costlist_MenuCosts,
    costlist_ShowFills,
    costlist_ShowCosts,
    costlist_AddCost,
    costlist_EditCost,
    costlist_RemoveCosts,
    costlist_Categories,
    costlist_Reminders,
    costlist_ExportReminders,
    reminderlist_caption,
    reminderlist_ColWhat,
    reminderlist_ColDue,
    reminderlist_ColOff,
    reminderlist_DueReading,
    reminderlist_DueEither,
    reminderlist_Today,
    reminderlist_InDays,
    reminderlist_InWeeks,
    reminderlist_InMonths,
    reminderlist_DaysOverdue,
    reminderlist_WeeksOverdue,
    reminderlist_MonthsOverdue,
    reminderlist_DistanceLeft,
    reminderlist_DistanceOverdue,
    reminderlist_Add,
    reminderlist_Edit,
    reminderlist_Remove,
    reminderlist_Done,
    reminderlist_Export,
    reminderlist_None,
    reminderlist_ReminderCaption,
    reminderlist_Title,
    reminderlist_ByDate,
    reminderlist_ByReading,
    reminderlist_RepeatMonths,
    reminderlist_RepeatDistance,
    reminderlist_NoTitle,
    reminderlist_NoDue,
    reminderlist_BadDistance,
    reminderlist_DoneCaption,
    reminderlist_AsCost,
    reminderlist_RemoveOne,
    reminderlist_RemoveMany,
    reminderlist_Status,
    reminderlist_IcsFilter,
    reminderlist_Exported,
    reminderlist_ExportError,
    reminderlist_Tomorrow,
    reminderlist_DayOverdue,
    reminderlist_ListName,
    costfigures_Fuel,
    costfigures_Everything,
    costfigures_ColWhat,
    costfigures_ColTotal,
    costfigures_Since,
    costfigures_Tab,
    costfigures_Ownership,
    costfigures_OwnershipPerMonth,
    costfigures_OwnershipPerDistance,
    costfigures_FuelSince,
    costfigures_CategorySince,
    costcategory_Service,
    costcategory_Repair,
    costcategory_Tyres,
    costcategory_Insurance,
    costcategory_Tax,
    costcategory_Parking,
    costcategory_Tolls,
    costcategory_Care,
    costcategory_Other,
    ics_DueDate,
    ics_DueReading,
    ics_Estimated,
    undo_RemoveFills,
    Main_QuestionDeleteFills,
    FillList_DistancePerVolume,
    FillList_PartialTip,
    FillList_MissedTip,
    toolbar_Add,
    toolbar_Edit,
    toolbar_Remove,
};
} // namespace Text

// Every text above, in the order of the table (sections in alphabetical order).
constexpr std::span<const TextId> allTexts() {
    return Text::all;
}
