#pragma once
#include <QVector>

namespace report {

// The value axis of a chart: round ticks, few and distinct, for any range of amounts (all zero,
// a few cents, millions, both signs); zero is a tick whenever the range crosses it; the tallest
// bar and the deepest keep some room before the last tick. About intervalos steps.
struct Eje {
    QVector<double> marcas;
    int decimales;  // 2 when the step is below one peso
};
Eje EjeDeValores(double menor, double mayor, int intervalos = 5);

}  // namespace report
