#pragma once
#include <QRectF>
#include <QSizeF>
#include <QVector>

#include "platform/report/Paginacion.h"
#include "platform/report/ReportContent.h"

#include <optional>

class QPainter;

namespace report {

// A figure of a report a reader may open: a cell of its content, by row and column (-1 stands for
// every one, as a total does), or the notes under the chart.
struct Figura {
    int fila = -1, columna = -1;
    bool nota = false;
};

// A place of a page's table: its row on that page (the totals row last) and its shown column (0
// the rows' captions, the last one the totals).
struct Casilla {
    int renglon = 0, columna = 0;
};

// A report laid out on landscape A4 pages. Painting works in points (1/72 inch) on any
// device: the screen, the printer, PDF and PNG all go through Paint.
class ReportPages {
  public:
    explicit ReportPages(ReportContent content);
    static QSizeF PageSize() { return {842, 595}; }
    int Count() const { return static_cast<int>(trozos_.size()); }
    const ReportContent& Content() const { return content_; }
    // The table's rows on each page.
    const QVector<Trozo>& Trozos() const { return trozos_; }
    // The chart's pages, and the categories on each.
    int Graficas() const { return graficas_; }
    int PorGrafica() const { return porGrafica_; }
    void Paint(QPainter& painter, int page) const;
    // Where a page's chart is drawn, in points.
    QRectF ChartArea(int page) const;
    // What a reader pointing at a place of a page (in points) sees there: a bar's series,
    // category and exact amount; empty elsewhere.
    QString ValueAt(int page, const QPointF& point) const;
    // The figure under a point of a page: a bar, a cell of the table (a row's caption stands for
    // its total), the notes.
    std::optional<Figura> FiguraEn(int page, const QPointF& point) const;
    // The table of a page: how many rows and shown columns it has, where a place of it stands,
    // and which figure it shows.
    int Renglones(int page) const;
    int ColumnasMostradas() const;
    QRectF Rectangulo(int page, const Casilla& c) const;
    Figura FiguraDe(int page, const Casilla& c) const;

  private:
    void PaintHeader(QPainter& p, int page) const;
    void PaintChart(QPainter& p, const QRectF& area, int page) const;
    // What the chart of a page shows: the whole report, or its part of a chart over pages.
    ReportContent Grafica(int page) const;
    double AltoCuerpo() const;
    // Where the table of a page begins: its heading row.
    double ArribaDeLaTabla(int page) const;
    void PaintTable(QPainter& p, const QRectF& area, const Trozo& trozo) const;
    // The table's type and columns: every figure whole, with its cents, cut by nothing.
    struct Medidas {
        double pixeles = 9;
        QVector<double> anchos;  // the captions, each shown column, the totals
    };
    Medidas MideTabla(double ancho) const;

    ReportContent content_;
    // The selection's type and the header's height: a long selection takes a smaller type down
    // to a size still read easily, then wraps; it is never cut.
    double letraSeleccion_ = 9.5;
    double cabecera_ = 64;
    double altoNota_ = 0;  // the notes under the chart, wrapped within the margins
    ReportContent::Tabla tabla_;
    ReportContent::Totales totales_;
    Medidas medidas_;
    double alturaGrafica_ = 0;
    int graficas_ = 1;    // pages of chart
    int porGrafica_ = 0;  // categories on each
    QVector<Trozo> trozos_;
};

}  // namespace report
