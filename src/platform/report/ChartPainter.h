#pragma once
#include <QRectF>

class QPainter;

namespace report {
struct ReportContent;
// Paints the bar chart of a report into an area of a page (in points).
void PaintBarChart(QPainter& painter, const QRectF& area, const ReportContent& content);
}  // namespace report
