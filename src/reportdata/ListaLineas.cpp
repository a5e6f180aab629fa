#include "reportdata/ListaLineas.h"

namespace reportdata {

void Lineas::Anota(const QString& linea, const QByteArray& peso) {
    for (int i = 0; i < kLineas; ++i) {
        if (nombres[i].isEmpty()) {
            nombres[i] = linea;
            pesos[i] = peso;
            return;
        }
        if (pesos[i] == peso) return;
    }
    if (pesosSinLugar.contains(peso)) return;
    pesosSinLugar << peso;
    sinLugar << linea;
}

void Lineas::Publica(Resultado& r) const {
    std::copy(nombres.begin(), nombres.end(), r.aEtiquetas.begin());
    r.lineasSinLugar = sinLugar;
}

}  // namespace reportdata
