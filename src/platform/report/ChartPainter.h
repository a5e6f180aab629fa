#pragma once
#include <QRectF>
#include <QString>

class QPainter;

namespace report {
struct ReportContent;
// Paints the bar chart of a report into an area of a page (in points). scale: the report whose
// amounts the value axis spans, so that the parts of a chart over several pages read alike.
void PaintBarChart(QPainter& painter, const QRectF& area, const ReportContent& content,
                   const ReportContent& scale);
// The bar under a point of that area, by its series and category in content.
struct Barra {
    int serie = -1, categoria = -1;
    bool Hay() const { return serie >= 0; }
};
Barra BarAt(const QRectF& area, const ReportContent& content, const ReportContent& scale,
            const QPointF& point);
}  // namespace report
