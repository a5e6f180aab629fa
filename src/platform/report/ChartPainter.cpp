#include "platform/report/ChartPainter.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QGraphicsScene>
#include <QPainter>
#include <cmath>

#include "platform/report/Eje.h"
#include "platform/report/Formato.h"
#include "platform/report/ReportContent.h"

namespace report {
namespace {

const double kEjeDeValores = 80;       // points the value axis's labels take on the left
const double kBarraMaxima = 40;        // points
const int kCategoriasInclinadas = 20;  // beyond, labels stand upright

// The chart as the page draws it, laid out in a rectangle of the area's size.
void Construye(QChart& grafica, const QSizeF& tamaño, const ReportContent& c,
               const ReportContent& escala) {
    grafica.setAnimationOptions(QChart::NoAnimation);
    grafica.setBackgroundVisible(false);
    grafica.setMargins(QMargins(0, 0, 0, 0));
    grafica.setLocalizeNumbers(true);
    grafica.setLocale(Localidad());

    auto* barras = new QBarSeries;
    const QStringList series = c.Series();
    const QStringList categorias = c.Categorias();
    double menor = 0, mayor = 0;
    for (int s = 0; s < series.size(); ++s) {
        auto* conjunto = new QBarSet(series[s]);
        conjunto->setColor(ColorDeSerie(s));
        conjunto->setBorderColor(ColorDeSerie(s).darker(115));
        for (int k = 0; k < categorias.size(); ++k) *conjunto << c.Valor(s, k);
        barras->append(conjunto);
    }
    for (int s = 0; s < escala.Series().size(); ++s)
        for (int k = 0; k < escala.Categorias().size(); ++k) {
            menor = qMin(menor, escala.Valor(s, k));
            mayor = qMax(mayor, escala.Valor(s, k));
        }
    grafica.addSeries(barras);

    // A bar no wider than a reader expects, however few the categories.
    const double anchoCategoria =
        qMax(1.0, tamaño.width() - kEjeDeValores) / qMax(1, int(categorias.size()));
    barras->setBarWidth(qMin(0.8, kBarraMaxima * series.size() / anchoCategoria));

    auto* ejeX = new QBarCategoryAxis;
    ejeX->setLabelsFont(Letra(9));
    ejeX->setTruncateLabels(false);
    // Long captions side by side would overlap: a few lean, many stand upright (a chart holds
    // no more than upright labels of its type can show whole).
    int largo = 0;
    for (const QString& categoria : categorias)
        largo = qMax(largo, static_cast<int>(categoria.size()));
    if (categorias.size() > kCategoriasInclinadas)
        ejeX->setLabelsAngle(-90);
    else if (largo * categorias.size() > 90)
        ejeX->setLabelsAngle(-30);
    ejeX->append(categorias);
    if (!c.ejeCategorias.isEmpty()) {
        ejeX->setTitleText(c.ejeCategorias);
        ejeX->setTitleFont(Letra(9, true));
    }
    grafica.addAxis(ejeX, Qt::AlignBottom);
    barras->attachAxis(ejeX);

    // Labels written as the table writes money (-$20,000), at round ticks.
    const Eje eje = EjeDeValores(menor, mayor);
    auto* ejeY = new QCategoryAxis;
    ejeY->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    ejeY->setRange(eje.marcas.first(), eje.marcas.last());
    ejeY->setStartValue(eje.marcas.first());
    for (double marca : eje.marcas) ejeY->append(Moneda(marca, eje.decimales), marca);
    ejeY->setLabelsFont(Letra(9));
    ejeY->setGridLineColor(QColor(222, 226, 230));
    grafica.addAxis(ejeY, Qt::AlignLeft);
    barras->attachAxis(ejeY);

    grafica.legend()->setAlignment(Qt::AlignTop);
    grafica.legend()->setFont(Letra(10));

    grafica.setGeometry(QRectF(QPointF(0, 0), tamaño));
}

}  // namespace

void PaintBarChart(QPainter& painter, const QRectF& area, const ReportContent& c,
                   const ReportContent& escala) {
    QChart grafica;
    QGraphicsScene escena;
    escena.addItem(&grafica);
    Construye(grafica, area.size(), c, escala);
    escena.setSceneRect(QRectF(QPointF(0, 0), area.size()));
    escena.render(&painter, area, escena.sceneRect());
    escena.removeItem(&grafica);
}

QString BarAt(const QRectF& area, const ReportContent& c, const ReportContent& escala,
              const QPointF& punto) {
    QChart grafica;
    QGraphicsScene escena;
    escena.addItem(&grafica);
    Construye(grafica, area.size(), c, escala);
    const QPointF local = punto - area.topLeft();
    QString texto;
    auto* barras = static_cast<QBarSeries*>(grafica.series().value(0));
    if (barras && grafica.plotArea().contains(local)) {
        const QPointF valor = grafica.mapToValue(local, barras);
        const int k = qRound(valor.x());
        const int series = static_cast<int>(c.Series().size());
        // The bars of a category share its bar width, side by side.
        const double ancho = barras->barWidth(), desde = k - ancho / 2;
        const int s = static_cast<int>(std::floor((valor.x() - desde) / (ancho / series)));
        if (k >= 0 && k < c.Categorias().size() && s >= 0 && s < series) {
            const double v = c.Valor(s, k);
            if ((valor.y() >= qMin(0.0, v)) && (valor.y() <= qMax(0.0, v)))
                texto = c.Series()[s] + " · " + c.Categorias()[k] + " · " + Moneda(v, 2);
        }
    }
    escena.removeItem(&grafica);
    return texto;
}

}  // namespace report
