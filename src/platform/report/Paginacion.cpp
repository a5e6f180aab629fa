#include "platform/report/Paginacion.h"

#include <QtGlobal>

namespace report {

int FilasQueCaben(double alto, double renglon) {
    return qMax(0, static_cast<int>(alto / renglon) - 1);
}

QVector<Trozo> Pagina(int filas, int cabenPrimera, int cabenResto) {
    if (filas == 0) return {Trozo{0, 0, false}};
    QVector<Trozo> trozos;
    int primera = 0;
    int caben = qMax(1, cabenPrimera);
    for (;;) {
        int cuantas = qMin(filas - primera, caben);
        const bool total = primera + cuantas == filas && cuantas < caben;
        // The last rows fill their page: the last one goes over with the totals, which never
        // stand alone.
        if (!total && primera + cuantas == filas && cuantas > 1) --cuantas;
        trozos << Trozo{primera, cuantas, total};
        primera += cuantas;
        if (total) return trozos;
        caben = qMax(1, cabenResto);
    }
}

}  // namespace report
