#include "reportdata/Etiquetas.h"

thread_local std::array<QString, 13> aEtiquetas;
thread_local QStringList aLineasSinLugar;
thread_local QString cOrigenDeCifras;

namespace reportdata {

Resultado Resultado::DeEsteHilo() {
    return {true, aEtiquetas, aLineasSinLugar, cOrigenDeCifras};
}

void Resultado::Publica() const {
    aEtiquetas = etiquetas;
    aLineasSinLugar = lineasSinLugar;
    cOrigenDeCifras = origenDeCifras;
}

}  // namespace reportdata
