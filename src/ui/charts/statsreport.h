#pragma once

// The statistics of a period as a report on paper or in a PDF file: the vehicle, the period,
// its totals, the table by month and the four charts over time, with page numbers. Print and
// "Save as PDF" draw the same pages.

#include "ui/charts/statscharts.h"

#include <QString>

class QPagedPaintDevice;

struct StatsReport {
    QString vehicle; // the vehicle's name
    StatsChartSource source;
};

// Draws the report onto the device's pages in its page layout (the device's current page
// first); returns the number of pages, 0 when the device could not be painted on.
int drawStatsReport(QPagedPaintDevice& device, const StatsReport& report);

// Writes the report as a PDF file of A4 pages; false when the file could not be written.
bool writeStatsReportPdf(const QString& path, const StatsReport& report);
