#include "platform/report/Eje.h"

#include <QtGlobal>
#include <cmath>

namespace report {

Eje EjeDeValores(double menor, double mayor, int intervalos) {
    double bajo = qMin(0.0, menor), alto = qMax(0.0, mayor);
    if (alto - bajo < 0.01) alto = bajo + 1;  // nothing to show: one peso of scale
    // A step of 1, 2, 2.5 or 5 times a power of ten; never below a cent, so no two labels read
    // alike.
    const double bruto = (alto - bajo) / qMax(1, intervalos);
    const double potencia = std::pow(10.0, std::floor(std::log10(bruto)));
    double paso = potencia * 10;
    for (double f : {1.0, 2.0, 2.5, 5.0})
        if (bruto <= f * potencia) {
            paso = f * potencia;
            break;
        }
    paso = qMax(paso, 0.01);
    double primera = std::floor(bajo / paso + 1e-9) * paso;
    double ultima = std::ceil(alto / paso - 1e-9) * paso;
    // A bar that reaches a tick would touch the chart's edge: one step more of room.
    const double holgura = (ultima - primera) / 20;
    if (alto > 0 && ultima - alto < holgura) ultima += paso;
    if (bajo < 0 && bajo - primera < holgura) primera -= paso;
    Eje eje{{}, paso < 1 ? 2 : 0};
    for (double v = primera; v <= ultima + paso / 2; v += paso)
        eje.marcas << (std::fabs(v) < paso / 2 ? 0.0 : std::round(v / paso) * paso);
    return eje;
}

}  // namespace report
