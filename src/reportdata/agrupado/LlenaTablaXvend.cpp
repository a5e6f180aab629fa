#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#include "platform/ado/Connection.h"
#include "platform/ado/QueryAtOnce.h"
#include "platform/ado/Quote.h"
#include "reportdata/Agrupado.h"
#include "reportdata/Avance.h"
#include "reportdata/Globales.h"
#include "reportdata/Recorrido.h"
#include "reportdata/Sentencias.h"
#include "reportdata/VentasXvend.h"

namespace reportdata::agrupado {
namespace {

// The work-table column of a year: 1 for the first, 2 for the second, 3 for any later one.
int ColumnaDe(int año, int y1) {
    return año == y1 ? 1 : año == y1 + 1 ? 2 : 3;
}

// The grouped sales of every document table, asked at once once each statement was announced;
// each group as the values of a work-table row that holds its sum in its year's column.
QStringList PasaVentas(const Seleccion& s, ado::Connection& lectura, const RangoTipos& tipos,
                       const Periodo& periodo, const Aviso& avisa, Resultado& r) {
    const QVector<Recorrido> recorridos = Recorridos(s, lectura, tipos, periodo.condicion);
    QStringList consultas;
    for (const Recorrido& recorrido : recorridos) {
        avisa(recorrido.doc);
        consultas << ConsultaDeVentas(s, recorrido, periodo, false);
        avisa("Consulta: " + consultas.last());
    }
    Avanza(Describe("Ventas de los tres años", recorridos), 0, 3);
    QStringList filas;
    for (const ado::Rows& grupos : ado::QueryAtOnce(lectura, consultas))
        for (const QVector<QVariant>& g : grupos) {
            if (!DeVendedor(g[0], g[1], r)) continue;
            const QString vendedor = g[1].toString();
            CompruebaClave(vendedor);
            QStringList valores{ado::Quote(vendedor), "0", "0", "0"};
            valores[ColumnaDe(g[2].toInt(), periodo.y1)] = ado::Literal(g[0].toDouble());
            for (int i = 0; i < 3; ++i) valores << ado::Quote(QString::number(periodo.y1 + i));
            filas << "(" + valores.join(',') + ")";
        }
    return filas;
}

// The returns of the period by the customer's salesperson, a sum for each year's column,
// subtracted from the rows of the work table in one statement.
void PasaDevoluciones(const Seleccion& s, ado::Connection& conexion, ado::Connection& lectura,
                      const QString& cTabla, const Periodo& periodo, const Aviso& avisa) {
    avisa("Más " + cTabla + " order by Vendedor");
    const QString año = "year(devolucionctes.Fecha)";
    const QString sumas[3] = {
        QString("Sum(case when %1=%2 then %3 end)").arg(año).arg(periodo.y1).arg(kImporteDevuelto),
        QString("Sum(case when %1=%2 then %3 end)")
            .arg(año)
            .arg(periodo.y1 + 1)
            .arg(kImporteDevuelto),
        QString("Sum(case when %1>%2 then %3 end)")
            .arg(año)
            .arg(periodo.y1 + 1)
            .arg(kImporteDevuelto)};
    const QString consulta =
        "Select clientes.Vendedor," + sumas[0] + "," + sumas[1] + "," + sumas[2] + " from " +
        kDevolucionesDeLinea + PeriodoDe(s, "devolucionctes.Fecha").condicion +
        " and clientes.Vendedor is not null" + CondicionLinea(s) + " group by clientes.Vendedor";
    avisa(consulta);
    Avanza("Devoluciones", 2, 3);
    QSqlQuery grupos = lectura.Query(consulta);
    QString casos[3];
    while (grupos.next())
        for (int n = 1; n <= 3; ++n)
            if (!grupos.value(n).isNull())
                casos[n - 1] += " when Vendedor=" + ado::Quote(grupos.value(0).toString()) +
                                " then " + ado::Literal(grupos.value(n).toDouble());
    QStringList cambios;
    for (int n = 1; n <= 3; ++n)
        if (!casos[n - 1].isEmpty())
            cambios << QString("Anio%1=Anio%1-case%2 else 0 end").arg(n).arg(casos[n - 1]);
    if (!cambios.isEmpty()) conexion.Execute("Update " + cTabla + " set " + cambios.join(','));
    avisa("Fin del 'Más'");
}

}  // namespace

bool LlenaTablaXvend(const Seleccion& s, ado::Connection& conexion, ado::Connection& lectura,
                     const QString& cTabla, const Aviso& avisa, Resultado& r) {
    const Periodo periodo = PeriodoDe(s, "Fecha");
    return Secuencia(
        s, lectura, avisa, r,
        [&](const RangoTipos& tipos) {
            const QStringList filas = PasaVentas(s, lectura, tipos, periodo, avisa, r);
            if (filas.isEmpty()) return false;
            // One statement for every group, in the server's order: a key the work table
            // already holds adds to its row, as the row by row plan does.
            conexion.Execute("Insert into " + cTabla +
                             " (Vendedor,Anio1,Anio2,Anio3,cAnio1,cAnio2,cAnio3) values " +
                             filas.join(',') +
                             " on duplicate key update Anio1=Anio1+values(Anio1),"
                             "Anio2=Anio2+values(Anio2),Anio3=Anio3+values(Anio3)");
            for (int i = 0; i < 3; ++i) r.aEtiquetas[i] = QString::number(periodo.y1 + i);
            return true;
        },
        [&] { PasaDevoluciones(s, conexion, lectura, cTabla, periodo, avisa); });
}

}  // namespace reportdata::agrupado
