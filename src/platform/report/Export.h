#pragma once
#include <QImage>
#include <QMap>
#include <QString>

class QPrinter;
class SaveFiles;

namespace report {

class ReportPages;

// A text as one field of a CSV line: quoted when it must be, and never run as a formula.
QString Campo(QString texto);
// CSV lines as a file holds them: CR LF, UTF-8 with its byte-order mark (plain for "-").
QByteArray LineasCsv(const QStringList& lineas, const QString& path);
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
