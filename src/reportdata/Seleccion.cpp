#include "Seleccion.h"

#include "Reportes.h"

namespace reportdata {

QString DescribeSeleccion(int reporte, const Seleccion& s) {
    QStringList partes{kReportes[reporte].nombre};
    if (reporte == 2) {
        partes << "Del " + s.fechaInicial + " al " + s.fechaFinal;
        if (!s.linea.toString().isEmpty())
            partes << "Línea: " + (s.lineaNombre.isEmpty() ? s.linea.toString() : s.lineaNombre);
    } else {
        partes << "Año final: " + s.año;
    }
    partes << "Ventas: " + s.documentos.value(s.tipo);
    if (!s.vendedor.trimmed().isEmpty())
        partes << "Vendedor: " + s.vendedor +
                      (s.vendedorNombre.isEmpty() ? QString() : " (" + s.vendedorNombre + ")");
    return partes.join("   ·   ");
}

}  // namespace reportdata
