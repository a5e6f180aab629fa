#pragma once
#include <QString>

class SaveFiles;

namespace report {

class ReportPages;

// The report as an Excel workbook: one sheet named after the report with the page's title
// block, its table (amounts as numbers in money format, totals as SUM formulas) and a native
// clustered column chart drawn from the sheet's own cells. Written whole or not at all, alone or in
// the caller's batch.
void ExportXlsx(const ReportPages& pages, const QString& path, SaveFiles* batch = nullptr);

}  // namespace report
