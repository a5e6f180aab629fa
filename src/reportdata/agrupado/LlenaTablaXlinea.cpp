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
// each of the three years: the line, its weight and three sums; NULL for the products with no
// line.
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
                            "lineas on productos.Linea=lineas.Id",
                        "v.Anio", "v.Suma", primero);
}

double Total(const Años& a) {
    return a[0] + a[1] + a[2];
}

// A source's sums: by line, and of the products with no line (a NULL line).
struct Sumas {
    PorLinea lineas;
    Años sinLinea{};
    double DeLinea(const QByteArray& peso) const { return Total(lineas.value(peso)); }
};

Sumas Lee(const ado::Rows& filas) {
    Sumas sumas;
    for (const QVector<QVariant>& f : filas)
        (f[0].isNull() ? sumas.sinLinea : sumas.lineas[f[1].toByteArray()]) = {
            f[2].toDouble(), f[3].toDouble(), f[4].toDouble()};
    return sumas;
}

// What the page's notes name, from the same sums: the products with no line and the lines
// past twelve, sales less returns.
void FueraDeLineas(const Lineas& lineas, const QList<Sumas>& ventas, const Sumas& devoluciones,
                   Resultado& r) {
    r.ventasSinLinea = -Total(devoluciones.sinLinea);
    r.ventasSinLugar = 0;
    for (const QByteArray& peso : lineas.pesosSinLugar)
        r.ventasSinLugar -= devoluciones.DeLinea(peso);
    for (const Sumas& v : ventas) {
        r.ventasSinLinea += Total(v.sinLinea);
        for (const QByteArray& peso : lineas.pesosSinLugar) r.ventasSinLugar += v.DeLinea(peso);
    }
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
    QList<Sumas> ventas{{}, {}};
    Sumas devoluciones;
    if (const auto rango = RangoDeAños("XXX.Fecha", primero, ultimo)) {
        const QVector<Recorrido> recorridos = Recorridos(s, lectura, tipos, " where " + *rango);
        QStringList sentencias;
        for (const Recorrido& recorrido : recorridos)
            sentencias << VentasPorLinea(s, recorrido, *rango, primero);
        QString devueltas =
            kDevolucionesDeLinea + " where " + QString(*rango).replace("XXX.", "devolucionctes.");
        if (HayVendedor(s)) devueltas += " and clientes.Vendedor=" + ClaveVendedor(s);
        sentencias << PorLineaYAño(devueltas, "year(devolucionctes.Fecha)", kImporteDevuelto,
                                   primero);
        Avanza(Describe("Ventas y devoluciones de los tres años", recorridos), 0, 2);
        const QVector<ado::Rows> filas = ado::QueryAtOnce(lectura, sentencias);
        Avanza("Escribiendo la tabla del reporte", 1, 2);
        for (int k = tipos.primero; k <= tipos.ultimo; ++k) {
            for (const QVector<QVariant>& f : filas[k - tipos.primero])
                if (!f[0].isNull()) lineas.Anota(f[0].toString(), f[1].toByteArray());
            ventas[k] = Lee(filas[k - tipos.primero]);
        }
        devoluciones = Lee(filas.last());
    }
    lineas.Publica(r);
    FueraDeLineas(lineas, ventas, devoluciones, r);

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
                venta += ventas[k].lineas.value(lineas.pesos[n - 1])[año - primero];
            const double devuelto =
                0 + devoluciones.lineas.value(lineas.pesos[n - 1])[año - primero];
            valores << ado::Literal(venta - devuelto);
        }
        filas << "(" + valores.join(',') + ")";
    }
    conexion.Execute("INSERT INTO " + cTabla + " (" + columnas.join(',') + ") VALUES " +
                     filas.join(','));
}

}  // namespace reportdata::agrupado
