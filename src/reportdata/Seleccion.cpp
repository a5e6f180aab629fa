#include "reportdata/Seleccion.h"

#include "reportdata/Reportes.h"

namespace reportdata {

QString DescribeSeleccion(const Reporte& reporte, const Seleccion& s) {
    QStringList partes{reporte.nombre};
    if (reporte.porFechas) {
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
