#pragma once
#include <QImage>
#include <QMap>
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
// What is there now under the name of a page after the first (r-2.png...), by page number.
QMap<int, QString> PngPagesThere(const QString& path);
// The pages an earlier export to the same name wrote beyond the new last page are taken away.
void ExportPng(const ReportPages& pages, const QString& path, SaveFiles* batch = nullptr,
               double dpi = 150);
// The report's rows with their captions, numbers in full.
void ExportCsv(const ReportPages& pages, const QString& path, SaveFiles* batch = nullptr);
void PrintReport(const ReportPages& pages, QPrinter& printer);

}  // namespace report
