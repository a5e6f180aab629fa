#pragma once
#include <QImage>
#include <QString>

class QPrinter;

namespace report {

class ReportPages;

// One page as an image at the given resolution.
QImage RenderPage(const ReportPages& pages, int page, double dpi);
// Every page into a PDF file; every page, one under the other, into a PNG file.
void ExportPdf(const ReportPages& pages, const QString& path);
void ExportPng(const ReportPages& pages, const QString& path, double dpi = 150);
// The report's rows with their captions, numbers in full.
void ExportCsv(const ReportPages& pages, const QString& path);
void PrintReport(const ReportPages& pages, QPrinter& printer);

}  // namespace report
