#include "reportdata/Seleccion.h"

#include <QDate>
#include <QSqlQuery>

#include "platform/ado/Connection.h"
#include "platform/ado/Quote.h"
#include "platform/report/ReportContent.h"
#include "reportdata/ClaveVendedor.h"
#include "reportdata/Constructor.h"
#include "reportdata/Reglas.h"
#include "reportdata/Reportes.h"
#include "reportdata/VentasXvend.h"

namespace reportdata {
namespace {

// What each year's column of the salesperson report holds: the first year from the start date
// two years back, the third year up to the end date (and any later year of the period).
QString Columnas(const Seleccion& s) {
    const Periodo periodo = PeriodoDe(s, {});
    QStringList columnas;
    for (int i = 0; i < 3; ++i) {
        const auto [primero, ultimo] = DiasDeColumna(periodo, i);
        const QString año = QString::number(periodo.y1 + i);
        if (ultimo < primero)
            columnas << año + " sin días";
        else if (primero == QDate(periodo.y1 + i, 1, 1) && ultimo == QDate(periodo.y1 + i, 12, 31))
            columnas << año + " completo";
        else
            columnas << año + " del " + primero.toString("dd/MM/yyyy") + " al " +
                            ultimo.toString("dd/MM/yyyy");
    }
    return "Columnas: " + columnas.join("; ");
}

}  // namespace

QString DescribeSeleccion(const Reporte& reporte, const Seleccion& s) {
    QStringList partes{reporte.nombre};
    if (reporte.porFechas) {
        partes << "Del " + s.fechaInicial + " al " + s.fechaFinal << Columnas(s);
        if (!s.linea.toString().isEmpty())
            partes << "Línea: " + (s.lineaNombre.isEmpty() ? s.linea.toString() : s.lineaNombre);
    } else {
        partes << "Año final: " + QString::number(AñoFinal(s));  // the year used
    }
    partes << "Ventas: " + s.documentos.value(s.tipo);
    if (!s.vendedor.trimmed().isEmpty())
        partes << "Vendedor: " + s.vendedor +
                      (s.vendedorNombre.isEmpty() ? QString() : " (" + s.vendedorNombre + ")");
    return partes.join(report::kSeparador);
}

QString NombreDeArchivo(const Reporte& reporte, const Seleccion& s) {
    if (!reporte.porFechas) {
        const int año = AñoFinal(s);
        return reporte.nombre + " " + QString::number(año - 2) + "-" + QString::number(año);
    }
    auto fecha = [](const QString& texto) { return FechaDe(texto).toString("yyyy-MM-dd"); };
    return reporte.nombre + " del " + fecha(s.fechaInicial) + " al " + fecha(s.fechaFinal);
}

namespace {

QString Nombre(ado::Connection& conexion, const QString& consulta) {
    QSqlQuery q = conexion.Query(consulta);
    return q.next() ? q.value(0).toString() : QString();
}

}  // namespace

void NombraSeleccion(Seleccion& s, ado::Connection& conexion) {
    if (!s.linea.toString().isEmpty() && s.lineaNombre.isEmpty())
        s.lineaNombre =
            Nombre(conexion, "SELECT Linea FROM lineas WHERE Id=" + ado::Quote(s.linea.toString()));
    if (!s.vendedor.trimmed().isEmpty() && s.vendedorNombre.isEmpty() &&
        ClaveCabe(conexion, s.vendedor))
        s.vendedorNombre =
            Nombre(conexion, "SELECT Nombre FROM vendedores WHERE Clave=" + ado::Quote(s.vendedor));
}

}  // namespace reportdata
