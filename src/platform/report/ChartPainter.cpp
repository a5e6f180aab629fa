#include "platform/report/ChartPainter.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QGraphicsScene>
#include <QPainter>

#include "platform/report/Eje.h"
#include "platform/report/Formato.h"
#include "platform/report/ReportContent.h"

namespace report {
namespace {

const QColor kColores[] = {QColor(41, 98, 155),   QColor(232, 131, 37), QColor(46, 139, 87),
                           QColor(155, 89, 182),  QColor(192, 57, 43),  QColor(22, 160, 133),
                           QColor(127, 140, 141), QColor(241, 196, 15), QColor(52, 73, 94),
                           QColor(211, 84, 0),    QColor(39, 174, 96),  QColor(142, 68, 173)};

}  // namespace

void PaintBarChart(QPainter& painter, const QRectF& area, const ReportContent& c) {
    QChart grafica;
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
        conjunto->setColor(kColores[s % std::size(kColores)]);
        conjunto->setBorderColor(kColores[s % std::size(kColores)].darker(115));
        for (int k = 0; k < categorias.size(); ++k) {
            const double v = c.Valor(s, k);
            *conjunto << v;
            menor = qMin(menor, v);
            mayor = qMax(mayor, v);
        }
        barras->append(conjunto);
    }
    grafica.addSeries(barras);

    auto* ejeX = new QBarCategoryAxis;
    ejeX->append(categorias);
    ejeX->setLabelsFont(Letra(9));
    ejeX->setTruncateLabels(false);
    // Long captions side by side would overlap: they lean instead.
    int largo = 0;
    for (const QString& categoria : categorias)
        largo = qMax(largo, static_cast<int>(categoria.size()));
    if (largo * categorias.size() > 90) ejeX->setLabelsAngle(-30);
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

    QGraphicsScene escena;
    escena.addItem(&grafica);
    grafica.setGeometry(QRectF(QPointF(0, 0), area.size()));
    escena.setSceneRect(QRectF(QPointF(0, 0), area.size()));
    escena.render(&painter, area, escena.sceneRect());
    escena.removeItem(&grafica);
}

}  // namespace report
