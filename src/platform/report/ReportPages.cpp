#include "platform/report/ReportPages.h"

#include <QDateTime>
#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>

#include "platform/report/ChartPainter.h"
#include "platform/report/Formato.h"

namespace report {
namespace {

const double kMargen = 36;
const double kCabecera = 64;
const double kRenglon = 15;
const double kSeparacion = 14;
const double kGraficaMinima = 250;

double AltoCuerpo() {
    return ReportPages::PageSize().height() - 2 * kMargen - kCabecera;
}

}  // namespace

ReportPages::ReportPages(ReportContent content) : content_(std::move(content)) {
    const int filas = static_cast<int>(content_.filas.size());
    const double tabla = filas ? (filas + 2) * kRenglon + kSeparacion : 0;
    alturaGrafica_ = qMax(kGraficaMinima, AltoCuerpo() - tabla);
    // First page: the chart and the rows that fit under it; then pages of rows only.
    auto caben = [](double alto) {
        return static_cast<int>(alto / kRenglon) - 1;
    };  // less the heading
    trozos_ =
        Pagina(filas, caben(AltoCuerpo() - alturaGrafica_ - kSeparacion), caben(AltoCuerpo()));
}

void ReportPages::Paint(QPainter& p, int page) const {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.fillRect(QRectF(QPointF(0, 0), PageSize()), Qt::white);
    PaintHeader(p, page);
    const double ancho = PageSize().width() - 2 * kMargen;
    double y = kMargen + kCabecera;
    if (page == 0) {
        PaintChart(p, QRectF(kMargen, y, ancho, alturaGrafica_));
        y += alturaGrafica_ + kSeparacion;
    }
    if (page < trozos_.size() && !content_.filas.isEmpty())
        PaintTable(p, QRectF(kMargen, y, ancho, PageSize().height() - kMargen - y), trozos_[page]);
    p.restore();
}

void ReportPages::PaintHeader(QPainter& p, int page) const {
    const double ancho = PageSize().width() - 2 * kMargen;
    const QRectF area(kMargen, kMargen, ancho, kCabecera - 10);
    p.setPen(QColor(33, 37, 41));
    p.setFont(Letra(19, true));
    p.drawText(area, Qt::AlignLeft | Qt::AlignTop, content_.titulo);
    p.setFont(Letra(9.5));
    p.setPen(QColor(90, 96, 104));
    const QString origen = "Servidor: " + content_.servidor + "    Base de datos: " + content_.base;
    p.drawText(area.adjusted(0, 26, 0, 0), Qt::AlignLeft | Qt::AlignTop, origen);
    p.drawText(area.adjusted(0, 40, 0, 0), Qt::AlignLeft | Qt::AlignTop, content_.seleccion);
    const QString impreso =
        "Impreso el " + QDateTime::currentDateTime().toString("dd/MM/yyyy HH:mm");
    p.drawText(area, Qt::AlignRight | Qt::AlignTop, impreso);
    p.drawText(area.adjusted(0, 14, 0, 0), Qt::AlignRight | Qt::AlignTop,
               QString("Página %1 de %2").arg(page + 1).arg(Count()));
    p.setPen(QPen(QColor(41, 98, 155), 1.5));
    p.drawLine(QPointF(kMargen, kMargen + kCabecera - 6),
               QPointF(kMargen + ancho, kMargen + kCabecera - 6));
}

void ReportPages::PaintChart(QPainter& p, const QRectF& area) const {
    // Nothing to show: one clear sentence instead of an empty chart.
    if (content_.NadaQueMostrar()) {
        p.setPen(QColor(120, 120, 120));
        p.setFont(Letra(content_.sinDatos.isEmpty() ? 20 : 30, true));
        p.drawText(area.adjusted(40, 0, -40, 0), Qt::AlignCenter | Qt::TextWordWrap,
                   content_.Aviso());
        return;
    }
    PaintBarChart(p, area, content_);
}

void ReportPages::PaintTable(QPainter& p, const QRectF& area, const Trozo& trozo) const {
    const QStringList& columnas = content_.columnas;
    const int n = static_cast<int>(columnas.size()) + 1;  // and the row total
    const double primera = 70;
    const double anchoCelda = (area.width() - primera) / n;
    // The figures in full, a smaller type when many columns share the width; a caption
    // too long for its column is shortened instead.
    double mayor = 0;
    for (const QVector<double>& fila : content_.celdas) {
        double suma = 0;
        for (double v : fila) {
            mayor = qMax(mayor, qAbs(v));
            suma += v;
        }
        mayor = qMax(mayor, qAbs(suma));
    }
    // When even a small type cannot hold the cents, the table shows whole amounts.
    const double total = -mayor * content_.filas.size();  // room for the totals too
    auto cabe = [&](double px, int decimales) {
        // Hinting at small sizes widens the text a little on some devices: keep a margin.
        return QFontMetricsF(Letra(px, true)).horizontalAdvance(Moneda(total, decimales)) <=
               (anchoCelda - 6) * 0.9;
    };
    const int decimales = cabe(7, 2) ? 2 : 0;
    double pixeles = 9;
    while (pixeles > 6 && !cabe(pixeles, decimales)) pixeles -= 0.5;

    auto celda = [&](double x, double y, double w, const QString& texto, Qt::Alignment a) {
        const QString cabe = QFontMetricsF(p.font()).elidedText(texto, Qt::ElideRight, w - 6);
        p.drawText(QRectF(x + 3, y, w - 6, kRenglon), a | Qt::AlignVCenter, cabe);
    };
    double y = area.top();
    p.fillRect(QRectF(area.left(), y, area.width(), kRenglon), QColor(41, 98, 155));
    p.setPen(Qt::white);
    p.setFont(Letra(pixeles, true));
    celda(area.left(), y, primera, content_.tituloFilas, Qt::AlignLeft);
    for (int c = 0; c < n; ++c)
        celda(area.left() + primera + c * anchoCelda, y, anchoCelda,
              c + 1 < n ? columnas[c] : "Total", Qt::AlignRight);
    y += kRenglon;

    auto renglon = [&](const QString& rotulo, const QVector<double>& valores, bool resaltado,
                       int i) {
        if (resaltado)
            p.fillRect(QRectF(area.left(), y, area.width(), kRenglon), QColor(226, 232, 240));
        else if (i % 2)
            p.fillRect(QRectF(area.left(), y, area.width(), kRenglon), QColor(245, 247, 250));
        p.setPen(QColor(33, 37, 41));
        p.setFont(Letra(pixeles, resaltado));
        celda(area.left(), y, primera, rotulo, Qt::AlignLeft);
        double suma = 0;
        for (int c = 0; c + 1 < n; ++c) {
            suma += valores[c];
            p.setPen(valores[c] < 0 ? QColor(178, 34, 34) : QColor(33, 37, 41));
            celda(area.left() + primera + c * anchoCelda, y, anchoCelda,
                  Moneda(valores[c], decimales), Qt::AlignRight);
        }
        p.setPen(suma < 0 ? QColor(178, 34, 34) : QColor(33, 37, 41));
        p.setFont(Letra(pixeles, true));
        celda(area.left() + primera + (n - 1) * anchoCelda, y, anchoCelda, Moneda(suma, decimales),
              Qt::AlignRight);
        y += kRenglon;
    };
    for (int i = trozo.primera; i < trozo.primera + trozo.cuantas; ++i)
        renglon(content_.filas[i], content_.celdas[i], false, i);
    if (trozo.total) {
        QVector<double> totales(n - 1, 0.0);
        for (const QVector<double>& fila : content_.celdas)
            for (int c = 0; c + 1 < n; ++c) totales[c] += fila[c];
        renglon("Total", totales, true, 0);
    }
    p.setPen(QPen(QColor(190, 198, 208), 0.6));
    p.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
}

}  // namespace report
