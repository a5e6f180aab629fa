#pragma once
#include <QRectF>
#include <QString>

class QPainter;

namespace report {
struct ReportContent;
// Paints the bar chart of a report into an area of a page (in points).
void PaintBarChart(QPainter& painter, const QRectF& area, const ReportContent& content);
// The bar under a point of that area: "series · category · amount", or empty.
QString BarAt(const QRectF& area, const ReportContent& content, const QPointF& point);
}  // namespace report
