#pragma once
#include <QVector>

namespace report {

// The value axis of a chart: round ticks, few and distinct, for any range of amounts (all zero,
// a few cents, millions, both signs); zero is a tick whenever the range crosses it.
struct Eje {
    QVector<double> marcas;
    int decimales;  // 2 when the step is below one peso
};
Eje EjeDeValores(double menor, double mayor);

// Which of n category labels the axis writes when each category is ancho points wide and a
// label needs alto points beside the next: all when they fit, else evenly thinned, the first
// and the last always kept.
QVector<int> EtiquetasVisibles(int n, double ancho, double alto);

}  // namespace report
