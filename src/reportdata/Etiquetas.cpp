#include "reportdata/Etiquetas.h"

thread_local std::array<QString, 13> aEtiquetas;
thread_local QStringList aLineasSinLugar;
thread_local double aVentasSinVendedor = 0;

namespace reportdata {

Resultado Resultado::DeEsteHilo() {
    return {true, aEtiquetas, aLineasSinLugar, aVentasSinVendedor};
}

void Resultado::Publica() const {
    aEtiquetas = etiquetas;
    aLineasSinLugar = lineasSinLugar;
    aVentasSinVendedor = ventasSinVendedor;
}

}  // namespace reportdata
