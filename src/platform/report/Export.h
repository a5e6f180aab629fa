#pragma once
#include <QImage>
#include <QString>

class QPrinter;
class SaveFiles;

namespace report {

class ReportPages;

// One page as an image at the given resolution.
QImage RenderPage(const ReportPages& pages, int page, double dpi);
// Each export writes its file alone, or adds it to a batch the caller commits.
// Every page into a PDF file.
void ExportPdf(const ReportPages& pages, const QString& path, SaveFiles* batch = nullptr);
// A PNG file a page: r.png, r-2.png, r-3.png...
QString PngPagePath(const QString& path, int page);
void ExportPng(const ReportPages& pages, const QString& path, SaveFiles* batch = nullptr,
               double dpi = 150);
// The report's rows with their captions, numbers in full.
void ExportCsv(const ReportPages& pages, const QString& path, SaveFiles* batch = nullptr);
void PrintReport(const ReportPages& pages, QPrinter& printer);

}  // namespace report
