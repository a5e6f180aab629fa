#include "reportdata/Etiquetas.h"

thread_local std::array<QString, 13> aEtiquetas;
thread_local QStringList aLineasSinLugar;

namespace reportdata {

Resultado Resultado::DeEsteHilo() {
    return {true, aEtiquetas, aLineasSinLugar};
}

void Resultado::Publica() const {
    aEtiquetas = etiquetas;
    aLineasSinLugar = lineasSinLugar;
}

}  // namespace reportdata
