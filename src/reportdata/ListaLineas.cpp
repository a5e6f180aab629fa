#include "reportdata/ListaLineas.h"

#include "reportdata/Etiquetas.h"

namespace reportdata {

void Anota(PesosDeLineas& pesos, const QString& linea, const QByteArray& peso) {
    for (int i = 0; i < kLineas; ++i) {
        if (aEtiquetas[i].isEmpty()) {
            aEtiquetas[i] = linea;
            pesos.enSlot[i] = peso;
            return;
        }
        if (pesos.enSlot[i] == peso) return;
    }
    if (pesos.sinLugar.contains(peso)) return;
    pesos.sinLugar << peso;
    aLineasSinLugar << linea;
}

}  // namespace reportdata
