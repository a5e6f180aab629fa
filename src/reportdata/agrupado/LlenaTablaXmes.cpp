#include <QStringList>
#include <array>

#include "platform/ado/Connection.h"
#include "platform/ado/QueryAtOnce.h"
#include "platform/ado/Quote.h"
#include "reportdata/Agrupado.h"
#include "reportdata/Avance.h"
#include "reportdata/ClaveVendedor.h"
#include "reportdata/Sentencias.h"

namespace reportdata::agrupado {
namespace {

using Meses = std::array<std::array<double, 12>, 3>;  // [year - first year][month - 1]

// The sums of a source by year and month of the three years.
QString PorMes(const QString& origen, const QString& rango, const QString& condicion,
               const QString& suma) {
    return "SELECT year(Fecha),month(Fecha),SUM(" + suma + ") FROM " + origen + " where " + rango +
           condicion + " group by year(Fecha),month(Fecha)";
}

Meses Lee(const ado::Rows& filas, int primero) {
    Meses meses{};
    for (const QVector<QVariant>& f : filas) {
        const int año = f[0].toInt() - primero, mes = f[1].toInt() - 1;
        if (año >= 0 && año < 3 && mes >= 0 && mes < 12) meses[año][mes] = f[2].toDouble();
    }
    return meses;
}

}  // namespace

void LlenaTablaXmes(const Seleccion& s, ado::Connection& conexion, ado::Connection& lectura,
                    const QString& cTabla) {
    const RangoTipos tipos = Tipos(s);
    const int ultimo = AñoFinal(s);
    const int primero = AñoInicial(s);
    const QString vendedor = HayVendedor(s) ? " and Vendedor=" + ClaveVendedor(s) : QString();
    const QString vendedorDevoluciones =
        HayVendedor(s) ? " and clientes.Vendedor=" + ClaveVendedor(s) : QString();

    // The document tables and the returns asked at once, each on a session of its own.
    std::array<Meses, 2> ventas{};
    Meses devoluciones{};
    if (const auto rango = RangoDeAños("Fecha", primero, ultimo)) {
        QStringList sentencias;
        for (int k = tipos.primero; k <= tipos.ultimo; ++k)
            sentencias << PorMes(Documento(s, k), *rango, vendedor, kTotalDocumento);
        sentencias << PorMes(kDevolucionesConCliente, *rango, vendedorDevoluciones,
                             kTotalDevolucion);
        Avanza("Ventas y devoluciones de los tres años", 0, 2);
        const QVector<ado::Rows> filas = ado::QueryAtOnce(lectura, sentencias);
        Avanza("Escribiendo la tabla del reporte", 1, 2);
        for (int k = tipos.primero; k <= tipos.ultimo; ++k)
            ventas[k] = Lee(filas[k - tipos.primero], primero);
        devoluciones = Lee(filas.last(), primero);
    }

    // The same additions in the same order as month by month: the same doubles.
    QStringList filas;
    for (int año = primero; año <= ultimo; ++año) {
        QStringList valores{QString::number(año)};
        for (int mes = 0; mes < 12; ++mes) {
            double venta = 0;
            for (int k = tipos.primero; k <= tipos.ultimo; ++k)
                venta += ventas[k][año - primero][mes];
            const double devuelto = 0 + devoluciones[año - primero][mes];
            valores << ado::Literal(venta - devuelto);
        }
        filas << "(" + valores.join(',') + ")";
    }
    QStringList columnas{ado::QuoteIdentifier("Año")};
    for (const QString& mes : kMeses) columnas << ado::QuoteIdentifier(mes);
    conexion.Execute("INSERT INTO " + cTabla + " (" + columnas.join(',') + ") VALUES " +
                     filas.join(','));
}

}  // namespace reportdata::agrupado
