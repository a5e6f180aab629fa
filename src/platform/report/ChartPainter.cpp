#include "platform/report/ChartPainter.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QFontMetricsF>
#include <QGraphicsScene>
#include <QHorizontalBarSeries>
#include <QPainter>
#include <QtMath>
#include <cmath>

#include "platform/report/Eje.h"
#include "platform/report/Formato.h"
#include "platform/report/ReportContent.h"

namespace report {
namespace {

const double kEjeDeValores = 80;     // points the value axis's labels take on the left
const double kBarraMaxima = 40;      // points
const int kCategoriasDerechas = 20;  // beyond, labels stand upright
const double kLetraEjes = 9;
const double kLetraNombres = 8;   // the captions beside lying bars
const double kAparte = 12;        // points between two labels of the value axis
const double kFueraDelArea = 50;  // points of a chart's height the legend and an axis take

// The place Qt Charts draws an item (a category, a series) at: lying bars are drawn from the
// bottom up, so given in reverse the first reads at the top, as in the table, and each category's
// first series at the top of its bars. The same turn takes a place back to its item.
int Lugar(int i, int cuantos, bool acostadas) {
    return acostadas ? cuantos - 1 - i : i;
}

// How a chart writes its categories' captions.
enum class Rotulos {
    Debajo,     // side by side under their bars
    Derechos,   // upright under their bars: many, or long ones with no room beside lying bars
    Acostadas,  // the bars lie, each caption whole on one line beside them (a line's name)
};
Rotulos ComoRotula(const QStringList& categorias, const QSizeF& tamaño) {
    const int n = static_cast<int>(categorias.size());
    if (n > kCategoriasDerechas) return Rotulos::Derechos;
    const QFontMetricsF letra(Letra(kLetraEjes));
    const double cabe = (tamaño.width() - kEjeDeValores) / qMax(1, n) - 6;
    bool caben = true;
    for (const QString& categoria : categorias) caben &= letra.horizontalAdvance(categoria) <= cabe;
    if (caben) return Rotulos::Debajo;
    const double renglon = QFontMetricsF(Letra(kLetraNombres)).height() + 1;
    return n * renglon <= tamaño.height() - kFueraDelArea ? Rotulos::Acostadas : Rotulos::Derechos;
}

double AnchoDeNombres(const QStringList& categorias) {
    const QFontMetricsF letra(Letra(kLetraNombres));
    double ancho = 0;
    for (const QString& categoria : categorias)
        ancho = qMax(ancho, letra.horizontalAdvance(categoria));
    return ancho + 6;
}

// Ticks whose labels, side by side under lying bars, fit the width the names leave; and half the
// last label, which stands out past the last tick.
Eje EjeAcostado(double menor, double mayor, double ancho, double* sobra) {
    const QFontMetricsF letra(Letra(kLetraEjes));
    for (int intervalos = 5;; --intervalos) {
        const Eje eje = EjeDeValores(menor, mayor, intervalos);
        double marca = 0;
        for (double m : eje.marcas)
            marca = qMax(marca, letra.horizontalAdvance(Moneda(m, eje.decimales)) + kAparte);
        *sobra = marca / 2;
        if (marca * eje.marcas.size() <= ancho - marca / 2 || intervalos == 1) return eje;
    }
}

// The chart as the page draws it, laid out in a rectangle of the area's size; how it writes the
// categories' captions.
Rotulos Construye(QChart& grafica, const QSizeF& tamaño, const ReportContent& c,
                  const ReportContent& escala) {
    grafica.setAnimationOptions(QChart::NoAnimation);
    grafica.setBackgroundVisible(false);
    grafica.setMargins(QMargins(0, 0, 0, 0));
    grafica.setLocalizeNumbers(true);
    grafica.setLocale(Localidad());

    const QStringList series = c.Series();
    const QStringList categorias = c.Categorias();
    const Rotulos rotulos = ComoRotula(categorias, tamaño);
    const bool acostadas = rotulos == Rotulos::Acostadas;
    QAbstractBarSeries* barras =
        acostadas ? static_cast<QAbstractBarSeries*>(new QHorizontalBarSeries) : new QBarSeries;
    const int n = static_cast<int>(categorias.size()), ns = static_cast<int>(series.size());
    double menor = 0, mayor = 0;
    for (int i = 0; i < ns; ++i) {
        const int s = Lugar(i, ns, acostadas);
        auto* conjunto = new QBarSet(series[s]);
        conjunto->setColor(ColorDeSerie(s));
        conjunto->setBorderColor(ColorDeSerie(s).darker(115));
        for (int j = 0; j < n; ++j) *conjunto << c.Valor(s, Lugar(j, n, acostadas));
        barras->append(conjunto);
    }
    for (int s = 0; s < escala.Series().size(); ++s)
        for (int k = 0; k < escala.Categorias().size(); ++k) {
            menor = qMin(menor, escala.Valor(s, k));
            mayor = qMax(mayor, escala.Valor(s, k));
        }
    grafica.addSeries(barras);

    // A bar no thicker than a reader expects, however few the categories.
    const double largo =
        acostadas ? tamaño.height() - kFueraDelArea : tamaño.width() - kEjeDeValores;
    const double porCategoria = qMax(1.0, largo) / qMax(1, int(categorias.size()));
    barras->setBarWidth(qMin(0.8, kBarraMaxima * series.size() / porCategoria));

    auto* ejeX = new QBarCategoryAxis;
    ejeX->setLabelsFont(Letra(kLetraEjes));
    ejeX->setTruncateLabels(false);
    if (rotulos == Rotulos::Derechos) ejeX->setLabelsAngle(-90);
    for (int j = 0; j < n; ++j) ejeX->append(categorias[Lugar(j, n, acostadas)]);
    // The page writes the names beside lying bars, which Qt Charts would thin out.
    ejeX->setLabelsVisible(!acostadas);
    if (!c.ejeCategorias.isEmpty() && !acostadas) {
        ejeX->setTitleText(c.ejeCategorias);
        ejeX->setTitleFont(Letra(kLetraEjes, true));
    }
    grafica.addAxis(ejeX, acostadas ? Qt::AlignLeft : Qt::AlignBottom);
    barras->attachAxis(ejeX);

    // Labels written as the table writes money (-$20,000), at round ticks.
    double sobra = 0;
    const double nombres = acostadas ? AnchoDeNombres(categorias) : 0;
    const Eje eje = acostadas ? EjeAcostado(menor, mayor, tamaño.width() - nombres, &sobra)
                              : EjeDeValores(menor, mayor);
    grafica.setMargins(QMargins(qCeil(nombres), 0, qCeil(sobra), 0));
    // Under lying bars the first label needs half its width before the plot's edge, or Qt
    // Charts leaves it out.
    const double porPunto =
        (eje.marcas.last() - eje.marcas.first()) / qMax(1.0, tamaño.width() - nombres - 2 * sobra);
    const double inicio =
        eje.marcas.first() -
        (acostadas ? QFontMetricsF(Letra(kLetraEjes))
                             .horizontalAdvance(Moneda(eje.marcas.first(), eje.decimales)) *
                         porPunto / 2
                   : 0);
    auto* ejeY = new QCategoryAxis;
    ejeY->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    ejeY->setRange(inicio, eje.marcas.last());
    ejeY->setStartValue(inicio);
    for (double marca : eje.marcas) ejeY->append(Moneda(marca, eje.decimales), marca);
    ejeY->setLabelsFont(Letra(kLetraEjes));
    ejeY->setGridLineColor(QColor(222, 226, 230));
    grafica.addAxis(ejeY, acostadas ? Qt::AlignBottom : Qt::AlignLeft);
    barras->attachAxis(ejeY);

    grafica.legend()->setAlignment(Qt::AlignTop);
    grafica.legend()->setReverseMarkers(acostadas);  // the series in their order
    grafica.legend()->setFont(Letra(10));

    grafica.setGeometry(QRectF(QPointF(0, 0), tamaño));
    return rotulos;
}

}  // namespace

void PaintBarChart(QPainter& painter, const QRectF& area, const ReportContent& c,
                   const ReportContent& escala) {
    QChart grafica;
    QGraphicsScene escena;
    escena.addItem(&grafica);
    const Rotulos rotulos = Construye(grafica, area.size(), c, escala);
    escena.setSceneRect(QRectF(QPointF(0, 0), area.size()));
    escena.render(&painter, area, escena.sceneRect());
    escena.removeItem(&grafica);
    if (rotulos != Rotulos::Acostadas) return;
    // Each name whole on the line of its bars, right against the plot.
    const QRectF trazo = grafica.plotArea().translated(area.topLeft());
    const QStringList categorias = c.Categorias();
    const double alto = trazo.height() / categorias.size();
    painter.save();
    painter.setFont(Letra(kLetraNombres));
    painter.setPen(QColor(33, 37, 41));
    for (int k = 0; k < categorias.size(); ++k)
        painter.drawText(
            QRectF(area.left(), trazo.top() + k * alto, trazo.left() - area.left() - 6, alto),
            Qt::AlignRight | Qt::AlignVCenter, categorias[k]);
    painter.restore();
}

Barra BarAt(const QRectF& area, const ReportContent& c, const ReportContent& escala,
            const QPointF& punto) {
    QChart grafica;
    QGraphicsScene escena;
    escena.addItem(&grafica);
    Construye(grafica, area.size(), c, escala);
    const QPointF local = punto - area.topLeft();
    Barra barra;
    auto* barras = static_cast<QAbstractBarSeries*>(grafica.series().value(0));
    if (barras && grafica.plotArea().contains(local)) {
        const bool acostadas = barras->type() == QAbstractSeries::SeriesTypeHorizontalBar;
        QPointF valor = grafica.mapToValue(local, barras);
        if (acostadas) valor = valor.transposed();  // (category, amount), as standing bars give it
        const int n = static_cast<int>(c.Categorias().size());
        const int series = static_cast<int>(c.Series().size());
        const int lugar = qRound(valor.x());
        // The bars of a category share its bar width, side by side.
        const double ancho = barras->barWidth(), desde = lugar - ancho / 2;
        const int k = Lugar(lugar, n, acostadas);
        const int s = Lugar(static_cast<int>(std::floor((valor.x() - desde) / (ancho / series))),
                            series, acostadas);
        if (k >= 0 && k < n && s >= 0 && s < series) {
            const double v = c.Valor(s, k);
            if ((valor.y() >= qMin(0.0, v)) && (valor.y() <= qMax(0.0, v))) barra = {s, k};
        }
    }
    escena.removeItem(&grafica);
    return barra;
}

}  // namespace report
