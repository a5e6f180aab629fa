#include <QHash>
#include <QStringList>
#include <array>

#include "platform/ado/Connection.h"
#include "platform/ado/QueryAtOnce.h"
#include "platform/ado/Quote.h"
#include "reportdata/Agrupado.h"
#include "reportdata/Avance.h"
#include "reportdata/ClaveVendedor.h"
#include "reportdata/Globales.h"
#include "reportdata/ListaLineas.h"
#include "reportdata/Recorrido.h"
#include "reportdata/Sentencias.h"

namespace reportdata::agrupado {
namespace {

using Años = std::array<double, 3>;
using PorLinea = QHash<QByteArray, Años>;  // by the line's collation weight

// A source's lines, grouped as the row by row plan's first pass groups them, with the sums of
// each of the three years: the line, its weight and three sums.
QString PorLineaYAño(const QString& origen, const QString& año, const QString& suma, int primero) {
    QString sentencia = "SELECT lineas.Linea,weight_string(lineas.Linea)";
    for (int y = primero; y < primero + 3; ++y)
        sentencia += QString(",SUM(case when %1=%2 then %3 end)").arg(año).arg(y).arg(suma);
    return sentencia + " FROM " + origen + kAgrupaPorLinea;
}

// The lines sold of a document table in the way it is walked, in the years of rango: summed by
// product and year first, so that products and lines are joined once a product, not once a
// detail line. Sums of exact decimals: summed in two steps they keep every digit.
QString VentasPorLinea(const Seleccion& s, const Recorrido& recorrido, const QString& rango,
                       int primero) {
    const QString doc = recorrido.doc;
    QString porProducto =
        oUtilerias->CambXXX("SELECT XXXdetalle.Producto,year(XXX.Fecha) as Anio,SUM(" +
                                kImporteVendido + ") as Suma FROM ",
                            doc) +
        recorrido.Desde() + oUtilerias->CambXXX("where " + rango, doc);
    if (HayVendedor(s))
        porProducto += oUtilerias->CambXXX(" and XXX.Vendedor=", doc) + ClaveVendedor(s);
    porProducto += oUtilerias->CambXXX(" group by XXXdetalle.Producto,year(XXX.Fecha)", doc);
    return PorLineaYAño("(" + porProducto +
                            ") as v left join productos on v.Producto=productos.Clave left join "
                            "lineas on productos.Linea=lineas.Id where not isnull(lineas.Linea)",
                        "v.Anio", "v.Suma", primero);
}

PorLinea Lee(const ado::Rows& filas) {
    PorLinea sumas;
    for (const QVector<QVariant>& f : filas)
        sumas[f[1].toByteArray()] = {f[2].toDouble(), f[3].toDouble(), f[4].toDouble()};
    return sumas;
}

}  // namespace

void LlenaTablaXlinea(const Seleccion& s, ado::Connection& conexion, ado::Connection& lectura,
                      const QString& cTabla, Resultado& r) {
    const RangoTipos tipos = Tipos(s);
    const int ultimo = AñoFinal(s);
    const int primero = AñoInicial(s);

    // Each document table and the returns at once: one statement each lists the lines sold
    // and sums them by year.
    Lineas lineas;
    std::array<PorLinea, 2> ventas;
    PorLinea devoluciones;
    if (const auto rango = RangoDeAños("XXX.Fecha", primero, ultimo)) {
        const QVector<Recorrido> recorridos = Recorridos(s, lectura, tipos, " where " + *rango);
        QStringList sentencias;
        for (const Recorrido& recorrido : recorridos)
            sentencias << VentasPorLinea(s, recorrido, *rango, primero);
        QString devueltas = kDevolucionesDeLinea + " where not isnull(lineas.Linea) and " +
                            QString(*rango).replace("XXX.", "devolucionctes.");
        if (HayVendedor(s)) devueltas += " and clientes.Vendedor=" + ClaveVendedor(s);
        sentencias << PorLineaYAño(devueltas, "year(devolucionctes.Fecha)", kImporteDevuelto,
                                   primero);
        Avanza(Describe("Ventas y devoluciones de los tres años", recorridos), 0, 2);
        const QVector<ado::Rows> filas = ado::QueryAtOnce(lectura, sentencias);
        Avanza("Escribiendo la tabla del reporte", 1, 2);
        for (int k = tipos.primero; k <= tipos.ultimo; ++k) {
            for (const QVector<QVariant>& f : filas[k - tipos.primero])
                lineas.Anota(f[0].toString(), f[1].toByteArray());
            ventas[k] = Lee(filas[k - tipos.primero]);
        }
        devoluciones = Lee(filas.last());
    }
    lineas.Publica(r);

    // The columns of the listed lines only, as the row by row plan writes them; the same
    // additions in the same order: the same doubles.
    QStringList columnas{"Cliente"};
    for (int n = 1; n <= kLineas; ++n)
        if (!lineas.nombres[n - 1].isEmpty()) columnas << "Linea" + QString::number(n);
    QStringList filas;
    for (int año = primero; año <= ultimo; ++año) {
        QStringList valores{QString::number(año)};
        for (int n = 1; n <= kLineas; ++n) {
            if (lineas.nombres[n - 1].isEmpty()) continue;
            double venta = 0;
            for (int k = tipos.primero; k <= tipos.ultimo; ++k)
                venta += ventas[k].value(lineas.pesos[n - 1])[año - primero];
            const double devuelto = 0 + devoluciones.value(lineas.pesos[n - 1])[año - primero];
            valores << ado::Literal(venta - devuelto);
        }
        filas << "(" + valores.join(',') + ")";
    }
    conexion.Execute("INSERT INTO " + cTabla + " (" + columnas.join(',') + ") VALUES " +
                     filas.join(','));
}

}  // namespace reportdata::agrupado
