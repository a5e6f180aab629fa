#include "reportdata/Etiquetas.h"

thread_local std::array<QString, 13> aEtiquetas;
thread_local QStringList aLineasSinLugar;
thread_local double aVentasSinVendedor = 0;
thread_local QString cOrigenDeCifras;

namespace reportdata {

Resultado Resultado::DeEsteHilo() {
    return {true, aEtiquetas, aLineasSinLugar, aVentasSinVendedor, cOrigenDeCifras};
}

void Resultado::Publica() const {
    aEtiquetas = etiquetas;
    aLineasSinLugar = lineasSinLugar;
    aVentasSinVendedor = ventasSinVendedor;
    cOrigenDeCifras = origenDeCifras;
}

}  // namespace reportdata
